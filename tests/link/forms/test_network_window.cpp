// SPDX-License-Identifier: GPL-3.0-or-later
// The network channel scan, tick by tick.
#include "FrmGetCal.h"
#include "FrmNetwork.h"
#include "LinkFormTest.h"
#include "MDIFormMain.h"
#include "ModVars.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimer>

#include <map>

namespace {

FrmNetwork& net() {
    return Forms::get<FrmNetwork>();
}

class NetworkTest : public LinkFormTest {
protected:
    static void openChannel(int address, int channelIndex) {
        net().show();
        net().CmbAddr->setCurrentIndex(address);
        net().CmbChannel->setCurrentIndex(channelIndex);
        net().CmdRun_Click();
    }
    static void ticks(int n) {
        while (n-- > 0)
            net().TmrNetwork_Timer();
    }
    int tick = 0;
};

} // namespace

TEST_F(NetworkTest, ScanOutcomesAsTheBoardsSeeThem) {
    const char* const notFound =
        "Could not find selected channel.  Please check the dip-switch and try again.";
    const struct {
        int board; // -1: none answers
        int chosen, lastTick;
        QList<int> openTicks;
        const char* message;
    } cases[] = {{-1, 12, 768, {765, 766, 767}, notFound},
                 {5, 5, 763, {762, 763}, "Channel opened successfully..."},
                 {254, 254, 765, {764}, notFound}};
    for (const auto& c : cases) {
        std::map<int, int> closes;
        QList<int> opens;
        answerBeforeNextTick([&](const QByteArray& f) {
            const int address = std::uint8_t(f[3]);
            f[1] == 0 ? void(++closes[address]) : opens.append(tick);
            if (address != c.board) return QByteArray();
            return f[1] == 0 ? *Frames::NetCloseAllReply(address)
                             : *Frames::NetOpenChannelReply(address, f[4]);
        });
        msgs->clear();
        openChannel(c.chosen, 2);
        for (tick = 1; tick <= 800 && msgs->calls.isEmpty(); ++tick)
            net().TmrNetwork_Timer();
        EXPECT_EQ(tick - 1, c.lastTick) << c.board;
        EXPECT_EQ(msgs->texts(), QStringList{c.message});
        EXPECT_EQ(opens, c.openTicks);
        EXPECT_EQ(line().heldBy, 0);
        EXPECT_EQ(closes[0], 2);
        EXPECT_EQ(closes.count(255), 0u);
        // The answering board gets two frames and the next address what is left.
        for (int a = 1; a <= 254; ++a)
            ASSERT_EQ(closes[a], a == c.board ? 2 : a == c.board + 1 ? 1 : 3) << a;
        // An opened channel releases the window: the next one comes in its design state.
        EXPECT_EQ(Forms::exists<FrmNetwork>(), c.board != 5);
        pump();
    }
    line().onWrite = nullptr;
}

TEST_F(NetworkTest, StopKeepsThePortANoSelectionOrAMissingPortIsACommErrorThatUnlocksTheInputs) {
    openChannel(3, 0);
    ticks(10);
    net().CmdHalt_Click();
    EXPECT_FALSE(net().TmrNetwork->isActive());
    FrmGetCal& up = Forms::get<FrmGetCal>();
    up.show();
    up.CmdRun_Click();
    up.TmrUpload_Timer();
    EXPECT_EQ(msgs->texts(), QStringList{CommErrorText}) << "the stopped scan still holds the port";
    line().written.clear();
    net().CmdRun_Click(); // Open Channel starts at address 0
    ticks(3);
    EXPECT_EQ(line().written, (QList<QByteArray>{*Frames::NetCloseAll(0), *Frames::NetCloseAll(0),
                                                 *Frames::NetCloseAll(1)}));
    NetAddress = -1; // what a list without a selection would store
    NetScanAddress = 254;
    NetScanTicks = 2;
    ticks(1);
    net().MSComm->close();
    line().missing = true;
    net().CmdRun_Click();
    ticks(1);
    EXPECT_EQ(msgs->texts(), QStringList(3, CommErrorText));
    EXPECT_EQ(line().written.size(), 3);
    EXPECT_FALSE(net().TmrNetwork->isActive());
    EXPECT_TRUE(net().CmbAddr->isEnabled() && net().CmbChannel->isEnabled() &&
                net().FrmComm->isEnabled());
}

TEST_F(NetworkTest, ActivationDuringAnAttemptRestartsTheScanWithTheFirstItems) {
    MDIFormMain& main = startProgram();
    main.CmdNetwork_Click();
    // Every address and channel is offered, each at the index that is sent.
    EXPECT_EQ(net().CmbAddr->count(), 256);
    EXPECT_EQ(net().CmbAddr->itemText(0) + ' ' + net().CmbAddr->itemText(255), "0 255");
    EXPECT_EQ(net().CmbChannel->count(), 8);
    EXPECT_EQ(net().CmbChannel->itemText(7), "Channel 8");
    net().CmbAddr->setCurrentIndex(9);
    net().OptComm[1]->click();
    net().CmdRun_Click();
    main.CmdGetPresets_Click(); // hidden, the scan goes on
    ticks(4);
    ASSERT_EQ(NetScanTicks, 1);
    main.CmdNetwork_Click();
    EXPECT_EQ(net().CmbAddr->currentIndex(), 0);
    EXPECT_EQ(NetAddress, 0);
    EXPECT_EQ(NetScanAddress, 0);
    EXPECT_EQ(net().MSComm->portNumber(), 2) << "port 1 is refused while port 2 is open";
    // The tick count goes on: address 0 gets only the rest of its three-tick window.
    ticks(2);
    EXPECT_EQ(line(2).written.mid(4),
              (QList<QByteArray>{*Frames::NetCloseAll(0), *Frames::NetCloseAll(1)}));
    net().CmdExit_Click();
    EXPECT_TRUE(Forms::get<FrmGetCal>().isVisible());
    EXPECT_TRUE(net().TmrNetwork->isActive());
}
