// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureDecoder.h"

#include "ModVars.h"

#include <algorithm>
#include <stdexcept>

namespace CaptureDecoder {

DecodeResult decode(std::span<const std::int16_t> bytes, Codes ch1, Codes ch2) noexcept {
    std::ranges::fill(ch1, 0);
    std::ranges::fill(ch2, 0);
    DecodeResult result;
    const std::size_t n = bytes.size();
    if (n < RecordSize) return result;
    // A candidate closer to the end than a whole record would need bytes that this capture
    // never received (whatever an earlier, longer capture left behind), so it is no record.
    const std::int16_t* b = bytes.data();
    for (std::size_t i = 0; i + RecordSize <= n; ++i) {
        if (b[i] != RecordMark) continue;
        if (((b[i] + b[i + 1] + b[i + 2] + b[i + 3]) & 0xFF) != b[i + 4]) continue;
        if (result.records == MaxRecords) {
            result.tooMany = true;
            return result;
        }
        ++result.records;
        ch1[result.records] = b[i + 2];
        ch2[result.records] = b[i + 3];
    }
    return result;
}

void writeRun(CapturedTable& table, int run, ConstCodes ch1, ConstCodes ch2) {
    if (run < 1 || run > CapturedTable::Columns / 2) throw std::out_of_range("run slot");
    const ConstCodes channels[] = {ch1, ch2};
    for (int ch = 1; ch <= 2; ++ch) {
        const int column = 2 * run - 2 + ch;
        for (int row = 1; row <= RunRows; ++row) {
            CodeToValue(channels[ch - 1][row]);
            table.at(column, row) = CodeToValueResult;
        }
    }
}

} // namespace CaptureDecoder
