// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CapturedData.h"

#include <cstdint>
#include <span>

/// The instrument's capture stream: five-byte records (0x72, a free byte, the CH1 code, the
/// CH2 code, the sum of the four before it modulo 256), one every 5 ms, unasked.
namespace CaptureDecoder {

inline constexpr int RecordMark = 0x72;
inline constexpr int RecordSize = 5;
/// The capture port's receive buffer: the most bytes one capture can hold.
inline constexpr int MaxBytes = 15000;
/// Records one capture may hold; one more is a failure.
inline constexpr int MaxRecords = 2500;
/// Samples of one run kept in the captured data (10 s at 5 ms).
inline constexpr int RunRows = CapturedTable::Rows;

/// Codes of one channel: record j at index j (1 to MaxRecords); index 0 holds nothing.
using Codes = std::span<std::int16_t, MaxRecords + 1>;
using ConstCodes = std::span<const std::int16_t, MaxRecords + 1>;

struct DecodeResult {
    int records = 0;      ///< records decoded into the code arrays
    bool tooMany = false; ///< the stream held more than MaxRecords; the decode stopped there
};

/// Puts every channel code to 0, then scans every position of `bytes` (each 0 to 255) for a
/// record and stores its codes, record j at index j. After a hit the scan goes on at the next
/// byte, so a 0x72 inside a record is tried as a mark too. A record must lie wholly within
/// `bytes`: nothing past the end is ever read.
DecodeResult decode(std::span<const std::int16_t> bytes, Codes ch1, Codes ch2) noexcept;

/// Writes rows 1 to 2000 of run `run` (1 to 8): CH1 levels from ch1[1..2000] into column
/// 2 run - 1, CH2 levels into column 2 run, each through CodeToValue. Codes past 2000 are not
/// written. Throws std::out_of_range for a run outside 1 to 8.
void writeRun(CapturedTable& table, int run, ConstCodes ch1, ConstCodes ch2);

} // namespace CaptureDecoder
