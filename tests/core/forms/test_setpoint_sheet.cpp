// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "FrmSetpoints.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SpreadGrid.h"

namespace {

class SetpointSheetTest : public AppFixture {
protected:
    FrmSetpoints& openSheet() {
        startProgram().CmdSetPoints_Click();
        return Forms::get<FrmSetpoints>();
    }
    /// The cell's text, or its button's caption.
    static QString cell(SpreadGrid& g, int col, int row, bool button = false) {
        g.setCol(col);
        g.setRow(row);
        return button ? g.typeButtonText() : g.valueText();
    }
};

} // namespace

TEST_F(SetpointSheetTest, TypedCellsStoreTheirBytes) {
    FrmSetpoints& sheet = openSheet();
    SpreadGrid& g = *sheet.spdSetpoints;
    for (auto [typed, hi, lo] : {std::tuple{"200", 0, 200}, {"256", 1, 0}, {"9999", 39, 15}}) {
        ASSERT_TRUE(g.typeIntoCell(2, 1, QLatin1String(typed)));
        EXPECT_EQ(SpTotalHi[2], hi);
        EXPECT_EQ(SpTotalLo[2], lo);
        sheet.GetCalibrationData();
        EXPECT_EQ(cell(g, 2, 1), QLatin1String(typed));
    }
    SpTimerX[1] = 33;
    ASSERT_TRUE(g.typeIntoCell(1, 8, QString()));
    EXPECT_EQ(SpTimerX[1], 33);
    EXPECT_TRUE(msgs->calls.isEmpty());
}

TEST_F(SetpointSheetTest, ButtonCellsTurnAndStoreTheCaptionTheyShowAfterTheClick) {
    SpreadGrid& g = *openSheet().spdSetpoints;
    for (auto [col, row, first, firstCode, second, secondCode] :
         {std::tuple{4, 3, "DOWN", 62, "UP", 61}, {2, 7, "YES", 1, "NO", 0}}) {
        SetpointStore expected = Setpoints;
        auto& stored = (row == 3 ? expected.SpCountDir : expected.SpViewTotal)[col];
        g.clickButton(col, row);
        EXPECT_EQ(cell(g, col, row, true), QLatin1String(first));
        stored = std::int16_t(firstCode);
        EXPECT_EQ(Setpoints, expected); // only that one element changed
        g.clickButton(col, row);
        EXPECT_EQ(cell(g, col, row, true), QLatin1String(second));
        stored = std::int16_t(secondCode);
        EXPECT_EQ(Setpoints, expected);
    }
}

TEST_F(SetpointSheetTest, ActivationShowsTheStoreTotalsAboveThe16BitRangeIncluded) {
    startProgram();
    SpCountDir[1] = 0;
    SpCountDir[2] = 255;
    SpViewTotal[3] = 5;
    SpTotalHi[1] = 200;
    SpTotalLo[1] = 17;
    SpTotalHi[4] = SpTotalLo[4] = 255;
    InstrumentType = 6;
    Forms::get<MDIFormMain>().mnuEditParams_Click();
    FrmSetpoints& sheet = Forms::get<FrmSetpoints>();
    const std::tuple<int, int, bool, const char*> cells[] = {
        {1, 3, true, "UP"}, {2, 3, true, "DOWN"},   {3, 7, true, "YES"},
        {4, 7, true, "NO"}, {1, 1, false, "51217"}, {4, 1, false, "65535"}};
    for (auto [col, row, button, text] : cells)
        EXPECT_EQ(cell(*sheet.spdSetpoints, col, row, button), QLatin1String(text)) << text;
    EXPECT_EQ(sheet.LblType->text(), QStringLiteral("UNKNOWN"));
}

TEST_F(SetpointSheetTest, TypedLevelsFollowTheOperatorsLocaleInBothGrids) {
    FrmSetpoints& sheet = openSheet();
    SpreadGrid& g = *sheet.spdSetpoints;
    SpreadGrid& torque = *Forms::get<MDIFormMain>().spdTorque;
    const QLocale saved;
    const struct {
        QLocale::Language language;
        const char *typed, *shown;
        int code;
        float level;
    } cases[] = {{QLocale::German, "12,345", "12,7", 39, 12.345f},
                 {QLocale::German, "0,123", "0,3", 11, 0.123f},
                 {QLocale::English, "12.345", "12.7", 39, 12.345f},
                 {QLocale::English, "0.123", "0.3", 11, 0.123f}};
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(
            c.language, c.language == QLocale::German ? QLocale::Germany : QLocale::UnitedStates));
        SpCh1Peak[2] = 0;
        ASSERT_TRUE(g.typeIntoCell(2, 4, QLatin1String(c.typed))) << c.typed;
        EXPECT_EQ(SpCh1Peak[2], c.code) << c.typed;
        EXPECT_EQ(g.model()->index(3, 1).data().toString(), QLatin1String(c.shown)) << c.typed;

        ASSERT_TRUE(torque.typeIntoCell(3, 7, QLatin1String(c.typed))) << c.typed;
        EXPECT_EQ(CapturedData.at(3, 7), c.level) << c.typed;
        // What the editor offers reads back as the same level.
        EXPECT_EQ(torque.model()->index(6, 2).data(Qt::EditRole).toString(),
                  QLatin1String(c.typed));
    }
    QLocale::setDefault(saved);
}
