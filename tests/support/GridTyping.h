#pragma once

#include <QModelIndex>
#include <QString>

class QAbstractItemView;

namespace testsupport {

// Types text into a grid's cell as a user does: focus, the cell made
// current and opened, its text replaced key by key, left with Tab. False
// when the cell opens no line editor.
bool TypeIntoCell(QAbstractItemView &grid, const QModelIndex &cell, const QString &text);

} // namespace testsupport
