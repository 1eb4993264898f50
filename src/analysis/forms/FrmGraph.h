// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PlaceholderForm.h"

/// The multi-run graph window; only its caption, prompt and navigation are built.
class FrmGraph : public PlaceholderForm {
    Q_OBJECT
public:
    FrmGraph();
};
