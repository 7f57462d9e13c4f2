#include "KeyFigures.h"

#include <QStringList>

#include "objectapi/TextConversion.h"
#include "positions/PositionColumns.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

QString TwoPlaces(const QLocale &locale, double value)
{
    return FormatNumber(value, NumberPattern::TwoPlaces, locale);
}

} // namespace

ArticleData ArticleData::parse(const QString &answer)
{
    const QList<QStringView> fields = QStringView(answer).split(u'`');
    const auto field = [&fields](int n) { return n <= fields.size() ? fields[n - 1] : QStringView(); };
    ArticleData data;
    data.known = !answer.isEmpty();
    data.description = field(1).toString();
    data.vatPercent = LeadingNumber(field(2));
    data.ownPrice = LeadingNumber(field(3));
    data.collective = field(4).toString();
    data.salesUnit = ServerToDisplay(field(5).toString());
    data.priceUnit = ServerToDisplay(field(6).toString());
    data.centralNumber = field(7).toString();
    data.grossPurchase = LeadingNumber(field(8));
    data.netPurchase = LeadingNumber(field(9));
    data.quantitySold = LeadingNumber(field(10));
    data.turnover = LeadingNumber(field(11));
    data.discounts = LeadingNumber(field(12));
    data.cost = LeadingNumber(field(13));
    return data;
}

QString DisplayNumberCell(const QVariant &cell, NumberPattern pattern, const QLocale &locale)
{
    if (const std::optional<double> number = CellNumber(cell, locale))
        return FormatNumber(*number, pattern, locale);
    return cell.toString();
}

double WithVat(double priceExcl, double vatPercent)
{
    return priceExcl * (100.0 + vatPercent) / 100.0;
}

QString PercentOrZero(double numerator, double divisor, const QLocale &locale)
{
    if (divisor == 0.0)
        return u"0"_s;
    return FormatNumber(numerator / divisor, NumberPattern::Percent, locale);
}

PackedRow::Cells ArticleCells(const ArticleData &article, ArticleFill fill, const QLocale &locale)
{
    const bool keepPositionText = fill == ArticleFill::Search && (article.collective == u"J" || !article.known);
    PackedRow::Cells row;

    if (!keepPositionText) {
        row[PositionColumn::ArtBez] = article.description;
        row[PositionColumn::IntPreis] = TwoPlaces(locale, article.ownPrice);
    }
    row[PositionColumn::ZAnr] = article.centralNumber;
    row[PositionColumn::MC] = article.vatPercent;
    row[PositionColumn::SAM] = article.collective;
    row[PositionColumn::VKE] = article.salesUnit;
    row[PositionColumn::VRE] = article.priceUnit;

    row[PositionColumn::BruttoEK] = TwoPlaces(locale, article.grossPurchase);
    row[PositionColumn::Rabatt] =
        PercentOrZero(article.grossPurchase - article.netPurchase, article.grossPurchase, locale);
    row[PositionColumn::NettoEK] = TwoPlaces(locale, article.netPurchase);
    row[PositionColumn::VKMenge] = TwoPlaces(locale, article.quantitySold);

    const double grossTurnover = article.turnover + article.discounts;
    row[PositionColumn::BRUmsatz] = TwoPlaces(locale, grossTurnover);
    row[PositionColumn::Nettoumsatz] = article.turnover;
    // Without turnover there is no share of discounts; the cell keeps what it had.
    if (grossTurnover != 0.0)
        row[PositionColumn::RabattProzent] =
            FormatNumber(article.discounts / grossTurnover, NumberPattern::Percent, locale);
    row[PositionColumn::DBAbs] = TwoPlaces(locale, article.turnover - article.cost);
    row[PositionColumn::DBProzent] = PercentOrZero(article.turnover - article.cost, article.turnover, locale);
    return row;
}

ArticleFigures ArticleFigures::of(const PackedRow::Cells &articleCells, const QLocale &locale)
{
    const auto number = [&articleCells, &locale](int column) { return CellNumberOrZero(articleCells[column], locale); };
    return {number(PositionColumn::MC), number(PositionColumn::BruttoEK), number(PositionColumn::NettoEK),
            number(PositionColumn::VKMenge), number(PositionColumn::Nettoumsatz)};
}

void ApplyPriceFigures(PackedRow::Cells &row, const ArticleFigures &article, ArticleFill fill, const QLocale &locale)
{
    const auto number = [&row, &locale](int column) { return CellNumberOrZero(row[column], locale); };

    // The prices incl. VAT follow the article's rate; the calculated one is
    // taken as the row had it before an article number resets it.
    row[PositionColumn::PreisIncl] = TwoPlaces(locale, WithVat(number(PositionColumn::PreisExcl), article.vatPercent));
    row[PositionColumn::PreisKalkIncl] =
        TwoPlaces(locale, WithVat(number(PositionColumn::PreisKalk), article.vatPercent));
    if (fill == ArticleFill::ArticleNumber)
        row[PositionColumn::PreisKalk] = 0.0;

    ApplyCalculatedPriceFigures(row, article, fill, locale);
}

void ApplyCalculatedPriceFigures(PackedRow::Cells &row, const ArticleFigures &article, ArticleFill fill,
                                 const QLocale &locale)
{
    // The calculated price against the purchase prices and the sales, as the
    // grid shows them.
    const double calculated = CellNumberOrZero(row[PositionColumn::PreisKalk], locale);
    const double gross = article.grossPurchase;
    const double net = article.netPurchase;
    const double quantity = article.quantitySold;
    const double turnover = article.turnover;
    row[PositionColumn::ListeProzent] = PercentOrZero(calculated - gross, gross, locale);
    row[PositionColumn::Spanne] = PercentOrZero(calculated - net, calculated, locale);
    // The search leaves it at 0 without sales; sales without a sold quantity
    // (credit notes, corrections) give 0 too rather than a division by zero.
    const bool lossFigure = quantity != 0.0 && (fill == ArticleFill::ArticleNumber || turnover != 0.0);
    row[PositionColumn::DBVerlust] =
        lossFigure ? TwoPlaces(locale, (turnover / quantity - calculated) * quantity) : u"0"_s;
}

void PutCells(PackedRow::Cells &row, const PackedRow::Cells &cells)
{
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (cells[column].isValid())
            row[column] = cells[column];
    }
}

void ApplyArticleData(PackedRow::Cells &row, const ArticleData &article, ArticleFill fill, const QLocale &locale)
{
    const PackedRow::Cells cells = ArticleCells(article, fill, locale);
    PutCells(row, cells);
    ApplyPriceFigures(row, ArticleFigures::of(cells, locale), fill, locale);
}

} // namespace tolven
