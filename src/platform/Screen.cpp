// SPDX-License-Identifier: GPL-3.0-or-later
#include "Screen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace {
double dpi() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInch() : 96.0;
}
} // namespace

int twips(double t) {
    return static_cast<int>(std::lround(t * dpi() / 1440.0));
}

double toTwips(int pixels) {
    return pixels * 1440.0 / dpi();
}

ScreenWaitCursor::ScreenWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

ScreenWaitCursor::~ScreenWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void setWindowWaitCursor(QWidget* window, bool on) {
    if (!window) return;
    if (on)
        window->setCursor(Qt::WaitCursor);
    else
        window->unsetCursor();
}

int captionWidth(const QString& caption) {
    QFont font = QApplication::font();
    font.setBold(true);
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return QFontMetrics(font).horizontalAdvance(caption) + 5 * bar;
}

void waitUntilOnScreen(QWidget* window, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    while (window && window->isVisible() && !window->testAttribute(Qt::WA_Mapped) &&
           waited.elapsed() < timeoutMs)
        QApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers, 5);
}

QPixmap picture(const QString& name) {
    return QPixmap(QStringLiteral(":/pictures/%1.png").arg(name));
}
