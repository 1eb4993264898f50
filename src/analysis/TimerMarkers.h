// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunCut.h"

#include <optional>

/// Where the Timer X and Timer Y windows of a parameter set fall on a cut run.
namespace TimerMarkers {

/// Sample positions, 5 ms apart.
inline constexpr double SecondsPerPosition = 0.005;
/// Position given to a window whose opening crossing is not found (12.5 s, past any run).
inline constexpr float NotFound = 2500.0f;

struct Markers {
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f; ///< seconds since the onset
};

/// The four marker positions for `instrumentType` (0 to 5, any other as type A), in seconds
/// (position p at p x 0.005 s). Scans test positions s to `length` with >= or <=; a crossing
/// at position 0 counts as not found, and a window not found stands at NotFound positions.
/// A timer window lasts 2 x timer positions. A timer that the sheet could not give as a number
/// (nullopt) leaves the position that uses it as it was; so does a scan whose start is not a
/// position of the arrays. `l1` and `l2` are CountWindow1 and CountWindow2.
Markers markers(int instrumentType, RunCut::ConstSamples ch1, RunCut::ConstSamples ch2, int length,
                float l1, float l2, std::optional<double> timerX,
                std::optional<double> timerY) noexcept;

} // namespace TimerMarkers
