// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-sim's timing and line behaviour, seen through the serial port layer.
#include "Frames.h"
#include "SerialCommPort.h"
#include "SimProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(VelmoraSimLine, SplitRepliesArriveInPieces) {
    SimProcess sim({"--type", "B", "--split", "2", "--split-gap", "250"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    SerialCommPort port({9600, 1024});
    port.open();
    port.write(Frames::IdentifyRequest());
    ASSERT_TRUE(SimProcess::waitForBytes(port, 1));
    EXPECT_LT(port.waitingCount(), 5);
    ASSERT_TRUE(SimProcess::waitForBytes(port, 5));
    EXPECT_EQ(port.readAll(), *Frames::IdentifyReply(1));
}

TEST(VelmoraSimLine, StreamIsPacedAtFiveMillisecondsPerRecord) {
    SimProcess sim({"--capture", "200", "--capture-delay", "200", "--bad-every", "10"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    SerialCommPort port({57600, 15000});
    port.open();
    ASSERT_TRUE(SimProcess::waitForBytes(port, 1));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(SimProcess::waitForBytes(port, 1000));
    // 200 records at 5 ms take about a second; a burst would come at once.
    EXPECT_GE(clock.elapsed(), 900);
    const QByteArray stream = port.readAll();
    ASSERT_EQ(stream.size(), 1000);
    int bad = 0;
    for (int i = 0; i < 200; ++i) {
        const QByteArray record = stream.mid(5 * i, 5);
        ASSERT_EQ(record[0], char(0x72));
        if (std::uint8_t(record[4]) != Frames::ByteSumChecksum(record.first(4))) ++bad;
    }
    EXPECT_EQ(bad, 20);
}

TEST(VelmoraSimLine, TriggeredStreamWaitsForTheTrigger) {
    SimProcess sim({"--capture", "20", "--capture-start", "trigger", "--capture-delay", "0"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    SerialCommPort port({57600, 15000});
    port.open();
    SimProcess::pause(400);
    EXPECT_EQ(port.waitingCount(), 0);
    sim.trigger();
    ASSERT_TRUE(SimProcess::waitForBytes(port, 100));
    EXPECT_EQ(port.readAll().first(5), Frames::CaptureRecord(0, 3, 3));
}

TEST(VelmoraSimLine, VanishesAfterTheChosenFrame) {
    SimProcess sim({"--exit-after", "2"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    SerialCommPort port({9600, 1024});
    port.open();
    port.write(Frames::IdentifyRequest());
    ASSERT_TRUE(SimProcess::waitForBytes(port, 5));
    port.readAll();
    port.write(Frames::ReadSetpointsRequest());
    EXPECT_TRUE(SimProcess::waitFor([&] { return !sim.running(); }));
    EXPECT_TRUE(sim.waitForLog("Vanished"));
    EXPECT_TRUE(SimProcess::waitFor([&] { return !port.isOpen(); }));
    EXPECT_THROW(port.open(), CommError);
}

TEST(VelmoraSimLine, LinkPathReachesTheDeviceAndIsRemovedAtExit) {
    QTemporaryDir dir;
    const QString link = dir.filePath("velmora");
    {
        SimProcess sim({"--link", link, "--board", "7"});
        ASSERT_TRUE(sim.started());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.device());
        qputenv("TARVOLM_COMM2", link.toLocal8Bit());
        const auto restore = qScopeGuard([] { qunsetenv("TARVOLM_COMM2"); });
        SerialCommPort port({9600, 1024});
        port.setPortNumber(2);
        port.open();
        port.write(*Frames::NetOpenChannel(7, 5));
        ASSERT_TRUE(SimProcess::waitForBytes(port, 6));
        EXPECT_EQ(port.readAll(), *Frames::NetOpenChannelReply(7, 5));
        EXPECT_TRUE(sim.waitForLog("Board(7) channel 5 open"));
    }
    EXPECT_FALSE(QFileInfo::exists(link) || QFileInfo(link).isSymLink());
}
