#include "lmfwin/ui/TFilterGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

namespace lmf {

namespace {

bool IsTabKey(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
}

} // namespace

TKeyboardGrid::TKeyboardGrid(int rows, int columns, QWidget* parent) : QTableWidget(rows, columns, parent) {}

bool TKeyboardGrid::AtLastCell() const
{
    const QModelIndex index = currentIndex();
    return !index.isValid() || (index.row() == rowCount() - 1 && index.column() == columnCount() - 1);
}

bool TKeyboardGrid::AtFirstCell() const
{
    const QModelIndex index = currentIndex();
    return !index.isValid() || (index.row() == 0 && index.column() == 0);
}

void TKeyboardGrid::Leave(bool next)
{
    // The window's focus chain, not the cell cursor.
    QWidget::focusNextPrevChild(next);
}

bool TKeyboardGrid::focusNextPrevChild(bool next)
{
    if (next ? AtLastCell() : AtFirstCell())
        return QWidget::focusNextPrevChild(next);
    return QTableWidget::focusNextPrevChild(next);
}

void TKeyboardGrid::keyPressEvent(QKeyEvent* event)
{
    if (IsTabKey(event) && (event->modifiers() & Qt::ControlModifier)) {
        const bool back = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        Leave(!back);
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TKeyboardGrid::IsCellEditor(QObject* watched) const
{
    return watched->isWidgetType() && viewport()->isAncestorOf(static_cast<QWidget*>(watched));
}

void TKeyboardGrid::FinishEditing()
{
    const QModelIndex index = currentIndex();
    QWidget* editor = index.isValid() ? indexWidget(index) : nullptr;
    if (!editor)
        return;
    emit itemDelegate()->commitData(editor);
    emit itemDelegate()->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TKeyboardGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableWidget::edit(index, trigger, event))
        return false;
    // The grid sees the editor's keys first (Ctrl+Tab, and the row keys of a filter grid).
    if (QWidget* editor = indexWidget(index))
        editor->installEventFilter(this);
    return true;
}

bool TKeyboardGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (IsCellEditor(watched) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsTabKey(key) && (key->modifiers() & Qt::ControlModifier)) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            FinishEditing();
            setFocus();
            keyPressEvent(key);
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void TKeyboardGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Tab in the editor of the last cell (Shift+Tab in the first) leaves the grid instead of
    // starting over at its other end.
    const bool leaveNext = hint == QAbstractItemDelegate::EditNextItem && AtLastCell();
    const bool leaveBack = hint == QAbstractItemDelegate::EditPreviousItem && AtFirstCell();
    if (!leaveNext && !leaveBack) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    Leave(leaveNext);
}

TFilterGrid::TFilterGrid(int columns, QList<int> lookupColumns, QWidget* parent)
    : TKeyboardGrid(1, columns, parent), lookupColumns_(std::move(lookupColumns))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setMinimumWidth(22);
    horizontalHeader()->setHighlightSections(false);
    setCurrentCell(0, 0);
}

QString TFilterGrid::Cell(int dataRow, int column) const
{
    const QTableWidgetItem* cell = item(dataRow - 1, column);
    return cell ? cell->text() : QString();
}

void TFilterGrid::SetCell(int dataRow, int column, const QString& text)
{
    if (dataRow < 1 || dataRow > rowCount() || column < 0 || column >= columnCount())
        return;
    QTableWidgetItem* cell = item(dataRow - 1, column);
    if (cell)
        cell->setText(text);
    else
        setItem(dataRow - 1, column, new QTableWidgetItem(text));
}

void TFilterGrid::SetDataRows(int rows)
{
    setRowCount(std::max(rows, 1));
}

void TFilterGrid::Clear()
{
    clearContents();
    setRowCount(1);
    setCurrentCell(0, std::max(currentColumn(), 0));
}

GridRows TFilterGrid::Rows() const
{
    GridRows rows;
    for (int r = 1; r <= rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c)
            cells << Cell(r, c);
        rows.push_back(cells);
    }
    return rows;
}

void TFilterGrid::SetRows(const GridRows& rows)
{
    Clear();
    SetDataRows(int(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            SetCell(int(r) + 1, c, rows[r][c]);
}

void TFilterGrid::SetHeaders(const QStringList& titles, const QList<int>& widths)
{
    setHorizontalHeaderLabels(titles);
    const QFontMetrics metrics(horizontalHeader()->font());
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 6;
    int total = 0;
    for (int c = 0; c < columnCount(); ++c) {
        const int wanted = c < widths.size() ? widths[c] : columnWidth(c);
        const int title = c < titles.size() ? metrics.horizontalAdvance(titles[c]) + margin : 0;
        setColumnWidth(c, std::max(wanted, title));
        total += columnWidth(c);
    }
    // Room for every column beside the row numbers, without a horizontal scroll bar.
    setMinimumWidth(std::max(minimumWidth(), total + verticalHeader()->sizeHint().width() + 2 * frameWidth() +
                                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2));
}

QSize TFilterGrid::sizeHint() const
{
    const int rows = 4;
    return {minimumWidth(), horizontalHeader()->sizeHint().height() +
                                rows * verticalHeader()->defaultSectionSize() + 2 * frameWidth() + 2};
}

void TFilterGrid::SwapRows(int a, int b)
{
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* first = takeItem(a, c);
        QTableWidgetItem* second = takeItem(b, c);
        setItem(a, c, second);
        setItem(b, c, first);
    }
}

bool TFilterGrid::IsRowKey(const QKeyEvent* event) const
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_F1:
    case Qt::Key_Delete:
        return mods == Qt::ControlModifier;
    case Qt::Key_Insert:
        return mods == Qt::NoModifier;
    case Qt::Key_Up:
    case Qt::Key_Down:
        return mods == Qt::ShiftModifier;
    default:
        return false;
    }
}

bool TFilterGrid::eventFilter(QObject* watched, QEvent* event)
{
    // The row keys reach the grid even while a cell is typed in (the editor would take
    // Ctrl+Delete for itself, and its text would stay behind in the old row).
    if (IsCellEditor(watched)) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
            IsRowKey(static_cast<QKeyEvent*>(event))) {
            if (type == QEvent::ShortcutOverride) {
                event->accept(); // ours, not a shortcut of the editor
                return true;
            }
            FinishEditing();
            setFocus();
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return TKeyboardGrid::eventFilter(watched, event);
}

void TFilterGrid::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int row = currentRow();
    const int column = std::max(currentColumn(), 0);

    if (event->key() == Qt::Key_F1 && mods == Qt::ControlModifier) {
        // Consumed in every column, so no help request follows the key.
        if (lookupColumns_.contains(column))
            emit lookupRequested();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
        insertRow(std::max(row, 0));
        setCurrentCell(std::max(row, 0), column);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Delete && mods == Qt::ControlModifier) {
        if (rowCount() > 1 && row >= 0) {
            removeRow(row);
            setCurrentCell(std::min(row, rowCount() - 1), column);
        } else {
            clearContents();
            setCurrentCell(0, column);
        }
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && mods == Qt::ShiftModifier) {
        // The focused cell stays where it is; only the rows' contents change places.
        const int other = event->key() == Qt::Key_Up ? row - 1 : row + 1;
        if (row >= 0 && other >= 0 && other < rowCount()) {
            SwapRows(row, other);
            setCurrentCell(row, column);
        }
        event->accept();
        return;
    }
    TKeyboardGrid::keyPressEvent(event);
}

} // namespace lmf
