#pragma once

#include "common/EditingGrid.h"

namespace tolven {

// The grid of the main window. Its selection is the simple multi-row kind: a
// click on a row's record selector (the vertical header) selects or deselects
// that row and leaves the other rows as they are; a click on a cell or a key
// only moves the current cell, so that editing never disturbs the selection.
// Shift+Space selects or deselects the current row from the keyboard.
class PositionGrid : public EditingGrid
{
    Q_OBJECT

public:
    explicit PositionGrid(QWidget *parent = nullptr);

signals:
    // F4 on a cell whose column has a button.
    void columnButtonPressed(const QModelIndex &index);

protected:
    // Tab, Shift+Tab and the left and right arrows pass over the cells the
    // user may not edit.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True while a mouse button is down on the record selectors.
    bool m_onRecordSelector = false;
};

} // namespace tolven
