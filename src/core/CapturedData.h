// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

/// The captured runs: 2000 rows of samples (5 ms apart) by 16 columns, run r channel c
/// in column 2r - 2 + c. Columns and rows count from 1, as the grid shows them.
struct CapturedTable {
    static constexpr int Rows = 2000;
    static constexpr int Columns = 16;
    static constexpr float MinLevel = 0.0f;
    static constexpr float MaxLevel = 99.0f;

    std::array<std::array<float, Columns>, Rows> cells{};

    float& at(int column, int row) { return cells[row - 1][column - 1]; }
    float at(int column, int row) const { return cells[row - 1][column - 1]; }
    static bool contains(int column, int row) {
        return column >= 1 && column <= Columns && row >= 1 && row <= Rows;
    }
    void clear() { cells = {}; }
    bool operator==(const CapturedTable&) const = default;
};
