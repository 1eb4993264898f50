// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmStart.h"

#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "Screen.h"
#include "Version.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

FrmStart::FrmStart() : Form(QStringLiteral("FrmStart")) {}

QWidget* FrmStart::createWindow() {
    auto* w = new QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    w->resize(twips(6270), twips(5775));
    return w;
}

QPixmap FrmStart::loadLogo(const QString& folder) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name.toUpper() != QLatin1String("LOGO.BMP")) continue;
        QImageReader reader(dir.filePath(name));
        reader.setDecideFormatFromContent(true);
        QImage image;
        if (reader.read(&image) && !image.isNull()) return QPixmap::fromImage(image);
    }
    return {};
}

void FrmStart::setPicture(const QPixmap& pic) {
    QWidget* w = window();
    ImgGraph->setPixmap(pic);
    ImgGraph->resize(pic.size());
    w->resize(ImgGraph->size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // A picture larger than the screen gives a negative position: still centred.
        const QRect area = screen->geometry();
        w->move(area.x() + (area.width() - w->width()) / 2,
                area.y() + (area.height() - w->height()) / 2);
    }
}

void FrmStart::Form_Load() {
    QWidget* w = window();
    ImgGraph = new QLabel(w);
    ImgGraph->move(0, 0);
    const QPixmap logo = loadLogo(programFolder());
    setPicture(logo.isNull() ? picture(QStringLiteral("splash")) : logo);

    lblVersion = new QLabel(w);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(14.25);
    font.setBold(true);
    lblVersion->setFont(font);
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->resize(twips(1935), twips(375));
    lblVersion->move((w->width() - lblVersion->width()) / 2,
                     (w->height() - lblVersion->height()) / 4);
    lblVersion->setText(QStringLiteral("Version %1.%2").arg(AppInfo::Major).arg(AppInfo::Minor));

    setWindowWaitCursor(w, true);
    SetDefaults();

    Timer1 = new QTimer(w);
    Timer1->setInterval(30);
    connect(Timer1, &QTimer::timeout, this, &FrmStart::Timer1_Timer);
}

void FrmStart::Form_Activate() {
    if (Timer1) Timer1->start();
}

void FrmStart::Timer1_Timer() {
    Timer1->stop();
    Forms::get<MDIFormMain>().show();
    setWindowWaitCursor(window(), false);
    Forms::release<FrmStart>();
}
