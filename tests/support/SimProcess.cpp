// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

SimProcess::SimProcess(const QStringList& arguments) {
    logPath_ = dir_.filePath(QStringLiteral("sim.log"));
    // A file, not a pipe: a verbose simulator must never block on a full pipe.
    process_.setStandardErrorFile(dir_.filePath(QStringLiteral("sim.err")));
    process_.start(QDir(QStringLiteral(TARVOLM_BIN_DIR)).filePath(QStringLiteral("velmora-sim")),
                   arguments + QStringList{QStringLiteral("--log"), logPath_});
    if (!process_.waitForStarted(5000)) return;
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine() && clock.elapsed() < 5000 &&
           process_.state() == QProcess::Running)
        process_.waitForReadyRead(100);
    const QByteArray line = process_.readLine().trimmed();
    if (line.startsWith("device: ")) device_ = QString::fromLocal8Bit(line.mid(8));
}

SimProcess::~SimProcess() {
    if (running()) {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    for (const auto& [name, value] : savedEnv_) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}

void SimProcess::useAsPort(int number) {
    const QByteArray name = QByteArrayLiteral("TARVOLM_COMM") + QByteArray::number(number);
    savedEnv_.append({name, qEnvironmentVariableIsSet(name.constData()) ? qgetenv(name.constData())
                                                                        : QByteArray()});
    qputenv(name.constData(), device_.toLocal8Bit());
}

QStringList SimProcess::log() const {
    QFile file(logPath_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QByteArray> SimProcess::frames(const QString& name) const {
    QList<QByteArray> found;
    const QString prefix = name + QLatin1Char(' ');
    for (const QString& line : log())
        if (line.startsWith(prefix))
            found.append(QByteArray::fromHex(line.mid(prefix.size()).toLatin1()));
    return found;
}

bool SimProcess::waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void SimProcess::pause(int ms) {
    waitFor([] { return false; }, ms);
}

bool SimProcess::waitForBytes(CommPort& port, int count, int timeoutMs) {
    return waitFor([&] { return port.waitingCount() >= count; }, timeoutMs);
}

bool SimProcess::waitForLog(const QString& prefix, int timeoutMs) const {
    return waitFor(
        [&] {
            for (const QString& line : log())
                if (line.startsWith(prefix)) return true;
            return false;
        },
        timeoutMs);
}

void SimProcess::trigger() {
    process_.write("\n");
    process_.waitForBytesWritten(1000);
}

void SimProcess::kill() {
    process_.kill();
    process_.waitForFinished(3000);
}

QString SimProcess::errors() const {
    QFile file(dir_.filePath(QStringLiteral("sim.err")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll());
}
