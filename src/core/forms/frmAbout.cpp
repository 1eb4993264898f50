// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAbout.h"

#include "MDIFormMain.h"
#include "MsgBox.h"
#include "Screen.h"
#include "Version.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout")) {}

QWidget* frmAbout::createWindow() {
    QWidget* w = Form::createWindow();
    w->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                      Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    return w;
}

void frmAbout::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("About ") + AppInfo::Title);
    picIcon = new QLabel(w);
    picIcon->setPixmap(picture(QStringLiteral("app")));
    lblTitle = new QLabel(AppInfo::Title, w);
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(QStringLiteral("Version %1.%2.%3")
                                .arg(AppInfo::Major)
                                .arg(AppInfo::Minor)
                                .arg(AppInfo::Revision),
                            w);
    lblDescription = new QLabel(QStringLiteral("This application is used to automatically "
                                               "configure the Velmora's calibration points."),
                                w);
    lblDescription->setWordWrap(true);
    auto* line = new QFrame(w);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    lblDisclaimer = new QLabel(w);
    cmdOK = new QPushButton(QStringLiteral("OK"), w);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), w);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto* grid = new QGridLayout(w);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1, 1, 2);
    grid->addWidget(lblVersion, 1, 1, 1, 2);
    grid->addWidget(lblDescription, 2, 1, 1, 2);
    grid->addWidget(line, 3, 0, 1, 3);
    grid->addWidget(lblDisclaimer, 4, 0, 2, 2);
    grid->addWidget(cmdOK, 4, 2);
    grid->addWidget(cmdSysInfo, 5, 2);
    grid->setColumnStretch(1, 1);
    w->setFixedSize(twips(5730), twips(3555));
}

void frmAbout::Form_Activate() {
    MDIFormMain::setStatusLine(QStringLiteral("Status: About this application."));
}

void frmAbout::cmdOK_Click() {
    unload();
}

void frmAbout::cmdSysInfo_Click() {
    MsgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}
