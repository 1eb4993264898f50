// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoSetpoints.h"

#include "CodeTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace AutoSetpoints {

namespace {

using Samples = RunCut::ConstSamples;

/// A whole 16-bit number, ties to even; nullopt where the instrument's arithmetic would
/// overflow.
std::optional<int> whole(double v) noexcept {
    const double r = std::nearbyint(v);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return int(r);
}

/// Levels are compared as singles.
float level(double v) noexcept {
    return static_cast<float>(v);
}

int lastPosition(int length) noexcept {
    return std::min(length, RunCut::SampleCount - 1);
}

/// First position from `from` to `last` whose sample lies strictly above (below) `lv`; 0 when
/// none.
int firstAbove(Samples s, int from, int last, float lv) noexcept {
    for (int i = std::max(from, 0); i <= last; ++i)
        if (s[i] > lv) return i;
    return 0;
}
int firstBelow(Samples s, int from, int last, float lv) noexcept {
    for (int i = std::max(from, 0); i <= last; ++i)
        if (s[i] < lv) return i;
    return 0;
}

float maximum(Samples s, int last) noexcept {
    float m = 0.0f;
    for (int i = 0; i <= last; ++i)
        if (s[i] > m) m = s[i];
    return m;
}
float minimum(Samples s, int last) noexcept {
    float m = 100.0f;
    for (int i = 0; i <= last; ++i)
        if (s[i] < m) m = s[i];
    return m;
}

} // namespace

int SpanToTimer(int span) noexcept {
    return int(std::nearbyint(std::nearbyint(span / 2.0) / 4.0));
}

std::optional<Result> typeA(Samples ch1, Samples ch2, int length) noexcept {
    const int last = lastPosition(length);
    Result r;
    r.peak1 = maximum(ch1, last);
    r.peak2 = minimum(ch2, last);
    if (r.peak2 <= 0.0f) r.peak2 = 2.0f;
    const float l2 = level(r.peak2 + 2.2);

    const int i1 = firstAbove(ch2, 0, last, l2);
    const int i2 = firstBelow(ch2, i1 + 1, last, l2);
    r.timerY = std::min(SpanToTimer(i2 - i1), 90);
    if (r.timerY < 2) return std::nullopt;

    // The threshold that keeps CH1 above its level longest after CH2 has fallen back; a k
    // whose level is never crossed keeps the previous crossing.
    int best = 0, j = 0;
    for (int k = 10; k <= 60; ++k) {
        const float lv = level(r.peak1 - (k / 100.0) * r.peak1);
        if (const int found = firstBelow(ch1, i2, last, lv)) j = found;
        if (j - i2 > best) {
            best = j - i2;
            r.threshold = k;
        }
    }
    if (r.threshold == 0) return std::nullopt;

    const float l1 = level(r.peak1 - r.threshold * double(r.peak1) / 100.0);
    int j1 = firstBelow(ch2, i2, last, l2);
    if (j1 == 0) j1 = i2;
    int j2 = firstBelow(ch1, j1, last, l1);
    if (j2 == 0) j2 = j;
    r.timerX = std::min(SpanToTimer(j2 - j1), 10);
    if (r.timerX < 2) return std::nullopt;
    return r;
}

std::optional<Result> typeB(Samples ch1, int length) noexcept {
    const int last = lastPosition(length);
    const float top = maximum(ch1, last);
    const float cutOff = level(top - top * 0.085);

    // Plateau: the first sample whose ten followers stay within a band around it, the band
    // widened step by step.
    float flat = 0.0f;
    int f = 0;
    bool found = false;
    for (int k = 1; k <= 10 && !found; ++k) {
        const double tolerance = k / 4.0 / 100.0;
        for (int i = 0; i <= last && !found; ++i) {
            const float v = ch1[i];
            if (!(v > 5.0f && v < cutOff)) continue;
            if (i + 10 >= RunCut::SampleCount) return std::nullopt;
            const float upper = level(tolerance * v + v);
            const float lower = level(v - tolerance * v);
            const bool steady = std::all_of(ch1.begin() + i + 1, ch1.begin() + i + 11,
                                            [&](float s) { return !(s < lower || s > upper); });
            if (steady) {
                flat = v;
                f = i;
                found = true;
            }
        }
    }

    float max2 = flat;
    int m = 0;
    for (int i = f + 1; i <= last; ++i) {
        if (ch1[i] > max2) {
            max2 = ch1[i];
            m = i;
        }
    }
    float low = flat;
    for (int i = f; i <= m; ++i)
        if (ch1[i] < flat) low = ch1[i];

    if (level(flat * 0.05 + flat) > max2) return std::nullopt;
    if (flat == 0.0f) return std::nullopt;

    std::optional<int> threshold;
    for (int k = 99; k >= 1 && !threshold; --k) {
        const double mid = (double(max2) + flat) / (k / 100.0 + 1.0);
        const double fraction = (mid - flat) / flat;
        if (level(flat - fraction * flat) < level(low - 2.0)) {
            threshold = whole(fraction * 100.0);
            if (!threshold) return std::nullopt;
        }
    }
    if (!threshold) return std::nullopt;

    // The crossings use the threshold as found, even one that is written limited.
    const float lower = level(flat - *threshold / 100.0 * flat);
    const float upper = level(*threshold / 100.0 * flat + flat);
    const int a = firstAbove(ch1, 0, last, lower);
    const int b = firstAbove(ch1, a, last, upper);
    const int c = firstBelow(ch1, b, last, upper);

    Result r{flat, max2, *threshold, std::min(SpanToTimer(b - a), 90),
             std::min(SpanToTimer(c - b), 10)};
    if (r.timerX == 0 || r.timerY == 0) return std::nullopt;
    return r;
}

Result typeC() noexcept {
    return {51.0f, 51.0f, 10, 10, 10};
}

Result typeD(Samples ch1, int length) noexcept {
    const int last = lastPosition(length);
    Result r;
    r.peak1 = maximum(ch1, last);
    r.threshold = 20;
    const float l1 = level(r.peak1 - 20 / 100.0 * r.peak1);
    const int a = firstAbove(ch1, 0, last, l1);
    const int b = firstBelow(ch1, a, last, l1);
    r.timerX = int(std::nearbyint(std::nearbyint((b - a) / 2.0) / 4.0 * 3.0));
    r.timerY = r.timerX / 3.0 < 5.0 ? int(std::nearbyint(r.timerX / 3.0)) : 5;
    return r;
}

std::optional<Result> typeE(Samples ch1, Samples ch2, int length) noexcept {
    const int last = lastPosition(length);
    Result r;
    r.peak1 = maximum(ch1, last);
    r.peak2 = minimum(ch2, last);
    if (r.peak2 < 3.0f) r.peak2 = 3.0f;
    const float l2 = level(r.peak2 + 19.9);

    // The CH2 peak after the rise, held as a rounded running maximum.
    const int s = firstAbove(ch2, 0, last, l2);
    int top = 0, m = 0;
    for (int i = s; i <= last; ++i) {
        if (ch2[i] > top) {
            const auto t = whole(ch2[i]);
            if (!t) return std::nullopt;
            top = *t;
            m = i;
        }
    }
    if (m == 0 || r.peak1 == 0.0f) return std::nullopt;

    const auto drop = whole((double(r.peak1) - ch1[m]) / r.peak1 * 100.0);
    if (!drop) return std::nullopt;
    r.threshold = std::clamp(*whole(*drop / 2.0), 2, 50);

    const float l1 = level(r.peak1 - r.threshold * double(r.peak1) / 100.0);
    const int a = firstAbove(ch1, 0, last, l1);
    const int b = firstBelow(ch1, a, last, l1);
    const int c = firstAbove(ch2, b, last, l2);
    const int d = firstBelow(ch2, c, last, l2);
    r.timerX = std::min(SpanToTimer(b - a), 90);
    r.timerY = int(std::nearbyint((d - c) / 2.0)) * 2;
    if (r.timerX == 0 || r.timerY == 0) return std::nullopt;
    return r;
}

Result typeF() noexcept {
    return {51.0f, 0.0f, 10, 10, 90};
}

std::optional<Result> derive(int instrumentType, Samples ch1, Samples ch2, int length) noexcept {
    if (instrumentType == 2) return typeC();
    if (instrumentType == 5) return typeF();
    // The other types read their setpoints off the run: an empty cut would give zeros (Type D
    // does not fail on its own) and wipe the operator's set.
    if (length <= 0) return std::nullopt;
    switch (instrumentType) {
    case 1:
        return typeB(ch1, length);
    case 3:
        return typeD(ch1, length);
    case 4:
        return typeE(ch1, ch2, length);
    default:
        return typeA(ch1, ch2, length);
    }
}

Result limited(const Result& r) noexcept {
    return {std::clamp(r.peak1, 0.0f, 99.0f), std::clamp(r.peak2, 0.0f, 99.0f),
            std::clamp(r.threshold, 2, 65), std::clamp(r.timerX, 0, 90),
            std::clamp(r.timerY, 0, 90)};
}

StoreValues storeValues(const Result& r) noexcept {
    const Result l = limited(r);
    return {std::int16_t(l.timerX), std::int16_t(l.timerY), CodeTable::codeOfLevel(l.peak1),
            CodeTable::codeOfLevel(l.peak2), std::int16_t(l.threshold)};
}

bool makeSetpoints(SetpointStore& store, int param, int instrumentType, Samples ch1, Samples ch2,
                   int length) noexcept {
    if (param < 1 || param > 4) return false;
    const auto r = derive(instrumentType, ch1, ch2, length);
    if (!r) return false;
    const StoreValues v = storeValues(*r);
    store.SpTimerX[param] = v.timerX;
    store.SpTimerY[param] = v.timerY;
    store.SpCh1Peak[param] = v.ch1Peak;
    store.SpCh2Peak[param] = v.ch2Peak;
    store.SpPctThreshold[param] = v.pctThreshold;
    return true;
}

} // namespace AutoSetpoints
