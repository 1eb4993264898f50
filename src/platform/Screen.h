// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

/// Twips (1/1440 inch) to pixels at the screen's logical resolution, and back.
int twips(double t);
double toTwips(int pixels);

/// The hourglass over the whole program while it lives, for long loops. Its end takes back
/// only the hourglass it put up; a cursor someone else set stays.
class ScreenWaitCursor {
public:
    ScreenWaitCursor();
    ~ScreenWaitCursor();
    ScreenWaitCursor(const ScreenWaitCursor&) = delete;
    ScreenWaitCursor& operator=(const ScreenWaitCursor&) = delete;
};
/// The hourglass over one window only.
void setWindowWaitCursor(QWidget* window, bool on);

/// The width a window needs to show `caption` whole in its title bar, beside its icon and
/// buttons. The window manager draws the title: the bold application font stands in for its.
int captionWidth(const QString& caption);

/// Waits, at most `timeoutMs`, until the window system has put the shown `window` on screen:
/// until then it takes no paint. Input and timers wait meanwhile, so that no serial tick runs
/// in the middle of the caller's work.
void waitUntilOnScreen(QWidget* window, int timeoutMs = 500);

/// One of our pictures (toolbar icons, window pictures, the splash), by file stem.
QPixmap picture(const QString& name);
