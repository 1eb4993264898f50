// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QWidget;

/// What the network, upload and download windows tell the operator when a tick fails.
QString commErrorText();

/// Builds the "Comm Port:" frame of a serial window into `parent`: option 0 "Comm Port 1"
/// (selected) and option 1 "Comm Port 2". Returns the frame; `options` receives the two
/// buttons, and the returned `group` reports a click by the option's index (idClicked).
QGroupBox* makeCommPortFrame(QWidget* parent, std::array<QRadioButton*, 2>& options,
                             QButtonGroup*& group);

/// Keeps a timer tick from running inside itself: a message box opened by a tick runs a nested
/// event loop in which the timer fires again. A tick that finds `busy` set is skipped.
class TickGuard {
public:
    explicit TickGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
    ~TickGuard() {
        if (entered_) busy_ = false;
    }
    TickGuard(const TickGuard&) = delete;
    TickGuard& operator=(const TickGuard&) = delete;

    /// False when another run of the same tick is still under way.
    bool entered() const { return entered_; }

private:
    bool& busy_;
    bool entered_;
};
