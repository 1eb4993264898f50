// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CodeTable.h"
#include "ModVars.h"

#include <QByteArray>

/// One record of the instrument's capture stream.
inline QByteArray captureRecord(int ch1, int ch2, int extra = 0) {
    const char bytes[] = {0x72, char(extra), char(ch1), char(ch2),
                          char((0x72 + extra + ch1 + ch2) & 0xFF)};
    return QByteArray(bytes, 5);
}

/// Codes of record j (from 1) of a test stream: never 0x72, and with a free byte of 0 no
/// checksum is 0x72 either, so the stream holds no mark but those of its records.
inline int streamCh1(int j) {
    return 11 + j % 100;
}
inline int streamCh2(int j) {
    return 120 + j % 100;
}

/// Records first to first + count - 1 of such a stream.
inline QByteArray captureStream(int count, int first = 1) {
    QByteArray s;
    for (int j = first; j < first + count; ++j)
        s += captureRecord(streamCh1(j), streamCh2(j));
    return s;
}

/// Run `run` of the captured data holds the levels of the first `records` records of such a
/// stream, and 0.0 in the rows after them.
inline bool runHolds(int run, int records) {
    for (int row = 1; row <= CapturedTable::Rows; ++row) {
        const auto level = [&](int code) {
            return row <= records ? CodeTable::levelOfCode(code) : 0.0f;
        };
        if (CapturedData.at(2 * run - 1, row) != level(streamCh1(row)) ||
            CapturedData.at(2 * run, row) != level(streamCh2(row)))
            return false;
    }
    return true;
}
