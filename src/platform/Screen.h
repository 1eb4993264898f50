// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

/// Twips (1/1440 inch) to pixels at the screen's logical resolution, and back.
int twips(double t);
double toTwips(int pixels);

/// The hourglass over the whole program, for long loops.
void setScreenWaitCursor(bool on);
/// The hourglass over one window only.
void setWindowWaitCursor(QWidget* window, bool on);

/// One of our pictures (toolbar icons, window pictures, the splash), by file stem.
QPixmap picture(const QString& name);
