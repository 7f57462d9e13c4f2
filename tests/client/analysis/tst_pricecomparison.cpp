#include <QTest>

#include "analysis/OwnPrices.h"
#include "analysis/PriceComparison.h"
#include "analysis/PriceIndex.h"
#include "analysis/PriceMark.h"
#include "analysis/ValidPrice.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QDate Day(2026, 3, 2);

PricePosition Position(const QString &competitor, const QString &article, double price, double ownPrice,
                       const QDate &from = QDate(2026, 1, 1), const QDate &to = QDate(), double quantity = 1,
                       const QString &priceType = u"L"_s)
{
    PricePosition position;
    position.competitor = competitor;
    position.article = article;
    position.description = u"Artikel "_s + article;
    position.priceType = priceType;
    position.from = from;
    position.to = to;
    position.quantity = quantity;
    position.price = price;
    position.priceUnit = u"ST"_s;
    position.ownPrice = ownPrice;
    position.ownPriceUnit = u"ST"_s;
    return position;
}

QList<qsizetype> All(const PricePositions &positions)
{
    QList<qsizetype> indexes;
    for (qsizetype index = 0; index < positions.size(); ++index)
        indexes << index;
    return indexes;
}

} // namespace

// The evaluations' plain functions: which price holds on a day, how it
// stands to the own price, the comparison of all competitors, the index and
// the own prices at a quantity.
class TestPriceComparison : public QObject
{
    Q_OBJECT

private slots:
    void validPrice_data();
    void validPrice();
    void priceMark_data();
    void priceMark();
    void comparisonOfASmallFirm();
    void indexOfASmallFirm();
    void median_data();
    void median();
    void ownPriceAtAQuantity_data();
    void ownPriceAtAQuantity();
};

void TestPriceComparison::validPrice_data()
{
    QTest::addColumn<PricePositions>("positions");
    QTest::addColumn<int>("chosen");

    const QDate day = Day;
    QTest::newRow("none") << PricePositions{} << -1;
    QTest::newRow("starts on the day") << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, day)} << 0;
    QTest::newRow("starts the day after") << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, day.addDays(1))} << -1;
    QTest::newRow("ends on the day") << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-5), day)} << 0;
    QTest::newRow("ended the day before")
        << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-5), day.addDays(-1))} << -1;
    QTest::newRow("no start date") << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, QDate())} << -1;
    QTest::newRow("latest start wins, though dearer")
        << PricePositions{Position(u"A"_s, u"1"_s, 9, 12, day.addDays(-30)),
                          Position(u"A"_s, u"1"_s, 11, 12, day.addDays(-2)),
                          Position(u"A"_s, u"1"_s, 8, 12, day.addDays(3))}
        << 1;
    QTest::newRow("a later start that has ended does not count")
        << PricePositions{Position(u"A"_s, u"1"_s, 9, 12, day.addDays(-30)),
                          Position(u"A"_s, u"1"_s, 11, 12, day.addDays(-9), day.addDays(-2))}
        << 0;
    QTest::newRow("smallest quantity of the same start")
        << PricePositions{Position(u"A"_s, u"1"_s, 8, 12, day, {}, 50), Position(u"A"_s, u"1"_s, 10, 12, day, {}, 1),
                          Position(u"A"_s, u"1"_s, 9, 12, day, {}, 10)}
        << 1;
    QTest::newRow("of several price types the lowest")
        << PricePositions{Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-40), {}, 1, u"LISTE"_s),
                          Position(u"A"_s, u"1"_s, 9.5, 12, day.addDays(-3), day.addDays(3), 1, u"AKTION"_s),
                          Position(u"A"_s, u"1"_s, 9.9, 12, day.addDays(-1), {}, 1, u"MESSE"_s)}
        << 1;
    QTest::newRow("an older price of a type does not undercut its newer one")
        << PricePositions{Position(u"A"_s, u"1"_s, 7, 12, day.addDays(-40), {}, 1, u"LISTE"_s),
                          Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-3), {}, 1, u"LISTE"_s),
                          Position(u"A"_s, u"1"_s, 11, 12, day.addDays(-3), {}, 1, u"AKTION"_s)}
        << 1;
    PricePosition otherUnit = Position(u"A"_s, u"1"_s, 1, 12, day);
    otherUnit.priceUnit = u"SACK"_s;
    QTest::newRow("another price unit does not count")
        << PricePositions{otherUnit, Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-4))} << 1;
    PricePosition noPrice = Position(u"A"_s, u"1"_s, 0, 12, day);
    noPrice.price.reset();
    QTest::newRow("a position without a price does not count")
        << PricePositions{noPrice, Position(u"A"_s, u"1"_s, 10, 12, day.addDays(-4))} << 1;
}

void TestPriceComparison::validPrice()
{
    QFETCH(PricePositions, positions);
    QFETCH(int, chosen);
    QCOMPARE(ValidPrice(positions, All(positions), Day), qsizetype(chosen));
}

void TestPriceComparison::priceMark_data()
{
    QTest::addColumn<std::optional<double>>("price");
    QTest::addColumn<std::optional<double>>("ownPrice");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("ownUnit");
    QTest::addColumn<int>("relation");
    QTest::addColumn<QString>("text");

    using P = std::optional<double>;
    QTest::newRow("below") << P(8.76) << P(10.0) << u"ST"_s << u"ST"_s << int(PriceRelation::Below)
                           << u"12,4 % unter eigenem Preis"_s;
    QTest::newRow("above") << P(10.3) << P(10.0) << u"ST"_s << u"ST"_s << int(PriceRelation::Above)
                           << u"3,0 % über eigenem Preis"_s;
    // 0.1 + 0.2 is not 0.3 in binary; in cents the prices are equal.
    QTest::newRow("equal in cents") << P(0.1 + 0.2) << P(0.3) << u"ST"_s << u"ST"_s << int(PriceRelation::Equal)
                                    << u"gleich eigenem Preis"_s;
    QTest::newRow("one cent below") << P(9.99) << P(10.0) << u"ST"_s << u"ST"_s << int(PriceRelation::Below)
                                    << u"0,1 % unter eigenem Preis"_s;
    QTest::newRow("units differ in case only") << P(9.0) << P(10.0) << u"st"_s << u"ST"_s
                                               << int(PriceRelation::Below) << u"10,0 % unter eigenem Preis"_s;
    QTest::newRow("another unit") << P(9.0) << P(10.0) << u"SACK"_s << u"ST"_s << int(PriceRelation::OtherUnit)
                                  << u"nicht verglichen: Preis per SACK, eigener Preis per ST"_s;
    QTest::newRow("article's unit unknown") << P(9.0) << P(10.0) << u"SACK"_s << QString()
                                            << int(PriceRelation::Below) << u"10,0 % unter eigenem Preis"_s;
    QTest::newRow("no own price") << P(9.0) << P() << u"ST"_s << u"ST"_s << int(PriceRelation::NoOwnPrice)
                                  << u"nicht verglichen: kein eigener Preis"_s;
    QTest::newRow("own price 0") << P(9.0) << P(0.0) << u"ST"_s << u"ST"_s << int(PriceRelation::NoOwnPrice)
                                 << u"nicht verglichen: kein eigener Preis"_s;
    QTest::newRow("no price") << P() << P(10.0) << u"ST"_s << u"ST"_s << int(PriceRelation::NoPrice) << QString();
    QTest::newRow("price 0") << P(0.0) << P(10.0) << u"ST"_s << u"ST"_s << int(PriceRelation::NoPrice) << QString();
}

void TestPriceComparison::priceMark()
{
    QFETCH(std::optional<double>, price);
    QFETCH(std::optional<double>, ownPrice);
    QFETCH(QString, unit);
    QFETCH(QString, ownUnit);
    QFETCH(int, relation);
    QFETCH(QString, text);
    const PriceMark mark = ComparePrice(price, ownPrice, unit, ownUnit);
    QCOMPARE(int(mark.relation), relation);
    QCOMPARE(mark.text(QLocale(QLocale::German, QLocale::Germany)), text);
}

// Three articles, two competitors, worked out by hand:
//   article 1: own 10.00; A 9.00 (−10 %), B 11.50 (+15 %)
//   article 2: own 20.00; A 22.00 (+10 %), B 19.00 (−5 %); B's older 15.00 no longer holds
//   article 3: own 5.00;  A 4.00 (−20 %); B only in another unit
PricePositions SmallFirm()
{
    PricePosition otherUnit = Position(u"B"_s, u"3"_s, 3.0, 5.0);
    otherUnit.priceUnit = u"SACK"_s;
    return {Position(u"A"_s, u"1"_s, 9.0, 10.0),
            Position(u"B"_s, u"1"_s, 11.5, 10.0),
            Position(u"A"_s, u"2"_s, 22.0, 20.0),
            Position(u"B"_s, u"2"_s, 15.0, 20.0, QDate(2025, 1, 1), QDate(2025, 12, 31)),
            Position(u"B"_s, u"2"_s, 19.0, 20.0, QDate(2026, 2, 1)),
            Position(u"A"_s, u"3"_s, 4.0, 5.0),
            otherUnit};
}

void TestPriceComparison::comparisonOfASmallFirm()
{
    // Given in another order than the result, and an article number that
    // sorts by its value.
    PricePositions positions = SmallFirm();
    positions.prepend(Position(u"B"_s, u"10"_s, 30.0, 30.0));
    const PriceComparison comparison(positions, Day);
    QCOMPARE(comparison.competitors(), (QStringList{u"A"_s, u"B"_s}));
    QCOMPARE(comparison.rows().size(), 4);
    QStringList articles;
    for (const ComparisonRow &row : comparison.rows())
        articles << row.article;
    QCOMPARE(articles, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"10"_s}));

    const ComparisonRow &first = comparison.rows().at(0);
    QCOMPARE(first.ownPrice, std::optional<double>(10.0));
    QCOMPARE(first.cheapest, 0);
    QVERIFY(first.undercut());
    QCOMPARE(*comparison.chosen(0, 1)->price, 11.5);

    const ComparisonRow &second = comparison.rows().at(1);
    QCOMPARE(*comparison.chosen(1, 1)->price, 19.0);
    QCOMPARE(second.cheapest, 1);
    QCOMPARE(second.marks.at(1).percent, -5.0);

    const ComparisonRow &third = comparison.rows().at(2);
    QCOMPARE(third.chosen.at(1), qsizetype(-1));
    QCOMPARE(third.cheapest, 0);

    const ComparisonRow &fourth = comparison.rows().at(3);
    QCOMPARE(fourth.chosen.at(0), qsizetype(-1));
    QCOMPARE(int(fourth.marks.at(1).relation), int(PriceRelation::Equal));
    QVERIFY(!fourth.undercut());

    // A year earlier B's old price of article 2 held, and nothing of 2026.
    const PriceComparison earlier(positions, QDate(2025, 6, 1));
    QCOMPARE(earlier.rows().at(1).chosen.at(0), qsizetype(-1));
    QCOMPARE(*earlier.chosen(1, 1)->price, 15.0);
}

void TestPriceComparison::indexOfASmallFirm()
{
    const QList<CompetitorIndex> index = PriceIndexOf(PriceComparison(SmallFirm(), Day));
    QCOMPARE(index.size(), 2);
    const CompetitorIndex &a = index.at(0);
    QCOMPARE(a.competitor, u"A"_s);
    QCOMPARE(a.compared, 3);
    QCOMPARE(a.below, 2);
    QCOMPARE(a.above, 1);
    QCOMPARE(a.belowShare(), 200.0 / 3);
    QCOMPARE(a.medianPercent, -10.0);        // of −10, +10, −20
    QCOMPARE(a.meanPercent, -20.0 / 3);
    QCOMPARE(a.index, 35.0 / 35.0 * 100);    // (9 + 22 + 4) / (10 + 20 + 5)
    const CompetitorIndex &b = index.at(1);
    QCOMPARE(b.compared, 2);                 // article 3 only in another unit
    QCOMPARE(b.below, 1);
    QCOMPARE(b.above, 1);
    QCOMPARE(b.medianPercent, 5.0);          // of +15 and −5
    QCOMPARE(b.meanPercent, 5.0);
    QCOMPARE(b.index, 30.5 / 30.0 * 100);    // (11.50 + 19) / (10 + 20)

    // A competitor with nothing comparable has no figures.
    PricePositions positions{Position(u"C"_s, u"1"_s, 9.0, 10.0, Day.addDays(1))};
    const QList<CompetitorIndex> none = PriceIndexOf(PriceComparison(positions, Day));
    QCOMPARE(none.size(), 1);
    QCOMPARE(none.at(0).compared, 0);
    QCOMPARE(none.at(0).index, 0.0);
}

void TestPriceComparison::median_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("median");
    QTest::newRow("none") << QList<double>{} << 0.0;
    QTest::newRow("one") << QList<double>{-4.5} << -4.5;
    QTest::newRow("odd, unsorted") << QList<double>{7, -3, 1, 20, -8} << 1.0;
    QTest::newRow("even: the mean of the middle two") << QList<double>{10, -2, 4, 3} << 3.5;
    QTest::newRow("even, alike in the middle") << QList<double>{5, 1, 5, 9} << 5.0;
}

void TestPriceComparison::median()
{
    QFETCH(QList<double>, values);
    QFETCH(double, median);
    QCOMPARE(Median(values), median);
}

void TestPriceComparison::ownPriceAtAQuantity_data()
{
    QTest::addColumn<double>("quantity");
    QTest::addColumn<std::optional<double>>("price");
    using P = std::optional<double>;
    QTest::newRow("below the first tier") << 1.0 << P(11.90);
    QTest::newRow("on a tier") << 10.0 << P(10.71);
    QTest::newRow("between tiers") << 49.99 << P(10.71);
    // Two tiers from 50: the one saved first counts.
    QTest::newRow("highest tier") << 50.0 << P(9.95);
    QTest::newRow("far above") << 1e6 << P(9.95);
}

void TestPriceComparison::ownPriceAtAQuantity()
{
    QFETCH(double, quantity);
    QFETCH(std::optional<double>, price);
    const OwnPrices prices = OwnPrices::fromRows({{u"100001"_s, u"S{cke"_s, QString(), u"11.90"_s},
                                                  {u"100001"_s, u"S{cke"_s, u"50"_s, u"9.95"_s},
                                                  {u"100001"_s, u"S{cke"_s, u"10"_s, u"10.71"_s},
                                                  {u"100001"_s, u"S{cke"_s, u"50"_s, u"9.00"_s},
                                                  {u"100002"_s, u"ST"_s, QString(), QString()}});
    QCOMPARE(prices.priceAt(u"100001"_s, quantity), price);
    QCOMPARE(prices.priceUnit(u"100001"_s), u"Säcke"_s);
    QVERIFY(prices.knows(u"100002"_s));
    QCOMPARE(prices.priceAt(u"100002"_s, quantity), std::optional<double>());
    QVERIFY(!prices.knows(u"100003"_s));
}

QTEST_GUILESS_MAIN(TestPriceComparison)
#include "tst_pricecomparison.moc"
