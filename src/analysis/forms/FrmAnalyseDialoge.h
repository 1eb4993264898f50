// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

/// Run to Analyse window; its controls are not built yet, only its caption, prompt and navigation.
class FrmAnalyseDialoge : public TaskForm {
    Q_OBJECT
public:
    FrmAnalyseDialoge();

    PictureButton* CmdBack = nullptr;
    PictureButton* CmdExit = nullptr;

    void CmdBack_Click();
    void CmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
