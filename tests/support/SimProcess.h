// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

/// velmora-sim running beside a test: started with the given arguments (plus --log into a
/// temporary folder), its device read from its first line, stopped when this goes.
class SimProcess {
public:
    /// Starts the simulator and waits (up to 5 s) for its device line; check started().
    explicit SimProcess(const QStringList& arguments = {}) {
        // A file, not a pipe: a verbose simulator must never block on a full pipe.
        process_.setStandardErrorFile(path("sim.err"));
        // The program reaches the simulator through a link of its own: a pseudo-terminal's
        // number is reused by the next one made (by a test running beside this one), so a
        // vanished simulator's device path may lead to another simulator; its link does not.
        process_.start(QStringLiteral(TARVOLM_BIN_DIR "/velmora-sim"),
                       arguments + QStringList{"--log", path("sim.log"), "--link", path("line")});
        waitFor([&] {
            process_.waitForReadyRead(100);
            return process_.canReadLine() || process_.state() == QProcess::NotRunning;
        });
        const QByteArray line = process_.readLine().trimmed();
        if (line.startsWith("device: ")) device_ = QString::fromLocal8Bit(line.mid(8));
    }
    /// Stops the simulator and unsets the TARVOLM_COMM variables that useAsPort set.
    ~SimProcess() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) kill();
        for (const QByteArray& name : env_)
            qunsetenv(name.constData());
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !device_.isEmpty(); }
    /// The simulator's device, e.g. /dev/pts/5.
    QString device() const { return device_; }
    /// Points TARVOLM_COMM<number> at the simulator's link, so the program's port `number`
    /// opens it, and nothing once the simulator is gone.
    void useAsPort(int number = 1) {
        env_.append("TARVOLM_COMM" + QByteArray::number(number));
        qputenv(env_.last().constData(), path("line").toLocal8Bit());
    }
    /// The bytes of every logged frame whose name is `name`, e.g. "WriteParameterSet(B)".
    QList<QByteArray> frames(const QString& name) const {
        QList<QByteArray> found;
        for (const QString& line : QString::fromLatin1(read("sim.log")).split('\n'))
            if (line.startsWith(name + ' '))
                found.append(QByteArray::fromHex(line.mid(name.size() + 1).toLatin1()));
        return found;
    }
    /// Waits until a log line starts with `prefix`.
    bool waitForLog(const QString& prefix, int timeoutMs = 5000) const {
        return waitFor([&] { return ('\n' + read("sim.log")).contains('\n' + prefix.toLatin1()); },
                       timeoutMs);
    }
    /// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
    static bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() >= timeoutMs) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return true;
    }
    static void pause(int ms) {
        waitFor([] { return false; }, ms);
    }
    /// Kills the simulator at once: its device vanishes under the program.
    void kill() {
        QFile::remove(path("line")); // a killed simulator cannot remove it itself
        process_.kill();
        process_.waitForFinished(3000);
    }
    /// What the simulator wrote on stderr so far (with --verbose, its account of events).
    QString errors() const { return QString::fromLocal8Bit(read("sim.err")); }

private:
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QByteArray read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QProcess process_;
    QString device_;
    QList<QByteArray> env_;
};
