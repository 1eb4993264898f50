// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "CaptureDecoder.h"
#include "FrmAnalyse.h"
#include "FrmAnalyseDialoge.h"
#include "FrmGraph.h"
#include "FrmGraphInfo.h"
#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "MDIFormMain.h"
#include "ModVars.h"

#include <algorithm>

namespace {

QString statusLine() {
    return Forms::get<MDIFormMain>().LblStatus->text();
}

/// Captures a run whose CH1 code steps from 13 (1.2) to 33 (10.1) at row `up` and back at
/// row `down`; CH2 stays at code 0.
void captureRun(int run, int up, int down) {
    Ch1Codes.fill(0);
    Ch2Codes.fill(0);
    std::fill(Ch1Codes.begin() + 1, Ch1Codes.begin() + up, 13);
    std::fill(Ch1Codes.begin() + up, Ch1Codes.begin() + down, 33);
    CaptureDecoder::writeRun(CapturedData, run, Ch1Codes, Ch2Codes);
}

using RunChoosers = AppFixture;

} // namespace

TEST_F(RunChoosers, RunSelectionKeepsItsTicksAndWritesTheLimits) {
    captureRun(2, 105, 400); // onset 100, end 455
    captureRun(5, 11, 1000); // onset 6, end 1055
    FrmGraphInfo& info = Forms::get<FrmGraphInfo>();
    info.show();
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Choose runs to appear in graph."));
    info.ChkRun[4]->click(); // all eight were ticked
    info.hide();
    info.show();
    info.CmdGraph->click();
    EXPECT_FALSE(info.isVisible());
    EXPECT_TRUE(Forms::get<FrmGraph>().isVisible());
    EXPECT_EQ(RunStart[2], 100);
    EXPECT_EQ(RunStart[5], 0) << "run 5 was unticked and stays so while hidden";
    EXPECT_EQ(RunMax, 355);

    for (auto [button, max] : {std::pair{info.CmdClrAll, 0}, std::pair{info.CmdSetAll, 1049}}) {
        info.show();
        button->click();
        info.CmdGraph->click();
        EXPECT_EQ(RunMax, max);
    }
    info.show();
    info.CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmGraphType>().isVisible());
}

TEST_F(RunChoosers, HandOverReachesTheAnalysisWithRunAndSet) {
    FrmAnalyseDialoge& chooser = Forms::get<FrmAnalyseDialoge>();
    chooser.show();
    EXPECT_EQ(statusLine(), QStringLiteral("Status: Choose run and parameter set to analyze."));
    chooser.OptRun[5]->click();
    chooser.OptParam[2]->click();
    chooser.hide();
    chooser.show();
    EXPECT_EQ(std::ranges::count_if(chooser.OptRun, &QRadioButton::isChecked), 1);
    EXPECT_EQ(std::ranges::count_if(chooser.OptParam, &QRadioButton::isChecked), 1);

    InstrumentType = 2; // the sheet must be rebuilt from the store on the way
    chooser.CmdGraph->click();
    FrmAnalyse& analyse = Forms::get<FrmAnalyse>();
    EXPECT_EQ(analyse.RunToAnalyse, 6);
    EXPECT_EQ(analyse.ParamToAnalyse, 3);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_FALSE(Forms::get<FrmSetpoints>().isVisible());
    EXPECT_EQ(Forms::get<FrmSetpoints>().LblType->text(), FrmSetpoints::typeName(2));
    EXPECT_TRUE(analyse.isVisible());
    EXPECT_EQ(Form::activeForm(), &analyse);

    chooser.show();
    chooser.CmdBack->click();
    EXPECT_TRUE(Forms::get<FrmGraphType>().isVisible());
}
