// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmSetCal.h"

#include "Frames.h"
#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "Screen.h"
#include "SerialForm.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
/// One acknowledgement is four bytes.
constexpr int AckThreshold = 4;
/// Ticks the whole download may take; the next one declares failure.
constexpr int DownloadTickLimit = 20;
} // namespace

FrmSetCal::FrmSetCal()
    : SerialForm(QStringLiteral("FrmSetCal"), LineSettings{9600, 1024},
                 QStringLiteral("TmrDownload"), 200),
      TmrDownload(pollTimer()) {}

FrmSetCal::~FrmSetCal() = default;

void FrmSetCal::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Download Cal Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("download"))));

    makeCommPortFrame(w);

    Label1 = new QLabel(QStringLiteral("Download Progress:"), w);
    PrgDownload = new ProgressBar(QStringLiteral("Parameter sets downloaded"), w);
    PrgDownload->setObjectName(QStringLiteral("PrgDownload"));
    PrgDownload->setRange(0, 100);

    SSCommand1 = makeBackButton(w);
    CmdRun = new PictureButton(QStringLiteral("download"),
                               QStringLiteral("Download Calibration Data"), w);
    CmdHalt = new PictureButton(QStringLiteral("stop"), QStringLiteral("Stop Upload"), w);
    CmdExit = makeNextButton(w);
    connect(CmdRun, &QToolButton::clicked, this, &FrmSetCal::CmdRun_Click);
    connect(CmdHalt, &QToolButton::clicked, this, &FrmSetCal::CmdHalt_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmSetCal::CmdExit_Click);
    connect(SSCommand1, &QToolButton::clicked, this, &FrmSetCal::SSCommand1_Click);

    auto* progress = new QVBoxLayout;
    progress->addWidget(Label1);
    progress->addWidget(PrgDownload);

    layOutExchange(progress, {SSCommand1, CmdRun, CmdHalt, CmdExit});
    w->resize(twips(4800), twips(3200));
}

void FrmSetCal::Form_Activate() {
    PrgDownload->setProgress(0);
    FrmComm->setEnabled(true);
    setStatus(QStringLiteral("Status: Program Velmora with new setpoints."));
}

void FrmSetCal::CmdRun_Click() {
    load();
    startPolling();
    CommTicks = 0;
}

void FrmSetCal::CmdHalt_Click() {
    if (MSComm->isOpen()) endExchange();
}

void FrmSetCal::CmdExit_Click() {
    if (MSComm->isOpen()) MSComm->close();
    TmrDownload->stop();
    hideAndShow<FrmSetpoints>();
}

void FrmSetCal::SSCommand1_Click() {
    if (MSComm->isOpen()) MSComm->close();
    TmrDownload->stop();
    hideAndShow<FrmGraphType>();
}

void FrmSetCal::TmrDownload_Timer() {
    runTick();
}

void FrmSetCal::tick() {
    if (!MSComm->isOpen()) {
        MSComm->open();
        DownloadStep = 0;
    }
    ++CommTicks;
    if (CommTicks > DownloadTickLimit) {
        MsgBox(QStringLiteral("Unable to communicate with Velmora.  Please, check the "
                              "connection and try again."));
        endExchange();
        PrgDownload->setProgress(0);
        return;
    }
    const int k = DownloadStep == 0 ? 1 : DownloadStep == 25 ? 2 : DownloadStep == 50 ? 3 : 4;
    const auto frame = Frames::WriteParameterSet(Setpoints, k);
    if (!frame) throw CommError("a setpoint of this set does not fit in a byte");
    const QByteArray ack = *Frames::WriteAck(k);
    MSComm->write(*frame);
    if (MSComm->waitingCount() >= AckThreshold && Frames::ContainsReply(MSComm->readAll(), ack))
        DownloadStep += 25;
    PrgDownload->setProgress(DownloadStep);
    if (DownloadStep > 75) {
        endExchange();
        hide();
        MsgBox(QStringLiteral("Parameter transfer compete...."));
        PrgDownload->setProgress(0);
    }
}

void FrmSetCal::tickFailed() {
    SerialForm::tickFailed();
    PrgDownload->setProgress(0);
}
