// SPDX-License-Identifier: GPL-3.0-or-later
#include "SciGraph.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

// Two subsets of up to 10 points: subset 0 solid, subset 1 dashed with unwritten slots.
void writeTwoCurves(SciGraph& g) {
    g.setAction(20);
    g.setSubsets(2);
    g.setPoints(10);
    for (int p = 0; p < 5; ++p) {
        g.setXData(0, p, p * 0.5f);
        g.setYData(0, p, float(10 * p));
    }
    g.setXData(1, 0, 0.0f);
    g.setYData(1, 0, std::numeric_limits<float>::quiet_NaN());
    g.setXData(1, 1, 0.5f);
    g.setYData(1, 1, std::numeric_limits<float>::infinity());
    g.setXData(1, 3, 1.5f); // slot 2 never written
    g.setYData(1, 3, 7.0f);
    g.setXData(1, 4, 2.0f); // y never written
    g.setXData(2, 0, 1.0f); // outside the counts: ignored
    g.setYData(0, 10, 1.0f);
    g.setYData(-1, -1, 1.0f);
    g.setSubsetLabel(0, QStringLiteral("Run1 CH1"));
    g.setSubsetLabel(1, QStringLiteral("Run1 CH2"));
    g.setSubsetColor(0, paletteColor(9));
    g.setSubsetColor(1, paletteColor(13));
    g.setSubsetLineType(0, SciGraph::LineSolid);
    g.setSubsetLineType(1, SciGraph::LineDashed);
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
        g.setAnnotationColor(i, a.color);
        ++i;
    }
    for (int code : {17, 2, 3})
        g.setAction(code);
}

} // namespace

TEST(SciGraph, CurvesAreTheWrittenPointsWithTheirStyles) {
    SciGraph g;
    g.resize(600, 400);
    writeTwoCurves(g);
    ASSERT_EQ(g.curves().size(), 2u);
    const auto& solid = g.curves()[0];
    const auto& dashed = g.curves()[1];
    EXPECT_EQ(solid.x, (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(solid.y, (std::vector<double>{0, 10, 20, 30, 40}));
    EXPECT_EQ(dashed.x, (std::vector<double>{0, 0.5, 1.5}));
    EXPECT_EQ(dashed.y, (std::vector<double>{0, 0, 7})); // NaN and infinity drawn as 0

    struct Row {
        int subset;
        QColor color;
        Qt::PenStyle style;
        QString legend;
    } rows[] = {{0, QColor(0, 0, 255), Qt::SolidLine, "Run1 CH1"},
                {1, QColor(255, 0, 255), Qt::DashLine, "Run1 CH2"}};
    QCustomPlot* plot = g.plot();
    ASSERT_EQ(plot->graphCount(), 2);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.subset);
        const QPen pen = plot->graph(r.subset)->pen();
        EXPECT_EQ(pen.color(), r.color);
        EXPECT_EQ(pen.style(), r.style);
        EXPECT_EQ(pen.widthF(), 1.0);
        EXPECT_EQ(plot->graph(r.subset)->dataCount(), int(g.curves()[r.subset].x.size()));
        EXPECT_EQ(plot->legend->itemWithPlottable(plot->graph(r.subset))->plottable()->name(),
                  r.legend);
    }
    // A new set-up forgets the old points.
    g.setAction(20);
    g.setSubsets(1);
    g.setAction(0);
    ASSERT_EQ(g.curves().size(), 1u);
    EXPECT_TRUE(g.curves()[0].x.empty());
}

TEST(SciGraph, AnnotationLinesPairStartWithTheNextEnd) {
    const QColor red(255, 0, 0);
    struct Case {
        const char* name;
        std::initializer_list<SciGraph::Annotation> annotations;
        int lines, texts;
    } cases[] = {
        {"pair", {{0, 45, "Threshold", 38, red}, {300, 45, "", 45, red}}, 1, 1},
        {"two pairs",
         {{0, 45, "A", 38, red},
          {3, 45, "", 45, red},
          {1, 0.01, "B", 38, red},
          {1, 100, "", 45, red}},
         2,
         2},
        {"start without end", {{0, 45, "A", 38, red}, {3, 45, "", 38, red}}, 0, 1},
        {"end alone", {{0, 45, "", 45, red}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SciGraph g;
        writeTwoCurves(g);
        writeAnnotations(g, c.annotations);
        int lines = 0, texts = 0;
        for (int i = 0; i < g.plot()->itemCount(); ++i) {
            lines += qobject_cast<QCPItemLine*>(g.plot()->item(i)) != nullptr;
            texts += qobject_cast<QCPItemText*>(g.plot()->item(i)) != nullptr;
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(texts, c.texts);
    }
}

TEST(SciGraph, AnnotationsKeepTheZoomASetUpFitsTheCurvesOnly) {
    SciGraph g;
    g.resize(600, 400);
    writeTwoCurves(g);
    // A line far beyond the data must not widen the view.
    writeAnnotations(g, {{0, 45, "Threshold", 38, Qt::red}, {300, 45, "", 45, Qt::red}});
    EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0, 2));
    EXPECT_LE(g.plot()->yAxis->range().upper, 50);

    g.plot()->xAxis->setRange(0.5, 1.0); // the operator zooms in
    writeAnnotations(g, {{0, 20, "Threshold", 38, Qt::red}, {300, 20, "", 45, Qt::red}});
    EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0.5, 1.0));
    auto* line = qobject_cast<QCPItemLine*>(g.plot()->item(0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->end->coords(), QPointF(300, 20));

    writeTwoCurves(g);
    EXPECT_EQ(g.plot()->xAxis->range(), QCPRange(0, 2));
    EXPECT_EQ(g.plot()->itemCount(), 2); // annotations stay through a set-up
}

TEST(SciGraph, PrintsOnePageThroughTheHook) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graph.pdf"));
    QString answer;
    SciGraph::printHook() = [&answer] { return answer; };
    SciGraph g;
    g.resize(600, 400);
    g.setMainTitle(QStringLiteral("Velmora Data"));
    writeTwoCurves(g);
    writeAnnotations(g, {{0, 20, "Threshold", 38, Qt::red}, {2, 20, "", 45, Qt::red}});

    g.setAction(8); // cancelled
    EXPECT_FALSE(QFile::exists(path));
    answer = path;
    g.setAction(8);
    SciGraph::printHook() = nullptr;

    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 1);
    EXPECT_GT(bytes.size(), 5000); // curves, legend and titles, not an empty page
}
