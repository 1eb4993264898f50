// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmNetwork.h"

#include "Frames.h"
#include "FrmGetCal.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "Screen.h"
#include "SerialForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
/// A board's reply is one six-byte frame.
constexpr int ReplyThreshold = 6;
/// Frames each address gets before the scan moves on without a reply.
constexpr int TicksPerAddress = 3;
/// NetScanAddress while the chosen channel is being opened; above it the attempt has failed.
constexpr int OpenPhase = 255;
} // namespace

FrmNetwork::FrmNetwork()
    : SerialForm(QStringLiteral("FrmNetwork"), LineSettings{9600, 1024},
                 QStringLiteral("TmrNetwork"), 100),
      TmrNetwork(pollTimer()) {}

FrmNetwork::~FrmNetwork() = default;

void FrmNetwork::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Network Channel:"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("network"))));

    LblAddress = new QLabel(QStringLiteral("Address:"), w);
    CmbAddr = new QComboBox(w);
    CmbAddr->setObjectName(QStringLiteral("CmbAddr"));
    for (int i = 0; i <= 255; ++i)
        CmbAddr->addItem(QString::number(i));
    CmbAddr->setMaxVisibleItems(16);
    LblChannel = new QLabel(QStringLiteral("Channel:"), w);
    CmbChannel = new QComboBox(w);
    CmbChannel->setObjectName(QStringLiteral("CmbChannel"));
    for (int i = 1; i <= 8; ++i)
        CmbChannel->addItem(QStringLiteral("Channel %1").arg(i));
    const int listWidth = std::max(CmbAddr->sizeHint().width(), CmbChannel->sizeHint().width());
    CmbAddr->setMinimumWidth(listWidth);
    CmbChannel->setMinimumWidth(listWidth);
    connect(CmbAddr, &QComboBox::currentIndexChanged, this, &FrmNetwork::CmbAddr_Click);
    connect(CmbChannel, &QComboBox::currentIndexChanged, this, &FrmNetwork::CmbChannel_Click);

    makeCommPortFrame(w);

    Label1 = new QLabel(QStringLiteral("Status:"), w);
    LblStatus = new QLabel(w);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setFrameShape(QFrame::Panel);
    LblStatus->setFrameShadow(QFrame::Sunken);
    LblStatus->setMinimumWidth(LblStatus->fontMetrics().horizontalAdvance(
                                   QStringLiteral("Closing all channels at address #254")) +
                               twips(240));

    CmdRun = new PictureButton(QStringLiteral("network"), QStringLiteral("Open Channel"), w);
    CmdHalt =
        new PictureButton(QStringLiteral("stop"), QStringLiteral("Stop Attempting Contact"), w);
    CmdExit = makeNextButton(w);
    connect(CmdRun, &QToolButton::clicked, this, &FrmNetwork::CmdRun_Click);
    connect(CmdHalt, &QToolButton::clicked, this, &FrmNetwork::CmdHalt_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmNetwork::CmdExit_Click);

    auto* choice = new QGridLayout;
    choice->addWidget(LblAddress, 0, 0);
    choice->addWidget(CmbAddr, 0, 1);
    choice->addWidget(LblChannel, 1, 0);
    choice->addWidget(CmbChannel, 1, 1);
    choice->setRowStretch(2, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(choice);
    top->addStretch(1);
    top->addWidget(FrmComm);

    auto* status = new QHBoxLayout;
    status->addWidget(Label1);
    status->addWidget(LblStatus, 1);

    auto* buttons = new QHBoxLayout;
    for (PictureButton* b : {CmdRun, CmdHalt, CmdExit}) {
        b->setFixedSize(twips(615), twips(615));
        buttons->addWidget(b);
    }
    buttons->insertStretch(2);

    auto* layout = new QVBoxLayout(w);
    layout->addLayout(top);
    layout->addLayout(status);
    layout->addStretch(1);
    layout->addLayout(buttons);
    w->resize(twips(5200), twips(2900));
}

void FrmNetwork::Form_Activate() {
    CmbChannel->setCurrentIndex(0);
    CmbAddr->setCurrentIndex(0);
    StoreSelection(); // also when both lists already showed their first items
    NetScanAddress = 0;
    NetChannel = 0;
    MSComm->setPortNumber(1); // refused while open: the attempt keeps its port
    LblStatus->setText(QStringLiteral("Select a Network Channel..."));
    setStatus(QStringLiteral("Status: Open a network channel."));
}

void FrmNetwork::StoreSelection() {
    NetAddress = static_cast<std::int16_t>(CmbAddr->currentIndex());
    NetChannel = static_cast<std::int16_t>(CmbChannel->currentIndex());
}

void FrmNetwork::CmbAddr_Click() {
    StoreSelection();
}

void FrmNetwork::CmbChannel_Click() {
    StoreSelection();
}

void FrmNetwork::setInputsEnabled(bool enabled) {
    SerialForm::setInputsEnabled(enabled);
    if (CmbChannel) CmbChannel->setEnabled(enabled);
    if (CmbAddr) CmbAddr->setEnabled(enabled);
}

void FrmNetwork::CmdRun_Click() {
    load();
    startPolling();
    NetScanTicks = 0;
    NetScanAddress = 0;
}

void FrmNetwork::CmdHalt_Click() {
    stopPolling(); // the port stays open
    LblStatus->setText(QStringLiteral("Process halted by user.."));
}

void FrmNetwork::CmdExit_Click() {
    hideAndShow<FrmGetCal>();
}

void FrmNetwork::TmrNetwork_Timer() {
    runTick();
}

void FrmNetwork::tick() {
    if (!MSComm->isOpen()) MSComm->open();
    if (++NetScanTicks >= TicksPerAddress) {
        NetScanTicks = 0;
        ++NetScanAddress;
    }
    if (NetScanAddress == OpenPhase && openStep()) return;
    if (NetScanAddress < OpenPhase) closeStep();
    if (NetScanAddress > OpenPhase) {
        endExchange();
        MsgBox(QStringLiteral(
            "Could not find selected channel.  Please check the dip-switch and try again."));
    }
}

bool FrmNetwork::openStep() {
    LblStatus->setText(
        QStringLiteral("Opening Channel %1 on board #%2").arg(NetChannel + 1).arg(NetAddress));
    const auto frame = Frames::NetOpenChannel(NetAddress, NetChannel + 1);
    if (!frame) throw CommError("no frame carries this address and channel");
    MSComm->write(*frame);
    if (MSComm->waitingCount() < ReplyThreshold) return false;
    if (!Frames::ContainsReply(MSComm->readAll(),
                               *Frames::NetOpenChannelReply(NetAddress, NetChannel + 1)))
        return false;
    hide();
    TmrNetwork->stop();
    if (MSComm->isOpen()) MSComm->close();
    MsgBox(QStringLiteral("Channel opened successfully..."));
    hide();
    // The next opening starts from a fresh window in its design state.
    Forms::release(*this);
    return true;
}

void FrmNetwork::closeStep() {
    LblStatus->setText(QStringLiteral("Closing all channels at address #%1").arg(NetScanAddress));
    const auto frame = Frames::NetCloseAll(NetScanAddress);
    if (!frame) throw CommError("no frame carries this address");
    MSComm->write(*frame);
    if (MSComm->waitingCount() >= ReplyThreshold &&
        Frames::ContainsReply(MSComm->readAll(), *Frames::NetCloseAllReply(NetScanAddress)))
        ++NetScanAddress;
}
