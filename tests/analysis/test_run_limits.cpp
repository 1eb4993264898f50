// SPDX-License-Identifier: GPL-3.0-or-later
#include "CapturedRuns.h"
#include "RunLimits.h"

#include <limits>

TEST(RunLimits, OnsetsEndsAndCommonLength) {
    constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float Inf = std::numeric_limits<float>::infinity();
    constexpr std::array<bool, 8> All = {true, true, true, true, true, true, true, true};
    // Onset 100 (a step at row s is first seen from row s - 5), level 7.2, first below at 400.
    const std::vector<Piece> worked = {{1, 1.2f}, {105, 10.1f}, {400, 6.9f}};
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::vector<Piece>>> columns; // CH1 of run r in column 2r - 1
        std::array<bool, 8> chosen;
        std::vector<std::array<int, 3>> limits; // run, start, end; every other run has none
        int max;
    } cases[] = {
        // Run 3's onset at 1950 starts its end search at row 2000.
        {"worked example; onset 1950",
         {{1, worked}, {3, {{6, 10.1f}, {546, 0.0f}}}, {5, {{1955, 10.1f}}}},
         All,
         {{1, 100, 455}, {2, 1, 601}, {3, 1950, 2000}},
         600},
        {"only ticked runs", {{1, worked}, {3, {{6, 10.1f}}}}, {false, true}, {{2, 1, 2000}}, 1999},
        {"no box ticked", {{1, worked}}, {}, {}, 0},
        {"all-zero runs", {}, All, {}, 0},
        // No two codes lie 2.0 apart, so these are levels a data file may hold. Run 2 rises 2.01
        // from row 100, level 7.0; rows 300 to 349 hold exactly that.
        {"rise of exactly 2.0 against 2.01; a value equal to the level",
         {{1, {{1, 1.0f}, {105, 3.0f}}},
          {3, {{1, 1.0f}, {101, 1.5f}, {105, 3.01f}, {106, 10.0f}, {300, 7.0f}, {350, 6.9f}}}},
         All,
         {{2, 100, 405}},
         305},
        // Run 3 rises in CH2 only; run 6 would need row 2000 to compare.
        {"CH1 only; onsets 1951, 1994, none",
         {{6, {{105, 10.1f}}}, {7, {{1956, 10.1f}}}, {9, {{1999, 10.1f}}}, {11, {{2000, 10.1f}}}},
         All,
         {{4, 1951, 2000}, {5, 1994, 2000}},
         49},
        // A NaN in a run at 3.0 reads as a dip to 0 that the next row rises from; an infinity
        // in a flat run is no rise.
        {"NaN and infinity count as 0",
         {{1, {{1, 3.0f}, {50, NaN}, {51, 3.0f}}},
          {3, {{1, 1.2f}, {30, Inf}, {31, 1.2f}}},
          {5, {{1, 1.2f}, {30, -Inf}, {31, 1.2f}}}},
         All,
         {{1, 50, 155}},
         105},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CapturedTable table;
        for (const auto& [column, pieces] : c.columns)
            put(table, column, pieces);
        const RunLimits::Limits got = RunLimits::find(table, c.chosen);
        std::array<std::int16_t, 9> start{}, end{};
        for (const auto& [run, s, e] : c.limits) {
            start[run] = std::int16_t(s);
            end[run] = std::int16_t(e);
        }
        EXPECT_EQ(got.start, start);
        EXPECT_EQ(got.end, end);
        EXPECT_EQ(got.max, c.max);
    }
}
