// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QCustomPlot;

/// Colour n (0 to 15) of the standard 16-colour palette; black outside it.
QColor paletteColor(int n);

/// The scientific graph control: curves (subsets) of points, titles, labelled annotation
/// lines, print. Writes are buffered and reach the plot on the action codes, as whole vectors.
///
/// Action codes: 20 opens a set-up (forgets the old data); 0 closes it, shows the new data and
/// fits the view to it; 17, 2, 3 (in that order) show the annotations, keeping the operator's
/// x range; 8 prints the graph as shown. The y range always shows every horizontal annotation
/// line (a threshold level) with its label, and widens just enough when one lies outside it or
/// when labels climbing above one another would leave the plot. Labels never overlap.
class SciGraph : public QWidget {
    Q_OBJECT
public:
    /// Line types the program uses.
    static constexpr int LineSolid = 6;
    static constexpr int LineDashed = 2;
    /// Annotation types: a line starts at a type-38 annotation (its text shown there) and ends
    /// at the next index if that one is of type 45.
    static constexpr int AnnotationLineStart = 38;
    static constexpr int AnnotationLineEnd = 45;

    explicit SciGraph(QWidget* parent = nullptr);
    ~SciGraph() override;

    void setMainTitle(const QString& text);
    void setSubTitle(const QString& text);
    void setXAxisLabel(const QString& text);
    void setYAxisLabel(const QString& text);

    /// Counts, written before any point; later writes outside them are ignored.
    void setSubsets(int count);
    void setPoints(int count);
    /// Point slots a set-up leaves unwritten are not drawn.
    void setXData(int subset, int point, float x);
    void setYData(int subset, int point, float y);
    void setSubsetLabel(int subset, const QString& text);
    void setSubsetColor(int subset, const QColor& color);
    void setSubsetLineType(int subset, int lineType);

    void setShowAnnotations(bool on);
    void setAnnotationX(int index, double x);
    void setAnnotationY(int index, double y);
    void setAnnotationText(int index, const QString& text);
    void setAnnotationType(int index, int type);
    void setAnnotationColor(int index, const QColor& color);

    /// Settings the control takes but whose effect nothing relies on.
    void setSetupSwitch(bool on);
    void setSetupColor(int paletteEntry);
    void setAnalysisSwitch(bool on);
    void setAnalysisOption(int which, int value);
    void setAnalysisValue(int which, int value);
    void setFinishingFraction(double value);
    void setFinishingOption(int which, int value);
    void setAnnotationSetting(int which, int value);

    void setAction(int code);
    /// Fits the view to the curves and the horizontal annotation lines shown, as a set-up does
    /// (one of the operator's options).
    void fitToData();

    /// Place and size in twips inside the parent.
    int leftTwips() const;
    int topTwips() const;
    int widthTwips() const;
    int heightTwips() const;
    void setLeftTwips(int t);
    void setTopTwips(int t);
    void setWidthTwips(int t);
    void setHeightTwips(int t);

    // What is shown, for tests and printing.
    struct Curve {
        QString label;
        QColor color;
        int lineType = LineSolid;
        std::vector<double> x, y; ///< written points only, in point order
    };
    struct Annotation {
        double x = 0, y = 0;
        QString text;
        int type = 0;
        QColor color;
    };
    const std::vector<Curve>& curves() const;
    std::vector<Annotation> annotations() const;
    QString mainTitle() const;
    QString subTitle() const;
    QString xAxisLabel() const;
    QString yAxisLabel() const;
    QCustomPlot* plot() const;

    /// Tests print here instead of asking with a dialog: the hook gets the PDF path to write,
    /// or returns an empty string to cancel.
    static std::function<QString()>& printHook();

private:
    struct Impl;
    Impl* d_;
};
