// SPDX-License-Identifier: GPL-3.0-or-later
#include "SciGraph.h"

#include "Screen.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace {

// Counts and indexes are 16-bit on the callers' side; anything beyond is a caller's fault and
// must not turn into a huge allocation.
constexpr int MaxIndex = 32767;

float finiteOr0(float v) {
    return std::isfinite(v) ? v : 0.0f;
}
double finiteOr0(double v) {
    return std::isfinite(v) ? v : 0.0;
}

/// Room in pixels above a line for one label.
double labelRoom(const QCustomPlot& plot) {
    return QFontMetrics(plot.font()).height() + 4.0;
}

struct Subset {
    enum : std::uint8_t { HasX = 1, HasY = 2 };
    std::vector<float> x, y;
    std::vector<std::uint8_t> written;
    QString label;
    QColor color = Qt::black;
    int lineType = SciGraph::LineSolid;

    void grow(int point) {
        if (point < static_cast<int>(written.size())) return;
        x.resize(point + 1);
        y.resize(point + 1);
        written.resize(point + 1);
    }
};

} // namespace

QColor paletteColor(int n) {
    static const QRgb palette[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
    return (n >= 0 && n < 16) ? QColor(palette[n]) : QColor(Qt::black);
}

struct SciGraph::Impl {
    QCustomPlot* plot = nullptr;
    QCPTextElement* title = nullptr;
    QCPTextElement* subtitle = nullptr;
    QString mainTitle, subTitle;

    int pointCount = 0;
    std::vector<Subset> subsets;
    std::vector<Curve> shown;

    bool showAnnotations = false;
    std::vector<Annotation> annotations;
    std::vector<QCPAbstractItem*> annotationItems;
    std::vector<QCPItemText*> labels;

    Subset* subset(int s) {
        return (s >= 0 && s < static_cast<int>(subsets.size())) ? &subsets[s] : nullptr;
    }
    Subset* subset(int s, int p) { return (p >= 0 && p < pointCount) ? subset(s) : nullptr; }
    Annotation* annotation(int index) {
        if (index < 0 || index > MaxIndex) return nullptr;
        if (index >= static_cast<int>(annotations.size())) annotations.resize(index + 1);
        return &annotations[index];
    }

    void showData();
    void drawAnnotations();
    void fitToData();
    std::vector<double> levels() const;
    void keepInView(double level, double roomAbove);
    /// A label standing above the plot: the level it belongs to and the room in pixels it needs
    /// above that level.
    struct Overflow {
        double level, roomAbove;
    };
    std::optional<Overflow> stackLabels();
    void roomForLabels();
    void print(QWidget* parent);
    void render(QPrinter& printer);
};

void SciGraph::Impl::showData() {
    plot->clearGraphs();
    shown.clear();
    shown.reserve(subsets.size());
    QVector<QCPGraphData> data;
    for (const Subset& s : subsets) {
        Curve c{s.label, s.color, s.lineType, {}, {}};
        data.clear();
        data.reserve(static_cast<int>(s.written.size()));
        for (size_t p = 0; p < s.written.size(); ++p) {
            if (s.written[p] != (Subset::HasX | Subset::HasY)) continue;
            data.append(QCPGraphData(s.x[p], s.y[p]));
        }
        c.x.reserve(data.size());
        c.y.reserve(data.size());
        for (const QCPGraphData& d : data) {
            c.x.push_back(d.key);
            c.y.push_back(d.value);
        }
        QCPGraph* g = plot->addGraph();
        g->setName(s.label);
        // One-pixel pens; dashes keep CH2 apart from CH1 on a black-and-white printout.
        QPen pen(s.color, 1, s.lineType == LineDashed ? Qt::DashLine : Qt::SolidLine);
        g->setPen(pen);
        const bool sorted = std::is_sorted(c.x.begin(), c.x.end());
        g->data()->set(data, sorted);
        if (s.label.isEmpty()) g->removeFromLegend();
        shown.push_back(std::move(c));
    }
    plot->legend->setVisible(plot->legend->itemCount() > 0);
    fitToData();
    drawAnnotations();
}

void SciGraph::Impl::fitToData() {
    double x0 = std::numeric_limits<double>::max(), x1 = std::numeric_limits<double>::lowest();
    double y0 = x0, y1 = x1;
    for (const Curve& c : shown) {
        for (double v : c.x) {
            x0 = std::min(x0, v);
            x1 = std::max(x1, v);
        }
        for (double v : c.y) {
            y0 = std::min(y0, v);
            y1 = std::max(y1, v);
        }
    }
    if (x0 > x1) {
        x0 = 0, x1 = 1, y0 = 0, y1 = 100;
    }
    if (x1 - x0 <= 0) x0 -= 0.5, x1 += 0.5;
    // Levels are measured up from 0, so 0 stays in view; a little room above the highest peak.
    y0 = std::min(y0, 0.0);
    const double pad = y1 - y0 > 0 ? (y1 - y0) * 0.05 : 1.0;
    plot->xAxis->setRange(x0, x1);
    plot->yAxis->setRange(y0 < 0 ? y0 - pad : 0.0, y1 + pad);
    for (double level : levels())
        keepInView(level, labelRoom(*plot));
}

/// The heights of the horizontal annotation lines shown (threshold levels, say).
std::vector<double> SciGraph::Impl::levels() const {
    std::vector<double> found;
    if (!showAnnotations) return found;
    for (size_t i = 0; i + 1 < annotations.size(); ++i) {
        const Annotation& a = annotations[i];
        const Annotation& b = annotations[i + 1];
        if (a.type == AnnotationLineStart && b.type == AnnotationLineEnd && a.y == b.y)
            found.push_back(a.y);
    }
    return found;
}

/// Widens the y range just enough that a line at `level` shows, with `roomAbove` pixels free
/// above it for its label.
void SciGraph::Impl::keepInView(double level, double roomAbove) {
    const QCPRange r = plot->yAxis->range();
    const int height = plot->axisRect()->height();
    // Shares of the plot's height kept free above a line (its label) and below it.
    const double above = height > 0 ? std::min(0.5, roomAbove / height) : 0.1;
    const double below = height > 0 ? std::min(0.5, 3.0 / height) : 0.02;
    if (r.upper - level < above * r.size())
        plot->yAxis->setRange(r.lower, (level - above * r.lower) / (1.0 - above));
    else if (level - r.lower < below * r.size())
        plot->yAxis->setRange((level - below * r.upper) / (1.0 - below), r.upper);
}

void SciGraph::Impl::drawAnnotations() {
    for (QCPAbstractItem* item : annotationItems)
        plot->removeItem(item);
    annotationItems.clear();
    labels.clear();
    if (!showAnnotations) return;
    // The operator's x range stays; a level outside the y range shown widens it.
    for (double level : levels())
        keepInView(level, labelRoom(*plot));
    for (size_t i = 0; i < annotations.size(); ++i) {
        const Annotation& a = annotations[i];
        if (a.type != AnnotationLineStart) continue;
        QPen pen(a.color.isValid() ? a.color : QColor(Qt::black), 1);
        if (i + 1 < annotations.size() && annotations[i + 1].type == AnnotationLineEnd) {
            const Annotation& b = annotations[i + 1];
            auto* line = new QCPItemLine(plot);
            line->start->setCoords(a.x, a.y);
            line->end->setCoords(b.x, b.y);
            line->setPen(pen);
            annotationItems.push_back(line);
        }
        if (a.text.isEmpty()) continue;
        auto* text = new QCPItemText(plot);
        text->position->setCoords(a.x, a.y);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        text->setText(a.text);
        text->setColor(pen.color());
        text->setPadding(QMargins(3, 0, 3, 1));
        annotationItems.push_back(text);
        labels.push_back(text);
    }
    roomForLabels();
}

/// Labels that climb above one another at the top need the room of all of them. Widening the
/// range brings the levels closer, so more may climb: each round makes room for one more.
void SciGraph::Impl::roomForLabels() {
    for (size_t round = 0; round <= labels.size(); ++round) {
        const auto over = stackLabels();
        if (!over) break;
        keepInView(over->level, over->roomAbove);
    }
}

/// Labels that would overlap climb above one another, lowest first, so markers at one place
/// and thresholds at close levels stay readable; a label that would run past the plot's right
/// edge stands left of its point. Runs once the plot is laid out, in pixels. Returns the label
/// of a level in view that climbed highest above the plot, if one did.
std::optional<SciGraph::Impl::Overflow> SciGraph::Impl::stackLabels() {
    struct Box {
        QCPItemText* item;
        double left, right, bottom;
    };
    const QFontMetrics metrics(plot->font());
    const int lineHeight = metrics.height();
    const QRect area = plot->axisRect()->rect();
    std::vector<Box> boxes;
    for (QCPItemText* t : labels) {
        const QPointF at = t->position->pixelPosition();
        const double width = metrics.horizontalAdvance(t->text()) + 6.0;
        const bool leftOfPoint = at.x() + width > area.x() + area.width() && at.x() >= area.x() &&
                                 at.x() <= area.x() + area.width();
        t->setPositionAlignment((leftOfPoint ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignBottom);
        const double left = leftOfPoint ? at.x() - width : at.x();
        boxes.push_back({t, left, left + width, at.y() - 1.0});
    }
    std::optional<Overflow> highest;
    double highestTop = area.y();
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](const Box& a, const Box& b) { return a.bottom > b.bottom; });
    for (size_t i = 0; i < boxes.size(); ++i) {
        Box& box = boxes[i];
        for (bool moved = true; moved;) {
            moved = false;
            for (size_t j = 0; j < i; ++j) {
                const Box& below = boxes[j];
                const bool across = box.left < below.right && below.left < box.right;
                if (across && box.bottom > below.bottom - lineHeight &&
                    box.bottom - lineHeight < below.bottom) {
                    box.bottom = below.bottom - lineHeight;
                    moved = true;
                }
            }
        }
        const double at = box.item->position->pixelPosition().y();
        const double climb = at - 1.0 - box.bottom;
        box.item->setPadding(QMargins(3, 0, 3, 1 + (std::isfinite(climb) ? int(climb + 0.5) : 0)));
        const double top = box.bottom - lineHeight;
        if (at >= area.y() && at <= area.y() + area.height() && top < highestTop) {
            highestTop = top;
            highest = Overflow{box.item->position->coords().y(), at - top + 3.0};
        }
    }
    return highest;
}

void SciGraph::Impl::print(QWidget* parent) {
    // Screen resolution: fonts then keep their size against the graph when it is scaled to the
    // page; the output stays vector either way.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (const auto& hook = printHook()) {
        const QString path = hook();
        if (path.isEmpty()) return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    render(printer);
}

void SciGraph::Impl::render(QPrinter& printer) {
    QCPPainter painter;
    if (!painter.begin(&printer)) return;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    // Pens keep their width relative to the graph, not to the printer's dots.
    painter.setMode(QCPPainter::pmNonCosmetic);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // A graph never laid out on screen still prints at a readable size.
    const int w = plot->width() > 50 ? plot->width() : 800;
    const int h = plot->height() > 50 ? plot->height() : 500;
    const double scale = std::min(page.width() / double(w), page.height() / double(h));
    painter.scale(scale, scale);
    plot->toPainter(&painter, w, h);
    painter.end();
}

SciGraph::SciGraph(QWidget* parent) : QWidget(parent), d_(new Impl) {
    const QString tip = QStringLiteral("Double Click for User Options...");
    setToolTip(tip);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QCustomPlot* plot = d_->plot = new QCustomPlot(this);
    plot->setToolTip(tip);
    layout->addWidget(plot);
    plot->setPlottingHint(QCP::phFastPolylines, true);
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    // Titles above the plot; the legend in a column of its own at the right, so that it never
    // covers a curve.
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    d_->title = new QCPTextElement(plot, QString(), titleFont);
    d_->subtitle = new QCPTextElement(plot, QString(), font());
    QCPLayoutGrid* grid = plot->plotLayout();
    grid->insertRow(0);
    grid->addElement(0, 0, d_->title);
    grid->insertRow(1);
    grid->addElement(1, 0, d_->subtitle);
    grid->setRowSpacing(0);

    auto* side = new QCPLayoutGrid;
    grid->addElement(2, 1, side);
    plot->axisRect()->insetLayout()->take(plot->legend);
    side->addElement(0, 0, plot->legend);
    side->addElement(1, 0, new QCPLayoutElement(plot)); // takes the height left under the legend
    side->setRowStretchFactor(0, 0.001);
    side->setMargins(QMargins(0, 5, 5, 5));
    grid->setColumnStretchFactor(1, 0.001);
    QFont legendFont = font();
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
    plot->legend->setFont(legendFont);
    plot->legend->setRowSpacing(0);
    plot->legend->setIconSize(24, 10);
    plot->legend->setVisible(false);
    d_->fitToData();
    connect(plot, &QCustomPlot::afterLayout, this, [this] { d_->stackLabels(); });

    connect(plot, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent* event) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Fit to Data"), this, &SciGraph::fitToData);
        QAction* zoom = menu.addAction(QStringLiteral("Zoom and Pan with the Mouse"));
        zoom->setCheckable(true);
        zoom->setChecked(d_->plot->interactions().testFlag(QCP::iRangeDrag));
        connect(zoom, &QAction::toggled, this, [this](bool on) {
            d_->plot->setInteractions(on ? QCP::iRangeDrag | QCP::iRangeZoom : QCP::Interactions());
        });
        menu.addSeparator();
        menu.addAction(QStringLiteral("Print..."), this, [this] { setAction(8); });
        menu.exec(event->globalPosition().toPoint());
    });
}

SciGraph::~SciGraph() {
    delete d_;
}

void SciGraph::setMainTitle(const QString& text) {
    d_->mainTitle = text;
    d_->title->setText(text);
}
void SciGraph::setSubTitle(const QString& text) {
    d_->subTitle = text;
    d_->subtitle->setText(text);
}
void SciGraph::setXAxisLabel(const QString& text) {
    d_->plot->xAxis->setLabel(text);
}
void SciGraph::setYAxisLabel(const QString& text) {
    d_->plot->yAxis->setLabel(text);
}

void SciGraph::setSubsets(int count) {
    d_->subsets.resize(std::clamp(count, 0, MaxIndex));
}
void SciGraph::setPoints(int count) {
    d_->pointCount = std::clamp(count, 0, MaxIndex);
}
void SciGraph::setXData(int subset, int point, float x) {
    if (Subset* s = d_->subset(subset, point)) {
        s->grow(point);
        s->x[point] = finiteOr0(x);
        s->written[point] |= Subset::HasX;
    }
}
void SciGraph::setYData(int subset, int point, float y) {
    if (Subset* s = d_->subset(subset, point)) {
        s->grow(point);
        s->y[point] = finiteOr0(y);
        s->written[point] |= Subset::HasY;
    }
}
void SciGraph::setSubsetLabel(int subset, const QString& text) {
    if (Subset* s = d_->subset(subset)) s->label = text;
}
void SciGraph::setSubsetColor(int subset, const QColor& color) {
    if (Subset* s = d_->subset(subset)) s->color = color;
}
void SciGraph::setSubsetLineType(int subset, int lineType) {
    if (Subset* s = d_->subset(subset)) s->lineType = lineType;
}

void SciGraph::setShowAnnotations(bool on) {
    d_->showAnnotations = on;
}
void SciGraph::setAnnotationX(int index, double x) {
    if (Annotation* a = d_->annotation(index)) a->x = finiteOr0(x);
}
void SciGraph::setAnnotationY(int index, double y) {
    if (Annotation* a = d_->annotation(index)) a->y = finiteOr0(y);
}
void SciGraph::setAnnotationText(int index, const QString& text) {
    if (Annotation* a = d_->annotation(index)) a->text = text;
}
void SciGraph::setAnnotationType(int index, int type) {
    if (Annotation* a = d_->annotation(index)) a->type = type;
}
void SciGraph::setAnnotationColor(int index, const QColor& color) {
    if (Annotation* a = d_->annotation(index)) a->color = color;
}

void SciGraph::setSetupSwitch(bool) {}
void SciGraph::setSetupColor(int) {}
void SciGraph::setAnalysisSwitch(bool) {}
void SciGraph::setAnalysisOption(int, int) {}
void SciGraph::setAnalysisValue(int, int) {}
void SciGraph::setFinishingFraction(double) {}
void SciGraph::setFinishingOption(int, int) {}
void SciGraph::setAnnotationSetting(int, int) {}

void SciGraph::setAction(int code) {
    switch (code) {
    case 20: // a set-up starts from nothing; titles and annotations are written separately
        for (Subset& s : d_->subsets)
            s = Subset{};
        break;
    case 0:
        d_->showData();
        d_->plot->replot();
        break;
    case 17:
    case 2:
    case 3:
        d_->drawAnnotations();
        d_->plot->replot();
        break;
    case 8:
        d_->print(this);
        break;
    default:
        break;
    }
}

void SciGraph::fitToData() {
    d_->fitToData();
    // A set-up draws the labels afresh, and makes their room then; here they stay as they are.
    d_->roomForLabels();
    d_->plot->replot();
}

int SciGraph::leftTwips() const {
    return static_cast<int>(std::lround(toTwips(x())));
}
int SciGraph::topTwips() const {
    return static_cast<int>(std::lround(toTwips(y())));
}
int SciGraph::widthTwips() const {
    return static_cast<int>(std::lround(toTwips(width())));
}
int SciGraph::heightTwips() const {
    return static_cast<int>(std::lround(toTwips(height())));
}
void SciGraph::setLeftTwips(int t) {
    move(twips(t), y());
}
void SciGraph::setTopTwips(int t) {
    move(x(), twips(t));
}
void SciGraph::setWidthTwips(int t) {
    resize(std::max(0, twips(t)), height());
}
void SciGraph::setHeightTwips(int t) {
    resize(width(), std::max(0, twips(t)));
}

const std::vector<SciGraph::Curve>& SciGraph::curves() const {
    return d_->shown;
}
std::vector<SciGraph::Annotation> SciGraph::annotations() const {
    return d_->annotations;
}
QString SciGraph::mainTitle() const {
    return d_->mainTitle;
}
QString SciGraph::subTitle() const {
    return d_->subTitle;
}
QString SciGraph::xAxisLabel() const {
    return d_->plot->xAxis->label();
}
QString SciGraph::yAxisLabel() const {
    return d_->plot->yAxis->label();
}
QCustomPlot* SciGraph::plot() const {
    return d_->plot;
}

std::function<QString()>& SciGraph::printHook() {
    static std::function<QString()> hook;
    return hook;
}
