// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimProtocol.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Sim {

/// When a capture stream starts (after its delay).
enum class CaptureStart { Open, Activity, Trigger };

/// Everything the command line chooses.
struct Options {
    Behaviour behaviour;
    QString linkPath;     ///< symlink to the device, made at start and removed at exit
    QString logPath;      ///< one line per received frame and board event
    bool verbose = false; ///< tell on stderr what happens
    int splitGapMs = 30;  ///< pause between the pieces of a split reply
    int holdMs = 0;       ///< every reply waits this long before it goes out

    QList<CodePair> capture; ///< samples to stream; empty: no stream
    CaptureStart captureStart = CaptureStart::Open;
    int captureDelayMs = 300;
    int badEvery = 0;
    int exitAfterRecords = 0; ///< > 0: vanish once this many records are sent
};

/// Parses the arguments (without the program name). On failure returns nullopt with `error`
/// set; when --help is given returns nullopt with `help` true and `error` empty.
std::optional<Options> parseArguments(const QStringList& arguments, QString* error, bool* help);

/// The --help text.
QString helpText();

} // namespace Sim
