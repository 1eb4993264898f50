// SPDX-License-Identifier: GPL-3.0-or-later
#include "CapturedRuns.h"

#include <algorithm>

TEST(RunCut, OnsetEndAndLength) {
    struct Case {
        const char* what;
        CapturedTable table;
        int onset, end, length; // onset 0: none
    };
    CapturedTable exactRise, displayedLevel; // values a data file may hold
    for (int r = 1; r <= 2000; ++r) {
        exactRise.at(1, r) = r < 50 ? 10.0f : 12.0f;
        displayedLevel.at(1, r) = r < 105 ? 4.2f : (r < 300 ? 40.2f : 10.2f);
    }
    const Case cases[] = {
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
    for (const Case& c : cases) {
        Cut cut;
        const auto limits = RunCut::cutRun(c.table, 1, cut.ch1, cut.ch2);
        ASSERT_EQ(limits.has_value(), c.onset != 0) << c.what;
        if (!limits) continue;
        EXPECT_EQ(limits->onset, c.onset) << c.what;
        EXPECT_EQ(limits->end, c.end) << c.what;
        EXPECT_EQ(limits->length, c.length) << c.what;
        EXPECT_EQ(cut.ch1[1], c.table.at(1, c.onset)) << c.what;
        EXPECT_EQ(cut.ch1[c.length + 1], c.table.at(1, c.onset + c.length)) << c.what;
    }
}

TEST(RunCut, EveryCutStartsFromCleanArrays) {
    CapturedTable t = captured({{1, 10.1f}, {105, 40.2f}}, {{1, 20.2f}});
    for (int r = 1; r <= 2000; ++r) // a shorter run in slot 2
        t.at(3, r) = t.at(4, r) = r >= 305 && r < 400 ? 40.2f : 10.1f;
    Cut cut(t);
    ASSERT_EQ(cut.length, 1900);
    const auto cleanFrom = [&](int p) {
        return std::all_of(cut.ch1.begin() + p, cut.ch1.end(), [](float v) { return v == 0; }) &&
               std::all_of(cut.ch2.begin() + p, cut.ch2.end(), [](float v) { return v == 0; });
    };
    ASSERT_EQ(RunCut::cutRun(t, 2, cut.ch1, cut.ch2)->length, 155);
    EXPECT_EQ(cut.ch2[156], 10.1f);
    EXPECT_TRUE(cut.ch1[0] == 0 && cleanFrom(157));
    // A run with no onset leaves an empty cut, never the previous run.
    EXPECT_FALSE(RunCut::cutRun(t, 3, cut.ch1, cut.ch2));
    EXPECT_TRUE(cleanFrom(0));
}
