// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

/// A failure of a serial operation; the window's tick catches it as its error trap.
class CommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Line settings fixed per window: always 8 data bits, no parity, one stop bit.
struct LineSettings {
    int baud = 9600;
    int receiveBuffer = 1024; ///< bytes kept waiting; more are lost
};

/// A serial port as the program's windows use it: polled on timer ticks, never event-driven.
class CommPort {
public:
    virtual ~CommPort() = default;

    /// Selects the port for the next open. Refused (false, nothing changes) while open.
    virtual bool setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    virtual bool isOpen() const = 0;
    /// Opens the port with the line settings. Throws CommError when it cannot: no such device,
    /// held by another port or program, no permission.
    virtual void open() = 0;
    /// Closes the port; bytes not yet read are lost.
    virtual void close() = 0;
    /// Bytes received and waiting, at most the receive buffer's size (later bytes are lost).
    /// Throws CommError when the port is not open, or when the line has failed (a vanished
    /// device), which also closes the port.
    virtual int waitingCount() = 0;
    /// All waiting bytes, unchanged and in arrival order; empties the receive buffer. Throws
    /// as waitingCount does.
    virtual QByteArray readAll() = 0;
    /// Sends exactly these bytes. Throws CommError when the port is not open or fails.
    virtual void write(const QByteArray& bytes) = 0;

    /// A port with these line settings: a real serial line unless tests installed a factory.
    static std::unique_ptr<CommPort> create(const LineSettings& settings);

    using Factory = std::function<std::unique_ptr<CommPort>(const LineSettings&)>;
    /// Tests put in-memory ports here; an empty factory restores real ones.
    static void setFactory(Factory factory);

    /// The device that port `number` opens: $TARVOLM_COMM<number> when set, else the
    /// platform's serial device of that number.
    static QString deviceName(int number);
};
