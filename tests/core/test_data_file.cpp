// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeTable.h"
#include "DataFile.h"
#include "ModVars.h"
#include "Version.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstring>
#include <memory>
#include <random>

using DataFile::ReadStatus;
using DataFile::Snapshot;

namespace {

const QString GoldenPath = QStringLiteral(TARVOLM_TEST_DATA "/datafile_full.csv");

/// Runs 1 and 2 hold code-table levels as a capture leaves them, run 3 awkward singles,
/// the rest zeros; setpoints include values outside a byte, which neither side checks.
std::unique_ptr<Snapshot> sampleData() {
    auto s = std::make_unique<Snapshot>();
    s->instrumentType = 3;
    for (int i = 0; i < SetpointStore::ArrayCount; ++i)
        for (int k = 0; k <= 4; ++k)
            s->setpoints.array(i)[k] = std::int16_t(i * 37 + k * 11);
    s->setpoints.SpTotalHi[2] = -7;
    s->setpoints.SpTotalLo[3] = 300;
    s->setpoints.SpTimerY[4] = 32767;
    const float odd[] = {
        0.1f,  1.0f / 3, 12.7f, 1e-5f,           98.9f,    std::nextafter(50.0f, 99.0f),
        3e-7f, 99.0f,    0.0f,  1.17549435e-38f, 66.66667f};
    for (int r = 1; r <= CapturedTable::Rows; ++r) {
        for (int c = 1; c <= 4; ++c)
            s->table.at(c, r) = CodeTable::levelOfCode((r * 7 + c * 13) % 256);
        s->table.at(5, r) = odd[r % std::size(odd)];
        s->table.at(6, r) = std::fmod(float(r) * 0.0371f, 99.0f);
    }
    return s;
}

std::unique_ptr<Snapshot> before() {
    auto s = std::make_unique<Snapshot>();
    s->instrumentType = 1;
    s->setpoints.setDefaults();
    for (int r = 1; r <= CapturedTable::Rows; ++r)
        for (int c = 1; c <= CapturedTable::Columns; ++c)
            s->table.at(c, r) = 42.5f;
    return s;
}

bool sameBits(const Snapshot& a, const Snapshot& b) {
    return a.instrumentType == b.instrumentType && a.setpoints == b.setpoints &&
           std::memcmp(&a.table, &b.table, sizeof a.table) == 0;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();
    for (auto& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

/// The golden file with `line` (1-based) replaced, or the file cut to `count` lines.
QByteArray goldenWithLine(int line, const QByteArray& text) {
    auto lines = linesOf(readAll(GoldenPath));
    lines[line - 1] = text;
    return joined(lines);
}
QByteArray goldenCut(int count) {
    return joined(linesOf(readAll(GoldenPath)).mid(0, count));
}

/// Reads `bytes` from a buffer into a copy of `start`.
DataFile::ReadResult readBytes(const QByteArray& bytes, Snapshot& staged) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return DataFile::readDataFile(buf, staged);
}

/// Live data set to before(), a file holding `bytes` loaded through the path.
class LoadFile : public ::testing::Test {
protected:
    void SetUp() override { DataFile::commitData(*before()); }
    void TearDown() override {
        InstrumentType = 0;
        Setpoints.setDefaults();
        CapturedData.clear();
    }
    DataFile::ReadResult load(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("in.csv"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        return DataFile::loadDataFile(path);
    }
    void expectUnchanged() {
        const auto live = DataFile::currentData();
        EXPECT_TRUE(sameBits(live, *before()));
    }
    QTemporaryDir dir;
};

} // namespace

TEST(DataFileWrite, MatchesTheGoldenFileByteForByte) {
    const QByteArray bytes = DataFile::dataFileBytes(*sampleData());
    if (qEnvironmentVariableIsSet("TARVOLM_UPDATE_GOLDEN")) {
        QFile f(GoldenPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // Line 2 carries the program's version; the rest must not move.
    auto golden = linesOf(readAll(GoldenPath));
    ASSERT_EQ(golden.size(), DataFile::LineCount);
    ASSERT_TRUE(golden[1].startsWith("Software Version "));
    golden[1] = DataFile::versionLine();
    EXPECT_TRUE(bytes == joined(golden));
}

TEST(DataFileWrite, HasTheFixedShape) {
    const QByteArray bytes = DataFile::dataFileBytes(*sampleData());
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    const auto lines = linesOf(bytes);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].count(','), 15) << "line " << i + 1;
    EXPECT_EQ(lines[0], "Velmora Data File,,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[1], QByteArray("Software Version ") + QByteArray::number(AppInfo::Major) + '.' +
                            QByteArray::number(AppInfo::Minor) + '.' +
                            QByteArray::number(AppInfo::Revision) + ",,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[2], "TYPE,,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[3], "3,,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[4], "SETPOINTS,,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[5], "PARAMETER A,PARAMETER B,PARAMETER C,PARAMETER D,,,,,,,,,,,,");
    EXPECT_EQ(lines[6], "11,-7,33,44,,,,,,,,,,,,"); // SpTotalHi, sets A to D
    EXPECT_EQ(lines[16], "CAPTURED DATA,,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[17], "RUN1 CH1,RUN1 CH2,RUN2 CH1,RUN2 CH2,RUN3 CH1,RUN3 CH2,RUN4 CH1,RUN4 "
                         "CH2,RUN5 CH1,RUN5 CH2,RUN6 CH1,RUN6 CH2,RUN7 CH1,RUN7 CH2,RUN8 "
                         "CH1,RUN8 CH2");
}

TEST(DataFileWrite, LevelsReadBackAsTheSameSingleInAnyLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // "," as decimal separator where installed
    QLocale::setDefault(QLocale(QLocale::German));
    // Every 613th single from 0 up to 99.
    for (std::uint32_t bits = 0; bits <= std::bit_cast<std::uint32_t>(99.0f); bits += 613) {
        const float v = std::bit_cast<float>(bits);
        const QByteArray t = DataFile::levelText(v);
        float back = -1;
        const auto res = std::from_chars(t.constData(), t.constData() + t.size(), back);
        ASSERT_TRUE(res.ec == std::errc() && res.ptr == t.constData() + t.size()) << t.data();
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), bits) << t.data();
    }
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(DataFile::levelText(12.7f), "12.7");
    EXPECT_EQ(DataFile::levelText(-0.0f), "0");
    EXPECT_EQ(DataFile::levelText(std::nanf("")), "0");
}

TEST(DataFileRoundTrip, GoldenFileReadsBackBitForBit) {
    auto staged = before();
    std::vector<float> steps;
    QFile f(GoldenPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto res = DataFile::readDataFile(f, *staged, [&](float p) { steps.push_back(p); });
    EXPECT_EQ(res.status, ReadStatus::Ok);
    EXPECT_EQ(res.lines, DataFile::LineCount);
    // Element 0 of each array is not in the file and keeps its value.
    auto expected = sampleData();
    for (int i = 0; i < SetpointStore::ArrayCount; ++i)
        expected->setpoints.array(i)[0] = SetpointDefaults[i];
    EXPECT_TRUE(sameBits(*staged, *expected));
    ASSERT_EQ(steps.size(), std::size_t(DataFile::LineCount));
    EXPECT_FLOAT_EQ(steps.front(), 100.0f / 2018);
    EXPECT_EQ(steps.back(), 100.0f);
}

TEST_F(LoadFile, SaveThenLoadRestoresEverythingAndReplacesTheOldFile) {
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500000, 'x')); // longer than the new file: nothing of it may remain
    old.close();
    int steps = 0;
    float last = 0;
    ASSERT_TRUE(DataFile::saveDataFile(path, *sampleData(), [&](float p) {
        ++steps;
        last = p;
    }));
    EXPECT_EQ(steps, CapturedTable::Rows);
    EXPECT_EQ(last, 100.0f);
    EXPECT_TRUE(readAll(path) == DataFile::dataFileBytes(*sampleData()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("run.csv")});

    const auto res = DataFile::loadDataFile(path);
    EXPECT_EQ(res.status, ReadStatus::Ok);
    EXPECT_EQ(DataFile::readMessages(res.status), QStringList{DataFile::AccessComplete});
    EXPECT_EQ(InstrumentType, 3);
    EXPECT_EQ(SpTotalLo[3], 300);
    EXPECT_TRUE(CapturedData == sampleData()->table);
}

TEST_F(LoadFile, FilesOfAnotherKindChangeNothing) {
    std::mt19937 gen(7);
    QByteArray junk(20000, '\0');
    for (auto& ch : junk)
        ch = char(gen());
    const struct {
        const char* what;
        QByteArray bytes;
        ReadStatus status;
        int lines;
    } cases[] = {
        {"empty", {}, ReadStatus::NotVelmora, 0},
        {"other csv", "Name,Age\r\nBob,3\r\n", ReadStatus::ReadError, 1},
        {"binary junk", junk, ReadStatus::ReadError, 1},
        {"first line in other case", goldenWithLine(1, "VELMORA DATA FILE,,,,,,,,,,,,,,,"),
         ReadStatus::ReadError, 1},
        {"first line short of commas", goldenWithLine(1, "Velmora Data File,,,"),
         ReadStatus::ReadError, 1},
        {"cut after line 10", goldenCut(10), ReadStatus::NotVelmora, 10},
        {"a 2019th line", readAll(GoldenPath) + "\r\n", ReadStatus::ReadError, 2019},
        {"abc in a data row", goldenWithLine(500, "1,2,3,abc,5,6,7,8,9,10,11,12,13,14,15,16"),
         ReadStatus::ReadError, 500},
        {"17 fields in a data row", goldenWithLine(19, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,"),
         ReadStatus::ReadError, 19},
        {"setpoint beyond 16 bits", goldenWithLine(9, "5,40000,5,5,,,,,,,,,,,,"),
         ReadStatus::ReadError, 9},
        {"wrong run names", goldenWithLine(18, "RUN1,RUN2"), ReadStatus::NotVelmora, 2018},
        {"over-long line", QByteArray(DataFile::MaxLineLength + 1, 'x'), ReadStatus::ReadError, 1},
        {"over-long data row", goldenWithLine(30, "1" + QByteArray(DataFile::MaxLineLength, ' ')),
         ReadStatus::ReadError, 30},
        {"10 MB in one line", QByteArray(10 << 20, '7'), ReadStatus::ReadError, 1},
    };
    for (const auto& c : cases) {
        const auto res = load(c.bytes);
        EXPECT_EQ(res.status, c.status) << c.what;
        EXPECT_EQ(res.lines, c.lines) << c.what;
        expectUnchanged();
    }
    const auto messages = DataFile::readMessages(ReadStatus::NotVelmora);
    EXPECT_EQ(messages, QStringList{DataFile::NotVelmora});
    EXPECT_EQ(DataFile::readMessages(ReadStatus::ReadError), QStringList{DataFile::ReadFailed});
}

TEST_F(LoadFile, AFileCutShortStagesWhatItReachedButCommitsNothing) {
    auto staged = before();
    EXPECT_EQ(readBytes(goldenCut(10), *staged).status, ReadStatus::NotVelmora);
    EXPECT_EQ(staged->setpoints.SpTotalHi[2], -7);
    const auto sample = sampleData();
    const auto& fileCountDir = sample->setpoints.SpCountDir;
    EXPECT_TRUE(std::equal(fileCountDir.begin() + 1, fileCountDir.end(),
                           staged->setpoints.SpCountDir.begin() + 1));
    EXPECT_EQ(staged->setpoints.SpCh1Peak[1], SetpointDefaults[4]);
    EXPECT_EQ(load(goldenCut(10)).status, ReadStatus::NotVelmora);
    expectUnchanged();
}

TEST_F(LoadFile, RowsAShortFileDoesNotReachKeepTheirValues) {
    EXPECT_EQ(load(goldenCut(18)).status, ReadStatus::Ok);
    EXPECT_EQ(InstrumentType, 3);
    EXPECT_EQ(SpTotalLo[3], 300);
    EXPECT_TRUE(CapturedData == before()->table);

    EXPECT_EQ(load(goldenCut(18 + 5)).status, ReadStatus::Ok);
    EXPECT_EQ(CapturedData.at(5, 5), sampleData()->table.at(5, 5));
    EXPECT_EQ(CapturedData.at(5, 6), 42.5f);
    EXPECT_EQ(CapturedData.at(16, 2000), 42.5f);
}

TEST(DataFileRead, TheTypeLineIsRoundedTiesToEvenAndKeptWithin0To5) {
    const std::pair<const char*, int> cases[] = {{"7,,,,,,,,,,,,,,,", 0},
                                                 {"2.5,,,,,,,,,,,,,,,", 2},
                                                 {"3.5,,,,,,,,,,,,,,,", 4},
                                                 {"5,,,,,,,,,,,,,,,", 5},
                                                 {"5.5,,,,,,,,,,,,,,,", 0},
                                                 {"-1,,,,,,,,,,,,,,,", 0},
                                                 {"  4xyz", 4},
                                                 {"+1.4", 1},
                                                 {"abc,,,,,,,,,,,,,,,", 0},
                                                 {"", 0},
                                                 {"1e300", 0},
                                                 {"nan", 0}};
    for (auto [line, type] : cases) {
        auto staged = before();
        EXPECT_EQ(readBytes(goldenWithLine(4, line), *staged).status, ReadStatus::Ok) << line;
        EXPECT_EQ(staged->instrumentType, type) << line;
    }
}

TEST(DataFileRead, FieldsOfSetpointAndDataLines) {
    // Setpoints: 16-bit, rounded ties to even, no range check, the last twelve fields ignored.
    auto staged = before();
    ASSERT_EQ(readBytes(goldenWithLine(7, " -32768 ,12.5,,+300,junk,x"), *staged).status,
              ReadStatus::Ok);
    EXPECT_EQ(staged->setpoints.SpTotalHi, (SetpointStore::Array{0, -32768, 12, 0, 300}));

    // Data rows: singles clamped into 0 to 99, empty or missing fields read 0.
    ASSERT_EQ(readBytes(goldenWithLine(19, "150,-3,,  12.5 ,+4,1e-5,-0"), *staged).status,
              ReadStatus::Ok);
    const float row[16] = {99, 0, 0, 12.5f, 4, 1e-5f};
    for (int c = 1; c <= 16; ++c)
        EXPECT_EQ(staged->table.at(c, 1), row[c - 1]) << c;
    EXPECT_FALSE(std::signbit(staged->table.at(7, 1)));

    for (const char* bad : {"nan", "inf", "1e50", "0x10", "1.2.3", "\"5\"", "5 5", "--5"}) {
        auto s = before();
        EXPECT_EQ(readBytes(goldenWithLine(25, bad), *s).status, ReadStatus::ReadError) << bad;
    }
}

TEST(DataFileRead, AcceptsLfLineEndsAndALastLineWithoutOne) {
    QByteArray bytes = readAll(GoldenPath);
    bytes.replace("\r\n", "\n");
    bytes.chop(1);
    auto staged = before();
    EXPECT_EQ(readBytes(bytes, *staged).status, ReadStatus::Ok);
    EXPECT_TRUE(staged->table == sampleData()->table);
}

TEST(DataFileSave, AFailedWriteLeavesTheOldFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.csv"));
    const QByteArray old = "the old file\r\n";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(old);
    f.close();

    // A file-size limit makes the write fail half-way, even for root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = DataFile::saveDataFile(path, *sampleData());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.csv")});
}
