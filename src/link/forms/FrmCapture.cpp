// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmCapture.h"

#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "Screen.h"

#include <QHBoxLayout>

FrmCapture::FrmCapture() : TaskForm(QStringLiteral("FrmCapture")) {}

void FrmCapture::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Capture Data"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* row = new QHBoxLayout(w);
    CmdBack = makeBackButton(w);
    connect(CmdBack, &QToolButton::clicked, this, &FrmCapture::CmdBack_Click);
    row->addWidget(CmdBack);
    CmdExit = makeNextButton(w);
    connect(CmdExit, &QToolButton::clicked, this, &FrmCapture::CmdExit_Click);
    row->addWidget(CmdExit);
    w->resize(twips(4000), twips(1500));
}

void FrmCapture::Form_Activate() {
    setStatus(QStringLiteral("Status: Capture incoming data from Velmora."));
}

void FrmCapture::CmdBack_Click() {
    hideAndShow<FrmSetpoints>();
}

void FrmCapture::CmdExit_Click() {
    hideAndShow<FrmGraphType>();
}
