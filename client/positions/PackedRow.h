#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <bitset>
#include <cstdint>

#include "positions/PositionColumns.h"

namespace tolven {

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
    // The cells of a list, padded with no value or cut to the column count.
    static PackedRow fromList(const QList<QVariant> &cells);

    QVariant cell(int column) const;
    QList<QVariant> toList() const;

    // The cell with its new value; the other cells keep theirs.
    PackedRow withCell(int column, const QVariant &value) const;
    // Every cell that holds a value in changes put in; the other cells keep
    // theirs without being read and written again.
    PackedRow mergedWith(const Cells &changes) const;

    // A cell read without building a QVariant, for code that reads every row
    // of a large grid: its kind and its packed text (numbers in C notation,
    // a date as its Julian day number).
    Kind kind(int column) const { return m_kinds[column]; }
    QStringView textOf(int column) const;
    // The row version of the stored position the row was read as (0 for a
    // row not read from the server): kept with the row, in no cell, so that
    // a save writes only over what was read. Changing cells keeps it.
    qint64 version() const { return m_version; }
    void setVersion(qint64 version) { m_version = version; }

    // No value or empty text, as IsEmptyCell says of the cell.
    bool isEmpty(int column) const
    {
        return m_kinds[column] == Kind::None || (m_kinds[column] == Kind::Text && textOf(column).isEmpty());
    }

private:
    using Columns = std::bitset<PositionColumnCount>;

    static Kind encode(const QVariant &value, QString &text);
    // This row with the given columns taken from values; the others are
    // copied as they are packed.
    PackedRow replaced(const Cells &values, Columns columns) const;

    QString m_text;
    std::array<std::uint32_t, PositionColumnCount> m_ends{};
    std::array<Kind, PositionColumnCount> m_kinds{};
    qint64 m_version = 0;
};

} // namespace tolven
