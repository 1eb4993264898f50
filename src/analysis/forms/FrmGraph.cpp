// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraph.h"

#include "FrmAnalyseDialoge.h"
#include "FrmGraphInfo.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmGraph::FrmGraph() : TaskForm(QStringLiteral("FrmGraph")) {}

void FrmGraph::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Current Graph"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmGraph::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmGraph::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmGraph::Form_Activate() {
    setStatus(QStringLiteral("Status: Graph complete."));
}

void FrmGraph::CmdBack_Click() {
    hideAndShow<FrmGraphInfo>();
}

void FrmGraph::CmdExit_Click() {
    hideAndShow<FrmAnalyseDialoge>();
}
