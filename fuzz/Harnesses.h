// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

/// Entry points that feed outside bytes to one parser each. libFuzzer drives them under clang;
/// the test suite replays the stored inputs through the same functions. A broken promise of the
/// parser aborts, so both see it as a crash.
namespace Fuzz {

using Entry = int (*)(const std::uint8_t* data, std::size_t size);

int dataFile(const std::uint8_t* data, std::size_t size);
int filePath(const std::uint8_t* data, std::size_t size);
int capture(const std::uint8_t* data, std::size_t size);
int setpointScan(const std::uint8_t* data, std::size_t size);
int identify(const std::uint8_t* data, std::size_t size);
int writeAck(const std::uint8_t* data, std::size_t size);
int boardReply(const std::uint8_t* data, std::size_t size);
int gridCell(const std::uint8_t* data, std::size_t size);

struct Target {
    std::string_view name; ///< also the name of its folders under corpus/ and regressions/
    Entry entry;
};

inline constexpr Target Targets[] = {
    {"datafile", dataFile},          {"filepath", filePath},  {"capture", capture},
    {"setpoint_scan", setpointScan}, {"identify", identify},  {"write_ack", writeAck},
    {"board_reply", boardReply},     {"grid_cell", gridCell},
};

/// Aborts when a parser breaks its promise, in any build.
void check(bool holds, const char* what);

} // namespace Fuzz
