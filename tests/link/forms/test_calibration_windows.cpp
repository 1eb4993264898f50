// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration upload and download, tick by tick.
#include "FrmCapture.h"
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
    static bool upStopped() { return !up().TmrUpload->isActive() && !up().MSComm->isOpen(); }
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
    EXPECT_TRUE(upStopped() && up().FrmComm->isEnabled());
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
    EXPECT_TRUE(upStopped() && Forms::get<FrmNetwork>().isVisible());
}

TEST_F(DownloadTest, StopBeforeTheFirstTickIsNothingAnErrorResumesAtItsSet) {
    down().show();
    down().CmdRun_Click();
    down().CmdHalt_Click();
    SpCh2Peak[2] = 300;
    line().incoming = *Frames::WriteAck(1);
    down().TmrDownload_Timer();
    down().TmrDownload_Timer(); // set B cannot be sent
    EXPECT_EQ(msgs->texts(), QStringList{CommErrorText});
    EXPECT_EQ(down().DownloadStep, 25);
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
    EXPECT_FALSE(down().MSComm->isOpen());
    EXPECT_TRUE(Forms::get<FrmSetpoints>().isVisible());
}

TEST_F(UploadTest, StartDuringAnExchangeKeepsTheTimersRhythm) {
    const std::pair<SerialForm*, std::function<void()>> windows[] = {
        {&up(), [] { up().CmdRun_Click(); }},
        {&down(), [] { down().CmdRun_Click(); }},
        {&Forms::get<FrmNetwork>(), [] { Forms::get<FrmNetwork>().CmdRun_Click(); }},
        {&Forms::get<FrmCapture>(), [] { Forms::get<FrmCapture>().CmdRun_Click(); }}};
    for (const auto& [window, start] : windows) {
        window->show();
        start();
        QTimer* timer = window->findChild<QTimer*>();
        QThread::msleep(60); // no event loop: the timer cannot fire meanwhile
        start();
        EXPECT_LE(timer->remainingTime(), timer->interval() - 50)
            << timer->objectName().toStdString();
        EXPECT_FALSE(window->FrmComm->isEnabled());
    }
}
