// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Controls.h"
#include "Form.h"
#include "Screen.h"

/// "Working....." with a progress bar, shown while a long loop runs. Cannot be closed.
class FrmStatus : public Form {
    Q_OBJECT
public:
    FrmStatus();

    ProgressBar* PrgStatus = nullptr;

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void closeRequested() override {}
};

/// While it lives: FrmStatus on screen, painted, its bar at 0, and the hourglass over the
/// program, for a loop that does not return to the event loop. Its end hides the window and
/// takes back the hourglass.
class ProgressShown {
public:
    ProgressShown();
    ~ProgressShown();
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

    ProgressBar& bar() const { return *status_.PrgStatus; }

private:
    FrmStatus& status_;
    ScreenWaitCursor cursor_;
};
