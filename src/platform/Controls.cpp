// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"

#include "Screen.h"

#include <cmath>

PictureButton::PictureButton(const QString& pictureName, const QString& tooltip, QWidget* parent)
    : QToolButton(parent) {
    setIcon(QIcon(picture(pictureName)));
    setToolTip(tooltip);
    setAccessibleName(tooltip);
    setAutoRaise(false);
    setIconSize(QSize(32, 32));
    setFocusPolicy(Qt::StrongFocus);
}

ProgressBar::ProgressBar(const QString& name, QWidget* parent) : QProgressBar(parent) {
    setAccessibleName(name);
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void ProgressBar::setProgress(double value) {
    const int shown = static_cast<int>(std::lround(value));
    if (shown == this->value()) return;
    setValue(shown);
    // QProgressBar repaints only a change of a few pixels or more; every new value is to show.
    if (paintedValue_ != shown) repaint();
}

void ProgressBar::paintEvent(QPaintEvent* event) {
    ++paintCount_;
    paintedValue_ = value();
    QProgressBar::paintEvent(event);
}
