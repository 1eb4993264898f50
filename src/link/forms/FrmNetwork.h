// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SerialForm.h"

#include <array>
#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QTimer;

/// Network Channel: tells every board address 0 to 254 to close all its channels, then tells
/// the chosen board to open the chosen channel. Polled by TmrNetwork, which keeps running while
/// the window is hidden. A successful opening releases the window.
class FrmNetwork : public SerialForm {
    Q_OBJECT
public:
    FrmNetwork();
    ~FrmNetwork() override;

    QLabel* LblAddress = nullptr;
    QComboBox* CmbAddr = nullptr;
    QLabel* LblChannel = nullptr;
    QComboBox* CmbChannel = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LblStatus = nullptr;
    PictureButton* CmdRun = nullptr;
    PictureButton* CmdHalt = nullptr;
    PictureButton* CmdExit = nullptr;
    /// Belongs to the instance, not to the controls: hiding the window stops nothing.
    QTimer* TmrNetwork;

    void CmbAddr_Click();
    void CmbChannel_Click();
    void CmdRun_Click();
    void CmdHalt_Click();
    void CmdExit_Click();
    void TmrNetwork_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void tick() override;
    /// The port frame and both lists.
    void setInputsEnabled(bool enabled) override;

private:
    /// Takes the chosen address and channel into NetAddress and NetChannel.
    void StoreSelection();
    /// The opening step of a tick; true when the channel was reported open.
    bool openStep();
    void closeStep();
};
