// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAbout.h"

#include "Launcher.h"
#include "MDIFormMain.h"
#include "MsgBox.h"
#include "Screen.h"
#include "Version.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QShortcut>

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout"), Leaving::Unload) {}

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
    // OK is the default button: Enter presses it, or the button that has the focus. It is the
    // cancel button too: Esc presses it.
    const auto pressDefault = [this] {
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        (focused && focused->window() == window() ? focused : cmdOK)->click();
    };
    for (QKeySequence keys : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(keys, w), &QShortcut::activated, this, pressDefault);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), w), &QShortcut::activated, cmdOK,
            &QPushButton::click);

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
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    Registry::Key root = Registry::HKEY_LOCAL_MACHINE;
    QString key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    QString value = QStringLiteral("PATH");
    QString path;
    if (GetKeyValue(root, key, value, path)) {
        if (launchProgram(path, {})) return;
    } else {
        key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
        value = QStringLiteral("MSINFO");
        QString folder;
        if (GetKeyValue(root, key, value, folder)) {
            const QString tool = folder + QStringLiteral("/MSINFO32.EXE");
            if (QFileInfo(tool).isFile() && launchProgram(tool, {})) return;
        }
    }
    MsgBox(QStringLiteral("System Information Is Unavailable At This Time"));
}

bool frmAbout::GetKeyValue(Registry::Key& KeyRoot, QString& KeyName, QString& SubKeyRef,
                           QString& KeyVal) {
    Registry& reg = Registry::instance();
    Registry::Key key = 0;
    bool ok = false;
    if (reg.RegOpenKeyEx(KeyRoot, KeyName, 0, 0x2003F, key) != Registry::ERROR_SUCCESS) {
        KeyVal.clear();
    } else {
        QByteArray buffer(1024, '\0');
        std::uint32_t size = 1024;
        std::uint32_t type = 0;
        if (reg.RegQueryValueEx(key, SubKeyRef, type, buffer, size) != Registry::ERROR_SUCCESS) {
            KeyVal.clear();
        } else {
            QByteArray text = buffer.left(qMin<qsizetype>(size, buffer.size()));
            if (text.endsWith('\0')) text.chop(1);
            if (type == Registry::REG_SZ) {
                KeyVal = QString::fromLocal8Bit(text);
            } else if (type == Registry::REG_DWORD) {
                quint32 n = 0;
                for (int i = 0; i < 4 && i < text.size(); ++i)
                    n |= quint32(quint8(text[i])) << (8 * i);
                KeyVal = QString::number(n);
            }
            ok = true;
        }
    }
    reg.RegCloseKey(key); // also after a failed open: the failure of that close is ignored
    return ok;
}
