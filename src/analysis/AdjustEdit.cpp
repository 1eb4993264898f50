// SPDX-License-Identifier: GPL-3.0-or-later
#include "AdjustEdit.h"

#include "CodeTable.h"

#include <cmath>
#include <limits>

namespace AdjustEdit {

bool storeEdit(SetpointStore& store, int param, int col, double value) noexcept {
    if (param < 1 || param > 4) return false;
    if (col == PeakCh1 || col == PeakCh2) {
        (col == PeakCh1 ? store.SpCh1Peak : store.SpCh2Peak)[param] =
            CodeTable::codeOfLevel(static_cast<float>(value));
        return true;
    }
    SetpointStore::Array* target = col == TimerX      ? &store.SpTimerX
                                   : col == TimerY    ? &store.SpTimerY
                                   : col == Threshold ? &store.SpPctThreshold
                                                      : nullptr;
    if (!target) return false;
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max()))
        return false;
    (*target)[param] = static_cast<std::int16_t>(r);
    return true;
}

} // namespace AdjustEdit
