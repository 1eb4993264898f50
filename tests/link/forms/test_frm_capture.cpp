// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureStream.h"
#include "FrmCapture.h"
#include "LinkFormTest.h"
#include "MDIFormMain.h"
#include "ModVars.h"

#include <QTimer>

namespace {

using Light = FrmCapture::Light;
const QString Failure = QStringLiteral("A Comm Port error has occured....");

class CaptureWindow : public LinkFormTest {
protected:
    void SetUp() override {
        LinkFormTest::SetUp();
        form = &Forms::get<FrmCapture>();
        form->show();
    }
    void tick(int n = 1) {
        while (n-- > 0)
            form->TmrUpload_Timer();
    }
    /// Start into slot `run`, the opening tick, `stream` arriving, then ticks up to the finish.
    void capture(int run, const QByteArray& stream) {
        form->OptData[run - 1]->click();
        form->CmdRun_Click();
        tick();
        line().incoming += stream;
        tick(10);
    }
    bool framesOpen() const { return form->FrmComm->isEnabled() && form->FrmData->isEnabled(); }
    bool stopped() const { return !form->TmrUpload->isActive() && !form->MSComm->isOpen(); }

    FrmCapture* form = nullptr;
};

} // namespace

TEST_F(CaptureWindow, WaitsForMoreThanTwoBytesOrAStop) {
    form->CmdRun_Click();
    EXPECT_EQ(form->light(), Light::Yellow);
    EXPECT_FALSE(framesOpen());
    tick();
    EXPECT_TRUE(form->MSComm->isOpen());
    EXPECT_EQ(form->light(), Light::Red);
    line().incoming = "ab";
    tick(3);
    EXPECT_EQ(CaptureTicks, 0);
    form->CmdHalt_Click();
    EXPECT_TRUE(stopped() && framesOpen());

    form->CmdRun_Click();
    tick();
    line().incoming = "abc";
    tick();
    EXPECT_EQ(CaptureTicks, 1);
    EXPECT_EQ(form->light(), Light::Green);
    EXPECT_EQ(form->PrgCapture->value(), 1);
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(CaptureWindow, FinishWritesTheSlotAndPreselectsTheNext) {
    capture(3, captureStream(2000));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 3"});
    EXPECT_TRUE(runHolds(3, 2000) && runHolds(2, 0) && runHolds(4, 0));
    EXPECT_TRUE(form->OptData[3]->isChecked());
    EXPECT_EQ(CaptureRun, 4);
    EXPECT_TRUE(stopped() && framesOpen());
    EXPECT_EQ(form->PrgCapture->value(), 0);
    EXPECT_EQ(form->light(), Light::Red);

    msgs->clear();
    capture(8, captureStream(1500));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 8"});
    EXPECT_TRUE(form->OptData[0]->isChecked());
    // A shorter capture ending two bytes into a record: the longer one's bytes past the count
    // would complete it.
    capture(8, captureStream(900) + captureStream(1, 901).left(2));
    EXPECT_TRUE(runHolds(8, 900));
}

TEST_F(CaptureWindow, FinishKeepsBytesThatArriveAfterTheCount) {
    line().onRead = [](FakeLine& l) { l.incoming += captureStream(100, 1901); };
    capture(1, captureStream(1900));
    EXPECT_EQ(CaptureByteCount, 10000);
    EXPECT_TRUE(runHolds(1, 2000));
}

TEST_F(CaptureWindow, StopWhileReceivingFinishesAtTheNextTick) {
    form->CmdRun_Click();
    tick();
    line().incoming = captureStream(500);
    tick(2);
    line().incoming += captureStream(100, 501);
    form->CmdHalt_Click();
    EXPECT_EQ(form->light(), Light::Red);
    EXPECT_TRUE(msgs->calls.isEmpty());
    int barAtMessage = -1;
    setMsgBoxHook([&](const MsgBoxCall& call) {
        barAtMessage = form->PrgCapture->value();
        msgs->calls << call;
        return MsgAnswer::Ok;
    });
    tick();
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 1"});
    EXPECT_EQ(barAtMessage, 10);
    EXPECT_EQ(CaptureTicks, 11);
    EXPECT_TRUE(runHolds(1, 600));
}

TEST_F(CaptureWindow, ActivationDuringACaptureRestartsTheCountIntoSlotOne) {
    form->OptComm[1]->click();
    form->OptData[2]->click();
    form->CmdRun_Click();
    tick();
    line(2).incoming = captureStream(1000);
    tick(3);
    form->activate();
    EXPECT_EQ(CaptureTicks, 0);
    EXPECT_EQ(CaptureRun, 1);
    EXPECT_EQ(form->MSComm->portNumber(), 2); // refused while open
    tick(10);
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 1"});
    EXPECT_TRUE(runHolds(1, 1000) && runHolds(3, 0));
    EXPECT_TRUE(form->OptData[1]->isChecked());
}

TEST_F(CaptureWindow, FailuresCloseThePortAndChangeNothingElse) {
    line().missing = true;
    // A modal box may let the timer in again; that tick must not run inside this one.
    setMsgBoxHook([&](const MsgBoxCall& call) {
        msgs->calls << call;
        if (msgs->calls.size() < 5) tick();
        return MsgAnswer::Ok;
    });
    form->CmdRun_Click();
    tick(2);
    EXPECT_EQ(msgs->texts(), (QStringList{Failure, Failure}));
    EXPECT_FALSE(form->MSComm->isOpen());
    EXPECT_TRUE(form->TmrUpload->isActive());
    EXPECT_FALSE(framesOpen());
    EXPECT_EQ(form->light(), Light::Yellow);

    // A 2501st record fails the finish: timer already off, grid unwritten, no preselection.
    line().missing = false;
    msgs->clear();
    tick();
    line().incoming = captureStream(2501);
    tick(10);
    EXPECT_EQ(msgs->texts(), QStringList{Failure});
    EXPECT_TRUE(stopped() && !framesOpen());
    EXPECT_TRUE(runHolds(1, 0));
    EXPECT_TRUE(form->OptData[0]->isChecked());
}

TEST_F(CaptureWindow, ReleaseLetsTheNextWindowOpenThePort) {
    form->CmdRun_Click();
    tick();
    const QTimer* oldTimer = form->TmrUpload;
    Forms::get<MDIFormMain>().CmdUpload_Click(); // navigation releases the capture window
    EXPECT_FALSE(oldTimer->isActive());
    EXPECT_EQ(line().heldBy, 0);
    form = &Forms::get<FrmCapture>();
    capture(2, captureStream(300));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 2"});
}
