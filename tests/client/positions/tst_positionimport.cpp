#include <QDate>
#include <QTest>

#include "output/SheetFile.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionImport.h"
#include "positions/PositionModel.h"
#include "positions/PositionValidation.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QLocale German(QLocale::German, QLocale::Germany);

// Description, VAT, own price, collective, sales unit, price unit, central
// number, gross and net purchase, sold, turnover, discounts, cost.
const QHash<QString, QString> Articles{
    {u"200001"_s, u"Zement 25 kg`19`5.95`N`Sack`Sack`4711`10`7.5`200`1000`250`800"_s},
    {u"200002"_s, u"Sammelartikel`7`1`J`Stk`Stk`4712`0`0`0`0`0`0"_s},
    {u"200005"_s, u"Kies`19`2`N`t`t`9999`0`0`0`0`0`0"_s},
    {u"200006"_s, u"Splitt`19`2`N`t`t`9999`0`0`0`0`0`0"_s},
};

const QStringList ExportHeader{u"Konkurerber"_s, u"Artnr"_s, u"Bezeichnung"_s, u"Datum ab"_s, u"Datum bis"_s,
                               u"Menge ab"_s, u"ME"_s, u"Konkur Preis incl"_s, u"int. Preis incl."_s, u"PE"_s,
                               u"Mwstproz"_s};
const QStringList GridHeader{u"Konkur"_s, u"Art-Nr"_s, u"Preistyp"_s, u"Datum ab"_s, u"Datum bis"_s,
                             u"Menge ab"_s, u"Preis excl."_s, u"Preis incl."_s, u"Notiz"_s};

// The server as the import sees it: the articles above, each question
// recorded.
struct FakeServer
{
    QList<QList<ArticleQuestion>> calls;
    bool fails = false;

    ArticleLookup lookup()
    {
        return [this](const QList<ArticleQuestion> &questions) -> std::optional<QList<ArticleAnswer>> {
            calls << questions;
            if (fails)
                return std::nullopt;
            QList<ArticleAnswer> answers;
            for (const ArticleQuestion &question : questions) {
                QStringList found;
                for (auto article = Articles.cbegin(); article != Articles.cend(); ++article) {
                    if (question.number.isEmpty() ? article->section(u'`', 6, 6) == question.centralNumber
                                                  : article.key() == question.number)
                        found << article.key();
                }
                if (found.size() > 1)
                    answers << ArticleAnswer{ArticleAnswer::Ambiguous, {}, {}};
                else if (found.isEmpty())
                    answers << ArticleAnswer{};
                else
                    answers << ArticleAnswer{ArticleAnswer::Found, found.constFirst(), Articles.value(found.constFirst())};
            }
            return answers;
        };
    }
};

SheetTable Sheet(const QStringList &header, const QList<QVariantList> &rows)
{
    SheetTable sheet{header, rows, {}};
    for (qsizetype i = 0; i < rows.size(); ++i)
        sheet.lines << int(i + 2);
    return sheet;
}

} // namespace

// The check of a file's rows before they reach the grid: how columns are
// found, articles, competitors and price types matched, prices completed,
// and every reason a row is refused.
class TestPositionImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusals_data();
    void refusals();
    void exportAndGridCaptionsGiveTheSameRow();
    void missingColumnsRefuseTheFile();
    void prices_data();
    void prices();
    void priceType_data();
    void priceType();
    void collectiveArticleTakesTheFilesTexts();
    void rowsAreCompleteNewPositions();
    void oneLookupForAllRows();
    void serverErrorTakesNothing();

private:
    ImportResult check(const SheetTable &sheet, const QString &priceType = u"L"_s);

    LookupTable m_competitors{{u"Code"_s, u"Konkurerber"_s}};
    LookupTable m_priceTypes{{u"Code"_s, u"Preistyp"_s}, 1};
    PositionModel m_grid;
    FakeServer m_server;
};

void TestPositionImport::initTestCase()
{
    QLocale::setDefault(German);
    m_competitors.setRows({{u"WERKHOF"_s, u"Werkhof Markt"_s}, {u"MOORBAU"_s, u"Moorbau GmbH"_s}});
    m_priceTypes.setRows({{u"L"_s, u"Listenpreis"_s, u"N"_s}, {u"A"_s, u"Aktion"_s, u"J"_s}});
    PositionModel::Row stored(PositionColumnCount);
    stored[PositionColumn::Konkur] = u"MOORBAU"_s;
    stored[PositionColumn::Artnr] = u"200001"_s;
    stored[PositionColumn::Preistyp] = u"L"_s;
    stored[PositionColumn::DatumAb] = QDate(2026, 1, 1);
    stored[PositionColumn::MengeAb] = 5.0;
    stored[PositionColumn::UID] = u"7||1"_s;
    m_grid.appendRow(stored);
}

ImportResult TestPositionImport::check(const SheetTable &sheet, const QString &priceType)
{
    ImportContext context;
    context.competitors = &m_competitors;
    context.priceTypes = &m_priceTypes;
    context.priceType = priceType;
    context.grid = &m_grid;
    return CheckImport(sheet, context, m_server.lookup(), German);
}

void TestPositionImport::refusals_data()
{
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<QStringList>("refusals");
    QTest::addColumn<int>("accepted");

    // Konkur, Art-Nr, Preistyp, Datum ab, Datum bis, Menge ab, Preis excl., Preis incl., Notiz
    const auto row = [](const QVariantList &changes) {
        QVariantList cells{u"WERKHOF"_s, u"200001"_s, u"L"_s, u"01.03.2026"_s, QVariant(), u"1"_s, QVariant(), u"12,50"_s,
                           QVariant()};
        for (qsizetype i = 0; i + 1 < changes.size(); i += 2)
            cells[changes.at(i).toInt()] = changes.at(i + 1);
        return cells;
    };
    QTest::newRow("unknown article") << QList<QVariantList>{row({1, u"4100999"_s})}
                                     << QStringList{u"Zeile 2: Artikel 4100999 unbekannt"_s} << 0;
    QTest::newRow("a date that does not exist") << QList<QVariantList>{row({3, u"31.02.2026"_s})}
                                                << QStringList{u"Zeile 2: kein gültiges Datum: 31.02.2026"_s} << 0;
    QTest::newRow("an end date that is no date") << QList<QVariantList>{row({4, u"bald"_s})}
                                                 << QStringList{u"Zeile 2: kein gültiges Datum: bald"_s} << 0;
    QTest::newRow("no start date") << QList<QVariantList>{row({3, QVariant()})}
                                   << QStringList{u"Zeile 2: kein Datum ab angegeben"_s} << 0;
    QTest::newRow("unknown competitor") << QList<QVariantList>{row({0, u"Baumarkt Nord"_s})}
                                        << QStringList{u"Zeile 2: Konkurerber Baumarkt Nord unbekannt"_s} << 0;
    QTest::newRow("no competitor") << QList<QVariantList>{row({0, u" "_s})}
                                   << QStringList{u"Zeile 2: kein Konkurerber angegeben"_s} << 0;
    QTest::newRow("no article") << QList<QVariantList>{row({1, QVariant()})}
                                << QStringList{u"Zeile 2: kein Artikel angegeben"_s} << 0;
    QTest::newRow("unknown price type") << QList<QVariantList>{row({2, u"Q"_s})}
                                        << QStringList{u"Zeile 2: Preistyp Q unbekannt"_s} << 0;
    QTest::newRow("a quantity that is no number") << QList<QVariantList>{row({5, u"zehn"_s})}
                                                  << QStringList{u"Zeile 2: keine gültige Zahl in „Menge ab“: zehn"_s}
                                                  << 0;
    QTest::newRow("a price that is no number") << QList<QVariantList>{row({7, u"12,50 €"_s})}
                                               << QStringList{u"Zeile 2: keine gültige Zahl in „Preis incl.“: 12,50 €"_s}
                                               << 0;
    QTest::newRow("no price") << QList<QVariantList>{row({7, QVariant()})}
                              << QStringList{u"Zeile 2: kein Preis angegeben"_s} << 0;
    QTest::newRow("a control character in the note")
        << QList<QVariantList>{row({8, u"a\u0007b"_s})}
        << QStringList{u"Zeile 2: „Notiz“ darf kein Steuerzeichen (U+0007) enthalten (Zeichen 2)."_s}
        << 0;
    QTest::newRow("the same row twice in the file")
        << QList<QVariantList>{row({}), row({6, u"13"_s}), row({5, u"1,000"_s, 3, QDate(2026, 3, 1)})}
        << QStringList{u"Zeile 3: identisch mit Zeile 2 der Datei"_s, u"Zeile 4: identisch mit Zeile 2 der Datei"_s}
        << 1;
    QTest::newRow("a position the grid holds")
        << QList<QVariantList>{row({0, u"Moorbau GmbH"_s, 3, u"01.01.2026"_s, 5, 5.0})}
        << QStringList{u"Zeile 2: identisch mit einer Position im Raster"_s} << 0;
    QTest::newRow("refused and accepted rows side by side")
        << QList<QVariantList>{row({1, u"1"_s}), row({}), row({3, u"x"_s}), row({2, u"A"_s})}
        << QStringList{u"Zeile 2: Artikel 1 unbekannt"_s, u"Zeile 4: kein gültiges Datum: x"_s} << 2;
}

void TestPositionImport::refusals()
{
    QFETCH(QList<QVariantList>, rows);
    const ImportResult result = check(Sheet(GridHeader, rows));
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QFETCH(QStringList, refusals);
    QCOMPARE(result.refusals, refusals);
    QFETCH(int, accepted);
    QCOMPARE(result.rows.size(), accepted);
    QCOMPARE(result.lines.size(), accepted);
}

void TestPositionImport::exportAndGridCaptionsGiveTheSameRow()
{
    // The export names the competitor by name and the article by its central number.
    const ImportResult exported =
        check(Sheet(ExportHeader + QStringList{u"Bemerkung"_s},
                    {{u"Werkhof Markt"_s, u"4711"_s, u"Zement"_s, u"01.03.2026"_s, u"31.12.2026"_s, u"10,0000"_s,
                      u"Sack"_s, u"12,50"_s, u"5,95"_s, u"Sack"_s, u"19"_s, u"egal"_s}}));
    QCOMPARE(exported.ignoredColumns, QStringList{u"Bemerkung"_s});
    const ImportResult grid = check(
        Sheet(GridHeader + QStringList{u"Brutto-EK"_s},
              {{u"WERKHOF"_s, 200001.0, u"L"_s, QDate(2026, 3, 1), QVariant(), 10.0, QVariant(), 12.5, QVariant(), 99.0}}));
    QCOMPARE(grid.ignoredColumns, QStringList{u"Brutto-EK"_s});
    QCOMPARE(exported.refusals, QStringList());
    QCOMPARE(grid.refusals, QStringList());
    QCOMPARE(exported.rows.size(), 1);
    QCOMPARE(grid.rows.size(), 1);
    for (int column = 0; column < PositionColumnCount; ++column)
        QCOMPARE(exported.rows.at(0).cell(column), grid.rows.at(0).cell(column));
    QCOMPARE(grid.rows.at(0).cell(PositionColumn::Artnr), u"200001"_s);
}

void TestPositionImport::missingColumnsRefuseTheFile()
{
    m_server.calls.clear();
    const ImportResult result = check(Sheet({u"Art-Nr"_s, u"Datum"_s, u"Preis"_s}, {{u"200001"_s}}));
    QCOMPARE(result.error, u"Der Datei fehlen Spalten: „Konkurerber“ oder „Konkur“, „Datum ab“, „Preis excl.“ oder "
                           u"„Preis incl.“. Die erste Zeile muss die Spalten benennen, wie die Exportdatei oder das "
                           u"Raster sie nennt."_s);
    QVERIFY(result.rows.isEmpty());
    // Nothing is asked for a file that cannot be taken.
    QVERIFY(m_server.calls.isEmpty());
}

void TestPositionImport::prices_data()
{
    QTest::addColumn<QVariant>("excl");
    QTest::addColumn<QVariant>("incl");
    QTest::addColumn<QString>("shownExcl");
    QTest::addColumn<QString>("shownIncl");

    QTest::newRow("incl. gives excl.") << QVariant() << QVariant(u"12,50"_s) << u"10,5042"_s << u"12,50"_s;
    QTest::newRow("excl. gives incl.") << QVariant(u"10.5"_s) << QVariant() << u"10,5000"_s << u"12,50"_s;
    QTest::newRow("numbers of a sheet") << QVariant(2.0) << QVariant() << u"2,0000"_s << u"2,38"_s;
    QTest::newRow("both: excl. counts, as typed last") << QVariant(u"1"_s) << QVariant(u"99"_s) << u"1,0000"_s
                                                       << u"1,19"_s;
}

void TestPositionImport::prices()
{
    QFETCH(QVariant, excl);
    QFETCH(QVariant, incl);
    const ImportResult result = check(
        Sheet(GridHeader, {{u"WERKHOF"_s, u"200001"_s, u"L"_s, u"01.03.2026"_s, QVariant(), QVariant(), excl, incl}}));
    QCOMPARE(result.refusals, QStringList());
    QCOMPARE(result.rows.size(), 1);
    PositionModel model;
    model.setPackedRows(result.rows);
    QFETCH(QString, shownExcl);
    QFETCH(QString, shownIncl);
    QCOMPARE(model.index(0, PositionColumn::PreisExcl).data().toString(), shownExcl);
    QCOMPARE(model.index(0, PositionColumn::PreisIncl).data().toString(), shownIncl);
}

void TestPositionImport::priceType_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QVariant>("typeCell");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("priceType");
    QTest::addColumn<QVariant>("endDate");

    const QStringList noType = QStringList(GridHeader).replaceInStrings(u"Preistyp"_s, u"Sonstiges"_s);
    QTest::newRow("none in the file: the one chosen") << noType << QVariant() << u"A"_s << u"A"_s
                                                      << QVariant(QDate(2026, 12, 31));
    QTest::newRow("chosen without an end date: none") << noType << QVariant() << u"L"_s << u"L"_s
                                                      << QVariant(QString());
    QTest::newRow("the file's own") << GridHeader << QVariant(u"A"_s) << u"L"_s << u"A"_s
                                    << QVariant(QDate(2026, 12, 31));
    QTest::newRow("an empty cell: the one chosen") << GridHeader << QVariant() << u"A"_s << u"A"_s
                                                   << QVariant(QDate(2026, 12, 31));
}

void TestPositionImport::priceType()
{
    QFETCH(QStringList, header);
    QFETCH(QVariant, typeCell);
    QFETCH(QString, chosen);
    const ImportResult result = check(
        Sheet(header, {{u"WERKHOF"_s, u"200001"_s, typeCell, u"01.03.2026"_s, u"31.12.2026"_s, u"1"_s, u"1"_s}}), chosen);
    QCOMPARE(result.refusals, QStringList());
    QCOMPARE(result.rows.size(), 1);
    QFETCH(QString, priceType);
    QCOMPARE(result.rows.at(0).cell(PositionColumn::Preistyp), priceType);
    QFETCH(QVariant, endDate);
    QCOMPARE(result.rows.at(0).cell(PositionColumn::DatumBis), endDate);
}

void TestPositionImport::collectiveArticleTakesTheFilesTexts()
{
    const ImportResult result =
        check(Sheet(ExportHeader, {{u"MOORBAU"_s, u"4712"_s, u"Eigener Text"_s, u"01.03.2026"_s, QVariant(), u"1"_s,
                                    u"Pal"_s, u"10,70"_s, u"4,50"_s, QVariant(), u"7"_s},
                                   {u"MOORBAU"_s, u"4711"_s, u"Eigener Text"_s, u"01.03.2026"_s, QVariant(), u"1"_s,
                                    u"Pal"_s, u"10,70"_s, u"4,50"_s, u"Pal"_s, u"7"_s}}));
    QCOMPARE(result.refusals, QStringList());
    QCOMPARE(result.rows.size(), 2);
    const PackedRow &collective = result.rows.at(0);
    QCOMPARE(collective.cell(PositionColumn::ArtBez), u"Eigener Text"_s);
    QCOMPARE(collective.cell(PositionColumn::VKE), u"Pal"_s);
    QCOMPARE(collective.cell(PositionColumn::VRE), u"Pal"_s);
    QCOMPARE(collective.cell(PositionColumn::IntPreis).toDouble(), 4.5);
    QCOMPARE(collective.cell(PositionColumn::PreisExcl), u"10,0000"_s);
    // Any other article keeps its master data.
    const PackedRow &cement = result.rows.at(1);
    QCOMPARE(cement.cell(PositionColumn::ArtBez), u"Zement 25 kg"_s);
    QCOMPARE(cement.cell(PositionColumn::VKE), u"Sack"_s);
    QCOMPARE(cement.cell(PositionColumn::IntPreis).toDouble(), 5.95);
}

void TestPositionImport::rowsAreCompleteNewPositions()
{
    const ImportResult result = check(
        Sheet(GridHeader, {{u"WERKHOF"_s, u"200001"_s, u"L"_s, u"01.03.2026"_s, QVariant(), u"10"_s, QVariant(),
                            u"12,50"_s, u"Zeile\nzwei"_s}}));
    QCOMPARE(result.rows.size(), 1);
    PositionModel model;
    model.setPackedRows(result.rows);
    const auto shown = [&model](int column) { return model.index(0, column).data().toString(); };
    // New and to be saved: no id, no change date; nothing missing for a save.
    QCOMPARE(shown(PositionColumn::UID), QString());
    QCOMPARE(shown(PositionColumn::AendDatum), QString());
    QVERIFY(!FindSaveProblem(model));
    // The article's data and the key figures as the search shows them.
    QCOMPARE(shown(PositionColumn::ZAnr), u"4711"_s);
    QCOMPARE(shown(PositionColumn::BruttoEK), u"10,00"_s);
    QCOMPARE(shown(PositionColumn::Rabatt), u"25,00 %"_s);
    QCOMPARE(shown(PositionColumn::BRUmsatz), u"1250,00"_s);
    QCOMPARE(shown(PositionColumn::DBAbs), u"200,00"_s);
    QCOMPARE(shown(PositionColumn::DBProzent), u"20,00 %"_s);
    QCOMPARE(shown(PositionColumn::MengeAb), u"10,0000"_s);
    QCOMPARE(shown(PositionColumn::Notiz), u"Zeile\nzwei"_s);
    QCOMPARE(model.cell(0, PositionColumn::DatumAb), QVariant(QDate(2026, 3, 1)));
}

void TestPositionImport::oneLookupForAllRows()
{
    m_server.calls.clear();
    const ImportResult result = check(Sheet(
        ExportHeader, {{u"WERKHOF"_s, u"4711"_s, QVariant(), u"01.03.2026"_s, QVariant(), u"1"_s, QVariant(), u"1"_s},
                       {u"WERKHOF"_s, u"9999"_s, QVariant(), u"01.03.2026"_s, QVariant(), u"2"_s, QVariant(), u"1"_s},
                       {u"WERKHOF"_s, u"4711"_s, QVariant(), u"01.03.2026"_s, QVariant(), u"3,5"_s, QVariant(), u"1"_s}}));
    QCOMPARE(m_server.calls.size(), 1);
    const QList<ArticleQuestion> &asked = m_server.calls.constFirst();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked.at(0).centralNumber, u"4711"_s);
    QCOMPARE(asked.at(0).number, QString());
    QCOMPARE(asked.at(2).quantity, 3.5);
    QCOMPARE(result.refusals, QStringList{u"Zeile 3: Zentralartikelnummer 9999 gehört zu mehreren Artikeln"_s});
    QCOMPARE(result.lines, (QList<int>{2, 4}));
}

void TestPositionImport::serverErrorTakesNothing()
{
    m_server.fails = true;
    const ImportResult result =
        check(Sheet(GridHeader, {{u"WERKHOF"_s, u"200001"_s, u"L"_s, u"01.03.2026"_s, QVariant(), u"1"_s, u"1"_s},
                                 {u"WERKHOF"_s, u"200001"_s, u"L"_s, u"kaputt"_s, QVariant(), u"1"_s, u"1"_s}}));
    m_server.fails = false;
    QVERIFY(result.serverFailed);
    QVERIFY(result.rows.isEmpty());
    QVERIFY(result.refusals.isEmpty());
}

QTEST_MAIN(TestPositionImport)
#include "tst_positionimport.moc"
