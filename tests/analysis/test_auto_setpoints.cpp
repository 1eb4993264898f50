// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoSetpoints.h"
#include "CapturedRuns.h"

#include <optional>

using AutoSetpoints::Result;

TEST(AutoSetpoints, SpanToTimer) {
    const int spans[] = {5, 6, 11, 20, 28, 100, 720, 727}, timers[] = {0, 1, 2, 2, 4, 12, 90, 91};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(AutoSetpoints::SpanToTimer(spans[i]), timers[i]) << "span " << spans[i];
}

TEST(AutoSetpoints, ProceduresOnCapturedRuns) {
    // Every run rises at row 1, so position p is row p. A fails, as every type but C, D and F
    // does, on the empty cut left by a run with no onset.
    const CapturedTable typeA =
        captured({{2, 50.3f}, {100, 44.1f}, {120, 0.0f}}, {{10, 30.4f}, {90, 0.0f}});
    const std::optional<Result> none;
    const struct {
        const char* what;
        int type;
        CapturedTable run;
        std::optional<Result> expected;
    } cases[] = {
        // Spans of 10 (k 10..12) and 30 (k 13..60): the smallest k of the longest wins.
        {"A", 0, typeA, Result{50.3f, 2.0f, 13, 4, 10}},
        {"other types as A", 7, typeA, Result{50.3f, 2.0f, 13, 4, 10}},
        {"A without a CH2 pulse", 0, captured({{2, 50.3f}, {120, 0.0f}}), none},
        {"A, empty cut", 0, {}, none},
        {"B", 1, captured({{2, 20.2f}, {50, 40.2f}, {80, 0.0f}}), Result{20.2f, 40.2f, 50, 6, 4}},
        // 175 % puts the lower crossing at position 0: timer X from span 70, not 30.
        {"B, threshold above 65", 1, captured({{2, 3.0f}, {40, 20.2f}, {70, 90.2f}, {100, 0.0f}}),
         Result{20.2f, 90.2f, 175, 9, 4}},
        {"B, rise under 5 %", 1, captured({{2, 20.2f}, {50, 21.1f}, {80, 0.0f}}), none},
        {"B, no plateau", 1, captured({{2, 3.0f}, {80, 0.0f}}), none},
        {"B, look-ahead past position 2000", 1, captured({{2, 99.0f}, {1991, 50.3f}}), none},
        {"B, empty cut", 1, {}, none},
        {"D, span 8", 3, captured({{2, 50.3f}, {10, 0.0f}}), Result{50.3f, 0.0f, 20, 3, 1}},
        {"D, span 20", 3, captured({{2, 50.3f}, {22, 0.0f}}), Result{50.3f, 0.0f, 20, 8, 3}},
        {"D, span 40", 3, captured({{2, 50.3f}, {42, 0.0f}}), Result{50.3f, 0.0f, 20, 15, 5}},
        {"D, empty cut", 3, {}, Result{0.0f, 0.0f, 20, 0, 0}},
        // A sample a little above the rounded maximum still moves the CH2 peak on.
        {"E", 4,
         captured({{2, 50.3f}, {60, 40.2f}, {100, 0.0f}}, {{10, 30.4f}, {50, 60.1f}, {70, 0.0f}}),
         Result{50.3f, 3.0f, 10, 7, 10}},
        {"E, long CH2 window", 4,
         captured({{2, 50.3f}, {60, 10.1f}, {200, 0.0f}}, {{10, 30.4f}, {50, 60.1f}, {151, 0.0f}}),
         Result{50.3f, 3.0f, 40, 7, 92}},
        {"E, empty cut", 4, {}, none},
        {"F, empty cut", 5, {}, Result{51.0f, 0.0f, 10, 10, 90}},
    };
    for (const auto& c : cases) {
        const Cut cut(c.run);
        EXPECT_EQ(AutoSetpoints::derive(c.type, cut.ch1, cut.ch2, cut.length), c.expected)
            << c.what;
    }
}

TEST(AutoSetpoints, LimitsBeforeConversionAndWritesOneSet) {
    using V = AutoSetpoints::StoreValues;
    EXPECT_EQ(AutoSetpoints::storeValues({120.0f, -3.0f, 1, -4, 95}), (V{0, 90, 235, 0, 2}));
    EXPECT_EQ(AutoSetpoints::storeValues({50.3f, 2.0f, 175, 91, 92}), (V{90, 90, 124, 15, 65}));

    SetpointStore store;
    store.setDefaults();
    const SetpointStore before = store;
    const Cut cut(captured({{2, 50.3f}, {42, 0.0f}}));
    EXPECT_FALSE(AutoSetpoints::makeSetpoints(store, 2, 1, cut.ch1, cut.ch2, cut.length));
    EXPECT_EQ(store, before);
    ASSERT_TRUE(AutoSetpoints::makeSetpoints(store, 2, 3, cut.ch1, cut.ch2, cut.length));
    SetpointStore expected = before;
    std::tie(expected.SpTimerX[2], expected.SpTimerY[2], expected.SpCh1Peak[2],
             expected.SpCh2Peak[2], expected.SpPctThreshold[2]) = std::tuple(15, 5, 124, 0, 20);
    EXPECT_EQ(store, expected);
}
