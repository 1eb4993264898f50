// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frames.h"

#include <algorithm>

namespace Frames {

namespace {

bool isByte(int v) {
    return v >= 0 && v <= 255;
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(values.size()) + 1);
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray withByteSum(QByteArray frame) {
    frame.append(static_cast<char>(ByteSumChecksum(frame)));
    return frame;
}

std::optional<QByteArray> netFrame(int command, int address, int parameter) {
    if (!isByte(address)) return std::nullopt;
    QByteArray frame = bytesOf({0x91, command, 0x06, address, parameter});
    frame.append(static_cast<char>(ZeroSumChecksum(frame)));
    return frame;
}

bool validChannel(int channel) {
    return channel >= 1 && channel <= 8;
}

} // namespace

std::uint8_t ByteSumChecksum(QByteArrayView bytes) {
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint8_t ZeroSumChecksum(QByteArrayView bytes) {
    return static_cast<std::uint8_t>((256 - ByteSumChecksum(bytes)) & 0xFF);
}

QByteArray IdentifyRequest() {
    return bytesOf({0xB0, 0x04, 0x01, 0xB5});
}

std::optional<QByteArray> IdentifyReply(int type) {
    if (type < 0 || type > 5) return std::nullopt;
    return withByteSum(bytesOf({0xBF, 0x05, 0x00, 'A' + type}));
}

QByteArray ReadSetpointsRequest() {
    return bytesOf({0x00, 0x04, 0x01, 0x05});
}

QByteArray SetpointRecord(const FourSets& sets) {
    QByteArray record = bytesOf({0x01, SetpointRecordLength, 0x00});
    for (const ParameterBytes& set : sets)
        for (std::uint8_t b : set)
            record.append(static_cast<char>(b));
    return withByteSum(record);
}

std::optional<ParameterBytes> ParameterSetBytes(const SetpointStore& store, int k) {
    if (k < 1 || k > 4) return std::nullopt;
    ParameterBytes bytes{};
    for (int i = 0; i < SetpointStore::ArrayCount; ++i) {
        const int v = store.array(i)[k];
        if (!isByte(v)) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(v);
    }
    return bytes;
}

void StoreParameterSet(SetpointStore& store, int k, const ParameterBytes& bytes) {
    if (k < 1 || k > 4) return;
    for (int i = 0; i < SetpointStore::ArrayCount; ++i)
        store.array(i)[k] = bytes[i];
}

std::optional<FourSets> StoreSets(const SetpointStore& store) {
    FourSets sets{};
    for (int k = 1; k <= 4; ++k) {
        const auto set = ParameterSetBytes(store, k);
        if (!set) return std::nullopt;
        sets[k - 1] = *set;
    }
    return sets;
}

std::optional<QByteArray> WriteParameterSet(int k, const ParameterBytes& set) {
    if (k < 1 || k > 4) return std::nullopt;
    QByteArray frame = bytesOf({0xE9 + k, 0x0E, 0x01});
    for (std::uint8_t b : set)
        frame.append(static_cast<char>(b));
    return withByteSum(frame);
}

std::optional<QByteArray> WriteParameterSet(const SetpointStore& store, int k) {
    const auto set = ParameterSetBytes(store, k);
    if (!set) return std::nullopt;
    return WriteParameterSet(k, *set);
}

std::optional<QByteArray> WriteAck(int k) {
    if (k < 1 || k > 4) return std::nullopt;
    return withByteSum(bytesOf({0xF9 + k, 0x04, 0x00}));
}

std::optional<QByteArray> NetCloseAll(int address) {
    return netFrame(0x00, address, 0);
}

std::optional<QByteArray> NetCloseAllReply(int address) {
    return netFrame(0x01, address, 0);
}

std::optional<QByteArray> NetOpenChannel(int address, int channel) {
    if (!validChannel(channel)) return std::nullopt;
    return netFrame(0x10, address, channel);
}

std::optional<QByteArray> NetOpenChannelReply(int address, int channel) {
    if (!validChannel(channel)) return std::nullopt;
    return netFrame(0x11, address, channel);
}

QByteArray CaptureRecord(std::uint8_t x, std::uint8_t ch1, std::uint8_t ch2) {
    return withByteSum(bytesOf({0x72, x, ch1, ch2}));
}

bool ContainsReply(QByteArrayView read, QByteArrayView reply) {
    return !reply.isEmpty() && read.indexOf(reply) >= 0;
}

std::optional<int> FindIdentifyReply(QByteArrayView read) {
    std::optional<int> found;
    for (int type = 0; type <= 5; ++type)
        if (ContainsReply(read, *IdentifyReply(type))) found = type;
    return found;
}

std::optional<int> FindSetpointRecord(QByteArrayView read) {
    const auto at = [&](qsizetype i) { return static_cast<std::uint8_t>(read[i]); };
    const qsizetype lastStart =
        std::min<qsizetype>(read.size() - SetpointRecordLength, SetpointScanLimit - 1);
    for (qsizetype i = 0; i <= lastStart; ++i) {
        if (at(i) != 0x01) continue;
        if (ByteSumChecksum(read.sliced(i, SetpointRecordLength - 1)) ==
            at(i + SetpointRecordLength - 1))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<FourSets> SetpointRecordSets(QByteArrayView read, int start) {
    if (start < 0 || start + SetpointRecordLength > read.size()) return std::nullopt;
    FourSets sets{};
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 10; ++j)
            sets[k][j] = static_cast<std::uint8_t>(read[start + 3 + 10 * k + j]);
    return sets;
}

std::optional<int> TakeSetpointRecord(QByteArrayView read, SetpointStore& store) {
    const auto start = FindSetpointRecord(read);
    if (!start) return std::nullopt;
    const FourSets sets = *SetpointRecordSets(read, *start);
    for (int k = 1; k <= 4; ++k)
        StoreParameterSet(store, k, sets[k - 1]);
    return start;
}

} // namespace Frames
