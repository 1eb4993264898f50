// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CaptureDecoder.h"
#include "CodeTable.h"
#include "RunCut.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>

/// From `row` on (to the next piece) a channel holds `level`; rows before the first piece 0.0.
struct Piece {
    int row;
    float level;
};
using Pieces = std::initializer_list<Piece>;

/// Run 1 as a capture writes it: each level a value of the code table, sent as its code and
/// written through the capture's conversion.
inline CapturedTable captured(Pieces ch1, Pieces ch2 = {}) {
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> codes[2]{};
    const Pieces channels[] = {ch1, ch2};
    for (int c = 0; c < 2; ++c) {
        for (auto it = channels[c].begin(); it != channels[c].end(); ++it) {
            const auto code = CodeTable::codeOfLevel(it->level);
            EXPECT_EQ(CodeTable::levelOfCode(code), it->level) << "not a table value";
            const int to = std::next(it) == channels[c].end() ? 2000 : std::next(it)->row - 1;
            for (int r = it->row; r <= to; ++r)
                codes[c][r] = code;
        }
    }
    CapturedTable t;
    CaptureDecoder::writeRun(t, 1, codes[0], codes[1]);
    return t;
}

struct Cut {
    RunCut::Samples ch1{}, ch2{};
    int length = 0;
};

/// The analysis window's cut of run 1; a run rising at row 1 puts row r at position r.
inline Cut cutOf(const CapturedTable& t) {
    Cut c;
    if (const auto l = RunCut::cutRun(t, 1, c.ch1, c.ch2)) c.length = l->length;
    return c;
}
