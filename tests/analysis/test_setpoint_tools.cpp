// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoSetpoints.h"
#include "CapturedRuns.h"
#include "ThresholdLevels.h"
#include "TimerMarkers.h"

#include <cmath>
#include <optional>

using AutoSetpoints::Result;

TEST(AutoSetpoints, SpanToTimer) {
    for (auto [span, timer] :
         {std::pair{5, 0}, {6, 1}, {11, 2}, {20, 2}, {28, 4}, {100, 12}, {720, 90}, {727, 91}})
        EXPECT_EQ(AutoSetpoints::SpanToTimer(span), timer) << span;
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

TEST(ThresholdLevels, ByInstrumentType) {
    // CH1 Peak 50.0, CH2 Peak 20.0, Percent Threshold 10, for every type.
    const struct {
        int type;
        float first, second;
    } cases[] = {{0, 45.0f, 22.2f},   {1, 45.0f, 55.0f}, {2, 45.0f, 18.0f}, {3, 45.0f, 0.0f},
                 {4, 45.0f, 39.902f}, {5, 51.2f, 51.2f}, {9, 45.0f, 22.2f}};
    const float pct = ThresholdLevels::pctFraction(10);
    for (const auto& c : cases) {
        const auto l = ThresholdLevels::levels(c.type, 50.0f, 20.0f, pct);
        EXPECT_EQ(std::pair(l.countWindow1, l.countWindow2), std::pair(c.first, c.second))
            << c.type;
    }
    // Type E adds 19.902 as a single, which a CH2 Peak of 1.2 shows.
    EXPECT_EQ(ThresholdLevels::levels(4, 50.0f, 1.2f, pct).countWindow2, 21.1020012f);
}

TEST(TimerMarkers, PositionsByType) {
    // Rising at row 1, so position p is row p.
    const std::vector<Piece> ch1 = {{2, 10.1f},   {100, 40.2f}, {110, 60.1f}, {111, 40.2f},
                                    {130, 60.1f}, {131, 20.2f}, {200, 0.0f}};
    const Cut cut(captured(ch1, {{50, 30.4f}, {80, 10.1f}, {200, 0.0f}}));
    ASSERT_EQ(cut.length, 254);
    constexpr int NF = 2500;
    const std::optional<double> none;
    const struct {
        const char* what;
        int type;
        float l1, l2;
        std::optional<double> timerX, timerY;
        int x1, x2, y1, y2;
    } cases[] = {
        {"B: >= at 100, Y scan from 120", 1, 40.2f, 60.1f, 10, 5, 100, 120, 130, 140},
        {"B: no X crossing, Y scan from 2 tX", 1, 70.0f, 60.1f, 10, 5, NF, NF, 110, 120},
        {"B: unreadable Timer X", 1, 40.2f, 60.1f, none, 5, 100, 0, 110, 120},
        {"D: X and Y open together", 3, 40.2f, 0.0f, 10, 5, 100, 120, 100, 110},
        {"E: <= from X2", 4, 40.2f, 0.0f, 5, 5, 100, 110, 111, 121},
        {"A", 0, 0.0f, 22.9f, 3, 4, 80, 86, 50, 58},
        {"other types as A", 9, 0.0f, 22.9f, 3, 4, 80, 86, 50, 58},
        {"A: no Y crossing, X from 2 tY", 0, 0.0f, 50.0f, 3, 4, 8, 14, NF, NF},
        {"A: crossing at position 0", 0, 0.0f, 50.0f, 3, 0, NF, NF, NF, NF},
        {"C", 2, 40.2f, 22.9f, 10, 10, NF, NF, NF, NF},
        {"F", 5, 40.2f, 22.9f, 10, 10, NF, NF, NF, NF},
    };
    for (const auto& c : cases) {
        const auto m = TimerMarkers::markers(c.type, cut.ch1, cut.ch2, cut.length, c.l1, c.l2,
                                             c.timerX, c.timerY);
        const auto at = [](float x) { return int(std::lround(x / 0.005f)); };
        EXPECT_EQ((std::array{at(m.x1), at(m.x2), at(m.y1), at(m.y2)}),
                  (std::array{c.x1, c.x2, c.y1, c.y2}))
            << c.what;
    }
}
