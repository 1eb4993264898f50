// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraph.h"

#include "FrmAnalyseDialoge.h"
#include "FrmGraphInfo.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "SciGraph.h"
#include "Screen.h"

#include <algorithm>
#include <cmath>

namespace {

// Design sizes, in twips.
constexpr int ClientWidth = 6825;
constexpr int ClientHeight = 4230;
constexpr int MinWidth = 4000;
constexpr int MinHeight = 6000;
constexpr int StripHeight = 855;
constexpr int PanelWidth = 1455;
constexpr int PanelTop = 120;
constexpr int ButtonSize = 615;
constexpr int NextButtonLeft = 840;

// Palette entry of each run's two curves, runs 1 to 8.
constexpr int RunColour[8] = {9, 10, 11, 12, 13, 14, 5, 0};

QString subtitleFor(int type) {
    static const char* const names[] = {"TYPE A", "TYPE B", "TYPE C", "TYPE D", "TYPE E", "TYPE F"};
    if (type < 0 || type > 5) return QStringLiteral("TYPE UNKNOWN");
    return QLatin1String(names[type]);
}

} // namespace

FrmGraph::FrmGraph() : TaskForm(QStringLiteral("FrmGraph"), Leaving::Unload) {}

QWidget* FrmGraph::createWindow() {
    QWidget* w = TaskForm::createWindow();
    w->setWindowFlags(w->windowFlags() | Qt::WindowMinMaxButtonsHint);
    return w;
}

void FrmGraph::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Current Graph"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));

    MenuBar = new QMenuBar(w);
    mnuPtint = MenuBar->addMenu(QStringLiteral("&Print"));
    mnuPrintGraph = mnuPtint->addAction(QStringLiteral("Print The Graph"));
    connect(mnuPrintGraph, &QAction::triggered, this, &FrmGraph::mnuPrintGraph_Click);

    PESciGraph = new SciGraph(w);
    PicControl = new QFrame(w);
    PnlButtons = new QFrame(PicControl);
    PnlButtons->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PnlButtons->setGeometry(0, twips(PanelTop), twips(PanelWidth), twips(ButtonSize));
    CmdBack = makeBackButton(PnlButtons);
    CmdExit = makeNextButton(PnlButtons);
    CmdBack->setGeometry(0, 0, twips(ButtonSize), twips(ButtonSize));
    CmdExit->setGeometry(twips(NextButtonLeft), 0, twips(ButtonSize), twips(ButtonSize));
    connect(CmdBack, &QToolButton::clicked, this, &FrmGraph::CmdBack_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmGraph::CmdExit_Click);

    w->resize(twips(ClientWidth), twips(ClientHeight) + MenuBar->sizeHint().height());
}

void FrmGraph::Form_Activate() {
    setStatus(QStringLiteral("Status: Graphing.....please wait"));
    ArrangeControls();
    DrawRunGraph();
    setStatus(QStringLiteral("Status: Graph complete."));
    centreOnScreen();
}

void FrmGraph::Form_Resize() {
    ArrangeControls();
}

void FrmGraph::ArrangeControls() {
    QWidget* w = window();
    if (!w || !PESciGraph) return;
    // A minimised window keeps its last size, so nothing here goes negative.
    if (w->width() < twips(MinWidth)) w->resize(twips(MinWidth), w->height());
    if (w->height() < twips(MinHeight)) w->resize(w->width(), twips(MinHeight));
    const int menuHeight = MenuBar->sizeHint().height();
    MenuBar->setGeometry(0, 0, w->width(), menuHeight);
    const int strip = twips(StripHeight);
    const int graphHeight = std::max(0, w->height() - menuHeight - strip);
    PESciGraph->setGeometry(0, menuHeight, w->width(), graphHeight);
    PicControl->setGeometry(0, menuHeight + graphHeight, w->width(), strip);
    // Round half to even, in twips, as the design does.
    const double left = std::nearbyint(toTwips(PicControl->width()) / 2.0 - PanelWidth / 2.0);
    PnlButtons->move(twips(std::max(0.0, left)), twips(PanelTop));
}

void FrmGraph::DrawRunGraph() {
    if (RunMax <= 0) {
        MsgBox(QStringLiteral("There is no data to graph..."));
        setWindowWaitCursor(window(), false);
        return;
    }
    setWindowWaitCursor(window(), true);
    int NumRuns = 0;
    for (int r = 1; r <= 8; ++r)
        NumRuns += RunStart[r] > 0;

    SciGraph& g = *PESciGraph;
    g.setAction(20);
    g.setSetupSwitch(true);
    g.setMainTitle(QStringLiteral("Velmora Data"));
    g.setSubTitle(subtitleFor(InstrumentType));
    g.setSetupColor(7);
    g.setXAxisLabel(QStringLiteral("Time in Seconds"));
    g.setYAxisLabel(QStringLiteral("% Full Scale"));
    g.setSubsets(2 * NumRuns);
    g.setPoints(2 * NumRuns * RunMax);

    int s = 0;
    for (int r = 1; r <= 8; ++r) {
        const int start = RunStart[r];
        if (start <= 0) continue;
        const int last = std::min(start + int(RunMax), CapturedTable::Rows);
        const QColor colour = paletteColor(RunColour[r - 1]);
        g.setSubsetColor(s, colour);
        g.setSubsetLineType(s, SciGraph::LineSolid);
        g.setSubsetColor(s + 1, colour);
        g.setSubsetLineType(s + 1, SciGraph::LineDashed);
        int p = 0;
        for (int row = start; row <= last; ++row, ++p) {
            const float x = static_cast<float>(p * 0.005);
            g.setXData(s, p, x);
            g.setYData(s, p, CapturedData.at(2 * r - 1, row));
            g.setXData(s + 1, p, x);
            g.setYData(s + 1, p, CapturedData.at(2 * r, row));
        }
        g.setSubsetLabel(s, QStringLiteral("Run%1 CH1").arg(r));
        g.setSubsetLabel(s + 1, QStringLiteral("Run%1 CH2").arg(r));
        s += 2;
    }
    g.setFinishingFraction(0.7);
    g.setFinishingOption(1, 1);
    g.setFinishingOption(2, 1);
    g.setAction(0);
    setWindowWaitCursor(window(), false);
}

void FrmGraph::CmdBack_Click() {
    showAndUnload<FrmGraphInfo>();
}

void FrmGraph::CmdExit_Click() {
    showAndUnload<FrmAnalyseDialoge>();
}

void FrmGraph::mnuPrintGraph_Click() {
    PESciGraph->setAction(8);
}
