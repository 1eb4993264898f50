// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeTable.h"

#include <array>

namespace {

constexpr int FirstCode = 11;
constexpr int LastCode = 234;

// Levels of codes 11 to 234. The steps follow no formula, so the table is kept whole.
constexpr std::array<float, LastCode - FirstCode + 1> Levels = {
    0.3f,  0.8f,  1.2f,  1.7f,  2.1f,  2.6f,  3.0f,  3.5f,  3.9f,  4.3f,  4.8f,  5.2f,  5.7f,
    6.1f,  6.5f,  6.9f,  7.4f,  7.9f,  8.3f,  8.8f,  9.2f,  9.6f,  10.1f, 10.5f, 10.9f, 11.4f,
    11.9f, 12.3f, 12.7f, 13.2f, 13.6f, 14.1f, 14.5f, 14.9f, 15.4f, 15.8f, 16.3f, 16.7f, 17.1f,
    17.6f, 18.0f, 18.5f, 18.9f, 19.4f, 19.8f, 20.2f, 20.7f, 21.1f, 21.6f, 22.0f, 22.5f, 22.9f,
    23.4f, 23.8f, 24.2f, 24.7f, 25.1f, 25.6f, 26.0f, 26.5f, 26.9f, 27.3f, 27.8f, 28.2f, 28.7f,
    29.1f, 29.5f, 29.9f, 30.4f, 30.9f, 31.3f, 31.8f, 32.2f, 32.6f, 33.1f, 33.5f, 33.9f, 34.4f,
    34.8f, 35.3f, 35.7f, 36.2f, 36.6f, 37.1f, 37.5f, 37.9f, 38.4f, 38.8f, 39.3f, 39.7f, 40.2f,
    40.6f, 41.1f, 41.5f, 41.9f, 42.3f, 42.8f, 43.3f, 43.7f, 44.1f, 44.6f, 45.0f, 45.5f, 45.9f,
    46.4f, 46.8f, 47.2f, 47.7f, 48.1f, 48.6f, 49.0f, 49.5f, 49.9f, 50.3f, 50.8f, 51.2f, 51.7f,
    52.1f, 52.6f, 52.9f, 53.4f, 53.9f, 54.3f, 54.8f, 55.2f, 55.6f, 56.1f, 56.5f, 56.9f, 57.4f,
    57.9f, 58.3f, 58.7f, 59.1f, 59.6f, 60.1f, 60.5f, 60.9f, 61.4f, 61.8f, 62.3f, 62.7f, 63.2f,
    63.6f, 64.1f, 64.5f, 64.9f, 65.4f, 65.8f, 66.3f, 66.7f, 67.1f, 67.6f, 68.0f, 68.5f, 68.9f,
    69.4f, 69.8f, 70.2f, 70.7f, 71.1f, 71.6f, 72.0f, 72.5f, 72.9f, 73.3f, 73.8f, 74.2f, 74.7f,
    75.1f, 75.6f, 75.9f, 76.4f, 76.9f, 77.3f, 77.8f, 78.2f, 78.7f, 79.1f, 79.5f, 79.9f, 80.4f,
    80.9f, 81.3f, 81.7f, 82.2f, 82.6f, 83.1f, 83.5f, 83.9f, 84.4f, 84.8f, 85.3f, 85.7f, 86.2f,
    86.6f, 87.1f, 87.5f, 87.9f, 88.4f, 88.8f, 89.3f, 89.7f, 90.2f, 90.6f, 91.0f, 91.5f, 91.9f,
    92.4f, 92.8f, 93.2f, 93.7f, 94.1f, 94.6f, 95.0f, 95.5f, 95.9f, 96.3f, 96.8f, 97.2f, 97.7f,
    98.1f, 98.6f, 98.9f,
};

constexpr float FullScale = 99.0f;
constexpr std::int16_t OverRangeCode = 69;

} // namespace

namespace CodeTable {

float levelOfCode(int code) noexcept {
    if (code >= FirstCode && code <= LastCode) return Levels[code - FirstCode];
    if (code > LastCode && code <= 255) return FullScale;
    return 0.0f;
}

std::int16_t codeOfLevel(float level) noexcept {
    if (!(level > 0.0f)) return 0; // also NaN
    if (level > FullScale) return OverRangeCode;
    // The table rises strictly, so the first level not below the target is a binary search.
    int lo = 0;
    int hi = static_cast<int>(Levels.size()); // index size stands for code 235 (99.0)
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (level <= Levels[mid])
            hi = mid;
        else
            lo = mid + 1;
    }
    return static_cast<std::int16_t>(FirstCode + lo);
}

} // namespace CodeTable
