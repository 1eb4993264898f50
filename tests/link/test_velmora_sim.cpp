// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's own protocol; the end-to-end tests use it against the program.
#include "SimProtocol.h"

#include <gtest/gtest.h>

#include <random>

namespace {

Sim::Behaviour instrument(int type) {
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

} // namespace

TEST(VelmoraSim, AnswersCalibrationFramesAndKeepsWrittenSets) {
    Sim::Responder sim(instrument(2));
    EXPECT_EQ(joined(sim.receive(Frames::IdentifyRequest())), *Frames::IdentifyReply(2));
    const QByteArray record = joined(sim.receive(Frames::ReadSetpointsRequest()));
    ASSERT_EQ(Frames::FindSetpointRecord(record), 0);
    EXPECT_EQ(*Frames::SetpointRecordSets(record, 0), Sim::defaultSets());

    const Frames::ParameterBytes setB{1, 2, 5, 62, 200, 190, 12, 1, 30, 40};
    const Sim::Response r = sim.receive(*Frames::WriteParameterSet(2, setB));
    EXPECT_EQ(joined(r), *Frames::WriteAck(2));
    EXPECT_EQ(r.log, QStringList{"WriteParameterSet(B) EB 0E 01 01 02 05 3E C8 BE 0C 01 1E 28 19"});
    // An upload after the download reads back what was written.
    const QByteArray again = joined(sim.receive(Frames::ReadSetpointsRequest()));
    EXPECT_EQ((*Frames::SetpointRecordSets(again, 0))[1], setB);
}

TEST(VelmoraSim, RandomBytesNeverCrash) {
    Sim::Behaviour b = instrument(0);
    b.boards = {0, 0x91, 255};
    b.garbage = 2;
    Sim::Responder sim(b);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> size(0, 40);
    const QByteArray starts = QByteArray::fromHex("9100B000EA");
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
