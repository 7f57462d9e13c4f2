#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tolven {

// The firm's own prices incl. VAT of the articles that positions name, as the
// class query "Eigenpreise" of Konkur.Konkur answers them: per article its
// price unit, its base price and its quantity tiers. The price at a quantity
// is the one ArtikelPreis gives: the tier with the highest quantity not above
// it (of two alike, the one saved first), else the base price.
class OwnPrices
{
public:
    // Rows of the query: article number, price unit (server form), from
    // quantity (empty for the base price), price incl. VAT.
    static OwnPrices fromRows(const QList<QStringList> &rows);
    // Reads the query for firm; throws AccessError when the server fails.
    static OwnPrices read(const QString &firm);

    bool knows(const QString &article) const { return m_articles.contains(article); }
    // priceAt and priceUnit at once, in one look-up; false for an unknown article.
    bool find(const QString &article, double quantity, std::optional<double> &price, QString &unit) const;
    std::optional<double> priceAt(const QString &article, double quantity) const;
    // The article's price unit in display form; empty for an unknown article.
    QString priceUnit(const QString &article) const;
    qsizetype size() const { return m_articles.size(); }

private:
    // One row of the query.
    void add(const QString &number, const QString &unit, const QString &from, const QString &price);

    struct Tier
    {
        double from;
        double price;
    };
    struct Article
    {
        QString priceUnit;
        std::optional<double> basePrice;
        QList<Tier> tiers;  // in the order saved
    };
    QHash<QString, Article> m_articles;
};

} // namespace tolven
