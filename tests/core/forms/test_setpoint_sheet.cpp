// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "FrmSetpoints.h"
#include "MDIFormMain.h"
#include "ModVars.h"
#include "SpreadGrid.h"

#include <QScrollBar>

namespace {

class SetpointSheetTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        startProgram().CmdSetPoints_Click();
        sheet = &Forms::get<FrmSetpoints>();
        g = sheet->spdSetpoints;
    }
    FrmSetpoints* sheet = nullptr;
    SpreadGrid* g = nullptr;
    /// The cell's text, or its button's caption.
    QString cell(int col, int row, bool button = false) {
        g->setCol(col);
        g->setRow(row);
        return button ? g->typeButtonText() : g->valueText();
    }
};

} // namespace

TEST_F(SetpointSheetTest, CellsShowAndStoreTheirBytes) {
    // Filled from the store, the sheet keeps its headers and shows whole.
    const auto headers = [&](Qt::Orientation o, int n) {
        QStringList texts;
        for (int i = 0; i < n; ++i)
            texts << g->model()->headerData(i, o).toString();
        return texts;
    };
    EXPECT_EQ(headers(Qt::Horizontal, 4),
              (QStringList{"Parameter A", "Parameter B", "Parameter C", "Parameter D"}));
    EXPECT_EQ(headers(Qt::Vertical, 9),
              (QStringList{"Total", "Number in Assembly", "Count Direction", "CH1 Peak", "CH2 Peak",
                           "Percent Threshold", "View Total", "Timer X", "Timer Y"}));
    EXPECT_EQ(g->horizontalScrollBar()->maximum(), 0);

    for (auto [typed, hi, lo] : {std::tuple{"200", 0, 200}, {"256", 1, 0}, {"9999", 39, 15}}) {
        ASSERT_TRUE(g->typeIntoCell(2, 1, QLatin1String(typed)));
        EXPECT_EQ(SpTotalHi[2], hi);
        EXPECT_EQ(SpTotalLo[2], lo);
        sheet->GetCalibrationData();
        EXPECT_EQ(cell(2, 1), QLatin1String(typed));
    }
    ASSERT_TRUE(g->typeIntoCell(1, 8, QStringLiteral("33")));
    ASSERT_TRUE(g->typeIntoCell(1, 8, QString()));
    EXPECT_EQ(SpTimerX[1], 33);

    // A button turns and stores the caption it shows after the click, and nothing else.
    for (auto [col, row, text, code] :
         {std::tuple{4, 3, "DOWN", 62}, {4, 3, "UP", 61}, {2, 7, "YES", 1}, {2, 7, "NO", 0}}) {
        SetpointStore expected = Setpoints;
        (row == 3 ? expected.SpCountDir : expected.SpViewTotal)[col] = std::int16_t(code);
        g->clickButton(col, row);
        EXPECT_EQ(cell(col, row, true), QLatin1String(text));
        EXPECT_EQ(Setpoints, expected) << text;
    }

    // Any byte the store holds shows, totals above the 16-bit range included.
    SpCountDir[1] = 0;
    SpCountDir[2] = 255;
    SpCountDir[3] = 62;
    SpCountDir[4] = 61;
    SpViewTotal[3] = 5;
    SpTotalHi[1] = 200;
    SpTotalLo[1] = 17;
    SpTotalHi[4] = SpTotalLo[4] = 255;
    InstrumentType = 6;
    sheet->GetCalibrationData();
    const std::tuple<int, int, bool, const char*> cells[] = {
        {1, 3, true, "UP"},  {2, 3, true, "DOWN"}, {3, 3, true, "DOWN"},   {4, 3, true, "UP"},
        {3, 7, true, "YES"}, {4, 7, true, "NO"},   {1, 1, false, "51217"}, {4, 1, false, "65535"}};
    for (auto [col, row, button, text] : cells)
        EXPECT_EQ(cell(col, row, button), QLatin1String(text)) << text;
    EXPECT_EQ(cell(3, 3) + cell(4, 3), "10"); // DOWN shows pressed, UP raised
    EXPECT_EQ(sheet->LblType->text(), QStringLiteral("UNKNOWN"));
    InstrumentType = 5;
    sheet->GetCalibrationData();
    EXPECT_EQ(sheet->LblType->text(), QStringLiteral("Type F"));
}

TEST_F(SetpointSheetTest, TypedLevelsFollowTheOperatorsLocaleInBothGrids) {
    SpreadGrid& torque = *Forms::get<MDIFormMain>().spdTorque;
    const QLocale saved;
    const std::tuple<QLocale, const char*, const char*, int, float> cases[] = {
        {QLocale(QLocale::German, QLocale::Germany), "12,345", "12,7", 39, 12.345f},
        {QLocale(QLocale::German, QLocale::Germany), "0,123", "0,3", 11, 0.123f},
        {QLocale(QLocale::English, QLocale::UnitedStates), "12.345", "12.7", 39, 12.345f}};
    for (const auto& [locale, typed, shown, code, level] : cases) {
        QLocale::setDefault(locale);
        ASSERT_TRUE(g->typeIntoCell(2, 4, QLatin1String(typed))) << typed;
        EXPECT_EQ(SpCh1Peak[2], code) << typed;
        EXPECT_EQ(g->model()->index(3, 1).data().toString(), QLatin1String(shown)) << typed;
        ASSERT_TRUE(torque.typeIntoCell(3, 7, QLatin1String(typed))) << typed;
        EXPECT_EQ(CapturedData.at(3, 7), level) << typed;
        // What the editor offers reads back as the same level.
        EXPECT_EQ(torque.model()->index(6, 2).data(Qt::EditRole).toString(), QLatin1String(typed));
    }
    // The locale's group separator makes no number: "1,5" is neither 1.5 nor 15 in English.
    for (auto [language, typed] : {std::pair{QLocale::English, "1,5"}, {QLocale::German, "1.5"}}) {
        QLocale::setDefault(QLocale(language));
        EXPECT_FALSE(g->typeIntoCell(2, 4, QLatin1String(typed)) ||
                     torque.typeIntoCell(3, 7, QLatin1String(typed)))
            << typed;
    }
    QLocale::setDefault(saved);
}
