#include "MasterListModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

MasterListModel::MasterListModel(QList<MasterListColumn> columns, int tableColumns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(std::move(columns))
    , m_tableColumns(tableColumns)
{
}

int MasterListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size()) + 1;
}

int MasterListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant MasterListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const MasterListColumn &column = m_columns.at(index.column());
    const QString text = cell(index.row(), column.tableColumn);
    if (role == Qt::CheckStateRole && column.checkBox)
        return text == u"J" ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return text;
    if (role == Qt::TextAlignmentRole && column.checkBox)
        return int(Qt::AlignCenter);
    return {};
}

QVariant MasterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_columns.size() ? m_columns.at(section).caption : QVariant();
    // The record selectors; the new-row line is marked as in every list
    // that takes new rows at its end.
    return isNewRowLine(section) ? u"*"_s : QString::number(section + 1);
}

Qt::ItemFlags MasterListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return m_columns.at(index.column()).checkBox ? flags | Qt::ItemIsUserCheckable : flags | Qt::ItemIsEditable;
}

bool MasterListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    const MasterListColumn &column = m_columns.at(index.column());
    QString text;
    if (column.checkBox && role == Qt::CheckStateRole)
        text = value.value<Qt::CheckState>() == Qt::Checked ? u"J"_s : u"N"_s;
    else if (!column.checkBox && role == Qt::EditRole)
        text = value.toString();
    else
        return false;
    const int row = index.row();
    // Nothing typed into the new-row line adds nothing.
    if (isNewRowLine(row) && text.isEmpty())
        return true;
    if (m_check && !m_check(index, text))
        return false;
    if (isNewRowLine(row)) {
        beginInsertRows({}, row, row);
        m_rows.append(QStringList());
        m_rows.last().resize(m_tableColumns);
        endInsertRows();
    }
    m_rows[row][column.tableColumn] = text;
    emit dataChanged(index, index);
    return true;
}

bool MasterListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void MasterListModel::setRows(QList<QStringList> rows)
{
    beginResetModel();
    for (QStringList &row : rows)
        row.resize(m_tableColumns);
    m_rows = std::move(rows);
    endResetModel();
}

QString MasterListModel::cell(int row, int tableColumn) const
{
    if (row < 0 || row >= m_rows.size() || tableColumn < 0 || tableColumn >= m_tableColumns)
        return {};
    return m_rows.at(row).at(tableColumn);
}

void MasterListModel::setCell(int row, int tableColumn, const QString &text)
{
    Q_ASSERT(row >= 0 && row < m_rows.size() && tableColumn >= 0 && tableColumn < m_tableColumns);
    m_rows[row][tableColumn] = text;
    for (int column = 0; column < m_columns.size(); ++column) {
        if (m_columns.at(column).tableColumn == tableColumn)
            emit dataChanged(index(row, column), index(row, column));
    }
}

} // namespace tolven
