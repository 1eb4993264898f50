// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading a full data file, and the reader against a bare parse of the same file.
#include "DataFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>

namespace {

std::unique_ptr<DataFile::Snapshot> fullTable() {
    auto s = std::make_unique<DataFile::Snapshot>();
    s->instrumentType = 2;
    s->setpoints.setDefaults();
    for (int r = 1; r <= CapturedTable::Rows; ++r)
        for (int c = 1; c <= CapturedTable::Columns; ++c)
            s->table.at(c, r) = std::fmod(float(r * c) * 0.0137f, 99.0f);
    return s;
}

/// The floor: read the file and convert every field of every line with from_chars.
double bareParse(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = f.readAll();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    double sum = 0;
    while (p < end) {
        const char* field = p;
        while (p < end && *p != ',' && *p != '\r' && *p != '\n')
            ++p;
        float v = 0;
        std::from_chars(field, p, v);
        sum += v;
        if (p < end && *p == '\r') ++p;
        if (p < end) ++p;
    }
    return sum;
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_SaveFullTable(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    const auto data = fullTable();
    for (auto _ : state) {
        if (!DataFile::saveDataFile(path, *data)) state.SkipWithError("save failed");
    }
}

/// Times the reader (the benchmark's own time) and the bare parse of the same file beside it.
void BM_LoadFullTable(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    if (!DataFile::saveDataFile(path, *fullTable())) state.SkipWithError("save failed");
    auto staged = std::make_unique<DataFile::Snapshot>();
    double readerTime = 0, bareTime = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto res = DataFile::readDataFile(path, *staged);
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(bareParse(path));
        const auto t2 = std::chrono::steady_clock::now();
        if (res.status != DataFile::ReadStatus::Ok) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(staged->table);
        readerTime += seconds(t1 - t0);
        bareTime += seconds(t2 - t1);
        state.SetIterationTime(seconds(t1 - t0));
    }
    const double n = double(state.iterations());
    state.counters["reader_ms"] = readerTime / n * 1e3;
    state.counters["bare_ms"] = bareTime / n * 1e3;
    state.counters["ratio"] = bareTime > 0 ? readerTime / bareTime : 0;
}

} // namespace

BENCHMARK(BM_SaveFullTable)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_LoadFullTable)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(5);
