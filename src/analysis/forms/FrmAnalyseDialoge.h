// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QGroupBox>
#include <QRadioButton>

#include <array>

/// Run to Analyse: which run to analyse against which parameter set; hands both to the
/// analysis window and opens it.
class FrmAnalyseDialoge : public TaskForm {
    Q_OBJECT
public:
    FrmAnalyseDialoge();

    QGroupBox* FrmRun = nullptr;
    std::array<QRadioButton*, 8> OptRun{};
    QGroupBox* FrmParam = nullptr;
    std::array<QRadioButton*, 4> OptParam{};
    PictureButton* CmdBack = nullptr;
    PictureButton* CmdGraph = nullptr;

    void OptRun_Click(int index);
    void OptParam_Click(int index);
    void CmdGraph_Click();
    void CmdBack_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;
};
