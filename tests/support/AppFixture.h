// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MsgRecorder.h"

#include <gtest/gtest.h>

#include <memory>

class MDIFormMain;

/// A fresh program for each test: no windows, default store, an empty table, message boxes
/// answered, and the program's end and launches recorded instead of carried out.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Starts the program as the splash does and waits for the main window's first activation.
    MDIFormMain& startProgram();
    /// Lets the event loop run for `ms` milliseconds.
    static void pump(int ms = 0);

    std::unique_ptr<MsgRecorder> msgs;
    int programEnds = 0;
    QStringList launches;
    bool launchSucceeds = true;
};
