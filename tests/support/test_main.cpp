// SPDX-License-Identifier: GPL-3.0-or-later
// Test entry point: a real QApplication on the offscreen platform, so windows can be driven.
#include "Form.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvolm"));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    Forms::releaseAll();
    return result;
}
