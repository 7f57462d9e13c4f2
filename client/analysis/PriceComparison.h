#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

#include "analysis/PriceMark.h"
#include "analysis/PricePosition.h"

namespace tolven {

// One article of the price comparison: each competitor's price valid on the
// day, compared with the own price, and the cheapest of them.
struct ComparisonRow
{
    QString article;
    QString description;
    // The own price shown for the article: at the smallest "Menge ab" of the
    // prices chosen (each price is compared with the own price at its own
    // quantity).
    std::optional<double> ownPrice;
    double ownQuantity = 0;
    QList<qsizetype> chosen;  // per competitor: the position chosen, -1 for none
    QList<PriceMark> marks;   // per competitor
    int cheapest = -1;        // the competitor with the lowest compared price; -1 for none

    bool undercut() const { return cheapest >= 0 && marks.at(cheapest).relation == PriceRelation::Below; }
};

// "Preisvergleich": one row per article of the positions, one column per
// competitor with the price valid on the day (see ValidPrice).
class PriceComparison
{
public:
    PriceComparison() = default;
    PriceComparison(PricePositions positions, const QDate &day);

    const QDate &day() const { return m_day; }
    // The competitors' codes, in alphabetical order.
    const QStringList &competitors() const { return m_competitors; }
    // Sorted by article number (numbers by their value).
    const QList<ComparisonRow> &rows() const { return m_rows; }
    const PricePositions &positions() const { return m_positions; }
    // The position chosen for row and competitor; nullptr for none.
    const PricePosition *chosen(int row, int competitor) const;

private:
    PricePositions m_positions;
    QDate m_day;
    QStringList m_competitors;
    QList<ComparisonRow> m_rows;
};

} // namespace tolven
