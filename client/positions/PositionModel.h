#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QSet>
#include <QVariant>

#include <functional>

#include "positions/PackedRow.h"

namespace tolven {

// The position array behind the main window's grid: rows of
// PositionColumnCount cells, each holding what the window put there (text,
// numbers, QDate for dates). The model keeps values; the window's handlers
// own the rules about them. The grid shows the quantity and the prices excl.
// VAT with four places, the prices incl. VAT with two, any other number and
// the dates in the locale's notation.
class PositionModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Row = QList<QVariant>;

    // The most rows the array takes.
    static constexpr int MaxRows = 250000;

    explicit PositionModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The view's way in: refused for cells that are not editable; goes to
    // the edit handler when there is one. The window writes through setCell,
    // which knows no read-only cells.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Inserts rows of empty cells; false beyond MaxRows.
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    void clear();
    // Replaces all rows at once; each row is padded or cut to the column count
    // and the rows beyond MaxRows are dropped.
    void setRows(const QList<Row> &rows);
    // The same for rows already packed, as a search delivers them.
    void setPackedRows(QList<PackedRow> rows);
    // Appends rows already packed at once; false, and nothing added, when
    // they do not all fit.
    bool appendPackedRows(const QList<PackedRow> &rows);
    // Appends a row (padded or cut like setRows); its index, or -1 when full.
    int appendRow(const Row &cells = Row());
    Row row(int row) const;
    const PackedRow &packedRow(int row) const;
    QVariant cell(int row, int column) const;
    // Stores value; dataChanged for that cell only, none when it is unchanged.
    void setCell(int row, int column, const QVariant &value);
    // All cells of a row, to work on and put back with setCells.
    PackedRow::Cells cells(int row) const;
    // Stores the row's cells at once (packed once); dataChanged for the
    // columns from the first to the last changed one, none when nothing changed.
    void setCells(int row, const PackedRow::Cells &cells);
    // Puts in the cells of changes that hold a value (the others stay), with
    // one dataChanged for them, as setCells does.
    void mergeCells(int row, const PackedRow::Cells &changes);

    // The row version the row's position was read or stored as (PackedRow).
    qint64 rowVersion(int row) const;
    void setRowVersion(int row, qint64 version);

    // Columns the user may not edit in the grid.
    void setReadOnlyColumns(const QSet<int> &columns);
    QSet<int> readOnlyColumns() const;

    // Decides, besides the read-only columns, which cells the user may edit.
    using EditableCheck = std::function<bool(const PackedRow &row, int column)>;
    void setEditableCheck(EditableCheck check);
    bool isEditable(int row, int column) const;
    // Takes what the user typed into a cell instead of storing it: true when
    // it was taken. The handler writes the cells itself.
    using EditHandler = std::function<bool(int row, int column, const QVariant &value)>;
    void setEditHandler(EditHandler handler);
    // The look of cells beyond their values (background, font, tooltip):
    // asked for the roles the model does not answer itself.
    using CellLook = std::function<QVariant(int row, int column, int role)>;
    void setCellLook(CellLook look);

private:
    bool isCell(int row, int column) const;

    QList<PackedRow> m_rows;
    QSet<int> m_readOnlyColumns;
    EditableCheck m_editable;
    EditHandler m_editHandler;
    CellLook m_cellLook;
};

} // namespace tolven
