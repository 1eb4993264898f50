// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

/// The file dialog's rules for a typed data-file path. Paths are absolute Linux paths ("/" as
/// separator), keep the case they were typed in and are compared exactly.
namespace FilePaths {

inline const QString DirectoryNotFound = QStringLiteral("The specified directory was not found.");
inline const QString FileNotFound = QStringLiteral("The Specified File Does Not Exist.");
/// Shown on saving, directly followed by the path's length + 1.
inline const QString SaveFormat =
    QStringLiteral("Disk Error.  Please access file using /Directory/Filname.Ext format.");
inline const QString ReadFormat =
    QStringLiteral("Please access file using /Directory/Filname.Ext format.");

enum class Mode { Read, Save };

/// `path` with ".CSV" appended when it holds no "." anywhere.
QString withDefaultExtension(const QString& path);
/// True when `path` ends with "/" (names a folder, not a file).
bool endsWithSeparator(const QString& path);
/// A folder as the dialog's text box shows it: followed by "/" unless it already ends in one.
QString folderText(const QString& folder);

struct SplitPath {
    QString dir;   ///< up to and including the last "/" (DataFileDir)
    QString title; ///< after the last "/" (DataFileTitle)
};
SplitPath splitPath(const QString& path);

/// Empty when `path` has the accepted form (4 characters or more, absolute); else the format
/// message for `mode`.
QString formatMessage(const QString& path, Mode mode);

/// The directory search: empty optional when the folder that `path` names does not exist;
/// else `path`'s file name when a file (not a folder) of exactly that name is there, else "".
std::optional<QString> directorySearch(const QString& path);
/// True when `path` names an existing file (a folder is not a file).
bool isExistingFile(const QString& path);

enum class PathStatus { Passed, NoDirectory, BadFormat, NoFile };

struct PathTest {
    PathStatus status = PathStatus::Passed;
    QString message; ///< what the operator is told, unless the path passed
    SplitPath split; ///< set once the format rule holds: Passed and NoFile
    bool ok() const { return status == PathStatus::Passed; }
};
/// The dialog's test of a typed path before a read or a save, in order: the directory search
/// (DirectoryNotFound), the format rule (formatMessage), the split into folder and title, and
/// on reading the existence test (FileNotFound).
PathTest testPath(const QString& path, Mode mode);

} // namespace FilePaths
