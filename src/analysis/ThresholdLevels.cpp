// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThresholdLevels.h"

namespace ThresholdLevels {

float pctFraction(int percentThreshold) noexcept {
    return static_cast<float>(percentThreshold / 100.0);
}

Levels levels(int instrumentType, float peak1, float peak2, float pct) noexcept {
    const double p1 = peak1, p2 = peak2, p = pct;
    const double below1 = p1 - p1 * p;
    double second = 0.0;
    switch (instrumentType) {
    case 1:
        second = p1 + p1 * p;
        break;
    case 2:
        second = p2 - p2 * p;
        break;
    case 3:
        break;
    case 4:
        second = p2 + double(19.902f);
        break;
    case 5:
        return {51.2f, 51.2f};
    default:
        second = p2 + 2.2;
        break;
    }
    return {static_cast<float>(below1), static_cast<float>(second)};
}

} // namespace ThresholdLevels
