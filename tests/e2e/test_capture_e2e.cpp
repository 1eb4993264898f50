// SPDX-License-Identifier: GPL-3.0-or-later
// Capture with real timers against velmora-sim on a pseudo-terminal.
#include "AppFixture.h"
#include "CaptureDecoder.h"
#include "CaptureStream.h"
#include "FrmCapture.h"
#include "ModVars.h"
#include "SimProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class CaptureAgainstSim : public AppFixture {
protected:
    /// The simulator streams `records` records of a captureStream; the capture window starts
    /// into `slot`.
    void start(int records, int slot = 1, const QStringList& options = {}) {
        QFile run(dir.filePath(QStringLiteral("run.txt")));
        ASSERT_TRUE(run.open(QIODevice::WriteOnly));
        for (int j = 1; j <= records; ++j)
            run.write(QByteArray::number(streamCh1(j)) + ' ' + QByteArray::number(streamCh2(j)) +
                      '\n');
        run.close();
        sim = std::make_unique<SimProcess>(QStringList{"--capture-file", run.fileName()} + options);
        ASSERT_TRUE(sim->started()) << sim->errors().toStdString();
        sim->useAsPort(1);
        form = &Forms::get<FrmCapture>();
        form->show();
        form->OptData[slot - 1]->click();
        form->CmdRun->click();
    }
    void TearDown() override {
        AppFixture::TearDown();
        sim.reset();
    }
    bool waitForMessage(int ms) {
        return SimProcess::waitFor([this] { return !msgs->calls.isEmpty(); }, ms);
    }
    /// Records in the bytes the last finish took.
    static int recordsDecoded() {
        std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch1, ch2;
        const std::span<const std::int16_t> bytes(CaptureBytes);
        return CaptureDecoder::decode(bytes.subspan(1, CaptureByteCount), ch1, ch2).records;
    }

    QTemporaryDir dir;
    std::unique_ptr<SimProcess> sim;
    FrmCapture* form = nullptr;
};

} // namespace

TEST_F(CaptureAgainstSim, CapturesIntoSlotThreeWhatTheInstrumentSent) {
    start(1000, 3);
    ASSERT_TRUE(waitForMessage(20000));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 3"});
    EXPECT_EQ(recordsDecoded(), 1000);
    EXPECT_TRUE(runHolds(3, 1000));
    EXPECT_TRUE(form->OptData[3]->isChecked());
}

TEST_F(CaptureAgainstSim, NoRecordIsLostWhileTheProgramIdlesBetweenTicks) {
    start(2000);
    ASSERT_TRUE(waitForMessage(16000));
    // The finish comes 9 to 10 s into the 10 s stream: every whole record read is decoded,
    // in order, with none missing between them.
    const int n = recordsDecoded();
    EXPECT_EQ(n, CaptureByteCount / 5);
    EXPECT_GE(n, 1600); // about nine seconds of stream, with room for a loaded machine
    EXPECT_TRUE(runHolds(1, n));
}
