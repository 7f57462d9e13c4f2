#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace tolven {

// One hit of the supplier or customer search.
struct PartnerHit
{
    QString number;
    QString shortName;
    QString name;       // display form
    QString postcode;
    QString street;     // display form
};

// The hits of one partner search; the first column's header names the kind
// of partner ("Lieferant.Nr.", "KundenNr.").
class PartnerHitModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, ShortName, Name, Postcode, Street, ColumnCount };
    // A search reads at most this many hits.
    static constexpr int MaxHits = 500;

    PartnerHitModel(const QString &numberHeader, QObject *parent = nullptr);

    void setHits(const QList<PartnerHit> &hits);
    int hitCount() const { return int(m_hits.size()); }
    const PartnerHit &hit(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString m_numberHeader;
    QList<PartnerHit> m_hits;
};

} // namespace tolven
