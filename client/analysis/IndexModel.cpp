#include "IndexModel.h"

#include <QLocale>

#include "analysis/AnalysisFormat.h"
#include "output/ExportRows.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

struct IndexColumn
{
    QString caption;
    QString explanation;
};

const IndexColumn &ColumnOf(int column)
{
    static const IndexColumn columns[] = {
        {u"Konkurerber"_s, u"Code des Mitbewerbers"_s},
        {u"Name"_s, u"Name des Mitbewerbers"_s},
        {u"Artikel verglichen"_s,
         u"Artikel, für die am Stichtag ein Preis des Mitbewerbers und ein eigener Preis in derselben"
         u" Preiseinheit vorliegen"_s},
        {u"Anteil unter %"_s, u"Anteil der verglichenen Artikel, die der Mitbewerber billiger anbietet"_s},
        {u"Anteil über %"_s, u"Anteil der verglichenen Artikel, die der Mitbewerber teurer anbietet"_s},
        {u"Median Differenz %"_s,
         u"Mittlere Preisdifferenz: die Hälfte der Artikel liegt darunter, die Hälfte darüber;"
         u" Differenz = (Preis Mitbewerber − eigener Preis) / eigener Preis"_s},
        {u"Mittel Differenz %"_s, u"Durchschnitt der Preisdifferenzen der verglichenen Artikel"_s},
        {u"Index"_s,
         u"Summe der Preise des Mitbewerbers / Summe der eigenen Preise × 100 über die verglichenen Artikel:"
         u" 96 heißt, der Mitbewerber ist bei dem, was beide verkaufen, 4 % billiger"_s},
    };
    return columns[column];
}

} // namespace

IndexModel::IndexModel(QHash<QString, QString> names, QObject *parent)
    : QAbstractTableModel(parent)
    , m_names(std::move(names))
    , m_index()
{
}

void IndexModel::setIndex(QList<CompetitorIndex> index)
{
    beginResetModel();
    m_index = std::move(index);
    endResetModel();
}

int IndexModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_index.size());
}

int IndexModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant IndexModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
    const CompetitorIndex &entry = m_index.at(index.row());
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return column <= Name ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole)
        return ColumnOf(column).explanation;
    if (role != Qt::DisplayRole && role != ValueRole)
        return {};
    const bool display = role == Qt::DisplayRole;
    const bool none = entry.compared == 0;
    const QLocale locale;
    switch (column) {
    case Competitor:
        return entry.competitor;
    case Name:
        return m_names.value(entry.competitor);
    case Compared:
        return entry.compared;
    case BelowShare:
    case AboveShare: {
        const double share = column == BelowShare ? entry.belowShare() : entry.aboveShare();
        if (none)
            return {};
        return display ? QVariant(locale.toString(share, 'f', 1) + u" %") : QVariant(RoundedToTenths(share));
    }
    case Median:
    case Mean: {
        const double percent = column == Median ? entry.medianPercent : entry.meanPercent;
        if (none)
            return {};
        return display ? QVariant(PercentText(percent)) : QVariant(RoundedToTenths(percent));
    }
    case Index:
        if (none)
            return {};
        return display ? QVariant(locale.toString(entry.index, 'f', 1)) : QVariant(RoundedToTenths(entry.index));
    default:
        return {};
    }
}

QVariant IndexModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return ColumnOf(section).caption;
    case Qt::ToolTipRole:
        return ColumnOf(section).explanation;
    case ExportKindRole:
        return int(section <= Name ? ExportKind::Text : ExportKind::Number);
    default:
        return {};
    }
}

} // namespace tolven
