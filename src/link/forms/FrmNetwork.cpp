// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmNetwork.h"

#include "FrmGetCal.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmNetwork::FrmNetwork() : TaskForm(QStringLiteral("FrmNetwork")) {}

void FrmNetwork::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Network Channel:"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("network"))));
    auto* row = new QHBoxLayout(w);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmNetwork::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmNetwork::Form_Activate() {
    setStatus(QStringLiteral("Status: Open a network channel."));
}

void FrmNetwork::CmdExit_Click() {
    hideAndShow<FrmGetCal>();
}
