// SPDX-License-Identifier: GPL-3.0-or-later
#include "AdjustEdit.h"
#include "AutoSetpoints.h"
#include "CapturedRuns.h"

#include <optional>

using AutoSetpoints::Result;

TEST(AutoSetpoints, SpanToTimer) {
    const std::pair<int, int> cases[] = {{5, 0},  {6, 1},    {11, 2},   {20, 2},
                                         {28, 4}, {100, 12}, {720, 90}, {727, 91}};
    for (auto [span, timer] : cases)
        EXPECT_EQ(AutoSetpoints::SpanToTimer(span), timer) << "span " << span;
}

TEST(AutoSetpoints, ProceduresOnCapturedRuns) {
    // Every run rises at row 1, so position p is row p.
    const struct {
        const char* what;
        int type;
        CapturedTable run;
        std::optional<Result> expected;
    } cases[] = {
        // Spans of 10 (k 10..12) and 30 (k 13..60): the smallest k of the longest wins.
        {"A", 0, captured({{2, 50.3f}, {100, 44.1f}, {120, 0.0f}}, {{10, 30.4f}, {90, 0.0f}}),
         Result{50.3f, 2.0f, 13, 4, 10}},
        {"A without a CH2 pulse", 0, captured({{2, 50.3f}, {120, 0.0f}}), std::nullopt},
        {"B", 1, captured({{2, 20.2f}, {50, 40.2f}, {80, 0.0f}}), Result{20.2f, 40.2f, 50, 6, 4}},
        // 175 % puts the lower crossing at position 0: timer X from span 70, not 30.
        {"B, threshold above 65", 1, captured({{2, 3.0f}, {40, 20.2f}, {70, 90.2f}, {100, 0.0f}}),
         Result{20.2f, 90.2f, 175, 9, 4}},
        {"B, rise under 5 %", 1, captured({{2, 20.2f}, {50, 21.1f}, {80, 0.0f}}), std::nullopt},
        {"B, no plateau", 1, captured({{2, 3.0f}, {80, 0.0f}}), std::nullopt},
        {"D, span 8", 3, captured({{2, 50.3f}, {10, 0.0f}}), Result{50.3f, 0.0f, 20, 3, 1}},
        {"D, span 20", 3, captured({{2, 50.3f}, {22, 0.0f}}), Result{50.3f, 0.0f, 20, 8, 3}},
        {"D, span 40", 3, captured({{2, 50.3f}, {42, 0.0f}}), Result{50.3f, 0.0f, 20, 15, 5}},
        // A sample a little above the rounded maximum still moves the CH2 peak on.
        {"E", 4,
         captured({{2, 50.3f}, {60, 40.2f}, {100, 0.0f}}, {{10, 30.4f}, {50, 60.1f}, {70, 0.0f}}),
         Result{50.3f, 3.0f, 10, 7, 10}},
        {"E, long CH2 window", 4,
         captured({{2, 50.3f}, {60, 10.1f}, {200, 0.0f}}, {{10, 30.4f}, {50, 60.1f}, {151, 0.0f}}),
         Result{50.3f, 3.0f, 40, 7, 92}},
        {"other types as A", 7,
         captured({{2, 50.3f}, {100, 44.1f}, {120, 0.0f}}, {{10, 30.4f}, {90, 0.0f}}),
         Result{50.3f, 2.0f, 13, 4, 10}},
    };
    for (const auto& c : cases) {
        const Cut cut = cutOf(c.run);
        ASSERT_GT(cut.length, 0) << c.what;
        EXPECT_EQ(AutoSetpoints::derive(c.type, cut.ch1, cut.ch2, cut.length), c.expected)
            << c.what;
    }
}

TEST(AutoSetpoints, EmptyCutAndFixedTypes) {
    const Cut empty;
    const struct {
        int type;
        std::optional<Result> expected;
    } cases[] = {{0, std::nullopt},
                 {1, std::nullopt},
                 {2, Result{51.0f, 51.0f, 10, 10, 10}},
                 {3, Result{0.0f, 0.0f, 20, 0, 0}},
                 {4, std::nullopt},
                 {5, Result{51.0f, 0.0f, 10, 10, 90}}};
    for (const auto& c : cases)
        EXPECT_EQ(AutoSetpoints::derive(c.type, empty.ch1, empty.ch2, 0), c.expected)
            << "type " << c.type;
}

TEST(AutoSetpoints, LimitsBeforeConversionAndWritesOneSet) {
    using V = AutoSetpoints::StoreValues;
    const std::pair<Result, V> cases[] = {
        {{120.0f, -3.0f, 1, -4, 95}, V{0, 90, 235, 0, 2}},
        {{50.3f, 2.0f, 175, 91, 92}, V{90, 90, 124, CodeTable::codeOfLevel(2.0f), 65}},
    };
    for (const auto& [result, values] : cases)
        EXPECT_EQ(AutoSetpoints::storeValues(result), values);

    SetpointStore store;
    store.setDefaults();
    const SetpointStore before = store;
    const Cut cut = cutOf(captured({{2, 50.3f}, {42, 0.0f}}));
    EXPECT_FALSE(AutoSetpoints::makeSetpoints(store, 2, 1, cut.ch1, cut.ch2, cut.length));
    EXPECT_EQ(store, before);
    ASSERT_TRUE(AutoSetpoints::makeSetpoints(store, 2, 3, cut.ch1, cut.ch2, cut.length));
    SetpointStore expected = before;
    expected.SpTimerX[2] = 15;
    expected.SpTimerY[2] = 5;
    expected.SpCh1Peak[2] = 124;
    expected.SpCh2Peak[2] = 0;
    expected.SpPctThreshold[2] = 20;
    EXPECT_EQ(store, expected);
}

TEST(AdjustEdit, TypedValueToStore) {
    using namespace AdjustEdit;
    const struct {
        int col;
        double value;
        bool stored;
        SetpointStore::Array SetpointStore::*array;
        int expected;
    } cases[] = {
        {TimerX, 7, true, &SetpointStore::SpTimerX, 7},
        {TimerY, 6.5, true, &SetpointStore::SpTimerY, 6},
        {Threshold, 7.5, true, &SetpointStore::SpPctThreshold, 8},
        {PeakCh1, 12.7, true, &SetpointStore::SpCh1Peak, 39},
        {PeakCh1, 50.0, true, &SetpointStore::SpCh1Peak, 124},
        {PeakCh2, 0.0, true, &SetpointStore::SpCh2Peak, 0},
        {TimerX, 40000, false, &SetpointStore::SpTimerX, 10},
        {AdjustEdit::Run, 3, false, &SetpointStore::SpTimerX, 10},
        {AdjustEdit::Param, 3, false, &SetpointStore::SpTimerX, 10},
    };
    for (const auto& c : cases) {
        SetpointStore store;
        store.setDefaults();
        SetpointStore expected = store;
        EXPECT_EQ(storeEdit(store, 3, c.col, c.value), c.stored) << "column " << c.col;
        (expected.*c.array)[3] = static_cast<std::int16_t>(c.expected);
        EXPECT_EQ(store, expected) << "column " << c.col << " value " << c.value;
    }
    SetpointStore store;
    EXPECT_FALSE(storeEdit(store, 5, TimerX, 1));
}
