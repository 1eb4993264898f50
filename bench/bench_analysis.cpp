// SPDX-License-Identifier: GPL-3.0-or-later
// Auto Setpoints of every instrument type over a cut of 2000 samples.
#include "AutoSetpoints.h"

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <utility>

namespace {

constexpr int Length = RunCut::SampleCount - 2; // rising at row 1, never falling back

/// Positions from each piece's first one up to the next piece hold its level.
RunCut::Samples samples(std::initializer_list<std::pair<int, float>> pieces) {
    RunCut::Samples s{};
    for (auto it = pieces.begin(); it != pieces.end(); ++it) {
        const int to = std::next(it) == pieces.end() ? Length + 1 : std::next(it)->first - 1;
        for (int p = it->first; p <= to; ++p)
            s[p] = it->second;
    }
    return s;
}

void BM_AutoSetpoints(benchmark::State& state) {
    const int type = int(state.range(0));
    RunCut::Samples ch1, ch2 = samples({{1, 0.0f}, {10, 30.4f}, {900, 60.1f}, {1000, 0.0f}});
    switch (type) {
    case 1: // a noisy plateau, steady only within the widest band: every band is tried
        ch1 = samples({{1, 20.2f}, {1200, 40.2f}, {1600, 3.0f}});
        for (int p = 1; p < 1200; p += 2)
            ch1[p] = 20.7f;
        break;
    case 4:
        ch1 = samples({{1, 50.3f}, {950, 40.2f}, {1800, 10.1f}});
        break;
    default:
        ch1 = samples({{1, 50.3f}, {1500, 44.1f}, {1800, 10.1f}});
        break;
    }
    for (auto _ : state) {
        auto r = AutoSetpoints::derive(type, ch1, ch2, Length);
        benchmark::DoNotOptimize(r);
        if (!r) state.SkipWithError("the run does not fit the type");
    }
    state.SetLabel(std::string(1, char('A' + type)));
}
BENCHMARK(BM_AutoSetpoints)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

} // namespace
