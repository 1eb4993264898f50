// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmGraph.h"

#include "FrmAnalyseDialoge.h"
#include "FrmGraphInfo.h"

FrmGraph::FrmGraph()
    : PlaceholderForm(
          QStringLiteral("FrmGraph"), QStringLiteral("Current Graph"),
          QStringLiteral("Status: Graph complete."), [this] { hideAndShow<FrmGraphInfo>(); },
          [this] { hideAndShow<FrmAnalyseDialoge>(); }) {}
