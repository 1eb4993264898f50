// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommPort.h"

#include "SerialCommPort.h"

namespace {
CommPort::Factory& factory() {
    static CommPort::Factory f;
    return f;
}
} // namespace

std::unique_ptr<CommPort> CommPort::create(const LineSettings& settings) {
    if (factory()) return factory()(settings);
    return std::make_unique<SerialCommPort>(settings);
}

void CommPort::setFactory(Factory f) {
    factory() = std::move(f);
}

QString CommPort::deviceName(int number) {
    const QByteArray fromEnv = qgetenv(QStringLiteral("TARVOLM_COMM%1").arg(number).toLatin1());
    if (!fromEnv.isEmpty()) return QString::fromLocal8Bit(fromEnv);
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
