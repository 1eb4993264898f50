// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"

#include <QLabel>
#include <QTimer>

/// The splash window: the program's picture and version while the main window starts.
class FrmStart : public Form {
    Q_OBJECT
public:
    FrmStart();

    QLabel* ImgGraph = nullptr;
    QLabel* lblVersion = nullptr;
    QTimer* Timer1 = nullptr;

    void Timer1_Timer();

    /// The optional LOGO.BMP in `folder`, matched by its upper-cased name; null when absent
    /// or not a readable picture.
    static QPixmap loadLogo(const QString& folder);
    /// Shows `pic` and sizes the window to it, centred on the screen.
    void setPicture(const QPixmap& pic);

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;
};
