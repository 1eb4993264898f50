// SPDX-License-Identifier: GPL-3.0-or-later
// The program as an operator starts it.
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

TEST(Program, SaysPlainlyWithoutADisplayAndRunsWithOne) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(var));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TARVOLM_BIN_DIR "/tarvolm"), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("no display"))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("qt.qpa"))) << err.toStdString();

    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TARVOLM_BIN_DIR "/tarvolm"), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    EXPECT_FALSE(p.waitForFinished(1500)); // still running with its first window
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(10000));
}
