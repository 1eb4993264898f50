// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's bytes against frames worked out by hand from the frame layouts, so that a
// fault shared with the program cannot pass unseen.
#include "SimProtocol.h"

#include <gtest/gtest.h>

namespace {

using Tune = void (*)(Sim::Behaviour&);

Sim::Behaviour instrument(Tune tune = nullptr) {
    Sim::Behaviour b;
    b.sets = Sim::defaultSets();
    b.boards = {12, 105, 255};
    if (tune) tune(b);
    return b;
}

QByteArray bytes(const char* hexText) {
    return QByteArray::fromHex(hexText);
}

QByteArray joined(const Sim::Response& r) {
    QByteArray all;
    for (const QByteArray& w : r.writes)
        all += w;
    return all;
}

struct Exchange {
    const char* what;
    Tune tune;
    const char* request;
    const char* reply; ///< all bytes written back, "" for none
};

// Checksums: calibration frames end in the byte sum of the bytes before, board frames in the
// byte that makes all six sum to 0 (both modulo 256).
const Exchange exchanges[] = {
    {"identify A", [](Sim::Behaviour& b) { b.type = 0; }, "B00401B5", "BF05004105"},
    {"identify F", [](Sim::Behaviour& b) { b.type = 5; }, "B00401B5", "BF0500460A"},
    {"setpoint record", nullptr, "00040105",
     "012C00 0000053DFAFA0A000A0A 0000053DFAFA0A000A0A 0000053DFAFA0A000A0A"
     "0000053DFAFA0A000A0A 7D"},
    {"write A", nullptr, "EA0E010000053DFAFA0A000A0A4D", "FA0400FE"},
    {"write D", nullptr, "ED0E010000053DFAFA0A000A0A50", "FD040001"},
    {"close board 105, sum 0", nullptr, "910006 690000", "910106 6900FF"},
    {"open 12 channel 3", nullptr, "911006 0C034A", "911106 0C0349"},
    {"open 255 channel 8", nullptr, "911006 FF0852", "911106 FF0851"},
    // Misbehaviours.
    {"unknown type", [](Sim::Behaviour& b) { b.unknownType = true; }, "B00401B5", "BF0500470B"},
    {"close from next address", [](Sim::Behaviour& b) { b.wrongAddress = true; }, "9100060C005D",
     "9101060D005B"},
    {"open echoed", [](Sim::Behaviour& b) { b.wrongCommand = true; }, "9110060C034A",
     "9110060C034A"},
    {"A acked as D", [](Sim::Behaviour& b) { b.wrongAck = true; }, "EA0E010000053DFAFA0A000A0A4D",
     "FD040001"},
    {"bad checksum", [](Sim::Behaviour& b) { b.badChecksums = 1; }, "B00401B5", "BF05004106"},
    {"only B acked",
     [](Sim::Behaviour& b) {
         b.ack = {false, true, false, false};
     },
     "EA0E010000053DFAFA0A000A0A4D EB0E010000053DFAFA0A000A0A4E", "FB0400FF"},
    {"silent", [](Sim::Behaviour& b) { b.silent = true; }, "B00401B5 9100060C005D", ""},
    {"calibration frames off", [](Sim::Behaviour& b) { b.instrument = false; },
     "B00401B5 9100060C005D", "9101060C005C"},
    // Requests found among other bytes and across reads.
    {"request among noise", nullptr, "00B0 B00401B5 FF91", "BF05004105"},
    {"upload after a download reads back what was written", nullptr,
     "EB0E01 0102053EC8BE0C011E28 19 00040105",
     "FB0400FF 012C00 0000053DFAFA0A000A0A 0102053EC8BE0C011E28 0000053DFAFA0A000A0A"
     "0000053DFAFA0A000A0A 48"},
    {"requests back to back", nullptr, "B00401B5 9110060C034A", "BF05004105 9111060C0349"},
    // Frames that are not answered.
    {"write with a bad checksum", nullptr, "EA0E010000053DFAFA0A000A0A4E", ""},
    {"identify marked as from the instrument", nullptr, "B00400B4", ""},
    {"board frame of length 7", nullptr, "9100070C005C", ""},
    {"no board at 13", nullptr, "9100060D005C", ""},
    {"channel 9", nullptr, "9110060C0848", ""},
};

} // namespace

TEST(VelmoraSim, RepliesAreTheHandWorkedBytes) {
    for (const Exchange& e : exchanges) {
        Sim::Responder sim(instrument(e.tune));
        EXPECT_EQ(joined(sim.receive(bytes(e.request))).toHex(' '), bytes(e.reply).toHex(' '))
            << e.what;
        // The same bytes one at a time give the same answer.
        Sim::Responder bytewise(instrument(e.tune));
        QByteArray answer;
        for (char c : bytes(e.request))
            answer += joined(bytewise.receive(QByteArray(1, c)));
        EXPECT_EQ(answer.toHex(' '), bytes(e.reply).toHex(' ')) << e.what << ", byte by byte";
    }
}

TEST(VelmoraSim, CaptureRecordsEndInTheirByteSum) {
    EXPECT_EQ(Sim::captureStream({{0x11, 0x22}, {0x11, 0x22}}, 2), bytes("72001122A5 72011122A7"));
}
