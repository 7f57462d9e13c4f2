#include "PositionModel.h"

#include <QDate>
#include <QLocale>

#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "common/CellNumber.h"
#include "common/DisplayFormat.h"
#include "positions/KeyFigures.h"
#include "positions/PositionColumns.h"

namespace tolven {

namespace {

// Compares type too: QVariant holds 1 and 1.0 equal, but the cell's type
// decides how the grid shows it.
bool SameValue(const QVariant &stored, const QVariant &value)
{
    return stored.typeId() == value.typeId() && stored == value;
}

// The first and last column whose cell in cells differs from row's; -1 for
// both when none does. With givenOnly, cells without a value count as unchanged.
std::pair<int, int> changedColumns(const PackedRow &row, const PackedRow::Cells &cells, bool givenOnly)
{
    int first = -1;
    int last = -1;
    for (int column = 0; column < PositionColumnCount; ++column) {
        if ((!givenOnly || cells[column].isValid()) && !SameValue(row.cell(column), cells[column])) {
            if (first < 0)
                first = column;
            last = column;
        }
    }
    return {first, last};
}

// Rows from which clearing the array gives its memory back to the system.
constexpr qsizetype LargeArrayRows = 20000;

// The rows' memory is many small blocks that the allocator would otherwise
// keep, so that the next search's rows came on top of them.
void ReleaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

PositionModel::PositionModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows()
    , m_readOnlyColumns()
{
}

int PositionModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PositionModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PositionColumnCount;
}

QVariant PositionModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));

    switch (role) {
    case Qt::DisplayRole: {
        const QVariant value = m_rows.at(index.row()).cell(index.column());
        switch (index.column()) {
        case PositionColumn::MengeAb:
        case PositionColumn::PreisExcl:
        case PositionColumn::PreisKalk:
            return DisplayNumberCell(value, NumberPattern::FourPlaces);
        case PositionColumn::IntPreis:
        case PositionColumn::PreisIncl:
            return DisplayNumberCell(value, NumberPattern::TwoPlaces);
        default:
            break;
        }
        // Dates are kept as QDate so that the window can compute with them;
        // the grid shows them the way the user types them.
        if (value.typeId() == QMetaType::QDate)
            return DisplayDate(value.toDate());
        // Any other number as text in the user's notation, so that the grid
        // and the print read alike.
        if (IsNumberCell(value))
            return QLocale().toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        return value;
    }
    case Qt::EditRole:
        return m_rows.at(index.row()).cell(index.column());
    case Qt::TextAlignmentRole:
        return static_cast<int>(ColumnInfo(index.column()).alignment | Qt::AlignVCenter);
    default:
        return m_cellLook ? m_cellLook(index.row(), index.column(), role) : QVariant();
    }
}

QVariant PositionModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= PositionColumnCount)
            return {};
        if (role == Qt::DisplayRole)
            return ColumnInfo(section).caption;
        return {};
    }
    if (role == Qt::DisplayRole && section >= 0 && section < m_rows.size())
        return section + 1;
    return {};
}

bool PositionModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
    if (!isEditable(index.row(), index.column()))
        return false;
    if (m_editHandler)
        return m_editHandler(index.row(), index.column(), value);
    setCell(index.row(), index.column(), value);
    return true;
}

Qt::ItemFlags PositionModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (isEditable(index.row(), index.column()))
        result |= Qt::ItemIsEditable;
    return result;
}

bool PositionModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1 || count > MaxRows - m_rows.size())
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_rows.insert(row, count, PackedRow());
    endInsertRows();
    return true;
}

bool PositionModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || count > m_rows.size() - row)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void PositionModel::clear()
{
    const bool large = m_rows.size() >= LargeArrayRows;
    beginResetModel();
    m_rows = QList<PackedRow>();
    endResetModel();
    if (large)
        ReleaseFreedMemory();
}

void PositionModel::setRows(const QList<Row> &rows)
{
    QList<PackedRow> packed;
    packed.reserve(qMin(rows.size(), qsizetype(MaxRows)));
    for (const Row &cells : rows) {
        if (packed.size() == MaxRows)
            break;
        packed << PackedRow::fromList(cells);
    }
    setPackedRows(std::move(packed));
}

void PositionModel::setPackedRows(QList<PackedRow> rows)
{
    if (rows.size() > MaxRows)
        rows.resize(MaxRows);
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

bool PositionModel::appendPackedRows(const QList<PackedRow> &rows)
{
    if (m_rows.size() + rows.size() > MaxRows)
        return false;
    if (rows.isEmpty())
        return true;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
    return true;
}

int PositionModel::appendRow(const Row &cells)
{
    if (m_rows.size() >= MaxRows)
        return -1;
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(PackedRow::fromList(cells));
    endInsertRows();
    return row;
}

const PackedRow &PositionModel::packedRow(int row) const
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    return m_rows.at(row);
}

PositionModel::Row PositionModel::row(int row) const
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    return m_rows.at(row).toList();
}

QVariant PositionModel::cell(int row, int column) const
{
    Q_ASSERT(isCell(row, column));
    return m_rows.at(row).cell(column);
}

void PositionModel::setCell(int row, int column, const QVariant &value)
{
    Q_ASSERT(isCell(row, column));
    if (SameValue(m_rows.at(row).cell(column), value))
        return;
    m_rows[row] = m_rows.at(row).withCell(column, value);
    const QModelIndex changed = index(row, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

PackedRow::Cells PositionModel::cells(int row) const
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    PackedRow::Cells all;
    for (int column = 0; column < PositionColumnCount; ++column)
        all[column] = m_rows.at(row).cell(column);
    return all;
}

void PositionModel::setCells(int row, const PackedRow::Cells &cells)
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    const auto [first, last] = changedColumns(m_rows.at(row), cells, false);
    if (first < 0)
        return;
    const qint64 version = m_rows.at(row).version();
    m_rows[row] = PackedRow(cells);
    m_rows[row].setVersion(version);
    emit dataChanged(index(row, first), index(row, last), {Qt::DisplayRole, Qt::EditRole});
}

void PositionModel::mergeCells(int row, const PackedRow::Cells &changes)
{
    Q_ASSERT(row >= 0 && row < m_rows.size());
    const auto [first, last] = changedColumns(m_rows.at(row), changes, true);
    if (first < 0)
        return;
    m_rows[row] = m_rows.at(row).mergedWith(changes);
    emit dataChanged(index(row, first), index(row, last), {Qt::DisplayRole, Qt::EditRole});
}

void PositionModel::setReadOnlyColumns(const QSet<int> &columns)
{
    m_readOnlyColumns = columns;
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, PositionColumnCount - 1));
}

QSet<int> PositionModel::readOnlyColumns() const
{
    return m_readOnlyColumns;
}

void PositionModel::setEditableCheck(EditableCheck check)
{
    m_editable = std::move(check);
}

bool PositionModel::isEditable(int row, int column) const
{
    if (!isCell(row, column) || m_readOnlyColumns.contains(column))
        return false;
    return !m_editable || m_editable(m_rows.at(row), column);
}

void PositionModel::setEditHandler(EditHandler handler)
{
    m_editHandler = std::move(handler);
}

void PositionModel::setCellLook(CellLook look)
{
    m_cellLook = std::move(look);
}

bool PositionModel::isCell(int row, int column) const
{
    return row >= 0 && row < m_rows.size() && column >= 0 && column < PositionColumnCount;
}

qint64 PositionModel::rowVersion(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).version() : 0;
}

void PositionModel::setRowVersion(int row, qint64 version)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].setVersion(version);
}

} // namespace tolven
