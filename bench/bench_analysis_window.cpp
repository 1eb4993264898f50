// SPDX-License-Identifier: GPL-3.0-or-later
// Activation of the analysis window on a run that fills all 2000 rows: cut, graph, adjust
// grid, threshold lines, timer markers, and the repaint that follows.
#include "CodeTable.h"
#include "FrmAnalyse.h"
#include "FrmSetpoints.h"
#include "ModVars.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_AnalyseActivation(benchmark::State& state) {
    SetDefaults();
    InstrumentType = 0;
    // Run 1 starts at once and never falls back, so the cut takes 1999 steps.
    for (int row = 1; row <= 2000; ++row) {
        CapturedData.at(1, row) = CodeTable::levelOfCode(row < 6 ? 11 : 60 + (row % 150));
        CapturedData.at(2, row) = CodeTable::levelOfCode(row < 6 ? 11 : 40 + (row % 90));
    }
    FrmAnalyse& form = Forms::get<FrmAnalyse>();
    form.RunToAnalyse = 1;
    form.ParamToAnalyse = 1;
    Forms::get<FrmSetpoints>().GetCalibrationData();
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        form.activate();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.CountWindow1);
    }
    state.counters["points"] = form.AnaRunLength;
    form.unload();
}
BENCHMARK(BM_AnalyseActivation)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
