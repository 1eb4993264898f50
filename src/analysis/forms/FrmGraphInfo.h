// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PlaceholderForm.h"

/// The run selection window; only its caption, prompt and navigation are built.
class FrmGraphInfo : public PlaceholderForm {
    Q_OBJECT
public:
    FrmGraphInfo();
};
