// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"
#include "MsgBox.h"
#include "MsgRecorder.h"
#include "Screen.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

TEST(Controls, ProgressBarPaintsOnlyWhenItsShownValueChanges) {
    ProgressBar bar;
    bar.resize(200, 20);
    bar.show();
    QApplication::processEvents();
    const int start = bar.paintCount();
    for (int n = 1; n <= 32000; ++n)
        bar.setProgress(n / 320.0);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_LE(bar.paintCount() - start, 101);
    EXPECT_GT(bar.paintCount() - start, 0); // painted while the loop ran, not only afterwards
}

TEST(Controls, PictureButtonIsFoundByItsTooltip) {
    PictureButton b(QStringLiteral("tb_open"), QStringLiteral("Open an Existing File"), nullptr);
    EXPECT_EQ(b.toolTip(), QStringLiteral("Open an Existing File"));
    EXPECT_EQ(b.accessibleName(), QStringLiteral("Open an Existing File"));
    EXPECT_TRUE(b.text().isEmpty());
}

TEST(Controls, TwipsFollowTheLogicalResolution) {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    EXPECT_EQ(twips(1440), qRound(dpi));
    EXPECT_EQ(twips(0), 0);
    EXPECT_NEAR(toTwips(twips(6270)), 6270, 1440.0 / dpi);
}

TEST(Controls, MessageBoxesGoThroughTheHook) {
    MsgRecorder rec;
    rec.answers = {MsgAnswer::No};
    EXPECT_EQ(MsgBox(QStringLiteral("Replace?"), MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(MsgBox(QStringLiteral("Again?"), MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(MsgBox(QStringLiteral("Careful"), MsgButtons::Ok, MsgIcon::Exclamation),
              MsgAnswer::Ok);
    ASSERT_EQ(rec.calls.size(), 3);
    EXPECT_EQ(rec.calls[2].icon, MsgIcon::Exclamation);
    EXPECT_EQ(rec.texts(), (QStringList{"Replace?", "Again?", "Careful"}));
}

TEST(Controls, WaitCursorIsRestoredCompletely) {
    setScreenWaitCursor(true);
    setScreenWaitCursor(true);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    setScreenWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
