// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialForm.h"

#include "MsgBox.h"
#include "Screen.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

SerialForm::SerialForm(const QString& name, const LineSettings& line, const QString& timerName,
                       int intervalMs, Leaving leaving)
    : TaskForm(name, leaving), MSComm(CommPort::create(line)), timer_(new QTimer(this)) {
    timer_->setObjectName(timerName);
    timer_->setInterval(intervalMs);
    connect(timer_, &QTimer::timeout, this, &SerialForm::runTick);
}

void SerialForm::runTick() {
    if (isBusy()) return;
    const Busy busy(*this);
    load();
    try {
        tick();
    } catch (const std::exception&) {
        tickFailed();
    }
}

void SerialForm::tickFailed() {
    MsgBox(commErrorText(), MsgButtons::Ok, MsgIcon::Exclamation);
    stopPolling();
}

void SerialForm::setInputsEnabled(bool enabled) {
    if (FrmComm) FrmComm->setEnabled(enabled);
}

void SerialForm::startPolling() {
    if (!timer_->isActive()) timer_->start();
    setInputsEnabled(false);
}

void SerialForm::stopPolling() {
    timer_->stop();
    setInputsEnabled(true);
}

void SerialForm::endExchange() {
    if (MSComm->isOpen()) MSComm->close();
    stopPolling();
}

void SerialForm::OptComm_Click(int Index) {
    if (Index == 0 || Index == 1) MSComm->setPortNumber(Index + 1);
}

void SerialForm::closeRequested() {
    // Unlike hiding, closing ends the exchange: no message or window comes from it later.
    Forms::release(*this);
}

void SerialForm::release() {
    timer_->stop();
    MSComm->close();
}

void SerialForm::makeCommPortFrame(QWidget* parent) {
    FrmComm = new QGroupBox(QStringLiteral("Comm Port:"), parent);
    FrmComm->setObjectName(QStringLiteral("FrmComm"));
    auto* column = new QVBoxLayout(FrmComm);
    auto* group = new QButtonGroup(FrmComm);
    for (int i = 0; i < 2; ++i) {
        OptComm[i] = new QRadioButton(QStringLiteral("Comm Port %1").arg(i + 1), FrmComm);
        OptComm[i]->setObjectName(QStringLiteral("OptComm%1").arg(i));
        group->addButton(OptComm[i], i);
        column->addWidget(OptComm[i]);
    }
    OptComm[0]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, &SerialForm::OptComm_Click);
}

void SerialForm::layOutExchange(QLayout* progress, const std::array<PictureButton*, 4>& buttons) {
    auto* row = new QHBoxLayout;
    for (PictureButton* b : buttons) {
        b->setFixedSize(twips(615), twips(615));
        row->addWidget(b);
    }
    row->insertStretch(1); // Previous and Next at the edges, Start and Stop together
    row->insertStretch(4);
    auto* layout = new QVBoxLayout(window());
    layout->addWidget(FrmComm);
    layout->addLayout(progress);
    layout->addStretch(1);
    layout->addLayout(row);
}

QString commErrorText() {
    return QStringLiteral("A Comm Port Error Occured.  Please check the Comm Port and try again.");
}
