#include "ValidPrice.h"

#include <QHash>

#include "analysis/PriceMark.h"

namespace tolven {

bool ValidOn(const PricePosition &position, const QDate &day)
{
    return position.from.isValid() && position.from <= day && (!position.to.isValid() || position.to >= day);
}

qsizetype ValidPrice(const PricePositions &positions, const QList<qsizetype> &candidates, const QDate &day)
{
    // The best position so far of each price type.
    QHash<QString, qsizetype> byType;
    for (qsizetype index : candidates) {
        const PricePosition &position = positions.at(index);
        if (!ValidOn(position, day))
            continue;
        if (const PriceRelation relation = ComparePosition(position).relation;
            relation == PriceRelation::NoPrice || relation == PriceRelation::OtherUnit)
            continue;
        auto best = byType.find(position.priceType);
        if (best == byType.end()) {
            byType.insert(position.priceType, index);
            continue;
        }
        const PricePosition &other = positions.at(*best);
        if (position.from > other.from || (position.from == other.from && position.quantity < other.quantity))
            *best = index;
    }
    qsizetype lowest = -1;
    for (qsizetype index : std::as_const(byType)) {
        // Of two alike, the one that came first, so the choice does not
        // depend on the order of the hash.
        if (lowest < 0 || *positions.at(index).price < *positions.at(lowest).price
            || (*positions.at(index).price == *positions.at(lowest).price && index < lowest))
            lowest = index;
    }
    return lowest;
}

} // namespace tolven
