#include "PositionEvaluation.h"

#include "access/cacheapi.h"
#include "analysis/PriceMarks.h"
#include "common/CellNumber.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionSearch.h"

using namespace Qt::StringLiterals;

namespace tolven {

PositionEvaluation::PositionEvaluation(PositionModel &positions, QObject *parent)
    : QObject(parent)
    , m_positions(positions)
    , m_ownPrices()
    , m_marks(new PriceMarks(
          positions, PositionColumn::PreisIncl,
          [this](int row) { return markOf(m_positions.packedRow(row)); }, this))
{
    positions.setCellLook([this](int row, int column, int role) { return m_marks->look(row, column, role); });
}

void PositionEvaluation::readOwnPrices(const QString &firm)
{
    try {
        m_ownPrices = OwnPrices::read(firm);
    } catch (const AccessError &error) {
        m_ownPrices = OwnPrices();
        ReportAccessError(error, u"Eigene Preise lesen"_s);
    }
    m_marks->refresh();
}

PricePositions PositionEvaluation::storedPositions(const QString &firm, const QString &article) const
{
    std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Preisverlauf"_s);
    result->execute({firm, article});
    PricePositions positions;
    while (result->next()) {
        positions << positionOf(PositionSearch::RowFromTexts([&result](int n) { return result->getColumn(n); }), -1);
    }
    CloseServerObject(result);
    return positions;
}

PricePosition PositionEvaluation::positionOf(const PackedRow &row, int gridRow) const
{
    PricePosition position;
    position.row = gridRow;
    position.competitor = row.cell(PositionColumn::Konkur).toString();
    position.description = row.cell(PositionColumn::ArtBez).toString();
    position.priceType = row.cell(PositionColumn::Preistyp).toString();
    position.from = row.cell(PositionColumn::DatumAb).toDate();
    position.to = row.cell(PositionColumn::DatumBis).toDate();
    putPrices(row, position);
    return position;
}

void PositionEvaluation::putPrices(const PackedRow &row, PricePosition &position) const
{
    position.article = row.cell(PositionColumn::Artnr).toString();
    position.quantity = row.number(PositionColumn::MengeAb).value_or(0.0);
    position.price = row.number(PositionColumn::PreisIncl);
    position.priceUnit = row.cell(PositionColumn::VRE).toString();
    // A collective article's own price is the one typed into the row; an
    // article the own prices do not know (new to the positions) has the one
    // its data brought, at the row's quantity.
    const QString collective = row.cell(PositionColumn::SAM).toString();
    const bool ownPricesKnown = collective == u"N"
        && m_ownPrices.find(position.article, position.quantity, position.ownPrice, position.ownPriceUnit);
    if (!ownPricesKnown && !collective.isEmpty())
        position.ownPrice = row.number(PositionColumn::IntPreis);
}

PriceMark PositionEvaluation::markOf(const PackedRow &row) const
{
    // Only what the comparison reads: the marks of every row are made with
    // each search.
    PricePosition position;
    putPrices(row, position);
    return ComparePosition(position);
}

PricePosition PositionEvaluation::position(int row) const
{
    return positionOf(m_positions.packedRow(row), row);
}

PricePositions PositionEvaluation::positions() const
{
    PricePositions all;
    all.reserve(m_positions.rowCount());
    for (int row = 0; row < m_positions.rowCount(); ++row)
        all << position(row);
    return all;
}

std::optional<double> PositionEvaluation::ownPriceToday(const QString &article, double quantity, int row) const
{
    if (m_ownPrices.knows(article) && m_positions.cell(row, PositionColumn::SAM).toString() == u"N")
        return m_ownPrices.priceAt(article, quantity);
    return position(row).ownPrice;
}

} // namespace tolven
