#pragma once

// The grids of the window. Every grid lets the keyboard out: Tab leaves it after its last
// cell and Shift+Tab before its first, Ctrl+Tab (Ctrl+Shift+Tab) leaves it from any cell,
// also while a cell is typed in. A filter window grid adds the row keys of the filter
// program (Insert, Ctrl+Delete, Shift+Up/Down, Ctrl+F1 for the parameter lookup).

#include "lmfwin/ui/FilterForm.h"

#include <QStringList>
#include <QTableWidget>

namespace lmf {

class TKeyboardGrid : public QTableWidget {
    Q_OBJECT
public:
    TKeyboardGrid(int rows, int columns, QWidget* parent = nullptr);
    using QTableWidget::edit;

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

    // Whether an event was sent to the editor of one of this grid's cells.
    bool IsCellEditor(QObject* watched) const;
    // Writes the text of an open cell editor into its cell and closes the editor.
    void FinishEditing();

private:
    bool AtLastCell() const;
    bool AtFirstCell() const;
    // Moves the focus to the next (previous) control of the window.
    void Leave(bool next);
};

class TFilterGrid : public TKeyboardGrid {
    Q_OBJECT
public:
    // `lookupColumns` are the columns whose Ctrl+F1 opens the parameter lookup.
    TFilterGrid(int columns, QList<int> lookupColumns, QWidget* parent = nullptr);

    // Data rows are counted from 1, as the user sees them (row 0 is the header).
    int DataRows() const { return rowCount(); }
    QString Cell(int dataRow, int column) const;
    void SetCell(int dataRow, int column, const QString& text);
    void SetDataRows(int rows);
    // One data row with empty cells.
    void Clear();

    GridRows Rows() const;
    void SetRows(const GridRows& rows);

    // Column titles and widths; a column is never narrower than its title.
    void SetHeaders(const QStringList& titles, const QList<int>& widths);
    // Its columns side by side and a few rows: the window stays small; more rows scroll.
    QSize sizeHint() const override;

signals:
    void lookupRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SwapRows(int a, int b);
    bool IsRowKey(const QKeyEvent* event) const;

    QList<int> lookupColumns_;
};

} // namespace lmf
