// SPDX-License-Identifier: GPL-3.0-or-later
// The finish of a capture: decode a full 10,000-byte stream and write its 4,000 cells.
#include "CaptureDecoder.h"
#include "FrmCapture.h"
#include "MDIFormMain.h"
#include "ModVars.h"

#include <benchmark/benchmark.h>

namespace {

void fillStream(int records) {
    int n = 0;
    for (int j = 1; j <= records; ++j) {
        const int ch1 = j % 256, ch2 = (7 * j) % 256;
        const int rec[5] = {0x72, j % 3, ch1, ch2, (0x72 + j % 3 + ch1 + ch2) & 0xFF};
        for (int b : rec)
            CaptureBytes[++n] = static_cast<std::int16_t>(b);
    }
    CaptureByteCount = static_cast<std::int16_t>(n);
}

void BM_DecodeAndWriteRun(benchmark::State& state) {
    fillStream(2000);
    CaptureRun = 3;
    MDIFormMain::torqueGrid(); // the main window with its grid exists before a capture ends
    FrmCapture& form = Forms::get<FrmCapture>();
    for (auto _ : state) {
        form.DecodeRunData();
        form.WriteRunToGrid();
        benchmark::DoNotOptimize(CapturedData.at(6, 2000));
    }
}
BENCHMARK(BM_DecodeAndWriteRun)->Unit(benchmark::kMicrosecond);

void BM_DecodeOnly(benchmark::State& state) {
    fillStream(2000);
    for (auto _ : state) {
        auto r = CaptureDecoder::decode(
            std::span<const std::int16_t>(CaptureBytes).subspan(1, 10000), Ch1Codes, Ch2Codes);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMicrosecond);

} // namespace
