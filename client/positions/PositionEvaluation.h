#pragma once

#include <QHash>
#include <QObject>

#include "analysis/OwnPrices.h"
#include "analysis/PriceMark.h"
#include "analysis/PricePosition.h"
#include "positions/PackedRow.h"

namespace tolven {

class PositionModel;
class PriceMarks;

// What the evaluations take from the position array: each row as a price
// position with the own price it is compared to, and the undercut marks of
// the grid's price column. The own prices at every quantity come from the
// class query "Eigenpreise", read with each search.
class PositionEvaluation : public QObject
{
    Q_OBJECT

public:
    explicit PositionEvaluation(PositionModel &positions, QObject *parent = nullptr);

    // Reads the own prices of the firm's positioned articles; a server error
    // is shown, and the rows are then compared with the own prices they hold.
    void readOwnPrices(const QString &firm);
    // Every position of article of the firm that the store holds, whatever
    // the grid's filters (the query "Preisverlauf"); throws AccessError.
    PricePositions storedPositions(const QString &firm, const QString &article) const;

    // The row of the array as a price position.
    PricePosition position(int row) const;
    // Every row of the array.
    PricePositions positions() const;
    // The own price incl. of article today at quantity; the row's own price
    // when the article has no master prices.
    std::optional<double> ownPriceToday(const QString &article, double quantity, int row) const;

    PriceMarks &marks() const { return *m_marks; }

private:
    PricePosition positionOf(const PackedRow &row, int gridRow) const;
    // The article, quantity, prices and units of row, which its mark compares.
    void putPrices(const PackedRow &row, PricePosition &position) const;
    PriceMark markOf(const PackedRow &row) const;

    PositionModel &m_positions;
    OwnPrices m_ownPrices;
    PriceMarks *m_marks;
};

} // namespace tolven
