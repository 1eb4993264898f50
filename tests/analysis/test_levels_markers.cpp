// SPDX-License-Identifier: GPL-3.0-or-later
#include "CapturedRuns.h"
#include "ThresholdLevels.h"
#include "TimerMarkers.h"

#include <cmath>
#include <optional>

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
