// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-run graph of eight runs with onsets near row 1 (16 curves of about 2000 points):
// the window's activation to a finished replot, against QCustomPlot fed the same 16 vectors.
#include "FrmGraph.h"
#include "ModVars.h"
#include "SciGraph.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

std::vector<double> windowMs, bareMs;

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F> double timedMs(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void captureEightRuns() {
    for (int r = 1; r <= 8; ++r) {
        for (int row = 1; row <= CapturedTable::Rows; ++row) {
            const double t = (row - r) * 0.005;
            CapturedData.at(2 * r - 1, row) = float(50 + 45 * std::sin(t * 3 + r));
            CapturedData.at(2 * r, row) = float(40 + 35 * std::cos(t * 5 + r));
        }
        RunStart[r] = static_cast<std::int16_t>(r);
    }
    RunMax = 1999;
}

void BM_GraphWindowActivation(benchmark::State& state) {
    captureEightRuns();
    FrmGraph& form = Forms::get<FrmGraph>();
    form.show();
    for (auto _ : state)
        windowMs.push_back(timedMs([&] { form.activate(); }));
    state.counters["points"] = double(form.PESciGraph->curves()[15].x.size());
}
BENCHMARK(BM_GraphWindowActivation)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_BareQCustomPlot(benchmark::State& state) {
    // The same vectors the window hands over, built once outside the timing.
    const SciGraph& shown = *Forms::get<FrmGraph>().PESciGraph;
    std::vector<QVector<QCPGraphData>> data;
    for (const SciGraph::Curve& c : shown.curves()) {
        QVector<QCPGraphData> d;
        for (size_t i = 0; i < c.x.size(); ++i)
            d.append(QCPGraphData(c.x[i], c.y[i]));
        data.push_back(std::move(d));
    }
    QCustomPlot plot;
    plot.resize(shown.size());
    plot.show();
    for (auto _ : state) {
        bareMs.push_back(timedMs([&] {
            plot.clearGraphs();
            for (size_t i = 0; i < data.size(); ++i) {
                QCPGraph* g = plot.addGraph();
                g->setPen(QPen(shown.curves()[i].color, 1, i % 2 ? Qt::DashLine : Qt::SolidLine));
                g->data()->set(data[i], true);
            }
            plot.rescaleAxes();
            plot.replot();
        }));
    }
}
BENCHMARK(BM_BareQCustomPlot)->Unit(benchmark::kMillisecond)->Iterations(30);

// Medians of the two above, and how far apart they are.
void BM_GraphRatio(benchmark::State& state) {
    for (auto _ : state) {
    }
    const double w = median(windowMs), b = median(bareMs);
    state.counters["window_ms"] = w;
    state.counters["bare_ms"] = b;
    state.counters["ratio"] = b > 0 ? w / b : 0;
}
BENCHMARK(BM_GraphRatio)->Iterations(1);

} // namespace
