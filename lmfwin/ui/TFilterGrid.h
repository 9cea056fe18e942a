#pragma once

// A filter window grid: a header row and data rows of texts, with the row keys of the
// filter program (Insert, Ctrl+Delete, Shift+Up/Down, Ctrl+F1 for the parameter lookup).

#include "lmfwin/ui/FilterForm.h"

#include <QStringList>
#include <QTableWidget>

namespace lmf {

class TFilterGrid : public QTableWidget {
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

    void SetHeaders(const QStringList& titles, const QList<int>& widths);
    using QTableWidget::edit;

signals:
    void lookupRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SwapRows(int a, int b);
    bool IsRowKey(const QKeyEvent* event) const;
    // Writes the text of an open cell editor into its cell and closes the editor.
    void FinishEditing();

    QList<int> lookupColumns_;
};

} // namespace lmf
