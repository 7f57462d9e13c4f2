#include <QTest>

#include "analysis/OwnPrices.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using tolven::ErrorNumber;
using testsupport::Properties;

// The class queries of the evaluations on both databases: "Eigenpreise", the
// own prices of the positioned articles with their tiers in one result (the
// same price at every quantity as ArtikelPreis gives), and "Preisverlauf",
// every position of one article.
class TestEvaluationQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init() { m_fixture.begin(); }
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void positionedArticlesWithTheirTiers();
    void samePriceAsArtikelPreis_data();
    void samePriceAsArtikelPreis();
    void refusesAMalformedFirm();
    void historyHoldsEveryPositionOfTheArticle();
    void historyRefusesMalformedArguments();

private:
    void fillArticles();
    QString save(const QString &className, const Properties &properties)
    {
        return m_fixture.save(className, properties);
    }
    QList<QStringList> ownPriceRows()
    {
        return m_fixture.rows(u"Konkur.Konkur"_s, u"Eigenpreise"_s, {m_fixture.firm()});
    }

    testsupport::FirmFixture m_fixture;
};

void TestEvaluationQueries::fillArticles()
{
    const auto article = [this](const QString &number, const Properties &more) {
        save(u"TV.Artikel"_s, Properties{{u"Artnr"_s, number}, {u"Bez"_s, u"Artikel"_s}, {u"MwSt"_s, u"19"_s},
                                         {u"Sammel"_s, u"N"_s}, {u"VRE"_s, u"S{ck"_s}}
                                  + more);
    };
    const auto position = [this](const QString &number) {
        save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, number}, {u"Preistyp"_s, u"L"_s},
                                  {u"DatumAb"_s, u"2026-01-01"_s}, {u"PreisExcl"_s, u"9"_s}});
    };
    article(u"100001"_s, {{u"VKPreis"_s, u"10.00"_s}});
    // Saved out of order, and two from 50: the first saved counts.
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"50"_s}, {u"Preis"_s, u"8.36"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"10"_s}, {u"Preis"_s, u"9.00"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"50"_s}, {u"Preis"_s, u"7.00"_s}});
    article(u"100002"_s, {{u"VKPreis"_s, u"3.00"_s}});  // no position names it
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100002"_s}, {u"MengeAb"_s, u"2"_s}, {u"Preis"_s, u"1.00"_s}});
    article(u"100003"_s, {});  // without a price
    position(u"100001"_s);
    position(u"100001"_s);
    position(u"100003"_s);
    position(u"99"_s);  // not in the article master
}

void TestEvaluationQueries::positionedArticlesWithTheirTiers()
{
    fillArticles();
    const QString firm = m_fixture.firm();
    // Another firm's article of the same number counts for nothing here.
    m_fixture.setFirm(m_fixture.newFirm());
    save(u"TV.Artikel"_s, {{u"Artnr"_s, u"100003"_s}, {u"Bez"_s, u"Fremd"_s}, {u"VKPreis"_s, u"99"_s}});
    save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100002"_s}, {u"Preistyp"_s, u"L"_s}});
    m_fixture.setFirm(firm);

    const QList<QStringList> expected{{u"100001"_s, u"S{ck"_s, QString(), u"11.90"_s},
                                      {u"100001"_s, u"S{ck"_s, u"50"_s, u"9.95"_s},
                                      {u"100001"_s, u"S{ck"_s, u"10"_s, u"10.71"_s},
                                      {u"100001"_s, u"S{ck"_s, u"50"_s, u"8.33"_s},
                                      {u"100003"_s, u"S{ck"_s, QString(), QString()}};
    QCOMPARE(ownPriceRows(), expected);
}

void TestEvaluationQueries::samePriceAsArtikelPreis_data()
{
    QTest::addColumn<QString>("quantity");
    for (const QString &quantity : {u"0"_s, u"1"_s, u"9.99"_s, u"10"_s, u"49.999"_s, u"50"_s, u"100000"_s})
        QTest::newRow(qPrintable(quantity)) << quantity;
}

void TestEvaluationQueries::samePriceAsArtikelPreis()
{
    QFETCH(QString, quantity);
    fillArticles();
    const tolven::OwnPrices prices = tolven::OwnPrices::fromRows(ownPriceRows());
    QCOMPARE(prices.size(), 2);
    QCOMPARE(prices.priceUnit(u"100001"_s), u"Säck"_s);
    const QString answer =
        m_fixture.call(u"Konkur.Konkur"_s, u"ArtikelPreis"_s, {m_fixture.firm(), u"100001"_s, quantity});
    const std::optional<double> price = prices.priceAt(u"100001"_s, quantity.toDouble());
    QVERIFY(price);
    QCOMPARE(QString::number(*price, 'f', 2), answer);
    QCOMPARE(m_fixture.call(u"Konkur.Konkur"_s, u"ArtikelPreis"_s, {m_fixture.firm(), u"100003"_s, quantity}),
             QString());
    QVERIFY(!prices.priceAt(u"100003"_s, quantity.toDouble()));
}

void TestEvaluationQueries::refusesAMalformedFirm()
{
    std::unique_ptr<tolven::ResultSet> result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Eigenpreise"_s);
    EXPECT_ACCESS_ERROR(result->execute({u"x1"_s}), ErrorNumber::InvalidValue, u"Eigenpreise"_s);
    EXPECT_ACCESS_ERROR(result->execute({}), ErrorNumber::WrongArguments, u"Eigenpreise"_s);
}

void TestEvaluationQueries::historyHoldsEveryPositionOfTheArticle()
{
    fillArticles();
    // Another competitor, an old change date, another article, another firm.
    save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"MOORBAU"_s}, {u"Artnr"_s, u"100001"_s}, {u"Preistyp"_s, u"A"_s},
                              {u"DatumAb"_s, u"2025-06-01"_s}, {u"DatumBis"_s, u"2025-06-30"_s},
                              {u"PreisExcl"_s, u"8"_s}, {u"AendDatum"_s, u"2025-06-01"_s}});
    const QString firm = m_fixture.firm();
    m_fixture.setFirm(m_fixture.newFirm());
    save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}, {u"Preistyp"_s, u"L"_s}});
    m_fixture.setFirm(firm);

    const QList<QStringList> history = m_fixture.rows(u"Konkur.Konkur"_s, u"Preisverlauf"_s, {firm, u"100001"_s});
    // The same rows as the search for the article with no other filter.
    QCOMPARE(history,
             m_fixture.rows(u"Konkur.Konkur"_s, u"Konkur"_s, {firm, QString(), u"100001"_s, QString(), QString()}));
    QCOMPARE(history.size(), 3);
    QStringList competitors;
    for (const QStringList &row : history) {
        QCOMPARE(row.at(3), u"100001"_s);
        competitors << row.at(2);
    }
    QCOMPARE(competitors, (QStringList{u"MOORBAU"_s, u"WERKHOF"_s, u"WERKHOF"_s}));
    QCOMPARE(history.first().at(6), u"2025-06-01"_s);
    QCOMPARE(history.first().at(7), u"2025-06-30"_s);
    QCOMPARE(history.first().at(11), u"9.52"_s);
    QVERIFY(m_fixture.rows(u"Konkur.Konkur"_s, u"Preisverlauf"_s, {firm, u"100002"_s}).isEmpty());
}

void TestEvaluationQueries::historyRefusesMalformedArguments()
{
    std::unique_ptr<tolven::ResultSet> result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Preisverlauf"_s);
    EXPECT_ACCESS_ERROR(result->execute({m_fixture.firm(), QString()}), ErrorNumber::InvalidValue, u"Artikelnummer"_s);
    EXPECT_ACCESS_ERROR(result->execute({u"x1"_s, u"100001"_s}), ErrorNumber::InvalidValue, u"Firma"_s);
    EXPECT_ACCESS_ERROR(result->execute({m_fixture.firm()}), ErrorNumber::WrongArguments, u"Preisverlauf"_s);
}

QTEST_GUILESS_MAIN(TestEvaluationQueries)
#include "tst_evaluationqueries.moc"
