// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpreadGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

/// A sheet laid out like the setpoint sheet: whole numbers, decimals and button cells.
struct Sheet {
    SpreadGrid grid{4, 9};
    Sheet() {
        grid.setRowType(1, CellType::integer(0, 9999));
        grid.setRowType(3, CellType::button(QStringLiteral("UP")));
        grid.setRowType(4, CellType::decimal(0.0, 99.0));
        grid.resize(500, 400);
        grid.show();
        QApplication::processEvents();
    }
};

/// Types `text` into a real cell editor and presses Enter. False if the editor stayed open.
bool typeWithEditor(SpreadGrid& grid, int col, int row, const QString& text) {
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

} // namespace

TEST(SpreadGrid, CurrentCellReadsWritesAndHeaders) {
    SpreadGrid grid(3, 5);
    grid.setColumnType(2, CellType::decimal(0.0, 99.0));
    grid.setCol(2);
    grid.setRow(5);
    grid.setValue(12.7f);
    EXPECT_EQ(grid.value().toFloat(), 12.7f);
    EXPECT_EQ(grid.valueText(), QStringLiteral("12.7"));
    grid.setValue(QString()); // an empty cell
    EXPECT_FALSE(grid.value().isValid());
    EXPECT_EQ(grid.valueText(), QString());

    grid.setCol(0);
    grid.setRow(3);
    grid.setText(QStringLiteral("0.015 sec"));
    grid.setCol(1);
    grid.setRow(0);
    grid.setText(QStringLiteral("I 1"));
    EXPECT_EQ(grid.model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("0.015 sec"));
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("I 1"));
}

TEST(SpreadGrid, WritesFromCodeRaiseNoEvent) {
    Sheet s;
    QSignalSpy change(&s.grid, &SpreadGrid::Change);
    QSignalSpy clicked(&s.grid, &SpreadGrid::ButtonClicked);
    s.grid.setCol(2);
    for (int row = 1; row <= 9; ++row) {
        s.grid.setRow(row);
        s.grid.setValue(1);
    }
    s.grid.setRow(3);
    s.grid.setTypeButtonText(QStringLiteral("DOWN"));
    EXPECT_EQ(s.grid.typeButtonText(), QStringLiteral("DOWN"));
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(clicked.count(), 0);
}

TEST(SpreadGrid, ButtonClickRaisesChangeBeforeButtonClickedWithTheOldCaption) {
    Sheet s;
    QStringList order;
    QObject::connect(&s.grid, &SpreadGrid::Change, [&](int col, int row) {
        s.grid.setCol(col);
        s.grid.setRow(row);
        order << QStringLiteral("change %1").arg(s.grid.typeButtonText());
    });
    QObject::connect(&s.grid, &SpreadGrid::ButtonClicked, [&](int col, int row, int down) {
        order << QStringLiteral("clicked %1,%2 %3").arg(col).arg(row).arg(down);
        s.grid.setTypeButtonText(QStringLiteral("DOWN"));
    });
    const QRect cell = s.grid.visualRect(s.grid.model()->index(2, 1));
    QTest::mouseClick(s.grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(order, (QStringList{"change UP", "clicked 2,3 1"}));
    EXPECT_EQ(s.grid.activeCol(), 2);
    EXPECT_EQ(s.grid.activeRow(), 3);
    s.grid.clickButton(2, 3); // the second click releases the button
    EXPECT_EQ(order.last(), QStringLiteral("clicked 2,3 0"));
}

TEST(SpreadGrid, EditorsHoldTheCellLimits) {
    Sheet s;
    QSignalSpy change(&s.grid, &SpreadGrid::Change);
    EXPECT_TRUE(typeWithEditor(s.grid, 1, 4, QStringLiteral("12.7")));
    ASSERT_EQ(change.count(), 1);
    EXPECT_EQ(change.at(0).at(0).toInt(), 1);
    EXPECT_EQ(change.at(0).at(1).toInt(), 4);
    s.grid.setCol(1);
    s.grid.setRow(4);
    EXPECT_EQ(s.grid.value().toFloat(), 12.7f);

    // Out of range and not a number: refused, the cell keeps its value, no event.
    for (const char* bad : {"99.01", "-1", "100"}) {
        EXPECT_FALSE(typeWithEditor(s.grid, 1, 4, QLatin1String(bad))) << bad;
        EXPECT_EQ(s.grid.value().toFloat(), 12.7f) << bad;
    }
    for (const char* bad : {"abc", "1e5", "12..3", "0x10"}) {
        EXPECT_FALSE(s.grid.typeIntoCell(1, 4, QLatin1String(bad))) << bad;
        s.grid.setCol(1);
        s.grid.setRow(4);
        EXPECT_EQ(s.grid.value().toFloat(), 12.7f) << bad;
    }
    EXPECT_FALSE(s.grid.typeIntoCell(1, 1, QStringLiteral("10000")));
    EXPECT_FALSE(s.grid.typeIntoCell(1, 1, QStringLiteral("2.5"))); // whole numbers only
    EXPECT_EQ(change.count(), 1);

    EXPECT_TRUE(s.grid.typeIntoCell(1, 1, QStringLiteral("9999")));
    EXPECT_TRUE(s.grid.typeIntoCell(1, 1, QString())); // emptying a number cell is an edit too
    EXPECT_EQ(change.count(), 3);
}

TEST(SpreadGrid, CellsThatMayNotBeEmptyRefuseAnEmptyEdit) {
    SpreadGrid grid(1, 1);
    CellType type = CellType::decimal(0.0, 99.0);
    type.allowEmpty = false;
    grid.setColumnType(1, type);
    grid.setValue(5.0f);
    EXPECT_FALSE(grid.typeIntoCell(1, 1, QString()));
    EXPECT_FALSE(grid.typeIntoCell(1, 1, QStringLiteral("nan")));
    EXPECT_FALSE(grid.typeIntoCell(1, 1, QStringLiteral("inf")));
    EXPECT_EQ(grid.value().toFloat(), 5.0f);
}

TEST(SpreadGrid, ExternalStoreIsTheCellContent) {
    struct Store : CellStore {
        float cells[2][2] = {};
        QVariant value(int c, int r) const override { return cells[r - 1][c - 1]; }
        void setValue(int c, int r, const QVariant& v) override {
            cells[r - 1][c - 1] = v.toFloat();
        }
    } store;
    SpreadGrid grid(2, 2);
    grid.setColumnType(1, CellType::decimal(0, 99));
    grid.setStore(&store);
    grid.setCol(1);
    grid.setRow(2);
    grid.setValue(33.5f);
    EXPECT_EQ(store.cells[1][0], 33.5f);
    store.cells[0][0] = 1.25f;
    grid.setRow(1);
    EXPECT_EQ(grid.valueText(), QStringLiteral("1.25"));
}

TEST(SpreadGrid, FloatTextReadsBackAsTheSameSingle) {
    for (float f : {0.0f, 0.3f, 12.7f, 98.9f, 99.0f, 1e-7f, 33.333332f}) {
        const QString s = SpreadGrid::floatText(f);
        EXPECT_EQ(s.toFloat(), f) << s.toStdString();
        EXPECT_FALSE(s.contains(QLatin1Char(',')));
    }
}
