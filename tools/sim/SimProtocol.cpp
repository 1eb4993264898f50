// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProtocol.h"

#include <QList>

#include <algorithm>
#include <cmath>

namespace Sim {

namespace {

std::uint8_t at(QByteArrayView b, qsizetype i) {
    return static_cast<std::uint8_t>(b[i]);
}

/// Length of the frame that may start at b[0]: > 0 when its header fits a frame the PC sends,
/// 0 when more bytes are needed to tell, -1 when no frame starts here.
int frameLength(QByteArrayView b) {
    const std::uint8_t code = at(b, 0);
    int length = 0;
    if (code == 0x91)
        length = 6;
    else if (code == 0xB0 || code == 0x00)
        length = 4;
    else if (code >= 0xEA && code <= 0xED)
        length = 14;
    else
        return -1;
    if (b.size() < 3) return 0;
    // Board frames: command 00 or 10, length 06; calibration frames: their length, then 01.
    const bool header = code == 0x91 ? (at(b, 1) == 0x00 || at(b, 1) == 0x10) && at(b, 2) == 0x06
                                     : at(b, 1) == length && at(b, 2) == 0x01;
    return header ? length : -1;
}

bool checksumOk(QByteArrayView frame) {
    const QByteArrayView body = frame.first(frame.size() - 1);
    const std::uint8_t last = at(frame, frame.size() - 1);
    if (at(frame, 0) == 0x91)
        return static_cast<std::uint8_t>(Frames::ByteSumChecksum(body) + last) == 0;
    return Frames::ByteSumChecksum(body) == last;
}

QChar setLetter(int k) {
    return QChar('A' + k - 1);
}

} // namespace

QString hex(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

Frames::FourSets defaultSets() {
    Frames::ParameterBytes set{};
    for (int i = 0; i < 10; ++i)
        set[i] = static_cast<std::uint8_t>(SetpointDefaults[i]);
    return {set, set, set, set};
}

Responder::Responder(const Behaviour& behaviour) : behaviour_(behaviour), rng_(behaviour.seed) {}

Response Responder::receive(QByteArrayView bytes) {
    Response out;
    if (vanished_) return out;
    pending_.append(bytes.data(), bytes.size());
    qsizetype pos = 0;
    while (pos < pending_.size() && !vanished_) {
        const QByteArrayView rest = QByteArrayView(pending_).sliced(pos);
        const int length = frameLength(rest);
        if (length == 0 || (length > 0 && rest.size() < length)) break; // wait for the rest
        if (length > 0 && checksumOk(rest.first(length))) {
            flushSkipped(out);
            handle(rest.first(length).toByteArray(), out);
            pos += length;
            continue;
        }
        // No frame here (or a corrupt one): drop one byte, since a real frame may begin inside.
        skipped_.append(pending_[pos]);
        ++pos;
    }
    pending_.remove(0, pos);
    if (vanished_) pending_.clear();
    flushSkipped(out);
    out.vanish = vanished_;
    return out;
}

void Responder::flushSkipped(Response& out) {
    if (skipped_.isEmpty()) return;
    out.log << QStringLiteral("Skipped ") + hex(skipped_);
    skipped_.clear();
}

void Responder::handle(const QByteArray& frame, Response& out) {
    const std::uint8_t code = at(frame, 0);
    const bool board = code == 0x91;
    const int address = board ? at(frame, 3) : 0;
    const int channel = board ? at(frame, 4) : 0;
    const bool openChannel = board && at(frame, 1) == 0x10;
    QString name;
    if (board)
        name = openChannel ? QStringLiteral("NetOpenChannel(%1,%2)").arg(address).arg(channel)
                           : QStringLiteral("NetCloseAll(%1)").arg(address);
    else if (code == 0xB0)
        name = QStringLiteral("IdentifyRequest");
    else if (code == 0x00)
        name = QStringLiteral("ReadSetpointsRequest");
    else
        name = QStringLiteral("WriteParameterSet(%1)").arg(setLetter(code - 0xE9));
    out.log << name + QLatin1Char(' ') + hex(frame);

    ++frames_;
    if (behaviour_.exitAfter > 0 && frames_ >= behaviour_.exitAfter) {
        vanished_ = true;
        out.log << QStringLiteral("Vanished");
        return;
    }

    if (board) {
        if (!behaviour_.boards.contains(address)) return;
        if (!openChannel) {
            channels_[address] = 0;
            out.log << QStringLiteral("Board(%1) closed").arg(address);
            reply(*Frames::NetCloseAllReply(address), out);
        } else if (const auto answer = Frames::NetOpenChannelReply(address, channel)) {
            channels_[address] = channel;
            out.log << QStringLiteral("Board(%1) channel %2 open").arg(address).arg(channel);
            reply(*answer, out);
        }
        return;
    }
    if (!behaviour_.instrument) return;
    if (code == 0xB0) {
        reply(*Frames::IdentifyReply(behaviour_.type), out);
    } else if (code == 0x00) {
        reply(Frames::SetpointRecord(behaviour_.sets), out);
    } else {
        const int k = code - 0xE9;
        std::copy(frame.begin() + 3, frame.begin() + 13, behaviour_.sets[k - 1].begin());
        if (behaviour_.ack[k - 1]) reply(*Frames::WriteAck(k), out);
    }
}

void Responder::reply(QByteArray bytes, Response& out) {
    if (behaviour_.silent) return;
    ++replies_;
    if (behaviour_.badChecksums < 0 || replies_ <= behaviour_.badChecksums) {
        const qsizetype last = bytes.size() - 1;
        bytes[last] = static_cast<char>(at(bytes, last) + 1);
    }
    if (behaviour_.garbage > 0) {
        std::uniform_int_distribution<int> byte(0, 255);
        QByteArray framed;
        for (int i = 0; i < behaviour_.garbage; ++i)
            framed.append(static_cast<char>(byte(rng_)));
        framed.append(bytes);
        for (int i = 0; i < behaviour_.garbage; ++i)
            framed.append(static_cast<char>(byte(rng_)));
        bytes = framed;
    }
    if (behaviour_.splitBytes <= 0) {
        out.writes << bytes;
        return;
    }
    for (qsizetype i = 0; i < bytes.size(); i += behaviour_.splitBytes)
        out.writes << bytes.mid(i, behaviour_.splitBytes);
}

QList<CodePair> generatedCurve(int records, int peak) {
    QList<CodePair> curve;
    if (records <= 0) return curve;
    peak = std::clamp(peak, 11, 255);
    const double n = records;
    const auto ch1At = [&](int i) -> double {
        const double t = i / n;
        if (t < 0.10 || t >= 0.85) return 3;
        if (t < 0.30) return 11 + (peak - 11) * (t - 0.10) / 0.20;
        if (t < 0.70) return peak - 2 + 2 * std::sin(i * 0.2);
        return peak + (11 - peak) * (t - 0.70) / 0.15;
    };
    const int lag = std::max(1, records / 100);
    curve.reserve(records);
    for (int i = 0; i < records; ++i) {
        const double ch1 = std::clamp(ch1At(i), 0.0, 255.0);
        const double ch2 =
            i < lag ? 3 : std::max(3.0, 0.85 * std::clamp(ch1At(i - lag), 0.0, 255.0));
        curve.append({static_cast<std::uint8_t>(std::lround(ch1)),
                      static_cast<std::uint8_t>(std::lround(ch2))});
    }
    return curve;
}

std::optional<QList<CodePair>> parseCodePairs(const QByteArray& text, QString* error) {
    QList<CodePair> pairs;
    int lineNumber = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++lineNumber;
        const QByteArray line = raw.simplified();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QList<QByteArray> fields = line.split(' ');
        bool ok1 = false;
        bool ok2 = false;
        const int ch1 = fields.size() == 2 ? fields[0].toInt(&ok1, 0) : -1;
        const int ch2 = fields.size() == 2 ? fields[1].toInt(&ok2, 0) : -1;
        if (!ok1 || !ok2 || ch1 < 0 || ch1 > 255 || ch2 < 0 || ch2 > 255) {
            if (error)
                *error = QStringLiteral("line %1: expected two codes 0 to 255, got \"%2\"")
                             .arg(lineNumber)
                             .arg(QString::fromLatin1(line));
            return std::nullopt;
        }
        pairs.append({static_cast<std::uint8_t>(ch1), static_cast<std::uint8_t>(ch2)});
    }
    return pairs;
}

QByteArray captureStream(const QList<CodePair>& pairs, int badEvery) {
    QByteArray stream;
    stream.reserve(pairs.size() * 5);
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        QByteArray record =
            Frames::CaptureRecord(static_cast<std::uint8_t>(i), pairs[i].ch1, pairs[i].ch2);
        if (badEvery > 0 && (i + 1) % badEvery == 0)
            record[4] = static_cast<char>(at(record, 4) + 1);
        stream.append(record);
    }
    return stream;
}

} // namespace Sim
