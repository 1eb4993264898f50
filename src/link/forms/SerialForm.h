// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"
#include "TaskForm.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QLayout;
class QRadioButton;
class QTimer;

/// A task window that polls its own serial port on its own timer. Port and timer belong to
/// the instance, not to its controls: hiding or unloading the window stops nothing, so an
/// exchange goes on while another window is shown; releasing the instance stops both.
class SerialForm : public TaskForm {
    Q_OBJECT
public:
    std::unique_ptr<CommPort> MSComm;

    void release() override;

protected:
    /// `timerName` names the polling timer, which ticks every `intervalMs` into `tick`.
    SerialForm(const QString& name, const LineSettings& line, const QString& timerName,
               int intervalMs, std::function<void()> tick);
    QTimer* pollTimer() const { return timer_; }
    /// The upload and download windows' layout: the port frame, the progress row, and
    /// Previous, Start, Stop and Next along the bottom.
    static void layOutExchange(QWidget* window, QWidget* commFrame, QLayout* progress,
                               const std::array<PictureButton*, 4>& buttons);

    /// Set while a tick runs. A message box of a tick runs a nested event loop in which the
    /// timer falls due again; such a tick is skipped rather than run inside the first.
    bool ticking_ = false;

private:
    QTimer* timer_;
};

/// What the network, upload and download windows tell the operator when a tick fails.
QString commErrorText();

/// Builds the "Comm Port:" frame of a serial window into `parent`: option 0 "Comm Port 1"
/// (selected) and option 1 "Comm Port 2". `options` receives the two buttons; a click on one
/// calls `clicked` with its index.
QGroupBox* makeCommPortFrame(QWidget* parent, std::array<QRadioButton*, 2>& options,
                             std::function<void(int)> clicked);
