#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace tolven {

// A competitor's price position as the evaluations see it: from a row of the
// main window's grid or from the store, with the own price it is compared to.
struct PricePosition
{
    int row = -1;  // the grid row it came from; -1 when it came from the store
    QString competitor;
    QString article;
    QString description;
    QString priceType;
    QDate from;  // "Datum ab"
    QDate to;    // "Datum bis"; invalid when the price has no end
    double quantity = 0;            // "Menge ab"
    std::optional<double> price;    // the competitor's price incl. VAT
    QString priceUnit;              // "per VRE"
    // The own price incl. VAT at the position's quantity, and the unit the
    // article is priced per (empty when it is not known: nothing to check).
    std::optional<double> ownPrice;
    QString ownPriceUnit;
};

using PricePositions = QList<PricePosition>;

} // namespace tolven
