#include "LookupTable.h"

#include <utility>

namespace tolven {

LookupTable::LookupTable(const QStringList &captions, int hiddenColumns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_captions(captions)
    , m_hiddenColumns(hiddenColumns)
    , m_rows()
    , m_rowOfCode()
{
    Q_ASSERT(!m_captions.isEmpty());
}

int LookupTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int LookupTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_captions.size());
}

QVariant LookupTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
    Q_ASSERT(index.row() < m_rows.size() && index.column() < m_captions.size());
    return m_rows.at(index.row()).at(index.column());
}

QVariant LookupTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_captions.size())
        return {};
    return m_captions.at(section);
}

Qt::ItemFlags LookupTable::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

void LookupTable::setRows(QList<QStringList> rows)
{
    QHash<QString, int> rowOfCode;
    rowOfCode.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        QStringList &cells = rows[i];
        cells.resize(m_captions.size() + m_hiddenColumns);
        // A code listed twice finds its first row, the one the user sees first.
        if (!rowOfCode.contains(cells.first()))
            rowOfCode.insert(cells.first(), i);
    }

    beginResetModel();
    m_rows = std::move(rows);
    m_rowOfCode = std::move(rowOfCode);
    endResetModel();
}

void LookupTable::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rowOfCode.clear();
    endResetModel();
}

QStringList LookupTable::captions() const
{
    return m_captions;
}

QStringList LookupTable::codes() const
{
    QStringList result;
    result.reserve(m_rows.size());
    for (const QStringList &cells : m_rows)
        result.append(cells.first());
    return result;
}

QString LookupTable::text(int row, int column) const
{
    Q_ASSERT(row >= 0 && row < m_rows.size() && column >= 0 && column < m_captions.size() + m_hiddenColumns);
    return m_rows.at(row).at(column);
}

int LookupTable::findCode(const QString &code) const
{
    return m_rowOfCode.value(code, -1);
}

QString LookupTable::nameOf(const QString &code) const
{
    const int row = findCode(code);
    if (row < 0 || m_captions.size() < 2)
        return {};
    return m_rows.at(row).at(1);
}

} // namespace tolven
