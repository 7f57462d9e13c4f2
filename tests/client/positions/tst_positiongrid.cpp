#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;
using namespace tolven;

// The grid's simple multi-row selection: the record selector (or Shift+Space)
// toggles a row, a click on a cell or a cursor key only moves the current cell.
class TestPositionGrid : public QObject
{
    Q_OBJECT

private slots:
    void recordSelectorsToggleRows();
};

namespace {

QList<int> SelectedRows(const QTableView &grid)
{
    QList<int> rows;
    for (const QModelIndex &index : grid.selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

void TestPositionGrid::recordSelectorsToggleRows()
{
    PositionModel model;
    model.setRows(QList<PositionModel::Row>(4));
    model.setCell(1, PositionColumn::Artnr, u"100001"_s);
    PositionGrid grid;
    grid.setModel(&model);
    grid.resize(600, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QHeaderView *selectors = grid.verticalHeader();
    const auto clickSelector = [&](int row) {
        QTest::mouseClick(selectors->viewport(), Qt::LeftButton, {},
                          QPoint(selectors->width() / 2,
                                 selectors->sectionViewportPosition(row) + selectors->sectionSize(row) / 2));
    };
    const auto clickCell = [&](int row, int column) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(model.index(row, column)).center());
    };

    clickSelector(1);
    clickSelector(3);
    QCOMPARE(SelectedRows(grid), (QList<int>{1, 3}));
    clickSelector(1);
    QCOMPARE(SelectedRows(grid), (QList<int>{3}));

    clickCell(0, PositionColumn::Artnr);
    QCOMPARE(grid.currentIndex(), model.index(0, PositionColumn::Artnr));
    QTest::keyClick(grid.viewport(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid.currentIndex().row(), 1);
    QCOMPARE(SelectedRows(grid), (QList<int>{3}));
    QCOMPARE(grid.selectionModel()->selectedIndexes().size(), PositionColumnCount);

    QTest::keyClick(grid.viewport(), Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(SelectedRows(grid), (QList<int>{1, 3}));
    QVERIFY2(!grid.viewport()->findChild<QLineEdit *>(), "Shift+Space opened the cell's editor");
}

QTEST_MAIN(TestPositionGrid)
#include "tst_positiongrid.moc"
