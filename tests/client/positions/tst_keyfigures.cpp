#include <QDate>
#include <QLocale>
#include <QTest>

#include "common/CellNumber.h"
#include "objectapi/Numbers.h"
#include "positions/KeyFigures.h"
#include "positions/PositionSearch.h"
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
    void builtCellsReadAsResultCells_data();
    void builtCellsReadAsResultCells();
    void roundedNumberReadsAsItsText_data();
    void roundedNumberReadsAsItsText();
    void sharedCellsReadAsWrittenCells_data();
    void sharedCellsReadAsWrittenCells();
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

void TestKeyFigures::builtCellsReadAsResultCells_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("date");

    QTest::newRow("plain") << u"12.5"_s << u"2026-02-28"_s;
    QTest::newRow("negative, integer") << u"-3"_s << u"1999-12-31"_s;
    QTest::newRow("minus zero") << u"-0"_s << u"2024-02-29"_s;
    QTest::newRow("point only") << u"."_s << u"2023-02-29"_s;
    QTest::newRow("leading point") << u".5"_s << u"2026-13-01"_s;
    QTest::newRow("exponent") << u"1e5"_s << u"2026-1-01"_s;
    QTest::newRow("blanks") << u" 12 "_s << u" 2026-01-01"_s;
    QTest::newRow("German") << u"12,5"_s << u"01.02.2026"_s;
    QTest::newRow("two points") << u"1.2.3"_s << u"2026-0a-01"_s;
    QTest::newRow("long digits") << QString(40, u'9') << u"0000-01-01"_s;
    QTest::newRow("too large") << u"1e400"_s << u"9999-12-31"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("text") << u"k.A."_s << u"k.A."_s;
}

// A search packs the server's texts directly; every cell must read as the
// result's cells made the plain way.
void TestKeyFigures::builtCellsReadAsResultCells()
{
    QFETCH(QString, number);
    QFETCH(QString, date);

    const auto column = [&](int n) -> QString {
        switch (n) {
        case 9:
        case 11:
            return number;
        case 7:
        case 16:
            return date;
        default:
            return u"Spalte "_s + QString::number(n);
        }
    };
    const PackedRow plain(PositionSearch::RowFromResult(column));
    const PackedRow built = PositionSearch::RowFromTexts(column);
    for (int cell = 0; cell < PositionColumnCount; ++cell) {
        QCOMPARE(built.cell(cell).typeId(), plain.cell(cell).typeId());
        QCOMPARE(built.cell(cell), plain.cell(cell));
        QCOMPARE(built.kind(cell), plain.kind(cell));
        QCOMPARE(built.number(cell), CellNumber(plain.cell(cell), German));
    }
}

void TestKeyFigures::roundedNumberReadsAsItsText_data()
{
    QTest::addColumn<double>("value");

    for (const double value : {0.0, 0.005, 0.015, 1.005, 2.675, -2.675, -0.004, 11.899999999999999, 1e15 + 0.125,
                               123456.785, 0.1 + 0.2, 1.0 / 3.0, -1e-300, 4503599627370497.0})
        QTest::addRow("%.17g", value) << value;
}

// The mark compares the price incl. VAT as its cell reads.
void TestKeyFigures::roundedNumberReadsAsItsText()
{
    QFETCH(double, value);
    const QString text = FormatNumber(value, NumberPattern::TwoPlaces, German);
    const std::optional<double> read = CellNumber(text, German);
    QVERIFY(read);
    QCOMPARE(RoundedNumber(value, 2), *read);
}

void TestKeyFigures::sharedCellsReadAsWrittenCells_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("clearsEndDate");
    QTest::addColumn<QVariant>("priceExcl");
    QTest::addColumn<QVariant>("calculated");

    const QString sold = Answer({u"Zement"_s, u"19"_s, u"10"_s, u"N"_s, u"St}ck"_s, u"Pal"_s, u"Z-1"_s, u"10"_s,
                                 u"7.5"_s, u"200"_s, u"1000"_s, u"250"_s, u"800"_s});
    QTest::newRow("sold article") << sold << false << QVariant(12.5) << QVariant(80.0);
    QTest::newRow("without end date") << sold << true << QVariant(12.5) << QVariant(80.0);
    QTest::newRow("prices as text") << sold << false << QVariant(u"12,5"_s) << QVariant(u"k.A."_s);
    QTest::newRow("no prices") << sold << false << QVariant() << QVariant();
    QTest::newRow("collective") << Answer({u"Sammel"_s, u"7"_s, u"5"_s, u"J"_s}) << false << QVariant(3.0)
                                << QVariant(2.0);
    QTest::newRow("unknown article") << QString() << true << QVariant(3.0) << QVariant(0.0);
    QTest::newRow("sales without quantity")
        << Answer({u"R}ckl{ufer"_s, u"19"_s, QString(), u"N"_s, QString(), QString(), QString(), QString(), QString(),
                   u"0"_s, u"500"_s, QString(), u"400"_s})
        << false << QVariant(1.0) << QVariant(1.0);
}

// A row sharing its article's cells reads as the row the article's data was
// written into, and keeps reading so once changed.
void TestKeyFigures::sharedCellsReadAsWrittenCells()
{
    QFETCH(QString, answer);
    QFETCH(bool, clearsEndDate);
    QFETCH(QVariant, priceExcl);
    QFETCH(QVariant, calculated);

    const PackedRow::Cells own = RowOf({{PositionColumn::ArtBez, u"Eigener Text"_s},
                                        {PositionColumn::IntPreis, 4.5},
                                        {PositionColumn::DatumBis, QDate(2026, 12, 31)},
                                        {PositionColumn::PreisIncl, u"alt"_s},
                                        {PositionColumn::PreisExcl, priceExcl},
                                        {PositionColumn::PreisKalk, calculated}});
    PackedRow::Cells written = own;
    if (clearsEndDate)
        written[PositionColumn::DatumBis] = QString();
    ApplyArticleData(written, ArticleData::parse(answer), ArticleFill::Search, German);
    const PackedRow::Cells articleCells = ArticleCells(ArticleData::parse(answer), ArticleFill::Search, German);
    const SharedCells::Columns articleColumns = ArticleCellColumns(ArticleData::parse(answer), ArticleFill::Search);
    for (int column = 0; column < PositionColumnCount; ++column)
        QCOMPARE(articleColumns.test(column), articleCells[column].isValid());

    const auto share = std::make_shared<ArticleShare>(ArticleData::parse(answer), German);
    PackedRow row(own);
    row.share(clearsEndDate ? std::shared_ptr<const SharedCells>(share->withoutEndDate()) : share);
    const PackedRow changed = row.withCell(PositionColumn::Notiz, u"neu"_s);
    for (int column = 0; column < PositionColumnCount; ++column) {
        QCOMPARE(row.cell(column).typeId(), written[column].typeId());
        QCOMPARE(row.cell(column), written[column]);
        QCOMPARE(row.number(column), CellNumber(written[column], German));
        if (column != PositionColumn::Notiz)
            QCOMPARE(changed.cell(column), written[column]);
    }
}

QTEST_GUILESS_MAIN(TestKeyFigures)

#include "tst_keyfigures.moc"
