// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CaptureDecoder.h"
#include "CodeTable.h"
#include "RunCut.h"

#include <gtest/gtest.h>

#include <initializer_list>

/// From `row` on (to the next piece) a channel holds `level`; rows before the first piece 0.0.
struct Piece {
    int row;
    float level;
};

/// Run 1 as a capture writes it: each level a value of the code table, sent as its code and
/// written through the capture's conversion.
inline CapturedTable captured(std::initializer_list<Piece> ch1,
                              std::initializer_list<Piece> ch2 = {}) {
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> codes[2]{};
    int c = 0;
    for (const auto& pieces : {ch1, ch2}) {
        for (const Piece& p : pieces) {
            const auto code = CodeTable::codeOfLevel(p.level);
            EXPECT_EQ(CodeTable::levelOfCode(code), p.level) << "not a table value";
            std::fill(codes[c].begin() + p.row, codes[c].begin() + 2001, code);
        }
        ++c;
    }
    CapturedTable t;
    CaptureDecoder::writeRun(t, 1, codes[0], codes[1]);
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
