// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QHash>
#include <QTableView>
#include <QVariant>
#include <QVector>

#include <optional>

/// What a cell holds and what its editor lets the operator type.
struct CellType {
    enum Kind { Text, Integer, Decimal, Button };
    Kind kind = Text;
    double min = 0;
    double max = 0;
    bool allowEmpty = true; ///< an edit may empty the cell (number cells)
    QString caption;        ///< design caption of a button cell
    int decimals = -1;      ///< decimal places a decimal cell shows; -1 shows every digit
    bool readOnly = false;  ///< only code writes the cell

    static CellType integer(int min, int max) {
        return {Integer, double(min), double(max), true, {}, -1};
    }
    static CellType decimal(double min, double max, int decimals = -1) {
        return {Decimal, min, max, true, {}, decimals};
    }
    static CellType button(const QString& caption) { return {Button, 0, 1, true, caption, -1}; }
    static CellType label() { return {Text, 0, 0, true, {}, -1, true}; }
};

/// Where the data cells (columns 1.., rows 1..) keep their values, when not in the grid.
class CellStore {
public:
    virtual ~CellStore() = default;
    virtual QVariant value(int col, int row) const = 0;
    virtual void setValue(int col, int row, const QVariant& value) = 0;
};

class SpreadModel;

/// A spreadsheet grid addressed as the program's windows expect: a current cell for reads and
/// writes from code (column 0 the row headers, row 0 the column headers), an active cell that
/// the operator last edited or clicked, typed cells whose editors keep to their limits, and
/// two events: Change, then ButtonClicked for a click on a button cell. Writes from code
/// raise no event.
class SpreadGrid : public QTableView {
    Q_OBJECT
public:
    SpreadGrid(int maxCols, int maxRows, QWidget* parent = nullptr);
    ~SpreadGrid() override;

    int maxCols() const { return maxCols_; }
    int maxRows() const { return maxRows_; }

    // Design-time set-up.
    void setColumnType(int col, const CellType& type);
    void setRowType(int row, const CellType& type);
    void setCellType(int col, int row, const CellType& type);
    CellType cellType(int col, int row) const;
    /// Width in the grid's character units; column 0 is the row-header column.
    void setColumnWidthChars(int col, double units);
    void setColumnBackground(int col, const QColor& colour);
    /// Keeps the data cells in `store` (not owned) instead of the grid.
    void setStore(CellStore* store);

    // Operations on the current cell.
    void setCol(int col) { col_ = col; }
    void setRow(int row) { row_ = row; }
    int col() const { return col_; }
    int row() const { return row_; }
    /// The cell's content: an int, a float, a string, or an invalid variant when empty.
    QVariant value() const;
    /// The content as text, numbers with "." as decimal separator; empty for an empty cell.
    QString valueText() const;
    /// The content as a number, without a round trip through text; text cells are read as the
    /// operator's typing. Empty when the cell is empty or holds no number.
    std::optional<double> number() const;
    /// Writes an int, float or string. Only the operator's typing is held to the limits.
    void setValue(const QVariant& value);
    QString text() const;
    void setText(const QString& text);
    QString typeButtonText() const;
    void setTypeButtonText(const QString& caption);

    int activeCol() const { return activeCol_; }
    int activeRow() const { return activeRow_; }

    /// Puts the operator on a cell, as a click would (tests and keyboard use).
    void setActiveCell(int col, int row);
    /// The operator types `text` into a cell and confirms it. False when the editor refused.
    bool typeIntoCell(int col, int row, const QString& text);
    /// The operator clicks a button cell.
    void clickButton(int col, int row);

    /// Tells the grid that its store changed behind its back.
    void refresh();

    /// Text form of a float that reads back as the same float, with "." as separator.
    static QString floatText(float value);
    /// Parses a number: the locale's form or the C form, without group separators (so
    /// "12.345" is never twelve thousand). Empty when not a number.
    static std::optional<double> parseNumber(const QString& text);
    /// Parses what the operator typed: as parseNumber, but a text holding the locale's group
    /// separator is no number (in English "1,5" is neither 1.5 nor 15).
    static std::optional<double> parseTyped(const QString& text);
    /// Why a number cell of `type` refuses `text`, with the range it takes; empty when it
    /// takes it.
    static QString refusal(const CellType& type, const QString& text);

signals:
    void Change(int col, int row);
    void ButtonClicked(int col, int row, int buttonDown);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class SpreadModel;
    friend class SpreadDelegate;

    QVariant cellValue(int col, int row) const;
    void storeCell(int col, int row, const QVariant& value);
    QString displayText(int col, int row, bool editing = false) const;
    QString caption(int col, int row) const;
    bool commitEdit(int col, int row, const QString& text);
    void scheduleRepaint();
    static quint32 key(int col, int row) { return (quint32(col) << 16) | quint32(row); }

    int maxCols_;
    int maxRows_;
    int col_ = 1;
    int row_ = 1;
    int activeCol_ = 1;
    int activeRow_ = 1;
    bool repaintPending_ = false;
    bool headersDirty_ = false;
    CellStore* store_ = nullptr;
    QVector<QVariant> cells_; // used when there is no store
    QVector<QString> rowHeaders_;
    QVector<QString> colHeaders_;
    QVector<std::optional<CellType>> colTypes_;
    QVector<std::optional<CellType>> rowTypes_;
    QHash<quint32, CellType> cellTypes_;
    QHash<quint32, QString> captions_;
    QVector<QColor> colBackground_;
    SpreadModel* model_;
};
