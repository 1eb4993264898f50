// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGetCal.h"

#include "FrmNetwork.h"
#include "FrmSetpoints.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmGetCal::FrmGetCal() : TaskForm(QStringLiteral("FrmGetCal")) {}

void FrmGetCal::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Upload Cal Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("upload"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmGetCal::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmGetCal::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmGetCal::Form_Activate() {
    setStatus(QStringLiteral("Status: Get Setpoints from Velmora."));
}

void FrmGetCal::CmdBack_Click() {
    hideAndShow<FrmNetwork>();
}

void FrmGetCal::CmdExit_Click() {
    hideAndShow<FrmSetpoints>();
}
