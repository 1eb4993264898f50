// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frames.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

SetpointStore defaultStore() {
    SetpointStore store{};
    store.setDefaults();
    return store;
}

/// A record whose four sets hold distinct bytes from `base` on, after `lead`.
QByteArray recordAfter(const QByteArray& lead, std::uint8_t base) {
    Frames::FourSets sets{};
    for (int i = 0; i < 40; ++i)
        sets[i / 10][i % 10] = static_cast<std::uint8_t>(base + i);
    return lead + Frames::SetpointRecord(sets);
}

} // namespace

TEST(Frames, WorkedValues) {
    EXPECT_EQ(*Frames::NetCloseAll(0), hex("910006000069"));
    EXPECT_EQ(*Frames::NetCloseAllReply(0), hex("910106000068"));
    EXPECT_EQ(*Frames::NetOpenChannel(12, 3), hex("9110060C034A"));
    EXPECT_EQ(*Frames::NetOpenChannelReply(12, 3), hex("9111060C0349"));
    // Five bytes summing to a multiple of 256 get the checksum 00.
    EXPECT_EQ(*Frames::NetCloseAll(105), hex("910006690000"));
    EXPECT_EQ(*Frames::NetOpenChannel(255, 8), hex("911006FF0852"));
    EXPECT_EQ(*Frames::NetCloseAll(219), hex("910006DB008E"));
    EXPECT_EQ(Frames::IdentifyRequest(), hex("B00401B5"));
    EXPECT_EQ(Frames::ReadSetpointsRequest(), hex("00040105"));
    EXPECT_EQ(*Frames::IdentifyReply(0), hex("BF05004105"));
    EXPECT_EQ(*Frames::IdentifyReply(5), hex("BF0500460A"));
    EXPECT_EQ(*Frames::WriteAck(1), hex("FA0400FE"));
    EXPECT_EQ(*Frames::WriteAck(3), hex("FC040000"));

    SetpointStore store = defaultStore();
    EXPECT_EQ(*Frames::WriteParameterSet(store, 1), hex("EA0E010000053DFAFA0A000A0A4D"));
    store.SpTimerY[4] = 24;
    EXPECT_EQ(*Frames::WriteParameterSet(store, 4), hex("ED0E010000053DFAFA0A000A185E"));
    // The record carries the sets in wire order behind 01 2C 00 and sums to its last byte.
    const QByteArray record = Frames::SetpointRecord(*Frames::StoreSets(store));
    ASSERT_EQ(record.size(), 44);
    EXPECT_EQ(record.first(13), hex("012C000000053DFAFA0A000A0A"));
    EXPECT_EQ(record.mid(33, 10), hex("0000053DFAFA0A000A18"));
    EXPECT_EQ(std::uint8_t(record[43]), Frames::ByteSumChecksum(record.first(43)));
}

// The upload window tests meet a failing candidate and a record cut by the read's end.
TEST(Frames, SetpointScanLimits) {
    // Bytes that happen to pass the record test before a genuine record are taken for it.
    const QByteArray fake = hex("01") + QByteArray(42, char(0)) + hex("01");
    EXPECT_EQ(Frames::FindSetpointRecord(fake + recordAfter({}, 1)), 0);
    // Only the first 1200 starts are tried.
    EXPECT_EQ(Frames::FindSetpointRecord(recordAfter(QByteArray(1199, char(0x55)), 1)), 1199);
    EXPECT_FALSE(Frames::FindSetpointRecord(recordAfter(QByteArray(1200, char(0x55)), 1)));
    // A record of zeros would sum to zero: a cut one must not be completed by bytes past the read.
    EXPECT_FALSE(Frames::FindSetpointRecord(hex("01") + QByteArray(41, char(0))));
    const QByteArray whole = recordAfter(hex("5555"), 3);
    EXPECT_FALSE(Frames::SetpointRecordSets(whole, 3));
    SetpointStore store = defaultStore();
    EXPECT_FALSE(Frames::TakeSetpointRecord(whole.chopped(1), store));
    EXPECT_EQ(store, defaultStore());
}
