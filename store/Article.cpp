#include "Article.h"

#include <QSqlQuery>

#include <algorithm>

#include "store/Session.h"

using namespace Qt::StringLiterals;

namespace store {

const QString ArticleColumns =
    u"a.p_bez, a.p_mwst, a.p_sammel, a.p_vke, a.p_vre, a.p_zanr, a.p_vkpreis, a.p_bruttoek, a.p_nettoek,"
    u" a.p_vkmenge, a.p_umsatz, a.p_rabatt, a.p_einsatz, s.p_mengeab, s.p_preis, s.obj_seq"_s;
const QString ArticleTierJoin =
    u"LEFT JOIN tv_artikelstaffel s ON s.firma = a.firma AND s.p_artnr = a.obj_key"_s;

void AddArticleRow(const QSqlQuery &row, int first, std::optional<Article> &article)
{
    if (!article) {
        article.emplace();
        QString *fields[] = {&article->description,  &article->vat,           &article->collective,
                             &article->salesUnit,    &article->priceUnit,     &article->centralNumber,
                             &article->basePrice,    &article->grossPurchase, &article->netPurchase,
                             &article->quantitySold, &article->turnover,      &article->discounts,
                             &article->cost};
        int column = first;
        for (QString *field : fields)
            *field = row.value(column++).toString();
    }
    const std::optional<Decimal> from = Decimal::parse(row.value(first + 13).toString());
    const std::optional<Decimal> price = Decimal::parse(row.value(first + 14).toString());
    if (!from || !price)
        return;
    // The database hands the tiers over in any order; which of two with the
    // same quantity counts must not depend on that.
    const Article::Tier tier{*from, *price, row.value(first + 15).toLongLong()};
    const auto later = std::find_if(article->tiers.begin(), article->tiers.end(),
                                    [&](const Article::Tier &other) { return other.saved > tier.saved; });
    article->tiers.insert(later, tier);
}

std::optional<Article> FindArticle(Session &session, const QString &firm, const QString &number)
{
    if (const std::optional<Article> *held = session.articleCache().find(firm, number))
        return *held;
    // One statement, so each call costs one round trip.
    Statement &query = session.statement(u"SELECT " + ArticleColumns + u" FROM tv_artikel a " + ArticleTierJoin
                                         + u" WHERE a.firma = ? AND a.obj_key = ?");
    query.addBindValue(firm);
    query.addBindValue(number);
    session.exec(query, u"Lesen des Artikels " + number);
    std::optional<Article> article;
    while (query.next())
        AddArticleRow(query.rows(), 0, article);
    query.finish();
    return article;
}

} // namespace store
