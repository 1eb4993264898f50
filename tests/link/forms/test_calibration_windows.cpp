// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration upload and download, tick by tick.
#include "FrmGetCal.h"
#include "FrmNetwork.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "LinkFormTest.h"
#include "ModVars.h"

#include <QGroupBox>
#include <QThread>
#include <QTimer>

namespace {

FrmGetCal& up() {
    return Forms::get<FrmGetCal>();
}
FrmSetCal& down() {
    return Forms::get<FrmSetCal>();
}

class UploadTest : public LinkFormTest {
protected:
    static void start() {
        up().show();
        up().CmdRun_Click();
    }
    static void ticks(int n) {
        while (n-- > 0)
            up().TmrUpload_Timer();
    }
    /// Started, and identified as type C on the first tick.
    void identified() {
        start();
        line().incoming = *Frames::IdentifyReply(2) + *Frames::IdentifyReply(2);
        ticks(1);
        ASSERT_EQ(InstrumentFound, 1);
        line().written.clear();
    }
    /// Timer off and port closed.
    static bool stopped(SerialForm& w) {
        return !w.findChild<QTimer*>()->isActive() && !w.MSComm->isOpen();
    }
};
using DownloadTest = UploadTest;

} // namespace

TEST_F(UploadTest, IdentifyReadsTenBytesTheLastLetterWinsAndTheTwentiethTickGivesUp) {
    const auto reply = [](int t) { return *Frames::IdentifyReply(t); };
    const std::pair<QByteArray, int> reads[] = {{reply(4) + reply(1), 4},
                                                {reply(1) + reply(4), 4},
                                                {"xx" + reply(5) + "yyy", 5},
                                                {reply(5), -1},
                                                {reply(5).left(4) + "abcdef", -1}};
    for (const auto& [read, type] : reads) {
        start();
        line().incoming = read;
        ticks(1);
        EXPECT_EQ(InstrumentFound == 1 ? int(InstrumentType) : -1, type);
        EXPECT_EQ(line().incoming.isEmpty(), read.size() >= 10);
        up().CmdHalt_Click();
    }
    line().written.clear();
    start();
    ticks(19);
    EXPECT_TRUE(msgs->calls.isEmpty());
    ticks(1);
    EXPECT_EQ(msgs->texts(), QStringList{"Unable to connect with Velmora.  Please check "
                                         "connection and try again."});
    EXPECT_EQ(line().written.size(), 19);
    EXPECT_TRUE(stopped(up()) && up().FrmComm->isEnabled());
}

TEST_F(UploadTest, RecordsAreReadFrom89BytesAndOnlyWithinOneRead) {
    identified();
    const SetpointStore before = Setpoints;
    const QByteArray record = Frames::SetpointRecord(distinctSets());
    QByteArray failing = Frames::SetpointRecord(distinctSets(90)); // other sets, failing sum
    failing[43] = char(failing[43] + 1);
    // A record cut at the end of a read, whose tail an earlier read left in RxBytes.
    line().incoming = QByteArray(89, 'U') + record.mid(13);
    ticks(1);
    line().incoming = QByteArray(76, 'U') + record.left(13);
    ticks(1);
    EXPECT_EQ(Setpoints, before);
    line().incoming = QByteArray(44, 'U') + record; // 88 bytes: left waiting
    ticks(1);
    EXPECT_EQ(line().incoming.size(), 88);
    EXPECT_EQ(line().written, QList<QByteArray>(3, Frames::ReadSetpointsRequest()));
    line().incoming = failing + "U" + record;
    ticks(1);
    EXPECT_EQ(Setpoints, storeWith(before, distinctSets()));
}

TEST_F(UploadTest, StopStartsAgainWithIdentificationAnErrorResumes) {
    identified();
    const SetpointStore before = Setpoints;
    up().CmdHalt_Click();
    EXPECT_EQ(Setpoints, before);
    up().CmdRun_Click();
    ticks(1);
    EXPECT_EQ(line().written.last(), Frames::IdentifyRequest());
    line().incoming = *Frames::IdentifyReply(2) + *Frames::IdentifyReply(2);
    ticks(1);
    line().failIo = true;
    ticks(1);
    EXPECT_EQ(msgs->texts(), QStringList{CommErrorText});
    EXPECT_TRUE(up().MSComm->isOpen() && up().FrmComm->isEnabled() && !up().TmrUpload->isActive());
    line().failIo = false;
    up().CmdRun_Click();
    ticks(1);
    EXPECT_EQ(line().written.last(), Frames::ReadSetpointsRequest());
    up().CmdBack_Click(); // Previous ends it
    EXPECT_TRUE(stopped(up()) && Forms::get<FrmNetwork>().isVisible());
}

TEST_F(DownloadTest, EachSetGoesOutUntilItsAckTheTwentyFirstTickFailsAnErrorResumesAtItsSet) {
    // An instrument that acknowledges sets A to `last`: the sets sent and the bar / 25 after
    // each tick, up to the one with the message.
    using Run = std::tuple<char, QByteArray, QByteArray>;
    QByteArray sets, bar;
    for (const auto& [last, sent, bars] :
         {Run{'D', "AABBCCDD", "01122330"},
          Run{'A', "AA" + QByteArray(18, 'B'), "0" + QByteArray(19, '1') + "0"}}) {
        answerBeforeNextTick([last, &sets](const QByteArray& frame) {
            const char set = char(frame[0] - char(0xEA) + 'A');
            sets += set;
            return set <= last ? *Frames::WriteAck(set - '@') : QByteArray();
        });
        down().show();
        down().CmdRun_Click();
        QThread::msleep(60);    // no event loop: the timer cannot fire meanwhile
        down().CmdHalt_Click(); // before the first tick: nothing
        down().CmdRun_Click();  // and a second Start keeps the timer's rhythm
        EXPECT_LE(down().TmrDownload->remainingTime(), down().TmrDownload->interval() - 50);
        EXPECT_FALSE(down().FrmComm->isEnabled());
        while (msgs->calls.isEmpty() && bar.size() < 30) {
            down().TmrDownload_Timer();
            bar += char('0' + down().PrgDownload->value() / 25);
        }
        EXPECT_EQ(std::exchange(sets, {}) + ' ' + std::exchange(bar, {}), sent + ' ' + bars);
        EXPECT_TRUE(stopped(down()) && down().FrmComm->isEnabled());
        EXPECT_EQ(down().isVisible(), last == 'A');
        msgs->clear();
    }
    // A set that cannot be sent is an error that keeps the port; Start resumes at that set.
    down().CmdRun_Click();
    SpCh2Peak[2] = 300;
    line().incoming = *Frames::WriteAck(1);
    down().TmrDownload_Timer();
    down().TmrDownload_Timer(); // set B cannot be sent
    EXPECT_EQ(msgs->texts(), QStringList{CommErrorText});
    EXPECT_EQ(down().PrgDownload->value(), 0);
    EXPECT_TRUE(down().MSComm->isOpen() && down().FrmComm->isEnabled());
    SpCh2Peak[2] = 200;
    CommTicks = 19;
    down().CmdRun_Click();
    down().TmrDownload_Timer();
    EXPECT_EQ(line().written.last(), *Frames::WriteParameterSet(Setpoints, 2));
    down().CmdHalt_Click(); // a later Stop closes, and the next Start begins with set A
    down().CmdRun_Click();
    down().TmrDownload_Timer();
    EXPECT_EQ(line().written.last(), *Frames::WriteParameterSet(Setpoints, 1));
    down().CmdExit_Click();
    EXPECT_TRUE(stopped(down()) && Forms::get<FrmSetpoints>().isVisible());
}
