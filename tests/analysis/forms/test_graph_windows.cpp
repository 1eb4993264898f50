// SPDX-License-Identifier: GPL-3.0-or-later
// The run selection, the multi-run graph and the single-run analysis (parameter set B, reached
// through the chooser's hand-over), driven as the operator meets them.
#include "../CapturedRuns.h"
#include "AppFixture.h"
#include "CodeTable.h"
#include "FrmAnalyse.h"
#include "FrmAnalyseDialoge.h"
#include "FrmGraph.h"
#include "FrmGraphInfo.h"
#include "FrmGraphType.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SciGraph.h"
#include "Screen.h"
#include "SpreadGrid.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QStyle>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

float level(int code) {
    return CodeTable::levelOfCode(code);
}

/// Run r from its onset on: levels of the code table, different in each row, channel and run.
void captureRun(int r, int onset) {
    for (int row = onset; row <= CapturedTable::Rows; ++row)
        for (int ch : {1, 2})
            CapturedData.at(2 * r - 2 + ch, row) =
                level(11 + ((row - onset) * (ch == 1 ? 7 : 3) + r) % 224);
}

class GraphWindows : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        // Run 3: idle, on from row 100 to 199, idle. Onset 95, first row below the level 200:
        // 160 rows to draw.
        put(CapturedData, 5, {{1, level(11)}, {100, level(125)}, {200, level(11)}});
        put(CapturedData, 6, {{1, level(11)}, {100, level(60)}, {200, level(11)}});
        std::tie(SpCh1Peak[2], SpCh2Peak[2], SpPctThreshold[2], SpTimerX[2], SpTimerY[2]) =
            std::tuple(120, 50, 10, 10, 5);
    }
    static FrmGraph& graph() { return Forms::get<FrmGraph>(); }
    static const std::vector<SciGraph::Curve>& curves() { return graph().PESciGraph->curves(); }
    static FrmAnalyse& analyse(int run = 3, int param = 2) {
        FrmAnalyseDialoge& chooser = Forms::get<FrmAnalyseDialoge>();
        chooser.show();
        chooser.OptRun[run - 1]->click();
        chooser.OptParam[param - 1]->click();
        chooser.CmdGraph->click();
        return Forms::get<FrmAnalyse>();
    }
    static SciGraph& cutGraph() { return *Forms::get<FrmAnalyse>().PESciGraph; }
    static SciGraph::Annotation note(int i) { return cutGraph().annotations().at(i); }
    static QString gridText(int col) {
        SpreadGrid& g = *Forms::get<FrmAnalyse>().SpdAdjust;
        g.setRow(1);
        g.setCol(col);
        return g.text();
    }
};

} // namespace

TEST_F(GraphWindows, ChosenRunsFillTheSubsetsInRunOrderFromTheirOwnOnsets) {
    const QColor runColour[9] = {{},          Qt::blue,   Qt::green,     Qt::cyan, Qt::red,
                                 Qt::magenta, Qt::yellow, {128, 0, 128}, Qt::black};
    const struct {
        const char* name;
        std::array<std::int16_t, 9> start;
        int max, type;
        const char* subtitle;
        std::vector<int> runs, points; // in subset order
    } cases[] = {
        {"runs 2 and 5", {0, 0, 100, 0, 0, 300}, 400, 0, "TYPE A", {2, 5}, {401, 401}},
        {"cut at row 2000", {0, 1900, 0, 50}, 300, 6, "TYPE UNKNOWN", {1, 3}, {101, 301}},
        {"one run, longest", {0, 0, 0, 0, 0, 0, 0, 0, 1}, 1999, -1, "TYPE UNKNOWN", {8}, {2000}},
        {"type F", {0, 0, 0, 0, 0, 0, 0, 0, 1}, 1999, 5, "TYPE F", {8}, {2000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CapturedData.clear();
        for (int r = 1; r <= 8; ++r)
            if (c.start[r] > 0) captureRun(r, c.start[r]);
        // Cells a data file cannot hold are drawn as 0.
        const int nanColumn = 2 * c.runs[0] - 1, nanRow = c.start[c.runs[0]] + 3;
        CapturedData.at(nanColumn, nanRow) = std::numeric_limits<float>::quiet_NaN();
        CapturedData.at(nanColumn + 1, nanRow) = -std::numeric_limits<float>::infinity();
        std::tie(RunStart, RunMax, InstrumentType) = std::tuple(c.start, c.max, c.type);
        graph().show();
        EXPECT_EQ(graph().PESciGraph->subTitle(), QLatin1String(c.subtitle));
        ASSERT_EQ(curves().size(), 2 * c.runs.size());
        for (size_t i = 0; i < curves().size(); ++i) {
            const int r = c.runs[i / 2], ch = int(i % 2) + 1, n = c.points[i / 2];
            const SciGraph::Curve& curve = curves()[i];
            EXPECT_EQ(curve.label, QStringLiteral("Run%1 CH%2").arg(r).arg(ch));
            EXPECT_EQ(curve.color, runColour[r]) << r;
            EXPECT_EQ(curve.lineType, ch == 1 ? SciGraph::LineSolid : SciGraph::LineDashed);
            ASSERT_EQ(int(curve.x.size()), n) << r;
            for (int p = 0; p < n; ++p) {
                const float cell = CapturedData.at(2 * r - 2 + ch, c.start[r] + p);
                ASSERT_EQ(curve.x[p], double(float(p * 0.005))) << r << " " << p;
                ASSERT_EQ(curve.y[p], std::isfinite(cell) ? cell : 0.0) << r << " " << p;
            }
        }
        EXPECT_TRUE(msgs->calls.isEmpty());
        Forms::get<MDIFormMain>().HideChildForms();
        EXPECT_FALSE(graph().isLoaded());
    }
}

TEST_F(GraphWindows, SelectionGraphsResizeLaysOutReturningRedrawsPrintAndLeave) {
    FrmGraphInfo& info = Forms::get<FrmGraphInfo>();
    info.show();
    info.CmdGraph->click(); // all eight ticked at first
    EXPECT_TRUE(graph().isVisible() && !info.isVisible());
    EXPECT_EQ((std::pair<int, int>(RunStart[3], RunMax)), std::pair(95, 160));
    FrmAnalyse& a = analyse();
    using Window = std::tuple<Form*, SciGraph*, QFrame*, std::vector<QWidget*>>;
    for (const auto& [form, plot, strip, centred] :
         {Window{&graph(), graph().PESciGraph, graph().PicControl, {graph().PnlButtons}},
          Window{&a, a.PESciGraph, a.PicControl, {a.SpdAdjust, a.PnlAlign}}}) {
        form->show();
        pump();
        QWidget* win = form->window();
        CapturedData.at(5, 95) += 1.0f; // seen at the next activation, not at a resize
        const std::vector<double> drawn = plot->curves()[0].y;
        for (auto [asked, kept] : {std::pair{QSize(3000, 5000), QSize(4000, 6000)},
                                   {QSize(30000, 20000), QSize(30000, 20000)},
                                   {QSize(1, 1), QSize(4000, 6000)}}) {
            SCOPED_TRACE(asked.width());
            win->resize(twips(asked.width()), twips(asked.height()));
            pump();
            EXPECT_EQ(win->size(), QSize(twips(kept.width()), twips(kept.height())));
            const QSize area = strip->parentWidget()->size();
            const int top = plot->geometry().bottom() + 1;
            EXPECT_EQ(strip->geometry(), QRect(0, top, area.width(), area.height() - top));
            // Centred to a pixel or two; at the left edge exactly when the strip is narrower.
            for (QWidget* c : centred) {
                const int left = (area.width() - c->width()) / 2;
                EXPECT_NEAR(c->x(), std::max(0, left), left > 0 ? 2 : 0);
            }
        }
        EXPECT_EQ(plot->curves()[0].y, drawn);
    }
    graph().show();
    EXPECT_EQ(curves()[0].y[0], CapturedData.at(5, 95));
    // Run 3 unticked, and still so after leaving: nothing to graph, the old curves stay.
    info.show();
    info.ChkRun[2]->click();
    info.hide();
    info.show();
    info.CmdGraph->click();
    EXPECT_EQ(msgs->texts(), QStringList{QStringLiteral("There is no data to graph...")});
    EXPECT_EQ(curves()[0].y[0], CapturedData.at(5, 95));
    // Run 1 as run 3: its own box, the first, brings it in alone.
    put(CapturedData, 1, {{1, level(11)}, {100, level(125)}, {200, level(11)}});
    for (auto [button, max] : {std::pair<QAbstractButton*, int>{info.CmdSetAll, 160},
                               {info.CmdClrAll, 0},
                               {info.ChkRun[0], 160}}) {
        info.show();
        button->click();
        info.CmdGraph->click();
        EXPECT_EQ(RunMax, max);
    }

    QTemporaryDir dir;
    SciGraph::printHook() = [&dir] { return dir.filePath(QStringLiteral("graph.pdf")); };
    graph().mnuPrintGraph->trigger();
    SciGraph::printHook() = nullptr;
    QFile pdf(dir.filePath(QStringLiteral("graph.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    EXPECT_GT(bytes.size(), 10000); // curves, legend and titles, not an empty page
    graph().CmdBack->click();
    EXPECT_TRUE(info.isVisible() && !graph().isLoaded());
    // Each button shows its own window and no other; the chooser's Cancel none.
    FrmGraphType& chooser = Forms::get<FrmGraphType>();
    FrmAnalyseDialoge& single = Forms::get<FrmAnalyseDialoge>();
    chooser.load();
    using Step = std::tuple<Form*, QAbstractButton*, Form*>;
    for (auto [from, button, to] :
         {Step{&info, info.CmdBack, &chooser}, Step{&single, single.CmdBack, &chooser},
          Step{&chooser, chooser.CmdType[0], &info}, Step{&chooser, chooser.CmdType[1], &single},
          Step{&chooser, chooser.CmdCancel, nullptr}}) {
        Forms::get<MDIFormMain>().HideChildForms();
        from->show();
        button->click();
        EXPECT_EQ(std::ranges::count_if(qApp->topLevelWidgets(), &QWidget::isVisible), to ? 1 : 0);
        EXPECT_TRUE(!to || to->isVisible()) << button->text().toStdString();
    }
    // Each chooser shows its whole caption beside the title bar's icon and buttons.
    QFont bold = QApplication::font();
    bold.setBold(true);
    const int bar = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    for (QWidget* w : {chooser.window(), info.window(), single.window()})
        EXPECT_GE(w->width(), QFontMetrics(bold).horizontalAdvance(w->windowTitle()) + 4 * bar)
            << w->windowTitle().toStdString();
    graph().show();
    graph().CmdExit->click();
    EXPECT_TRUE(Forms::get<FrmAnalyseDialoge>().isVisible() && !graph().isLoaded());
}

TEST_F(GraphWindows, AnalysisDrawsTheCutOrForARunWithoutOnsetNothing) {
    FrmAnalyse& a = Forms::get<FrmAnalyse>();
    const float l1 = static_cast<float>(level(120) - level(120) * double(0.1f));
    const float l2 = static_cast<float>(level(50) + 2.2);
    for (int type : {0, 3}) {
        InstrumentType = static_cast<std::int16_t>(type);
        analyse();
        // The sheet is rebuilt from the store on the way, and hidden again.
        EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), FrmSetpoints::typeName(type));
        EXPECT_FALSE(Forms::get<FrmSetpoints>().isVisible());
        EXPECT_EQ(std::pair(note(0).y, note(1).y), std::pair(double(l1), double(l1)));
        EXPECT_EQ(note(2).y, l2); // Type D has no second level and leaves that line as it was
        EXPECT_EQ(a.SpdAdjust->model()->headerData(0, Qt::Vertical).toString(),
                  "VL " + FrmSetpoints::typeName(type));
    }
    InstrumentType = 5;
    a.FillAdjustGrid();
    EXPECT_EQ(a.SpdAdjust->model()->headerData(0, Qt::Vertical).toString(), "VL Type F");
    InstrumentType = 3;
    // The first and the last run and set, in the subtitle and the grid; edits go to the set.
    for (auto [run, param, letter] : {std::tuple{1, 1, "A"}, {3, 4, "D"}}) {
        analyse(run, param);
        EXPECT_EQ(cutGraph().subTitle(),
                  QStringLiteral("Analysis of Run #%1 and Parameter Set %2").arg(run).arg(letter));
        EXPECT_EQ(gridText(2), QLatin1String(letter));
        ASSERT_TRUE(a.SpdAdjust->typeIntoCell(4, 1, QStringLiteral("7")));
        EXPECT_EQ(SpTimerY[param], 7) << letter;
    }
    msgs->clear(); // run 1 holds no data
    analyse();
    EXPECT_EQ(cutGraph().subTitle(), QStringLiteral("Analysis of Run #3 and Parameter Set B"));
    ASSERT_EQ(cutGraph().curves().size(), 2u);
    const auto& ch1 = cutGraph().curves()[0];
    ASSERT_EQ(ch1.x.size(), 160u);
    EXPECT_FLOAT_EQ(ch1.x.back(), 159 * 0.005f);
    EXPECT_EQ(std::pair(ch1.y[4], ch1.y[5]), std::pair(double(level(11)), double(level(125))));
    EXPECT_EQ(cutGraph().curves()[1].y[5], level(60));
    EXPECT_EQ(note(1).x, 159.0);
    EXPECT_EQ(gridText(2) + gridText(7), QStringLiteral("B10"));
    // Type D: both windows open at position 6 (row 100), Timer X 10 and Timer Y 5 later.
    for (auto [i, x] : {std::pair{4, 0.03}, {6, 0.13}, {8, 0.03}, {10, 0.08}})
        EXPECT_NEAR(note(i).x, x, 1e-6) << i;
    // Run and Param are the window's to write; every header shows whole, in bold too.
    EXPECT_FALSE(a.SpdAdjust->typeIntoCell(1, 1, QStringLiteral("5")) ||
                 (a.SpdAdjust->model()->index(0, 1).flags() & Qt::ItemIsEditable));
    QStringList headers;
    for (int c = 0; c < 7; ++c) {
        EXPECT_GE(a.SpdAdjust->columnWidth(c), a.SpdAdjust->horizontalHeader()->sectionSizeHint(c));
        headers << a.SpdAdjust->model()->headerData(c, Qt::Horizontal).toString();
    }
    EXPECT_EQ(headers.join(','), "Run,Param,Timer X,Timer Y,Peak Ch1,Peak Ch2,Threshold");
    // An edit of the adjust grid writes one element of set B and moves its line or marker.
    for (auto [col, typed, array, stored, moved] :
         {std::tuple{5, "50", &SetpointStore::SpCh1Peak, CodeTable::codeOfLevel(50.0f), 0},
          {3, "20", &SetpointStore::SpTimerX, 20, 6},
          {4, "0", &SetpointStore::SpTimerY, 0, 10}}) {
        SetpointStore expected = Setpoints;
        (expected.*array)[2] = static_cast<std::int16_t>(stored);
        const auto was = cutGraph().annotations();
        ASSERT_TRUE(a.SpdAdjust->typeIntoCell(col, 1, QLatin1String(typed)));
        EXPECT_EQ(Setpoints, expected) << col;
        for (int i : {0, 6, 10})
            EXPECT_EQ(note(i).x != was[i].x || note(i).y != was[i].y, i == moved) << col << i;
    }
    // A run with no onset leaves an empty cut that Auto Setpoints of Type A refuses.
    InstrumentType = 0;
    a.CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmAnalyseDialoge>().isVisible() && !a.isLoaded());
    analyse(4);
    EXPECT_EQ(msgs->texts(), QStringList{"No Data was found in the selected run...."});
    EXPECT_EQ(a.AnaRunLength, 0);
    EXPECT_EQ(cutGraph().subTitle(), QStringLiteral("Analysis of Run #4 and Parameter Set B"));
    for (const auto& curve : cutGraph().curves())
        EXPECT_TRUE(curve.y.empty());
    EXPECT_EQ(note(1).x, -1.0);
    // The types that derive from the run find nothing in an empty cut, and write nothing.
    SetpointStore expected = Setpoints;
    for (int type : {0, 1, 3, 4}) {
        InstrumentType = static_cast<std::int16_t>(type);
        msgs->clear();
        a.CmdMakeSetpoints->click();
        EXPECT_EQ(msgs->texts(),
                  QStringList{"Data does not match version type.... No Setpoints were generated."})
            << type;
        EXPECT_EQ(Setpoints, expected) << type;
    }
    // Type C's fixed results: the five of set B only, and the lines move.
    InstrumentType = 2;
    expected.SpCh1Peak[2] = expected.SpCh2Peak[2] = CodeTable::codeOfLevel(51.0f);
    expected.SpPctThreshold[2] = expected.SpTimerX[2] = expected.SpTimerY[2] = 10;
    a.CmdMakeSetpoints->click();
    EXPECT_EQ(Setpoints, expected);
    const float peak = level(expected.SpCh1Peak[2]);
    EXPECT_EQ(note(0).y, static_cast<float>(peak - peak * double(0.1f)));
    EXPECT_EQ(gridText(4), QStringLiteral("10"));
    a.CmdExit->click();
    EXPECT_TRUE(Forms::get<FrmSetCal>().isVisible());
}

TEST_F(GraphWindows, ThresholdLinesAndTheirLabelsStayInView) {
    QCustomPlot& plot = *[] { return analyse().PESciGraph->plot(); }();
    const auto labelTops = [&] {
        std::vector<double> tops;
        for (int i = 0; i < plot.itemCount(); ++i)
            if (auto* t = qobject_cast<QCPItemText*>(plot.item(i)); t && t->text() == "Threshold")
                tops.push_back(t->topLeft->pixelPosition().y());
        return tops;
    };
    // A label whose point is in view across (or up) the plot stays inside it across (or up).
    const auto labelsInside = [&](const char* what) {
        const QRectF area = plot.axisRect()->rect();
        for (int i = 0; i < plot.itemCount(); ++i) {
            auto* t = qobject_cast<QCPItemText*>(plot.item(i));
            if (!t) continue;
            const QPointF at = t->position->pixelPosition();
            const QRectF box(t->topLeft->pixelPosition(), t->bottomRight->pixelPosition());
            const std::string text = what + (" " + t->text().toStdString());
            if (at.x() >= area.left() && at.x() <= area.right()) {
                EXPECT_TRUE(box.left() >= area.left() && box.right() <= area.right()) << text;
            }
            if (at.y() >= area.top() && at.y() <= area.bottom()) {
                EXPECT_TRUE(box.top() >= area.top() && box.bottom() <= area.bottom()) << text;
            }
        }
    };
    const int lineHeight = QFontMetrics(plot.font()).height();
    // Peaks 99.0 put both levels above the curves, for Type C at one level; an edit of the CH2
    // peak moves the second level above them, or to 0.04 below the first; the operator's zoom
    // on the time axis stays.
    for (auto [type, peak1, peak2, typed] : {std::tuple{2, 250, 250, "99"},
                                             {0, 250, 250, "98.9"},
                                             {0, 120, 50, "90"},
                                             {0, 120, 50, "41.5"}}) {
        std::tie(InstrumentType, SpCh1Peak[2], SpCh2Peak[2]) = std::tuple(type, peak1, peak2);
        analyse();
        plot.xAxis->setRange(0.1, 0.3);
        Forms::get<FrmAnalyse>().SpdAdjust->typeIntoCell(6, 1, QLatin1String(typed));
        EXPECT_EQ(plot.xAxis->range(), QCPRange(0.1, 0.3));
        for (int i : {0, 2}) { // each line below the top by at least its label's height
            const double y = plot.yAxis->coordToPixel(note(i).y);
            EXPECT_GE(y - plot.axisRect()->top(), lineHeight) << typed << " " << i;
            EXPECT_LT(y, plot.axisRect()->bottom()) << typed << " " << i;
        }
        const auto tops = labelTops();
        ASSERT_EQ(tops.size(), 2u);
        EXPECT_GE(std::abs(tops[0] - tops[1]), lineHeight - 1) << typed;
        labelsInside(typed);
    }
    // A run that starts at row 1957 is cut 0.215 s long; Type D puts "TimX 2" at 0.2 s.
    put(CapturedData, 7, {{1, level(11)}, {1962, level(125)}});
    std::tie(InstrumentType, SpCh1Peak[2], SpTimerX[2]) = std::tuple(3, 120, 17);
    analyse(4);
    EXPECT_NEAR(note(6).x, 0.2, 1e-6);
    labelsInside("marker near the right edge");
    // At the last sample, 0.21 s: the marker stands on the plot's right edge.
    SpTimerX[2] = 18;
    analyse(4);
    EXPECT_EQ(note(6).x, plot.xAxis->range().upper);
    labelsInside("marker on the right edge");
}
