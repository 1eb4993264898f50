// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProgressBar>
#include <QToolButton>

/// A picture button without caption. Its tooltip is also its accessible name, so screen
/// readers and UI automation find it.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QString& pictureName, const QString& tooltip, QWidget* parent);
};

/// A progress bar that repaints at once, and only when the value it shows changes: callers
/// update it inside loops that do not return to the event loop. `name` says to a screen reader
/// what it counts.
class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    ProgressBar(const QString& name, QWidget* parent);
    /// Takes any number; shows it rounded to a whole number.
    void setProgress(double value);
    /// How many times the bar has painted itself.
    int paintCount() const { return paintCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int paintCount_ = 0;
    int paintedValue_ = -1;
};
