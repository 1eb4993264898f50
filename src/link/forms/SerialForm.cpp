// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialForm.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

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
