// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpreadGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

/// A sheet laid out like the setpoint sheet: whole numbers, decimals and button cells.
class SpreadGridTest : public ::testing::Test {
protected:
    SpreadGridTest() {
        grid.setRowType(1, CellType::integer(0, 9999));
        grid.setRowType(3, CellType::button(QStringLiteral("UP")));
        grid.setRowType(4, CellType::decimal(0.0, 99.0));
        grid.resize(500, 400);
        grid.show();
        QApplication::processEvents();
    }
    /// Types `text` into the cell's editor; false if the editor takes it not as a whole value.
    bool typeWithEditor(int col, int row, const QString& text) {
        const QModelIndex cell = grid.model()->index(row - 1, col - 1);
        std::unique_ptr<QWidget> w(grid.itemDelegate()->createEditor(grid.viewport(), {}, cell));
        auto* editor = qobject_cast<QLineEdit*>(w.get());
        QTest::keyClicks(editor, text);
        grid.itemDelegate()->setModelData(editor, grid.model(), cell);
        return editor->hasAcceptableInput();
    }

    SpreadGrid grid{4, 9};
    QSignalSpy change{&grid, &SpreadGrid::Change};
};

} // namespace

TEST_F(SpreadGridTest, WritesFromCodeRaiseNoEventAClickedButtonIsTheActiveCell) {
    QSignalSpy clicked(&grid, &SpreadGrid::ButtonClicked);
    grid.setCol(2);
    for (int row = 1; row <= 9; ++row) {
        grid.setRow(row);
        grid.setValue(250);
    }
    grid.setRow(3);
    grid.setTypeButtonText(QStringLiteral("DOWN"));
    EXPECT_EQ(change.count() + clicked.count(), 0);
    // Screen readers read button cells by their captions.
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&grid)->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->cellAt(2, 0)->text(QAccessible::Name), QStringLiteral("UP"));
    EXPECT_EQ(table->cellAt(2, 1)->text(QAccessible::Name), QStringLiteral("DOWN"));

    const QRect cell = grid.visualRect(grid.model()->index(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(grid.activeCol() * 10 + grid.activeRow(), 13);
    grid.clickButton(1, 3); // the second click releases the button
    EXPECT_EQ(clicked, (QList<QVariantList>{{1, 3, 1}, {1, 3, 0}}));
}

TEST_F(SpreadGridTest, EditorsHoldTheCellLimits) {
    EXPECT_TRUE(typeWithEditor(1, 4, QStringLiteral("12.7")));
    EXPECT_EQ(change.at(0), (QVariantList{1, 4}));
    EXPECT_FALSE(typeWithEditor(1, 4, QStringLiteral("99.01")));
    // Out of range, not a number or not whole: refused, the cell keeps its value, no event.
    const std::pair<int, const char*> refused[] = {{4, "-1"},  {4, "100"},   {4, "abc"},
                                                   {4, "1e5"}, {4, "12..3"}, {4, "0x10"},
                                                   {4, "nan"}, {1, "10000"}, {1, "2.5"}};
    for (auto [row, bad] : refused)
        EXPECT_FALSE(grid.typeIntoCell(1, row, QLatin1String(bad))) << bad;
    grid.setCol(1);
    grid.setRow(4);
    EXPECT_EQ(grid.value().toFloat(), 12.7f);
    EXPECT_EQ(change.count(), 1);

    EXPECT_TRUE(grid.typeIntoCell(1, 1, QStringLiteral("9999")));
    EXPECT_TRUE(grid.typeIntoCell(1, 1, QString())); // emptying a number cell is an edit too
    EXPECT_EQ(change.count(), 3);

    // Confirming a refused value keeps the editor open saying why; Esc gives the old value back.
    grid.setActiveCell(1, 4);
    grid.edit(grid.currentIndex());
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("100"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid.indexWidget(grid.currentIndex()), editor);
    EXPECT_EQ(editor->toolTip(),
              QStringLiteral("Type a number from 0 to 99, or press Esc to keep the old value."));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(grid.indexWidget(grid.currentIndex()), nullptr);
    EXPECT_EQ(grid.model()->index(3, 0).data().toString(), QStringLiteral("12.7"));
    EXPECT_EQ(
        SpreadGrid::refusal(CellType::integer(2, 65), QStringLiteral("1")),
        QStringLiteral("Type a whole number from 2 to 65, or press Esc to keep the old value."));
    EXPECT_EQ(change.count(), 3);
}
