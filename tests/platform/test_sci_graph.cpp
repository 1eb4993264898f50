// SPDX-License-Identifier: GPL-3.0-or-later
#include "SciGraph.h"

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
    g.setSubsetColor(1, paletteColor(13));
    g.setSubsetLineType(1, SciGraph::LineDashed);
    g.setSubsetLabel(1, QStringLiteral("Run1 CH2"));
    g.setAction(0);
}

void writeAnnotations(SciGraph& g, std::initializer_list<SciGraph::Annotation> list) {
    g.setShowAnnotations(true);
    int i = 0;
    for (const auto& a : list) {
        g.setAnnotationY(i, a.y);
        g.setAnnotationX(i, a.x);
        g.setAnnotationText(i, a.text);
        g.setAnnotationType(i, a.type);
        g.setAnnotationColor(i++, a.color);
    }
    for (int code : {17, 2, 3})
        g.setAction(code);
}

} // namespace

TEST(SciGraph, ShowsOnlyWrittenPointsWithOnePixelPens) {
    SciGraph g;
    writeTwoCurves(g);
    ASSERT_EQ(g.curves().size(), 2u);
    EXPECT_EQ(g.curves()[0].y, (std::vector<double>{0, 10, 20, 30, 40}));
    EXPECT_EQ(g.curves()[1].x, (std::vector<double>{0, 0.5, 1.5}));
    EXPECT_EQ(g.curves()[1].y, (std::vector<double>{0, 0, 7})); // NaN and infinity drawn as 0
    QCustomPlot* plot = g.plot();
    ASSERT_EQ(plot->graphCount(), 2);
    EXPECT_EQ(plot->graph(1)->dataCount(), 3);
    EXPECT_EQ(plot->graph(0)->pen().style(), Qt::SolidLine);
    EXPECT_EQ(plot->graph(1)->pen().style(), Qt::DashLine);
    EXPECT_EQ(plot->graph(1)->pen().color(), QColor(255, 0, 255));
    EXPECT_EQ(plot->graph(1)->pen().widthF(), 1.0);
    EXPECT_EQ(plot->legend->itemCount(), 1); // only labelled curves
    // A new set-up forgets the old points.
    g.setAction(20);
    g.setSubsets(1);
    g.setAction(0);
    ASSERT_EQ(g.curves().size(), 1u);
    EXPECT_TRUE(g.curves()[0].x.empty());
}

TEST(SciGraph, AnnotationLinesPairAStartWithTheNextEndAndKeepTheZoom) {
    const QColor red(255, 0, 0);
    struct Case {
        const char* name;
        std::initializer_list<SciGraph::Annotation> annotations;
        int lines, texts;
        QPointF lineEnd;
    } cases[] = {
        {"pair, far beyond the data",
         {{0, 45, "A", 38, red}, {300, 45, "", 45, red}},
         1,
         1,
         {300, 45}},
        {"end alone, start without end, pair",
         {{0, 45, "", 45, red}, {0, 9, "A", 38, red}, {1, 0, "B", 38, red}, {1, 99, "", 45, red}},
         1,
         2,
         {1, 99}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SciGraph g;
        writeTwoCurves(g);
        g.plot()->xAxis->setRange(0.5, 1.0); // the operator zooms in
        writeAnnotations(g, c.annotations);
        EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0.5, 1.0));
        int lines = 0, texts = 0;
        QCPItemLine* line = nullptr;
        for (int i = 0; i < g.plot()->itemCount(); ++i) {
            if (auto* l = qobject_cast<QCPItemLine*>(g.plot()->item(i))) line = l, ++lines;
            texts += qobject_cast<QCPItemText*>(g.plot()->item(i)) != nullptr;
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(texts, c.texts);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->end->coords(), c.lineEnd);
        // A set-up fits the view to the curves, never to the annotations, and keeps them.
        writeTwoCurves(g);
        EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0, 2));
        EXPECT_LE(g.plot()->yAxis->range().upper, 50);
        EXPECT_EQ(g.plot()->itemCount(), c.lines + c.texts);
    }
}
