// SPDX-License-Identifier: GPL-3.0-or-later
// Capture with real timers against velmora-sim on a pseudo-terminal.
#include "CaptureDecoder.h"
#include "CaptureStream.h"
#include "FrmCapture.h"
#include "ModVars.h"
#include "MsgRecorder.h"
#include "SimProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class CaptureAgainstSim : public ::testing::Test {
protected:
    /// The simulator streams `records` records of a captureStream; the capture window is new.
    void startSim(int records, const QStringList& options = {}) {
        QFile run(dir.filePath(QStringLiteral("run.txt")));
        ASSERT_TRUE(run.open(QIODevice::WriteOnly));
        for (int j = 1; j <= records; ++j)
            run.write(QByteArray::number(streamCh1(j)) + ' ' + QByteArray::number(streamCh2(j)) +
                      '\n');
        run.close();
        sim = std::make_unique<SimProcess>(QStringList{"--capture-file", run.fileName()} + options);
        ASSERT_TRUE(sim->started()) << sim->errors().toStdString();
        sim->useAsPort(1);
        CapturedData.clear();
        Forms::release<FrmCapture>();
        form = &Forms::get<FrmCapture>();
        form->show();
    }
    void TearDown() override {
        Forms::release<FrmCapture>();
        sim.reset();
    }
    bool waitForMessage(int ms) {
        return SimProcess::waitFor([this] { return !msgs.calls.isEmpty(); }, ms);
    }
    /// Records in the bytes the last finish took.
    static int recordsDecoded() {
        std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch1, ch2;
        return CaptureDecoder::decode(
                   std::span<const std::int16_t>(CaptureBytes).subspan(1, CaptureByteCount), ch1,
                   ch2)
            .records;
    }

    QTemporaryDir dir;
    MsgRecorder msgs;
    std::unique_ptr<SimProcess> sim;
    FrmCapture* form = nullptr;
};

} // namespace

TEST_F(CaptureAgainstSim, CapturesIntoSlotThreeWhatTheInstrumentSent) {
    startSim(1000);
    form->OptData[2]->click();
    form->CmdRun->click();
    ASSERT_TRUE(waitForMessage(20000));
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 3"});
    EXPECT_EQ(recordsDecoded(), 1000);
    EXPECT_TRUE(runHolds(3, 1000));
    EXPECT_TRUE(form->OptData[3]->isChecked());
}

TEST_F(CaptureAgainstSim, StopWhileWaitingEndsWithNoMessage) {
    startSim(1000, {"--capture-start", "trigger"});
    form->CmdRun->click();
    ASSERT_TRUE(SimProcess::waitFor([this] { return form->MSComm->isOpen(); }, 3000));
    form->CmdHalt->click();
    SimProcess::waitFor([] { return false; }, 2500);
    EXPECT_TRUE(msgs.calls.isEmpty());
    EXPECT_FALSE(form->TmrUpload->isActive() || form->MSComm->isOpen());
}

TEST_F(CaptureAgainstSim, StopWhileReceivingFinishesAtTheNextTick) {
    startSim(2000);
    form->CmdRun->click();
    ASSERT_TRUE(SimProcess::waitFor([] { return CaptureTicks >= 3; }, 8000));
    form->CmdHalt->click();
    ASSERT_TRUE(waitForMessage(5000));
    EXPECT_EQ(msgs.texts(), QStringList{"Capture Complete for Run 1"});
    EXPECT_EQ(CaptureTicks, 11); // the very next tick finished
    const int n = recordsDecoded();
    EXPECT_TRUE(n > 0 && n < 2000) << n;
    EXPECT_TRUE(runHolds(1, n));
}

TEST_F(CaptureAgainstSim, NoRecordIsLostWhileTheProgramIdlesBetweenTicks) {
    startSim(2000);
    form->CmdRun->click();
    ASSERT_TRUE(waitForMessage(16000));
    // The finish comes 9 to 10 s into the 10 s stream: every whole record read is decoded,
    // in order, with none missing between them.
    const int n = recordsDecoded();
    EXPECT_EQ(n, CaptureByteCount / 5);
    EXPECT_GE(n, 1800);
    EXPECT_TRUE(runHolds(1, n));
}
