#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

#include <optional>

#include "common/CellNumber.h"
#include "objectapi/Numbers.h"
#include "positions/PackedRow.h"
#include "positions/PositionColumns.h"

namespace tolven {

// An article's data for a position as the server answers it: fields
// separated by "`"; a missing field is empty, numbers are read from the
// start of their field and count as 0 when there is none.
struct ArticleData
{
    bool known = false;    // the server knows the article for the firm
    QString description;   // display form
    double vatPercent = 0;
    double ownPrice = 0;   // incl. VAT
    QString collective;    // "J" for a collective article
    QString salesUnit;     // display form
    QString priceUnit;     // display form
    QString centralNumber;
    double grossPurchase = 0;
    double netPurchase = 0;
    double quantitySold = 0;
    double turnover = 0;   // net
    double discounts = 0;
    double cost = 0;

    static ArticleData parse(const QString &answer);
};

// The text the grid shows for a cell in a column with a number pattern: the
// cell's number in that pattern, the cell as it is when it holds no number.
QString DisplayNumberCell(const QVariant &cell, NumberPattern pattern, const QLocale &locale = QLocale());

// A price excl. VAT with vatPercent added.
double WithVat(double priceExcl, double vatPercent);
// numerator / divisor as "#####0.00 %", or "0" when divisor is 0.
QString PercentOrZero(double numerator, double divisor, const QLocale &locale = QLocale());

// Who fills a row with an article's data.
enum class ArticleFill {
    // The position search: a collective article, and an article the server
    // no longer knows, keep the description and internal price the position
    // holds; the calculated price stays.
    Search,
    // An article number reaching a row: everything is taken from the
    // article, and the calculated price starts at 0.
    ArticleNumber,
};

// Writes the article's data and the key figures derived from it into row:
// ArticleCells, then ApplyPriceFigures.
void ApplyArticleData(PackedRow::Cells &row, const ArticleData &article, ArticleFill fill,
                      const QLocale &locale = QLocale());
// The cells that follow from the article alone (the others hold no value):
// the same for every position of the article.
PackedRow::Cells ArticleCells(const ArticleData &article, ArticleFill fill, const QLocale &locale = QLocale());
// The columns of those cells, and one of them, made on its own.
SharedCells::Columns ArticleCellColumns(const ArticleData &article, ArticleFill fill);
QVariant ArticleCell(const ArticleData &article, int column, const QLocale &locale = QLocale());
// What the figures of a position's prices take from its article: the VAT
// rate and the article cells' numbers as the grid shows them.
struct ArticleFigures
{
    double vatPercent = 0;
    double grossPurchase = 0;
    double netPurchase = 0;
    double quantitySold = 0;
    double turnover = 0;

    static ArticleFigures of(const PackedRow::Cells &articleCells, const QLocale &locale = QLocale());
};
// The figures of the calculated price, each a column of its own: ListeProzent,
// Spanne, DBVerlust, in the order ApplyCalculatedPriceFigures writes them.
inline constexpr int CalculatedPriceFigureColumns[] = {PositionColumn::ListeProzent, PositionColumn::Spanne,
                                                       PositionColumn::DBVerlust};
// The cell of one of those columns for a row's calculated price.
QString CalculatedPriceFigure(int column, double calculated, const ArticleFigures &article, ArticleFill fill,
                              const QLocale &locale = QLocale());
// The prices incl. VAT and the figures of the calculated price, from the
// row's prices and its article's figures.
void ApplyPriceFigures(PackedRow::Cells &row, const ArticleFigures &article, ArticleFill fill,
                       const QLocale &locale = QLocale());
// The figures of the calculated price (columns 23 to 25) alone.
void ApplyCalculatedPriceFigures(PackedRow::Cells &row, const ArticleFigures &article, ArticleFill fill,
                                 const QLocale &locale = QLocale());
// Every cell of cells that holds a value, put into row.
void PutCells(PackedRow::Cells &row, const PackedRow::Cells &cells);

// What a search's positions of one article share (PackedRow::share): the
// article's cells and the figures of each row's prices, made as
// ApplyArticleData with ArticleFill::Search would write them, and, for a
// price type without an end date, an empty "Datum bis". Every cell is made
// when it is read.
class ArticleShare : public SharedCells
{
public:
    explicit ArticleShare(const ArticleData &article, const QLocale &locale = QLocale());
    // The same for the positions of a price type without an end date.
    std::shared_ptr<const ArticleShare> withoutEndDate() const;
    QVariant cell(const PackedRow &row, int column) const override;
    std::optional<double> number(const PackedRow &row, int column) const override;

private:
    ArticleShare(const ArticleData &article, bool clearsEndDate, const QLocale &locale);
    static Columns coveredBy(const ArticleData &article, bool clearsEndDate);
    const ArticleFigures &figures() const;
    double rowNumber(const PackedRow &row, int column) const;

    ArticleData m_article;
    QLocale m_locale;
    // Made when a figure of the calculated price is first read (the window
    // reads cells from one thread only).
    mutable std::optional<ArticleFigures> m_figures;
};

} // namespace tolven
