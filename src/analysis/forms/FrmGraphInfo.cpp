// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraphInfo.h"

#include "FrmGraph.h"
#include "FrmGraphType.h"
#include "ModVars.h"
#include "RunLimits.h"
#include "Screen.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

FrmGraphInfo::FrmGraphInfo() : TaskForm(QStringLiteral("FrmGraphInfo")) {}

void FrmGraphInfo::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Select Runs:"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* column = new QVBoxLayout(w);

    FrmRuns = new QGroupBox(QStringLiteral("Include in Graph: "), w);
    FrmRuns->setObjectName(QStringLiteral("FrmRuns"));
    auto* grid = new QGridLayout(FrmRuns);
    for (int i = 0; i < RunLimits::Runs; ++i) {
        ChkRun[i] = new QCheckBox(QStringLiteral("Run %1").arg(i + 1), FrmRuns);
        ChkRun[i]->setChecked(true);
        grid->addWidget(ChkRun[i], i % 4, i / 4); // runs 1 to 4 left, 5 to 8 right
    }
    CmdSetAll = new QPushButton(QStringLiteral("'X' All"), FrmRuns);
    CmdClrAll = new QPushButton(QStringLiteral("Clear All"), FrmRuns);
    grid->addWidget(CmdSetAll, 4, 0);
    grid->addWidget(CmdClrAll, 4, 1);
    connect(CmdSetAll, &QPushButton::clicked, this, &FrmGraphInfo::CmdSetAll_Click);
    connect(CmdClrAll, &QPushButton::clicked, this, &FrmGraphInfo::CmdClrAll_Click);
    column->addWidget(FrmRuns);

    auto* navigation = makeNavigationRow(w, CmdBack, CmdGraph, QStringLiteral("Graph"));
    connect(CmdBack, &QToolButton::clicked, this, &FrmGraphInfo::CmdBack_Click);
    connect(CmdGraph, &QToolButton::clicked, this, &FrmGraphInfo::CmdGraph_Click);
    column->addLayout(navigation);
    fixSizeForCaption(w);
}

void FrmGraphInfo::Form_Activate() {
    setStatus(QStringLiteral("Status: Choose runs to appear in graph."));
}

void FrmGraphInfo::FindRunLimits() {
    std::array<bool, RunLimits::Runs> chosen{};
    for (int i = 0; i < RunLimits::Runs; ++i)
        chosen[i] = ChkRun[i]->isChecked();
    const RunLimits::Limits limits = RunLimits::find(CapturedData, chosen);
    RunStart = limits.start;
    RunEnd = limits.end;
    RunMax = limits.max;
}

void FrmGraphInfo::CmdSetAll_Click() {
    for (QCheckBox* box : ChkRun)
        box->setChecked(true);
}

void FrmGraphInfo::CmdClrAll_Click() {
    for (QCheckBox* box : ChkRun)
        box->setChecked(false);
}

void FrmGraphInfo::CmdGraph_Click() {
    setWindowWaitCursor(window(), true);
    FindRunLimits();
    setWindowWaitCursor(window(), false);
    hideAndShow<FrmGraph>();
}

void FrmGraphInfo::CmdBack_Click() {
    hideAndShow<FrmGraphType>();
}
