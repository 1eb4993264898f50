// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DataFile.h"

#include <cstring>

/// Two data sets hold the same values, levels compared bit for bit.
inline bool sameBits(const DataFile::Snapshot& a, const DataFile::Snapshot& b) {
    return a.instrumentType == b.instrumentType && a.setpoints == b.setpoints &&
           std::memcmp(&a.table, &b.table, sizeof a.table) == 0;
}
