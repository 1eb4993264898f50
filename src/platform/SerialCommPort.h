// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"

#include <QObject>
#include <QSerialPort>

/// CommPort over a real serial line (or a pseudo-terminal standing in for one). An open
/// discards what the line delivered before it, and holds an flock on the device until closed.
class SerialCommPort : public QObject, public CommPort {
    Q_OBJECT
public:
    explicit SerialCommPort(const LineSettings& settings);
    ~SerialCommPort() override;

    bool setPortNumber(int number) override;
    int portNumber() const override { return number_; }
    bool isOpen() const override;
    void open() override;
    void close() override;
    int waitingCount() override;
    QByteArray readAll() override;
    void write(const QByteArray& bytes) override;

private:
    /// Moves what the line delivered into the receive buffer, dropping what does not fit.
    void pull();
    void onError(QSerialPort::SerialPortError error);
    /// Closes the port and throws when the line failed since it was opened.
    void throwIfLost();
    void requireOpen() const;

    LineSettings settings_;
    int number_ = 1;
    QSerialPort port_;
    QByteArray received_;
    int lockFd_ = -1;
    bool lost_ = false;    ///< a read, write or resource error since the open
    unsigned opening_ = 0; ///< counts opens, so a close queued for an earlier one is dropped
};
