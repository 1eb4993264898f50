// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModVars.h"
#include "RunLimits.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

/// From `row` on (up to the next step), the channel holds `level`.
struct Step {
    int row;
    float level;
};

/// Column 2r - 1 holds CH1 of run r, 2r its CH2.
struct Channel {
    int column;
    std::vector<Step> steps;
};

void write(CapturedTable& table, int column, const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int last = i + 1 < steps.size() ? steps[i + 1].row - 1 : CapturedTable::Rows;
        for (int row = steps[i].row; row <= last; ++row)
            table.at(column, row) = steps[i].level;
    }
}

/// The level a capture writes for `code`.
float code(int c) {
    CodeToValue(static_cast<std::int16_t>(c));
    return CodeToValueResult;
}

constexpr std::array<bool, 8> All = {true, true, true, true, true, true, true, true};
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

} // namespace

TEST(RunLimits, OnsetsEndsAndCommonLength) {
    const float low = code(13), high = code(33), belowLevel = code(26); // 1.2, 10.1, 6.9
    // A step up at row s is first seen over five rows from row s - 5.
    const std::vector<Step> worked = {{1, low}, {105, high}, {400, belowLevel}};

    struct Case {
        const char* what;
        std::vector<Channel> channels;
        std::array<bool, 8> chosen;
        std::vector<std::array<int, 3>> limits; // run, start, end; every other run has none
        int max;
    };
    const std::vector<Case> cases = {
        // Run 1: level 7.2 from row 150, first below at 400, end 405, tail 455; run 2 ends
        // at 546 + 5 + 50 and is the longest; run 3's onset at 1950 starts its end search at
        // row 2000.
        {"worked example",
         {{1, worked}, {3, {{1, 0.0f}, {6, high}, {546, 0.0f}}}, {5, {{1, 0.0f}, {1955, high}}}},
         All,
         {{1, 100, 455}, {2, 1, 601}, {3, 1950, 2000}},
         600},
        // Run 2 never falls below its level again.
        {"only ticked runs",
         {{1, worked}, {3, {{1, 0.0f}, {6, high}}}},
         {false, true},
         {{2, 1, 2000}},
         1999},
        {"no box ticked", {{1, worked}}, {}, {}, 0},
        {"all-zero runs", {}, All, {}, 0},
        // Levels a data file may hold; no two codes are 2.0 apart. Run 2 rises 2.01 from row
        // 100, whose own value sets the level, 7.0; rows 300 to 349 hold exactly that.
        {"rise of exactly 2.0 against 2.01; a value equal to the level",
         {{1, {{1, 1.0f}, {105, 3.0f}}},
          {3, {{1, 1.0f}, {101, 1.5f}, {105, 3.01f}, {106, 10.0f}, {300, 7.0f}, {350, 6.9f}}}},
         All,
         {{2, 100, 405}},
         305},
        // Run 3 rises in CH2 only; run 6 would need row 2000 to compare.
        {"CH1 only; late onsets",
         {{6, {{1, 0.0f}, {105, high}}},
          {7, {{1, 0.0f}, {1956, high}}},
          {9, {{1, 0.0f}, {1999, high}}},
          {11, {{1, 0.0f}, {2000, high}}}},
         All,
         {{4, 1951, 2000}, {5, 1994, 2000}},
         49},
        // A NaN in a run at 3.0 reads as a dip to 0, which the rise after it then passes;
        // an infinity in a flat run is no rise.
        {"NaN and infinity count as 0",
         {{1, {{1, code(17)}, {50, NaN}, {51, code(17)}}},
          {3, {{1, low}, {30, Inf}, {31, low}}},
          {5, {{1, low}, {30, -Inf}, {31, low}}}},
         All,
         {{1, 50, 155}},
         105},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CapturedTable table;
        for (const Channel& ch : c.channels)
            write(table, ch.column, ch.steps);
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
