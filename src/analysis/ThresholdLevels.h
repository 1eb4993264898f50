// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The one or two levels at which an instrument of a given type counts, worked out from a
/// parameter set as the setpoint sheet shows it.
namespace ThresholdLevels {

struct Levels {
    float countWindow1 = 0.0f; ///< first level, % of full scale
    float countWindow2 = 0.0f; ///< second level; 0.0 means there is none
};

/// Percent Threshold as the fraction the levels use, stored as a single (10 gives 0.1).
float pctFraction(int percentThreshold) noexcept;

/// The levels for `instrumentType` 0 to 5 (A to F; any other as A), computed in double from
/// the single inputs and rounded to single: A peak1 - peak1 pct and peak2 + 2.2; B peak1 -+
/// peak1 pct; C peak1 - peak1 pct and peak2 - peak2 pct; D the first only; E the first and
/// peak2 + 19.902 (a single); F 51.2 twice. `pct` is the fraction.
Levels levels(int instrumentType, float peak1, float peak2, float pct) noexcept;

} // namespace ThresholdLevels
