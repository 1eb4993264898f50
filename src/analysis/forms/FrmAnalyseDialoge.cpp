// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyseDialoge.h"

#include "FrmAnalyse.h"
#include "FrmGraphType.h"

FrmAnalyseDialoge::FrmAnalyseDialoge()
    : PlaceholderForm(
          QStringLiteral("FrmAnalyseDialoge"), QStringLiteral("Run to Analyse"),
          QStringLiteral("Status: Choose run and parameter set to analyze."),
          [this] { hideAndShow<FrmGraphType>(); }, [this] { hideAndShow<FrmAnalyse>(); }) {}
