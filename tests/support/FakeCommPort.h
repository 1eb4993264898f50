// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <map>

/// An in-memory serial line per port number, for tick-by-tick tests.
struct FakeLine {
    QByteArray incoming;       ///< bytes waiting to be read
    QList<QByteArray> written; ///< every write, in order
    bool missing = false;      ///< open fails (no such device)
    bool failIo = false;       ///< every read and write fails
    int heldBy = 0;            ///< number of ports holding it open
    int opens = 0;             ///< successful opens so far
    /// Called on each write; may append to `incoming` to answer.
    std::function<void(FakeLine&, const QByteArray&)> onWrite;
};

class FakeCommPort : public CommPort {
public:
    explicit FakeCommPort(const LineSettings& settings) : settings_(settings) {}
    ~FakeCommPort() override { close(); }

    bool setPortNumber(int number) override;
    int portNumber() const override { return number_; }
    bool isOpen() const override { return open_; }
    void open() override;
    void close() override;
    int waitingCount() override;
    QByteArray readAll() override;
    void write(const QByteArray& bytes) override;

    const LineSettings& settings() const { return settings_; }

    /// The line behind port `number`.
    static FakeLine& line(int number);
    /// Forgets every line and makes CommPort::create hand out fake ports.
    static void install();
    /// Restores real ports.
    static void uninstall();
    /// The most recently created fake port.
    static FakeCommPort* last();

private:
    LineSettings settings_;
    int number_ = 1;
    bool open_ = false;
};
