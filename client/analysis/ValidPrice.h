#pragma once

#include <QDate>
#include <QList>

#include "analysis/PricePosition.h"

namespace tolven {

// Whether position's price holds on day: its "Datum ab" not after the day,
// and no "Datum bis" or one not before it.
bool ValidOn(const PricePosition &position, const QDate &day);

// Of the positions of one competitor and one article (candidates: indexes
// into positions), the one whose price holds on day: per price type, the
// valid position with the latest "Datum ab" and of those the smallest
// "Menge ab"; of the price types, the lowest price. Positions without a
// price (or of 0), and those in another price unit than the article, do not
// count.
// -1 when none holds.
qsizetype ValidPrice(const PricePositions &positions, const QList<qsizetype> &candidates, const QDate &day);

} // namespace tolven
