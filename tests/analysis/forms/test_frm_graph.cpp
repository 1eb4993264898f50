// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-run graph window, driven as the operator meets it.
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
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

float level(int code) {
    CodeToValue(static_cast<std::int16_t>(code));
    return CodeToValueResult;
}

/// Run r as a capture leaves it: nothing before its onset, then levels of the code table,
/// different in each channel and each run.
void captureRun(int r, int onset) {
    for (int row = 1; row <= CapturedTable::Rows; ++row) {
        const int k = row - onset;
        CapturedData.at(2 * r - 1, row) = level(k < 0 ? 0 : 11 + (k * 7 + r) % 224);
        CapturedData.at(2 * r, row) = level(k < 0 ? 0 : 11 + (k * 3 + r) % 224);
    }
}

struct Limits {
    std::array<std::int16_t, 9> start;
    std::int16_t max;
};

void setLimits(const Limits& l) {
    RunStart = l.start;
    RunMax = l.max;
}

class GraphWindowTest : public AppFixture {
protected:
    static FrmGraph& graph() { return Forms::get<FrmGraph>(); }
    static const std::vector<SciGraph::Curve>& curves() { return graph().PESciGraph->curves(); }
    static QString status() { return Forms::get<MDIFormMain>().LblStatus->text(); }
};

} // namespace

TEST_F(GraphWindowTest, ChosenRunsFillTheSubsetsInRunOrderFromTheirOwnOnsets) {
    struct Case {
        const char* name;
        Limits limits;
        int type;
        QString subtitle;
        std::vector<int> runs;   // in subset order
        std::vector<int> points; // per run
    } cases[] = {
        {"runs 2 and 5", {{0, 0, 100, 0, 0, 300}, 400}, 0, "TYPE A", {2, 5}, {401, 401}},
        {"cut at row 2000", {{0, 1900, 0, 50}, 300}, 6, "TYPE UNKNOWN", {1, 3}, {101, 301}},
        {"one run, longest", {{0, 0, 0, 0, 0, 0, 0, 0, 1}, 1999}, -1, "TYPE UNKNOWN", {8}, {2000}},
    };
    const QColor runColour[9] = {{},          {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                                 {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {128, 0, 128},
                                 {0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CapturedData.clear();
        for (int r = 1; r <= 8; ++r)
            if (c.limits.start[r] > 0) captureRun(r, c.limits.start[r]);
        const int firstRun = c.runs[0];
        const int nanRow = c.limits.start[firstRun] + 3;
        CapturedData.at(2 * firstRun - 1, nanRow) = std::numeric_limits<float>::quiet_NaN();
        CapturedData.at(2 * firstRun, nanRow) = -std::numeric_limits<float>::infinity();
        setLimits(c.limits);
        InstrumentType = static_cast<std::int16_t>(c.type);

        graph().show();
        EXPECT_EQ(graph().PESciGraph->subTitle(), c.subtitle);
        ASSERT_EQ(curves().size(), 2 * c.runs.size());
        for (size_t i = 0; i < c.runs.size(); ++i) {
            const int r = c.runs[i];
            for (int ch = 1; ch <= 2; ++ch) {
                SCOPED_TRACE(QStringLiteral("run %1 CH%2").arg(r).arg(ch).toStdString());
                const SciGraph::Curve& curve = curves()[2 * i + ch - 1];
                EXPECT_EQ(curve.label, QStringLiteral("Run%1 CH%2").arg(r).arg(ch));
                EXPECT_EQ(curve.color, runColour[r]);
                EXPECT_EQ(curve.lineType, ch == 1 ? SciGraph::LineSolid : SciGraph::LineDashed);
                ASSERT_EQ(int(curve.x.size()), c.points[i]);
                for (int p = 0; p < c.points[i]; ++p) {
                    const float cell = CapturedData.at(2 * r - 2 + ch, c.limits.start[r] + p);
                    ASSERT_EQ(curve.x[p], double(float(p * 0.005))) << p;
                    ASSERT_EQ(curve.y[p], std::isfinite(cell) ? cell : 0.0) << p;
                }
            }
        }
        EXPECT_GT(curves()[0].y[0], 0.0); // the onset row itself, not the row before it
        EXPECT_EQ(status(), QStringLiteral("Status: Graph complete."));
        EXPECT_TRUE(msgs->calls.isEmpty());
        Forms::get<MDIFormMain>().HideChildForms();
        EXPECT_FALSE(graph().isLoaded());
    }
}

TEST_F(GraphWindowTest, ReturningRedrawsResizingOnlyLaysOutNoDataKeepsTheGraph) {
    captureRun(1, 10);
    setLimits({{0, 10}, 100});
    graph().show();
    QWidget* w = graph().window();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(w->frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(w->frameGeometry().center().y(), screen.center().y(), 1);
    EXPECT_EQ(w->height(), twips(6000)); // raised from the design height
    const std::vector<double> first = curves()[0].y;

    // A resize lays out again but never rebuilds the curves.
    CapturedData.at(1, 10) = 55.5f;
    struct Size {
        int w, h;   // asked for, in twips
        int ew, eh; // kept
    } sizes[] = {{3000, 5000, 4000, 6000}, {30000, 20000, 30000, 20000}, {1, 1, 4000, 6000}};
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.w);
        w->resize(twips(s.w), twips(s.h));
        pump();
        EXPECT_EQ(w->size(), QSize(twips(s.ew), twips(s.eh)));
        FrmGraph& f = graph();
        EXPECT_EQ(f.PESciGraph->geometry().bottom() + 1, f.PicControl->y());
        EXPECT_EQ(f.PicControl->geometry().bottom() + 1, w->height());
        EXPECT_EQ(f.PicControl->width(), w->width());
        const int panelCentre = f.PnlButtons->x() + f.PnlButtons->width() / 2;
        EXPECT_NEAR(panelCentre, w->width() / 2, 2);
        EXPECT_EQ(f.PnlButtons->y(), twips(120));
    }
    w->showMinimized(); // keeps its size: nothing to lay out, nothing to crash
    pump();
    w->showNormal();
    EXPECT_EQ(curves()[0].y, first);

    // Leaving for another window of the program and coming back draws afresh.
    Forms::get<FrmGraphType>().show();
    graph().show();
    EXPECT_EQ(curves()[0].y[0], 55.5);

    // Nothing to graph: the message, the old curves stay, the status still ends complete.
    RunMax = 0;
    Forms::get<FrmGraphType>().show();
    graph().show();
    EXPECT_EQ(msgs->texts(), QStringList{QStringLiteral("There is no data to graph...")});
    EXPECT_EQ(curves()[0].y[0], 55.5);
    EXPECT_EQ(status(), QStringLiteral("Status: Graph complete."));
}

TEST_F(GraphWindowTest, PrintsFromTheMenuAndLeavesByItsButtons) {
    captureRun(4, 1);
    setLimits({{0, 0, 0, 0, 1}, 1500});
    graph().show();
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
