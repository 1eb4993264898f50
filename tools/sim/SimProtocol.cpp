// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimProtocol.h"

#include <algorithm>
#include <cmath>

namespace Sim {

namespace {

// Third byte of a calibration frame: who sent it.
constexpr std::uint8_t FromPc = 0x01;
constexpr std::uint8_t FromInstrument = 0x00;

/// Calibration frames the PC sends: first byte, whole length (checksum included), log name.
struct CalRequest {
    std::uint8_t code;
    int length;
    const char* name;
};
constexpr CalRequest calRequests[] = {
    {0xB0, 4, "IdentifyRequest"},       {0x00, 4, "ReadSetpointsRequest"},
    {0xEA, 14, "WriteParameterSet(A)"}, {0xEB, 14, "WriteParameterSet(B)"},
    {0xEC, 14, "WriteParameterSet(C)"}, {0xED, 14, "WriteParameterSet(D)"},
};
constexpr std::uint8_t IdentifyCode = 0xB0;
constexpr std::uint8_t ReadSetpointsCode = 0x00;
constexpr std::uint8_t WriteCodeA = 0xEA; // EA to ED for sets A to D

// Calibration frames the instrument sends.
constexpr std::uint8_t IdentifyReplyCode = 0xBF; // body: the type letter
constexpr std::uint8_t RecordCode = 0x01;        // body: the four sets
constexpr std::uint8_t AckCodeA = 0xFA;          // FA to FD for sets A to D, no body
constexpr char TypeLetters[] = "ABCDEF";
constexpr char UnknownTypeLetter = 'G';

// Board frames: lead, command, length, address, parameter, zero-sum checksum.
constexpr std::uint8_t BoardLead = 0x91;
constexpr int BoardLength = 6;
constexpr std::uint8_t CloseAll = 0x00;
constexpr std::uint8_t OpenChannel = 0x10;
constexpr std::uint8_t Answered = 0x01; // added to the command in a board's reply

constexpr std::uint8_t CaptureMark = 0x72;

std::uint8_t at(QByteArrayView b, qsizetype i) {
    return static_cast<std::uint8_t>(b[i]);
}

/// code, length, direction, body, byte-sum checksum.
QByteArray calFrame(std::uint8_t code, QByteArrayView body) {
    QByteArray f;
    f.append(char(code));
    f.append(char(body.size() + 4));
    f.append(char(FromInstrument));
    f.append(body.data(), body.size());
    f.append(char(byteSum(f)));
    return f;
}

QByteArray boardFrame(std::uint8_t command, std::uint8_t address, std::uint8_t parameter) {
    QByteArray f;
    for (std::uint8_t b : {BoardLead, command, std::uint8_t(BoardLength), address, parameter})
        f.append(char(b));
    f.append(char(zeroSum(f)));
    return f;
}

const CalRequest* calRequest(std::uint8_t code) {
    for (const CalRequest& r : calRequests)
        if (r.code == code) return &r;
    return nullptr;
}

/// Length of the frame that may start at b[0]: > 0 when its header is one the PC sends, 0 when
/// more bytes are needed to tell, -1 when no frame starts here.
int frameLength(QByteArrayView b) {
    const std::uint8_t code = at(b, 0);
    const CalRequest* cal = calRequest(code);
    if (!cal && code != BoardLead) return -1;
    if (b.size() < 3) return 0;
    if (cal) return at(b, 1) == cal->length && at(b, 2) == FromPc ? cal->length : -1;
    const bool command = at(b, 1) == CloseAll || at(b, 1) == OpenChannel;
    return command && at(b, 2) == BoardLength ? BoardLength : -1;
}

bool checksumOk(QByteArrayView frame) {
    const QByteArrayView body = frame.first(frame.size() - 1);
    const std::uint8_t expected = at(frame, 0) == BoardLead ? zeroSum(body) : byteSum(body);
    return at(frame, frame.size() - 1) == expected;
}

} // namespace

std::uint8_t byteSum(QByteArrayView bytes) {
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>(sum % 256);
}

std::uint8_t zeroSum(QByteArrayView bytes) {
    return static_cast<std::uint8_t>((256 - byteSum(bytes)) % 256);
}

QString hex(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

FourSets defaultSets() {
    const ParameterSet set{0, 0, 5, 61, 250, 250, 10, 0, 10, 10};
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
    QString name;
    if (code == BoardLead)
        name = at(frame, 1) == OpenChannel
                   ? QStringLiteral("NetOpenChannel(%1,%2)").arg(at(frame, 3)).arg(at(frame, 4))
                   : QStringLiteral("NetCloseAll(%1)").arg(at(frame, 3));
    else
        name = QLatin1String(calRequest(code)->name);
    out.log << name + QLatin1Char(' ') + hex(frame);

    ++frames_;
    if (behaviour_.exitAfter > 0 && frames_ >= behaviour_.exitAfter) {
        vanished_ = true;
        out.log << QStringLiteral("Vanished");
        return;
    }
    if (code == BoardLead) {
        answerBoard(frame, out);
        return;
    }
    if (!behaviour_.instrument) return;
    if (code == IdentifyCode) {
        const char letter =
            behaviour_.unknownType ? UnknownTypeLetter : TypeLetters[behaviour_.type];
        reply(calFrame(IdentifyReplyCode, QByteArrayView(&letter, 1)), out);
    } else if (code == ReadSetpointsCode) {
        QByteArray body;
        for (const ParameterSet& set : behaviour_.sets)
            body.append(reinterpret_cast<const char*>(set.data()), qsizetype(set.size()));
        reply(calFrame(RecordCode, body), out);
    } else {
        const int k = code - WriteCodeA; // 0 to 3 for sets A to D
        std::copy(frame.begin() + 3, frame.begin() + 13, behaviour_.sets[k].begin());
        const int acked = behaviour_.wrongAck ? (k + 3) % 4 : k;
        if (behaviour_.ack[k]) reply(calFrame(std::uint8_t(AckCodeA + acked), {}), out);
    }
}

void Responder::answerBoard(const QByteArray& frame, Response& out) {
    const std::uint8_t command = at(frame, 1);
    const std::uint8_t address = at(frame, 3);
    const std::uint8_t parameter = at(frame, 4);
    if (!behaviour_.boards.contains(address)) return;
    if (command == OpenChannel && (parameter < 1 || parameter > 8)) return;
    channels_[address] = command == OpenChannel ? parameter : 0;
    out.log << (command == OpenChannel
                    ? QStringLiteral("Board(%1) channel %2 open").arg(address).arg(parameter)
                    : QStringLiteral("Board(%1) closed").arg(address));
    const std::uint8_t from = behaviour_.wrongAddress ? std::uint8_t(address + 1) : address;
    const std::uint8_t answer =
        behaviour_.wrongCommand ? command : std::uint8_t(command + Answered);
    reply(boardFrame(answer, from, parameter), out);
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
    // A tool takes up and lets go of its load in a fraction of a second whatever the run's
    // length: the rise and the fall last at most 0.2 s (40 records), so a long run still has
    // the steep start a real one has.
    const int start = records / 10, top = start + std::min(40, records / 5);
    const int release = records * 7 / 10, end = release + std::min(40, records * 3 / 20);
    const auto ch1At = [&](int i) -> double {
        if (i < start || i >= end) return 3;
        if (i < top) return 11 + double(peak - 11) * (i - start) / (top - start);
        if (i < release) return peak - 2 + 2 * std::sin(i * 0.2);
        return peak + double(11 - peak) * (i - release) / (end - release);
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
        QByteArray record;
        record.append(char(CaptureMark));
        record.append(char(i & 0xFF));
        record.append(char(pairs[i].ch1));
        record.append(char(pairs[i].ch2));
        const bool bad = badEvery > 0 && (i + 1) % badEvery == 0;
        record.append(char(byteSum(record) + (bad ? 1 : 0)));
        stream.append(record);
    }
    return stream;
}

} // namespace Sim
