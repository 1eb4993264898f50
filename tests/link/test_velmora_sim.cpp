// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProtocol.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

Sim::Behaviour instrument(int type = 2) {
    Sim::Behaviour b;
    b.type = type;
    b.sets = Sim::defaultSets();
    return b;
}

QByteArray joined(const Sim::Response& r) {
    QByteArray all;
    for (const QByteArray& w : r.writes)
        all += w;
    return all;
}

Frames::ParameterBytes setOf(std::initializer_list<int> values) {
    Frames::ParameterBytes set{};
    int i = 0;
    for (int v : values)
        set[i++] = static_cast<std::uint8_t>(v);
    return set;
}

} // namespace

TEST(VelmoraSim, AnswersCalibrationFramesAndKeepsWrittenSets) {
    Sim::Responder sim(instrument(2));
    EXPECT_EQ(joined(sim.receive(Frames::IdentifyRequest())), *Frames::IdentifyReply(2));

    const QByteArray record = joined(sim.receive(Frames::ReadSetpointsRequest()));
    ASSERT_EQ(Frames::FindSetpointRecord(record), 0);
    EXPECT_EQ(*Frames::SetpointRecordSets(record, 0), Sim::defaultSets());

    const auto setB = setOf({1, 2, 5, 62, 200, 190, 12, 1, 30, 40});
    const Sim::Response r = sim.receive(*Frames::WriteParameterSet(2, setB));
    EXPECT_EQ(joined(r), *Frames::WriteAck(2));
    EXPECT_EQ(r.log.join('|').toStdString(),
              "WriteParameterSet(B) EB 0E 01 01 02 05 3E C8 BE 0C 01 1E 28 19");
    EXPECT_EQ(sim.sets()[1], setB);
    // An upload after the download reads back what was written.
    const QByteArray again = joined(sim.receive(Frames::ReadSetpointsRequest()));
    EXPECT_EQ((*Frames::SetpointRecordSets(again, 0))[1], setB);
}

TEST(VelmoraSim, FindsFramesSplitAcrossReadsAndAmidGarbage) {
    Sim::Responder sim(instrument(0));
    // Garbage that starts like frames (91 00, 00 04, EA 0E) must not swallow the real ones.
    const QByteArray stream = hex("9100AA0004FFEA0E02") + Frames::IdentifyRequest() + hex("13") +
                              *Frames::NetCloseAll(7) + Frames::ReadSetpointsRequest() + hex("00");
    QByteArray out;
    QStringList log;
    for (char c : stream) {
        const Sim::Response r = sim.receive(QByteArrayView(&c, 1));
        out += joined(r);
        log += r.log;
    }
    EXPECT_EQ(sim.framesReceived(), 3);
    EXPECT_EQ(out.left(5), *Frames::IdentifyReply(0));
    EXPECT_EQ(out.size(), 5 + 44); // no board at address 7
    EXPECT_TRUE(log.contains("NetCloseAll(7) 91 00 06 07 00 62"));
    EXPECT_TRUE(log.filter("Skipped").size() >= 2);

    // A corrupt frame is skipped, the good copy behind it answered.
    QByteArray corrupt = Frames::IdentifyRequest();
    corrupt[3] = char(0xB6);
    EXPECT_EQ(joined(sim.receive(corrupt + Frames::IdentifyRequest())), *Frames::IdentifyReply(0));
}

TEST(VelmoraSim, BoardsAnswerOnlyTheirAddressAndTrackTheOpenChannel) {
    Sim::Behaviour b = instrument();
    b.boards = {12, 255};
    Sim::Responder sim(b);
    EXPECT_EQ(joined(sim.receive(*Frames::NetCloseAll(12))), *Frames::NetCloseAllReply(12));
    EXPECT_TRUE(joined(sim.receive(*Frames::NetCloseAll(13))).isEmpty());
    const Sim::Response open = sim.receive(*Frames::NetOpenChannel(12, 3));
    EXPECT_EQ(joined(open), *Frames::NetOpenChannelReply(12, 3));
    EXPECT_TRUE(open.log.contains("Board(12) channel 3 open"));
    EXPECT_EQ(sim.channels().at(12), 3);
    EXPECT_EQ(joined(sim.receive(*Frames::NetOpenChannel(255, 8))), hex("911106FF0851"));
    // Channel 9 is no channel of a board.
    QByteArray nine = hex("911006FF09");
    nine.append(char(Frames::ZeroSumChecksum(nine)));
    EXPECT_TRUE(joined(sim.receive(nine)).isEmpty());
    EXPECT_EQ(sim.channels().at(255), 8);
    sim.receive(*Frames::NetCloseAll(12));
    EXPECT_EQ(sim.channels().at(12), 0);
}

TEST(VelmoraSim, Misbehaviours) {
    Sim::Behaviour silent = instrument();
    silent.silent = true;
    silent.boards = {1};
    Sim::Responder quiet(silent);
    const Sim::Response r = quiet.receive(Frames::IdentifyRequest() + *Frames::NetCloseAll(1));
    EXPECT_TRUE(r.writes.isEmpty());
    EXPECT_EQ(r.log.size(), 3); // both frames and the board's event are still logged

    Sim::Behaviour bad = instrument(5);
    bad.badChecksums = 1;
    Sim::Responder once(bad);
    EXPECT_FALSE(Frames::FindIdentifyReply(joined(once.receive(Frames::IdentifyRequest()))));
    EXPECT_EQ(Frames::FindIdentifyReply(joined(once.receive(Frames::IdentifyRequest()))), 5);

    Sim::Behaviour noisy = instrument(3);
    noisy.garbage = 4;
    noisy.splitBytes = 3;
    Sim::Responder split(noisy);
    const Sim::Response pieces = split.receive(Frames::IdentifyRequest());
    ASSERT_EQ(pieces.writes.size(), 5); // 4 + 5 + 4 bytes in pieces of 3
    EXPECT_EQ(joined(pieces).size(), 13);
    EXPECT_EQ(Frames::FindIdentifyReply(joined(pieces)), 3);

    Sim::Behaviour onlyA = instrument();
    onlyA.ack = {true, false, false, false};
    Sim::Responder picky(onlyA);
    const auto set = setOf({0, 0, 5, 61, 100, 100, 10, 0, 10, 10});
    EXPECT_EQ(joined(picky.receive(*Frames::WriteParameterSet(1, set))), *Frames::WriteAck(1));
    EXPECT_TRUE(joined(picky.receive(*Frames::WriteParameterSet(2, set))).isEmpty());
    EXPECT_EQ(picky.sets()[1], set); // taken, only not acknowledged

    Sim::Behaviour leaving = instrument();
    leaving.exitAfter = 2;
    Sim::Responder gone(leaving);
    EXPECT_FALSE(gone.receive(Frames::IdentifyRequest()).vanish);
    const Sim::Response last = gone.receive(Frames::IdentifyRequest() + Frames::IdentifyRequest());
    EXPECT_TRUE(last.vanish);
    EXPECT_TRUE(last.writes.isEmpty());
    EXPECT_TRUE(gone.receive(Frames::IdentifyRequest()).writes.isEmpty());
}

TEST(VelmoraSim, RandomBytesNeverCrash) {
    Sim::Behaviour b = instrument(0);
    b.boards = {0, 0x91, 255};
    b.garbage = 2;
    Sim::Responder sim(b);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 40);
    const QByteArray starts = hex("9100B000EA");
    for (int i = 0; i < 20000; ++i) {
        QByteArray chunk;
        const int n = size(rng);
        for (int j = 0; j < n; ++j)
            chunk.append(j % 7 == 0 ? starts[byte(rng) % starts.size()] : char(byte(rng)));
        if (i % 50 == 0) chunk += Frames::IdentifyRequest();
        sim.receive(chunk);
    }
    // The last identify request of the run must still be answered: the parser is in step.
    EXPECT_EQ(Frames::FindIdentifyReply(joined(sim.receive(Frames::IdentifyRequest()))), 0);
}
