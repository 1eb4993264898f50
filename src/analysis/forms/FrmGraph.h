// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

/// Current Graph window; its controls are not built yet, only its caption, prompt and navigation.
class FrmGraph : public TaskForm {
    Q_OBJECT
public:
    FrmGraph();

    PictureButton* CmdBack = nullptr;
    PictureButton* CmdExit = nullptr;

    void CmdBack_Click();
    void CmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
