// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CodeTable.h"
#include "ModVars.h"

#include <QByteArray>

/// One record of the instrument's capture stream.
inline QByteArray captureRecord(int ch1, int ch2, int extra = 0) {
    QByteArray r(5, '\0');
    r[0] = char(0x72);
    r[1] = char(extra);
    r[2] = char(ch1);
    r[3] = char(ch2);
    r[4] = char((0x72 + extra + ch1 + ch2) & 0xFF);
    return r;
}

/// Codes of record j (from 1) in streams made by captureStream (and the file streams of the
/// end-to-end tests): never 0x72, and with a free byte of 0 no checksum is 0x72 either, so the
/// stream holds no mark but those of its records.
inline int streamCh1(int j) {
    return 11 + j % 100;
}
inline int streamCh2(int j) {
    return 120 + j % 100;
}

/// Records first to first + count - 1 of such a stream.
inline QByteArray captureStream(int count, int first = 1) {
    QByteArray s;
    s.reserve(count * 5);
    for (int j = first; j < first + count; ++j) {
        s += captureRecord(streamCh1(j), streamCh2(j));
    }
    return s;
}

/// Run `run` of the captured data holds the levels of the first `records` records of a
/// captureStream, and 0.0 in the rows after them.
inline bool runHolds(int run, int records) {
    for (int row = 1; row <= CapturedTable::Rows; ++row) {
        const bool sampled = row <= records;
        if (CapturedData.at(2 * run - 1, row) !=
                (sampled ? CodeTable::levelOfCode(streamCh1(row)) : 0.0f) ||
            CapturedData.at(2 * run, row) !=
                (sampled ? CodeTable::levelOfCode(streamCh2(row)) : 0.0f))
            return false;
    }
    return true;
}
