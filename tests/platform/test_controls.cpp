// SPDX-License-Identifier: GPL-3.0-or-later
#include "Screen.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Controls, WaitCursorTakesBackOnlyItsOwn) {
    QApplication::setOverrideCursor(Qt::CrossCursor); // someone else's
    {
        const ScreenWaitCursor outer, inner;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}
