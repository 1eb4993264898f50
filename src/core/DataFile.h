// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CapturedData.h"
#include "ModVars.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class QIODevice;

/// The data file: instrument type, the four parameter sets and the captured table as
/// comma-separated text of 2018 lines, 16 fields each, CR LF line ends.
namespace DataFile {

/// Everything a data file holds.
struct Snapshot {
    std::int16_t instrumentType = 0;
    SetpointStore setpoints;
    CapturedTable table;
};

inline constexpr int HeaderLines = 18;
inline constexpr int LineCount = HeaderLines + CapturedTable::Rows; ///< 2018
inline constexpr int FieldsPerLine = 16;
/// Longest line the reader accepts, without its line end.
inline constexpr int MaxLineLength = 64 * 1024;

/// Called with the share done, 0 to 100.
using Progress = std::function<void(float percent)>;

// The operator's messages around reading and writing.
inline const QString ReplaceQuestion = QStringLiteral("Do you wish to replace existing file?");
inline const QString SaveComplete = QStringLiteral("File Save Complete.");
inline const QString SaveFailed =
    QStringLiteral("Error in creating the file. Check filename and path.");
inline const QString AccessComplete = QStringLiteral("File Access Complete....");
inline const QString ReadFailed = QStringLiteral("Error Occured During File Read.");
inline const QString NotVelmora =
    QStringLiteral("File not in Velmora format. Please select another file or create a new one.");

enum class ReadStatus {
    Ok,         ///< the whole file was read and its headers are right: commit it
    ReadError,  ///< unreadable, wrong first line, bad field, a line of other than 16 fields
                ///< from line 7 on (a row cut short), over-long or 2019th line
    NotVelmora, ///< read to its end, but the header lines are not a data file's
};

struct ReadResult {
    ReadStatus status = ReadStatus::Ok;
    int lines = 0; ///< lines taken in; on a read error, the line that failed
};

/// The messages the operator sees after a read, in order: AccessComplete on success (the only
/// case in which anything was loaded), NotVelmora when the headers are wrong, ReadFailed on a
/// read error.
QStringList readMessages(ReadStatus status);

/// The program's live data (InstrumentType, Setpoints, CapturedData), copied.
Snapshot currentData();
/// Puts `data` into the live store.
void commitData(const Snapshot& data);

/// Line 2, "Software Version M.m.r" and its 15 commas, without line end.
QByteArray versionLine();

/// Text of a level that reads back as the same single, "." as separator in any locale; a
/// level outside 0 to 99 is written at its limit, NaN as 0.
QByteArray levelText(float value);

/// Writes the 2018 lines of `data`. Progress r / 20 after data row r. False on a write error.
bool writeDataFile(QIODevice& out, const Snapshot& data, const Progress& progress = {});
/// The 2018 lines of `data` as bytes.
QByteArray dataFileBytes(const Snapshot& data);
/// Writes `data` to `path` through a temporary file in the same folder that replaces the old
/// file only once complete: on failure (false) an old file is left as it was. A path ending
/// in "/" or naming a folder fails.
bool saveDataFile(const QString& path, const Snapshot& data, const Progress& progress = {});

/// Reads a data file into `staged`, which holds the live data on entry so that what the file
/// does not reach keeps its values. `staged` is complete only for ReadStatus::Ok; on any other
/// status it is half-changed and is to be dropped. Progress line / 2018 * 100 after each line.
ReadResult readDataFile(QIODevice& in, Snapshot& staged, const Progress& progress = {});
/// As above, from the file at `path`; a file that cannot be opened is a read error.
ReadResult readDataFile(const QString& path, Snapshot& staged, const Progress& progress = {});
/// Reads `path` against the live data and commits it only when the read succeeds.
ReadResult loadDataFile(const QString& path, const Progress& progress = {});

} // namespace DataFile
