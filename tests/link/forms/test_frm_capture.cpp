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

TEST_F(CaptureWindow, StopEndsAWaitAtOnceAReceptionAtTheNextTickAndTheNextRunIsPreselected) {
    form->CmdRun_Click();
    EXPECT_EQ(form->light(), Light::Yellow);
    EXPECT_FALSE(framesOpen());
    tick();
    EXPECT_EQ(form->light(), Light::Red);
    line().incoming = captureStream(1500).left(2);
    tick(3);
    EXPECT_EQ(CaptureTicks, 0);
    form->CmdHalt_Click(); // still waiting: ends at once
    EXPECT_TRUE(stopped() && framesOpen() && msgs->calls.isEmpty());

    form->OptData[7]->click();
    QList<int> bar; // what the bar shows from here on
    QObject::connect(form->PrgCapture, &QProgressBar::valueChanged, [&](int v) { bar << v; });
    form->CmdRun_Click();
    tick();
    line().incoming = captureStream(1500).left(3);
    tick();
    EXPECT_EQ(CaptureTicks, 1);
    EXPECT_EQ(form->light(), Light::Green);
    // A screen reader hears what the light shows.
    EXPECT_TRUE(form->ImgLight->accessibleName().contains(QStringLiteral("green")));
    line().incoming += captureStream(1500).mid(3);
    form->CmdHalt_Click(); // receiving: the next tick shows the full bar and finishes
    EXPECT_EQ(form->light(), Light::Red);
    tick();
    EXPECT_EQ(std::pair(bar, int(CaptureTicks)), std::pair(QList<int>{1, 10, 0}, 11));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 8"});
    EXPECT_TRUE(runHolds(8, 1500) && runHolds(7, 0));
    EXPECT_TRUE(form->OptData[0]->isChecked() && stopped() && framesOpen()); // run 1 after 8
    // A shorter capture ending two bytes into a record: the longer one's bytes past the count
    // would complete it.
    capture(8, captureStream(900) + captureStream(1, 901).left(2));
    EXPECT_TRUE(runHolds(8, 900));
    EXPECT_EQ(form->light(), Light::Red);
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

    // A 2501st record fails the finish: timer already off, grid unwritten, no preselection.
    line().missing = false;
    msgs->clear();
    capture(1, captureStream(2501));
    EXPECT_EQ(msgs->texts(), QStringList{Failure});
    EXPECT_TRUE(stopped() && !framesOpen());
    EXPECT_TRUE(runHolds(1, 0));
    EXPECT_TRUE(form->OptData[0]->isChecked());
}
