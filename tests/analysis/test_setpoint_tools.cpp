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
    // Every run rises at row 1, so position p is row p.
    const std::optional<Result> none;
    const std::vector<Piece> fall120 = {{2, 50.3f}, {120, 0.0f}},
                             fall100 = {{2, 50.3f}, {60, 10.1f}, {100, 0.0f}};
    const std::vector<Piece> steps = {{2, 50.3f}, {750, 20.2f}, {760, 19.8f}, {780, 0.0f}};
    // B: a dip at 12 keeps the plateau from starting before 13; the rise comes back after 140.
    const std::vector<Piece> b = {{2, 20.2f},  {12, 3.0f},   {13, 20.2f},
                                  {50, 40.2f}, {140, 10.1f}, {141, 40.2f}};
    // B: a plateau within 2.5 % only; the candidate at 1990 still has ten followers.
    const std::vector<Piece> b65 = {{2, 3.0f},   {40, 20.2f},   {50, 20.7f},
                                    {51, 20.2f}, {60, 20.7f},   {61, 20.2f},
                                    {70, 90.2f}, {1990, 20.2f}, {1991, 90.2f}};
    // B, levels a data file may hold: 5.0, a plateau within 2.6 %, 36.6 at the cut-off of 40.0.
    const std::vector<Piece> flatless = {{2, 5.0f},   {20, 15.4f}, {25, 15.8f},
                                         {26, 15.4f}, {31, 36.6f}, {45, 40.0f}};
    const struct {
        const char* what;
        int type;
        CapturedTable run;
        std::optional<Result> expected;
    } cases[] = {
        // CH2 never at 0.0 but position 0 is; spans of 10 (k 10..59), 20 (k 60) and 40 (k 61).
        {"A", 0, captured(steps, {{1, 1.2f}, {10, 30.4f}, {740, 1.2f}}),
         Result{50.3f, 2.0f, 60, 2, 90}},
        // CH2 at L2 exactly, never above: i1 0, i2 21. One CH1 fall below every level: the
        // smallest k of the longest span wins.
        {"other types as A", 7, captured(fall120, {{1, 4.2f}, {21, 0.0f}}),
         Result{50.3f, 2.0f, 10, 10, 2}},
        {"A, timer Y 1", 0, captured(fall120, {{10, 30.4f}, {20, 0.0f}}), none},
        {"A, CH2 pulse of one sample", 0,
         captured(fall120, {{10, 30.4f}, {11, 0.0f}, {12, 30.4f}, {40, 0.0f}}), none},
        // CH1 stays above 90 % of its peak after CH2 falls: no k gives a span.
        {"A, no k", 0, captured({{2, 50.3f}, {120, 45.5f}}, {{10, 30.4f}, {90, 0.0f}}), none},
        {"A, timer X 1", 0, captured({{2, 50.3f}, {100, 0.0f}}, {{10, 30.4f}, {90, 0.0f}}), none},
        // The CH1 search starts where CH2 falls: the dip just before is not seen, 45.0 on it is.
        {"A, CH1 search from i2", 0,
         captured({{2, 50.3f}, {89, 0.0f}, {90, 45.0f}, {91, 50.3f}, {112, 0.0f}},
                  {{10, 30.4f}, {90, 0.0f}}),
         Result{50.3f, 2.0f, 11, 3, 10}},
        {"B", 1, captured(b), Result{20.2f, 40.2f, 50, 6, 10}},
        // 175 % puts the lower crossing at position 0: timer X from span 70, not 30.
        {"B, threshold above 65", 1, captured(b65), Result{20.2f, 90.2f, 175, 9, 10}},
        // 75.6 is within 0.5 % of the plateau, not 0.25 %; the rise is at the last position.
        {"B, step into the plateau", 1, captured({{2, 75.6f}, {3, 75.9f}, {1999, 90.2f}}),
         Result{75.9f, 90.2f, 10, 90, -250}},
        // At k 85 both sides of the threshold test are 1.0.
        {"B, dip", 1, captured({{2, 10.5f}, {20, 3.0f}, {21, 10.5f}, {30, 26.5f}, {60, 0.0f}}),
         Result{10.5f, 26.5f, 92, 4, 4}},
        {"B, no plateau", 1, captured(flatless), none},
        // Levels of a data file at the edges of the narrowest band: 19.95 is in it and is the
        // dip, which asks for threshold 11, not 10; with 20.05 the plateau still starts at 2.
        {"B, follower at the lower edge", 1,
         captured({{2, 20.0f}, {5, 19.95f}, {6, 20.0f}, {30, 23.8f}, {50, 0.0f}}),
         Result{20.0f, 23.8f, 11, 4, 2}},
        {"B, follower at the upper edge", 1,
         captured({{2, 20.0f}, {5, 20.05f}, {6, 20.0f}, {30, 23.8f}, {50, 0.0f}}),
         Result{20.0f, 23.8f, 10, 4, 2}},
        // A rise of exactly 5 % is enough; the spike keeps the plateau under the cut-off.
        {"B, rise 5 %", 1, captured({{2, 60.0f}, {8, 99.0f}, {14, 60.0f}, {40, 63.0f}, {60, 0.0f}}),
         Result{60.0f, 63.0f, 4, 1, 1}},
        // A full-scale spike before the plateau is the only rise above the upper level when the
        // rise after it is under 5 % or the threshold test holds only at k 1 or never.
        {"B, rise 4.5 %", 1, captured({{2, 20.2f}, {8, 99.0f}, {14, 20.2f}, {40, 21.1f}}), none},
        {"B, k 1 only", 1, captured({{6, 99.0f}, {12, 10.9f}, {31, 0.0f}, {32, 13.2f}}),
         Result{10.9f, 13.2f, 119, 1, 1}},
        {"B, no k", 1, captured({{6, 99.0f}, {12, 5.2f}, {31, 1.2f}, {32, 6.1f}}), none},
        // No plateau within 0.25 % before the candidate at 1999.
        {"B, look-ahead past position 2000", 1,
         captured({{2, 75.9f}, {7, 75.6f}, {8, 75.9f}, {13, 90.2f}, {1999, 50.3f}}), none},
        {"D, span 20", 3, captured({{2, 50.3f}, {22, 0.0f}}), Result{50.3f, 0.0f, 20, 8, 3}},
        {"D, peak at the last position", 3, captured({{2, 10.1f}, {1999, 50.3f}, {2000, 10.1f}}),
         Result{50.3f, 0.0f, 20, -750, -250}},
        // CH2 first above 22.9 at 10, where the running maximum starts and stays (23.0 is not
        // above the rounded 23.0); CH1 differs at 9, 10 and 11.
        {"E", 4,
         captured({{2, 50.3f}, {9, 45.5f}, {10, 40.2f}, {11, 45.0f}}, {{9, 22.9f}, {10, 23.0f}}),
         Result{50.3f, 3.0f, 10, 1, -10}},
        // A sample a little above the rounded maximum still moves the CH2 peak on, to 203.
        {"E, long CH2 window", 4,
         captured({{2, 50.3f}, {60, 10.1f}, {150, 0.0f}}, {{10, 30.4f}, {50, 60.1f}, {204, 0.0f}}),
         Result{50.3f, 3.0f, 50, 7, 144}},
        // CH1 is at its peak there, so threshold 0, written 2.
        {"E, CH2 peak at the last position", 4,
         captured({{2, 50.3f}, {800, 10.1f}, {1999, 50.3f}}, {{900, 30.4f}, {1999, 60.1f}}),
         Result{50.3f, 3.0f, 2, 90, -900}},
        // Only a peak at 0 means none.
        {"E, CH2 peak at 1", 4, captured(fall100, {{1, 30.9f}, {80, 0.0f}}),
         Result{50.3f, 3.0f, 50, 7, 20}},
        {"E, no CH2 rise after CH1 falls", 4, captured(fall100, {{1, 30.4f}, {20, 0.0f}}), none},
        {"E, CH1 never falls", 4, captured({{2, 50.3f}}, {{10, 30.4f}, {50, 0.0f}}), none},
        // An empty cut: only the fixed types give setpoints.
        {"A, empty cut", 0, {}, none},
        {"B, empty cut", 1, {}, none},
        {"C, empty cut", 2, {}, Result{51.0f, 51.0f, 10, 10, 10}},
        {"D, empty cut", 3, {}, none},
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
    EXPECT_EQ(AutoSetpoints::storeValues({-1.0f, 120.0f, 175, 91, -2}), (V{90, 0, 0, 235, 65}));

    SetpointStore store;
    store.setDefaults();
    const SetpointStore before = store;
    const Cut cut(captured({{2, 50.3f}, {42, 0.0f}}));
    EXPECT_FALSE(AutoSetpoints::makeSetpoints(store, 2, 1, cut.ch1, cut.ch2, cut.length));
    EXPECT_EQ(store, before);
    ASSERT_TRUE(AutoSetpoints::makeSetpoints(store, 4, 3, cut.ch1, cut.ch2, cut.length));
    SetpointStore expected = before;
    std::tie(expected.SpTimerX[4], expected.SpTimerY[4], expected.SpCh1Peak[4],
             expected.SpCh2Peak[4], expected.SpPctThreshold[4]) = std::tuple(15, 5, 124, 0, 20);
    EXPECT_EQ(store, expected);
    ASSERT_TRUE(AutoSetpoints::makeSetpoints(store, 1, 5, cut.ch1, cut.ch2, cut.length));
    EXPECT_EQ(store.SpTimerY[1], 90); // set A too
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
    // Rising at row 1, so position p is row p; the cut's last sample, 255, is in no scan.
    const std::vector<Piece> ch1 = {{2, 10.1f},   {100, 40.2f}, {110, 60.1f}, {111, 40.2f},
                                    {130, 60.1f}, {131, 20.2f}, {200, 0.0f}};
    const Cut cut(captured(ch1, {{50, 30.4f}, {80, 10.1f}, {200, 0.0f}, {255, 60.1f}}));
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
        {"other types as A; X from 254", 9, 0.0f, 22.9f, 3, 102, 254, 260, 50, 254},
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
