#include "PositionGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include "positions/PositionDelegate.h"

namespace tolven {

PositionGrid::PositionGrid(QWidget *parent)
    : EditingGrid(parent)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The column captions select nothing.
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->viewport()->installEventFilter(this);
}

QModelIndex PositionGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const bool sideways = cursorAction == MoveNext || cursorAction == MovePrevious || cursorAction == MoveLeft
        || cursorAction == MoveRight;
    if (!sideways || !current.isValid() || !model())
        return EditingGrid::moveCursor(cursorAction, modifiers);

    // Tab goes on into the next row, the arrows stop at the row's end.
    const bool forward = cursorAction == MoveNext || cursorAction == MoveRight;
    const bool wraps = cursorAction == MoveNext || cursorAction == MovePrevious;
    const int columns = model()->columnCount();
    const int rows = model()->rowCount();
    int row = current.row();
    int column = current.column();
    for (int step = 0; step < 2 * columns; ++step) {
        column += forward ? 1 : -1;
        if (column < 0 || column >= columns) {
            if (!wraps)
                return current;
            row += forward ? 1 : -1;
            if (row < 0 || row >= rows)
                return current;
            column = forward ? 0 : columns - 1;
        }
        if (isColumnHidden(column))
            continue;
        const QModelIndex candidate = model()->index(row, column);
        if (candidate.flags() & Qt::ItemIsEditable)
            return candidate;
    }
    return current;
}

QItemSelectionModel::SelectionFlags PositionGrid::selectionCommand(const QModelIndex &index,
                                                                   const QEvent *event) const
{
    // The record selector's click reaches the selection through selectRow(),
    // which asks here without an event: in multi-selection that toggles the row.
    if (m_onRecordSelector)
        return EditingGrid::selectionCommand(index, event);
    return QItemSelectionModel::NoUpdate;
}

void PositionGrid::keyPressEvent(QKeyEvent *event)
{
    // Shift+Space is the record selector's click from the keyboard.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::ShiftModifier && currentIndex().isValid()
        && state() != EditingState) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier && currentIndex().isValid()
        && PositionDelegate::HasColumnButton(currentIndex().column())) {
        emit columnButtonPressed(currentIndex());
        event->accept();
        return;
    }
    EditingGrid::keyPressEvent(event);
}

bool PositionGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == verticalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_onRecordSelector = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_onRecordSelector = false;
    }
    return EditingGrid::eventFilter(watched, event);
}

} // namespace tolven
