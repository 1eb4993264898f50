// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskForm.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>

class SciGraph;

/// "Current Graph": the chosen runs' CH1 and CH2 curves laid over one another from their own
/// onsets. Rebuilt at every activation; unloaded whenever it is left.
class FrmGraph : public TaskForm {
    Q_OBJECT
public:
    FrmGraph();

    QMenuBar* MenuBar = nullptr;
    QMenu* mnuPtint = nullptr;
    QAction* mnuPrintGraph = nullptr;
    SciGraph* PESciGraph = nullptr;
    QFrame* PicControl = nullptr;
    QFrame* PnlButtons = nullptr;
    PictureButton* CmdBack = nullptr;
    PictureButton* CmdExit = nullptr;

    /// Builds the whole graph from RunStart, RunMax and the captured data.
    void DrawRunGraph();
    /// Lays the controls out for the window's current size; never rebuilds the curves.
    void ArrangeControls();

    void CmdBack_Click();
    void CmdExit_Click();
    void mnuPrintGraph_Click();

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
};
