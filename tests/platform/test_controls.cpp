// SPDX-License-Identifier: GPL-3.0-or-later
// How often the progress bar paints is measured by the File > New benchmark.
#include "Screen.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Controls, WaitCursorIsRestoredCompletely) {
    setScreenWaitCursor(true);
    setScreenWaitCursor(true);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    setScreenWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
