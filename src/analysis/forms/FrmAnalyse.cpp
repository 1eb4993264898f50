// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyse.h"

#include "FrmAnalyseDialoge.h"
#include "FrmSetCal.h"

FrmAnalyse::FrmAnalyse()
    : PlaceholderForm(
          QStringLiteral("FrmAnalyse"), QStringLiteral("Analyse"),
          QStringLiteral("Status: Analyze a run with a parameter set."),
          [this] { hideAndShow<FrmAnalyseDialoge>(); }, [this] { hideAndShow<FrmSetCal>(); }) {}
