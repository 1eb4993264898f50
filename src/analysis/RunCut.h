// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CapturedData.h"

#include <array>
#include <optional>
#include <span>

/// The cut of one run out of the captured table for the single-run analysis: from its onset
/// to a little after its end, as two arrays of samples indexed 0 to 2000.
namespace RunCut {

/// Positions 0 to 2000. Position 0 is no sample and holds 0.0; row onset + m sits at m + 1.
inline constexpr int SampleCount = CapturedTable::Rows + 1;
using Samples = std::array<float, SampleCount>;
using SampleSpan = std::span<float, SampleCount>;
using ConstSamples = std::span<const float, SampleCount>;

/// Rise between row i and row i + 5 that marks the onset (strictly more than this).
inline constexpr float OnsetRise = 2.0f;

struct Limits {
    int onset = 0;  ///< first row of the cut (1 to 1994)
    int end = 0;    ///< end row found by the end search (may exceed 2000)
    int length = 0; ///< the cut length: min(end + 50, 2000) - onset
};

/// First row i from 1 whose CH1 value at row i + 5 exceeds the one at row i by more than 2.0,
/// in single precision; nullopt when none (rows 1 to 1994 are candidates). Column 1 to 16.
std::optional<int> findOnset(const CapturedTable& table, int column) noexcept;

/// k + 5 for the first row k from onset + 50 to 2000 whose value lies strictly below the
/// onset value as displayed plus 6.0 (in double precision); 2000 when there is none.
int findEnd(const CapturedTable& table, int column, int onset) noexcept;

/// Cuts run `run` (1 to 8, CH1 in column 2 run - 1, CH2 in column 2 run). Both arrays are
/// cleared first, then rows onset to onset + length go to positions 1 to length + 1. nullopt
/// when the run has no onset (or `run` is out of range): the arrays are then all 0.0 and the
/// cut length is 0.
std::optional<Limits> cutRun(const CapturedTable& table, int run, SampleSpan ch1,
                             SampleSpan ch2) noexcept;

} // namespace RunCut
