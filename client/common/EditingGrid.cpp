#include "EditingGrid.h"

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QTimer>

namespace tolven {

EditingGrid::EditingGrid(QWidget *parent)
    : QTableView(parent)
{
}

void EditingGrid::commitPendingEdit()
{
    if (state() != EditingState)
        return;
    // An open editor is the index widget of its cell.
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void EditingGrid::reopenLater(const QModelIndex &cell, const std::optional<QString> &typed,
                              std::function<void()> first)
{
    m_reopenPending = true;
    const QPersistentModelIndex index(cell);
    QTimer::singleShot(0, this, [this, index, typed, first = std::move(first)] {
        if (first)
            first();
        m_reopenPending = false;
        if (!index.isValid())
            return;
        setCurrentIndex(index);
        setFocus();
        if (!typed)
            return;
        edit(index);
        if (auto *editor = qobject_cast<QLineEdit *>(indexWidget(index))) {
            editor->setText(*typed);
            // Still the user's typing, not the cell's value.
            editor->setModified(true);
        }
    });
}

} // namespace tolven
