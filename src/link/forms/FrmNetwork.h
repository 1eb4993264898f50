// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

/// Network Channel: window; its controls are not built yet, only its caption, prompt and
/// navigation.
class FrmNetwork : public TaskForm {
    Q_OBJECT
public:
    FrmNetwork();

    PictureButton* CmdExit = nullptr;

    void CmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
