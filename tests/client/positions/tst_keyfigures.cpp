#include <QDate>
#include <QLocale>
#include <QTest>

#include "positions/KeyFigures.h"
#include "positions/PackedRow.h"
#include "positions/PositionColumns.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

// An article answer from its 13 fields, "`" between them.
QString Answer(const QStringList &fields)
{
    return fields.join(u'`');
}

using Cells = QMap<int, QVariant>;

PackedRow::Cells RowOf(const Cells &cells)
{
    PackedRow::Cells row;
    for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell)
        row[cell.key()] = cell.value();
    return row;
}

} // namespace

Q_DECLARE_METATYPE(tolven::ArticleFill)

// The article data and key figures of a position row, in German notation:
// the figures the grid shows beside each competitor price.
class TestKeyFigures : public QObject
{
    Q_OBJECT

private slots:
    void answerFields();
    void articleFill_data();
    void articleFill();
    void keptByTheSearch_data();
    void keptByTheSearch();
    void fetchResetsTheCalculatedPriceAfterTheInclPrice();
    void displayedNumbers_data();
    void displayedNumbers();
    void packedCellsKeepTheirKind_data();
    void packedCellsKeepTheirKind();
};

void TestKeyFigures::answerFields()
{
    const ArticleData full = ArticleData::parse(
        Answer({u"Fliesenkleber"_s, u"19"_s, u"12.5x"_s, u"N"_s, u"St}ck"_s, u"Pal"_s, u"Z-1"_s, u"10"_s, u"7.5"_s,
                u"-3"_s, u""_s, u"abc"_s, u"800"_s}));
    QVERIFY(full.known);
    QCOMPARE(full.vatPercent, 19.0);
    QCOMPARE(full.ownPrice, 12.5);
    QCOMPARE(full.salesUnit, u"Stück"_s);
    QCOMPARE(full.netPurchase, 7.5);
    QCOMPARE(full.quantitySold, -3.0);
    QCOMPARE(full.turnover, 0.0);
    QCOMPARE(full.discounts, 0.0);
    QCOMPARE(full.cost, 800.0);

    const ArticleData short_ = ArticleData::parse(u"Sand`7"_s);
    QCOMPARE(short_.description, u"Sand"_s);
    QCOMPARE(short_.vatPercent, 7.0);
    QVERIFY(short_.centralNumber.isEmpty());
    QCOMPARE(short_.cost, 0.0);

    QVERIFY(!ArticleData::parse(QString()).known);
}

void TestKeyFigures::articleFill_data()
{
    QTest::addColumn<ArticleFill>("fill");
    QTest::addColumn<Cells>("before");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<Cells>("expected");

    const Cells empty;
    // Turnover 1000, discounts 250, cost 800.
    QTest::newRow("sales figures") << ArticleFill::Search << empty
                                   << QStringList{u"A"_s, u"19"_s, u"0"_s, u"N"_s, u""_s, u""_s, u""_s, u"0"_s,
                                                  u"0"_s, u"0"_s, u"1000"_s, u"250"_s, u"800"_s}
                                   << Cells{{PositionColumn::BRUmsatz, u"1250,00"_s},
                                            {PositionColumn::RabattProzent, u"20,00 %"_s},
                                            {PositionColumn::DBAbs, u"200,00"_s},
                                            {PositionColumn::DBProzent, u"20,00 %"_s},
                                            {PositionColumn::Nettoumsatz, 1000.0},
                                            // Sales without a sold quantity give no loss figure.
                                            {PositionColumn::DBVerlust, u"0"_s}};
    QTest::newRow("purchase discount") << ArticleFill::Search << empty
                                       << QStringList{u"A"_s, u"19"_s, u"0"_s, u"N"_s, u""_s, u""_s, u""_s, u"10"_s,
                                                      u"7.5"_s}
                                       << Cells{{PositionColumn::BruttoEK, u"10,00"_s},
                                                {PositionColumn::NettoEK, u"7,50"_s},
                                                {PositionColumn::Rabatt, u"25,00 %"_s}};
    QTest::newRow("incl. prices with the article's rate")
        << ArticleFill::Search << Cells{{PositionColumn::PreisExcl, u"12,50"_s}, {PositionColumn::PreisKalk, 80.0}}
        << QStringList{u"A"_s, u"16"_s, u"3.456"_s, u"N"_s, u"St}ck"_s, u"Pal"_s, u"4711"_s}
        << Cells{{PositionColumn::PreisIncl, u"14,50"_s},
                 {PositionColumn::PreisKalkIncl, u"92,80"_s},
                 {PositionColumn::IntPreis, u"3,46"_s},
                 {PositionColumn::MC, 16.0},
                 {PositionColumn::SAM, u"N"_s},
                 {PositionColumn::VKE, u"Stück"_s},
                 {PositionColumn::VRE, u"Pal"_s},
                 {PositionColumn::ZAnr, u"4711"_s},
                 {PositionColumn::ArtBez, u"A"_s}};
    QTest::newRow("every divisor zero") << ArticleFill::Search << empty << QStringList{u"A"_s}
                                        << Cells{{PositionColumn::Rabatt, u"0"_s},
                                                 {PositionColumn::RabattProzent, QVariant()},
                                                 {PositionColumn::DBProzent, u"0"_s},
                                                 {PositionColumn::ListeProzent, u"0"_s},
                                                 {PositionColumn::Spanne, u"0"_s},
                                                 {PositionColumn::DBVerlust, u"0"_s}};
    // Calculated 80 against gross 100 and net 50; 200 sold for 20 000.
    QTest::newRow("calculated price") << ArticleFill::Search << Cells{{PositionColumn::PreisKalk, 80.0}}
                                      << QStringList{u"A"_s, u"19"_s, u"0"_s, u"N"_s, u""_s, u""_s, u""_s,
                                                     u"100"_s, u"50"_s, u"200"_s, u"20000"_s, u"0"_s, u"0"_s}
                                      << Cells{{PositionColumn::ListeProzent, u"-20,00 %"_s},
                                               {PositionColumn::Spanne, u"37,50 %"_s},
                                               {PositionColumn::DBVerlust, u"4000,00"_s},
                                               {PositionColumn::RabattProzent, u"0,00 %"_s}};
    QTest::newRow("zero turnover, search") << ArticleFill::Search << Cells{{PositionColumn::PreisKalk, 5.0}}
                                           << QStringList{u"A"_s, u"19"_s, u"0"_s, u"N"_s, u""_s, u""_s, u""_s,
                                                          u"0"_s, u"0"_s, u"3"_s, u"0"_s, u"0"_s, u"0"_s}
                                           << Cells{{PositionColumn::DBProzent, u"0"_s},
                                                    {PositionColumn::RabattProzent, QVariant()},
                                                    {PositionColumn::DBVerlust, u"0"_s}};
    // The fetch sets the calculated price to 0, so the loss is the turnover
    // and the margin on the net price 0.
    QTest::newRow("fetch") << ArticleFill::ArticleNumber
                           << Cells{{PositionColumn::PreisKalk, 80.0}, {PositionColumn::RabattProzent, u"alt"_s}}
                           << QStringList{u"A"_s, u"19"_s, u"0"_s, u"N"_s, u""_s, u""_s, u""_s, u"100"_s, u"50"_s,
                                          u"4"_s, u"0"_s, u"0"_s, u"0"_s}
                           << Cells{{PositionColumn::PreisKalk, 0.0},
                                    {PositionColumn::ListeProzent, u"-100,00 %"_s},
                                    {PositionColumn::Spanne, u"0"_s},
                                    {PositionColumn::DBVerlust, u"0,00"_s},
                                    {PositionColumn::RabattProzent, u"alt"_s}};
}

void TestKeyFigures::articleFill()
{
    QFETCH(ArticleFill, fill);
    QFETCH(Cells, before);
    QFETCH(QStringList, fields);
    QFETCH(Cells, expected);

    PackedRow::Cells row = RowOf(before);
    ApplyArticleData(row, ArticleData::parse(Answer(fields)), fill, German);
    for (auto cell = expected.cbegin(); cell != expected.cend(); ++cell) {
        QCOMPARE(row[cell.key()].typeId(), cell.value().typeId());
        QCOMPARE(row[cell.key()], cell.value());
    }
}

void TestKeyFigures::keptByTheSearch_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<ArticleFill>("fill");
    QTest::addColumn<bool>("kept");

    const QString collective = Answer({u"Sammelartikel"_s, u"19"_s, u"9.99"_s, u"J"_s});
    QTest::newRow("collective, search") << collective << ArticleFill::Search << true;
    QTest::newRow("collective, fetch") << collective << ArticleFill::ArticleNumber << false;
    QTest::newRow("unknown article, search") << QString() << ArticleFill::Search << true;
    QTest::newRow("plain article, search") << Answer({u"Sammelartikel"_s, u"19"_s, u"9.99"_s, u"N"_s})
                                           << ArticleFill::Search << false;
}

// A collective article's positions carry their own text and internal price;
// so does a position whose article the server no longer has.
void TestKeyFigures::keptByTheSearch()
{
    QFETCH(QString, answer);
    QFETCH(ArticleFill, fill);
    QFETCH(bool, kept);

    PackedRow::Cells row = RowOf({{PositionColumn::ArtBez, u"Eigener Text"_s}, {PositionColumn::IntPreis, 4.5}});
    ApplyArticleData(row, ArticleData::parse(answer), fill, German);
    QCOMPARE(row[PositionColumn::ArtBez], kept ? QVariant(u"Eigener Text"_s) : QVariant(u"Sammelartikel"_s));
    QCOMPARE(row[PositionColumn::IntPreis], kept ? QVariant(4.5) : QVariant(u"9,99"_s));
}

void TestKeyFigures::fetchResetsTheCalculatedPriceAfterTheInclPrice()
{
    PackedRow::Cells row = RowOf({{PositionColumn::PreisKalk, u"100,00"_s}, {PositionColumn::PreisExcl, 10.0}});
    ApplyArticleData(row, ArticleData::parse(u"A`19"_s), ArticleFill::ArticleNumber, German);
    QCOMPARE(row[PositionColumn::PreisKalkIncl], QVariant(u"119,00"_s));
    QCOMPARE(row[PositionColumn::PreisIncl], QVariant(u"11,90"_s));
    QCOMPARE(row[PositionColumn::PreisKalk], QVariant(0.0));
}

void TestKeyFigures::displayedNumbers_data()
{
    QTest::addColumn<QVariant>("cell");
    QTest::addColumn<QString>("fourPlaces");

    QTest::newRow("number") << QVariant(12.5) << u"12,5000"_s;
    QTest::newRow("single precision") << QVariant(0.1f) << u"0,1000"_s;
    QTest::newRow("German text") << QVariant(u"12,5"_s) << u"12,5000"_s;
    QTest::newRow("server text") << QVariant(u"12.5"_s) << u"12,5000"_s;
    QTest::newRow("negative") << QVariant(-0.00005) << u"-0,0001"_s;
    QTest::newRow("empty") << QVariant(QString()) << QString();
    QTest::newRow("no value") << QVariant() << QString();
    QTest::newRow("not a number") << QVariant(u"k.A."_s) << u"k.A."_s;
}

void TestKeyFigures::displayedNumbers()
{
    QFETCH(QVariant, cell);
    QFETCH(QString, fourPlaces);
    QCOMPARE(DisplayNumberCell(cell, NumberPattern::FourPlaces, German), fourPlaces);
}

void TestKeyFigures::packedCellsKeepTheirKind_data()
{
    QTest::addColumn<QVariant>("value");

    QTest::newRow("no value") << QVariant();
    QTest::newRow("empty text") << QVariant(u""_s);
    QTest::newRow("text") << QVariant(u"Gr\u00f6\u00dfe \"10\"\t`|"_s);
    QTest::newRow("long text") << QVariant(QString(70000, u'x'));
    QTest::newRow("double") << QVariant(0.1 + 0.2);
    QTest::newRow("float") << QVariant(1.1f);
    QTest::newRow("int") << QVariant(-42);
    QTest::newRow("qlonglong") << QVariant(qlonglong(1) << 40);
    QTest::newRow("true") << QVariant(true);
    QTest::newRow("false") << QVariant(false);
    QTest::newRow("date") << QVariant(QDate(2026, 2, 28));
    QTest::newRow("no date") << QVariant(QDate());
}

void TestKeyFigures::packedCellsKeepTheirKind()
{
    QFETCH(QVariant, value);

    PackedRow::Cells cells;
    cells[PositionColumn::Konkur] = u"K1"_s;
    cells[PositionColumn::Notiz] = value;
    cells[PositionColumn::Nettoumsatz] = 3.0;
    const PackedRow row(cells);
    QCOMPARE(row.cell(PositionColumn::Notiz).typeId(), value.typeId());
    QCOMPARE(row.cell(PositionColumn::Notiz), value);
    QCOMPARE(row.cell(PositionColumn::Konkur), QVariant(u"K1"_s));
    QCOMPARE(row.cell(PositionColumn::Nettoumsatz), QVariant(3.0));

    const PackedRow changed = row.withCell(PositionColumn::Konkur, QVariant());
    QCOMPARE(changed.cell(PositionColumn::Konkur), QVariant());
    QCOMPARE(changed.cell(PositionColumn::Notiz), value);
}

QTEST_GUILESS_MAIN(TestKeyFigures)

#include "tst_keyfigures.moc"
