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

void OwnPrices::add(const QString &number, const QString &unit, const QString &from, const QString &price)
{
    if (number.isEmpty())
        return;
    Article &article = m_articles[number];
    const std::optional<double> value = ServerNumber(price);
    if (from.isEmpty()) {
        article.priceUnit = ServerToDisplay(unit);
        article.basePrice = value;
    } else if (const std::optional<double> quantity = ServerNumber(from); quantity && value) {
        article.tiers << Tier{*quantity, *value};
    }
}

OwnPrices OwnPrices::fromRows(const QList<QStringList> &rows)
{
    OwnPrices prices;
    for (const QStringList &row : rows) {
        if (row.size() >= 4)
            prices.add(row.at(0), row.at(1), row.at(2), row.at(3));
    }
    return prices;
}

OwnPrices OwnPrices::read(const QString &firm)
{
    std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Eigenpreise"_s);
    result->execute({firm});
    OwnPrices prices;
    while (result->next())
        prices.add(result->getColumn(1), result->getColumn(2), result->getColumn(3), result->getColumn(4));
    CloseServerObject(result);
    return prices;
}

std::optional<double> OwnPrices::priceAt(const QString &article, double quantity) const
{
    std::optional<double> price;
    QString unit;
    find(article, quantity, price, unit);
    return price;
}

bool OwnPrices::find(const QString &article, double quantity, std::optional<double> &price, QString &unit) const
{
    const auto found = m_articles.constFind(article);
    if (found == m_articles.cend())
        return false;
    price = found->basePrice;
    std::optional<double> bestFrom;
    for (const Tier &tier : found->tiers) {
        if (tier.from <= quantity && (!bestFrom || tier.from > *bestFrom)) {
            bestFrom = tier.from;
            price = tier.price;
        }
    }
    unit = found->priceUnit;
    return true;
}

QString OwnPrices::priceUnit(const QString &article) const
{
    return m_articles.value(article).priceUnit;
}

} // namespace tolven
