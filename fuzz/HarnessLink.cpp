// SPDX-License-Identifier: GPL-3.0-or-later
#include "Harnesses.h"

#include "CaptureDecoder.h"
#include "Frames.h"

#include <algorithm>
#include <array>
#include <vector>

namespace Fuzz {
namespace {

QByteArrayView view(const std::uint8_t* data, std::size_t size) {
    return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace

int capture(const std::uint8_t* data, std::size_t size) {
    // The window never takes more than its receive buffer holds.
    const std::size_t n = std::min<std::size_t>(size, CaptureDecoder::MaxBytes);
    const std::vector<std::int16_t> bytes(data, data + n);
    std::array<std::int16_t, CaptureDecoder::MaxRecords + 1> ch1, ch2;
    const auto result = CaptureDecoder::decode(bytes, ch1, ch2);
    // Records may overlap, but each needs its own mark and four bytes after it.
    check(result.records >= 0 && result.records <= CaptureDecoder::MaxRecords &&
              result.records <= std::max(0, int(n) - 4),
          "record count");
    if (result.tooMany) return 0;
    static CapturedTable table;
    CaptureDecoder::writeRun(table, n ? data[0] % 8 + 1 : 1, ch1, ch2);
    return 0;
}

int setpointScan(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView read = view(data, size);
    SetpointStore store{};
    const auto start = Frames::TakeSetpointRecord(read, store);
    if (!start) {
        check(store == SetpointStore{}, "no record, no change");
        return 0;
    }
    check(*start >= 0 && *start < Frames::SetpointScanLimit &&
              *start + Frames::SetpointRecordLength <= read.size(),
          "a record lies within the read");
    check(read[*start] == 1 &&
              Frames::ByteSumChecksum(read.sliced(*start, Frames::SetpointRecordLength - 1)) ==
                  std::uint8_t(read[*start + Frames::SetpointRecordLength - 1]),
          "a record has its mark and checksum");
    return 0;
}

int identify(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView read = view(data, size);
    if (const auto type = Frames::FindIdentifyReply(read))
        check(*type >= 0 && *type <= 5 &&
                  Frames::ContainsReply(read, *Frames::IdentifyReply(*type)),
              "an identified type was in the read");
    return 0;
}

int writeAck(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView read = view(data, size);
    for (int k = 1; k <= 4; ++k)
        if (Frames::ContainsReply(read, *Frames::WriteAck(k)))
            check(read.size() >= 4, "an acknowledgement is four bytes");
    return 0;
}

int boardReply(const std::uint8_t* data, std::size_t size) {
    // The first two bytes choose the board and the channel asked for, the rest is the read.
    if (size < 2) return 0;
    const QByteArrayView read = view(data + 2, size - 2);
    const int address = data[0];
    const int channel = data[1] % 8 + 1;
    const bool closed = Frames::ContainsReply(read, *Frames::NetCloseAllReply(address));
    const bool opened = Frames::ContainsReply(read, *Frames::NetOpenChannelReply(address, channel));
    check(!(closed || opened) || read.size() >= 6, "a board reply is six bytes");
    return 0;
}

} // namespace Fuzz
