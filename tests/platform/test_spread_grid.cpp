// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpreadGrid.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

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
    float valueAt(int col, int row) {
        grid.setCol(col);
        grid.setRow(row);
        return grid.value().toFloat();
    }
    /// Types `text` into a real cell editor and presses Enter. False if the editor stayed open.
    bool typeWithEditor(int col, int row, const QString& text) {
        auto openEditor = [&] {
            QApplication::processEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return grid.viewport()->findChild<QLineEdit*>();
        };
        grid.setActiveCell(col, row);
        grid.edit(grid.model()->index(row - 1, col - 1));
        QLineEdit* editor = openEditor();
        if (!editor) return false;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        editor = openEditor();
        if (editor) QTest::keyClick(editor, Qt::Key_Escape);
        openEditor();
        return editor == nullptr;
    }

    SpreadGrid grid{4, 9};
    QSignalSpy change{&grid, &SpreadGrid::Change};
};

} // namespace

TEST_F(SpreadGridTest, WritesFromCodeRaiseNoEvent) {
    QSignalSpy clicked(&grid, &SpreadGrid::ButtonClicked);
    grid.setCol(2);
    for (int row = 1; row <= 9; ++row) {
        grid.setRow(row);
        grid.setValue(1);
    }
    grid.setRow(3);
    grid.setTypeButtonText(QStringLiteral("DOWN"));
    EXPECT_EQ(grid.typeButtonText(), QStringLiteral("DOWN"));
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(SpreadGridTest, ButtonClickRaisesChangeBeforeButtonClickedWithTheOldCaption) {
    QStringList order;
    QObject::connect(&grid, &SpreadGrid::Change, [&](int col, int row) {
        grid.setCol(col);
        grid.setRow(row);
        order << QStringLiteral("change %1").arg(grid.typeButtonText());
    });
    QObject::connect(&grid, &SpreadGrid::ButtonClicked, [&](int col, int row, int down) {
        order << QStringLiteral("clicked %1,%2 %3").arg(col).arg(row).arg(down);
        grid.setTypeButtonText(QStringLiteral("DOWN"));
    });
    const QRect cell = grid.visualRect(grid.model()->index(2, 1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(order, (QStringList{"change UP", "clicked 2,3 1"}));
    EXPECT_EQ(grid.activeCol(), 2);
    EXPECT_EQ(grid.activeRow(), 3);
    grid.clickButton(2, 3); // the second click releases the button
    EXPECT_EQ(order.last(), QStringLiteral("clicked 2,3 0"));
}

TEST_F(SpreadGridTest, EditorsHoldTheCellLimits) {
    EXPECT_TRUE(typeWithEditor(1, 4, QStringLiteral("12.7")));
    ASSERT_EQ(change.count(), 1);
    EXPECT_EQ(change.at(0), (QVariantList{1, 4}));
    EXPECT_EQ(valueAt(1, 4), 12.7f);

    // Out of range and not a number: refused, the cell keeps its value, no event.
    for (const char* bad : {"99.01", "-1", "100"}) {
        EXPECT_FALSE(typeWithEditor(1, 4, QLatin1String(bad))) << bad;
        EXPECT_EQ(valueAt(1, 4), 12.7f) << bad;
    }
    for (const char* bad : {"abc", "1e5", "12..3", "0x10", "nan"}) {
        EXPECT_FALSE(grid.typeIntoCell(1, 4, QLatin1String(bad))) << bad;
        EXPECT_EQ(valueAt(1, 4), 12.7f) << bad;
    }
    EXPECT_FALSE(grid.typeIntoCell(1, 1, QStringLiteral("10000")));
    EXPECT_FALSE(grid.typeIntoCell(1, 1, QStringLiteral("2.5"))); // whole numbers only
    EXPECT_EQ(change.count(), 1);

    EXPECT_TRUE(grid.typeIntoCell(1, 1, QStringLiteral("9999")));
    EXPECT_TRUE(grid.typeIntoCell(1, 1, QString())); // emptying a number cell is an edit too
    EXPECT_EQ(change.count(), 3);
}

TEST_F(SpreadGridTest, ScreenReadersReadEveryCell) {
    grid.setCol(2);
    grid.setRow(1);
    grid.setValue(250);
    grid.setRow(3);
    grid.setTypeButtonText(QStringLiteral("DOWN"));
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&grid)->tableInterface();
    ASSERT_NE(table, nullptr);
    const std::tuple<int, int, const char*> cells[] = {{0, 1, "250"}, {2, 0, "UP"}, {2, 1, "DOWN"}};
    for (auto [row, col, name] : cells)
        EXPECT_EQ(table->cellAt(row, col)->text(QAccessible::Name), QLatin1String(name)) << name;
}
