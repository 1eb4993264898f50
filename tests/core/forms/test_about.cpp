// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppFixture.h"
#include "frmAbout.h"

#include <QFile>
#include <QTemporaryDir>

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
