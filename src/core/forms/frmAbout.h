// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"
#include "Registry.h"

#include <QLabel>
#include <QPushButton>

/// The About window: title, version and what the program is for.
class frmAbout : public Form {
    Q_OBJECT
public:
    frmAbout();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void cmdOK_Click();
    void cmdSysInfo_Click();

    /// Starts the system-information program, or says that it cannot.
    void StartSysInfo();
    /// Reads a registry value as text into `KeyVal`; false (and `KeyVal` empty) when the key
    /// or the value cannot be read.
    bool GetKeyValue(Registry::Key& KeyRoot, QString& KeyName, QString& SubKeyRef, QString& KeyVal);

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;
};
