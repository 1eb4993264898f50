// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"
#include "TaskForm.h"

#include <QString>

#include <array>
#include <memory>

class QGroupBox;
class QLayout;
class QRadioButton;
class QTimer;

/// A task window that polls its own serial port on its own timer. Port and timer belong to
/// the instance, not to its controls: hiding or unloading the window stops nothing, so an
/// exchange goes on while another window is shown; releasing the instance stops both. The
/// close box releases it, so that a closed window's exchange ends and its next opening starts
/// afresh.
///
/// Every tick goes through one wrapper: a tick that falls due while another runs (a message
/// box of the first runs a nested event loop) is skipped, the window is loaded, any failure
/// ends the tick in `tickFailed`, and a release during the tick deletes the instance only
/// after it.
class SerialForm : public TaskForm {
    Q_OBJECT
public:
    std::unique_ptr<CommPort> MSComm;
    /// The "Comm Port:" frame and its options, made by `makeCommPortFrame`.
    QGroupBox* FrmComm = nullptr;
    std::array<QRadioButton*, 2> OptComm{};

    /// A click on port option `Index` (0 or 1): that port number, refused while the port is
    /// open, so a running exchange keeps its port.
    void OptComm_Click(int Index);

    void release() override;

protected:
    /// `timerName` names the polling timer, which ticks every `intervalMs`.
    SerialForm(const QString& name, const LineSettings& line, const QString& timerName,
               int intervalMs, Leaving leaving = Leaving::Hide);
    void closeRequested() override;
    QTimer* pollTimer() const { return timer_; }

    /// Runs one tick through the wrapper; the timer's ticks come here too.
    void runTick();
    /// The window's work on one tick. Throwing ends the tick in `tickFailed`.
    virtual void tick() = 0;
    /// After a failed tick: the comm error message, timer off, inputs enabled; the port and
    /// the exchange's variables stay as they were.
    virtual void tickFailed();
    /// The inputs an exchange locks: the Comm Port frame, and what a window adds.
    virtual void setInputsEnabled(bool enabled);
    /// Start: timer on (a running timer keeps its rhythm), inputs locked.
    void startPolling();
    /// Timer off, inputs open again.
    void stopPolling();
    /// The port closed if open, then `stopPolling`.
    void endExchange();

    /// Builds FrmComm and OptComm into `parent`: option 0 "Comm Port 1" (selected) and
    /// option 1 "Comm Port 2".
    void makeCommPortFrame(QWidget* parent);
    /// The upload and download windows' layout: the port frame, the progress row, and
    /// Previous, Start, Stop and Next along the bottom.
    void layOutExchange(QLayout* progress, const std::array<PictureButton*, 4>& buttons);

private:
    QTimer* timer_;
};

/// What the network, upload and download windows tell the operator when a tick fails.
QString commErrorText();
