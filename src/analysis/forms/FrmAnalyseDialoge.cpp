// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyseDialoge.h"

#include "FrmAnalyse.h"
#include "FrmGraphType.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmAnalyseDialoge::FrmAnalyseDialoge() : TaskForm(QStringLiteral("FrmAnalyseDialoge")) {}

void FrmAnalyseDialoge::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Run to Analyse"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmAnalyseDialoge::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmAnalyseDialoge::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmAnalyseDialoge::Form_Activate() {
    setStatus(QStringLiteral("Status: Choose run and parameter set to analyze."));
}

void FrmAnalyseDialoge::CmdBack_Click() {
    hideAndShow<FrmGraphType>();
}

void FrmAnalyseDialoge::CmdExit_Click() {
    hideAndShow<FrmAnalyse>();
}
