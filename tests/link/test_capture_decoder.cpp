// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureDecoder.h"
#include "CaptureStream.h"
#include "CodeTable.h"

#include <gtest/gtest.h>

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

TEST(CaptureDecoder, RunsFillTheirColumnsAndLeaveTheRestAtZero) {
    for (int count : {2000, 1500}) {
        const Decoded d = decode(captureStream(count));
        EXPECT_EQ(d.result.records, count);
        EXPECT_EQ(d.ch1[0], 0);
        CapturedTable table;
        table.at(4, 1) = 7.0f; // another run stays as it was
        CaptureDecoder::writeRun(table, 3, d.ch1, d.ch2);
        for (int row = 1; row <= 2000; ++row) {
            const bool sampled = row <= count;
            ASSERT_EQ(table.at(5, row), sampled ? CodeTable::levelOfCode(streamCh1(row)) : 0.0f);
            ASSERT_EQ(table.at(6, row), sampled ? CodeTable::levelOfCode(streamCh2(row)) : 0.0f);
        }
        EXPECT_EQ(table.at(4, 1), 7.0f);
    }
    // Codes 0 to 10 read 0.0 and 235 to 255 read 99.0.
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch{};
    for (int c = 0; c <= 255; ++c)
        ch[c + 1] = static_cast<std::int16_t>(c);
    CapturedTable table;
    CaptureDecoder::writeRun(table, 8, ch, ch);
    for (int c : {0, 10, 235, 255})
        EXPECT_EQ(table.at(15, c + 1), c <= 10 ? 0.0f : 99.0f) << "code " << c;
    EXPECT_THROW(CaptureDecoder::writeRun(table, 9, ch, ch), std::out_of_range);
}

TEST(CaptureDecoder, EveryPositionIsTriedAsAMark) {
    // A bad checksum is skipped and the scan finds the next record a byte later.
    QByteArray bad = captureRecord(20, 30);
    bad[4] = char(bad[4] + 1);
    Decoded d = decode(captureRecord(11, 12) + bad + captureRecord(40, 50));
    EXPECT_EQ(d.result.records, 2);
    EXPECT_EQ(d.ch1[2], 40);

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
    EXPECT_FALSE(d.result.tooMany);
    EXPECT_TRUE(decode(captureStream(2501)).result.tooMany);

    // Stale bytes of an earlier capture would complete this capture's last, cut-off record.
    const QByteArray buffer = captureStream(5);
    d = decode(buffer, 4 * 5 + 3);
    EXPECT_EQ(d.result.records, 4);
    EXPECT_EQ(d.ch1[5], 0);
    EXPECT_EQ(decode(buffer, 4).result.records, 0);
    EXPECT_EQ(decode(buffer, 5).result.records, 1);
}
