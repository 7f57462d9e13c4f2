#pragma once

#include <QLocale>
#include <QSet>
#include <QString>
#include <QVariant>

#include "positions/PackedRow.h"

namespace tolven {

class LookupTable;

// The cells the user types numbers into: quantity, internal price, the
// competitor's prices and the calculated price.
inline constexpr int TypedNumberColumns[] = {PositionColumn::MengeAb, PositionColumn::IntPreis,
                                             PositionColumn::PreisExcl, PositionColumn::PreisIncl,
                                             PositionColumn::PreisKalk};

// True for a cell without content: no value or empty text.
bool IsEmptyCell(const QVariant &cell);

// Every typed-number cell of row as a number, read through the numeric input
// filter: empty cells and text without a number become 0. Numbers stay.
void FilterTypedNumbers(PackedRow::Cells &row);

// The cells that follow from an edit of column: the price unit from the sales
// unit, one price from the other through the article's VAT rate, and the
// figures of the calculated price. Empty or non-numeric operands count as 0.
void ApplyEditedColumn(PackedRow::Cells &row, int column, const QLocale &locale = QLocale());

// Whether an edit changed a cell's content. Numbers compare as numbers
// whatever their type or notation, dates as dates, anything else as text;
// no value and empty text are the same content.
bool SameContent(const QVariant &before, const QVariant &after, const QLocale &locale = QLocale());

// The "bis Datum" flag of a price type: the flag of the last row of the list
// with that code, "N" when there is none.
QString EndDateFlag(const LookupTable &priceTypes, const QString &code);
// The codes whose "bis Datum" flag is "J" by EndDateFlag.
QSet<QString> EndDateTypes(const LookupTable &priceTypes);

// What decides which cells of a row the user may edit besides the row itself.
struct EditContext
{
    bool competitorFiltered = false; // the competitor filter names one
    bool articleFiltered = false;    // the article filter names one
    const LookupTable *priceTypes = nullptr;
};

// Whether the user may edit column of row: the filtered competitor and
// article are not edited in the grid, a collective article's description,
// units and own price are typed in, an end date needs a price type that has
// one, and what is computed or stored by the server is never typed.
bool IsEditableCell(const PackedRow &row, int column, const EditContext &context);

} // namespace tolven
