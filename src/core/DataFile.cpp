// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFile.h"

#include "Version.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace DataFile {
namespace {

constexpr std::string_view TitleLine = "Velmora Data File,,,,,,,,,,,,,,,";
constexpr std::string_view VersionLabel = "Software Version";
constexpr std::string_view TypeLine = "TYPE,,,,,,,,,,,,,,,";
constexpr std::string_view SetpointsLine = "SETPOINTS,,,,,,,,,,,,,,,";
constexpr std::string_view ParametersLine =
    "PARAMETER A,PARAMETER B,PARAMETER C,PARAMETER D,,,,,,,,,,,,";
constexpr std::string_view CapturedLine = "CAPTURED DATA,,,,,,,,,,,,,,,";
constexpr std::string_view RunNamesLine =
    "RUN1 CH1,RUN1 CH2,RUN2 CH1,RUN2 CH2,RUN3 CH1,RUN3 CH2,RUN4 CH1,RUN4 CH2,"
    "RUN5 CH1,RUN5 CH2,RUN6 CH1,RUN6 CH2,RUN7 CH1,RUN7 CH2,RUN8 CH1,RUN8 CH2";
constexpr std::string_view TwelveCommas = ",,,,,,,,,,,,";
constexpr std::string_view LineEnd = "\r\n";

constexpr int TypeLineNo = 4;
constexpr int FirstSetpointLine = 7;
constexpr int LastSetpointLine = 16;

bool isHeaderLine(int line) {
    return line == 1 || line == 2 || line == 3 || line == 5 || line == 6 || line == 17 ||
           line == 18;
}

/// What both sides agree a cell holds: a single from 0 to 99, NaN as 0, no negative zero.
float normalizedLevel(float v) {
    if (std::isnan(v)) return 0.0f;
    v = std::clamp(v, CapturedTable::MinLevel, CapturedTable::MaxLevel);
    return v == 0.0f ? 0.0f : v;
}

char* putLevel(char* p, char* end, float v) {
    return std::to_chars(p, end, normalizedLevel(v)).ptr;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

/// Drops a leading "+" in front of a number, which from_chars does not take.
std::string_view withoutPlus(std::string_view s) {
    if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
    return s;
}

/// A whole field as a number; empty reads 0; anything else is not a number.
template <typename T> bool parseField(std::string_view field, T& out) {
    field = withoutPlus(trimmed(field));
    if (field.empty()) {
        out = 0;
        return true;
    }
    const char* end = field.data() + field.size();
    const auto res = std::from_chars(field.data(), end, out);
    return res.ec == std::errc() && res.ptr == end && std::isfinite(out);
}

bool parseSetpoint(std::string_view field, std::int16_t& out) {
    double v = 0;
    if (!parseField(field, v)) return false;
    v = std::nearbyint(v); // ties to even
    if (v < std::numeric_limits<std::int16_t>::min() ||
        v > std::numeric_limits<std::int16_t>::max())
        return false;
    out = static_cast<std::int16_t>(v);
    return true;
}

/// The number the line begins with, as far as it reads as one, rounded ties to even; a type
/// outside 0 to 5 becomes 0.
std::int16_t typeFromLine(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    line = withoutPlus(line);
    double v = 0;
    if (std::from_chars(line.data(), line.data() + line.size(), v).ec != std::errc()) return 0;
    if (!std::isfinite(v)) return 0;
    v = std::nearbyint(v);
    return v >= 0 && v <= 5 ? static_cast<std::int16_t>(v) : 0;
}

/// Calls `take(index, field)` for each comma-separated field; false unless the line holds
/// exactly 16 fields and `take` accepts each. A short line is a row cut off, not one of zeros.
template <typename Take> bool forEachField(std::string_view line, Take&& take) {
    if (std::count(line.begin(), line.end(), ',') != FieldsPerLine - 1) return false;
    for (int index = 0; index < FieldsPerLine; ++index) {
        const auto comma = line.find(',');
        if (!take(index, line.substr(0, comma))) return false;
        line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
    }
    return true;
}

/// Lines of a device, each without its line end, none longer than MaxLineLength.
class LineReader {
public:
    enum Result { Line, End, Error };

    explicit LineReader(QIODevice& in) : in_(in), buf_(MaxLineLength + 3) {}

    Result next(std::string_view& line) {
        if (in_.atEnd()) return End;
        const qint64 n = in_.readLine(buf_.data(), qint64(buf_.size()));
        if (n < 0) return Error;
        if (n == 0) return End;
        std::size_t len = std::size_t(n);
        const bool ended = buf_[len - 1] == '\n';
        if (ended) --len;
        if (len > 0 && buf_[len - 1] == '\r') --len;
        // A full buffer with no line end means the line goes on beyond the limit.
        if ((!ended && !in_.atEnd()) || len > std::size_t(MaxLineLength)) return Error;
        // The last line may lack its line end, as files edited by hand often do.
        line = std::string_view(buf_.data(), len);
        return Line;
    }

private:
    QIODevice& in_;
    std::vector<char> buf_;
};

bool headersHold(const std::array<std::string, HeaderLines + 1>& header) {
    auto has = [&](int line, std::string_view text) {
        return header[line].find(text) != std::string::npos;
    };
    return has(1, TitleLine) && has(2, VersionLabel) && has(3, TypeLine) && has(5, SetpointsLine) &&
           has(6, ParametersLine) && has(17, CapturedLine) && has(18, RunNamesLine);
}

void copyLive(Snapshot& to) {
    to.instrumentType = InstrumentType;
    to.setpoints = Setpoints;
    to.table = CapturedData;
}

} // namespace

QStringList readMessages(ReadStatus status) {
    switch (status) {
    case ReadStatus::Ok:
        return {AccessComplete};
    case ReadStatus::NotVelmora:
        // Nothing was loaded, so the operator hears only why.
        return {NotVelmora};
    case ReadStatus::ReadError:
        break;
    }
    return {ReadFailed};
}

Snapshot currentData() {
    Snapshot s;
    copyLive(s);
    return s;
}

void commitData(const Snapshot& data) {
    InstrumentType = data.instrumentType;
    Setpoints = data.setpoints;
    CapturedData = data.table;
}

QByteArray versionLine() {
    return QByteArray(VersionLabel.data(), qsizetype(VersionLabel.size())) + ' ' +
           QByteArray::number(AppInfo::Major) + '.' + QByteArray::number(AppInfo::Minor) + '.' +
           QByteArray::number(AppInfo::Revision) + QByteArray(15, ',');
}

QByteArray levelText(float value) {
    char buf[32];
    return QByteArray(buf, putLevel(buf, buf + sizeof buf, value) - buf);
}

bool writeDataFile(QIODevice& out, const Snapshot& data, const Progress& progress) {
    QByteArray head;
    auto line = [&head](auto&&... parts) {
        (head.append(parts), ...);
        head.append(LineEnd.data(), qsizetype(LineEnd.size()));
    };
    auto view = [](std::string_view s) { return QByteArrayView(s.data(), qsizetype(s.size())); };
    line(view(TitleLine));
    line(versionLine());
    line(view(TypeLine));
    line(QByteArray::number(data.instrumentType), QByteArray(15, ','));
    line(view(SetpointsLine));
    line(view(ParametersLine));
    for (int i = 0; i < SetpointStore::ArrayCount; ++i) {
        const auto& a = data.setpoints.array(i);
        line(QByteArray::number(a[1]), ',', QByteArray::number(a[2]), ',', QByteArray::number(a[3]),
             ',', QByteArray::number(a[4]), view(TwelveCommas));
    }
    line(view(CapturedLine));
    line(view(RunNamesLine));
    if (out.write(head) != head.size()) return false;

    // 16 levels of at most 15 characters, 15 commas and the line end.
    std::array<char, 16 * 16 + 4> row;
    for (int r = 1; r <= CapturedTable::Rows; ++r) {
        char* p = row.data();
        char* const end = row.data() + row.size();
        for (int c = 1; c <= CapturedTable::Columns; ++c) {
            if (c > 1) *p++ = ',';
            p = putLevel(p, end, data.table.at(c, r));
        }
        *p++ = '\r';
        *p++ = '\n';
        const qint64 n = p - row.data();
        if (out.write(row.data(), n) != n) return false;
        if (progress) progress(float(r) / 20.0f);
    }
    return true;
}

QByteArray dataFileBytes(const Snapshot& data) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeDataFile(buffer, data);
    return bytes;
}

bool saveDataFile(const QString& path, const Snapshot& data, const Progress& progress) {
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || QFileInfo(path).isDir()) return false;
    // No direct-write fallback: a folder we cannot create the temporary file in fails rather
    // than have the old file emptied and half-written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!writeDataFile(file, data, progress)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ReadResult readDataFile(QIODevice& in, Snapshot& staged, const Progress& progress) {
    if (!in.isReadable()) return {ReadStatus::ReadError, 0};
    LineReader reader(in);
    std::array<std::string, HeaderLines + 1> header;
    int line = 0;
    std::string_view text;
    for (;;) {
        const auto got = reader.next(text);
        if (got == LineReader::End) break;
        ++line;
        const ReadResult failed{ReadStatus::ReadError, line};
        if (got == LineReader::Error || line > LineCount) return failed;

        if (isHeaderLine(line)) {
            header[line].assign(text);
            if (header[1] != TitleLine) return failed;
        } else if (line == TypeLineNo) {
            staged.instrumentType = typeFromLine(text);
        } else if (line <= LastSetpointLine) {
            auto& array = staged.setpoints.array(line - FirstSetpointLine);
            const bool ok = forEachField(text, [&array](int i, std::string_view field) {
                return i >= 4 || parseSetpoint(field, array[i + 1]);
            });
            if (!ok) return failed;
        } else {
            auto& cells = staged.table.cells[line - HeaderLines - 1];
            const bool ok = forEachField(text, [&cells](int i, std::string_view field) {
                float v = 0;
                if (!parseField(field, v)) return false;
                cells[i] = normalizedLevel(v);
                return true;
            });
            if (!ok) return failed;
        }
        if (progress) progress(float(line) / float(LineCount) * 100.0f);
    }
    return {headersHold(header) ? ReadStatus::Ok : ReadStatus::NotVelmora, line};
}

ReadResult readDataFile(const QString& path, Snapshot& staged, const Progress& progress) {
    if (QFileInfo(path).isDir()) return {ReadStatus::ReadError, 0};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {ReadStatus::ReadError, 0};
    return readDataFile(file, staged, progress);
}

ReadResult loadDataFile(const QString& path, const Progress& progress) {
    auto staged = std::make_unique<Snapshot>();
    copyLive(*staged);
    const ReadResult result = readDataFile(path, *staged, progress);
    if (result.status == ReadStatus::Ok) commitData(*staged);
    return result;
}

} // namespace DataFile
