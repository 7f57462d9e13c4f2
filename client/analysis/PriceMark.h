#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace tolven {

struct PricePosition;

// How a competitor's price stands to the own price.
enum class PriceRelation : std::int8_t {
    NoPrice,     // the competitor's price is missing: nothing to say
    NoOwnPrice,  // there is no own price to compare with
    OtherUnit,   // priced per another unit than the article: not comparable
    Below,
    Equal,
    Above,
};

struct PriceMark
{
    PriceRelation relation = PriceRelation::NoPrice;
    // (competitor − own) / own × 100: negative when the competitor is cheaper.
    double percent = 0;
    QString unit;     // OtherUnit: the position's unit
    QString ownUnit;  // OtherUnit: the article's unit

    bool compared() const
    {
        return relation == PriceRelation::Below || relation == PriceRelation::Equal
            || relation == PriceRelation::Above;
    }
    // "12,4 % unter eigenem Preis", "3,0 % über eigenem Preis", or why the
    // price was not compared; empty without a price.
    QString text(const QLocale &locale = QLocale()) const;
};

// The competitor's price against the own price, both incl. VAT and counted
// in cents, so that equal prices stay equal whatever their binary noise.
// The units are compared only when both are known.
PriceMark ComparePrice(std::optional<double> price, std::optional<double> ownPrice, const QString &unit,
                       const QString &ownUnit);
PriceMark ComparePosition(const PricePosition &position);

} // namespace tolven
