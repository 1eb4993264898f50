// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FrmStopLight.h"
#include "SerialForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <memory>

class QButtonGroup;

/// Capture Data: records one run of the tool into one of the eight run slots. After Start
/// the timer opens the port, waits for the instrument's stream, lets it run about nine
/// seconds more, then takes the whole receive buffer, decodes it and writes the run into its
/// two columns of the captured data.
class FrmCapture : public SerialForm {
    Q_OBJECT
public:
    using Light = FrmStopLight::Light;

    FrmCapture();
    ~FrmCapture() override;

    /// Decodes CaptureBytes 1 to CaptureByteCount into Ch1Codes and Ch2Codes. Throws when the
    /// capture holds more records than they take.
    void DecodeRunData();
    /// Writes Ch1Codes and Ch2Codes 1 to 2000, as levels, into the columns of CaptureRun.
    void WriteRunToGrid();

    /// The stop light now shown by ImgLight.
    Light light() const { return light_; }

    // Controls, by their given names.
    QGroupBox* FrmData = nullptr;
    std::array<QRadioButton*, 8> OptData{};
    QLabel* Label1 = nullptr;
    ProgressBar* PrgCapture = nullptr;
    PictureButton* CmdBack = nullptr;
    QLabel* ImgLight = nullptr;
    PictureButton* CmdExit = nullptr;
    PictureButton* CmdRun = nullptr;
    PictureButton* CmdHalt = nullptr;
    QTimer* TmrUpload;

    // Event procedures.
    void OptData_Click(int index);
    void CmdRun_Click();
    void CmdHalt_Click();
    void CmdBack_Click();
    void CmdExit_Click();
    void TmrUpload_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void tick() override;
    /// Closes the port and reports; the timer, the frames, the light and the bar stay.
    void tickFailed() override;
    /// The port frame and the run frame.
    void setInputsEnabled(bool enabled) override;

private:
    void setLight(Light light);
    void finish();

    Light light_ = Light::Red;
};
