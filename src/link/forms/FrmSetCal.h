// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

/// Download Cal Data window; its controls are not built yet, only its caption, prompt and
/// navigation.
class FrmSetCal : public TaskForm {
    Q_OBJECT
public:
    FrmSetCal();

    PictureButton* CmdBack = nullptr;
    PictureButton* CmdExit = nullptr;

    void CmdBack_Click();
    void CmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
