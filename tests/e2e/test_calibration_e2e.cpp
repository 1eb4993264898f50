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

#include <QLabel>
#include <QProcess>

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
