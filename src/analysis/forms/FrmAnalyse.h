// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunCut.h"
#include "TaskForm.h"

#include <QFrame>
#include <QMenu>
#include <QPushButton>

#include <cstdint>
#include <optional>

class SciGraph;
class SpreadGrid;

/// The single-run analysis: one captured run against one parameter set, with the set's
/// threshold lines and timer markers over it, the set's adjustable setpoints beside it and
/// Auto Setpoints. Unloaded whenever it is left; the public variables and the cut survive.
class FrmAnalyse : public TaskForm {
    Q_OBJECT
public:
    FrmAnalyse();

    // Handed over by the chooser before the window is shown, and kept across unloads.
    std::int16_t RunToAnalyse = 0;
    std::int16_t ParamToAnalyse = 0;
    std::int16_t AnaRunLength = 0;
    float CountWindow1 = 0.0f;
    float CountWindow2 = 0.0f;

    SciGraph* PESciGraph = nullptr;
    QFrame* PicControl = nullptr;
    SpreadGrid* SpdAdjust = nullptr;
    QFrame* PnlAlign = nullptr;
    PictureButton* CmdBack = nullptr;
    QPushButton* CmdMakeSetpoints = nullptr;
    PictureButton* CmdExit = nullptr;
    QMenu* mnuPrint = nullptr;
    QAction* mnuPrintGraph = nullptr;

    void LoadRunData(std::int16_t Run);
    void DrawAnalysisGraph();
    void SizeControls();
    void CenterControls();
    void FillAdjustGrid();
    void DrawThresholdLines();
    void DrawTimerMarkers();
    void MakeSetpoints();

    void Form_Resize();
    void CmdBack_Click();
    void CmdExit_Click();
    void CmdMakeSetpoints_Click();
    void mnuPrintGraph_Click();
    void SpdAdjust_Change(int Col, int Row);

protected:
    QWidget* createWindow() override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    /// A number of the setpoint sheet in the analysed set's column; empty when it is none.
    std::optional<double> sheetNumber(int row) const;
    /// Makes the graph show the annotations written since the last call.
    void showAnnotations();

    QWidget* client_ = nullptr; // the client area below the menu bar
    // Element m + 1 holds row onset + m of the cut; element 0 is never a sample.
    RunCut::Samples CH1Samples{};
    RunCut::Samples CH2Samples{};
};
