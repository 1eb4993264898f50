// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QPushButton>

#include <array>

/// The crossroads into the graphs: several runs together, or one run analysed.
class FrmGraphType : public TaskForm {
    Q_OBJECT
public:
    FrmGraphType();

    std::array<QPushButton*, 2> CmdType{};
    QPushButton* CmdCancel = nullptr;
    PictureButton* CmdBack = nullptr;

    void CmdType_Click(int index);
    void CmdCancel_Click();
    void CmdBack_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
