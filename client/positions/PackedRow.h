#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>

#include "positions/PositionColumns.h"

namespace tolven {

class PackedRow;

// Cells that rows share instead of each holding them, made when a cell is
// read: the article data a search brings for all positions of one article,
// and the figures computed from that and a row's own prices. A grid shows a
// few dozen rows; the others never need their shared cells made at all.
class SharedCells
{
public:
    using Columns = std::bitset<PositionColumnCount>;

    // reads: the row's own columns the shared cells are made from.
    explicit SharedCells(Columns columns, Columns reads = {})
        : m_columns(columns)
        , m_reads(reads)
    {
    }
    virtual ~SharedCells() = default;

    // The columns whose cells come from here rather than from the row.
    bool covers(int column) const { return m_columns.test(column); }
    // Whether a change of columns leaves every shared cell as it reads.
    bool unaffectedBy(const Columns &columns) const { return (columns & (m_columns | m_reads)).none(); }
    // The cell of a covered column for row, from what is shared and the
    // row's own cells (PackedRow::ownCell).
    virtual QVariant cell(const PackedRow &row, int column) const = 0;
    // The number that cell holds or reads as (CellNumber), for code that
    // compares every row; a share may know it without making the cell.
    virtual std::optional<double> number(const PackedRow &row, int column) const;

private:
    Columns m_columns;
    Columns m_reads;
};

// One row of the position array in little memory: the text of all cells in
// one string, where each cell ends, and what kind of value each holds. A
// search fills hundreds of thousands of rows; as 32 QVariants each they would
// take several times the space.
//
// Cells keep their kind: no value, text, numbers (double, float, int,
// qlonglong), truth values and dates come back exactly as they went in.
// Values of any other kind are kept as their text.
class PackedRow
{
public:
    using Cells = std::array<QVariant, PositionColumnCount>;
    enum class Kind : std::uint8_t { None, Text, Double, Float, Int, LongLong, Bool, Date };

    // Every cell without a value.
    PackedRow() = default;
    explicit PackedRow(const Cells &cells);

    // A row put together from texts without a QVariant for each cell, as a
    // search reads them: set the cells, then take the row.
    class Builder
    {
    public:
        void setText(int column, const QString &text) { set(column, Kind::Text, text); }
        // A number in C notation ("." as decimal point): kept as a double,
        // or as text when it is none.
        void setNumber(int column, const QString &text);
        // A date yyyy-mm-dd: kept as a date, or as text when it is none.
        void setDate(int column, const QString &text);
        PackedRow take();

    private:
        void set(int column, Kind kind, const QString &text);

        std::array<QString, PositionColumnCount> m_texts;
        std::array<Kind, PositionColumnCount> m_kinds{};
    };
    // The cells of a list, padded with no value or cut to the column count.
    static PackedRow fromList(const QList<QVariant> &cells);

    QVariant cell(int column) const;
    QList<QVariant> toList() const;

    // The cell with its new value; the other cells keep theirs.
    PackedRow withCell(int column, const QVariant &value) const;
    // Every cell that holds a value in changes put in; the other cells keep
    // theirs without being read and written again.
    PackedRow mergedWith(const Cells &changes) const;
    // A change of a cell that shared cells cover or are made from (a price)
    // first makes them: the row holds every cell itself from then on, each
    // as it read before the change. A change of any other cell (the id, the
    // change date, the note) leaves the row sharing them.

    // The cells of the columns that shared covers come from there from now
    // on; the row's own cells of those columns are kept but no longer read.
    void share(std::shared_ptr<const SharedCells> shared) { m_shared = std::move(shared); }
    bool isShared(int column) const { return m_shared && m_shared->covers(column); }
    // The row's own cell of column, whether or not it is shared.
    QVariant ownCell(int column) const;

    // A cell the row holds itself, read without building a QVariant, for
    // code that reads every row of a large grid: its kind and its packed text
    // (numbers in C notation, a date as its Julian day number). A shared
    // cell reads as Kind::None here: read it with cell().
    Kind kind(int column) const { return isShared(column) ? Kind::None : m_kinds[column]; }
    QStringView textOf(int column) const;
    // The own cell's number when it holds a double; nullopt otherwise.
    std::optional<double> ownDouble(int column) const;
    // What CellNumber says of the cell, read without making it where the
    // row can.
    std::optional<double> number(int column) const;
    // The row version of the stored position the row was read as (0 for a
    // row not read from the server): kept with the row, in no cell, so that
    // a save writes only over what was read. Changing cells keeps it.
    qint64 version() const { return m_version; }
    void setVersion(qint64 version) { m_version = version; }

    // No value or empty text, as IsEmptyCell says of the cell.
    bool isEmpty(int column) const;

private:
    using Columns = std::bitset<PositionColumnCount>;

    static Kind encode(const QVariant &value, QString &text);
    QStringView ownText(int column) const;
    // This row with the given columns taken from values; the others are
    // copied as they are packed.
    PackedRow replaced(const Cells &values, Columns columns) const;

    QString m_text;
    std::array<std::uint32_t, PositionColumnCount> m_ends{};
    std::array<Kind, PositionColumnCount> m_kinds{};
    qint64 m_version = 0;
    std::shared_ptr<const SharedCells> m_shared;
};

} // namespace tolven

// Moved in memory as it is (a string, plain arrays, a shared pointer): a
// search's array of rows grows without copying each row.
Q_DECLARE_TYPEINFO(tolven::PackedRow, Q_RELOCATABLE_TYPE);
