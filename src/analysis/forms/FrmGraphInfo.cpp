// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraphInfo.h"

#include "FrmGraph.h"
#include "FrmGraphType.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmGraphInfo::FrmGraphInfo() : TaskForm(QStringLiteral("FrmGraphInfo")) {}

void FrmGraphInfo::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Select Runs:"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmGraphInfo::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmGraphInfo::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmGraphInfo::Form_Activate() {
    setStatus(QStringLiteral("Status: Choose runs to appear in graph."));
}

void FrmGraphInfo::CmdBack_Click() {
    hideAndShow<FrmGraphType>();
}

void FrmGraphInfo::CmdExit_Click() {
    hideAndShow<FrmGraph>();
}
