// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ModVars.h"
#include "RunCut.h"

#include <cstdint>
#include <optional>

/// New setpoints for one parameter set derived from a cut run by the rules of the instrument
/// type. Every scan covers positions 0 to `length` (position 0 holds 0.0 and takes part);
/// comparisons with levels are strict, levels are singles, whole numbers round ties to even.
namespace AutoSetpoints {

struct Result {
    float peak1 = 0.0f; ///< CH1 Peak, % of full scale
    float peak2 = 0.0f; ///< CH2 Peak
    int threshold = 0;  ///< Percent Threshold
    int timerX = 0;
    int timerY = 0;
    bool operator==(const Result&) const = default;
};

/// Half the span, rounded, then a quarter of that, rounded: 5 -> 0, 6 -> 1, 28 -> 4, 727 -> 91.
int SpanToTimer(int span) noexcept;

/// Each type's procedure; nullopt when the run does not fit the type (no crossing, a span too
/// short, a division by zero, an overflow, a look-ahead past position 2000).
std::optional<Result> typeA(RunCut::ConstSamples ch1, RunCut::ConstSamples ch2,
                            int length) noexcept;
std::optional<Result> typeB(RunCut::ConstSamples ch1, int length) noexcept;
Result typeC() noexcept;
Result typeD(RunCut::ConstSamples ch1, int length) noexcept;
std::optional<Result> typeE(RunCut::ConstSamples ch1, RunCut::ConstSamples ch2,
                            int length) noexcept;
Result typeF() noexcept;

/// The procedure of `instrumentType` 0 to 5 (A to F); any other value runs type A. Types C and
/// F give their fixed values whatever the cut; every other type gives nullopt for an empty cut
/// (`length` 0).
std::optional<Result> derive(int instrumentType, RunCut::ConstSamples ch1, RunCut::ConstSamples ch2,
                             int length) noexcept;

/// Timers to 0..90, threshold to 2..65, peaks to 0.0..99.0.
Result limited(const Result& r) noexcept;

/// The five store values of a limited result, peaks as codes through ValueToCode.
struct StoreValues {
    std::int16_t timerX = 0, timerY = 0, ch1Peak = 0, ch2Peak = 0, pctThreshold = 0;
    bool operator==(const StoreValues&) const = default;
};
StoreValues storeValues(const Result& r) noexcept;

/// Derives, limits and writes SpTimerX, SpTimerY, SpCh1Peak, SpCh2Peak and SpPctThreshold at
/// element `param` (1 to 4) and nothing else; false, with the store untouched, when the
/// procedure fails or `param` is out of range.
bool makeSetpoints(SetpointStore& store, int param, int instrumentType, RunCut::ConstSamples ch1,
                   RunCut::ConstSamples ch2, int length) noexcept;

} // namespace AutoSetpoints
