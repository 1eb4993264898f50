// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Controls.h"
#include "Form.h"

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
