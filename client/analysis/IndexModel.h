#pragma once

#include <QAbstractTableModel>
#include <QHash>

#include "analysis/PriceIndex.h"

namespace tolven {

// The table of "Preisindex": one row per competitor.
class IndexModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int { Competitor = 0, Name, Compared, BelowShare, AboveShare, Median, Mean, Index, ColumnCount };

    explicit IndexModel(QHash<QString, QString> names, QObject *parent = nullptr);

    void setIndex(QList<CompetitorIndex> index);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QHash<QString, QString> m_names;
    QList<CompetitorIndex> m_index;
};

} // namespace tolven
