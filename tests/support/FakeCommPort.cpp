// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeCommPort.h"

namespace {
std::map<int, FakeLine>& lines() {
    static std::map<int, FakeLine> l;
    return l;
}
FakeCommPort*& lastPort() {
    static FakeCommPort* p = nullptr;
    return p;
}
} // namespace

FakeLine& FakeCommPort::line(int number) {
    return lines()[number];
}

void FakeCommPort::install() {
    lines().clear();
    lastPort() = nullptr;
    CommPort::setFactory([](const LineSettings& s) {
        auto port = std::make_unique<FakeCommPort>(s);
        lastPort() = port.get();
        return port;
    });
}

void FakeCommPort::uninstall() {
    CommPort::setFactory({});
    lastPort() = nullptr;
}

FakeCommPort* FakeCommPort::last() {
    return lastPort();
}

bool FakeCommPort::setPortNumber(int number) {
    if (open_) return false;
    number_ = number;
    return true;
}

void FakeCommPort::open() {
    FakeLine& l = line(number_);
    if (l.missing) throw CommError("no such port");
    if (l.heldBy > 0) throw CommError("port in use");
    ++l.heldBy;
    ++l.opens;
    open_ = true;
}

void FakeCommPort::close() {
    if (!open_) return;
    open_ = false;
    FakeLine& l = line(number_);
    --l.heldBy;
    l.incoming.clear(); // like a real port, closing loses what was not read
}

int FakeCommPort::waitingCount() {
    if (!open_ || line(number_).failIo) throw CommError("read failed");
    const FakeLine& l = line(number_);
    return static_cast<int>(std::min<qsizetype>(l.incoming.size(), settings_.receiveBuffer));
}

QByteArray FakeCommPort::readAll() {
    if (!open_ || line(number_).failIo) throw CommError("read failed");
    FakeLine& l = line(number_);
    QByteArray bytes = l.incoming.left(settings_.receiveBuffer);
    l.incoming.clear();
    return bytes;
}

void FakeCommPort::write(const QByteArray& bytes) {
    if (!open_ || line(number_).failIo) throw CommError("write failed");
    FakeLine& l = line(number_);
    l.written.append(bytes);
    if (l.onWrite) l.onWrite(l, bytes);
}
