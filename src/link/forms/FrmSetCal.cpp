// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmSetCal.h"

#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmSetCal::FrmSetCal() : TaskForm(QStringLiteral("FrmSetCal")) {}

void FrmSetCal::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Download Cal Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("download"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmSetCal::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmSetCal::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmSetCal::Form_Activate() {
    setStatus(QStringLiteral("Status: Program Velmora with new setpoints."));
}

void FrmSetCal::CmdBack_Click() {
    hideAndShow<FrmGraphType>();
}

void FrmSetCal::CmdExit_Click() {
    hideAndShow<FrmSetpoints>();
}
