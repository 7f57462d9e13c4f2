#include "GridTyping.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

namespace testsupport {

bool TypeIntoCell(QAbstractItemView &grid, const QModelIndex &cell, const QString &text)
{
    grid.setFocus();
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(cell));
    if (!editor)
        return false;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Tab);
    return true;
}

} // namespace testsupport
