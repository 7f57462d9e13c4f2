#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <limits>
#include <map>

#include "access/AccessError.h"
#include "access/MLiteral.h"
#include "access/TextConversion.h"
#include "store/Decimal.h"
#include "store/DemoData.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

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
    static const QRegularExpression umlaut(u"[äöüÄÖÜß]"_qs);
    return text.contains(umlaut);
}

bool hasServerUmlaut(const QString &text)
{
    static const QRegularExpression umlaut(u"[{|}~\\[\\\\\\]]"_qs);
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
    void masterDataIsStoredInServerForm_data();
    void masterDataIsStoredInServerForm();
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
                                   const QString &quantity = u"1"_qs);
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
    return factory.classObject(u"TV.Windows"_qs)->callMethod(u"Xecute"_qs, {command});
}

QStringList TestDemoData::articleSearch(tolven::ServerFactory &factory, const QString &firm, const QString &key)
{
    xecute(factory, u"S FIRMA=" + firm + u",FIL=0,PERSONAL=\"MUELLER\"");
    QString page = xecute(factory, u"D GETARF^TVCLSU(" + tolven::MQuote(key) + u",\"\",\"\",\"\",\"\",\"\",\"\")");
    QStringList entries;
    while (!page.isEmpty()) {
        entries << page.split(EntrySeparator);
        page = xecute(factory, u"D GETARN^TVCLSU"_qs);
    }
    return entries;
}

QStringList TestDemoData::articleData(tolven::ServerFactory &factory, const QString &firm, const QString &number,
                                      const QString &quantity)
{
    const QString data = factory.classObject(u"Konkur.Konkur"_qs)
                                 ->callMethod(u"ArtikelDaten"_qs, {firm, number, quantity});
    return data.split(FieldSeparator);
}

QStringList TestDemoData::snapshot(tolven::ServerFactory &factory)
{
    QStringList lines;
    auto add = [&](const QString &what, const Rows &result) {
        for (const QStringList &row : result)
            lines << what + u'\t' + row.join(u'\t');
    };
    for (const QString &firm : {u"1"_qs, u"2"_qs}) {
        add(u"Konkur"_qs, rows(factory, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, {}, {}, {}, {}}));
        add(u"Artikelliste"_qs, rows(factory, u"Konkur.Konkur"_qs, u"Artikelliste"_qs, {firm}));
        add(u"Mitbewerber"_qs, rows(factory, u"Konkur.Par"_qs, u"Konkur"_qs, {firm}));
        add(u"Preistypen"_qs, rows(factory, u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {firm}));
        add(u"Lieferanten"_qs, rows(factory, u"TV.Windows"_qs, u"KkrSuche"_qs, {firm, u"L"_qs}));
        add(u"Kunden"_qs, rows(factory, u"TV.Windows"_qs, u"KkrSuche"_qs, {firm, u"K"_qs}));
        add(u"Sammelkonten"_qs, rows(factory, u"TV.KontoSammelKontoKreis"_qs, u"SaKontoBez"_qs, {firm, {}, {}, {}}));
        // Every article with its figures and its price from 50 on (the tiers).
        for (const QString &entry : articleSearch(factory, firm, {})) {
            const QString number = entry.section(FieldSeparator, 0, 0);
            lines << u"Artikel\t" + entry + u'\t' + articleData(factory, firm, number, u"50"_qs).join(u'\t');
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
    testsupport::TestDatabase other(u"SQLite"_qs, false);
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

    QCOMPARE(articleSearch(m_factory, u"1"_qs, {}).size(), articles);
    QCOMPARE(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"1"_qs, {}, {}, {}, {}}).size(), positions);
    // The size is firm 1's; firm 2 stays as it is.
    QCOMPARE(articleSearch(m_factory, u"2"_qs, {}).size(), demo::Firm2Articles);
    QCOMPARE(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"2"_qs, {}, {}, {}, {}}).size(), demo::Firm2Positions);

    // What FillDemoData says it wrote is what is there.
    QHash<QString, std::pair<int, int>> reported;
    for (const store::DemoCount &count : counts)
        reported.insert(count.className, {count.firm1, count.firm2});
    QCOMPARE(reported.value(u"TV.Artikel"_qs), std::pair(articles, demo::Firm2Articles));
    QCOMPARE(reported.value(u"Konkur.Konkur"_qs), std::pair(positions, demo::Firm2Positions));
    QCOMPARE(reported.value(u"TV.ParPersEdv"_qs).first + reported.value(u"TV.ParPersEdv"_qs).second,
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
            << demo::FixedArticleCount - 1 << positions << Today << u"Artikel"_qs;
    QTest::newRow("no articles") << 0 << positions << Today << u"Artikel"_qs;
    QTest::newRow("negative articles") << -5 << positions << Today << u"Artikel"_qs;
    QTest::newRow("more articles than numbers") << demo::MaxArticles + 1 << positions << Today << u"Artikel"_qs;
    QTest::newRow("fewer positions than the fixed ones")
            << articles << demo::FixedPositionCount - 1 << Today << u"Positionen"_qs;
    QTest::newRow("no positions") << articles << 0 << Today << u"Positionen"_qs;
    QTest::newRow("too many positions") << demo::MaxArticles << demo::MaxPositions + 1 << Today << u"Positionen"_qs;
    QTest::newRow("positions without enough articles")
            << demo::FixedArticleCount << demo::FixedArticleCount * demo::MaxPositionsPerArticle + 1 << Today
            << u"mindestens " + QString::number(demo::FixedArticleCount + 1) + u" Artikel";
    QTest::newRow("no day") << articles << positions << QDate() << u"Tagesdatum"_qs;
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
    QVERIFY(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs}).isEmpty());
    QVERIFY(rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"1"_qs, u"L"_qs}).isEmpty());
    EXPECT_ACCESS_ERROR(xecute(m_factory, u"TCOMMIT"_qs), ErrorNumber::TransactionState, u"TCOMMIT"_qs);
}

void TestDemoData::defaultDemoReachesItsMinimums()
{
    QCOMPARE(articleSearch(m_factory, u"1"_qs, {}).size(), store::DemoSize{}.articles);
    QCOMPARE(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"1"_qs, {}, {}, {}, {}}).size(), store::DemoSize{}.positions);
    QVERIFY(rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"1"_qs, u"L"_qs}).size() >= demo::MinimumSuppliers);
    QVERIFY(rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"1"_qs, u"K"_qs}).size() >= demo::MinimumCustomers);

    // Competitors: codes of at most ten capitals, each once.
    const Rows competitors = rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs});
    QVERIFY(competitors.size() >= demo::MinimumCompetitors);
    const QRegularExpression code(u"^[A-Z]{1,10}$"_qs);
    QSet<QString> codes;
    for (const QStringList &competitor : competitors) {
        QVERIFY2(code.match(competitor[2]).hasMatch(), qPrintable(competitor[2]));
        QVERIFY(!competitor[3].isEmpty());
        codes.insert(competitor[2]);
    }
    QCOMPARE(codes.size(), competitors.size());

    // Price types: both kinds, with and without an end date.
    const Rows priceTypes = rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {u"1"_qs});
    QVERIFY(priceTypes.size() >= demo::MinimumPriceTypes);
    QSet<QString> flags;
    for (const QStringList &type : priceTypes)
        flags.insert(type[4]);
    QCOMPARE(flags, (QSet<QString>{u"J"_qs, u"N"_qs}));

    // Customer groups: two-digit numbers, each with customers.
    const Rows groups = rows(u"TV.ParKundenGruppen"_qs, u"Gruppen"_qs, {u"1"_qs, {}, u"J"_qs});
    QCOMPARE(groups.size(), demo::CustomerGroupCount);
    for (const QStringList &group : groups) {
        QVERIFY2(QRegularExpression(u"^[1-9][0-9]$"_qs).match(group[1]).hasMatch(), qPrintable(group[1]));
        QVERIFY2(!rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"1"_qs, u"K"_qs, {}, group[1]}).isEmpty(),
                 qPrintable(group[1]));
    }
}

void TestDemoData::supplierAccountFindsItsSuppliers_data()
{
    QTest::addColumn<QString>("account");
    QTest::newRow("as a number") << u"7"_qs;
    QTest::newRow("as written") << demo::SupplierAccount.toString();
    QTest::newRow("other leading zeros") << u"07"_qs;
}

void TestDemoData::supplierAccountFindsItsSuppliers()
{
    QFETCH(QString, account);
    const Rows suppliers = rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"1"_qs, u"L"_qs, {}, account});
    QCOMPARE(suppliers.size(), demo::SuppliersInSupplierAccount);
    for (const QStringList &supplier : suppliers) {
        auto object = m_factory.openById(u"TV.Lieferant"_qs, u"1||" + supplier[1]);
        QCOMPARE(object->property(u"SaKonto"_qs), demo::SupplierAccount.toString());
    }
    // The account itself is listed among the supplier accounts.
    const Rows accounts = rows(u"TV.KontoSammelKontoKreis"_qs, u"SaKontoBez"_qs, {u"1"_qs, u"L"_qs, {}, {}});
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
    const QStringList entries = articleSearch(m_factory, u"1"_qs, key);
    QVERIFY2(entries.size() >= minimum && entries.size() <= maximum, qPrintable(QString::number(entries.size())));
    const QString searchKey = tolven::SearchKey(key);
    const QRegularExpression number(u"^[0-9]{6}$"_qs);
    for (const QString &entry : entries) {
        const QStringList fields = entry.split(FieldSeparator);
        QCOMPARE(fields.size(), 3);
        QVERIFY2(number.match(fields[0]).hasMatch(), qPrintable(entry));
        QVERIFY2(!hasServerUmlaut(fields[1]), qPrintable(entry));
        QVERIFY2(!fields[2].isEmpty(), qPrintable(entry));
        auto article = m_factory.openById(u"TV.Artikel"_qs, u"1||" + fields[0]);
        const QString shortName = article->callMethod(u"KurzbezLogicalToODBC"_qs, {article->property(u"Kurzbez"_qs)});
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
    const QStringList data = articleData(m_factory, u"1"_qs, article);
    QCOMPARE(data.size(), 13);
    QVERIFY2(isZero(data[QuantitySold]), qPrintable(data[QuantitySold]));
    QVERIFY2(isZero(data[Turnover]) != turnover, qPrintable(data[Turnover]));
}

void TestDemoData::collectiveArticleCarriesItsOwnText()
{
    const QString number = demo::CollectiveArticle.toString();
    const QStringList data = articleData(m_factory, u"1"_qs, number);
    QCOMPARE(data[Collective], u"J"_qs);

    const Rows positions = rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"1"_qs, {}, number, {}, {}});
    QVERIFY(std::any_of(positions.begin(), positions.end(),
                        [](const QStringList &row) { return row[Text] == demo::CollectiveText; }));
    for (const QStringList &row : positions) {
        QVERIFY2(row[Text] != data[Description], qPrintable(row[Text]));
        QVERIFY2(!row[OwnPrice].isEmpty(), qPrintable(row[Id]));
    }

    // The text is found by its words, however the umlaut is typed.
    for (const QString &word : {u"kantenschäden"_qs, u"KANTENSCHAEDEN"_qs}) {
        const Rows found = rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"1"_qs, {}, {}, word, {}});
        QVERIFY2(std::any_of(found.begin(), found.end(),
                             [](const QStringList &row) { return row[Text] == demo::CollectiveText; }),
                 qPrintable(word));
    }
}

void TestDemoData::positionsKeepDatesAndPriceTypes()
{
    QSet<QString> competitors;
    for (const QStringList &row : rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs}))
        competitors.insert(row[2]);
    QHash<QString, bool> hasEndDate;
    for (const QStringList &row : rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {u"1"_qs}))
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
    const Rows positions = rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"1"_qs, {}, {}, {}, {}});
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
            articles.insert(row[ArticleNumber], articleData(m_factory, u"1"_qs, row[ArticleNumber]));
        const QStringList &article = articles[row[ArticleNumber]];
        QCOMPARE(row[SalesUnit], article[ArticleSalesUnit]);
        QCOMPARE(row[CentralNumber], article[ArticleCentralNumber]);
        const bool collective = article[Collective] == u"J";
        auto position = m_factory.openById(u"Konkur.Konkur"_qs, row[Id]);
        QCOMPARE(position->property(u"ArtBez"_qs).isEmpty(), !collective);
        QCOMPARE(position->property(u"IntPreis"_qs).isEmpty(), !collective);

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
    xecute(m_factory, u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_qs);
    const QStringList mainGroups = xecute(m_factory, u"d HGRP^TVCLSU"_qs).split(EntrySeparator);
    QVERIFY(mainGroups.size() >= 10);
    for (const QString &mainGroup : mainGroups) {
        const QString number = mainGroup.section(FieldSeparator, 0, 0);
        QVERIFY2(QRegularExpression(u"^[1-9][0-9]*$"_qs).match(number).hasMatch(), qPrintable(mainGroup));
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

void TestDemoData::masterDataIsStoredInServerForm_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("columns");
    QTest::newRow("competitors") << u"Konkur.Par"_qs << u"Konkur"_qs << QStringList{u"1"_qs} << QList<int>{3};
    QTest::newRow("price types") << u"Konkur.Preistyp"_qs << u"Preistyp"_qs << QStringList{u"1"_qs} << QList<int>{3};
    QTest::newRow("suppliers") << u"TV.Windows"_qs << u"KkrSuche"_qs << QStringList{u"1"_qs, u"L"_qs}
                               << QList<int>{2, 3, 5};
    QTest::newRow("customers") << u"TV.Windows"_qs << u"KkrSuche"_qs << QStringList{u"1"_qs, u"K"_qs}
                               << QList<int>{2, 3, 5};
    QTest::newRow("collective accounts") << u"TV.KontoSammelKontoKreis"_qs << u"SaKontoBez"_qs
                                         << QStringList{u"1"_qs, {}, {}, {}} << QList<int>{2};
    QTest::newRow("customer groups") << u"TV.ParKundenGruppen"_qs << u"Gruppen"_qs
                                     << QStringList{u"1"_qs, {}, u"J"_qs} << QList<int>{2};
    QTest::newRow("units") << u"Konkur.Konkur"_qs << u"Einheiten"_qs << QStringList{u"1"_qs} << QList<int>{3};
    QTest::newRow("articles with positions") << u"Konkur.Konkur"_qs << u"Artikelliste"_qs << QStringList{u"1"_qs}
                                             << QList<int>{2};
}

void TestDemoData::masterDataIsStoredInServerForm()
{
    QFETCH(QString, className);
    QFETCH(QString, query);
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, columns);
    int converted = 0;
    for (const QStringList &row : rows(className, query, arguments)) {
        for (int column : columns) {
            QVERIFY2(!hasDisplayUmlaut(row[column]), qPrintable(row[column]));
            converted += hasServerUmlaut(row[column]) ? 1 : 0;
        }
    }
    // German texts: some of them have umlauts, in the server's form.
    QVERIFY(converted > 0);
}

void TestDemoData::firmTwoHasDataOfItsOwn()
{
    QCOMPARE(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"2"_qs}).size(), demo::Firm2Competitors);
    QCOMPARE(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {u"2"_qs}).size(), demo::Firm2PriceTypes);
    QSet<QString> competitors;
    for (const QStringList &row : rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"2"_qs}))
        competitors.insert(row[2]);
    for (const QStringList &row : rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {u"2"_qs, {}, {}, {}, {}})) {
        QVERIFY2(competitors.contains(row[Competitor]), qPrintable(row.join(u' ')));
        QVERIFY2(row[Id].startsWith(u"2||"), qPrintable(row[Id]));
    }
    // The same article number stands for another article in each firm.
    const QString number = demo::WidelyPricedArticle.toString();
    QVERIFY(articleData(m_factory, u"1"_qs, number)[Description]
            != articleData(m_factory, u"2"_qs, number)[Description]);
    QVERIFY(!rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"2"_qs, u"L"_qs}).isEmpty());
    QVERIFY(!rows(u"TV.Windows"_qs, u"KkrSuche"_qs, {u"2"_qs, u"K"_qs}).isEmpty());
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demodata.moc"
