// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaptureStream.h"
#include "FakeCommPort.h"
#include "FrmCapture.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "MsgRecorder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <random>

namespace {

using Light = FrmCapture::Light;
const QString Failure = QStringLiteral("A Comm Port error has occured....");

class CaptureWindow : public ::testing::Test {
protected:
    void SetUp() override {
        FakeCommPort::install();
        CapturedData.clear();
        fresh();
    }
    void TearDown() override {
        Forms::release<FrmCapture>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FakeCommPort::uninstall();
    }
    void fresh() {
        Forms::release<FrmCapture>();
        form = &Forms::get<FrmCapture>();
        form->show();
    }
    static FakeLine& line(int port = 1) { return FakeCommPort::line(port); }
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

    MsgRecorder msgs;
    FrmCapture* form = nullptr;
};

} // namespace

TEST_F(CaptureWindow, LaysOutItsControls) {
    EXPECT_EQ(form->window()->windowTitle(), "Capture Data");
    EXPECT_EQ(form->OptData[4]->text(), "Run 5");
    EXPECT_GT(form->OptData[4]->x(), form->OptData[3]->x());
    EXPECT_EQ(form->OptData[4]->y(), form->OptData[0]->y());
    EXPECT_EQ(form->PrgCapture->maximum(), 10);
    const QStringList tips = {form->CmdBack->toolTip(), form->CmdExit->toolTip(),
                              form->CmdRun->toolTip(), form->CmdHalt->toolTip()};
    EXPECT_EQ(tips, (QStringList{"Previous Form", "Next Form", "Start Capture", "Stop Capture"}));
    EXPECT_EQ(form->CmdHalt->width(), 2 * form->CmdRun->width());
    EXPECT_TRUE(form->CmdBack->x() < form->ImgLight->x() &&
                form->ImgLight->x() < form->CmdExit->x());
    EXPECT_EQ(form->light(), Light::Red);
}

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
    EXPECT_FALSE(form->TmrUpload->isActive());
    EXPECT_FALSE(form->MSComm->isOpen());
    EXPECT_TRUE(framesOpen());

    form->CmdRun_Click();
    tick();
    line().incoming = "abc";
    tick();
    EXPECT_EQ(CaptureTicks, 1);
    EXPECT_EQ(form->light(), Light::Green);
    EXPECT_EQ(form->PrgCapture->value(), 1);
    EXPECT_TRUE(msgs.calls.isEmpty());
}

TEST_F(CaptureWindow, FinishWritesTheSlotAndPreselectsTheNext) {
    capture(3, captureStream(2000));
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 3"});
    EXPECT_TRUE(runHolds(3, 2000) && runHolds(2, 0) && runHolds(4, 0));
    EXPECT_TRUE(form->OptData[3]->isChecked());
    EXPECT_EQ(CaptureRun, 4);
    EXPECT_FALSE(form->TmrUpload->isActive() || form->MSComm->isOpen());
    EXPECT_TRUE(framesOpen());
    EXPECT_EQ(form->PrgCapture->value(), 0);
    EXPECT_EQ(form->light(), Light::Red);

    msgs.clear();
    capture(8, captureStream(1500));
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 8"});
    EXPECT_TRUE(form->OptData[0]->isChecked());
    // A shorter capture ending two bytes into a record: the longer one's bytes past the count
    // would complete it.
    capture(8, captureStream(900) + captureStream(1, 901).left(2));
    EXPECT_TRUE(runHolds(8, 900));
}

TEST_F(CaptureWindow, FinishKeepsBytesThatArriveAfterTheCount) {
    struct LatePort : FakeCommPort {
        using FakeCommPort::FakeCommPort;
        QByteArray readAll() override {
            FakeCommPort::line(1).incoming += captureStream(100, 1901);
            return FakeCommPort::readAll();
        }
    };
    CommPort::setFactory([](const LineSettings& s) { return std::make_unique<LatePort>(s); });
    fresh();
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
    EXPECT_TRUE(msgs.calls.isEmpty());
    int barAtMessage = -1;
    setMsgBoxHook([&](const MsgBoxCall& call) {
        barAtMessage = form->PrgCapture->value();
        msgs.calls << call;
        return MsgAnswer::Ok;
    });
    tick();
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 1"});
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
    EXPECT_EQ(Forms::get<MDIFormMain>().LblStatus->text(),
              "Status: Capture incoming data from Velmora.");
    tick(10);
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 1"});
    EXPECT_TRUE(runHolds(1, 1000) && runHolds(3, 0));
    EXPECT_TRUE(form->OptData[1]->isChecked());
}

TEST_F(CaptureWindow, FailuresCloseThePortAndChangeNothingElse) {
    line().missing = true;
    form->CmdRun_Click();
    tick(2);
    EXPECT_EQ(msgs.texts(), (QStringList{Failure, Failure}));
    EXPECT_FALSE(form->MSComm->isOpen());
    EXPECT_TRUE(form->TmrUpload->isActive());
    EXPECT_FALSE(framesOpen());
    EXPECT_EQ(form->light(), Light::Yellow);

    // A 2501st record fails the finish: timer already off, grid unwritten, no preselection.
    line().missing = false;
    msgs.clear();
    tick();
    line().incoming = captureStream(2501);
    tick(10);
    EXPECT_EQ(msgs.texts(), QStringList{Failure});
    EXPECT_FALSE(form->TmrUpload->isActive() || form->MSComm->isOpen() || framesOpen());
    EXPECT_TRUE(runHolds(1, 0));
    EXPECT_TRUE(form->OptData[0]->isChecked());
}

TEST_F(CaptureWindow, ATickDoesNotRunInsideItsOwnMessage) {
    line().missing = true;
    int shown = 0;
    setMsgBoxHook([&](const MsgBoxCall&) {
        if (++shown < 5) form->TmrUpload_Timer(); // the timer falling due in the nested loop
        return MsgAnswer::Ok;
    });
    form->CmdRun_Click();
    tick();
    EXPECT_EQ(shown, 1);
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
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 2"});
}

TEST_F(CaptureWindow, RandomStreamsNeverCrash) {
    std::mt19937 rng(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int read = 0; read < 3000; ++read) {
        QByteArray stream; // records, broken records, loose marks and noise
        for (const int length = pick(0, 16000); stream.size() < length;) {
            const int kind = pick(0, 3);
            stream += kind == 0   ? captureStream(pick(1, 50), pick(1, 100))
                      : kind == 1 ? captureRecord(pick(0, 255), pick(0, 255), pick(0, 255))
                                  : QByteArray(1, char(kind == 2 ? 0x72 : pick(0, 255)));
        }
        form->OptData[pick(0, 7)]->click();
        form->CmdRun_Click();
        tick();
        line().incoming = stream;
        tick();
        form->CmdHalt_Click();
        if (CaptureTicks != 0) tick();
        ASSERT_FALSE(form->TmrUpload->isActive());
        ASSERT_LE(CaptureByteCount, 15000);
    }
    for (const auto& row : CapturedData.cells)
        for (float v : row)
            ASSERT_TRUE(v >= 0.0f && v <= 99.0f);
}
