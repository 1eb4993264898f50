// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QPushButton>

/// The program's own file dialog, for reading and saving the data file.
class FrmFileBrowse : public TaskForm {
    Q_OBJECT
public:
    FrmFileBrowse();

    QPushButton* CmdCancel = nullptr;

    void CmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
