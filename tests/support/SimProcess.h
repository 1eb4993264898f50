// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

/// velmora-sim running beside a test: started with the given arguments (plus --log into a
/// temporary folder), its device read from its first line, stopped when this goes.
class SimProcess {
public:
    /// Starts the simulator and waits (up to 5 s) for its device line; check started().
    explicit SimProcess(const QStringList& arguments = {});
    /// Stops the simulator and restores the TARVOLM_COMM variables that useAsPort changed.
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !device_.isEmpty(); }
    /// The simulator's device, e.g. /dev/pts/5.
    QString device() const { return device_; }
    /// Points TARVOLM_COMM<number> at the device, so the program's port `number` opens it.
    void useAsPort(int number = 1);

    /// The lines of the simulator's log so far.
    QStringList log() const;
    /// The bytes of every logged frame whose name is `name`, e.g. "WriteParameterSet(B)".
    QList<QByteArray> frames(const QString& name) const;
    /// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
    static bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000);
    /// Runs the event loop for `ms` milliseconds.
    static void pause(int ms);
    /// Waits until at least `count` bytes wait on `port`; false on timeout.
    static bool waitForBytes(CommPort& port, int count, int timeoutMs = 3000);
    /// Waits until a log line starts with `prefix`.
    bool waitForLog(const QString& prefix, int timeoutMs = 5000) const;

    /// Starts a capture stream of a simulator run with --capture-start trigger.
    void trigger();
    /// Kills the simulator at once: its device vanishes under the program.
    void kill();
    bool running() const { return process_.state() != QProcess::NotRunning; }
    /// What the simulator wrote on stderr so far (with --verbose, its account of events).
    QString errors() const;

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
    QString logPath_;
    QList<std::pair<QByteArray, QByteArray>> savedEnv_; // name, old value (null: unset)
};
