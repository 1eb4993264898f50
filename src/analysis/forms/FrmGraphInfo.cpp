// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraphInfo.h"

#include "FrmGraph.h"
#include "FrmGraphType.h"

FrmGraphInfo::FrmGraphInfo()
    : PlaceholderForm(
          QStringLiteral("FrmGraphInfo"), QStringLiteral("Select Runs:"),
          QStringLiteral("Status: Choose runs to appear in graph."),
          [this] { hideAndShow<FrmGraphType>(); }, [this] { hideAndShow<FrmGraph>(); }) {}
