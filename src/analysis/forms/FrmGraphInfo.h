// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

#include <array>

/// Select Runs: which of the eight captured runs go into the multi-run graph.
class FrmGraphInfo : public TaskForm {
    Q_OBJECT
public:
    FrmGraphInfo();

    /// Finds the run limits of the ticked runs and writes RunStart, RunEnd and RunMax.
    void FindRunLimits();

    QGroupBox* FrmRuns = nullptr;
    std::array<QCheckBox*, 8> ChkRun{};
    QPushButton* CmdSetAll = nullptr;
    QPushButton* CmdClrAll = nullptr;
    PictureButton* CmdBack = nullptr;
    PictureButton* CmdGraph = nullptr;

    void CmdSetAll_Click();
    void CmdClrAll_Click();
    void CmdGraph_Click();
    void CmdBack_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
