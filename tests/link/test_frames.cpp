// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frames.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

SetpointStore defaultStore() {
    SetpointStore store{};
    store.setDefaults();
    return store;
}

/// A record whose four sets hold distinct bytes, starting with `lead` filler bytes.
QByteArray recordAfter(const QByteArray& lead, std::uint8_t base) {
    Frames::FourSets sets{};
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 10; ++j)
            sets[k][j] = static_cast<std::uint8_t>(base + 10 * k + j);
    return lead + Frames::SetpointRecord(sets);
}

} // namespace

TEST(Frames, WorkedValues) {
    EXPECT_EQ(*Frames::WriteParameterSet(defaultStore(), 1), hex("EA0E010000053DFAFA0A000A0A4D"));
    EXPECT_EQ(*Frames::NetCloseAll(0), hex("910006000069"));
    EXPECT_EQ(*Frames::NetCloseAllReply(0), hex("910106000068"));
    EXPECT_EQ(*Frames::NetOpenChannel(12, 3), hex("9110060C034A"));
    EXPECT_EQ(*Frames::NetOpenChannelReply(12, 3), hex("9111060C0349"));
    // Five bytes summing to a multiple of 256 get the checksum 00.
    EXPECT_EQ(*Frames::NetCloseAll(105), hex("910006690000"));
    EXPECT_EQ(*Frames::NetOpenChannel(255, 8), hex("911006FF0852"));
    EXPECT_EQ(*Frames::NetCloseAll(219), hex("910006DB008E"));
}

TEST(Frames, CalibrationFrames) {
    EXPECT_EQ(Frames::IdentifyRequest(), hex("B00401B5"));
    EXPECT_EQ(Frames::ReadSetpointsRequest(), hex("00040105"));
    EXPECT_EQ(*Frames::IdentifyReply(0), hex("BF05004105"));
    EXPECT_EQ(*Frames::IdentifyReply(5), hex("BF0500460A"));
    EXPECT_EQ(*Frames::WriteAck(1), hex("FA0400FE"));
    EXPECT_EQ(*Frames::WriteAck(3), hex("FC040000"));
    EXPECT_EQ(*Frames::WriteAck(4), hex("FD040001"));

    SetpointStore store = defaultStore();
    store.SpTimerY[4] = 24;
    EXPECT_EQ(*Frames::WriteParameterSet(store, 4), hex("ED0E010000053DFAFA0A000A185E"));
    // The record carries the sets in wire order behind 01 2C 00 and sums to its last byte.
    const QByteArray record = Frames::SetpointRecord(*Frames::StoreSets(store));
    ASSERT_EQ(record.size(), 44);
    EXPECT_EQ(record.first(13), hex("012C000000053DFAFA0A000A0A"));
    EXPECT_EQ(record.mid(33, 10), hex("0000053DFAFA0A000A18"));
    EXPECT_EQ(std::uint8_t(record[43]), Frames::ByteSumChecksum(record.first(43)));
}

TEST(Frames, ValuesThatCannotBecomeBytesFail) {
    SetpointStore store = defaultStore();
    store.SpCh1Peak[2] = 256;
    store.SpTotalHi[3] = -1;
    EXPECT_TRUE(Frames::WriteParameterSet(store, 1));
    EXPECT_FALSE(Frames::WriteParameterSet(store, 2));
    EXPECT_FALSE(Frames::WriteParameterSet(store, 3));
    EXPECT_FALSE(Frames::WriteParameterSet(store, 5));
    EXPECT_FALSE(Frames::StoreSets(store));
    EXPECT_FALSE(Frames::NetCloseAll(-1)); // typed text in the address list
    EXPECT_FALSE(Frames::NetCloseAll(256));
    EXPECT_FALSE(Frames::NetOpenChannel(12, 9));
    EXPECT_FALSE(Frames::WriteAck(0));
    EXPECT_FALSE(Frames::IdentifyReply(6));
}

TEST(Frames, ReplySearchIsByteForByteAnywhere) {
    const QByteArray ack = *Frames::WriteAck(2);
    EXPECT_TRUE(Frames::ContainsReply(ack, ack));
    EXPECT_TRUE(Frames::ContainsReply(hex("00FF13") + ack + hex("11"), ack));
    EXPECT_FALSE(Frames::ContainsReply(ack.first(3), ack));
    EXPECT_FALSE(Frames::ContainsReply(*Frames::WriteAck(1), ack)); // the wrong set's ack
    EXPECT_FALSE(Frames::ContainsReply(ack, QByteArray()));
}

TEST(Frames, IdentifyScanLastLetterWins) {
    const QByteArray b = *Frames::IdentifyReply(1);
    const QByteArray e = *Frames::IdentifyReply(4);
    EXPECT_EQ(Frames::FindIdentifyReply(hex("0102") + *Frames::IdentifyReply(5)), 5);
    EXPECT_EQ(Frames::FindIdentifyReply(b + e), 4);
    EXPECT_EQ(Frames::FindIdentifyReply(e + hex("AA") + b), 4);
    EXPECT_FALSE(Frames::FindIdentifyReply(hex("BF05004107"))); // 'A' with a wrong checksum
    EXPECT_FALSE(Frames::FindIdentifyReply(hex("BF0500410")));
    EXPECT_FALSE(Frames::FindIdentifyReply(QByteArray()));
}

TEST(Frames, SetpointScanSkipsFailingCandidateAndFindsRecord) {
    // A 01 whose following 42 bytes do not sum to the 44th comes first.
    QByteArray lead = hex("AA01") + QByteArray(50, char(0x22));
    const QByteArray read = recordAfter(lead, 7);
    EXPECT_EQ(Frames::FindSetpointRecord(read), int(lead.size()));

    SetpointStore store = defaultStore();
    store.SpTotalHi[0] = 99; // element 0 belongs to no set
    ASSERT_EQ(Frames::TakeSetpointRecord(read, store), int(lead.size()));
    EXPECT_EQ(store.SpTotalHi[1], 7);
    EXPECT_EQ(store.SpTimerY[1], 16);
    EXPECT_EQ(store.SpTotalHi[4], 37);
    EXPECT_EQ(store.SpTimerY[4], 46);
    EXPECT_EQ(store.SpTotalHi[0], 99);
}

TEST(Frames, SetpointScanFirstPassingStartWins) {
    // Bytes that happen to pass the record test before a genuine record are taken for it.
    const QByteArray fake = hex("01") + QByteArray(42, char(0)) + hex("01");
    EXPECT_EQ(Frames::FindSetpointRecord(fake + recordAfter({}, 1)), 0);
}

TEST(Frames, SetpointRecordCutAtEndIsNotRecognised) {
    const QByteArray whole = recordAfter(hex("5555"), 3);
    EXPECT_EQ(Frames::FindSetpointRecord(whole), 2);
    EXPECT_FALSE(Frames::FindSetpointRecord(whole.chopped(1)));
    // A record of zeros would sum to zero: a cut one must not be completed by bytes past the read.
    QByteArray zeros = hex("01") + QByteArray(41, char(0));
    EXPECT_FALSE(Frames::FindSetpointRecord(zeros));
    EXPECT_FALSE(Frames::SetpointRecordSets(whole, 3));

    SetpointStore store = defaultStore();
    const SetpointStore before = store;
    EXPECT_FALSE(Frames::TakeSetpointRecord(whole.chopped(1), store));
    EXPECT_EQ(store, before);
}

TEST(Frames, SetpointScanTriesOnlyTheFirst1200Starts) {
    EXPECT_EQ(Frames::FindSetpointRecord(recordAfter(QByteArray(1199, char(0x55)), 1)), 1199);
    EXPECT_FALSE(Frames::FindSetpointRecord(recordAfter(QByteArray(1200, char(0x55)), 1)));
}

TEST(Frames, RandomReadsNeverCrashAndStoreChangesOnlyOnValidRecord) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 200);
    int found = 0;
    for (int round = 0; round < 5000; ++round) {
        QByteArray read;
        const int n = length(rng);
        for (int i = 0; i < n; ++i)
            read.append(char(byte(rng)));
        // Often plant a record (or the ones in front of a record) and cut the read anywhere.
        if (round % 3 == 0) read.insert(byte(rng) % (read.size() + 1), recordAfter({}, byte(rng)));
        if (round % 5 == 0) read.insert(0, QByteArray(byte(rng) % 4, char(0x01)));
        if (round % 2 == 0) read.truncate(byte(rng) % (read.size() + 1));

        SetpointStore store = defaultStore();
        const SetpointStore before = store;
        const auto start = Frames::TakeSetpointRecord(read, store);
        Frames::FindIdentifyReply(read);
        if (!start) {
            EXPECT_EQ(store, before);
            continue;
        }
        ++found;
        ASSERT_LE(*start + 44, read.size());
        EXPECT_EQ(read[*start], char(0x01));
        EXPECT_EQ(std::uint8_t(read[*start + 43]), Frames::ByteSumChecksum(read.mid(*start, 43)));
        for (int k = 1; k <= 4; ++k)
            for (int j = 0; j < 10; ++j)
                EXPECT_EQ(store.array(j)[k], std::uint8_t(read[*start + 3 + 10 * (k - 1) + j]));
    }
    EXPECT_GT(found, 500);
}
