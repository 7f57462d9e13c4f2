#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

#include "analysis/PricePosition.h"

namespace tolven {

// One price of a competitor over time: from its "Datum ab" until the day
// before its successor starts, its "Datum bis" when that comes first, or, for
// the last price without an end, today.
struct PriceStep
{
    QDate from;
    QDate until;  // the last day the price holds
    double price = 0;
    QString priceType;
};

// A competitor's prices for one article, as a line of steps: the positions at
// its smallest "Menge ab"; of several starting the same day (several price
// types), the lowest.
struct CompetitorHistory
{
    QString competitor;
    double quantity = 0;
    QList<PriceStep> steps;  // by date
};

// A competitor's price that differs from its previous one (or is its first).
struct PriceChange
{
    QString competitor;
    QDate date;
    QString priceType;
    double price = 0;
    std::optional<double> previous;
    // (price − previous) / previous × 100; none for a first price.
    std::optional<double> percent;
};

// One history per competitor of positions (those with a price and a "Datum
// ab"), in the competitors' alphabetical order.
QList<CompetitorHistory> PriceHistoryOf(const PricePositions &positions, const QDate &today);
// Every change of the histories, by date, then competitor.
QList<PriceChange> PriceChangesOf(const QList<CompetitorHistory> &histories);

} // namespace tolven
