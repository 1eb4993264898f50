// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskForm.h"

#include "MDIFormMain.h"
#include "Screen.h"

#include <algorithm>

void TaskForm::setStatus(const QString& text) {
    MDIFormMain::setStatusLine(text);
}

void TaskForm::fixSizeForCaption(QWidget* window) {
    // Never narrower than the design.
    const int width = std::max(twips(3200), captionWidth(window->windowTitle()));
    window->setFixedSize(window->sizeHint().expandedTo(QSize(width, 0)));
}

PictureButton* TaskForm::makeBackButton(QWidget* parent) {
    return new PictureButton(QStringLiteral("hand_left"), QStringLiteral("Previous Form"), parent);
}

PictureButton* TaskForm::makeNextButton(QWidget* parent, const QString& tooltip) {
    return new PictureButton(QStringLiteral("hand_right"), tooltip, parent);
}

QHBoxLayout* TaskForm::makeNavigationRow(QWidget* parent, PictureButton*& back,
                                         PictureButton*& next, const QString& nextTooltip) {
    auto* row = new QHBoxLayout;
    back = makeBackButton(parent);
    next = makeNextButton(parent, nextTooltip);
    for (PictureButton* b : {back, next})
        b->setFixedSize(twips(615), twips(615));
    row->addWidget(back);
    row->addStretch(1);
    row->addWidget(next);
    return row;
}
