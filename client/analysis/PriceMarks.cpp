#include "PriceMarks.h"

#include <QAbstractItemModel>
#include <QLocale>

#include "analysis/MarkLook.h"

using namespace Qt::StringLiterals;

namespace tolven {

PriceMarks::PriceMarks(const QAbstractItemModel &model, int column, Source source, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_column(column)
    , m_source(std::move(source))
    , m_entries()
{
    connect(&model, &QAbstractItemModel::modelReset, this, &PriceMarks::refresh);
    connect(&model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                remake(topLeft.row(), bottomRight.row());
            });
    connect(&model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { insert(first, last); });
    connect(&model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { remove(first, last); });
    connect(&model, &QAbstractItemModel::layoutChanged, this, &PriceMarks::refresh);
    connect(&model, &QAbstractItemModel::rowsMoved, this, &PriceMarks::refresh);
    refresh();
}

PriceMarks::Entry PriceMarks::entryOf(int row) const
{
    const PriceMark mark = m_source(row);
    return {mark.relation, float(mark.percent)};
}

void PriceMarks::count(const Entry &entry, int sign)
{
    if (entry.relation == PriceRelation::Below)
        m_below += sign;
    else if (entry.relation == PriceRelation::Above)
        m_above += sign;
}

void PriceMarks::refresh()
{
    const int rows = m_model.rowCount();
    m_entries.resize(rows);
    m_below = 0;
    m_above = 0;
    for (int row = 0; row < rows; ++row) {
        m_entries[row] = entryOf(row);
        count(m_entries.at(row), 1);
    }
    emit countsChanged();
}

void PriceMarks::remake(int first, int last)
{
    const int below = m_below;
    const int above = m_above;
    for (int row = first; row <= last && row < m_entries.size(); ++row) {
        count(m_entries.at(row), -1);
        m_entries[row] = entryOf(row);
        count(m_entries.at(row), 1);
    }
    if (m_below != below || m_above != above)
        emit countsChanged();
}

void PriceMarks::insert(int first, int last)
{
    m_entries.insert(first, last - first + 1, Entry());
    remake(first, last);
}

void PriceMarks::remove(int first, int last)
{
    for (int row = first; row <= last; ++row)
        count(m_entries.at(row), -1);
    m_entries.remove(first, last - first + 1);
    emit countsChanged();
}

PriceMark PriceMarks::mark(int row) const
{
    // The units of a price not compared are not kept per row: asked anew.
    const Entry &entry = m_entries.at(row);
    if (entry.relation == PriceRelation::OtherUnit)
        return m_source(row);
    PriceMark mark;
    mark.relation = entry.relation;
    mark.percent = entry.percent;
    return mark;
}

QVariant PriceMarks::look(int row, int column, int role) const
{
    if (column != m_column || row < 0 || row >= m_entries.size())
        return {};
    if (role != Qt::BackgroundRole && role != Qt::FontRole && role != Qt::ToolTipRole)
        return {};
    return MarkLook(mark(row), role);
}

QString PriceMarks::countText() const
{
    const QLocale locale;
    return locale.toString(m_below) + u" unter, " + locale.toString(m_above) + u" über eigenem Preis";
}

} // namespace tolven
