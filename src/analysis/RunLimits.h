// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CapturedData.h"

#include <array>
#include <cstdint>
#include <span>

/// Run limits of the multi-run graph: in the CH1 column of each chosen run, the row where the
/// effort begins (onset) and the row after which nothing more is drawn (end).
namespace RunLimits {

inline constexpr int Runs = CapturedTable::Columns / 2;
/// Rows over which a rise is measured; the end lies this far after the first low row.
inline constexpr int LookAhead = 5;
/// A rise over LookAhead rows must be strictly above this to be an onset.
inline constexpr double OnsetRise = 2.0;
/// Last row the onset search compares.
inline constexpr int LastOnsetRow = 1999;
/// The end search starts this many rows after the onset.
inline constexpr int EndSkip = 50;
/// The end is the first row strictly below the onset value plus this.
inline constexpr double EndRise = 6.0;
/// Added to every end.
inline constexpr int TailMargin = 50;
inline constexpr int LastRow = CapturedTable::Rows;

struct Limits {
    /// Onset row of run r at index r (1 to 8), 1 to 1994; 0 = not chosen or no onset.
    std::array<std::int16_t, Runs + 1> start{};
    /// Last row to draw of run r, at most 2000; meaningful only where start[r] is not 0.
    std::array<std::int16_t, Runs + 1> end{};
    /// The largest end[r] - start[r] over the runs with an onset; 0 = nothing to graph.
    std::int16_t max = 0;
};

/// Finds the limits of the runs whose `chosen` flag (run r at index r - 1) is set, from the
/// CH1 column 2r - 1 of `table`, in double precision. A NaN or infinite cell counts as 0.
Limits find(const CapturedTable& table, std::span<const bool, Runs> chosen) noexcept;

} // namespace RunLimits
