// SPDX-License-Identifier: GPL-3.0-or-later
#include "SciGraph.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <limits>

namespace {

// Subset 0 solid, 5 points; subset 1 dashed with an unwritten slot, a slot with x only, and
// values that are not numbers.
void writeTwoCurves(SciGraph& g) {
    g.setAction(20);
    g.setSubsets(2);
    g.setPoints(10);
    for (int p = 0; p < 5; ++p) {
        g.setXData(0, p, p * 0.5f);
        g.setYData(0, p, float(10 * p));
    }
    const float y1[] = {std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity(), 1, 7};
    for (int p : {0, 1, 3}) {
        g.setXData(1, p, p * 0.5f);
        g.setYData(1, p, y1[p]);
    }
    g.setXData(1, 4, 2.0f);
    g.setXData(2, 0, 1.0f); // outside the counts: ignored
    g.setYData(0, 10, 1.0f);
    g.setYData(-1, -1, 1.0f);
    g.setSubsetLineType(1, SciGraph::LineDashed);
    g.setSubsetLabel(1, QStringLiteral("Run1 CH2"));
    g.setAction(0);
}

} // namespace

TEST(SciGraph, ShowsWrittenPointsAndPairsAnnotationLinesAndKeepsTheZoom) {
    SciGraph g;
    writeTwoCurves(g);
    ASSERT_EQ(g.plot()->graphCount(), 2);
    EXPECT_EQ(g.curves()[1].x, (std::vector<double>{0, 0.5, 1.5}));
    EXPECT_EQ(g.curves()[1].y, (std::vector<double>{0, 0, 7})); // NaN and infinity drawn as 0
    EXPECT_EQ(g.plot()->graph(1)->pen().style(), Qt::DashLine);
    EXPECT_EQ(g.plot()->legend->itemCount(), 1); // only labelled curves
    g.plot()->xAxis->setRange(0.5, 1.0);         // the operator zooms in
    g.setShowAnnotations(true);
    // An end alone, a start without end, a slanted and a level line ending beyond the data.
    const SciGraph::Annotation notes[] = {{0, 45, "", 45, {}},  {0, 9, "A", 38, {}},
                                          {1, 0, "B", 38, {}},  {300, 99, "", 45, {}},
                                          {0, 60, "C", 38, {}}, {300, 60, "", 45, {}}};
    for (int i = 0; i < 6; ++i) {
        g.setAnnotationY(i, notes[i].y);
        g.setAnnotationX(i, notes[i].x);
        g.setAnnotationText(i, notes[i].text);
        g.setAnnotationType(i, notes[i].type);
    }
    for (int code : {17, 2, 3})
        g.setAction(code);
    EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0.5, 1.0));
    QStringList items;
    for (int i = 0; i < g.plot()->itemCount(); ++i) {
        if (auto* l = qobject_cast<QCPItemLine*>(g.plot()->item(i)))
            items << QStringLiteral("line to %1,%2")
                         .arg(l->end->coords().x())
                         .arg(l->end->coords().y());
        if (auto* t = qobject_cast<QCPItemText*>(g.plot()->item(i))) items << t->text();
    }
    items.sort();
    EXPECT_EQ(items, (QStringList{"A", "B", "C", "line to 300,60", "line to 300,99"}));
    // A set-up fits the time axis to the curves and the levels axis to the curves and the
    // level lines, and keeps the annotations.
    writeTwoCurves(g);
    EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0, 2));
    EXPECT_GT(g.plot()->yAxis->range().upper, 60);
    EXPECT_LT(g.plot()->yAxis->range().upper, 99);
    EXPECT_EQ(g.plot()->itemCount(), 5);
    EXPECT_EQ(g.curves()[1].x.size(), 3u); // the old points are gone
}

TEST(SciGraph, LabelsClimbingAboveOneAnotherStayInsideThePlot) {
    // Ten level lines 5 % apart: their labels climb above one another, and each widening of
    // the levels axis for them brings more of them close enough to climb, so it takes rounds.
    SciGraph g;
    g.resize(600, 300);
    g.show();
    writeTwoCurves(g);
    QApplication::processEvents();
    g.setShowAnnotations(true);
    for (int line = 0; line < 10; ++line) {
        for (int end = 0; end < 2; ++end) {
            const int i = 2 * line + end;
            g.setAnnotationY(i, 95.0 - 5 * line);
            g.setAnnotationX(i, end ? 2.0 : 0.0);
            g.setAnnotationText(i, end ? QStringLiteral(" ") : QStringLiteral("Threshold"));
            g.setAnnotationType(i,
                                end ? SciGraph::AnnotationLineEnd : SciGraph::AnnotationLineStart);
        }
    }
    g.setAction(17);
    const QRectF area = g.plot()->axisRect()->rect();
    for (int i = 0; i < g.plot()->itemCount(); ++i) {
        if (auto* t = qobject_cast<QCPItemText*>(g.plot()->item(i))) {
            EXPECT_GE(t->topLeft->pixelPosition().y(), area.top()) << i;
        }
    }
}
