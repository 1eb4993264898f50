// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerMarkers.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace TimerMarkers {

namespace {

/// First position from `start` to `last` whose sample meets `cond`; 0 when none. A start
/// that is no position of the arrays (or not a whole 16-bit number) also finds nothing.
template <typename Cond>
int scan(RunCut::ConstSamples s, double start, int last, float level, Cond cond) {
    const double p = std::nearbyint(start);
    if (!(p >= 0.0) || p > last) return 0;
    for (int i = int(p); i <= last; ++i) {
        if (cond(s[i], level)) return i;
    }
    return 0;
}

} // namespace

Markers markers(int instrumentType, RunCut::ConstSamples ch1, RunCut::ConstSamples ch2, int length,
                float l1, float l2, std::optional<double> timerX,
                std::optional<double> timerY) noexcept {
    const int last = std::min(length, RunCut::SampleCount - 1);
    const auto ge = [&](RunCut::ConstSamples s, double from, float level) {
        return float(scan(s, from, last, level, std::greater_equal<float>()));
    };
    const auto le = [&](RunCut::ConstSamples s, double from, float level) {
        return float(scan(s, from, last, level, std::less_equal<float>()));
    };
    // A window closes two positions per timer unit after it opens; an unreadable timer
    // leaves the closing position as it was.
    const auto close = [](float& end, float open, std::optional<double> timer) {
        if (timer) end = float(open + 2.0 * *timer);
    };

    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    switch (instrumentType) {
    case 1:
        x1 = ge(ch1, 0, l1);
        close(x2, x1, timerX);
        y1 = ge(ch1, x2, l2);
        close(y2, y1, timerY);
        break;
    case 2:
    case 5:
        break;
    case 3:
        x1 = y1 = ge(ch1, 0, l1);
        close(x2, x1, timerX);
        close(y2, y1, timerY);
        break;
    case 4:
        x1 = ge(ch1, 0, l1);
        close(x2, x1, timerX);
        y1 = le(ch1, x2, l1);
        close(y2, y1, timerY);
        break;
    default:
        y1 = ge(ch2, 0, l2);
        close(y2, y1, timerY);
        x1 = le(ch2, y2, l2);
        close(x2, x1, timerX);
        break;
    }
    if (x1 == 0) x1 = x2 = NotFound;
    if (y1 == 0) y1 = y2 = NotFound;
    const auto seconds = [](float p) { return float(p * SecondsPerPosition); };
    return {seconds(x1), seconds(x2), seconds(y1), seconds(y2)};
}

} // namespace TimerMarkers
