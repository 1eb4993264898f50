// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PlaceholderForm.h"

#include <cstdint>

/// The single-run analysis window; only its caption, prompt and navigation are built.
class FrmAnalyse : public PlaceholderForm {
    Q_OBJECT
public:
    FrmAnalyse();

    std::int16_t RunToAnalyse = 0;
    std::int16_t ParamToAnalyse = 0;
};
