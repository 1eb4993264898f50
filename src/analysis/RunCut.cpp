// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunCut.h"

#include <algorithm>
#include <charconv>

namespace RunCut {

namespace {

constexpr int Rows = CapturedTable::Rows;

/// The shortest text that reads back as `v`, as the captured-data grid shows it, read as a
/// double: 12.3f gives 12.3, not 12.30000019...
double displayed(float v) noexcept {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    double d = v;
    std::from_chars(buf, res.ptr, d);
    return d;
}

} // namespace

std::optional<int> findOnset(const CapturedTable& table, int column) noexcept {
    if (!CapturedTable::contains(column, 1)) return std::nullopt;
    for (int i = 1; i + 5 < Rows; ++i) {
        const float rise = table.at(column, i + 5) - table.at(column, i);
        if (rise > OnsetRise) return i;
    }
    return std::nullopt;
}

int findEnd(const CapturedTable& table, int column, int onset) noexcept {
    if (!CapturedTable::contains(column, 1) || onset < 1 || onset > Rows) return Rows;
    const double level = displayed(table.at(column, onset)) + 6.0;
    for (int k = onset + 50; k <= Rows; ++k) {
        if (double(table.at(column, k)) < level) return k + 5;
    }
    return Rows;
}

std::optional<Limits> cutRun(const CapturedTable& table, int run, SampleSpan ch1,
                             SampleSpan ch2) noexcept {
    // A cut never keeps samples of an earlier one: a shorter run or a run with no onset
    // would otherwise be drawn and analysed with another run's tail.
    std::ranges::fill(ch1, 0.0f);
    std::ranges::fill(ch2, 0.0f);
    if (run < 1 || run > CapturedTable::Columns / 2) return std::nullopt;
    const int col1 = 2 * run - 1, col2 = 2 * run;
    const auto onset = findOnset(table, col1);
    if (!onset) return std::nullopt;
    Limits limits;
    limits.onset = *onset;
    limits.end = findEnd(table, col1, *onset);
    limits.length = std::min(limits.end + 50, Rows) - *onset;
    for (int m = 0; m <= limits.length; ++m) {
        ch1[m + 1] = table.at(col1, *onset + m);
        ch2[m + 1] = table.at(col2, *onset + m);
    }
    return limits;
}

} // namespace RunCut
