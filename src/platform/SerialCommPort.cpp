// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialCommPort.h"

#include <QMetaObject>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

SerialCommPort::SerialCommPort(const LineSettings& settings) : settings_(settings) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialCommPort::pull);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialCommPort::onError);
}

SerialCommPort::~SerialCommPort() {
    close();
}

bool SerialCommPort::setPortNumber(int number) {
    if (isOpen()) return false;
    number_ = number;
    return true;
}

bool SerialCommPort::isOpen() const {
    return port_.isOpen();
}

void SerialCommPort::open() {
    if (isOpen()) return;
    const QString device = deviceName(number_);
    const std::string name = device.toStdString();
#ifdef Q_OS_UNIX
    // An advisory lock held while the port is open keeps out every other window of this
    // program and any program that locks the same way. QSerialPort's exclusive mode does not
    // hold off root, and its lock file alone would not stop a program that only uses flock.
    lockFd_ = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (lockFd_ < 0) throw CommError("cannot open " + name + ": " + std::strerror(errno));
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        close();
        throw CommError("port in use: " + name);
    }
#endif
    port_.setPortName(device);
    port_.setBaudRate(settings_.baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        const std::string why = port_.errorString().toStdString();
        close();
        throw CommError("cannot open " + name + ": " + why);
    }
    // Whatever the line delivered before the open is not ours to read.
    port_.clear(QSerialPort::Input);
    received_.clear();
    lost_ = false;
    ++opening_;
}

void SerialCommPort::close() {
    if (port_.isOpen()) port_.close();
    received_.clear();
    lost_ = false;
#ifdef Q_OS_UNIX
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
#endif
}

void SerialCommPort::requireOpen() const {
    if (!isOpen()) throw CommError("port not open");
}

void SerialCommPort::throwIfLost() {
    if (!lost_) return;
    const std::string why = port_.errorString().toStdString();
    close();
    throw CommError("serial line lost: " + why);
}

void SerialCommPort::pull() {
    if (!port_.isOpen()) return;
    const QByteArray bytes = port_.readAll();
    // A full receive buffer drops what arrives, as a UART's would.
    const qsizetype room = settings_.receiveBuffer - received_.size();
    if (room > 0) received_.append(bytes.left(room));
}

int SerialCommPort::waitingCount() {
    requireOpen();
    port_.waitForReadyRead(0); // takes in what the line has delivered since the last event
    throwIfLost();
    pull();
    return static_cast<int>(received_.size());
}

QByteArray SerialCommPort::readAll() {
    requireOpen();
    port_.waitForReadyRead(0);
    throwIfLost();
    pull();
    QByteArray bytes;
    bytes.swap(received_);
    return bytes;
}

void SerialCommPort::write(const QByteArray& bytes) {
    requireOpen();
    throwIfLost();
    if (port_.write(bytes) != bytes.size()) throw CommError("write failed");
    port_.flush();
    throwIfLost();
}

void SerialCommPort::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::WriteError &&
        error != QSerialPort::ResourceError)
        return;
    if (lost_ || !port_.isOpen()) return;
    lost_ = true;
    // A vanished peer (a pseudo-terminal whose other end closed) makes QSerialPort raise read
    // errors over and over while the port stays open, which spins the event loop. Closing
    // stops it, but not from inside QSerialPort's own notification, so it is queued; the next
    // tick's open then fails and reports.
    const unsigned opening = opening_;
    QMetaObject::invokeMethod(
        this,
        [this, opening] {
            if (lost_ && opening == opening_) close();
        },
        Qt::QueuedConnection);
}
