// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ModVars.h"

/// What an operator's edit of the analysis window's adjust grid writes into the store.
namespace AdjustEdit {

/// Grid columns: 1 Run, 2 Param, 3 Timer X, 4 Timer Y, 5 Peak Ch1, 6 Peak Ch2, 7 Threshold.
enum Column { Run = 1, Param, TimerX, TimerY, PeakCh1, PeakCh2, Threshold };

/// Stores the number typed into grid column `col` at element `param` (1 to 4): timers and
/// threshold as whole numbers (ties to even), peaks as the code of the single-precision level.
/// Returns false and stores nothing for columns 1 and 2, a `param` out of range, or a whole
/// number outside the 16-bit range.
bool storeEdit(SetpointStore& store, int param, int col, double value) noexcept;

} // namespace AdjustEdit
