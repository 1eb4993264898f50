// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmFileBrowse.h"

#include "ModVars.h"
#include "Screen.h"

#include <QVBoxLayout>

FrmFileBrowse::FrmFileBrowse() : TaskForm(QStringLiteral("FrmFileBrowse")) {}

void FrmFileBrowse::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("File Browser"));
    auto* layout = new QVBoxLayout(w);
    CmdCancel = new QPushButton(QStringLiteral("&Cancel"), w);
    CmdCancel->setToolTip(QStringLiteral("Press to Cancel Selection."));
    connect(CmdCancel, &QPushButton::clicked, this, &FrmFileBrowse::CmdCancel_Click);
    layout->addWidget(CmdCancel);
    w->resize(twips(6000), twips(4000));
}

void FrmFileBrowse::Form_Activate() {
    if (FileBrowseMode == 1) {
        window()->setWindowTitle(QStringLiteral("Save File"));
        setStatus(QStringLiteral("Status: Save File."));
    } else {
        window()->setWindowTitle(QStringLiteral("Read File"));
        setStatus(QStringLiteral("Status: Read File."));
    }
}

void FrmFileBrowse::CmdCancel_Click() {
    hide();
}
