// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureDecoder.h"
#include "CaptureStream.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct Decoded {
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch1, ch2;
    CaptureDecoder::DecodeResult result;
};

/// Decodes the first `count` bytes of `stream` (all when -1) into codes that start at -1.
Decoded decode(const QByteArray& stream, qsizetype count = -1) {
    std::vector<std::int16_t> bytes(stream.begin(), stream.end());
    for (auto& b : bytes)
        b &= 0xFF;
    Decoded d;
    d.ch1.fill(-1);
    d.ch2.fill(-1);
    d.result = CaptureDecoder::decode(std::span(bytes).first(count < 0 ? bytes.size() : count),
                                      d.ch1, d.ch2);
    return d;
}

} // namespace

TEST(CaptureDecoder, EveryPositionIsTriedAsAMark) {
    // A bad checksum is skipped and the scan finds the next record a byte later.
    QByteArray bad = captureRecord(20, 30);
    bad[4] = char(bad[4] + 1);
    Decoded d = decode(captureRecord(11, 12) + bad + captureRecord(40, 50));
    EXPECT_EQ(d.result.records, 2);
    EXPECT_EQ(d.ch1[0], 0);
    EXPECT_EQ(d.ch1[2], 40);
    EXPECT_EQ(d.ch2[3], 0);

    // A CH1 of 0x72 is a mark too: here the four bytes from it sum to the fifth (the next
    // record's free byte), so it makes a record of its own between the two...
    const QByteArray first = captureRecord(0x72, 33);
    const int inner = (0x72 + 33 + std::uint8_t(first[4]) + 0x72) & 0xFF;
    d = decode(first + captureRecord(60, 70, inner));
    ASSERT_EQ(d.result.records, 3);
    EXPECT_EQ(d.ch1[1], 0x72);
    EXPECT_EQ(d.ch1[2], std::uint8_t(first[4]));
    EXPECT_EQ(d.ch1[3], 60);
    // ...and when they do not, it is only a code.
    EXPECT_EQ(decode(first + captureRecord(60, 70, inner + 1)).result.records, 2);
}

TEST(CaptureDecoder, KeepsToTheLimitsOfOneCapture) {
    Decoded d = decode(captureStream(2500));
    EXPECT_EQ(d.result.records, 2500);
    EXPECT_EQ(d.ch2[2500], streamCh2(2500));
    EXPECT_FALSE(d.result.tooMany);
    EXPECT_TRUE(decode(captureStream(2501)).result.tooMany);
    // Nothing past the count is read: stale bytes would complete a cut-off last record.
    EXPECT_EQ(decode(captureStream(5), 4 * 5 + 3).result.records, 4);
    EXPECT_EQ(decode(captureStream(1), 4).result.records, 0);
    EXPECT_EQ(decode(captureStream(1)).result.records, 1);

    // Records 1 to 2000 become rows 1 to 2000 of the slot's two columns, as levels.
    d.ch1.fill(0);
    d.ch2.fill(0);
    d.ch1[1] = 11;
    std::tie(d.ch1[2000], d.ch2[2000], d.ch1[2001]) = std::tuple(234, 235, 100);
    CapturedTable table;
    CaptureDecoder::writeRun(table, 8, d.ch1, d.ch2);
    EXPECT_EQ(std::tuple(table.at(15, 1), table.at(15, 2000), table.at(16, 2000)),
              std::tuple(0.3f, 98.9f, 99.0f));
}
