// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunCut.h"

#include <gtest/gtest.h>

#include <vector>

/// From `row` on (to the next piece) a column holds `level`; rows before the first piece 0.0.
struct Piece {
    int row;
    float level;
};

inline void put(CapturedTable& t, int column, const std::vector<Piece>& pieces) {
    for (const Piece& p : pieces)
        for (int r = p.row; r <= CapturedTable::Rows; ++r)
            t.at(column, r) = p.level;
}

/// Run 1 as a capture writes it (every level that of a code of the table) or a data file.
inline CapturedTable captured(const std::vector<Piece>& ch1, const std::vector<Piece>& ch2 = {}) {
    CapturedTable t;
    put(t, 1, ch1);
    put(t, 2, ch2);
    return t;
}

/// The analysis window's cut of run 1: a run rising at row 1 puts row r at position r.
struct Cut {
    RunCut::Samples ch1{}, ch2{};
    int length = 0;
    explicit Cut(const CapturedTable& t = {}) {
        if (const auto l = RunCut::cutRun(t, 1, ch1, ch2)) length = l->length;
    }
};
