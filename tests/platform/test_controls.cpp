// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"
#include "Screen.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(Controls, ProgressBarPaintsWhileWorkRunsButOnlyWhenItsShownValueChanges) {
    ProgressBar bar(QStringLiteral("Work done"), nullptr);
    bar.resize(200, 20);
    bar.show();
    QApplication::processEvents();
    const int start = bar.paintCount();
    for (int n = 1; n <= 32000; ++n)
        bar.setProgress(n / 320.0);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_GT(bar.paintCount() - start, 0);
    EXPECT_LE(bar.paintCount() - start, 101);
}

TEST(Controls, WaitCursorTakesBackOnlyItsOwn) {
    QApplication::setOverrideCursor(Qt::CrossCursor); // someone else's
    {
        const ScreenWaitCursor outer, inner;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}
