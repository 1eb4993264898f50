// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraphType.h"

#include "FrmAnalyseDialoge.h"
#include "FrmCapture.h"
#include "FrmGraphInfo.h"
#include "Screen.h"

#include <QVBoxLayout>

FrmGraphType::FrmGraphType() : TaskForm(QStringLiteral("FrmGraphType")) {}

void FrmGraphType::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Graph Style"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* layout = new QVBoxLayout(w);
    const char* const captions[] = {"Graph Multiple Runs", "Analyse Single Run"};
    for (int i = 0; i < 2; ++i) {
        CmdType[i] = new QPushButton(QLatin1String(captions[i]), w);
        connect(CmdType[i], &QPushButton::clicked, this, [this, i] { CmdType_Click(i); });
        layout->addWidget(CmdType[i]);
    }
    CmdCancel = new QPushButton(QStringLiteral("Cancel"), w);
    connect(CmdCancel, &QPushButton::clicked, this, &FrmGraphType::CmdCancel_Click);
    layout->addWidget(CmdCancel);
    CmdBack = makeBackButton(w);
    CmdBack->setFixedSize(twips(615), twips(615));
    connect(CmdBack, &QToolButton::clicked, this, &FrmGraphType::CmdBack_Click);
    layout->addWidget(CmdBack, 0, Qt::AlignHCenter);
    fixSizeForCaption(w);
}

void FrmGraphType::Form_Activate() {
    setStatus(QStringLiteral("Status: Graph multiple runs or analyze a single run."));
}

void FrmGraphType::CmdType_Click(int index) {
    hide();
    if (index == 0)
        Forms::get<FrmGraphInfo>().show();
    else if (index == 1)
        Forms::get<FrmAnalyseDialoge>().show();
}

void FrmGraphType::CmdCancel_Click() {
    hide();
}

void FrmGraphType::CmdBack_Click() {
    hideAndShow<FrmCapture>();
}
