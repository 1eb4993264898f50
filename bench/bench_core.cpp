// SPDX-License-Identifier: GPL-3.0-or-later
// The code table's conversions, File > New over the whole table, and the started program's
// resident memory.
#include "Controls.h"
#include "FrmStart.h"
#include "FrmStatus.h"
#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "MsgBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t n) {
    ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

void pump(int ms) {
    QElapsedTimer t;
    t.start();
    do
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    while (t.elapsed() < ms);
}

MDIFormMain& startedProgram() {
    if (MainActivated != 100) {
        setMsgBoxHook([](const MsgBoxCall&) { return MsgAnswer::Ok; });
        setEndProgramHook([] {});
        Forms::get<FrmStart>().show();
        while (MainActivated != 100)
            pump(5);
        pump(100);
    }
    return Forms::get<MDIFormMain>();
}

void BM_CodeToValue(benchmark::State& state) {
    const long before = allocations;
    for (auto _ : state) {
        for (std::int16_t code = 0; code <= 255; ++code) {
            CodeToValue(code);
            benchmark::DoNotOptimize(CodeToValueResult);
        }
    }
    state.counters["allocations"] = double(allocations - before);
    state.counters["ns_per_call"] =
        benchmark::Counter(double(state.iterations()) * 256,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ValueToCode(benchmark::State& state) {
    const long before = allocations;
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            const float level = float(i) * 0.0100001f; // 0 to just above 99
            ValueToCode(level);
            benchmark::DoNotOptimize(ValueToCodeResult);
        }
    }
    state.counters["allocations"] = double(allocations - before);
    state.counters["ns_per_call"] =
        benchmark::Counter(double(state.iterations()) * 10000,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_FileNew(benchmark::State& state) {
    MDIFormMain& main = startedProgram();
    FrmStatus& status = Forms::get<FrmStatus>();
    status.load();
    long paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (auto& row : CapturedData.cells)
            row.fill(42.0f);
        status.PrgStatus->setProgress(0);
        const int before = status.PrgStatus->paintCount();
        state.ResumeTiming();
        main.mnuFileNew_Click();
        paints = status.PrgStatus->paintCount() - before;
    }
    state.counters["bar_paints"] = double(paints);
}

void BM_StartedProgramMemory(benchmark::State& state) {
    startedProgram();
    for (auto _ : state)
        pump(200); // idle with the first window
    long rssKb = 0;
    QFile f(QStringLiteral("/proc/self/status"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                rssKb = line.mid(6).trimmed().split(' ').value(0).toLong();
    state.counters["rss_MB"] = double(rssKb) / 1024.0;
}

} // namespace

BENCHMARK(BM_CodeToValue);
BENCHMARK(BM_ValueToCode);
// Memory first: the figure is the program as started, before File > New's own work.
BENCHMARK(BM_StartedProgramMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileNew)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
