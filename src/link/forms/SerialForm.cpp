// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialForm.h"

#include "Screen.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

SerialForm::SerialForm(const QString& name, const LineSettings& line, const QString& timerName,
                       int intervalMs, std::function<void()> tick)
    : TaskForm(name), MSComm(CommPort::create(line)), timer_(new QTimer(this)) {
    timer_->setObjectName(timerName);
    timer_->setInterval(intervalMs);
    connect(timer_, &QTimer::timeout, this, std::move(tick));
}

void SerialForm::layOutExchange(QWidget* window, QWidget* commFrame, QLayout* progress,
                                const std::array<PictureButton*, 4>& buttons) {
    auto* row = new QHBoxLayout;
    for (PictureButton* b : buttons) {
        b->setFixedSize(twips(615), twips(615));
        row->addWidget(b);
    }
    row->insertStretch(1); // Previous and Next at the edges, Start and Stop together
    row->insertStretch(4);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(commFrame);
    layout->addLayout(progress);
    layout->addStretch(1);
    layout->addLayout(row);
}

void SerialForm::release() {
    timer_->stop();
    MSComm->close();
}

QString commErrorText() {
    return QStringLiteral("A Comm Port Error Occured.  Please check the Comm Port and try again.");
}

QGroupBox* makeCommPortFrame(QWidget* parent, std::array<QRadioButton*, 2>& options,
                             std::function<void(int)> clicked) {
    auto* frame = new QGroupBox(QStringLiteral("Comm Port:"), parent);
    frame->setObjectName(QStringLiteral("FrmComm"));
    auto* column = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < 2; ++i) {
        options[i] = new QRadioButton(QStringLiteral("Comm Port %1").arg(i + 1), frame);
        options[i]->setObjectName(QStringLiteral("OptComm%1").arg(i));
        group->addButton(options[i], i);
        column->addWidget(options[i]);
    }
    options[0]->setChecked(true);
    QObject::connect(group, &QButtonGroup::idClicked, frame, std::move(clicked));
    return frame;
}
