// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyse.h"

#include "AdjustEdit.h"
#include "AutoSetpoints.h"
#include "FrmAnalyseDialoge.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "ModVars.h"
#include "MsgBox.h"
#include "RunCut.h"
#include "SciGraph.h"
#include "Screen.h"
#include "SpreadGrid.h"
#include "ThresholdLevels.h"
#include "TimerMarkers.h"

#include <QHeaderView>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>

namespace {

// Design places in twips (client area 8685 x 5775).
constexpr int DesignClientWidth = 8685;
constexpr int DesignClientHeight = 5775;
constexpr int MinWindowWidth = 4000;
constexpr int MinWindowHeight = 6000;

// Rows of the setpoint sheet the analysis reads.
constexpr int SheetCh1Peak = 4, SheetCh2Peak = 5, SheetPctThreshold = 6, SheetTimerX = 8,
              SheetTimerY = 9;

constexpr int AnnotationRed = 12, AnnotationTimerX = 13, AnnotationTimerY = 9;

/// The client area tells its window when its size changes.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> resized;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (resized) resized();
    }
};

QString setLetter(int param) {
    return param >= 1 && param <= 4 ? QString(QChar('A' + param - 1)) : QString();
}

/// Left edge that centres `inner` in `outer`, halves to even, never negative.
int centred(int outer, int inner) {
    return std::max(0, static_cast<int>(std::nearbyint(outer / 2.0 - inner / 2.0)));
}

} // namespace

FrmAnalyse::FrmAnalyse() : TaskForm(QStringLiteral("FrmAnalyse"), Leaving::Unload) {}

QWidget* FrmAnalyse::createWindow() {
    // A task window like the others, so it stays over the main window; sizeable as well.
    QWidget* w = TaskForm::createWindow();
    w->setWindowFlags(w->windowFlags() | Qt::WindowMinMaxButtonsHint);
    return w;
}

void FrmAnalyse::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Analyse"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));

    auto* menuBar = new QMenuBar(w);
    mnuPrint = menuBar->addMenu(QStringLiteral("&Print"));
    mnuPrintGraph = mnuPrint->addAction(QStringLiteral("Print The Graph"));
    connect(mnuPrintGraph, &QAction::triggered, this, &FrmAnalyse::mnuPrintGraph_Click);

    auto* client = new ClientArea(w);
    client_ = client;
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client_);

    PESciGraph = new SciGraph(client_);
    PESciGraph->setObjectName(QStringLiteral("PESciGraph"));
    PESciGraph->setToolTip(QStringLiteral("Double Click for User Options..."));
    PESciGraph->setMainTitle(QStringLiteral("Single Run Analysis"));
    PESciGraph->setGeometry(0, 0, twips(8535), twips(3855));

    PicControl = new QFrame(client_);
    PicControl->setObjectName(QStringLiteral("PicControl"));

    SpdAdjust = new SpreadGrid(7, 1, PicControl);
    SpdAdjust->setObjectName(QStringLiteral("SpdAdjust"));
    static const char* const headers[] = {"Run",      "Param",    "Timer X",  "Timer Y",
                                          "Peak Ch1", "Peak Ch2", "Threshold"};
    SpdAdjust->setRow(0);
    for (int c = 1; c <= 7; ++c) {
        SpdAdjust->setCol(c);
        SpdAdjust->setText(QLatin1String(headers[c - 1]));
    }
    SpdAdjust->setColumnType(AdjustEdit::TimerX, CellType::integer(0, 99));
    SpdAdjust->setColumnType(AdjustEdit::TimerY, CellType::integer(0, 99));
    SpdAdjust->setColumnType(AdjustEdit::PeakCh1, CellType::decimal(0.0, 99.0, 1));
    SpdAdjust->setColumnType(AdjustEdit::PeakCh2, CellType::decimal(0.0, 99.0, 1));
    SpdAdjust->setColumnType(AdjustEdit::Threshold, CellType::integer(2, 65));
    // Run and Param store nothing; only the window writes them.
    SpdAdjust->setColumnType(AdjustEdit::Run, CellType::label());
    SpdAdjust->setColumnType(AdjustEdit::Param, CellType::label());
    SpdAdjust->setRow(1);
    SpdAdjust->setCol(0);
    SpdAdjust->setText(QStringLiteral("Type:"));
    SpdAdjust->setCol(AdjustEdit::Run);
    SpdAdjust->setValue(QStringLiteral("1"));
    SpdAdjust->setCol(AdjustEdit::Param);
    SpdAdjust->setValue(QStringLiteral("A"));
    SpdAdjust->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SpdAdjust->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The row shows whole, at the design width if the font allows, else as wide as it needs;
    // a header stays whole in the bold it takes while its row or column is the current one.
    QFont bold = SpdAdjust->verticalHeader()->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    int headerWidth = twips(8175) * 16 / 100;
    for (int type = 0; type <= 5; ++type) {
        const QString name = QStringLiteral("VL ") + FrmSetpoints::typeName(type);
        headerWidth = std::max(headerWidth, boldMetrics.horizontalAdvance(name) + 12);
    }
    std::array<int, 7> need{};
    for (int c = 0; c < 7; ++c)
        need[c] = SpdAdjust->horizontalHeader()->sectionSizeHint(c);
    const int spare = twips(8175) - 2 * SpdAdjust->frameWidth() - headerWidth -
                      std::accumulate(need.begin(), need.end(), 0);
    SpdAdjust->verticalHeader()->setFixedWidth(headerWidth);
    int gridWidth = headerWidth + 2 * SpdAdjust->frameWidth();
    for (int c = 0; c < 7; ++c) {
        SpdAdjust->setColumnWidth(c, need[c] + std::max(0, spare) / 7);
        gridWidth += SpdAdjust->columnWidth(c);
    }
    const int gridHeight =
        std::max(twips(495), SpdAdjust->horizontalHeader()->sizeHint().height() +
                                 SpdAdjust->verticalHeader()->defaultSectionSize() +
                                 2 * SpdAdjust->frameWidth());
    SpdAdjust->setGeometry(0, twips(120), gridWidth, gridHeight);
    connect(SpdAdjust, &SpreadGrid::Change, this, &FrmAnalyse::SpdAdjust_Change);

    PnlAlign = new QFrame(PicControl);
    PnlAlign->setObjectName(QStringLiteral("PnlAlign"));
    PnlAlign->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PnlAlign->setLineWidth(2);
    // The panel stays clear of the grid, however tall the grid came out.
    const int panelTop = std::max(twips(600), twips(120) + gridHeight + twips(60));
    PnlAlign->setGeometry(0, panelTop, twips(3255), twips(1095));
    CmdBack = makeBackButton(PnlAlign);
    CmdBack->setGeometry(twips(120), twips(240), twips(615), twips(615));
    CmdMakeSetpoints = new QPushButton(QStringLiteral("Auto Setpoints"), PnlAlign);
    CmdMakeSetpoints->setObjectName(QStringLiteral("CmdMakeSetpoints"));
    CmdMakeSetpoints->setGeometry(twips(840), twips(120), twips(1575), twips(855));
    CmdExit = makeNextButton(PnlAlign);
    CmdExit->setGeometry(twips(2520), twips(240), twips(615), twips(615));
    connect(CmdBack, &QToolButton::clicked, this, &FrmAnalyse::CmdBack_Click);
    connect(CmdMakeSetpoints, &QPushButton::clicked, this, &FrmAnalyse::CmdMakeSetpoints_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmAnalyse::CmdExit_Click);

    const int stripHeight = std::max(twips(1695), PnlAlign->geometry().bottom() + 1 + twips(120));
    PicControl->setGeometry(0, twips(3960), twips(8535), stripHeight);

    const int extra = stripHeight - twips(1695);
    w->resize(twips(DesignClientWidth),
              twips(DesignClientHeight) + extra + menuBar->sizeHint().height());
    client->resized = [this] { Form_Resize(); };
}

void FrmAnalyse::Form_Activate() {
    LoadRunData(RunToAnalyse);
    DrawAnalysisGraph();
    FillAdjustGrid();
    DrawThresholdLines();
    DrawTimerMarkers();
    setStatus(QStringLiteral("Status: Analyze a run with a parameter set."));
}

void FrmAnalyse::LoadRunData(std::int16_t Run) {
    // A run without onset leaves an empty cut, never the run analysed before it.
    const auto limits = RunCut::cutRun(CapturedData, Run, CH1Samples, CH2Samples);
    AnaRunLength = limits ? static_cast<std::int16_t>(limits->length) : 0;
    if (!limits) MsgBox(QStringLiteral("No Data was found in the selected run...."));
}

void FrmAnalyse::DrawAnalysisGraph() {
    if (!isLoaded()) return;
    setWindowWaitCursor(window(), true);
    SciGraph& g = *PESciGraph;
    g.setAction(20);
    g.setSetupSwitch(true);
    g.setMainTitle(QStringLiteral("Single Run Analysis"));
    g.setAnalysisSwitch(false);
    g.setAnalysisOption(1, 2);
    g.setAnalysisOption(2, 2);
    g.setSetupColor(7);
    g.setAnalysisValue(1, 100);
    g.setAnalysisValue(2, 100);
    g.setXAxisLabel(QStringLiteral("Time in Seconds"));
    g.setYAxisLabel(QStringLiteral("% Full Scale"));
    g.setSubTitle(QStringLiteral("Analysis of Run #%1 and Parameter Set %2")
                      .arg(RunToAnalyse)
                      .arg(setLetter(ParamToAnalyse)));
    g.setSubsets(2);
    g.setPoints(2 * AnaRunLength);
    const int points = std::min<int>(AnaRunLength, 2000);
    for (int i = 1; i <= points; ++i) {
        const float x = static_cast<float>((i - 1) * 0.005);
        g.setXData(0, i - 1, x);
        g.setYData(0, i - 1, CH1Samples[i]);
        g.setXData(1, i - 1, x);
        g.setYData(1, i - 1, CH2Samples[i]);
    }
    g.setSubsetColor(0, paletteColor(0));
    g.setSubsetColor(1, paletteColor(0));
    g.setSubsetLineType(0, SciGraph::LineSolid);
    g.setSubsetLineType(1, SciGraph::LineDashed);
    g.setSubsetLabel(0, QStringLiteral("CH1"));
    g.setSubsetLabel(1, QStringLiteral("CH2"));
    g.setFinishingFraction(0.7);
    g.setFinishingOption(1, 1);
    g.setFinishingOption(2, 1);
    g.setAction(0);
    setWindowWaitCursor(window(), false);
}

void FrmAnalyse::Form_Resize() {
    SizeControls();
    CenterControls();
}

void FrmAnalyse::SizeControls() {
    if (!isLoaded()) return;
    QWidget* w = window();
    // A minimised or maximised window refuses a size of its own.
    if (!w->isMinimized() && !w->isMaximized()) {
        if (w->width() < twips(MinWindowWidth)) w->resize(twips(MinWindowWidth), w->height());
        if (w->height() < twips(MinWindowHeight)) w->resize(w->width(), twips(MinWindowHeight));
    }
    const int graphHeight = std::max(0, client_->height() - PicControl->height());
    PESciGraph->setGeometry(PESciGraph->x(), PESciGraph->y(), PESciGraph->width(), graphHeight);
    PicControl->move(PicControl->x(), PESciGraph->y() + graphHeight);
    PESciGraph->resize(client_->width(), PESciGraph->height());
    PicControl->resize(client_->width(), PicControl->height());
}

void FrmAnalyse::CenterControls() {
    if (!isLoaded()) return;
    SpdAdjust->move(centred(PicControl->width(), SpdAdjust->width()), SpdAdjust->y());
    PnlAlign->move(centred(PicControl->width(), PnlAlign->width()), PnlAlign->y());
}

std::optional<double> FrmAnalyse::sheetNumber(int row) const {
    FrmSetpoints& setpoints = Forms::get<FrmSetpoints>();
    setpoints.load();
    SpreadGrid& sheet = *setpoints.spdSetpoints;
    sheet.setCol(ParamToAnalyse);
    sheet.setRow(row);
    return SpreadGrid::parseNumber(sheet.valueText());
}

void FrmAnalyse::FillAdjustGrid() {
    if (!isLoaded()) return;
    FrmSetpoints& setpoints = Forms::get<FrmSetpoints>();
    setpoints.load();
    SpreadGrid& g = *SpdAdjust;
    g.setCol(0);
    g.setRow(1);
    if (InstrumentType >= 0 && InstrumentType <= 5)
        g.setText(QStringLiteral("VL ") + FrmSetpoints::typeName(InstrumentType));
    g.setCol(AdjustEdit::Param);
    if (ParamToAnalyse >= 1 && ParamToAnalyse <= 4) g.setValue(setLetter(ParamToAnalyse));
    g.setCol(AdjustEdit::Run);
    g.setValue(QString::number(RunToAnalyse));
    SpreadGrid& sheet = *setpoints.spdSetpoints;
    sheet.setCol(ParamToAnalyse);
    static constexpr std::pair<int, int> fromSheet[] = {{AdjustEdit::Threshold, SheetPctThreshold},
                                                        {AdjustEdit::TimerX, SheetTimerX},
                                                        {AdjustEdit::TimerY, SheetTimerY},
                                                        {AdjustEdit::PeakCh1, SheetCh1Peak},
                                                        {AdjustEdit::PeakCh2, SheetCh2Peak}};
    for (auto [col, row] : fromSheet) {
        g.setCol(col);
        sheet.setRow(row);
        g.setValue(sheet.valueText());
    }
}

void FrmAnalyse::SpdAdjust_Change(int Col, int /*Row*/) {
    SpreadGrid& g = *SpdAdjust;
    g.setRow(g.activeRow());
    g.setCol(g.activeCol());
    if (Col == AdjustEdit::Run || Col == AdjustEdit::Param) return;
    const auto typed = SpreadGrid::parseNumber(g.valueText());
    if (!typed || !AdjustEdit::storeEdit(Setpoints, ParamToAnalyse, Col, *typed)) return;
    Forms::get<FrmSetpoints>().GetCalibrationData();
    FillAdjustGrid();
    DrawThresholdLines();
    DrawTimerMarkers();
}

void FrmAnalyse::showAnnotations() {
    SciGraph& g = *PESciGraph;
    g.setAction(17);
    g.setAnnotationSetting(1, 0);
    g.setAnnotationSetting(2, 0);
    g.setAction(2);
    g.setAction(3);
}

void FrmAnalyse::DrawThresholdLines() {
    const float peak1 = static_cast<float>(sheetNumber(SheetCh1Peak).value_or(0.0));
    const float peak2 = static_cast<float>(sheetNumber(SheetCh2Peak).value_or(0.0));
    int pct = 0;
    if (const auto v = sheetNumber(SheetPctThreshold);
        v && std::abs(*v) <= std::numeric_limits<std::int16_t>::max())
        pct = static_cast<int>(std::nearbyint(*v));
    const auto levels =
        ThresholdLevels::levels(InstrumentType, peak1, peak2, ThresholdLevels::pctFraction(pct));
    CountWindow1 = levels.countWindow1;
    CountWindow2 = levels.countWindow2;
    if (!isLoaded()) return;

    SciGraph& g = *PESciGraph;
    g.setSetupSwitch(true);
    g.setShowAnnotations(true);
    // The right end is a time on the axis at or past the last sample.
    const double rightEnd = AnaRunLength - 1;
    auto line = [&](int index, float level) {
        for (int end = 0; end < 2; ++end) {
            g.setAnnotationY(index + end, level);
            g.setAnnotationX(index + end, end ? rightEnd : 0.0);
            g.setAnnotationText(index + end,
                                end ? QStringLiteral(" ") : QStringLiteral("Threshold"));
            g.setAnnotationType(index + end,
                                end ? SciGraph::AnnotationLineEnd : SciGraph::AnnotationLineStart);
            g.setAnnotationColor(index + end, paletteColor(AnnotationRed));
        }
    };
    line(0, CountWindow1);
    if (CountWindow2 != 0.0f) line(2, CountWindow2);
    showAnnotations();
}

void FrmAnalyse::DrawTimerMarkers() {
    const auto timerX = sheetNumber(SheetTimerX);
    const auto timerY = sheetNumber(SheetTimerY);
    const auto m = TimerMarkers::markers(InstrumentType, CH1Samples, CH2Samples, AnaRunLength,
                                         CountWindow1, CountWindow2, timerX, timerY);
    if (!isLoaded()) return;

    SciGraph& g = *PESciGraph;
    g.setSetupSwitch(true);
    g.setShowAnnotations(true);
    const struct {
        float x;
        const char* text;
        int colour;
    } marks[] = {{m.x1, "TimX 1", AnnotationTimerX},
                 {m.x2, "TimX 2", AnnotationTimerX},
                 {m.y1, "TimY 1", AnnotationTimerY},
                 {m.y2, "TimY 2", AnnotationTimerY}};
    int index = 4;
    for (const auto& mark : marks) {
        for (int end = 0; end < 2; ++end, ++index) {
            g.setAnnotationY(index, end ? 100.0 : 0.01);
            g.setAnnotationX(index, mark.x);
            g.setAnnotationText(index, end ? QStringLiteral(" ") : QLatin1String(mark.text));
            g.setAnnotationType(index,
                                end ? SciGraph::AnnotationLineEnd : SciGraph::AnnotationLineStart);
            g.setAnnotationColor(index, paletteColor(mark.colour));
        }
    }
    showAnnotations();
}

void FrmAnalyse::MakeSetpoints() {
    setWindowWaitCursor(window(), true);
    const bool made = AutoSetpoints::makeSetpoints(Setpoints, ParamToAnalyse, InstrumentType,
                                                   CH1Samples, CH2Samples, AnaRunLength);
    setWindowWaitCursor(window(), false);
    if (!made) {
        MsgBox(QStringLiteral("Data does not match version type.... No Setpoints were generated."));
        return;
    }
    Forms::get<FrmSetpoints>().GetCalibrationData();
    FillAdjustGrid();
    DrawThresholdLines();
    DrawTimerMarkers();
}

void FrmAnalyse::CmdBack_Click() {
    showAndUnload<FrmAnalyseDialoge>();
}

void FrmAnalyse::CmdExit_Click() {
    showAndUnload<FrmSetCal>();
}

void FrmAnalyse::CmdMakeSetpoints_Click() {
    MakeSetpoints();
}

void FrmAnalyse::mnuPrintGraph_Click() {
    PESciGraph->setAction(8);
}
