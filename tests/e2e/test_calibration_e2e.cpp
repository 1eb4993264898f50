// SPDX-License-Identifier: GPL-3.0-or-later
// Upload, download and network channel with real timers against velmora-sim.
#include "AppFixture.h"
#include "Frames.h"
#include "FrmGetCal.h"
#include "FrmNetwork.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "ModVars.h"
#include "SerialCommPort.h"
#include "SimProcess.h"
#include "SpreadGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QTimer>

namespace {

const QString CommErrorText =
    QStringLiteral("A Comm Port Error Occured.  Please check the Comm Port and try again.");

class CalibrationE2E : public AppFixture {
protected:
    /// Shows `form` and presses its Start button.
    template <class F> static F& run(F& form) {
        form.show();
        form.CmdRun->click();
        return form;
    }
    /// Waits for the one message the exchange ends with.
    MsgBoxCall message() {
        SimProcess::waitFor([&] { return !msgs->calls.isEmpty(); }, 8000);
        const MsgBoxCall last = msgs->calls.value(0);
        msgs->clear();
        return last;
    }
    void expectCommError() {
        const MsgBoxCall m = message();
        EXPECT_EQ(m.text, CommErrorText);
        EXPECT_EQ(m.icon, MsgIcon::Exclamation);
    }
    static Frames::FourSets fourSets() {
        Frames::FourSets sets{};
        for (int k = 0; k < 4; ++k)
            sets[k] = {std::uint8_t(k), std::uint8_t(100 + k), 7, 62, 120, 130, 20, 1, 40, 50};
        return sets;
    }
};

} // namespace

TEST_F(CalibrationE2E, UploadFromATypeCInstrumentFillsTheStoreAndShowsTheSheet) {
    QStringList values;
    for (const auto& set : fourSets())
        for (std::uint8_t b : set)
            values << QString::number(b);
    for (const QStringList& misbehaviour :
         {QStringList{}, QStringList{"--split", "9", "--split-gap", "10", "--garbage", "5"}}) {
        SetDefaults();
        SimProcess sim(QStringList{"--type", "C", "--sets", values.join(',')} + misbehaviour);
        ASSERT_TRUE(sim.started());
        sim.useAsPort(1);
        run(Forms::get<FrmGetCal>());
        EXPECT_EQ(message().text, "Calibration Upload from Velmora was successful.....");
        EXPECT_EQ(InstrumentType, 2);
        EXPECT_EQ(Frames::StoreSets(Setpoints), fourSets());
        SpreadGrid& sheet = *Forms::get<FrmSetpoints>().spdSetpoints;
        sheet.setCol(4);
        sheet.setRow(1); // Total of set D, on the sheet the upload opened
        EXPECT_EQ(sheet.value().toInt(), 3 * 256 + 103);
    }
}

TEST_F(CalibrationE2E, DownloadSendsTheFourSetsWhichTheInstrumentLogs) {
    for (int k = 1; k <= 4; ++k)
        Frames::StoreParameterSet(Setpoints, k, fourSets()[k - 1]);
    SimProcess sim;
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    run(Forms::get<FrmSetCal>());
    EXPECT_EQ(message().text, "Parameter transfer compete....");
    for (int k = 1; k <= 4; ++k) {
        const auto frames = sim.frames(QStringLiteral("WriteParameterSet(%1)").arg(QChar('@' + k)));
        EXPECT_FALSE(frames.isEmpty()) << k;
        for (const QByteArray& f : frames)
            EXPECT_EQ(f, *Frames::WriteParameterSet(k, fourSets()[k - 1]));
    }
}

TEST_F(CalibrationE2E, OpeningChannelThreeOnBoardTwelve) {
    SimProcess sim({"--board", "12", "--no-instrument"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    FrmNetwork& net = Forms::get<FrmNetwork>();
    net.show();
    net.CmbAddr->setCurrentIndex(12);
    net.CmbChannel->setCurrentIndex(2);
    net.CmdRun->click();
    NetScanAddress = 252; // the whole scan would take 77 s: close only the last addresses
    EXPECT_EQ(message().text, "Channel opened successfully...");
    EXPECT_TRUE(sim.waitForLog(QStringLiteral("Board(12) channel 3 open")));
    EXPECT_EQ(sim.frames(QStringLiteral("NetCloseAll(254)")).size(), 3);
}

TEST_F(CalibrationE2E, MissingOrHeldPortIsACommError) {
    const QByteArray saved = qgetenv("TARVOLM_COMM2");
    qputenv("TARVOLM_COMM2", "/dev/tarvolm-no-such-port");
    Forms::get<FrmGetCal>().show();
    Forms::get<FrmGetCal>().OptComm_Click(1);
    run(Forms::get<FrmGetCal>());
    expectCommError();
    qputenv("TARVOLM_COMM2", saved);

    SimProcess sim;
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    QProcess holder; // another program; --no-fork: the lock goes with the process killed below
    holder.start(QStringLiteral("flock"), {"--no-fork", sim.device(), "sleep", "30"});
    ASSERT_TRUE(holder.waitForStarted());
    SimProcess::pause(200);
    run(Forms::get<FrmNetwork>());
    expectCommError();
    holder.kill();
    holder.waitForFinished();

    SerialCommPort other({9600, 1024}); // another window of this program
    other.open();
    run(Forms::get<FrmSetCal>());
    expectCommError();
}

TEST_F(CalibrationE2E, InstrumentVanishingDuringAnUploadEndsItWithTheCommError) {
    // Three frames at most: never enough for two setpoint records, whatever the timing.
    SimProcess sim({"--type", "B", "--exit-after", "3"});
    ASSERT_TRUE(sim.started());
    sim.useAsPort(1);
    FrmGetCal& up = run(Forms::get<FrmGetCal>());
    expectCommError();
    EXPECT_TRUE(sim.waitForLog(QStringLiteral("Vanished")));
    EXPECT_FALSE(up.TmrUpload->isActive());
    bool ran = false; // still responsive
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_TRUE(SimProcess::waitFor([&] { return ran; }, 1000));
    up.CmdHalt->click();
    EXPECT_EQ(up.LblStatus->text(), QStringLiteral("Halted by User"));
}
