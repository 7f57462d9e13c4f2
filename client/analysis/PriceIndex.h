#pragma once

#include <QList>
#include <QString>

namespace tolven {

class PriceComparison;

// "Preisindex": how one competitor's prices stand to the own prices over the
// articles of a price comparison where both have a comparable price.
struct CompetitorIndex
{
    QString competitor;
    int compared = 0;  // articles compared
    int below = 0;     // of them, priced below the own price
    int above = 0;     // and above it
    // Of the differences (competitor − own) / own × 100 of the articles compared.
    double medianPercent = 0;
    double meanPercent = 0;
    // Σ competitor price / Σ own price × 100 over the articles compared:
    // 96 means the competitor is 4 % cheaper on what both sell.
    double index = 0;

    double belowShare() const { return compared == 0 ? 0 : 100.0 * below / compared; }
    double aboveShare() const { return compared == 0 ? 0 : 100.0 * above / compared; }
};

// One entry per competitor of the comparison, in its order.
QList<CompetitorIndex> PriceIndexOf(const PriceComparison &comparison);

// The middle value (the mean of the two middle ones for an even count); 0
// for none.
double Median(QList<double> values);

} // namespace tolven
