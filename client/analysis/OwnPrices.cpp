#include "OwnPrices.h"

#include <QLocale>

#include "access/cacheapi.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

std::optional<double> ServerNumber(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

OwnPrices OwnPrices::fromRows(const QList<QStringList> &rows)
{
    OwnPrices prices;
    for (const QStringList &row : rows) {
        if (row.size() < 4 || row.at(0).isEmpty())
            continue;
        Article &article = prices.m_articles[row.at(0)];
        const std::optional<double> price = ServerNumber(row.at(3));
        if (row.at(2).isEmpty()) {
            article.priceUnit = ServerToDisplay(row.at(1));
            article.basePrice = price;
        } else if (const std::optional<double> from = ServerNumber(row.at(2)); from && price) {
            article.tiers << Tier{*from, *price};
        }
    }
    return prices;
}

OwnPrices OwnPrices::read(const QString &firm)
{
    std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Eigenpreise"_s);
    result->execute({firm});
    QList<QStringList> rows;
    while (result->next())
        rows << QStringList{result->getColumn(1), result->getColumn(2), result->getColumn(3), result->getColumn(4)};
    CloseServerObject(result);
    return fromRows(rows);
}

std::optional<double> OwnPrices::priceAt(const QString &article, double quantity) const
{
    const auto found = m_articles.constFind(article);
    if (found == m_articles.cend())
        return std::nullopt;
    std::optional<double> price = found->basePrice;
    std::optional<double> bestFrom;
    for (const Tier &tier : found->tiers) {
        if (tier.from <= quantity && (!bestFrom || tier.from > *bestFrom)) {
            bestFrom = tier.from;
            price = tier.price;
        }
    }
    return price;
}

QString OwnPrices::priceUnit(const QString &article) const
{
    return m_articles.value(article).priceUnit;
}

} // namespace tolven
