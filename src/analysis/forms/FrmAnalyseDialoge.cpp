// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmAnalyseDialoge.h"

#include "FrmAnalyse.h"
#include "FrmGraphType.h"
#include "FrmSetpoints.h"
#include "Screen.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

/// An exclusive group of options, the first selected, filling columns of four from the left;
/// a click reaches `handler` with the option's index.
template <std::size_t N, class Caption, class Handler>
void makeOptions(QGroupBox* frame, std::array<QRadioButton*, N>& options, Caption caption,
                 Handler handler) {
    auto* grid = new QGridLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < int(N); ++i) {
        options[i] = new QRadioButton(caption(i), frame);
        group->addButton(options[i], i);
        grid->addWidget(options[i], i % 4, i / 4);
    }
    options[0]->setChecked(true);
    QObject::connect(group, &QButtonGroup::idClicked, frame, handler);
}

} // namespace

FrmAnalyseDialoge::FrmAnalyseDialoge() : TaskForm(QStringLiteral("FrmAnalyseDialoge")) {}

void FrmAnalyseDialoge::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Run to Analyse"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("chart"))));
    auto* column = new QVBoxLayout(w);

    FrmRun = new QGroupBox(QStringLiteral("Select Run: "), w);
    FrmRun->setObjectName(QStringLiteral("FrmRun"));
    makeOptions(
        FrmRun, OptRun, [](int i) { return QStringLiteral("Run %1").arg(i + 1); },
        [this](int i) { OptRun_Click(i); });
    column->addWidget(FrmRun);

    FrmParam = new QGroupBox(QStringLiteral("Select Parameter: "), w);
    FrmParam->setObjectName(QStringLiteral("FrmParam"));
    makeOptions(
        FrmParam, OptParam, [](int i) { return QStringLiteral("Parameter ") + QChar(u'A' + i); },
        [this](int i) { OptParam_Click(i); });
    column->addWidget(FrmParam);

    auto* navigation = makeNavigationRow(w, CmdBack, CmdGraph, QStringLiteral("Graph"));
    connect(CmdBack, &QToolButton::clicked, this, &FrmAnalyseDialoge::CmdBack_Click);
    connect(CmdGraph, &QToolButton::clicked, this, &FrmAnalyseDialoge::CmdGraph_Click);
    column->addLayout(navigation);
    fixSizeForCaption(w);
}

void FrmAnalyseDialoge::Form_Activate() {
    setStatus(QStringLiteral("Status: Choose run and parameter set to analyze."));
}

// The options of a group are exclusive, so selecting one clears the others.
void FrmAnalyseDialoge::OptRun_Click(int index) {
    if (index >= 0 && index < int(OptRun.size())) OptRun[index]->setChecked(true);
}

void FrmAnalyseDialoge::OptParam_Click(int index) {
    if (index >= 0 && index < int(OptParam.size())) OptParam[index]->setChecked(true);
}

void FrmAnalyseDialoge::CmdGraph_Click() {
    FrmAnalyse& analyse = Forms::get<FrmAnalyse>();
    for (int i = 0; i < int(OptRun.size()); ++i)
        if (OptRun[i]->isChecked()) analyse.RunToAnalyse = static_cast<std::int16_t>(i + 1);
    for (int i = 0; i < int(OptParam.size()); ++i)
        if (OptParam[i]->isChecked()) analyse.ParamToAnalyse = static_cast<std::int16_t>(i + 1);
    hide();
    // The sheet's activation rebuilds it from the store; the analysis reads its set from there.
    FrmSetpoints& sheet = Forms::get<FrmSetpoints>();
    sheet.show();
    sheet.hide();
    analyse.show();
}

void FrmAnalyseDialoge::CmdBack_Click() {
    hideAndShow<FrmGraphType>();
}
