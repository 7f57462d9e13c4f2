#include "PartnerHitModel.h"

#include "lookup/TolvenSu.h"

using namespace Qt::StringLiterals;

namespace tolven {

PartnerHitModel::PartnerHitModel(const QString &numberHeader, QObject *parent)
    : QAbstractTableModel(parent)
    , m_numberHeader(numberHeader)
{
}

void PartnerHitModel::setHits(const QList<PartnerHit> &hits)
{
    beginResetModel();
    m_hits = hits.first(qMin<qsizetype>(hits.size(), MaxHits));
    endResetModel();
}

const PartnerHit &PartnerHitModel::hit(int row) const
{
    Q_ASSERT(row >= 0 && row < m_hits.size());
    return m_hits.at(row);
}

int PartnerHitModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : hitCount();
}

int PartnerHitModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PartnerHitModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(index.row() < m_hits.size() && index.column() < ColumnCount);
    const PartnerHit &partner = m_hits.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Number:
            return partner.number;
        case ShortName:
            return partner.shortName;
        case Name:
            return partner.name;
        case Postcode:
            return partner.postcode;
        default:
            return partner.street;
        }
    default:
        return HitRowColour(index.row(), role);
    }
}

QVariant PartnerHitModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return m_numberHeader;
    case ShortName:
        return u"K Bezeichnung"_s;
    case Name:
        return u"Name"_s;
    case Postcode:
        return u"PLZ"_s;
    case Street:
        return u"Straße"_s;
    default:
        return {};
    }
}

} // namespace tolven
