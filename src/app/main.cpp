// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"
#include "FrmStart.h"

#include <QApplication>

#include <cstdio>

namespace {
// Without a display Qt would abort with a toolkit message; say plainly what is missing.
bool displayAvailable() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}
} // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("tarvolm: no display found. Tarvolm is a desktop program and needs a graphical "
                   "session (DISPLAY or WAYLAND_DISPLAY); on a machine without one, run it "
                   "under xvfb-run.\n",
                   stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvolm"));
    Forms::get<FrmStart>().show();
    const int result = QApplication::exec();
    Forms::releaseAll();
    return result;
}
