// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SerialForm.h"

#include <array>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;

/// Upload Cal Data: identifies the instrument, reads its four parameter sets into the store and
/// then shows the setpoint sheet. The exchange is polled by TmrUpload and keeps running while
/// the window is hidden.
class FrmGetCal : public SerialForm {
    Q_OBJECT
public:
    FrmGetCal();
    ~FrmGetCal() override;

    QLabel* Label1 = nullptr;
    QLabel* LblStatus = nullptr;
    PictureButton* CmdRun = nullptr;
    PictureButton* CmdHalt = nullptr;
    PictureButton* CmdExit = nullptr;
    PictureButton* CmdBack = nullptr;
    /// Belongs to the instance, not to the controls: hiding the window stops nothing.
    QTimer* TmrUpload;

    void CmdRun_Click();
    void CmdHalt_Click();
    void CmdBack_Click();
    void CmdExit_Click();
    void TmrUpload_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void tick() override;

private:
    /// The identify phase of a tick.
    void identifyStep();
    /// The setpoint phase of a tick.
    void readSetpointsStep();
};
