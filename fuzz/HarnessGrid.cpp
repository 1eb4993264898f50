// SPDX-License-Identifier: GPL-3.0-or-later
#include "Harnesses.h"

#include "ModVars.h"
#include "SpreadGrid.h"

#include <QApplication>

#include <cmath>

namespace Fuzz {
namespace {

/// The two kinds of typed cells the sheets have: a whole number and a level with one decimal.
SpreadGrid& grid() {
    // Both live to the end of the process: Qt's own globals go before ours would.
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    static SpreadGrid* const g = [] {
        auto* grid = new SpreadGrid(2, 1);
        grid->setCellType(1, 1, CellType::integer(0, 9999));
        grid->setCellType(2, 1, CellType::decimal(0.0, 99.0, 1));
        return grid;
    }();
    return *g;
}

} // namespace

int gridCell(const std::uint8_t* data, std::size_t size) {
    SpreadGrid& g = grid();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int col = 1; col <= 2; ++col) {
        g.setCol(col);
        g.setRow(1);
        // A string written as the cell's value is parsed by the same grid.
        g.setValue(text);
        const QVariant held = g.value();
        const auto written = SpreadGrid::parseNumber(text);
        check(!held.isValid() || (written && std::isfinite(held.toDouble()) &&
                                  (col == 2 || held.toDouble() == std::nearbyint(*written))),
              "a number written is held as written, or not at all");
        g.setValue(QVariant());
        if (!g.typeIntoCell(col, 1, text) || g.valueText().isEmpty()) continue;
        const auto v = SpreadGrid::parseNumber(g.valueText());
        const CellType type = g.cellType(col, 1);
        check(v && *v >= type.min && *v <= type.max, "a typed number keeps to its cell's limits");
        // What the sheet does with a typed level.
        ValueToCode(float(*v));
        check(ValueToCodeResult >= 0 && ValueToCodeResult <= 255, "a level has a code");
    }
    return 0;
}

} // namespace Fuzz
