// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommPort.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <map>
#include <utility>

/// An in-memory serial line per port number, for tick-by-tick tests.
struct FakeLine {
    QByteArray incoming;       ///< bytes waiting to be read
    QList<QByteArray> written; ///< every write, in order
    bool missing = false;      ///< open fails (no such device)
    bool failIo = false;       ///< every read and write fails
    int heldBy = 0;            ///< number of ports holding it open
    /// Called on each write; may append to `incoming` to answer.
    std::function<void(FakeLine&, const QByteArray&)> onWrite;
};

class FakeCommPort : public CommPort {
public:
    explicit FakeCommPort(const LineSettings& settings) : settings_(settings) {}
    ~FakeCommPort() override { close(); }

    bool setPortNumber(int number) override {
        if (!open_) number_ = number;
        return !open_;
    }
    int portNumber() const override { return number_; }
    bool isOpen() const override { return open_; }
    void open() override {
        FakeLine& l = line(number_);
        if (l.missing || l.heldBy > 0) throw CommError("cannot open");
        ++l.heldBy;
        open_ = true;
    }
    void close() override {
        if (!open_) return;
        open_ = false;
        --line(number_).heldBy;
        line(number_).incoming.clear(); // like a real port, closing loses what was not read
    }
    int waitingCount() override {
        return int(std::min<qsizetype>(usable().incoming.size(), settings_.receiveBuffer));
    }
    QByteArray readAll() override {
        return std::exchange(usable().incoming, {}).left(settings_.receiveBuffer);
    }
    void write(const QByteArray& bytes) override {
        FakeLine& l = usable();
        l.written.append(bytes);
        if (l.onWrite) l.onWrite(l, bytes);
    }

    /// The line behind port `number`.
    static FakeLine& line(int number) { return lines()[number]; }
    /// Forgets every line and makes CommPort::create hand out fake ports.
    static void install() {
        lines().clear();
        CommPort::setFactory(
            [](const LineSettings& s) { return std::make_unique<FakeCommPort>(s); });
    }
    /// Restores real ports.
    static void uninstall() { CommPort::setFactory({}); }

private:
    static std::map<int, FakeLine>& lines() {
        static std::map<int, FakeLine> l;
        return l;
    }
    FakeLine& usable() {
        if (!open_ || line(number_).failIo) throw CommError("i/o failed");
        return line(number_);
    }

    LineSettings settings_;
    int number_ = 1;
    bool open_ = false;
};
