// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"

#include "Form.h"
#include "FrmStart.h"
#include "Launcher.h"
#include "MDIFormMain.h"
#include "ModVars.h"

#include <QApplication>
#include <QElapsedTimer>

void AppFixture::SetUp() {
    Forms::releaseAll();
    pump();
    MainActivated = 0;
    InstrumentType = 0;
    SetDefaults();
    CapturedData.clear();
    msgs = std::make_unique<MsgRecorder>();
    setEndProgramHook([this] { ++programEnds; });
    setLaunchHook([this](const QString& program, const QStringList& args) {
        launches << program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
        return launchSucceeds;
    });
}

void AppFixture::TearDown() {
    Forms::releaseAll();
    pump();
    setEndProgramHook({});
    setLaunchHook({});
    msgs.reset();
}

MDIFormMain& AppFixture::startProgram() {
    Forms::get<FrmStart>().show();
    QElapsedTimer t;
    t.start();
    while (MainActivated != 100 && t.elapsed() < 5000)
        pump(5);
    pump();
    return Forms::get<MDIFormMain>();
}

void AppFixture::pump(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (t.elapsed() < ms);
}
