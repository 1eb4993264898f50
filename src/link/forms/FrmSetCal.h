// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SerialForm.h"

#include <array>
#include <cstdint>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;

/// Download Cal Data: writes parameter sets A to D of the store into the instrument, each
/// confirmed by its acknowledgement. Polled by TmrDownload, which keeps running while the
/// window is hidden.
class FrmSetCal : public SerialForm {
    Q_OBJECT
public:
    FrmSetCal();
    ~FrmSetCal() override;

    QLabel* Label1 = nullptr;
    ProgressBar* PrgDownload = nullptr;
    PictureButton* CmdRun = nullptr;
    PictureButton* CmdHalt = nullptr;
    PictureButton* CmdExit = nullptr;
    PictureButton* SSCommand1 = nullptr;
    /// Belongs to the instance, not to the controls: hiding the window stops nothing.
    QTimer* TmrDownload;

    /// 0, 25, 50, 75 while set A, B, C, D is due (and the percentage shown); 100 when done.
    std::int16_t DownloadStep = 0;

    void CmdRun_Click();
    void CmdHalt_Click();
    void CmdExit_Click();
    void SSCommand1_Click();
    void TmrDownload_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void tick() override;
    void tickFailed() override;
};
