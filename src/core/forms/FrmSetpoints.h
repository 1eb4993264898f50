// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QLabel>

class SpreadGrid;

/// The setpoint sheet: the instrument type and the four parameter sets, editable.
class FrmSetpoints : public TaskForm {
    Q_OBJECT
public:
    FrmSetpoints();

    /// Rebuilds the type label and all 36 cells from the store; works while hidden too.
    void GetCalibrationData();

    QLabel* LblTypeTitle = nullptr;
    QLabel* LblType = nullptr;
    SpreadGrid* spdSetpoints = nullptr;
    PictureButton* CmdRun = nullptr;
    PictureButton* CmdGraph = nullptr;
    PictureButton* CmdDownLoad = nullptr;
    PictureButton* CmdExit = nullptr;
    PictureButton* CmdBack = nullptr;

    void spdSetpoints_Change(int col, int row);
    void spdSetpoints_ButtonClicked(int col, int row, int buttonDown);
    void CmdRun_Click();
    void CmdGraph_Click();
    void CmdDownLoad_Click();
    void CmdExit_Click();
    void CmdBack_Click();

    /// Caption of the type label for an instrument type.
    static QString typeName(int type);

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void StoreActiveCell();
};
