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

using CaptureAgainstSim = AppFixture;

TEST_F(CaptureAgainstSim, NoRecordIsLostWhileTheProgramIdlesBetweenTicks) {
    QTemporaryDir dir;
    QFile run(dir.filePath(QStringLiteral("run.txt")));
    ASSERT_TRUE(run.open(QIODevice::WriteOnly));
    for (int j = 1; j <= 2000; ++j)
        run.write(QByteArray::number(streamCh1(j)) + ' ' + QByteArray::number(streamCh2(j)) + '\n');
    run.close();
    SimProcess sim({"--capture-file", run.fileName()});
    ASSERT_TRUE(sim.started()) << sim.errors().toStdString();
    sim.useAsPort(1);
    FrmCapture& form = Forms::get<FrmCapture>();
    form.show();
    form.OptData[2]->click();
    form.CmdRun->click();
    ASSERT_TRUE(SimProcess::waitFor([this] { return !msgs->calls.isEmpty(); }, 16000));
    EXPECT_EQ(msgs->texts(), QStringList{"Capture Complete for Run 3"});
    EXPECT_TRUE(form.OptData[3]->isChecked());
    // The finish comes 9 to 10 s into the 10 s stream: every whole record read is decoded,
    // in order, with none missing between them.
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch1, ch2;
    const std::span<const std::int16_t> bytes(CaptureBytes);
    const int n = CaptureDecoder::decode(bytes.subspan(1, CaptureByteCount), ch1, ch2).records;
    EXPECT_EQ(n, CaptureByteCount / 5);
    EXPECT_GE(n, 1600); // about nine seconds of stream, with room for a loaded machine
    EXPECT_TRUE(runHolds(3, n));
}
