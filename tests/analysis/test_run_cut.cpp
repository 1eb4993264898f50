// SPDX-License-Identifier: GPL-3.0-or-later
#include "CapturedRuns.h"

#include <algorithm>

TEST(RunCut, OnsetEndAndLength) {
    CapturedTable exactRise, displayedLevel; // levels a data file may hold
    put(exactRise, 1, {{1, 10.0f}, {50, 12.0f}});
    put(displayedLevel, 1, {{1, 4.2f}, {105, 40.2f}, {300, 10.2f}});
    const struct {
        const char* what;
        CapturedTable table;
        int onset, end, length; // onset 0: none
    } cases[] = {
        {"onset 10", captured({{1, 10.1f}, {15, 40.2f}, {300, 10.1f}}), 10, 305, 345},
        {"dip before onset + 50 ignored",
         captured({{1, 10.1f}, {105, 40.2f}, {130, 10.1f}, {131, 40.2f}, {300, 10.1f}}), 100, 305,
         255},
        {"never falls back", captured({{1, 10.1f}, {105, 40.2f}}), 100, 2000, 1900},
        {"end search range empty", captured({{1, 10.1f}, {1965, 40.2f}}), 1960, 2000, 40},
        {"last candidate row", captured({{1, 10.1f}, {1999, 40.2f}}), 1994, 2000, 6},
        {"rise only at row 2000", captured({{1, 10.1f}, {2000, 40.2f}}), 0, 0, 0},
        {"rise of exactly 2.0", exactRise, 0, 0, 0},
        {"level on the value as shown", displayedLevel, 100, 305, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Cut cut;
        const auto limits = RunCut::cutRun(c.table, 1, cut.ch1, cut.ch2);
        ASSERT_EQ(limits.has_value(), c.onset != 0);
        if (!limits) continue;
        EXPECT_EQ(std::tuple(limits->onset, limits->end, limits->length),
                  std::tuple(c.onset, c.end, c.length));
        EXPECT_EQ(cut.ch1[1], c.table.at(1, c.onset));
        EXPECT_EQ(cut.ch1[c.length + 1], c.table.at(1, c.onset + c.length));
    }
}

// The cut of a shorter run, or of a run with no onset, never shows an earlier run's samples.
TEST(RunCut, EveryCutStartsFromCleanArrays) {
    CapturedTable t = captured({{1, 10.1f}, {105, 40.2f}}, {{1, 20.2f}});
    for (int col : {3, 4})
        put(t, col, {{1, 10.1f}, {305, 40.2f}, {400, 10.1f}});
    Cut cut(t);
    ASSERT_EQ(cut.length, 1900);
    const auto cleanFrom = [&](int p) {
        return std::all_of(cut.ch1.begin() + p, cut.ch1.end(), [](float v) { return v == 0; }) &&
               std::all_of(cut.ch2.begin() + p, cut.ch2.end(), [](float v) { return v == 0; });
    };
    ASSERT_EQ(RunCut::cutRun(t, 2, cut.ch1, cut.ch2)->length, 155);
    EXPECT_EQ(cut.ch2[156], 10.1f);
    EXPECT_TRUE(cut.ch1[0] == 0 && cleanFrom(157));
    EXPECT_FALSE(RunCut::cutRun(t, 3, cut.ch1, cut.ch2));
    EXPECT_TRUE(cleanFrom(0));
}
