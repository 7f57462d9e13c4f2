#include "PositionGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>

namespace tolven {

PositionGrid::PositionGrid(QWidget *parent)
    : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The column captions select nothing.
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->viewport()->installEventFilter(this);
}

QItemSelectionModel::SelectionFlags PositionGrid::selectionCommand(const QModelIndex &index,
                                                                   const QEvent *event) const
{
    // The record selector's click reaches the selection through selectRow(),
    // which asks here without an event: in multi-selection that toggles the row.
    if (m_onRecordSelector)
        return QTableView::selectionCommand(index, event);
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
    QTableView::keyPressEvent(event);
}

bool PositionGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == verticalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_onRecordSelector = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_onRecordSelector = false;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace tolven
