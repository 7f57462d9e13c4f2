#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <limits>
#include <map>

#include "objectapi/AccessError.h"
#include "objectapi/MLiteral.h"
#include "objectapi/TextConversion.h"
#include "store/Decimal.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;
namespace demo = store::demo;

namespace {

// A day that is never the day the test runs: the positions' dates must count
// back from the day given, not from the clock.
const QDate Today(2025, 2, 27);

const QChar EntrySeparator = QChar(0xFF);
const QChar FieldSeparator = u'`';

// Columns of the rows of query "Konkur" of Konkur.Konkur.
enum PositionColumn {
    Id = 1, Competitor = 3, ArticleNumber = 4, Text = 5, PriceType = 6, From = 7, Until = 8, Quantity = 9,
    SalesUnit = 10, PriceExcl = 11, Note = 13, CentralNumber = 14, OwnPrice = 15, Changed = 16,
};

// Fields of Konkur.Konkur.ArtikelDaten.
enum ArticleField { Description = 0, Collective = 3, ArticleSalesUnit = 4, ArticleCentralNumber = 6,
                    QuantitySold = 9, Turnover = 10 };

bool hasDisplayUmlaut(const QString &text)
{
    static const QRegularExpression umlaut(u"[äöüÄÖÜß]"_s);
    return text.contains(umlaut);
}

bool hasServerUmlaut(const QString &text)
{
    static const QRegularExpression umlaut(u"[{|}~\\[\\\\\\]]"_s);
    return text.contains(umlaut);
}

QString currentBackend()
{
    QFETCH_GLOBAL(QString, backend);
    return backend;
}

bool isZero(const QString &number)
{
    const std::optional<store::Decimal> value = store::Decimal::parse(number);
    return value && value->isZero();
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();

    void sameSizeAndDayGiveTheSameData();
    void sizesGiveTheCountsAsked_data();
    void sizesGiveTheCountsAsked();
    void badSizesAreRefusedBeforeWriting_data();
    void badSizesAreRefusedBeforeWriting();
    void defaultDemoReachesItsMinimums();
    void supplierAccountFindsItsSuppliers_data();
    void supplierAccountFindsItsSuppliers();
    void articleSearchFindsTheDocumentedPrefixes_data();
    void articleSearchFindsTheDocumentedPrefixes();
    void articlesWithoutSalesKeepTheirFigures_data();
    void articlesWithoutSalesKeepTheirFigures();
    void collectiveArticleCarriesItsOwnText();
    void positionsKeepDatesAndPriceTypes();
    void groupsAreNumberedByMainGroup();
    void masterDataIsStoredInItsForm_data();
    void masterDataIsStoredInItsForm();
    void firmTwoHasDataOfItsOwn();

private:
    using Rows = QList<QStringList>;
    static Rows rows(tolven::ServerFactory &factory, const QString &className, const QString &query,
                     const QStringList &arguments);
    Rows rows(const QString &className, const QString &query, const QStringList &arguments)
    {
        return rows(m_factory, className, query, arguments);
    }
    static QString xecute(tolven::ServerFactory &factory, const QString &command);
    static QStringList articleSearch(tolven::ServerFactory &factory, const QString &firm, const QString &key);
    static QStringList articleData(tolven::ServerFactory &factory, const QString &firm, const QString &number,
                                   const QString &quantity = u"1"_s);
    // Everything the client can read of a firm's demo data, one line per row.
    static QStringList snapshot(tolven::ServerFactory &factory);

    // The default demo of Today, filled once per database for the tests that
    // only read it; the tests that fill a size of their own get an empty one.
    std::map<QString, std::unique_ptr<testsupport::TestDatabase>> m_demo;
    std::unique_ptr<testsupport::TestDatabase> m_empty;
    store::StoreFactory m_factory;
};

void TestDemoData::init()
{
    static const QSet<QByteArray> fillingTests{"sameSizeAndDayGiveTheSameData", "sizesGiveTheCountsAsked",
                                               "badSizesAreRefusedBeforeWriting"};
    const QString backendName = currentBackend();
    if (fillingTests.contains(QTest::currentTestFunction())) {
        // There is one PostgreSQL database: a new one replaces the shared demo.
        m_demo.erase(backendName);
        TOLVEN_FRESH_DATABASE(m_empty, false);
        QVERIFY(m_factory.connectTo(m_empty->target()));
        return;
    }
    std::unique_ptr<testsupport::TestDatabase> &demo = m_demo[backendName];
    if (!demo) {
        TOLVEN_FRESH_DATABASE(demo, false);
        QVERIFY(m_factory.connectTo(demo->target()));
        try {
            store::FillDemoData(m_factory, {}, Today);
        } catch (const AccessError &e) {
            demo.reset();
            QFAIL(qPrintable(e.description()));
        }
        return;
    }
    QVERIFY(m_factory.connectTo(demo->target()));
}

void TestDemoData::cleanup()
{
    m_factory.disconnect();
    m_empty.reset();
}

TestDemoData::Rows TestDemoData::rows(tolven::ServerFactory &factory, const QString &className, const QString &query,
                                      const QStringList &arguments)
{
    auto resultSet = factory.openQuery(className, query);
    resultSet->execute(arguments);
    Rows result;
    while (resultSet->next()) {
        QStringList row{QString()};  // columns count from 1
        for (int column = 1; column <= resultSet->columnCount(); ++column)
            row << resultSet->getColumn(column);
        result << row;
    }
    resultSet->close();
    return result;
}

QString TestDemoData::xecute(tolven::ServerFactory &factory, const QString &command)
{
    return factory.classObject(u"TV.Windows"_s)->callMethod(u"Xecute"_s, {command});
}

QStringList TestDemoData::articleSearch(tolven::ServerFactory &factory, const QString &firm, const QString &key)
{
    xecute(factory, u"S FIRMA=" + firm + u",FIL=0,PERSONAL=\"MUELLER\"");
    QString page = xecute(factory, u"D GETARF^TVCLSU(" + tolven::MQuote(key) + u",\"\",\"\",\"\",\"\",\"\",\"\")");
    QStringList entries;
    while (!page.isEmpty()) {
        entries << page.split(EntrySeparator);
        page = xecute(factory, u"D GETARN^TVCLSU"_s);
    }
    return entries;
}

QStringList TestDemoData::articleData(tolven::ServerFactory &factory, const QString &firm, const QString &number,
                                      const QString &quantity)
{
    const QString data = factory.classObject(u"Konkur.Konkur"_s)
                                 ->callMethod(u"ArtikelDaten"_s, {firm, number, quantity});
    return data.split(FieldSeparator);
}

QStringList TestDemoData::snapshot(tolven::ServerFactory &factory)
{
    QStringList lines;
    auto add = [&](const QString &what, const Rows &result) {
        for (const QStringList &row : result)
            lines << what + u'\t' + row.join(u'\t');
    };
    for (const QString &firm : {u"1"_s, u"2"_s}) {
        add(u"Konkur"_s, rows(factory, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, {}, {}}));
        add(u"Artikelliste"_s, rows(factory, u"Konkur.Konkur"_s, u"Artikelliste"_s, {firm}));
        add(u"Mitbewerber"_s, rows(factory, u"Konkur.Par"_s, u"Konkur"_s, {firm}));
        add(u"Preistypen"_s, rows(factory, u"Konkur.Preistyp"_s, u"Preistyp"_s, {firm}));
        add(u"Lieferanten"_s, rows(factory, u"TV.Windows"_s, u"KkrSuche"_s, {firm, u"L"_s}));
        add(u"Kunden"_s, rows(factory, u"TV.Windows"_s, u"KkrSuche"_s, {firm, u"K"_s}));
        add(u"Sammelkonten"_s, rows(factory, u"TV.KontoSammelKontoKreis"_s, u"SaKontoBez"_s, {firm, {}, {}, {}}));
        // Every article with its figures and its price from 50 on (the tiers).
        for (const QString &entry : articleSearch(factory, firm, {})) {
            const QString number = entry.section(FieldSeparator, 0, 0);
            lines << u"Artikel\t" + entry + u'\t' + articleData(factory, firm, number, u"50"_s).join(u'\t');
        }
    }
    return lines;
}

void TestDemoData::sameSizeAndDayGiveTheSameData()
{
    // Filled twice, once in this row's database and once in an SQLite file:
    // on either database the same size and day read back line for line alike.
    const store::DemoSize size{demo::FixedArticleCount + 60, demo::FixedPositionCount + 250};
    store::FillDemoData(m_factory, size, Today);
    testsupport::TestDatabase other(u"SQLite"_s, false);
    store::StoreFactory otherFactory;
    otherFactory.connectTo(other.target());
    store::FillDemoData(otherFactory, size, Today);

    const QStringList first = snapshot(m_factory);
    const QStringList second = snapshot(otherFactory);
    QVERIFY2(first.size() > size.articles + size.positions, qPrintable(QString::number(first.size())));
    QCOMPARE(first, second);
}

void TestDemoData::sizesGiveTheCountsAsked_data()
{
    QTest::addColumn<int>("articles");
    QTest::addColumn<int>("positions");
    QTest::newRow("smallest") << demo::FixedArticleCount << demo::FixedPositionCount;
    QTest::newRow("small") << demo::FixedArticleCount + 37 << demo::FixedPositionCount + 141;
    QTest::newRow("positions crowded on few articles")
            << demo::FixedArticleCount << demo::FixedArticleCount * demo::MaxPositionsPerArticle;
}

void TestDemoData::sizesGiveTheCountsAsked()
{
    QFETCH(int, articles);
    QFETCH(int, positions);
    const QList<store::DemoCount> counts = store::FillDemoData(m_factory, {articles, positions}, Today);

    QCOMPARE(articleSearch(m_factory, u"1"_s, {}).size(), articles);
    QCOMPARE(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"1"_s, {}, {}, {}, {}}).size(), positions);
    // The size is firm 1's; firm 2 stays as it is.
    QCOMPARE(articleSearch(m_factory, u"2"_s, {}).size(), demo::Firm2Articles);
    QCOMPARE(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"2"_s, {}, {}, {}, {}}).size(), demo::Firm2Positions);

    // What FillDemoData says it wrote is what is there.
    QHash<QString, std::pair<int, int>> reported;
    for (const store::DemoCount &count : counts)
        reported.insert(count.className, {count.firm1, count.firm2});
    QCOMPARE(reported.value(u"TV.Artikel"_s), std::pair(articles, demo::Firm2Articles));
    QCOMPARE(reported.value(u"Konkur.Konkur"_s), std::pair(positions, demo::Firm2Positions));
    QCOMPARE(reported.value(u"TV.ParPersEdv"_s).first + reported.value(u"TV.ParPersEdv"_s).second,
             int(store::DemoLogins().size()));
}

void TestDemoData::badSizesAreRefusedBeforeWriting_data()
{
    QTest::addColumn<int>("articles");
    QTest::addColumn<int>("positions");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("message");
    const int articles = store::DemoSize{}.articles;
    const int positions = store::DemoSize{}.positions;
    QTest::newRow("fewer articles than the fixed ones")
            << demo::FixedArticleCount - 1 << positions << Today << u"Artikel"_s;
    QTest::newRow("no articles") << 0 << positions << Today << u"Artikel"_s;
    QTest::newRow("negative articles") << -5 << positions << Today << u"Artikel"_s;
    QTest::newRow("more articles than numbers") << demo::MaxArticles + 1 << positions << Today << u"Artikel"_s;
    QTest::newRow("fewer positions than the fixed ones")
            << articles << demo::FixedPositionCount - 1 << Today << u"Positionen"_s;
    QTest::newRow("no positions") << articles << 0 << Today << u"Positionen"_s;
    QTest::newRow("too many positions") << demo::MaxArticles << demo::MaxPositions + 1 << Today << u"Positionen"_s;
    QTest::newRow("positions without enough articles")
            << demo::FixedArticleCount << demo::FixedArticleCount * demo::MaxPositionsPerArticle + 1 << Today
            << u"mindestens " + QString::number(demo::FixedArticleCount + 1) + u" Artikel";
    QTest::newRow("no day") << articles << positions << QDate() << u"Tagesdatum"_s;
}

void TestDemoData::badSizesAreRefusedBeforeWriting()
{
    QFETCH(int, articles);
    QFETCH(int, positions);
    QFETCH(QDate, day);
    QFETCH(QString, message);
    EXPECT_ACCESS_ERROR(store::FillDemoData(m_factory, {articles, positions}, day), ErrorNumber::InvalidValue,
                        message);
    if (day.isValid())
        QVERIFY(store::DemoSizeError({articles, positions}).contains(message));

    // Nothing was written and no transaction was left open.
    QVERIFY(rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s}).isEmpty());
    QVERIFY(rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"1"_s, u"L"_s}).isEmpty());
    EXPECT_ACCESS_ERROR(xecute(m_factory, u"TCOMMIT"_s), ErrorNumber::TransactionState, u"TCOMMIT"_s);
}

void TestDemoData::defaultDemoReachesItsMinimums()
{
    QCOMPARE(articleSearch(m_factory, u"1"_s, {}).size(), store::DemoSize{}.articles);
    QCOMPARE(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"1"_s, {}, {}, {}, {}}).size(), store::DemoSize{}.positions);
    QVERIFY(rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"1"_s, u"L"_s}).size() >= demo::MinimumSuppliers);
    QVERIFY(rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"1"_s, u"K"_s}).size() >= demo::MinimumCustomers);

    // Competitors: codes of at most ten capitals, each once.
    const Rows competitors = rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s});
    QVERIFY(competitors.size() >= demo::MinimumCompetitors);
    const QRegularExpression code(u"^[A-Z]{1,10}$"_s);
    QSet<QString> codes;
    for (const QStringList &competitor : competitors) {
        QVERIFY2(code.match(competitor[2]).hasMatch(), qPrintable(competitor[2]));
        QVERIFY(!competitor[3].isEmpty());
        codes.insert(competitor[2]);
    }
    QCOMPARE(codes.size(), competitors.size());

    // Price types: both kinds, with and without an end date.
    const Rows priceTypes = rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"1"_s});
    QVERIFY(priceTypes.size() >= demo::MinimumPriceTypes);
    QSet<QString> flags;
    for (const QStringList &type : priceTypes)
        flags.insert(type[4]);
    QCOMPARE(flags, (QSet<QString>{u"J"_s, u"N"_s}));

    // Customer groups: two-digit numbers, each with customers.
    const Rows groups = rows(u"TV.ParKundenGruppen"_s, u"Gruppen"_s, {u"1"_s, {}, u"J"_s});
    QCOMPARE(groups.size(), demo::CustomerGroupCount);
    for (const QStringList &group : groups) {
        QVERIFY2(QRegularExpression(u"^[1-9][0-9]$"_s).match(group[1]).hasMatch(), qPrintable(group[1]));
        QVERIFY2(!rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"1"_s, u"K"_s, {}, group[1]}).isEmpty(),
                 qPrintable(group[1]));
    }
}

void TestDemoData::supplierAccountFindsItsSuppliers_data()
{
    QTest::addColumn<QString>("account");
    QTest::newRow("as a number") << u"7"_s;
    QTest::newRow("as written") << demo::SupplierAccount.toString();
    QTest::newRow("other leading zeros") << u"07"_s;
}

void TestDemoData::supplierAccountFindsItsSuppliers()
{
    QFETCH(QString, account);
    const Rows suppliers = rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"1"_s, u"L"_s, {}, account});
    QCOMPARE(suppliers.size(), demo::SuppliersInSupplierAccount);
    for (const QStringList &supplier : suppliers) {
        auto object = m_factory.openById(u"TV.Lieferant"_s, u"1||" + supplier[1]);
        QCOMPARE(object->property(u"SaKonto"_s), demo::SupplierAccount.toString());
    }
    // The account itself is listed among the supplier accounts.
    const Rows accounts = rows(u"TV.KontoSammelKontoKreis"_s, u"SaKontoBez"_s, {u"1"_s, u"L"_s, {}, {}});
    QVERIFY(std::any_of(accounts.begin(), accounts.end(),
                        [](const QStringList &row) { return row[1] == demo::SupplierAccount; }));
}

void TestDemoData::articleSearchFindsTheDocumentedPrefixes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    const int four = demo::FourArticlesCount;
    const int many = demo::ManyArticlesMinimum + 1;
    QTest::newRow("four") << demo::FourArticlesKey.toString() << four << four;
    QTest::newRow("four, lower case") << demo::FourArticlesKey.toString().toLower() << four << four;
    QTest::newRow("many") << demo::ManyArticlesKey.toString() << many << std::numeric_limits<int>::max();
    QTest::newRow("many, umlaut spelled out") << tolven::SearchKey(demo::ManyArticlesKey.toString()) << many
                                              << std::numeric_limits<int>::max();
}

void TestDemoData::articleSearchFindsTheDocumentedPrefixes()
{
    QFETCH(QString, key);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    const QStringList entries = articleSearch(m_factory, u"1"_s, key);
    QVERIFY2(entries.size() >= minimum && entries.size() <= maximum, qPrintable(QString::number(entries.size())));
    const QString searchKey = tolven::SearchKey(key);
    const QRegularExpression number(u"^[0-9]{6}$"_s);
    for (const QString &entry : entries) {
        const QStringList fields = entry.split(FieldSeparator);
        QCOMPARE(fields.size(), 3);
        QVERIFY2(number.match(fields[0]).hasMatch(), qPrintable(entry));
        QVERIFY2(!hasServerUmlaut(fields[1]), qPrintable(entry));
        QVERIFY2(!fields[2].isEmpty(), qPrintable(entry));
        auto article = m_factory.openById(u"TV.Artikel"_s, u"1||" + fields[0]);
        const QString shortName = article->callMethod(u"KurzbezLogicalToODBC"_s, {article->property(u"Kurzbez"_s)});
        QVERIFY2(tolven::SearchKey(shortName).startsWith(searchKey), qPrintable(shortName));
    }
}

void TestDemoData::articlesWithoutSalesKeepTheirFigures_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<bool>("turnover");
    QTest::newRow("never sold") << demo::UnsoldArticle.toString() << false;
    QTest::newRow("sold and taken back") << demo::ReturnedArticle.toString() << true;
}

void TestDemoData::articlesWithoutSalesKeepTheirFigures()
{
    QFETCH(QString, article);
    QFETCH(bool, turnover);
    const QStringList data = articleData(m_factory, u"1"_s, article);
    QCOMPARE(data.size(), 13);
    QVERIFY2(isZero(data[QuantitySold]), qPrintable(data[QuantitySold]));
    QVERIFY2(isZero(data[Turnover]) != turnover, qPrintable(data[Turnover]));
}

void TestDemoData::collectiveArticleCarriesItsOwnText()
{
    const QString number = demo::CollectiveArticle.toString();
    const QStringList data = articleData(m_factory, u"1"_s, number);
    QCOMPARE(data[Collective], u"J"_s);

    const Rows positions = rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"1"_s, {}, number, {}, {}});
    QVERIFY(std::any_of(positions.begin(), positions.end(),
                        [](const QStringList &row) { return row[Text] == demo::CollectiveText; }));
    for (const QStringList &row : positions) {
        QVERIFY2(row[Text] != data[Description], qPrintable(row[Text]));
        QVERIFY2(!row[OwnPrice].isEmpty(), qPrintable(row[Id]));
    }

    // The text is found by its words, however the umlaut is typed.
    for (const QString &word : {u"kantenschäden"_s, u"KANTENSCHAEDEN"_s}) {
        const Rows found = rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"1"_s, {}, {}, word, {}});
        QVERIFY2(std::any_of(found.begin(), found.end(),
                             [](const QStringList &row) { return row[Text] == demo::CollectiveText; }),
                 qPrintable(word));
    }
}

void TestDemoData::positionsKeepDatesAndPriceTypes()
{
    QSet<QString> competitors;
    for (const QStringList &row : rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s}))
        competitors.insert(row[2]);
    QHash<QString, bool> hasEndDate;
    for (const QStringList &row : rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"1"_s}))
        hasEndDate.insert(row[2], row[4] == u"J");

    const QDate earliest = Today.addDays(1 - demo::PositionDays);
    QSet<QString> keys;
    QHash<QString, QStringList> articles;
    QSet<QString> widelyPricedBy;
    QSet<QString> widelyPricedAs;
    int old = 0;
    int lastWeek = 0;
    int withUmlaut = 0;
    int withNote = 0;
    const Rows positions = rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"1"_s, {}, {}, {}, {}});
    for (const QStringList &row : positions) {
        const QString what = row.join(u' ');
        const QDate from = QDate::fromString(row[From], Qt::ISODate);
        const QDate changed = QDate::fromString(row[Changed], Qt::ISODate);
        QVERIFY2(from >= earliest && from <= Today, qPrintable(what));
        QVERIFY2(changed >= earliest && changed <= Today, qPrintable(what));
        QVERIFY2(competitors.contains(row[Competitor]), qPrintable(what));
        QVERIFY2(hasEndDate.contains(row[PriceType]), qPrintable(what));
        if (hasEndDate.value(row[PriceType]))
            QVERIFY2(QDate::fromString(row[Until], Qt::ISODate) >= from, qPrintable(what));
        else
            QVERIFY2(row[Until].isEmpty(), qPrintable(what));
        QVERIFY2(!store::Decimal::parse(row[PriceExcl]).value_or(store::Decimal()).isZero(), qPrintable(what));

        const QString key = QStringList{row[Competitor], row[ArticleNumber], row[PriceType], row[From],
                                        row[Quantity]}.join(u'|');
        QVERIFY2(!keys.contains(key), qPrintable(u"doppelt: " + key));
        keys.insert(key);

        // The position carries the article's unit and central number, and
        // its own text and price exactly when the article is collective.
        if (!articles.contains(row[ArticleNumber]))
            articles.insert(row[ArticleNumber], articleData(m_factory, u"1"_s, row[ArticleNumber]));
        const QStringList &article = articles[row[ArticleNumber]];
        QCOMPARE(row[SalesUnit], article[ArticleSalesUnit]);
        QCOMPARE(row[CentralNumber], article[ArticleCentralNumber]);
        const bool collective = article[Collective] == u"J";
        auto position = m_factory.openById(u"Konkur.Konkur"_s, row[Id]);
        QCOMPARE(position->property(u"ArtBez"_s).isEmpty(), !collective);
        QCOMPARE(position->property(u"IntPreis"_s).isEmpty(), !collective);

        old += from < Today.addDays(-demo::OldPositionDays) ? 1 : 0;
        lastWeek += changed >= Today.addDays(-7) ? 1 : 0;
        withUmlaut += hasDisplayUmlaut(row[Text]) ? 1 : 0;
        withNote += row[Note].isEmpty() ? 0 : 1;
        QVERIFY2(!hasServerUmlaut(row[Text]) && !hasServerUmlaut(row[Note]), qPrintable(what));
        if (row[ArticleNumber] == demo::WidelyPricedArticle) {
            widelyPricedBy.insert(row[Competitor]);
            widelyPricedAs.insert(row[PriceType]);
        }
    }
    QVERIFY(old > 0);
    QVERIFY(lastWeek > 0);
    QVERIFY(withUmlaut > 0);
    QVERIFY(withNote > 0);
    QCOMPARE(widelyPricedBy, competitors);
    QVERIFY(widelyPricedAs.size() >= 3);
    // Both kinds of price type occur.
    QVERIFY(std::any_of(positions.begin(), positions.end(), [](const QStringList &r) { return r[Until].isEmpty(); }));
    QVERIFY(std::any_of(positions.begin(), positions.end(), [](const QStringList &r) { return !r[Until].isEmpty(); }));
}

void TestDemoData::groupsAreNumberedByMainGroup()
{
    xecute(m_factory, u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s);
    const QStringList mainGroups = xecute(m_factory, u"d HGRP^TVCLSU"_s).split(EntrySeparator);
    QVERIFY(mainGroups.size() >= 10);
    for (const QString &mainGroup : mainGroups) {
        const QString number = mainGroup.section(FieldSeparator, 0, 0);
        QVERIFY2(QRegularExpression(u"^[1-9][0-9]*$"_s).match(number).hasMatch(), qPrintable(mainGroup));
        const QStringList subGroups = xecute(m_factory, u"d UGRP^TVCLSU(" + number + u')').split(EntrySeparator);
        QVERIFY2(subGroups.size() >= 2, qPrintable(mainGroup));
        for (const QString &subGroup : subGroups) {
            const int sub = subGroup.section(FieldSeparator, 0, 0).toInt();
            QVERIFY2(sub / 100 == number.toInt() && sub % 100 > 0, qPrintable(subGroup));
        }
        // Every main group has articles, found through it.
        const QString found = xecute(m_factory, u"D GETARF^TVCLSU(\"\",\"" + number + u"\",\"\",\"\",\"\",\"\",\"\")");
        QVERIFY2(!found.isEmpty(), qPrintable(mainGroup));
    }
}

void TestDemoData::masterDataIsStoredInItsForm_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<bool>("serverForm");
    // The master-data windows store what the user types as it is.
    QTest::newRow("competitors") << u"Konkur.Par"_s << u"Konkur"_s << QStringList{u"1"_s} << QList<int>{3} << false;
    QTest::newRow("price types") << u"Konkur.Preistyp"_s << u"Preistyp"_s << QStringList{u"1"_s} << QList<int>{3}
                                 << false;
    QTest::newRow("suppliers") << u"TV.Windows"_s << u"KkrSuche"_s << QStringList{u"1"_s, u"L"_s}
                               << QList<int>{2, 3, 5} << true;
    QTest::newRow("customers") << u"TV.Windows"_s << u"KkrSuche"_s << QStringList{u"1"_s, u"K"_s}
                               << QList<int>{2, 3, 5} << true;
    QTest::newRow("collective accounts") << u"TV.KontoSammelKontoKreis"_s << u"SaKontoBez"_s
                                         << QStringList{u"1"_s, {}, {}, {}} << QList<int>{2} << true;
    QTest::newRow("customer groups") << u"TV.ParKundenGruppen"_s << u"Gruppen"_s
                                     << QStringList{u"1"_s, {}, u"J"_s} << QList<int>{2} << true;
    QTest::newRow("units") << u"Konkur.Konkur"_s << u"Einheiten"_s << QStringList{u"1"_s} << QList<int>{3} << true;
    QTest::newRow("articles with positions") << u"Konkur.Konkur"_s << u"Artikelliste"_s << QStringList{u"1"_s}
                                             << QList<int>{2} << true;
}

void TestDemoData::masterDataIsStoredInItsForm()
{
    QFETCH(QString, className);
    QFETCH(QString, query);
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, columns);
    QFETCH(bool, serverForm);
    int withUmlaut = 0;
    for (const QStringList &row : rows(className, query, arguments)) {
        for (int column : columns) {
            const QString &text = row[column];
            QVERIFY2(!(serverForm ? hasDisplayUmlaut(text) : hasServerUmlaut(text)), qPrintable(text));
            withUmlaut += (serverForm ? hasServerUmlaut(text) : hasDisplayUmlaut(text)) ? 1 : 0;
        }
    }
    // German texts: some of them have umlauts, each in its form.
    QVERIFY(withUmlaut > 0);
}

void TestDemoData::firmTwoHasDataOfItsOwn()
{
    QCOMPARE(rows(u"Konkur.Par"_s, u"Konkur"_s, {u"2"_s}).size(), demo::Firm2Competitors);
    QCOMPARE(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"2"_s}).size(), demo::Firm2PriceTypes);
    QSet<QString> competitors;
    for (const QStringList &row : rows(u"Konkur.Par"_s, u"Konkur"_s, {u"2"_s}))
        competitors.insert(row[2]);
    for (const QStringList &row : rows(u"Konkur.Konkur"_s, u"Konkur"_s, {u"2"_s, {}, {}, {}, {}})) {
        QVERIFY2(competitors.contains(row[Competitor]), qPrintable(row.join(u' ')));
        QVERIFY2(row[Id].startsWith(u"2||"), qPrintable(row[Id]));
    }
    // The same article number stands for another article in each firm.
    const QString number = demo::WidelyPricedArticle.toString();
    QVERIFY(articleData(m_factory, u"1"_s, number)[Description]
            != articleData(m_factory, u"2"_s, number)[Description]);
    QVERIFY(!rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"2"_s, u"L"_s}).isEmpty());
    QVERIFY(!rows(u"TV.Windows"_s, u"KkrSuche"_s, {u"2"_s, u"K"_s}).isEmpty());
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
