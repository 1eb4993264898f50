// SPDX-License-Identifier: GPL-3.0-or-later
// The run limits behind Graph: eight chosen runs of 2000 rows, each with an onset and an end.
#include "ModVars.h"
#include "RunLimits.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FindRunLimits(benchmark::State& state) {
    CapturedTable table;
    // Late onsets and no end make every search run its longest.
    for (int r = 1; r <= RunLimits::Runs; ++r)
        for (int row = 1800 + 20 * r; row <= CapturedTable::Rows; ++row)
            table.at(2 * r - 1, row) = 50.0f;
    constexpr std::array<bool, RunLimits::Runs> all = {true, true, true, true,
                                                       true, true, true, true};
    for (auto _ : state) {
        const RunLimits::Limits limits = RunLimits::find(table, all);
        benchmark::DoNotOptimize(limits);
    }
}
BENCHMARK(BM_FindRunLimits)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
