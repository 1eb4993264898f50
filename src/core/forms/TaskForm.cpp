// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskForm.h"

#include "MDIFormMain.h"

void TaskForm::setStatus(const QString& text) {
    MDIFormMain::setStatusLine(text);
}

PictureButton* TaskForm::makeBackButton(QWidget* parent) {
    return new PictureButton(QStringLiteral("hand_left"), QStringLiteral("Previous Form"), parent);
}

PictureButton* TaskForm::makeNextButton(QWidget* parent) {
    return new PictureButton(QStringLiteral("hand_right"), QStringLiteral("Next Form"), parent);
}
