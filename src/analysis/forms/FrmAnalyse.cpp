// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyse.h"

#include "FrmAnalyseDialoge.h"
#include "FrmSetCal.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmAnalyse::FrmAnalyse() : TaskForm(QStringLiteral("FrmAnalyse")) {}

void FrmAnalyse::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Analyse"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmAnalyse::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmAnalyse::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmAnalyse::Form_Activate() {
    setStatus(QStringLiteral("Status: Analyze a run with a parameter set."));
}

void FrmAnalyse::CmdBack_Click() {
    hideAndShow<FrmAnalyseDialoge>();
}

void FrmAnalyse::CmdExit_Click() {
    hideAndShow<FrmSetCal>();
}
