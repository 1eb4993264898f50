// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmStatus.h"

#include "Screen.h"

#include <algorithm>

FrmStatus::FrmStatus() : Form(QStringLiteral("FrmStatus")) {}

QWidget* FrmStatus::createWindow() {
    QWidget* w = Form::createWindow();
    // A title but no close, minimise or maximise button.
    w->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    return w;
}

void FrmStatus::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Working....."));
    // The design width, or what the caption needs where the title bar's font is larger.
    w->setFixedSize(std::max(twips(2490), captionWidth(w->windowTitle())), twips(255));
    PrgStatus = new ProgressBar(QStringLiteral("Work done"), w);
    PrgStatus->setObjectName(QStringLiteral("PrgStatus"));
    PrgStatus->setGeometry(0, 0, w->width(), w->height());
}

void FrmStatus::Form_Activate() {
    setWindowWaitCursor(window(), true);
}

void FrmStatus::Form_Deactivate() {
    setWindowWaitCursor(window(), false);
}

ProgressShown::ProgressShown() : status_(Forms::get<FrmStatus>()) {
    status_.load();
    status_.PrgStatus->setProgress(0);
    status_.show();
    // The caller's loop never returns to the event loop, so the window must be on screen, and
    // painted, before it starts.
    waitUntilOnScreen(status_.window());
    status_.window()->repaint();
}

ProgressShown::~ProgressShown() {
    status_.hide();
}
