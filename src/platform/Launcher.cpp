// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launcher.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
LaunchHook& hook() {
    static LaunchHook h;
    return h;
}
} // namespace

void setLaunchHook(LaunchHook h) {
    hook() = std::move(h);
}

bool launchProgram(const QString& program, const QStringList& arguments) {
    if (hook()) return hook()(program, arguments);
    return QProcess::startDetached(program, arguments);
}

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

namespace {
std::function<void()>& endHook() {
    static std::function<void()> h;
    return h;
}
} // namespace

void setEndProgramHook(std::function<void()> h) {
    endHook() = std::move(h);
}

void endProgram() {
    if (endHook()) {
        endHook()();
        return;
    }
    QCoreApplication::exit(0);
}
