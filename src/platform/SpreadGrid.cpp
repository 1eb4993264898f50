// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpreadGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

#include <charconv>
#include <cmath>
#include <limits>

// --- model ------------------------------------------------------------------------------

class SpreadModel : public QAbstractTableModel {
public:
    explicit SpreadModel(SpreadGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_->maxRows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_->maxCols_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column() + 1;
        const int row = index.row() + 1;
        switch (role) {
        case Qt::DisplayRole:
            return grid_->cellType(col, row).kind == CellType::Button
                       ? QVariant()
                       : grid_->displayText(col, row);
        case Qt::EditRole:
            return grid_->displayText(col, row, true);
        case Qt::AccessibleTextRole:
            // A button cell draws its caption itself; a screen reader gets it here.
            return grid_->cellType(col, row).kind == CellType::Button
                       ? grid_->caption(col, row)
                       : grid_->displayText(col, row);
        case Qt::BackgroundRole: {
            const QColor c = grid_->colBackground_.value(col);
            return c.isValid() ? QVariant(c) : QVariant();
        }
        case Qt::TextAlignmentRole: {
            const auto kind = grid_->cellType(col, row).kind;
            return (kind == CellType::Integer || kind == CellType::Decimal)
                       ? int(Qt::AlignRight | Qt::AlignVCenter)
                       : int(Qt::AlignLeft | Qt::AlignVCenter);
        }
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        return orientation == Qt::Horizontal ? grid_->colHeaders_.value(section + 1)
                                             : grid_->rowHeaders_.value(section + 1);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const CellType type = grid_->cellType(index.column() + 1, index.row() + 1);
        if (type.kind != CellType::Button && !type.readOnly) f |= Qt::ItemIsEditable;
        return f;
    }

    void headersChanged() {
        emit headerDataChanged(Qt::Horizontal, 0, grid_->maxCols_ - 1);
        emit headerDataChanged(Qt::Vertical, 0, grid_->maxRows_ - 1);
    }

private:
    SpreadGrid* grid_;
};

// --- editor ------------------------------------------------------------------------------

namespace {

/// Lets the operator type only what the cell can take; a number outside the limits or an
/// empty text where none is allowed stays unconfirmable.
class CellValidator : public QValidator {
public:
    CellValidator(const CellType& type, QObject* parent) : QValidator(parent), type_(type) {}

    State validate(QString& input, int&) const override {
        const QString t = input.trimmed();
        if (t.isEmpty()) return type_.allowEmpty ? Acceptable : Intermediate;
        static const QRegularExpression wholeShape(QStringLiteral("^[+-]?\\d*$"));
        static const QRegularExpression decimalShape(QStringLiteral("^[+-]?\\d*([.,]\\d*)?$"));
        const auto& shape = type_.kind == CellType::Integer ? wholeShape : decimalShape;
        if (!shape.match(t).hasMatch()) return Invalid;
        const auto v = SpreadGrid::parseTyped(t);
        if (!v) return Intermediate;
        return (*v >= type_.min && *v <= type_.max) ? Acceptable : Intermediate;
    }

private:
    CellType type_;
};

bool confirmKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
           key == Qt::Key_Backtab;
}

} // namespace

class SpreadDelegate : public QStyledItemDelegate {
public:
    explicit SpreadDelegate(SpreadGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        const CellType type = grid_->cellType(index.column() + 1, index.row() + 1);
        if (type.kind == CellType::Integer || type.kind == CellType::Decimal)
            edit->setValidator(new CellValidator(type, edit));
        edit->setFrame(false);
        return edit;
    }

    /// Confirming a value the cell refuses: the editor says why and stays open; Esc gives back
    /// the old value.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* edit = qobject_cast<QLineEdit*>(object);
        if (edit && edit->validator() && confirmKey(event) && !edit->hasAcceptableInput()) {
            const QModelIndex index = grid_->currentIndex();
            const QString why = SpreadGrid::refusal(
                grid_->cellType(index.column() + 1, index.row() + 1), edit->text());
            edit->setToolTip(why);
            edit->setAccessibleDescription(why);
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), why, edit);
        }
        // The base keeps an editor whose value is refused open.
        return QStyledItemDelegate::eventFilter(object, event);
    }

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        auto* edit = static_cast<QLineEdit*>(editor);
        if (edit->hasAcceptableInput())
            grid_->commitEdit(index.column() + 1, index.row() + 1, edit->text());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int col = index.column() + 1;
        const int row = index.row() + 1;
        if (grid_->cellType(col, row).kind != CellType::Button) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(1, 1, -1, -1);
        button.text = grid_->caption(col, row);
        button.state =
            QStyle::State_Enabled |
            (grid_->cellValue(col, row).toInt() ? QStyle::State_Sunken : QStyle::State_Raised);
        QApplication::style()->drawControl(QStyle::CE_PushButton, &button, painter);
    }

private:
    SpreadGrid* grid_;
};

// --- grid --------------------------------------------------------------------------------

SpreadGrid::SpreadGrid(int maxCols, int maxRows, QWidget* parent)
    : QTableView(parent), maxCols_(maxCols), maxRows_(maxRows),
      cells_(qsizetype(maxCols) * maxRows), rowHeaders_(maxRows + 1), colHeaders_(maxCols + 1),
      colTypes_(maxCols + 1), rowTypes_(maxRows + 1), colBackground_(maxCols + 1),
      model_(new SpreadModel(this)) {
    for (int c = 1; c <= maxCols; ++c)
        colHeaders_[c] = QString::number(c);
    for (int r = 1; r <= maxRows; ++r)
        rowHeaders_[r] = QString::number(r);
    setModel(model_);
    setItemDelegate(new SpreadDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Fixed sections keep a grid of thousands of rows cheap to lay out and scroll.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid()) return;
                activeCol_ = current.column() + 1;
                activeRow_ = current.row() + 1;
            });
}

SpreadGrid::~SpreadGrid() = default;

void SpreadGrid::setColumnType(int col, const CellType& type) {
    if (col >= 1 && col <= maxCols_) colTypes_[col] = type;
}

void SpreadGrid::setRowType(int row, const CellType& type) {
    if (row >= 1 && row <= maxRows_) rowTypes_[row] = type;
}

void SpreadGrid::setCellType(int col, int row, const CellType& type) {
    cellTypes_.insert(key(col, row), type);
}

CellType SpreadGrid::cellType(int col, int row) const {
    if (auto it = cellTypes_.constFind(key(col, row)); it != cellTypes_.constEnd()) return *it;
    if (row >= 1 && row <= maxRows_ && rowTypes_[row]) return *rowTypes_[row];
    if (col >= 1 && col <= maxCols_ && colTypes_[col]) return *colTypes_[col];
    return {};
}

void SpreadGrid::setColumnWidthChars(int col, double units) {
    const int px = static_cast<int>(std::lround(units * fontMetrics().horizontalAdvance('0'))) + 5;
    if (col == 0)
        verticalHeader()->setFixedWidth(px);
    else if (col <= maxCols_)
        setColumnWidth(col - 1, px);
}

void SpreadGrid::setColumnBackground(int col, const QColor& colour) {
    if (col >= 1 && col <= maxCols_) colBackground_[col] = colour;
}

void SpreadGrid::setStore(CellStore* store) {
    store_ = store;
    cells_.clear();
    cells_.squeeze();
    refresh();
}

QVariant SpreadGrid::cellValue(int col, int row) const {
    if (col < 1 || col > maxCols_ || row < 1 || row > maxRows_) return {};
    if (store_) return store_->value(col, row);
    return cells_[qsizetype(row - 1) * maxCols_ + (col - 1)];
}

void SpreadGrid::storeCell(int col, int row, const QVariant& value) {
    if (col < 1 || col > maxCols_ || row < 1 || row > maxRows_) return;
    if (store_)
        store_->setValue(col, row, value);
    else
        cells_[qsizetype(row - 1) * maxCols_ + (col - 1)] = value;
    scheduleRepaint();
}

QVariant SpreadGrid::value() const {
    if (col_ == 0) return rowHeaders_.value(row_);
    if (row_ == 0) return colHeaders_.value(col_);
    return cellValue(col_, row_);
}

QString SpreadGrid::valueText() const {
    const QVariant v = value();
    if (!v.isValid()) return {};
    if (v.typeId() == QMetaType::Float) return floatText(v.toFloat());
    if (v.typeId() == QMetaType::Double) return floatText(float(v.toDouble()));
    return v.toString();
}

std::optional<double> SpreadGrid::number() const {
    const QVariant v = value();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Float:
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString:
        return parseNumber(v.toString());
    default:
        return std::nullopt;
    }
}

void SpreadGrid::setValue(const QVariant& value) {
    if (col_ == 0 || row_ == 0) {
        setText(value.toString());
        return;
    }
    const CellType type = cellType(col_, row_);
    QVariant stored;
    switch (type.kind) {
    case CellType::Text:
        stored = value.toString();
        break;
    case CellType::Button:
        stored = value.toInt() ? 1 : 0;
        break;
    case CellType::Integer:
    case CellType::Decimal: {
        if (!value.isValid() ||
            (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            break; // an empty cell
        bool ok = true;
        double v = value.typeId() == QMetaType::QString
                       ? parseNumber(value.toString()).value_or(std::nan(""))
                       : value.toDouble(&ok);
        if (!ok || std::isnan(v)) break;
        // A number the cell's type cannot hold leaves it empty, as text that is no number does.
        if (type.kind == CellType::Integer) {
            const double whole = std::nearbyint(v);
            if (!(whole >= std::numeric_limits<int>::min() &&
                  whole <= std::numeric_limits<int>::max()))
                break;
            stored = int(whole);
        } else {
            if (std::abs(v) > std::numeric_limits<float>::max()) break;
            stored = float(v);
        }
        break;
    }
    }
    storeCell(col_, row_, stored);
}

QString SpreadGrid::text() const {
    if (col_ == 0 || row_ == 0) return value().toString();
    return displayText(col_, row_);
}

void SpreadGrid::setText(const QString& text) {
    if (col_ == 0 && row_ >= 1 && row_ <= maxRows_)
        rowHeaders_[row_] = text;
    else if (row_ == 0 && col_ >= 1 && col_ <= maxCols_)
        colHeaders_[col_] = text;
    else if (col_ == 0 || row_ == 0)
        return;
    else {
        setValue(text);
        return;
    }
    headersDirty_ = true;
    scheduleRepaint();
}

QString SpreadGrid::caption(int col, int row) const {
    if (auto it = captions_.constFind(key(col, row)); it != captions_.constEnd()) return *it;
    return cellType(col, row).caption;
}

QString SpreadGrid::typeButtonText() const {
    return caption(col_, row_);
}

void SpreadGrid::setTypeButtonText(const QString& text) {
    captions_.insert(key(col_, row_), text);
    scheduleRepaint();
}

QString SpreadGrid::displayText(int col, int row, bool editing) const {
    const QVariant v = cellValue(col, row);
    if (!v.isValid()) return {};
    if (v.typeId() == QMetaType::Float || v.typeId() == QMetaType::Double) {
        const int decimals = cellType(col, row).decimals;
        // The operator's locale of the moment, the one their typing is parsed with.
        const QLocale here;
        if (!editing && decimals >= 0) return here.toString(v.toDouble(), 'f', decimals);
        QString s = floatText(v.toFloat());
        return s.replace(QLatin1Char('.'), here.decimalPoint());
    }
    return v.toString();
}

bool SpreadGrid::commitEdit(int col, int row, const QString& text) {
    const CellType type = cellType(col, row);
    QVariant stored;
    const QString t = text.trimmed();
    if (type.readOnly || type.kind == CellType::Button) {
        return false;
    } else if (type.kind == CellType::Text) {
        stored = text;
    } else if (t.isEmpty()) {
        if (!type.allowEmpty) return false;
    } else {
        const auto v = parseTyped(t);
        if (!v || *v < type.min || *v > type.max) return false;
        if (type.kind == CellType::Integer) {
            if (*v != std::floor(*v)) return false;
            stored = int(*v);
        } else {
            stored = float(*v);
        }
    }
    activeCol_ = col;
    activeRow_ = row;
    if (cellValue(col, row) == stored && cellValue(col, row).isValid() == stored.isValid())
        return true;
    storeCell(col, row, stored);
    emit Change(col, row);
    return true;
}

void SpreadGrid::setActiveCell(int col, int row) {
    setCurrentIndex(model_->index(row - 1, col - 1));
    activeCol_ = col;
    activeRow_ = row;
}

bool SpreadGrid::typeIntoCell(int col, int row, const QString& text) {
    setActiveCell(col, row);
    const CellType type = cellType(col, row);
    if (type.kind == CellType::Button) return false;
    if (type.kind != CellType::Text) {
        QString input = text;
        int pos = 0;
        if (CellValidator(type, nullptr).validate(input, pos) != QValidator::Acceptable)
            return false;
    }
    return commitEdit(col, row, text);
}

void SpreadGrid::clickButton(int col, int row) {
    if (cellType(col, row).kind != CellType::Button) return;
    setActiveCell(col, row);
    const int down = cellValue(col, row).toInt() ? 0 : 1;
    storeCell(col, row, down);
    // The change comes first, while the caption still shows the old state.
    emit Change(col, row);
    emit ButtonClicked(col, row, down);
}

void SpreadGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() &&
        cellType(index.column() + 1, index.row() + 1).kind == CellType::Button) {
        clickButton(index.column() + 1, index.row() + 1);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void SpreadGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex index = currentIndex();
    if (event->key() == Qt::Key_Space && index.isValid() &&
        cellType(index.column() + 1, index.row() + 1).kind == CellType::Button) {
        clickButton(index.column() + 1, index.row() + 1);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void SpreadGrid::refresh() {
    scheduleRepaint();
}

void SpreadGrid::scheduleRepaint() {
    // Code writes cells by the thousand inside loops; one repaint afterwards serves them all.
    if (repaintPending_) return;
    repaintPending_ = true;
    QTimer::singleShot(0, this, [this] {
        repaintPending_ = false;
        if (headersDirty_) model_->headersChanged();
        headersDirty_ = false;
        viewport()->update();
    });
}

QString SpreadGrid::floatText(float value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, res.ptr - buf);
}

std::optional<double> SpreadGrid::parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    QLocale here;
    here.setNumberOptions(QLocale::RejectGroupSeparator);
    double v = here.toDouble(t, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        v = c.toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> SpreadGrid::parseTyped(const QString& text) {
    const QLocale here;
    if (here.groupSeparator() != here.decimalPoint() && text.contains(here.groupSeparator()))
        return std::nullopt;
    return parseNumber(text);
}

QString SpreadGrid::refusal(const CellType& type, const QString& text) {
    if (type.kind != CellType::Integer && type.kind != CellType::Decimal) return {};
    QString input = text;
    int pos = 0;
    if (CellValidator(type, nullptr).validate(input, pos) == QValidator::Acceptable) return {};
    const QLocale here;
    const int decimals = type.decimals >= 0 ? type.decimals : QLocale::FloatingPointShortest;
    const auto bound = [&](double v) {
        return type.kind == CellType::Integer ? here.toString(qlonglong(v))
                                              : here.toString(v, 'f', decimals);
    };
    return (type.kind == CellType::Integer ? QStringLiteral("Type a whole number from %1 to %2")
                                           : QStringLiteral("Type a number from %1 to %2"))
               .arg(bound(type.min), bound(type.max)) +
           QStringLiteral(", or press Esc to keep the old value.");
}
