// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmSetpoints.h"

#include "FrmCapture.h"
#include "FrmGetCal.h"
#include "FrmGraphType.h"
#include "FrmSetCal.h"
#include "ModVars.h"
#include "Screen.h"
#include "SpreadGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include <cmath>
#include <limits>
#include <optional>

namespace {

enum Row {
    Total = 1,
    NumInAssy,
    CountDir,
    Ch1Peak,
    Ch2Peak,
    PctThreshold,
    ViewTotal,
    TimerX,
    TimerY
};

/// The current cell as a whole number (ties to even), if it is one within [lo, hi].
std::optional<int> wholeNumber(const SpreadGrid& grid, double lo, double hi) {
    const auto v = grid.number();
    if (!v) return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < lo || r > hi) return std::nullopt;
    return static_cast<int>(r);
}

std::optional<std::int16_t> int16Cell(const SpreadGrid& grid) {
    const auto v = wholeNumber(grid, std::numeric_limits<std::int16_t>::min(),
                               std::numeric_limits<std::int16_t>::max());
    if (!v) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

} // namespace

FrmSetpoints::FrmSetpoints() : TaskForm(QStringLiteral("FrmSetpoints")) {}

QString FrmSetpoints::typeName(int type) {
    static const char* const names[] = {"Type A", "Type B", "Type C", "Type D", "Type E", "Type F"};
    return type >= 0 && type <= 5 ? QLatin1String(names[type]) : QStringLiteral("UNKNOWN");
}

void FrmSetpoints::Form_Load() {
    QWidget* w = window();
    w->setWindowTitle(QStringLiteral("Setpoints"));
    w->setWindowIcon(QIcon(picture(QStringLiteral("tb_setpoints"))));

    LblTypeTitle = new QLabel(QStringLiteral("Velmora Type:"), w);
    LblType = new QLabel(QStringLiteral("TYPE A"), w);
    LblType->setObjectName(QStringLiteral("LblType"));

    spdSetpoints = new SpreadGrid(4, 9, w);
    spdSetpoints->setObjectName(QStringLiteral("spdSetpoints"));
    static const char* const headers[] = {
        "Total",    "Number in Assembly", "Count Direction", "CH1 Peak",
        "CH2 Peak", "Percent Threshold",  "View Total",      "Timer X",
        "Timer Y"};
    spdSetpoints->setCol(0);
    for (int r = 1; r <= 9; ++r) {
        spdSetpoints->setRow(r);
        spdSetpoints->setText(QLatin1String(headers[r - 1]));
    }
    spdSetpoints->setRow(0);
    for (int c = 1; c <= 4; ++c) {
        spdSetpoints->setCol(c);
        spdSetpoints->setText(QStringLiteral("Parameter %1").arg(QChar('A' + c - 1)));
        spdSetpoints->setColumnWidthChars(c, 11.25);
    }
    spdSetpoints->setColumnWidthChars(0, 15.87);
    spdSetpoints->setRowType(Total, CellType::integer(0, 9999));
    spdSetpoints->setRowType(NumInAssy, CellType::integer(1, 99));
    spdSetpoints->setRowType(CountDir, CellType::button(QStringLiteral("UP")));
    spdSetpoints->setRowType(Ch1Peak, CellType::decimal(0.0, 99.0, 1));
    spdSetpoints->setRowType(Ch2Peak, CellType::decimal(0.0, 99.0, 1));
    spdSetpoints->setRowType(PctThreshold, CellType::integer(1, 65));
    spdSetpoints->setRowType(ViewTotal, CellType::button(QStringLiteral("YES")));
    spdSetpoints->setRowType(TimerX, CellType::integer(0, 99));
    spdSetpoints->setRowType(TimerY, CellType::integer(0, 99));
    connect(spdSetpoints, &SpreadGrid::Change, this, &FrmSetpoints::spdSetpoints_Change);
    connect(spdSetpoints, &SpreadGrid::ButtonClicked, this,
            &FrmSetpoints::spdSetpoints_ButtonClicked);

    CmdRun =
        new PictureButton(QStringLiteral("upload"), QStringLiteral("Upload Calibration Data"), w);
    CmdGraph = new PictureButton(QStringLiteral("tb_graph"), QStringLiteral("Graph"), w);
    CmdDownLoad = new PictureButton(QStringLiteral("download"),
                                    QStringLiteral("Download Calibration Data"), w);
    CmdBack = new PictureButton(QStringLiteral("hand_left"), QStringLiteral("Clear Form"), w);
    CmdExit = new PictureButton(QStringLiteral("hand_right"), QStringLiteral("Clear Form"), w);
    connect(CmdRun, &QToolButton::clicked, this, &FrmSetpoints::CmdRun_Click);
    connect(CmdGraph, &QToolButton::clicked, this, &FrmSetpoints::CmdGraph_Click);
    connect(CmdDownLoad, &QToolButton::clicked, this, &FrmSetpoints::CmdDownLoad_Click);
    connect(CmdBack, &QToolButton::clicked, this, &FrmSetpoints::CmdBack_Click);
    connect(CmdExit, &QToolButton::clicked, this, &FrmSetpoints::CmdExit_Click);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(LblTypeTitle);
    typeRow->addWidget(LblType);
    typeRow->addStretch();
    auto* buttons = new QHBoxLayout;
    for (QWidget* b : {static_cast<QWidget*>(CmdBack), static_cast<QWidget*>(CmdRun),
                       static_cast<QWidget*>(CmdGraph), static_cast<QWidget*>(CmdDownLoad),
                       static_cast<QWidget*>(CmdExit)}) {
        b->setFixedSize(twips(615), twips(615));
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(w);
    layout->addLayout(typeRow);
    layout->addWidget(spdSetpoints, 1);
    layout->addLayout(buttons);

    // Big enough to show the whole sheet.
    int width = spdSetpoints->verticalHeader()->width() + 2 * spdSetpoints->frameWidth();
    for (int c = 0; c < 4; ++c)
        width += spdSetpoints->columnWidth(c);
    const int height = spdSetpoints->horizontalHeader()->sizeHint().height() +
                       9 * spdSetpoints->verticalHeader()->defaultSectionSize() +
                       2 * spdSetpoints->frameWidth();
    spdSetpoints->setMinimumSize(width, height);
    w->adjustSize();
}

void FrmSetpoints::Form_Activate() {
    GetCalibrationData();
    setStatus(QStringLiteral("Status: View and/or modify setpoints."));
}

void FrmSetpoints::GetCalibrationData() {
    load();
    LblType->setText(typeName(InstrumentType));
    SpreadGrid& g = *spdSetpoints;
    for (int c = 1; c <= 4; ++c) {
        g.setCol(c);
        g.setRow(Total);
        // The true Total: a high byte above 127 (from the instrument or a file) must not wrap.
        g.setValue(int(std::uint16_t(SpTotalHi[c]) * 256 + std::uint16_t(SpTotalLo[c])) & 0xFFFF);
        g.setRow(NumInAssy);
        g.setValue(int(SpNumInAssy[c]));
        g.setRow(CountDir);
        g.setValue(SpCountDir[c] < 62 ? 0 : 1);
        g.setTypeButtonText(SpCountDir[c] < 62 ? QStringLiteral("UP") : QStringLiteral("DOWN"));
        g.setRow(Ch1Peak);
        CodeToValue(SpCh1Peak[c]);
        g.setValue(CodeToValueResult);
        g.setRow(Ch2Peak);
        CodeToValue(SpCh2Peak[c]);
        g.setValue(CodeToValueResult);
        g.setRow(PctThreshold);
        g.setValue(int(SpPctThreshold[c]));
        g.setRow(ViewTotal);
        g.setValue(SpViewTotal[c] != 0 ? 0 : 1);
        g.setTypeButtonText(SpViewTotal[c] != 0 ? QStringLiteral("YES") : QStringLiteral("NO"));
        g.setRow(TimerX);
        g.setValue(int(SpTimerX[c]));
        g.setRow(TimerY);
        g.setValue(int(SpTimerY[c]));
    }
}

void FrmSetpoints::StoreActiveCell() {
    SpreadGrid& g = *spdSetpoints;
    const int c = g.activeCol();
    g.setRow(g.activeRow());
    g.setCol(c);
    if (c < 1 || c > 4) return;
    switch (g.activeRow()) {
    case NumInAssy:
        if (auto v = int16Cell(g)) SpNumInAssy[c] = *v;
        break;
    case CountDir:
        SpCountDir[c] = g.typeButtonText() == QLatin1String("UP") ? 62 : 61;
        break;
    case Ch1Peak:
    case Ch2Peak: {
        const auto v = g.number();
        if (!v) return;
        const float level = static_cast<float>(*v);
        ValueToCode(level);
        (g.activeRow() == Ch1Peak ? SpCh1Peak : SpCh2Peak)[c] = ValueToCodeResult;
        GetCalibrationData();
        break;
    }
    case PctThreshold:
        if (auto v = int16Cell(g)) SpPctThreshold[c] = *v;
        break;
    case ViewTotal:
        SpViewTotal[c] = g.typeButtonText() == QLatin1String("YES") ? 0 : 1;
        break;
    case TimerX:
        if (auto v = int16Cell(g)) SpTimerX[c] = *v;
        break;
    case TimerY:
        if (auto v = int16Cell(g)) SpTimerY[c] = *v;
        break;
    default: {
        // Total: both bytes are worked out before either is stored.
        const auto v = wholeNumber(g, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
        if (!v) return;
        const int hi = *v / 256;
        const int lo = *v % 256;
        if (hi < std::numeric_limits<std::int16_t>::min() ||
            hi > std::numeric_limits<std::int16_t>::max())
            return;
        SpTotalHi[c] = static_cast<std::int16_t>(hi);
        SpTotalLo[c] = static_cast<std::int16_t>(lo);
        break;
    }
    }
}

void FrmSetpoints::spdSetpoints_Change(int, int) {
    StoreActiveCell();
}

void FrmSetpoints::spdSetpoints_ButtonClicked(int, int, int) {
    SpreadGrid& g = *spdSetpoints;
    const int row = g.activeRow();
    if (row != CountDir && row != ViewTotal) return;
    g.setRow(row);
    g.setCol(g.activeCol());
    if (row == CountDir)
        g.setTypeButtonText(g.typeButtonText() == QLatin1String("UP") ? QStringLiteral("DOWN")
                                                                      : QStringLiteral("UP"));
    else
        g.setTypeButtonText(g.typeButtonText() == QLatin1String("YES") ? QStringLiteral("NO")
                                                                       : QStringLiteral("YES"));
}

void FrmSetpoints::CmdRun_Click() {
    Forms::get<FrmGetCal>().show();
    hide();
}

void FrmSetpoints::CmdGraph_Click() {
    Forms::get<FrmGraphType>().show();
    hide();
}

void FrmSetpoints::CmdDownLoad_Click() {
    Forms::get<FrmSetCal>().show();
    hide();
}

void FrmSetpoints::CmdExit_Click() {
    hideAndShow<FrmCapture>();
}

void FrmSetpoints::CmdBack_Click() {
    hideAndShow<FrmGetCal>();
}
