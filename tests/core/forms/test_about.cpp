// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "frmAbout.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using AboutTest = AppFixture;

TEST_F(AboutTest, SystemInfoStartsAnInstalledToolOrSaysItIsUnavailable) {
    const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir dir;
    qputenv("PATH", dir.path().toLocal8Bit());
    frmAbout& about = Forms::get<frmAbout>();
    about.cmdSysInfo_Click(); // none installed
    EXPECT_EQ(msgs->texts(), QStringList{unavailable});

    QFile tool(dir.filePath(QStringLiteral("hardinfo")));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    msgs->clear();
    about.cmdSysInfo_Click();
    EXPECT_TRUE(msgs->calls.isEmpty());
    EXPECT_EQ(launches, QStringList{tool.fileName() + ' '}); // without the NUL it is stored with
    launchSucceeds = false;
    about.cmdSysInfo_Click();
    EXPECT_EQ(msgs->texts(), QStringList{unavailable});
    qputenv("PATH", path);
}

TEST_F(AboutTest, EnterPressesTheFocusedButtonElseOkAndEscPressesOk) {
    frmAbout& about = Forms::get<frmAbout>();
    about.show();
    QApplication::setActiveWindow(about.window());
    about.cmdSysInfo->setFocus();
    QTest::keyClick(about.window(), Qt::Key_Return);
    EXPECT_EQ(launches.size() + msgs->calls.size(), 1);
    EXPECT_TRUE(about.isVisible());
    for (int key : {Qt::Key_Enter, Qt::Key_Escape}) {
        about.show();
        QApplication::setActiveWindow(about.window());
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
        QTest::keyClick(about.window(), Qt::Key(key));
        EXPECT_FALSE(about.isLoaded()) << key;
    }
    EXPECT_EQ(launches.size() + msgs->calls.size(), 1);
}
