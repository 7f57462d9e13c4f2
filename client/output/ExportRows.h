#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

class QAbstractItemModel;

namespace tolven {

// What a column of the export files holds.
enum class ExportKind {
    Text,
    Date,
    Number,
    Price,
};

struct ExportColumn
{
    QString caption;
    int positionColumn;
    ExportKind kind;
};

// The columns of the files for head office, in their order.
const QList<ExportColumn> &PositionExportColumns();

// One exported position: its cells in the order of PositionExportColumns(),
// the competitor's name in place of its code.
using ExportRow = QList<QVariant>;

// The positions of the grid that carry a central article number, as the
// grid holds them (edits not yet saved included). competitors has the code in
// column 0 and the name in column 1; a code it lacks is exported as it is.
QList<ExportRow> PositionExportRows(const QAbstractItemModel &positions, const QAbstractItemModel &competitors);

// A cell as the CSV file writes it: text as it is, a number in the locale's
// notation without grouping or padding zeros, a date as dd.mm.yyyy.
QString ExportText(const QVariant &cell, const QLocale &locale = QLocale());

} // namespace tolven
