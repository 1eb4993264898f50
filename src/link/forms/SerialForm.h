// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>
#include <functional>

class QGroupBox;
class QRadioButton;
class QWidget;

/// What the network, upload and download windows tell the operator when a tick fails.
QString commErrorText();

/// Builds the "Comm Port:" frame of a serial window into `parent`: option 0 "Comm Port 1"
/// (selected) and option 1 "Comm Port 2". `options` receives the two buttons; a click on one
/// calls `clicked` with its index.
QGroupBox* makeCommPortFrame(QWidget* parent, std::array<QRadioButton*, 2>& options,
                             std::function<void(int)> clicked);
