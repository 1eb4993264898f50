// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frames.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
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
    SetpointStore store{};
    store.setDefaults();
    const SetpointStore defaults = store;
    store.SpTimerY[4] = 24;
    // Five bytes summing to a multiple of 256 (address 105) get the checksum 00.
    const std::pair<QByteArray, const char*> frames[] = {
        {*Frames::NetCloseAll(0), "910006000069"},
        {*Frames::NetCloseAllReply(0), "910106000068"},
        {*Frames::NetOpenChannel(12, 3), "9110060C034A"},
        {*Frames::NetOpenChannelReply(12, 3), "9111060C0349"},
        {*Frames::NetCloseAll(105), "910006690000"},
        {*Frames::NetOpenChannel(255, 8), "911006FF0852"},
        {*Frames::NetOpenChannel(12, 1), "9110060C014C"},
        {*Frames::NetCloseAll(219), "910006DB008E"},
        {Frames::IdentifyRequest(), "B00401B5"},
        {Frames::ReadSetpointsRequest(), "00040105"},
        {*Frames::IdentifyReply(0), "BF05004105"},
        {*Frames::IdentifyReply(5), "BF0500460A"},
        {*Frames::WriteAck(1), "FA0400FE"},
        {*Frames::WriteAck(3), "FC040000"},
        {*Frames::WriteParameterSet(defaults, 1), "EA0E010000053DFAFA0A000A0A4D"},
        {*Frames::WriteParameterSet(store, 4), "ED0E010000053DFAFA0A000A185E"},
        // The record carries the sets in wire order behind 01 2C 00 and sums to its last byte.
        {Frames::SetpointRecord(*Frames::StoreSets(store)),
         "012C00 0000053DFAFA0A000A0A 0000053DFAFA0A000A0A 0000053DFAFA0A000A0A"
         "0000053DFAFA0A000A18 8B"},
    };
    for (const auto& [frame, bytes] : frames)
        EXPECT_EQ(frame.toHex(' '), hex(bytes).toHex(' '));

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
    const SetpointStore before = store;
    EXPECT_FALSE(Frames::TakeSetpointRecord(whole.chopped(1), store));
    EXPECT_EQ(store, before);
    // A whole one gives all four sets, A first; an identify reply gives its type, A as well.
    EXPECT_EQ(Frames::TakeSetpointRecord(whole, store), 2);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(store.array(i % 10)[i / 10 + 1], 3 + i) << i;
    for (int type : {0, 5})
        EXPECT_EQ(Frames::FindIdentifyReply(hex("55") + *Frames::IdentifyReply(type)), type);
}
