#include "PriceHistory.h"

#include <QMap>

#include <algorithm>

namespace tolven {

QList<CompetitorHistory> PriceHistoryOf(const PricePositions &positions, const QDate &today)
{
    QMap<QString, QList<const PricePosition *>> byCompetitor;
    for (const PricePosition &position : positions) {
        if (position.price && position.from.isValid())
            byCompetitor[position.competitor] << &position;
    }
    QList<CompetitorHistory> histories;
    for (auto it = byCompetitor.cbegin(); it != byCompetitor.cend(); ++it) {
        CompetitorHistory history;
        history.competitor = it.key();
        QList<const PricePosition *> own = it.value();
        history.quantity = (*std::min_element(own.cbegin(), own.cend(), [](auto a, auto b) {
                               return a->quantity < b->quantity;
                           }))->quantity;
        own.removeIf([&](const PricePosition *position) { return position->quantity != history.quantity; });
        std::stable_sort(own.begin(), own.end(), [](auto a, auto b) {
            return a->from != b->from ? a->from < b->from : *a->price < *b->price;
        });
        for (qsizetype index = 0; index < own.size(); ++index) {
            const PricePosition &position = *own.at(index);
            if (index > 0 && own.at(index - 1)->from == position.from)
                continue;  // a dearer price type of the same day
            QDate until = position.to.isValid() ? position.to : std::max(today, position.from);
            qsizetype next = index + 1;
            while (next < own.size() && own.at(next)->from == position.from)
                ++next;
            if (next < own.size())
                until = std::min(until, own.at(next)->from.addDays(-1));
            until = std::max(until, position.from);
            history.steps << PriceStep{position.from, until, *position.price, position.priceType};
        }
        histories << history;
    }
    return histories;
}

QList<PriceChange> PriceChangesOf(const QList<CompetitorHistory> &histories)
{
    QList<PriceChange> changes;
    for (const CompetitorHistory &history : histories) {
        std::optional<double> previous;
        for (const PriceStep &step : history.steps) {
            if (previous && qFuzzyCompare(*previous, step.price))
                continue;
            PriceChange change{history.competitor, step.from, step.priceType, step.price, previous, std::nullopt};
            if (previous && *previous != 0)
                change.percent = (step.price - *previous) / *previous * 100;
            changes << change;
            previous = step.price;
        }
    }
    std::stable_sort(changes.begin(), changes.end(), [](const PriceChange &a, const PriceChange &b) {
        return a.date != b.date ? a.date < b.date : a.competitor < b.competitor;
    });
    return changes;
}

} // namespace tolven
