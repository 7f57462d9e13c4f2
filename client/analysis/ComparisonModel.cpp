#include "ComparisonModel.h"

#include "analysis/AnalysisFormat.h"
#include "analysis/MarkLook.h"

using namespace Qt::StringLiterals;

namespace tolven {

ComparisonModel::ComparisonModel(QHash<QString, QString> names, QObject *parent)
    : QAbstractTableModel(parent)
    , m_names(std::move(names))
    , m_comparison()
{
}

void ComparisonModel::setComparison(PriceComparison comparison)
{
    beginResetModel();
    m_comparison = std::move(comparison);
    endResetModel();
}

int ComparisonModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_comparison.rows().size());
}

int ComparisonModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cheapestColumn() + 3;
}

QVariant ComparisonModel::competitorData(const ComparisonRow &row, int rowIndex, int competitor, int role) const
{
    const PricePosition *position = m_comparison.chosen(rowIndex, competitor);
    if (!position)
        return role == GridRowRole ? QVariant(-1) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return PriceText(*position->price);
    case ValueRole:
        return *position->price;
    case GridRowRole:
        return position->row;
    case Qt::ToolTipRole: {
        QString text = u"Preistyp " + position->priceType + u", Menge ab "
            + QLocale().toString(position->quantity, 'g', QLocale::FloatingPointShortest);
        if (const QString mark = row.marks.at(competitor).text(); !mark.isEmpty())
            text += u"\n" + mark;
        return text;
    }
    default:
        return MarkLook(row.marks.at(competitor), role);
    }
}

QVariant ComparisonModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
    const ComparisonRow &row = m_comparison.rows().at(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return column <= Description ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                     : int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == UndercutRole)
        return row.undercut();
    if (column == Article || column == Description) {
        if (role != Qt::DisplayRole && role != ValueRole)
            return {};
        return column == Article ? row.article : row.description;
    }
    if (column == OwnPrice) {
        if (!row.ownPrice)
            return {};
        if (role == Qt::DisplayRole)
            return PriceText(*row.ownPrice);
        if (role == ValueRole)
            return *row.ownPrice;
        if (role == Qt::ToolTipRole)
            return QString(u"Eigener Preis incl. bei Menge ab "_s
                           + QLocale().toString(row.ownQuantity, 'g', QLocale::FloatingPointShortest));
        return {};
    }
    const int competitors = int(m_comparison.competitors().size());
    if (column >= FirstCompetitor && column < FirstCompetitor + competitors)
        return competitorData(row, index.row(), column - FirstCompetitor, role);
    if (role == GridRowRole)
        return row.cheapest < 0 ? -1 : m_comparison.chosen(index.row(), row.cheapest)->row;
    if (row.cheapest < 0)
        return {};
    const PriceMark &mark = row.marks.at(row.cheapest);
    const QString &code = m_comparison.competitors().at(row.cheapest);
    switch (column - cheapestColumn()) {
    case 0:
        if (role == Qt::DisplayRole || role == ValueRole)
            return code;
        if (role == Qt::ToolTipRole)
            return m_names.value(code);
        return {};
    case 1:
        return competitorData(row, index.row(), row.cheapest, role);
    default:
        if (role == Qt::DisplayRole)
            return PercentText(mark.percent);
        if (role == ValueRole)
            return RoundedToTenths(mark.percent);
        return MarkLook(mark, role);
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const int competitors = int(m_comparison.competitors().size());
    const bool competitor = section >= FirstCompetitor && section < FirstCompetitor + competitors;
    if (role == ExportKindRole) {
        if (section <= Description || section == cheapestColumn())
            return int(ExportKind::Text);
        return int(section == cheapestColumn() + 2 ? ExportKind::Number : ExportKind::Price);
    }
    if (role == Qt::ToolTipRole) {
        if (competitor) {
            const QString &code = m_comparison.competitors().at(section - FirstCompetitor);
            return QString(m_names.value(code, code)
                           + u": Preis incl. am Stichtag (der zuletzt begonnene gültige Preis"
                             u" zur kleinsten Menge ab, von mehreren Preistypen der niedrigste)");
        }
        if (section == OwnPrice)
            return u"Eigener Preis incl. zur kleinsten Menge ab der verglichenen Preise"_s;
        if (section == cheapestColumn() + 2)
            return u"(Preis des günstigsten Mitbewerbers − eigener Preis) / eigener Preis"_s;
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    if (competitor)
        return m_comparison.competitors().at(section - FirstCompetitor);
    switch (section) {
    case Article:
        return u"Art-Nr"_s;
    case Description:
        return u"Bezeichnung"_s;
    case OwnPrice:
        return u"eigener Preis incl."_s;
    default:
        break;
    }
    switch (section - cheapestColumn()) {
    case 0:
        return u"günstigster Mitbewerber"_s;
    case 1:
        return u"Preis"_s;
    default:
        return u"Differenz %"_s;
    }
}

} // namespace tolven
