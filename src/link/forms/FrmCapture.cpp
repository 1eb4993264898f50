// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmCapture.h"

#include "CaptureDecoder.h"
#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "Screen.h"
#include "SerialForm.h"
#include "SpreadGrid.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int TickMs = 1000;
constexpr int FullBar = 10; // seconds of reception shown by the bar
constexpr int RunSlots = 8;

LineSettings captureLine() {
    LineSettings s;
    s.baud = 57600;
    s.receiveBuffer = CaptureDecoder::MaxBytes;
    return s;
}

} // namespace

FrmCapture::FrmCapture()
    : SerialForm(QStringLiteral("FrmCapture"), captureLine(), QStringLiteral("TmrUpload"), TickMs,
                 Leaving::Release),
      TmrUpload(pollTimer()) {
    TmrUpload->setTimerType(Qt::PreciseTimer); // the ticks count the seconds of a run
}

FrmCapture::~FrmCapture() = default;

void FrmCapture::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Capture Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* column = new QVBoxLayout(w);

    makeCommPortFrame(w);
    column->addWidget(FrmComm);

    FrmData = new QGroupBox(QStringLiteral("Upload Data As:"), w);
    FrmData->setObjectName(QStringLiteral("FrmData"));
    auto* runGrid = new QGridLayout(FrmData);
    auto* runGroup = new QButtonGroup(FrmData);
    for (int i = 0; i < RunSlots; ++i) {
        OptData[i] = new QRadioButton(QStringLiteral("Run %1").arg(i + 1), FrmData);
        runGroup->addButton(OptData[i], i);
        runGrid->addWidget(OptData[i], i % 4, i / 4); // runs 1 to 4 left, 5 to 8 right
    }
    OptData[0]->setChecked(true);
    connect(runGroup, &QButtonGroup::idClicked, this, &FrmCapture::OptData_Click);
    column->addWidget(FrmData);

    Label1 = new QLabel(QStringLiteral("Capture Progress:"), w);
    column->addWidget(Label1);
    PrgCapture = new ProgressBar(QStringLiteral("Seconds of capture received"), w);
    PrgCapture->setObjectName(QStringLiteral("PrgCapture"));
    PrgCapture->setRange(0, FullBar);
    PrgCapture->setProgress(0);
    column->addWidget(PrgCapture);

    auto* navigation = new QHBoxLayout;
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmCapture::CmdBack_Click);
    navigation->addWidget(CmdBack);
    navigation->addStretch(1);
    ImgLight = new QLabel(w);
    ImgLight->setObjectName(QStringLiteral("ImgLight"));
    ImgLight->setAlignment(Qt::AlignCenter);
    navigation->addWidget(ImgLight);
    navigation->addStretch(1);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmCapture::CmdExit_Click);
    navigation->addWidget(CmdExit);
    column->addLayout(navigation);

    const QSize buttonSize(twips(735), twips(615));
    auto* startStop = new QHBoxLayout;
    CmdRun = new PictureButton(QStringLiteral("run"), QStringLiteral("Start Capture"), w);
    CmdRun->setFixedSize(buttonSize);
    connect(CmdRun, &QToolButton::clicked, this, &FrmCapture::CmdRun_Click);
    startStop->addWidget(CmdRun);
    CmdHalt = new PictureButton(QStringLiteral("stop"), QStringLiteral("Stop Capture"), w);
    CmdHalt->setFixedSize(buttonSize.width() * 2, buttonSize.height());
    connect(CmdHalt, &QToolButton::clicked, this, &FrmCapture::CmdHalt_Click);
    startStop->addWidget(CmdHalt);
    column->addLayout(startStop);

    setLight(Light::Red);
    w->setFixedSize(w->sizeHint());
}

void FrmCapture::Form_Activate() {
    // Refused while a capture holds the port open; the capture then goes on on its port.
    MSComm->setPortNumber(1);
    PrgCapture->setProgress(0);
    CaptureTicks = 0;
    CaptureRun = 1;
    setStatus(QStringLiteral("Status: Capture incoming data from Velmora."));
}

void FrmCapture::setLight(Light light) {
    light_ = light;
    if (!ImgLight) return;
    ImgLight->setPixmap(FrmStopLight::picture(light));
    static const char* const says[] = {"Stop light red: not receiving",
                                       "Stop light yellow: starting",
                                       "Stop light green: receiving"};
    ImgLight->setAccessibleName(QLatin1String(says[int(light)]));
}

void FrmCapture::setInputsEnabled(bool enabled) {
    SerialForm::setInputsEnabled(enabled);
    if (FrmData) FrmData->setEnabled(enabled);
}

void FrmCapture::OptData_Click(int index) {
    CaptureRun = static_cast<std::int16_t>(index + 1);
}

void FrmCapture::CmdRun_Click() {
    setLight(Light::Yellow);
    for (int i = 0; i < RunSlots; ++i)
        if (OptData[i]->isChecked()) CaptureRun = static_cast<std::int16_t>(i + 1);
    CaptureTicks = 0;
    startPolling();
}

void FrmCapture::CmdHalt_Click() {
    setLight(Light::Red);
    // A port closed during reception was closed by a failure, and its bytes went with it:
    // finishing would reopen it and write an empty run over the slot.
    if (CaptureTicks == 0 || !MSComm->isOpen())
        endExchange();
    else
        CaptureTicks = FullBar; // the next tick finishes with what has arrived
}

void FrmCapture::CmdBack_Click() {
    endExchange();
    hideAndShow<FrmSetpoints>();
}

void FrmCapture::CmdExit_Click() {
    endExchange();
    hideAndShow<FrmGraphType>();
}

void FrmCapture::TmrUpload_Timer() {
    runTick();
}

void FrmCapture::tickFailed() {
    if (MSComm->isOpen()) MSComm->close();
    MsgBox(QStringLiteral("A Comm Port error has occured...."));
}

void FrmCapture::tick() {
    if (!MSComm->isOpen()) {
        MSComm->open();
        setLight(Light::Red);
    }
    if (CaptureTicks == 0) {
        if (MSComm->waitingCount() > 2) {
            setLight(Light::Green);
            CaptureTicks = 1;
        }
        PrgCapture->setProgress(CaptureTicks);
        return;
    }
    setLight(Light::Green);
    ++CaptureTicks;
    PrgCapture->setProgress(std::min<int>(CaptureTicks, FullBar));
    if (CaptureTicks < FullBar) return;
    finish();
}

void FrmCapture::finish() {
    TmrUpload->stop();
    MSComm->waitingCount(); // takes in what the line has delivered up to now
    CommBuffer = MSComm->readAll();
    // The count is what the read returned, so bytes that arrived after the waiting count was
    // taken are kept too.
    const int n =
        static_cast<int>(std::min<qsizetype>(CommBuffer.size(), CaptureDecoder::MaxBytes));
    CaptureByteCount = static_cast<std::int16_t>(n);
    if (MSComm->isOpen()) MSComm->close();
    for (int i = 1; i <= n; ++i)
        CaptureBytes[i] = static_cast<std::uint8_t>(CommBuffer[i - 1]);
    setLight(Light::Red);

    DecodeRunData();
    WriteRunToGrid();
    MsgBox(QStringLiteral("Capture Complete for Run ") + QString::number(CaptureRun));

    PrgCapture->setProgress(0);
    setInputsEnabled(true);
    CmdRun->setFocus();
    // The slot after this one, run 1 after run 8; selecting it chooses it as a click would.
    const int next = CaptureRun == RunSlots ? 0 : CaptureRun;
    OptData[next]->setChecked(true);
    OptData_Click(next);
}

void FrmCapture::DecodeRunData() {
    const int n = std::clamp<int>(CaptureByteCount, 0, CaptureDecoder::MaxBytes);
    const auto result = CaptureDecoder::decode(
        std::span<const std::int16_t>(CaptureBytes).subspan(1, n), Ch1Codes, Ch2Codes);
    if (result.tooMany) throw std::length_error("more records than one capture holds");
}

void FrmCapture::WriteRunToGrid() {
    SpreadGrid& grid = MDIFormMain::torqueGrid(); // the grid shows the captured data itself
    CaptureDecoder::writeRun(CapturedData, CaptureRun, Ch1Codes, Ch2Codes);
    grid.refresh();
}
