#include "PriceMark.h"

#include <cmath>

#include "analysis/PricePosition.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

qint64 Cents(double price)
{
    return std::llround(price * 100);
}

} // namespace

QString PriceMark::text(const QLocale &locale) const
{
    const QString amount = locale.toString(std::abs(percent), 'f', 1) + u" %";
    switch (relation) {
    case PriceRelation::NoPrice:
        return {};
    case PriceRelation::NoOwnPrice:
        return u"nicht verglichen: kein eigener Preis"_s;
    case PriceRelation::OtherUnit:
        return u"nicht verglichen: Preis per " + unit + u", eigener Preis per " + ownUnit;
    case PriceRelation::Below:
        return amount + u" unter eigenem Preis";
    case PriceRelation::Equal:
        return u"gleich eigenem Preis"_s;
    case PriceRelation::Above:
        return amount + u" über eigenem Preis";
    }
    return {};
}

PriceMark ComparePrice(std::optional<double> price, std::optional<double> ownPrice, const QString &unit,
                       const QString &ownUnit)
{
    PriceMark mark;
    // A price of 0 is one nobody entered yet.
    if (!price || Cents(*price) <= 0)
        return mark;
    if (!ownPrice || Cents(*ownPrice) <= 0) {
        mark.relation = PriceRelation::NoOwnPrice;
        return mark;
    }
    if (!unit.isEmpty() && !ownUnit.isEmpty() && unit.compare(ownUnit, Qt::CaseInsensitive) != 0) {
        mark.relation = PriceRelation::OtherUnit;
        mark.unit = unit;
        mark.ownUnit = ownUnit;
        return mark;
    }
    const qint64 cents = Cents(*price);
    const qint64 ownCents = Cents(*ownPrice);
    mark.percent = double(cents - ownCents) / double(ownCents) * 100;
    mark.relation = cents < ownCents ? PriceRelation::Below
                  : cents > ownCents ? PriceRelation::Above
                                     : PriceRelation::Equal;
    return mark;
}

PriceMark ComparePosition(const PricePosition &position)
{
    return ComparePrice(position.price, position.ownPrice, position.priceUnit, position.ownPriceUnit);
}

} // namespace tolven
