// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ModVars.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <optional>

/// Frames of the calibration link and the switching boards, and the searches that recognise
/// the instrument's replies in a read. Builders whose arguments may not fit their bytes return
/// std::nullopt for them, so a tick can take that as its serial failure.
namespace Frames {

/// The ten bytes of one parameter set, in wire order (SpTotalHi ... SpTimerY).
using ParameterBytes = std::array<std::uint8_t, 10>;
/// Parameter sets A to D.
using FourSets = std::array<ParameterBytes, 4>;

/// Sum of all bytes, modulo 256: the last byte of every calibration frame and capture record.
std::uint8_t ByteSumChecksum(QByteArrayView bytes);
/// The byte that makes `bytes` plus itself sum to 0 modulo 256: the last byte of a board frame.
std::uint8_t ZeroSumChecksum(QByteArrayView bytes);

/// B0 04 01 B5.
QByteArray IdentifyRequest();
/// BF 05 00 T c for type 0 to 5 (A to F); nullopt for any other type.
std::optional<QByteArray> IdentifyReply(int type);
/// 00 04 01 05.
QByteArray ReadSetpointsRequest();
/// The 44-byte record: 01 2C 00, the four sets, checksum.
QByteArray SetpointRecord(const FourSets& sets);

/// Element k (1 to 4) of the ten setpoint arrays; nullopt when k is out of range or an element
/// lies outside 0 to 255.
std::optional<ParameterBytes> ParameterSetBytes(const SetpointStore& store, int k);
/// Writes `bytes` into element k (1 to 4) of the ten setpoint arrays.
void StoreParameterSet(SetpointStore& store, int k, const ParameterBytes& bytes);
/// Elements 1 to 4 of the store as four sets; nullopt when any element lies outside 0 to 255.
std::optional<FourSets> StoreSets(const SetpointStore& store);

/// (E9 + k) 0E 01, the ten bytes of set k, checksum; 14 bytes.
std::optional<QByteArray> WriteParameterSet(int k, const ParameterBytes& set);
/// The same frame for element k of the store; nullopt when k or a value cannot be sent.
std::optional<QByteArray> WriteParameterSet(const SetpointStore& store, int k);
/// (F9 + k) 04 00 c for set k = 1 to 4.
std::optional<QByteArray> WriteAck(int k);

/// 91 00 06 a 00 c; nullopt for an address outside 0 to 255.
std::optional<QByteArray> NetCloseAll(int address);
/// 91 01 06 a 00 c.
std::optional<QByteArray> NetCloseAllReply(int address);
/// 91 10 06 a ch c; nullopt for an address outside 0 to 255 or a channel outside 1 to 8.
std::optional<QByteArray> NetOpenChannel(int address, int channel);
/// 91 11 06 a ch c.
std::optional<QByteArray> NetOpenChannelReply(int address, int channel);

/// The five-byte capture record 72 x ch1 ch2 c.
QByteArray CaptureRecord(std::uint8_t x, std::uint8_t ch1, std::uint8_t ch2);

/// True when `reply` occurs byte for byte anywhere in `read`. An empty reply never matches.
bool ContainsReply(QByteArrayView read, QByteArrayView reply);

/// The type (0 to 5) of the IdentifyReply in `read`; the letters are tested A to F and the last
/// one found wins. nullopt when there is none.
std::optional<int> FindIdentifyReply(QByteArrayView read);

/// Record starts looked at in one read.
inline constexpr int SetpointScanLimit = 1200;
/// Length of a SetpointRecord.
inline constexpr int SetpointRecordLength = 44;

/// Start index (0-based) of the first SetpointRecord in `read`: a byte 01 whose 43 bytes sum,
/// modulo 256, to the byte after them. Only starts below SetpointScanLimit are tried, and a
/// record must lie wholly inside the read: one cut at its end is not recognised.
std::optional<int> FindSetpointRecord(QByteArrayView read);
/// The four sets of the record starting at `start`; nullopt unless 44 bytes from it are there.
std::optional<FourSets> SetpointRecordSets(QByteArrayView read, int start);
/// Finds the first SetpointRecord in `read` and stores its four sets into elements 1 to 4 of
/// the store; returns its start. The store is left untouched when there is no record.
std::optional<int> TakeSetpointRecord(QByteArrayView read, SetpointStore& store);

} // namespace Frames
