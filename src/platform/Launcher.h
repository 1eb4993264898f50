// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

/// Starts another program in its own window. False when it cannot be started.
bool launchProgram(const QString& program, const QStringList& arguments);

/// Tests record launches here instead of starting anything.
using LaunchHook = std::function<bool(const QString&, const QStringList&)>;
void setLaunchHook(LaunchHook hook);

/// The folder that holds the program.
QString programFolder();

/// Ends the program at once: no question, nothing saved.
void endProgram();
/// Tests record the end of the program here instead of ending it.
void setEndProgramHook(std::function<void()> hook);
