// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PlaceholderForm.h"

/// The run and parameter-set chooser window; only its caption, prompt and navigation are built.
class FrmAnalyseDialoge : public PlaceholderForm {
    Q_OBJECT
public:
    FrmAnalyseDialoge();
};
