// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeTable.h"
#include "ModVars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

TEST(CodeTable, ValueToCodeComparesInSinglePrecision) {
    // The double 12.7 lies above the table's single 12.7: only a single comparison gives 39.
    const std::pair<float, int> cases[] = {
        {0.0f, 0},         {-5.0f, 0},   {0.01f, 11},
        {0.3f, 11},        {0.31f, 12},  {12.69f, 39},
        {12.7f, 39},       {12.71f, 40}, {73.0f, 176},
        {73.3f, 176},      {98.9f, 234}, {98.95f, 235},
        {99.0f, 235},      {99.01f, 69}, {std::numeric_limits<float>::infinity(), 69},
        {std::nanf(""), 0}};
    for (auto [level, code] : cases) {
        ValueToCode(level);
        EXPECT_EQ(ValueToCodeResult, code) << "level " << level;
    }
}

TEST(CodeTable, CodesReadAsTheirLevelsAndEveryCodeRoundTrips) {
    const std::pair<int, float> levels[] = {{-1, 0.0f},   {256, 0.0f},  {11, 0.3f},  {39, 12.7f},
                                            {176, 73.3f}, {234, 98.9f}, {255, 99.0f}};
    for (auto [code, level] : levels) {
        CodeToValue(static_cast<std::int16_t>(code));
        EXPECT_EQ(CodeToValueResult, level) << "code " << code;
    }
    for (int c = 0; c <= 255; ++c) {
        EXPECT_EQ(CodeTable::codeOfLevel(CodeTable::levelOfCode(c)), c <= 10 ? 0 : std::min(c, 235))
            << "code " << c;
        EXPECT_TRUE(c < 12 || c > 234 || CodeTable::levelOfCode(c - 1) < CodeTable::levelOfCode(c))
            << "code " << c;
    }
}
