// SPDX-License-Identifier: GPL-3.0-or-later
// The run selection and the multi-run graph window, driven as the operator meets them.
#include "../CapturedRuns.h"
#include "AppFixture.h"
#include "FrmAnalyseDialoge.h"
#include "FrmGraph.h"
#include "FrmGraphInfo.h"
#include "FrmGraphType.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SciGraph.h"
#include "Screen.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

/// Run r as a capture leaves it: nothing before its onset, then levels of the code table,
/// different in each row, channel and run.
void captureRun(int r, int onset) {
    for (int row = onset; row <= CapturedTable::Rows; ++row)
        for (int ch : {1, 2})
            CapturedData.at(2 * r - 2 + ch, row) =
                CodeTable::levelOfCode(11 + ((row - onset) * (ch == 1 ? 7 : 3) + r) % 224);
}

class GraphWindowTest : public AppFixture {
protected:
    static FrmGraph& graph() { return Forms::get<FrmGraph>(); }
    static const std::vector<SciGraph::Curve>& curves() { return graph().PESciGraph->curves(); }
};

} // namespace

TEST_F(GraphWindowTest, RunSelectionKeepsItsTicksAndWritesTheLimits) {
    put(CapturedData, 3, {{1, 1.2f}, {105, 10.1f}, {400, 0.0f}}); // run 2: onset 100, end 455
    put(CapturedData, 9, {{1, 1.2f}, {11, 10.1f}, {1000, 0.0f}}); // run 5: onset 6, end 1055
    FrmGraphInfo& info = Forms::get<FrmGraphInfo>();
    info.show();
    info.ChkRun[4]->click(); // all eight were ticked
    info.hide();
    info.show();
    info.CmdGraph->click();
    EXPECT_FALSE(info.isVisible());
    EXPECT_TRUE(graph().isVisible());
    EXPECT_EQ(RunStart, (std::array<std::int16_t, 9>{0, 0, 100}));
    EXPECT_EQ(RunMax, 355);
    for (auto [button, max] : {std::pair{info.CmdClrAll, 0}, {info.CmdSetAll, 1049}}) {
        info.show();
        button->click();
        info.CmdGraph->click();
        EXPECT_EQ(RunMax, max);
    }
    info.show();
    info.CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmGraphType>().isVisible());
}

TEST_F(GraphWindowTest, ChosenRunsFillTheSubsetsInRunOrderFromTheirOwnOnsets) {
    const QColor runColour[9] = {{},          {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                 {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {128, 0, 128},
                                 {0, 0, 0}};
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
        RunStart = c.start;
        RunMax = std::int16_t(c.max);
        InstrumentType = std::int16_t(c.type);
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

TEST_F(GraphWindowTest, ActivationRedrawsResizeLaysOutPrintAndLeave) {
    captureRun(1, 10);
    RunStart[1] = 10;
    RunMax = 100;
    graph().show();
    QWidget* w = graph().window();
    const QPoint offCentre =
        w->frameGeometry().center() - qApp->primaryScreen()->geometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    const std::vector<double> first = curves()[0].y;

    // A resize or a minimise lays out again but never rebuilds the curves.
    CapturedData.at(1, 10) = 55.5f;
    for (auto [asked, kept] : {std::pair{QSize(3000, 5000), QSize(4000, 6000)},
                               {QSize(30000, 20000), QSize(30000, 20000)},
                               {QSize(1, 1), QSize(4000, 6000)}}) {
        SCOPED_TRACE(asked.width());
        w->resize(twips(asked.width()), twips(asked.height()));
        pump();
        EXPECT_EQ(w->size(), QSize(twips(kept.width()), twips(kept.height())));
        FrmGraph& f = graph();
        EXPECT_EQ(f.PESciGraph->geometry().bottom() + 1, f.PicControl->y());
        EXPECT_EQ(f.PicControl->geometry(),
                  QRect(0, f.PicControl->y(), w->width(), w->height() - f.PicControl->y()));
        EXPECT_NEAR(f.PnlButtons->geometry().center().x(), w->width() / 2, 2);
    }
    w->showMinimized();
    pump();
    w->showNormal();
    EXPECT_EQ(curves()[0].y, first);

    // Leaving for another window and coming back draws afresh.
    Forms::get<FrmGraphType>().show();
    graph().show();
    EXPECT_EQ(curves()[0].y[0], 55.5);
    // Nothing to graph: the message, and the old curves stay.
    RunMax = 0;
    Forms::get<FrmGraphType>().show();
    graph().show();
    EXPECT_EQ(msgs->texts(), QStringList{QStringLiteral("There is no data to graph...")});
    EXPECT_EQ(curves()[0].y[0], 55.5);

    // Printing from the menu: one page, not blank.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graph.pdf"));
    SciGraph::printHook() = [&path] { return path; };
    graph().mnuPrintGraph->trigger();
    SciGraph::printHook() = nullptr;
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    EXPECT_GT(bytes.size(), 10000); // curves, legend and titles, not an empty page

    // Previous and Next show their target, then unload this window.
    const std::pair<PictureButton * FrmGraph::*, Form*> ways[] = {
        {&FrmGraph::CmdBack, &Forms::get<FrmGraphInfo>()},
        {&FrmGraph::CmdExit, &Forms::get<FrmAnalyseDialoge>()}};
    for (const auto& [button, target] : ways) {
        graph().show();
        (graph().*button)->click();
        pump();
        EXPECT_TRUE(target->isVisible());
        EXPECT_FALSE(graph().isLoaded());
        target->hide();
    }
}
