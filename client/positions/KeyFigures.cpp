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

SharedCells::Columns ArticleCellColumns(const ArticleData &article, ArticleFill fill)
{
    SharedCells::Columns columns;
    for (int column : {PositionColumn::ZAnr, PositionColumn::MC, PositionColumn::SAM, PositionColumn::VKE,
                       PositionColumn::VRE, PositionColumn::BruttoEK, PositionColumn::Rabatt, PositionColumn::NettoEK,
                       PositionColumn::VKMenge, PositionColumn::BRUmsatz, PositionColumn::Nettoumsatz,
                       PositionColumn::DBAbs, PositionColumn::DBProzent})
        columns.set(column);
    const bool keepPositionText = fill == ArticleFill::Search && (article.collective == u"J" || !article.known);
    columns.set(PositionColumn::ArtBez, !keepPositionText);
    columns.set(PositionColumn::IntPreis, !keepPositionText);
    // Without turnover there is no share of discounts; the cell keeps what it had.
    columns.set(PositionColumn::RabattProzent, article.turnover + article.discounts != 0.0);
    return columns;
}

QVariant ArticleCell(const ArticleData &article, int column, const QLocale &locale)
{
    const double grossTurnover = article.turnover + article.discounts;
    switch (column) {
    case PositionColumn::ArtBez:
        return article.description;
    case PositionColumn::IntPreis:
        return TwoPlaces(locale, article.ownPrice);
    case PositionColumn::ZAnr:
        return article.centralNumber;
    case PositionColumn::MC:
        return article.vatPercent;
    case PositionColumn::SAM:
        return article.collective;
    case PositionColumn::VKE:
        return article.salesUnit;
    case PositionColumn::VRE:
        return article.priceUnit;
    case PositionColumn::BruttoEK:
        return TwoPlaces(locale, article.grossPurchase);
    case PositionColumn::Rabatt:
        return PercentOrZero(article.grossPurchase - article.netPurchase, article.grossPurchase, locale);
    case PositionColumn::NettoEK:
        return TwoPlaces(locale, article.netPurchase);
    case PositionColumn::VKMenge:
        return TwoPlaces(locale, article.quantitySold);
    case PositionColumn::BRUmsatz:
        return TwoPlaces(locale, grossTurnover);
    case PositionColumn::Nettoumsatz:
        return article.turnover;
    case PositionColumn::RabattProzent:
        return FormatNumber(article.discounts / grossTurnover, NumberPattern::Percent, locale);
    case PositionColumn::DBAbs:
        return TwoPlaces(locale, article.turnover - article.cost);
    case PositionColumn::DBProzent:
        return PercentOrZero(article.turnover - article.cost, article.turnover, locale);
    default:
        return {};
    }
}

PackedRow::Cells ArticleCells(const ArticleData &article, ArticleFill fill, const QLocale &locale)
{
    const SharedCells::Columns columns = ArticleCellColumns(article, fill);
    PackedRow::Cells row;
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (columns.test(column))
            row[column] = ArticleCell(article, column, locale);
    }
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

QString CalculatedPriceFigure(int column, double calculated, const ArticleFigures &article, ArticleFill fill,
                              const QLocale &locale)
{
    // The calculated price against the purchase prices and the sales, as the
    // grid shows them.
    const double gross = article.grossPurchase;
    const double net = article.netPurchase;
    const double quantity = article.quantitySold;
    const double turnover = article.turnover;
    switch (column) {
    case PositionColumn::ListeProzent:
        return PercentOrZero(calculated - gross, gross, locale);
    case PositionColumn::Spanne:
        return PercentOrZero(calculated - net, calculated, locale);
    case PositionColumn::DBVerlust: {
        // The search leaves it at 0 without sales; sales without a sold
        // quantity (credit notes, corrections) give 0 too rather than a
        // division by zero.
        const bool lossFigure = quantity != 0.0 && (fill == ArticleFill::ArticleNumber || turnover != 0.0);
        return lossFigure ? TwoPlaces(locale, (turnover / quantity - calculated) * quantity) : u"0"_s;
    }
    default:
        Q_ASSERT_X(false, "CalculatedPriceFigure", "no figure of the calculated price");
        return {};
    }
}

void ApplyCalculatedPriceFigures(PackedRow::Cells &row, const ArticleFigures &article, ArticleFill fill,
                                 const QLocale &locale)
{
    const double calculated = CellNumberOrZero(row[PositionColumn::PreisKalk], locale);
    for (int column : CalculatedPriceFigureColumns)
        row[column] = CalculatedPriceFigure(column, calculated, article, fill, locale);
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

ArticleShare::ArticleShare(const ArticleData &article, const QLocale &locale)
    : ArticleShare(article, false, locale)
{
}

ArticleShare::ArticleShare(const ArticleData &article, bool clearsEndDate, const QLocale &locale)
    : SharedCells(coveredBy(article, clearsEndDate),
                  Columns().set(PositionColumn::PreisExcl).set(PositionColumn::PreisKalk))
    , m_article(article)
    , m_locale(locale)
{
}

std::shared_ptr<const ArticleShare> ArticleShare::withoutEndDate() const
{
    return std::shared_ptr<const ArticleShare>(new ArticleShare(m_article, true, m_locale));
}

SharedCells::Columns ArticleShare::coveredBy(const ArticleData &article, bool clearsEndDate)
{
    Columns columns = ArticleCellColumns(article, ArticleFill::Search);
    for (int column : {PositionColumn::PreisIncl, PositionColumn::PreisKalkIncl})
        columns.set(column);
    for (int column : CalculatedPriceFigureColumns)
        columns.set(column);
    columns.set(PositionColumn::DatumBis, clearsEndDate);
    return columns;
}

const ArticleFigures &ArticleShare::figures() const
{
    // The figures are read back from the cells as the grid shows them.
    if (!m_figures)
        m_figures = ArticleFigures::of(ArticleCells(m_article, ArticleFill::Search, m_locale), m_locale);
    return *m_figures;
}

double ArticleShare::rowNumber(const PackedRow &row, int column) const
{
    if (const std::optional<double> number = row.ownDouble(column))
        return *number;
    return CellNumberOrZero(row.ownCell(column), m_locale);
}

std::optional<double> ArticleShare::number(const PackedRow &row, int column) const
{
    // The price incl. VAT as its cell reads, without the cell's text.
    if (column == PositionColumn::PreisIncl)
        return RoundedNumber(WithVat(rowNumber(row, PositionColumn::PreisExcl), m_article.vatPercent), 2);
    return SharedCells::number(row, column);
}

QVariant ArticleShare::cell(const PackedRow &row, int column) const
{
    // The VAT rate is the article's own: the cell holds it unformatted.
    switch (column) {
    case PositionColumn::DatumBis:
        return QString();
    case PositionColumn::PreisIncl:
        return TwoPlaces(m_locale, WithVat(rowNumber(row, PositionColumn::PreisExcl), m_article.vatPercent));
    case PositionColumn::PreisKalkIncl:
        return TwoPlaces(m_locale, WithVat(rowNumber(row, PositionColumn::PreisKalk), m_article.vatPercent));
    case PositionColumn::ListeProzent:
    case PositionColumn::Spanne:
    case PositionColumn::DBVerlust:
        return CalculatedPriceFigure(column, rowNumber(row, PositionColumn::PreisKalk), figures(),
                                     ArticleFill::Search, m_locale);
    default:
        return ArticleCell(m_article, column, m_locale);
    }
}

} // namespace tolven
