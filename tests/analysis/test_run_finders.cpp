// SPDX-License-Identifier: GPL-3.0-or-later
// The two onset and end finders: the analysis window's cut (single precision, level on the
// onset value as shown) and the multi-run graph's limits (double precision).
#include "CapturedRuns.h"
#include "RunLimits.h"

#include <algorithm>
#include <limits>

static constexpr std::array<bool, 8> All = {true, true, true, true, true, true, true, true};

TEST(RunFinders, OnsetAndLastRowOfOneRun) {
    CapturedTable exactRise, displayedLevel; // levels a data file may hold
    put(exactRise, 1, {{1, 10.0f}, {50, 12.0f}});
    put(displayedLevel, 1, {{1, 4.2f}, {105, 40.2f}, {300, 10.2f}});
    CapturedTable rise201; // no two codes lie 2.0 apart; the level is 7.0, rows 300 to 349 hold it
    put(rise201, 1, {{1, 1.0f}, {101, 1.5f}, {105, 3.01f}, {106, 10.0f}, {300, 7.0f}, {350, 6.9f}});
    const struct {
        const char* what;
        CapturedTable table;
        int onset, cutLast, limitsLast; // onset 0: none
    } cases[] = {
        // A step up at row s is first seen over five rows from row s - 5.
        {"worked example", captured({{1, 1.2f}, {105, 10.1f}, {400, 6.9f}}), 100, 455, 455},
        {"dip at onset + 49 ignored, at onset + 50 found",
         captured({{1, 10.1f}, {105, 40.2f}, {149, 10.1f}, {151, 40.2f}}), 100, 205, 205},
        {"never falls back", captured({{1, 10.1f}, {105, 40.2f}}), 100, 2000, 2000},
        {"last row compared", captured({{1, 10.1f}, {1999, 40.2f}}), 1994, 2000, 2000},
        {"rise only at row 2000", captured({{1, 10.1f}, {2000, 40.2f}}), 0, 0, 0},
        {"CH2 rising, CH1 flat", captured({{1, 10.1f}}, {{1, 10.1f}, {105, 40.2f}}), 0, 0, 0},
        {"rise of exactly 2.0", exactRise, 0, 0, 0},
        {"rise of 2.01; a value equal to the level", rise201, 100, 405, 405},
        {"level on the value as shown", displayedLevel, 100, 355, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Cut cut;
        const auto l = RunCut::cutRun(c.table, 1, cut.ch1, cut.ch2);
        const RunLimits::Limits r = RunLimits::find(c.table, All);
        EXPECT_EQ(r.start[1], c.onset);
        EXPECT_EQ(r.max, c.limitsLast - c.onset);
        ASSERT_EQ(l.has_value(), c.onset != 0);
        if (!l) continue;
        EXPECT_EQ(r.end[1], c.limitsLast);
        EXPECT_EQ(std::pair(l->onset, l->onset + l->length), std::pair(c.onset, c.cutLast));
        EXPECT_EQ(cut.ch1[1], c.table.at(1, c.onset));
        EXPECT_EQ(cut.ch1[l->length + 1], c.table.at(1, c.cutLast));
    }
}

TEST(RunLimits, ChosenRunsAndTheirCommonLength) {
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float Inf = std::numeric_limits<float>::infinity();
    const std::vector<Piece> worked = {{1, 1.2f}, {105, 10.1f}, {400, 6.9f}};
    const struct {
        const char* what;
        std::vector<std::pair<int, std::vector<Piece>>> columns; // CH1 of run r in column 2r - 1
        std::array<bool, 8> chosen;
        std::vector<std::array<int, 3>> limits; // run, start, end of each run with an onset
        int max;
    } cases[] = {
        {"two runs", {{1, {{6, 10.1f}}}, {15, worked}}, All, {{1, 1, 2000}, {8, 100, 455}}, 1999},
        {"only ticked runs", {{1, {{6, 10.1f}}}, {3, worked}}, {false, true}, {{2, 100, 455}}, 355},
        {"no box ticked", {{1, worked}}, {}, {}, 0},
        {"all-zero runs", {}, All, {}, 0},
        // A NaN in a run at 3.0 reads as a dip to 0 that the next row rises from; infinities
        // in a flat run are no rise.
        {"NaN and infinity count as 0",
         {{1, {{1, 3.0f}, {50, NaN}, {51, 3.0f}}},
          {3, {{1, 1.2f}, {30, Inf}, {31, 1.2f}, {60, -Inf}, {61, 1.2f}}}},
         All,
         {{1, 50, 155}},
         105},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CapturedTable table;
        for (const auto& [column, pieces] : c.columns)
            put(table, column, pieces);
        const RunLimits::Limits got = RunLimits::find(table, c.chosen);
        std::vector<std::array<int, 3>> limits;
        for (int r = 1; r <= 8; ++r)
            if (got.start[r]) limits.push_back({r, got.start[r], got.end[r]});
        EXPECT_EQ(limits, c.limits);
        EXPECT_EQ(got.max, c.max);
    }
}

// The cut of a shorter run, or of a run with no onset, never shows an earlier run's samples.
TEST(RunCut, EveryCutStartsFromCleanArrays) {
    CapturedTable t = captured({{1, 10.1f}, {105, 40.2f}, {2000, 10.1f}}, {{1, 20.2f}});
    for (int col : {15, 16})
        put(t, col, {{1, 10.1f}, {305, 40.2f}, {400, 10.1f}});
    Cut cut; // run 1 first falls below its level at row 2000, so its end lies past the table
    ASSERT_EQ(RunCut::cutRun(t, 1, cut.ch1, cut.ch2)->end, 2005);
    const auto cleanFrom = [&](int p) {
        return std::all_of(cut.ch1.begin() + p, cut.ch1.end(), [](float v) { return v == 0; }) &&
               std::all_of(cut.ch2.begin() + p, cut.ch2.end(), [](float v) { return v == 0; });
    };
    ASSERT_EQ(RunCut::cutRun(t, 8, cut.ch1, cut.ch2)->length, 155);
    EXPECT_EQ(cut.ch2[156], 10.1f);
    EXPECT_TRUE(cut.ch1[0] == 0 && cleanFrom(157));
    EXPECT_FALSE(RunCut::cutRun(t, 3, cut.ch1, cut.ch2));
    EXPECT_TRUE(cleanFrom(0));
}
