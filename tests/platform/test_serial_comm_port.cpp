// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port layer against velmora-sim on a pseudo-terminal.
#include "Frames.h"
#include "SerialCommPort.h"
#include "SimProcess.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <ctime>

static bool waitForBytes(CommPort& port, int count) {
    return SimProcess::waitFor([&] { return port.waitingCount() >= count; }, 3000);
}

TEST(SerialCommPort, RawBytesBothWaysOnTheChosenPortAndCloseDropsUnreadOnes) {
    // Control characters, NUL and high bytes must pass unchanged both ways.
    const Frames::ParameterBytes set{0x00, 0x0A, 0x0D, 0x11, 0x13, 0x7F, 0x1A, 0x03, 0xFF, 0x72};
    SimProcess sim({"--type", "D", "--set", "C=0,10,13,17,19,127,26,3,255,0x72"});
    ASSERT_TRUE(sim.started()) << sim.errors().toStdString();
    sim.useAsPort(2);
    SerialCommPort port({9600, 1024});
    EXPECT_TRUE(port.setPortNumber(2));
    port.open();
    EXPECT_FALSE(port.setPortNumber(1));
    EXPECT_EQ(port.portNumber(), 2);
    SerialCommPort other({9600, 1024}); // another window of this program
    other.setPortNumber(2);
    EXPECT_THROW(other.open(), CommError);
    qputenv("TARVOLM_COMM3", "/dev/tarvolm-no-such-port");
    other.setPortNumber(3);
    EXPECT_THROW(other.open(), CommError);
    qunsetenv("TARVOLM_COMM3");
    port.write(Frames::ReadSetpointsRequest());
    ASSERT_TRUE(waitForBytes(port, 44));
    EXPECT_EQ((*Frames::SetpointRecordSets(port.readAll(), 0))[2], set);
    const QByteArray frame = *Frames::WriteParameterSet(1, set);
    port.write(frame);
    ASSERT_TRUE(waitForBytes(port, 4));
    EXPECT_EQ(port.readAll(), *Frames::WriteAck(1));
    EXPECT_EQ(sim.frames("WriteParameterSet(A)"), QList<QByteArray>{frame});

    port.write(Frames::IdentifyRequest());
    ASSERT_TRUE(waitForBytes(port, 5));
    port.close();
    EXPECT_THROW(port.waitingCount(), CommError);
    port.open();
    SimProcess::pause(100);
    EXPECT_EQ(port.waitingCount(), 0); // the unread reply went with the close
    port.close();
    QProcess holder; // another program; --no-fork: the lock goes with the process killed below
    holder.start(QStringLiteral("flock"), {"--no-fork", sim.device(), "sleep", "30"});
    ASSERT_TRUE(holder.waitForStarted());
    SimProcess::pause(200);
    EXPECT_THROW(port.open(), CommError);
    holder.kill();
    holder.waitForFinished();
}

TEST(SerialCommPort, FullReceiveBufferDropsWhatArrivesLaterAVanishedPeerClosesThePort) {
    SimProcess sim({"--capture", "100", "--capture-delay", "100"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    SerialCommPort port({57600, 100});
    port.open();
    ASSERT_TRUE(waitForBytes(port, 100));
    SimProcess::pause(800); // the rest of the 500-byte stream arrives meanwhile
    const QByteArray kept = port.readAll();
    ASSERT_EQ(kept.size(), 100);
    // The oldest bytes are kept: twenty whole records from the first on.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(kept.mid(5 * i, 2), QByteArray::fromHex("72") + char(i));
    SimProcess::pause(100);
    EXPECT_EQ(port.waitingCount(), 0);

    sim.kill(); // a spinning event loop would burn the second; idle costs next to nothing
    const std::clock_t before = std::clock();
    EXPECT_TRUE(SimProcess::waitFor([&] { return !port.isOpen(); }, 1000));
    SimProcess::pause(1000);
    EXPECT_LT(double(std::clock() - before) / CLOCKS_PER_SEC, 0.5);
}
