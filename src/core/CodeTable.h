// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

/// The instrument's 8-bit codes for levels in percent of full scale.
namespace CodeTable {

/// Level of a code: 0.0 for codes up to 10 and outside 0..255, 99.0 from 235 on.
float levelOfCode(int code) noexcept;

/// First code from 11 to 235 whose level is not below `level`; 0 for levels at or below
/// zero (and NaN), 69 for levels above 99.0. Compared in single precision.
std::int16_t codeOfLevel(float level) noexcept;

} // namespace CodeTable
