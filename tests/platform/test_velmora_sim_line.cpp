// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-sim reached through the path it links, as an operator would use it by hand.
#include "Frames.h"
#include "SerialCommPort.h"
#include "SimProcess.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
