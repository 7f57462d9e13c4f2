#pragma once

#include <QDialog>
#include <QHash>

#include "analysis/PricePosition.h"

class QCheckBox;
class QDateEdit;
class QTabWidget;
class QTableView;

namespace tolven {

class ComparisonModel;
class IndexModel;
class UndercutFilter;

// "Preisvergleich": the positions the grid holds, one row per article with
// each competitor's price valid on the chosen day, and on its second tab
// "Preisindex" the figures per competitor. A double click on a competitor's
// price makes that position the grid's current row and closes the dialog.
class PriceComparisonDialog : public QDialog
{
    Q_OBJECT

public:
    // names: the competitors' names by code.
    PriceComparisonDialog(PricePositions positions, QHash<QString, QString> names, const QDate &day,
                          QWidget *parent = nullptr);

    // The grid row chosen by a double click; -1 when none was.
    int chosenRow() const { return m_chosenRow; }

    QTableView &comparisonView() const { return *m_comparisonView; }
    QTableView &indexView() const { return *m_indexView; }

private:
    void compare();
    void chooseCell(const QModelIndex &index);
    QTableView &currentView() const;
    void exportXlsx();
    void print();

    PricePositions m_positions;
    QDateEdit *m_day;
    QCheckBox *m_onlyUndercut;
    QTabWidget *m_tabs;
    ComparisonModel *m_comparison;
    UndercutFilter *m_filter;
    QTableView *m_comparisonView;
    IndexModel *m_index;
    QTableView *m_indexView;
    int m_chosenRow = -1;
};

} // namespace tolven
