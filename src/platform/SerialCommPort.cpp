// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialCommPort.h"

#include <QMetaObject>

#ifdef Q_OS_UNIX
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
#ifdef Q_OS_UNIX
    // Hold an advisory lock for as long as the port is open, so that another window or
    // program using the same convention cannot open the line at the same time. QSerialPort's
    // own exclusive mode is ignored for root, and pseudo-terminals have no lock files.
    lockFd_ = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (lockFd_ < 0) throw CommError("cannot open " + device.toStdString());
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd_);
        lockFd_ = -1;
        throw CommError("port in use: " + device.toStdString());
    }
#endif
    port_.setPortName(device);
    port_.setBaudRate(settings_.baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    received_.clear();
    if (!port_.open(QIODevice::ReadWrite)) {
        close();
        throw CommError("cannot open " + device.toStdString());
    }
}

void SerialCommPort::close() {
    if (port_.isOpen()) port_.close();
    received_.clear();
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
    pull();
    return static_cast<int>(received_.size());
}

QByteArray SerialCommPort::readAll() {
    requireOpen();
    pull();
    QByteArray bytes;
    bytes.swap(received_);
    return bytes;
}

void SerialCommPort::write(const QByteArray& bytes) {
    requireOpen();
    if (port_.write(bytes) != bytes.size()) throw CommError("write failed");
    port_.flush();
}

void SerialCommPort::onError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        // A vanished peer keeps raising read errors while the port stays open; closing it
        // (once control is back in the event loop) stops the spin, and the next tick's open
        // reports the failure.
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
}
