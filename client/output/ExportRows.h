#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace tolven {

// What a column of an export file holds, and so how its cells are written.
enum class ExportKind {
    Text,
    Date,     // dd.mm.yyyy
    Number,   // as the cell holds it, in the locale's notation
    Quantity, // four places
    Price,    // two places
};

struct ExportColumn
{
    QString caption;
    int sourceColumn; // the column of the list the cells come from
    ExportKind kind;
};

// One exported row: its cells in the order of the table's columns.
using ExportRow = QList<QVariant>;

// What an export file holds: its columns (the header) and its rows.
struct ExportTable
{
    QList<ExportColumn> columns;
    QList<ExportRow> rows;
};

// A cell of a column of kind as the CSV file writes it: a date as
// dd.mm.yyyy; a quantity with four places and a price with two, in the
// locale's notation, as the grid shows them (text that holds no number as it
// is); any other number in the locale's notation without padding zeros; text
// as it is.
QString ExportText(const QVariant &cell, ExportKind kind, const QLocale &locale = QLocale());

} // namespace tolven
