// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeTable.h"
#include "DataFile.h"
#include "ModVars.h"
#include "SameData.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <csignal>
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
    for (auto& row : s->table.cells)
        row.fill(42.5f);
    return s;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

/// The golden file with `line` (from 1) replaced, or cut to its first `count` lines.
QByteArray goldenWithLine(int line, const QByteArray& text) {
    auto lines = readAll(GoldenPath).split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}
QByteArray goldenCut(int count) {
    return readAll(GoldenPath).split('\n').mid(0, count).join('\n') + '\n';
}

DataFile::ReadResult readBytes(const QByteArray& bytes, Snapshot& staged,
                               const DataFile::Progress& progress = {}) {
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return DataFile::readDataFile(buf, staged, progress);
}

} // namespace

TEST(DataFileRoundTrip, WritesTheGoldenFileAndReadsItBackBitForBitWithEitherLineEnd) {
    const QByteArray bytes = DataFile::dataFileBytes(*sampleData());
    // The header as the file layout has it, so that neither writer nor golden file can drift.
    const char* const header[] = {
        "Velmora Data File",
        "Software Version ",
        "TYPE",
        "3",
        "SETPOINTS",
        "PARAMETER A,PARAMETER B,PARAMETER C,PARAMETER D",
        "11,-7,33,44",
        "48,59,300,81",
        "85,96,107,118",
        "122,133,144,155",
        "159,170,181,192",
        "196,207,218,229",
        "233,244,255,266",
        "270,281,292,303",
        "307,318,329,340",
        "344,355,366,32767",
        "CAPTURED DATA",
        "RUN1 CH1,RUN1 CH2,RUN2 CH1,RUN2 CH2,RUN3 CH1,RUN3 CH2,RUN4 CH1,RUN4 CH2,"
        "RUN5 CH1,RUN5 CH2,RUN6 CH1,RUN6 CH2,RUN7 CH1,RUN7 CH2,RUN8 CH1,RUN8 CH2"};
    const auto written = bytes.split('\n');
    for (int i = 0; i < DataFile::HeaderLines; ++i) {
        QByteArray line = header[i];
        if (i == 1)
            line += QByteArray::number(TARVOLM_VERSION_MAJOR) + '.' +
                    QByteArray::number(TARVOLM_VERSION_MINOR) + '.' +
                    QByteArray::number(TARVOLM_VERSION_PATCH);
        line += QByteArray(15 - line.count(','), ',') + '\r';
        EXPECT_EQ(written[i], line) << "line " << i + 1;
    }
    // Line 2 carries the program's version; the rest must not move.
    EXPECT_TRUE(bytes == goldenWithLine(2, DataFile::versionLine()));

    // Element 0 of each array is not in the file and keeps its value.
    auto expected = sampleData();
    for (int i = 0; i < SetpointStore::ArrayCount; ++i)
        expected->setpoints.array(i)[0] = SetpointDefaults[i];
    // A last line without its line end is as whole as one with it.
    for (const QByteArray& in : {readAll(GoldenPath), readAll(GoldenPath).replace("\r\n", "\n"),
                                 readAll(GoldenPath).chopped(2)}) {
        auto staged = before();
        int steps = 0;
        float last = 0;
        const auto res = readBytes(in, *staged, [&](float p) { ++steps, last = p; });
        EXPECT_EQ(res.status, ReadStatus::Ok);
        EXPECT_EQ(std::pair(res.lines, steps), std::pair(DataFile::LineCount, DataFile::LineCount));
        EXPECT_EQ(last, 100.0f);
        EXPECT_TRUE(sameBits(*staged, *expected));
    }
}

TEST(DataFileWrite, LevelsReadBackAsTheSameSingleInAnyLocale) {
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // "," as decimal separator where installed
    QLocale::setDefault(QLocale(QLocale::German));
    // Every 613th single from 0 up to 99.
    for (std::uint32_t bits = 0; bits <= std::bit_cast<std::uint32_t>(99.0f); bits += 613) {
        const QByteArray t = DataFile::levelText(std::bit_cast<float>(bits));
        float back = -1;
        const auto res = std::from_chars(t.constData(), t.constData() + t.size(), back);
        ASSERT_TRUE(res.ec == std::errc() && res.ptr == t.constData() + t.size()) << t.data();
        ASSERT_EQ(std::bit_cast<std::uint32_t>(back), bits) << t.data();
    }
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(DataFile::levelText(-0.0f) + DataFile::levelText(std::nanf("")), "00");
}

TEST(DataFileLoad, BadFilesEndInTheirMessageAndChangeNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    DataFile::commitData(*before());
    const QString& failed = DataFile::ReadFailed;
    const QString& other = DataFile::NotVelmora;
    const std::tuple<const char*, QByteArray, QString, int> cases[] = {
        {"empty", {}, other, 0},
        {"other csv", "Name,Age\r\nBob,3\r\n", failed, 1},
        {"binary junk", QByteArray("\xff\0\r\x1a\n\x80,", 7).repeated(3000), failed, 1},
        {"first line in other case", goldenWithLine(1, "VELMORA DATA FILE,,,,,,,,,,,,,,,"), failed,
         1},
        {"cut after line 10", goldenCut(10), other, 10},
        {"a 2019th line", readAll(GoldenPath) + "\r\n", failed, 2019},
        {"ends inside line 1000", goldenCut(999) + "1,2,3,4,5,6,7,8", failed, 1000},
        {"ends inside a setpoint line", goldenCut(9) + "5,5", failed, 10},
        {"8 fields in a data row", goldenWithLine(500, "1,2,3,4,5,6,7,8"), failed, 500},
        {"empty data row", goldenWithLine(600, ""), failed, 600},
        {"15 fields in a setpoint line", goldenWithLine(12, "1,2,3,4,,,,,,,,,,,"), failed, 12},
        {"17 fields in a data row", goldenWithLine(19, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,"),
         failed, 19},
        {"setpoint beyond 16 bits", goldenWithLine(9, "5,40000,5,5,,,,,,,,,,,,"), failed, 9},
        {"wrong run names", goldenWithLine(18, "RUN1,RUN2"), other, 2018},
        {"10 MB in one line", QByteArray(10 << 20, '7'), failed, 1},
    };
    for (const auto& [what, bytes, message, lines] : cases) {
        writeFile(path, bytes);
        const auto res = DataFile::loadDataFile(path);
        EXPECT_EQ(DataFile::readMessages(res.status), QStringList{message}) << what;
        EXPECT_EQ(res.lines, lines) << what;
        EXPECT_TRUE(sameBits(DataFile::currentData(), *before())) << what;
    }
}

TEST(DataFileRead, FieldsOfTypeSetpointAndDataLinesAndRowsAShortFileDoesNotReach) {
    auto staged = before();
    EXPECT_EQ(readBytes(goldenCut(18 + 5), *staged).status, ReadStatus::Ok);
    EXPECT_EQ(staged->table.at(5, 5), sampleData()->table.at(5, 5));
    EXPECT_EQ(staged->table.at(5, 6), 42.5f);
    // The header alone loads type and setpoints, with or without its last line end.
    for (const QByteArray& in : {goldenCut(18), goldenCut(18).chopped(2)}) {
        auto header = before();
        const auto res = readBytes(in, *header);
        EXPECT_EQ(std::pair(res.status, res.lines), std::pair(ReadStatus::Ok, 18));
        EXPECT_EQ(std::pair(header->instrumentType, header->setpoints.SpTimerY[4]),
                  (std::pair<std::int16_t, std::int16_t>(3, 32767)));
        EXPECT_EQ(header->table.at(1, 1), 42.5f);
    }

    // The type: rounded ties to even, kept within 0 to 5.
    const std::pair<const char*, int> cases[] = {
        {"7,,,,,,,,,,,,,,,", 0}, {"2.5", 2},  {"3.5", 4},     {"5", 5}, {"5.5", 0},   {"-1", 0},
        {"  4xyz", 4},           {"+1.4", 1}, {"abc,,,,", 0}, {"", 0},  {"1e300", 0}, {"nan", 0}};
    for (auto [line, type] : cases) {
        EXPECT_EQ(readBytes(goldenWithLine(4, line), *staged).status, ReadStatus::Ok) << line;
        EXPECT_EQ(staged->instrumentType, type) << line;
    }

    // Setpoints: 16-bit, rounded ties to even, no range check, the last twelve fields ignored.
    ASSERT_EQ(readBytes(goldenWithLine(7, " -32768 ,12.5,,+300,junk,x,,,,,,,,,,"), *staged).status,
              ReadStatus::Ok);
    EXPECT_EQ(staged->setpoints.SpTotalHi, (SetpointStore::Array{0, -32768, 12, 0, 300}));

    // Data rows: singles clamped into 0 to 99, empty fields read 0.
    ASSERT_EQ(readBytes(goldenWithLine(19, "150,-3,,  12.5 ,+4,1e-5,-0,,,,,,,,,"), *staged).status,
              ReadStatus::Ok);
    const float row[16] = {99, 0, 0, 12.5f, 4, 1e-5f};
    for (int c = 1; c <= 16; ++c)
        EXPECT_EQ(staged->table.at(c, 1), row[c - 1]) << c;
    EXPECT_FALSE(std::signbit(staged->table.at(7, 1)));

    // A row as long as a line may be still reads.
    const QByteArray longest =
        "7" + QByteArray(DataFile::MaxLineLength - 16, ' ') + QByteArray(15, ',');
    ASSERT_EQ(readBytes(goldenWithLine(25, longest), *staged).status, ReadStatus::Ok);
    EXPECT_EQ(staged->table.at(1, 7), 7.0f);
    for (const char* bad : {"nan", "inf", "1e50", "0x10", "1.2.3", "\"5\"", "5 5", "--5"})
        EXPECT_EQ(readBytes(goldenWithLine(25, bad + QByteArray(15, ',')), *staged).status,
                  ReadStatus::ReadError)
            << bad;
}

TEST(DataFileSave, ReplacesTheOldFileWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    const QByteArray old(500000, 'x'); // longer than a data file: nothing of it may remain
    writeFile(path, old);

    // A file-size limit makes the write fail half-way, even for root.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedOk = DataFile::saveDataFile(path, *sampleData());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(savedOk);
    EXPECT_TRUE(readAll(path) == old);

    float last = 0;
    ASSERT_TRUE(DataFile::saveDataFile(path, *sampleData(), [&](float p) { last = p; }));
    EXPECT_EQ(last, 100.0f);
    EXPECT_TRUE(readAll(path) == DataFile::dataFileBytes(*sampleData()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("run.csv")});
}

TEST(DataFileSave, KilledMidSaveLeavesTheOldOrTheNewFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run.csv"));
    const QByteArray versions[] = {DataFile::dataFileBytes(*before()),
                                   DataFile::dataFileBytes(*sampleData())};
    writeFile(path, versions[0]);
    writeFile(path + ".old", versions[0]);
    writeFile(path + ".new", versions[1]);
    QByteArray args[] = {TARVOLM_BIN_DIR "/tarvolm_save_loop", path.toLocal8Bit(),
                         (path + ".new").toLocal8Bit(), (path + ".old").toLocal8Bit()};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), nullptr};

    // The helper saves the new and the old file over each other until it is killed.
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int seen[2] = {0, 0};
    for (int kill = 0; kill < 100; ++kill) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        posix_spawn_file_actions_t toPipe;
        posix_spawn_file_actions_init(&toPipe);
        posix_spawn_file_actions_adddup2(&toPipe, ready[1], STDOUT_FILENO);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, argv[0], &toPipe, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&toPipe);
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the helper did not start";
        close(ready[0]);
        usleep(useconds_t(delayUs(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the helper stopped by itself at kill " << kill;
        const QByteArray onDisk = readAll(path);
        const int which = onDisk == versions[0] ? 0 : onDisk == versions[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "a torn file (" << onDisk.size() << " bytes) at kill " << kill;
        ++seen[which];
    }
    // Both outcomes were seen, so the kills did land during the saves.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}
