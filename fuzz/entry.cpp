// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer's entry for the target named by FUZZ_TARGET.
#include "Harnesses.h"

#include <algorithm>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Fuzz::Entry entry =
        std::ranges::find(Fuzz::Targets, std::string_view(FUZZ_TARGET), &Fuzz::Target::name)->entry;
    return entry(data, size);
}
