// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Form.h"

#include <QLabel>
#include <QPixmap>

/// The three stop-light pictures (red, yellow or green lamp lit), kept on a window that is
/// loaded for them and never shown. The serial windows show copies of them.
class FrmStopLight : public Form {
    Q_OBJECT
public:
    enum class Light { Red, Yellow, Green };

    FrmStopLight();

    QLabel* ImgRed = nullptr;
    QLabel* ImgYellow = nullptr;
    QLabel* ImgGreen = nullptr;
    QLabel* ImgLight = nullptr; ///< not used

    /// A copy of the picture of `light`, loading the window if needed.
    static QPixmap picture(Light light);

protected:
    void Form_Load() override;
};
