// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGetCal.h"

#include "Frames.h"
#include "FrmNetwork.h"
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

#include <algorithm>

namespace {
/// Identify replies waiting before a read is worth it: two replies.
constexpr int IdentifyThreshold = 10;
/// More than this many bytes must wait before the setpoint phase reads: two records.
constexpr int RecordThreshold = 88;
/// The identify phase gives up on this tick, having sent one request fewer.
constexpr int IdentifyTickLimit = 20;
} // namespace

FrmGetCal::FrmGetCal()
    : SerialForm(QStringLiteral("FrmGetCal"), LineSettings{9600, 1024}, QStringLiteral("TmrUpload"),
                 200),
      TmrUpload(pollTimer()) {}

FrmGetCal::~FrmGetCal() = default;

void FrmGetCal::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Upload Cal Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("upload"))));

    makeCommPortFrame(w);

    Label1 = new QLabel(QStringLiteral("Upload Progress:"), w);
    LblStatus = new QLabel(w);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setFrameShape(QFrame::Panel);
    LblStatus->setFrameShadow(QFrame::Sunken);
    LblStatus->setMinimumWidth(
        LblStatus->fontMetrics().horizontalAdvance(QStringLiteral("Attempting Connection")) +
        twips(240));

    CmdBack = makeBackButton(w);
    CmdRun =
        new PictureButton(QStringLiteral("upload"), QStringLiteral("Upload Calibration Data"), w);
    CmdHalt = new PictureButton(QStringLiteral("stop"), QStringLiteral("Stop Upload"), w);
    CmdExit = makeNextButton(w);
    connect(CmdRun, &QToolButton::clicked, this, &FrmGetCal::CmdRun_Click);
    connect(CmdHalt, &QToolButton::clicked, this, &FrmGetCal::CmdHalt_Click);
    connect(CmdBack, &QToolButton::clicked, this, &FrmGetCal::CmdBack_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmGetCal::CmdExit_Click);

    auto* progress = new QHBoxLayout;
    progress->addWidget(Label1);
    progress->addWidget(LblStatus, 1);

    layOutExchange(progress, {CmdBack, CmdRun, CmdHalt, CmdExit});
    w->resize(twips(4800), twips(2900));
}

void FrmGetCal::Form_Activate() {
    LblStatus->clear();
    FrmComm->setEnabled(true);
    setStatus(QStringLiteral("Status: Get Setpoints from Velmora."));
}

void FrmGetCal::CmdRun_Click() {
    load();
    startPolling();
    if (!MSComm->isOpen()) {
        std::fill(RxBytes.begin(), RxBytes.begin() + 1201, std::int16_t(0));
        InstrumentFound = 0;
    }
    CommTicks = 0;
}

void FrmGetCal::CmdHalt_Click() {
    LblStatus->setText(QStringLiteral("Halted by User"));
    endExchange();
}

void FrmGetCal::CmdBack_Click() {
    endExchange();
    hideAndShow<FrmNetwork>();
}

void FrmGetCal::CmdExit_Click() {
    endExchange();
    hideAndShow<FrmSetpoints>();
}

void FrmGetCal::TmrUpload_Timer() {
    runTick();
}

void FrmGetCal::tick() {
    if (!MSComm->isOpen()) MSComm->open();
    if (InstrumentFound != 1)
        identifyStep();
    else
        readSetpointsStep();
}

void FrmGetCal::identifyStep() {
    LblStatus->setText(QStringLiteral("Attempting Connection"));
    ++CommTicks;
    // At or past the limit: the download shares the count and may have stepped over it.
    if (CommTicks >= IdentifyTickLimit) {
        MsgBox(QStringLiteral(
            "Unable to connect with Velmora.  Please check connection and try again."));
        endExchange();
        return;
    }
    MSComm->write(Frames::IdentifyRequest());
    if (MSComm->waitingCount() < IdentifyThreshold) return;
    const auto type = Frames::FindIdentifyReply(MSComm->readAll());
    if (!type) return;
    InstrumentFound = 1;
    InstrumentType = static_cast<std::int16_t>(*type);
    LblStatus->setText(QStringLiteral("VL Type %1 Detected").arg(QChar('A' + *type)));
}

void FrmGetCal::readSetpointsStep() {
    if (!MSComm->isOpen()) MSComm->open();
    MSComm->write(Frames::ReadSetpointsRequest());
    if (MSComm->waitingCount() <= RecordThreshold) return;
    const int n = MSComm->waitingCount();
    CommBuffer = MSComm->readAll();
    const qsizetype copied =
        std::min<qsizetype>({qsizetype(n), CommBuffer.size(), qsizetype(RxBytes.size()) - 1});
    for (qsizetype i = 0; i < copied; ++i)
        RxBytes[i + 1] = static_cast<std::uint8_t>(CommBuffer[i]);

    // Only this read counts: what an earlier read left in RxBytes past its end must never
    // complete a record, so a record cut at the end of the read waits for the next request.
    const auto start = Frames::FindSetpointRecord(CommBuffer);
    if (!start) return;
    const Frames::FourSets sets = *Frames::SetpointRecordSets(CommBuffer, *start);

    LblStatus->setText(QStringLiteral("Upload Success"));
    MSComm->close();
    for (int k = 1; k <= 4; ++k)
        Frames::StoreParameterSet(Setpoints, k, sets[k - 1]);
    stopPolling();
    hide();
    MsgBox(QStringLiteral("Calibration Upload from Velmora was successful....."));
    hide();
    FrmSetpoints& sheet = Forms::get<FrmSetpoints>();
    sheet.show();
    if (sheet.window()) sheet.window()->repaint();
}
