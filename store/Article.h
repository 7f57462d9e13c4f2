#pragma once

#include <QList>
#include <QString>

#include <optional>

#include "store/Decimal.h"

class QSqlQuery;

namespace store {

class Session;

// The article master record as the article methods of the positions need
// it, with its quantity tiers: from MengeAb on, the article costs Preis.
struct Article
{
    QString description;   // server form
    QString vat;
    QString collective;
    QString salesUnit;
    QString priceUnit;
    QString centralNumber;
    QString basePrice;
    QString grossPurchase;
    QString netPurchase;
    QString quantitySold;
    QString turnover;
    QString discounts;
    QString cost;
    struct Tier
    {
        Decimal from;
        Decimal price;
        qint64 saved;  // running number: the order saved
    };
    QList<Tier> tiers;  // in the order saved
};

// The select list that reads an article with its tiers, one row per tier:
// tv_artikel as a, joined with ArticleTierJoin; ArticleColumnCount columns.
extern const QString ArticleColumns;
extern const QString ArticleTierJoin;
inline constexpr int ArticleColumnCount = 16;

// Adds one row of ArticleColumns, starting at column first: the article's
// fields from its first row, a tier from each row that has one.
void AddArticleRow(const QSqlQuery &row, int first, std::optional<Article> &article);

// The article of a firm: from what the session read for the positions of its
// last query when it holds the article, else in one statement of its own.
// Nothing for an unknown article.
std::optional<Article> FindArticle(Session &session, const QString &firm, const QString &number);

} // namespace store
