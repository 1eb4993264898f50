// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModVars.h"

#include "CodeTable.h"

SetpointStore::Array& SetpointStore::array(int i) {
    return const_cast<Array&>(static_cast<const SetpointStore*>(this)->array(i));
}

const SetpointStore::Array& SetpointStore::array(int i) const {
    const Array* arrays[ArrayCount] = {&SpTotalHi, &SpTotalLo, &SpNumInAssy,    &SpCountDir,
                                       &SpCh1Peak, &SpCh2Peak, &SpPctThreshold, &SpViewTotal,
                                       &SpTimerX,  &SpTimerY};
    return *arrays[i];
}

void SetpointStore::setDefaults() {
    for (int i = 0; i < ArrayCount; ++i)
        array(i).fill(SetpointDefaults[i]);
}

void SetDefaults() {
    Setpoints.setDefaults();
}

void CodeToValue(const std::int16_t& code) {
    CodeToValueResult = CodeTable::levelOfCode(code);
}

void ValueToCode(const float& level) {
    ValueToCodeResult = CodeTable::codeOfLevel(level);
}
