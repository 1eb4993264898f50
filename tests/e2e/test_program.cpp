// SPDX-License-Identifier: GPL-3.0-or-later
// The program as an operator starts it.
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {
QString program() { return QStringLiteral(TARVOLM_BIN_DIR "/tarvolm"); }
} // namespace

TEST(Program, WithoutADisplayItSaysSoPlainly) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(var));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program(), {});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("no display"))) << err.toStdString();
    EXPECT_FALSE(err.contains(QStringLiteral("qt.qpa"))) << err.toStdString();
}

TEST(Program, StartsAndRunsUntilEnded) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program(), {});
    ASSERT_TRUE(p.waitForStarted(10000));
    EXPECT_FALSE(p.waitForFinished(1500)); // still running with its first window
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(10000));
}
