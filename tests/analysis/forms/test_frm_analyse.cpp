// SPDX-License-Identifier: GPL-3.0-or-later
// The single-run analysis window reached through the chooser's hand-over with parameter set B:
// the cut on its graph, the lines and markers over it, the adjust grid and Auto Setpoints
// writing the store, navigation and layout.
#include "../CapturedRuns.h"
#include "AppFixture.h"
#include "FrmAnalyse.h"
#include "FrmAnalyseDialoge.h"
#include "FrmGraphType.h"
#include "FrmSetCal.h"
#include "FrmSetpoints.h"
#include "ModVars.h"
#include "SciGraph.h"
#include "Screen.h"
#include "SpreadGrid.h"

namespace {

float level(int code) {
    return CodeTable::levelOfCode(code);
}

class AnalyseTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        // Run 3 as a capture leaves it: idle until row 100, on from 100 to 199, idle after.
        put(CapturedData, 5, {{1, level(11)}, {100, level(125)}, {200, level(11)}});
        put(CapturedData, 6, {{1, level(11)}, {100, level(60)}, {200, level(11)}});
        SpCh1Peak[2] = 120;
        SpCh2Peak[2] = 50;
        SpPctThreshold[2] = 10;
        SpTimerX[2] = 10;
        SpTimerY[2] = 5;
    }
    static FrmAnalyse& open(int run = 3) {
        FrmAnalyseDialoge& chooser = Forms::get<FrmAnalyseDialoge>();
        chooser.show();
        chooser.OptRun[run - 1]->click();
        chooser.OptParam[1]->click();
        chooser.CmdGraph->click();
        return Forms::get<FrmAnalyse>();
    }
    static SciGraph& graph() { return *Forms::get<FrmAnalyse>().PESciGraph; }
    static SciGraph::Annotation note(int i) { return graph().annotations().at(i); }
    static QString gridText(int col) {
        SpreadGrid& g = *Forms::get<FrmAnalyse>().SpdAdjust;
        g.setRow(1);
        g.setCol(col);
        return g.text();
    }
};

} // namespace

// Onset at row 95 (row 100 lies five rows on), end search meets row 200: length 205 + 50 - 95.
TEST_F(AnalyseTest, ActivationDrawsTheCutWithTheSetsLinesAndMarkers) {
    const float l1 = static_cast<float>(level(120) - level(120) * double(0.1f));
    const float l2 = static_cast<float>(level(50) + 2.2);
    for (auto [type, cw2] : {std::pair{0, l2}, {3, 0.0f}}) {
        InstrumentType = static_cast<std::int16_t>(type);
        FrmAnalyse& a = open();
        // The sheet is rebuilt from the store on the way, and hidden again.
        EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), FrmSetpoints::typeName(type));
        EXPECT_FALSE(Forms::get<FrmSetpoints>().isVisible());
        EXPECT_FALSE(Forms::get<FrmAnalyseDialoge>().isVisible());
        EXPECT_EQ(Form::activeForm(), &a);
        EXPECT_EQ(std::pair(a.CountWindow1, a.CountWindow2), std::pair(l1, cw2));
        EXPECT_EQ(note(0).y, l1);
        EXPECT_EQ(note(2).y, l2); // Type D has no second level and leaves that line as it was
    }
    EXPECT_EQ(graph().subTitle(), QStringLiteral("Analysis of Run #3 and Parameter Set B"));
    ASSERT_EQ(graph().curves().size(), 2u);
    const auto& ch1 = graph().curves()[0];
    ASSERT_EQ(ch1.x.size(), 160u);
    EXPECT_FLOAT_EQ(ch1.x.back(), 159 * 0.005f);
    EXPECT_EQ(ch1.y[4], level(11));
    EXPECT_EQ(ch1.y[5], level(125));
    EXPECT_EQ(graph().curves()[1].y[5], level(60));
    EXPECT_EQ(note(1).x, 159.0);
    EXPECT_EQ(gridText(2) + gridText(7), QStringLiteral("B10"));
    // Type D: both windows open at position 6 (row 100), Timer X 10 and Timer Y 5 later.
    for (auto [i, x, text] : {std::tuple{4, 0.03, "TimX 1"},
                              {6, 0.13, "TimX 2"},
                              {8, 0.03, "TimY 1"},
                              {10, 0.08, "TimY 2"}}) {
        EXPECT_NEAR(note(i).x, x, 1e-6) << text;
        EXPECT_EQ(note(i).text, QLatin1String(text));
    }
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(AnalyseTest, AdjustGridEditsWriteOneElementAndMoveTheLinesAndMarkers) {
    InstrumentType = 3;
    const int code50 = CodeTable::codeOfLevel(50.0f);
    const struct {
        int col;
        const char* typed;
        SetpointStore::Array SetpointStore::*array;
        int stored;
        QString shown;
        int moved; ///< the annotation that moves, or -1
    } cases[] = {
        {5, "50", &SetpointStore::SpCh1Peak, code50, QString::number(level(code50), 'f', 1), 0},
        {6, "0", &SetpointStore::SpCh2Peak, 0, "0.0", -1},
        {3, "20", &SetpointStore::SpTimerX, 20, "20", 6},
        {4, "0", &SetpointStore::SpTimerY, 0, "0", 10},
        {7, "30", &SetpointStore::SpPctThreshold, 30, "30", 0},
        {1, "7", nullptr, 0, "7", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.col);
        FrmAnalyse& a = open();
        SetpointStore expected = Setpoints;
        if (c.array) (expected.*c.array)[2] = static_cast<std::int16_t>(c.stored);
        const auto before = graph().annotations();
        ASSERT_TRUE(a.SpdAdjust->typeIntoCell(c.col, 1, QLatin1String(c.typed)));
        EXPECT_EQ(Setpoints, expected);
        EXPECT_EQ(gridText(c.col), c.shown);
        const auto after = graph().annotations();
        for (int i : {0, 6, 10})
            EXPECT_EQ(after[i].x != before[i].x || after[i].y != before[i].y, i == c.moved) << i;
        a.CmdBack_Click();
    }
}

TEST_F(AnalyseTest, AutoSetpointsWritesTheFiveOfTheChosenSetAndRedraws) {
    InstrumentType = 2; // fixed results whatever the run
    FrmAnalyse& a = open();
    SetpointStore expected = Setpoints;
    expected.SpCh1Peak[2] = expected.SpCh2Peak[2] = CodeTable::codeOfLevel(51.0f);
    expected.SpPctThreshold[2] = expected.SpTimerX[2] = expected.SpTimerY[2] = 10;
    a.CmdMakeSetpoints->click();
    EXPECT_EQ(Setpoints, expected);
    const float peak = level(expected.SpCh1Peak[2]);
    EXPECT_EQ(note(0).y, static_cast<float>(peak - peak * double(0.1f)));
    EXPECT_EQ(gridText(4), QStringLiteral("10"));
    a.CmdExit->click();
    EXPECT_TRUE(Forms::get<FrmSetCal>().isVisible());
    EXPECT_FALSE(a.isLoaded());
    Forms::get<FrmSetpoints>().show();
    SpreadGrid& sheet = *Forms::get<FrmSetpoints>().spdSetpoints;
    sheet.setCol(2);
    sheet.setRow(4);
    EXPECT_EQ(sheet.valueText(), SpreadGrid::floatText(peak));
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(AnalyseTest, RunWithoutOnsetLeavesAnEmptyCutNotTheRunBefore) {
    FrmAnalyse& a = open(3);
    a.CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmAnalyseDialoge>().isVisible());
    EXPECT_FALSE(a.isLoaded());
    open(4);
    EXPECT_EQ(msgs->texts(), QStringList{"No Data was found in the selected run...."});
    EXPECT_EQ(a.AnaRunLength, 0);
    EXPECT_EQ(graph().subTitle(), QStringLiteral("Analysis of Run #4 and Parameter Set B"));
    for (const auto& curve : graph().curves())
        EXPECT_TRUE(curve.y.empty());
    EXPECT_EQ(note(1).x, -1.0);
    // Type A finds nothing to derive from an empty cut, and writes nothing.
    const SetpointStore before = Setpoints;
    msgs->clear();
    a.CmdMakeSetpoints->click();
    EXPECT_EQ(msgs->texts(),
              QStringList{"Data does not match version type.... No Setpoints were generated."});
    EXPECT_EQ(Setpoints, before);
    Forms::get<FrmAnalyseDialoge>().show();
    Forms::get<FrmAnalyseDialoge>().CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmGraphType>().isVisible());
}

TEST_F(AnalyseTest, ResizeSpringsBackAndKeepsGridAndPanelCentred) {
    FrmAnalyse& a = open();
    QWidget* w = a.window();
    for (auto [width, height] : {std::pair{2000, 2000}, {12000, 9000}}) {
        w->resize(twips(width), twips(height));
        pump(20);
        EXPECT_EQ(w->size(), QSize(twips(std::max(width, 4000)), twips(std::max(height, 6000))));
        const int strip = a.PicControl->width();
        EXPECT_EQ(strip, a.PESciGraph->width());
        EXPECT_EQ(a.PicControl->y(), a.PESciGraph->height());
        EXPECT_EQ(a.PicControl->geometry().bottom(), a.PicControl->parentWidget()->height() - 1);
        for (QWidget* c : {static_cast<QWidget*>(a.SpdAdjust), static_cast<QWidget*>(a.PnlAlign)})
            EXPECT_NEAR(c->x(), std::max(0, (strip - c->width()) / 2), 1);
    }
}
