// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunLimits.h"

#include <algorithm>
#include <cmath>

namespace RunLimits {

namespace {

/// CH1 of one run, rows 1 to 2000 at indexes 1 to 2000, made finite.
using Column = std::array<double, LastRow + 1>;

void readColumn(const CapturedTable& table, int run, Column& out) noexcept {
    out[0] = 0.0;
    for (int row = 1; row <= LastRow; ++row) {
        const double v = table.at(2 * run - 1, row);
        // No capture or file writes these, but one stray cell must not hide a whole run.
        out[row] = std::isfinite(v) ? v : 0.0;
    }
}

int onset(const Column& v) noexcept {
    for (int j = 1; j + LookAhead <= LastOnsetRow; ++j)
        if (v[j + LookAhead] - v[j] > OnsetRise) return j;
    return 0;
}

int end(const Column& v, int start) noexcept {
    const double level = v[start] + EndRise;
    int from = start + EndSkip;
    if (from > LastRow) from = LastRow - 1;
    int last = LastRow;
    for (int j = from; j <= LastRow; ++j) {
        if (v[j] < level) {
            last = std::min(j + LookAhead, LastRow);
            break;
        }
    }
    return std::min(last + TailMargin, LastRow);
}

} // namespace

Limits find(const CapturedTable& table, std::span<const bool, Runs> chosen) noexcept {
    Limits limits;
    Column v;
    int longest = 0;
    for (int r = 1; r <= Runs; ++r) {
        if (!chosen[r - 1]) continue;
        readColumn(table, r, v);
        const int start = onset(v);
        if (start == 0) continue;
        const int last = end(v, start);
        limits.start[r] = static_cast<std::int16_t>(start);
        limits.end[r] = static_cast<std::int16_t>(last);
        longest = std::max(longest, last - start);
    }
    limits.max = static_cast<std::int16_t>(longest);
    return limits;
}

} // namespace RunLimits
