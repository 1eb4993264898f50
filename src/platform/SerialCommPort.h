// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"

#include <QObject>
#include <QPointer>
#include <QSerialPort>

/// CommPort over a real serial line (or a pseudo-terminal standing in for one).
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
    void pull();
    void onError(QSerialPort::SerialPortError error);
    void requireOpen() const;

    LineSettings settings_;
    int number_ = 1;
    QSerialPort port_;
    QByteArray received_;
    int lockFd_ = -1;
};
