#include "PriceIndex.h"

#include <algorithm>

#include "analysis/PriceComparison.h"

namespace tolven {

double Median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    const qsizetype middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    const double upper = values.at(middle);
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + middle);
    return (lower + upper) / 2;
}

QList<CompetitorIndex> PriceIndexOf(const PriceComparison &comparison)
{
    QList<CompetitorIndex> result;
    for (int competitor = 0; competitor < comparison.competitors().size(); ++competitor) {
        CompetitorIndex entry;
        entry.competitor = comparison.competitors().at(competitor);
        QList<double> differences;
        double prices = 0;
        double ownPrices = 0;
        for (int row = 0; row < comparison.rows().size(); ++row) {
            const PriceMark &mark = comparison.rows().at(row).marks.at(competitor);
            if (!mark.compared())
                continue;
            const PricePosition &position = *comparison.chosen(row, competitor);
            ++entry.compared;
            entry.below += mark.relation == PriceRelation::Below;
            entry.above += mark.relation == PriceRelation::Above;
            differences << mark.percent;
            prices += *position.price;
            ownPrices += *position.ownPrice;
        }
        if (entry.compared > 0) {
            double sum = 0;
            for (double difference : std::as_const(differences))
                sum += difference;
            entry.meanPercent = sum / entry.compared;
            entry.medianPercent = Median(differences);
            entry.index = prices / ownPrices * 100;
        }
        result << entry;
    }
    return result;
}

} // namespace tolven
