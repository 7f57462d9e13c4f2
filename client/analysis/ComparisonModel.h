#pragma once

#include <QAbstractTableModel>
#include <QHash>

#include "analysis/PriceComparison.h"

namespace tolven {

// The table of "Preisvergleich": Art-Nr, Bezeichnung, the own price, one
// column per competitor, then the cheapest competitor, its price and its
// difference to the own price. Competitors' prices are marked like the grid's.
class ComparisonModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int { Article = 0, Description, OwnPrice, FirstCompetitor };
    // The grid row of the position a cell shows (int), -1 for none.
    static constexpr int GridRowRole = Qt::UserRole + 10;
    // Column 0: whether a competitor undercuts the own price (bool).
    static constexpr int UndercutRole = Qt::UserRole + 11;

    // names: the competitors' names by code, for the column tooltips.
    explicit ComparisonModel(QHash<QString, QString> names, QObject *parent = nullptr);

    void setComparison(PriceComparison comparison);
    const PriceComparison &comparison() const { return m_comparison; }
    // The column of the competitor with the given index.
    int competitorColumn(int competitor) const { return FirstCompetitor + competitor; }
    int cheapestColumn() const { return FirstCompetitor + int(m_comparison.competitors().size()); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant competitorData(const ComparisonRow &row, int rowIndex, int competitor, int role) const;

    QHash<QString, QString> m_names;
    PriceComparison m_comparison;
};

} // namespace tolven
