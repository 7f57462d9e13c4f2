#include <QSqlQuery>
#include <QTest>

#include <map>

#include "objectapi/AccessError.h"
#include "objectapi/TextConversion.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;
using tolven::ServerObject;

using testsupport::FirstColumns;
using testsupport::Properties;

// The competitor price classes through the object interface: positions with
// their query and article methods, competitors and price types with Delall.
class TestPositions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init() { m_fixture.begin(); }
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void positionIsStoredAsWritten();
    void saveRefusesMalformedValues_data();
    void saveRefusesMalformedValues();
    void queryAnswersTheColumnsOfAPosition();
    void queryFilters_data();
    void queryFilters();
    void textFilterIsTheSameWithAndWithoutTheIndex_data();
    void textFilterIsTheSameWithAndWithoutTheIndex();
    void queryRefusesMalformedFilters_data();
    void queryRefusesMalformedFilters();
    void queryOrdersByCompetitorArticleTypeDateQuantity();
    void articleListNamesEveryPositionedArticle();
    void unitsAreListed();
    void articleMethodsAnswerTheArticle();
    void ownPriceFollowsQuantityTiers_data();
    void ownPriceFollowsQuantityTiers();
    void articleMethodsRefuseMalformedArguments_data();
    void articleMethodsRefuseMalformedArguments();
    void listsKeepTheStoredOrder();
    void deleteAllTouchesOnlyItsFirm();
    void replacementGetsNewIds();
    void replacementIsOneTransaction();
    void replacementIsRolledBackWhenTheServerEndsTheConnection();

private:
    QString save(const QString &className, const Properties &properties) { return m_fixture.save(className, properties); }
    QList<QStringList> rows(const QString &className, const QString &query, const QStringList &arguments)
    {
        return m_fixture.rows(className, query, arguments);
    }
    QString call(const QString &className, const QString &method, const QStringList &arguments)
    {
        return m_fixture.call(className, method, arguments);
    }
    QString xecute(const QString &command) { return m_fixture.xecute(command); }
    void saveArticle(const QString &number, const QString &description, const Properties &more = {});
    QString savePosition(const Properties &properties);

    testsupport::FirmFixture m_fixture;
    store::StoreFactory &m_factory = m_fixture.factory();
};

void TestPositions::saveArticle(const QString &number, const QString &description, const Properties &more)
{
    Properties properties{{u"Artnr"_s, number}, {u"Bez"_s, description}, {u"MwSt"_s, u"19"_s},
                          {u"Sammel"_s, u"N"_s}};
    save(u"TV.Artikel"_s, properties + more);
}

QString TestPositions::savePosition(const Properties &properties)
{
    Properties defaults{{u"konkur"_s, u"WERKHOF"_s},          {u"Artnr"_s, u"100001"_s},
                        {u"Preistyp"_s, u"LISTE"_s},      {u"DatumAb"_s, u"2026-11-02"_s},
                        {u"MengeAb"_s, u"1.00"_s},        {u"PreisExcl"_s, u"10.00"_s},
                        {u"AendDatum"_s, u"2026-11-20"_s}};
    for (const auto &[name, value] : properties) {
        auto it = std::find_if(defaults.begin(), defaults.end(), [&](const auto &p) { return p.first == name; });
        if (it != defaults.end())
            it->second = value;
        else
            defaults.append({name, value});
    }
    return save(u"Konkur.Konkur"_s, defaults);
}

void TestPositions::positionIsStoredAsWritten()
{
    const Properties written{{u"konkur"_s, u"HOLZRING"_s},  {u"Artnr"_s, u"100007"_s},
                             {u"ArtBez"_s, u"Sonderposten Gehwegplatten grau, 2. Wahl – Maße 30×30"_s},
                             {u"ZAnr"_s, u"40012345"_s},      {u"Preistyp"_s, u"AKTION"_s},
                             {u"DatumAb"_s, u"2026-11-30"_s}, {u"DatumBis"_s, u"2026-12-24"_s},
                             {u"MengeAb"_s, u"12.5"_s},       {u"VKE"_s, u"M2"_s},
                             {u"IntPreis"_s, u"24.99"_s},     {u"PreisExcl"_s, u"-0.10"_s},
                             {u"VRE"_s, u"M2"_s},             {u"PreisKalk"_s, u"19.3"_s},
                             {u"notiz"_s, u"Laut Prospekt KW 48\n\"nur solange Vorrat reicht\""_s},
                             {u"AendDatum"_s, u"2026-12-01"_s}};
    const QString first = save(u"Konkur.Konkur"_s, written);
    const QString second = save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    QCOMPARE(first, m_fixture.firm() + u"||1");
    QCOMPARE(second, m_fixture.firm() + u"||2");

    std::unique_ptr<ServerObject> object = m_factory.openById(u"Konkur.Konkur"_s, first);
    for (const auto &[name, value] : written)
        QCOMPARE(object->property(name), value);
    QCOMPARE(object->property(u"Firma"_s), m_fixture.firm());
}

void TestPositions::saveRefusesMalformedValues_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::newRow("German date") << u"DatumAb"_s << u"31.12.2026"_s;
    QTest::newRow("no such day") << u"DatumBis"_s << u"2026-02-30"_s;
    QTest::newRow("date with time") << u"AendDatum"_s << u"2026-12-01T10:00"_s;
    QTest::newRow("decimal comma") << u"MengeAb"_s << u"1,5"_s;
    QTest::newRow("word") << u"PreisExcl"_s << u"zehn"_s;
    QTest::newRow("two points") << u"IntPreis"_s << u"1.2.3"_s;
    QTest::newRow("grouping") << u"PreisKalk"_s << u"1.234,50"_s;
}

void TestPositions::saveRefusesMalformedValues()
{
    QFETCH(QString, property);
    QFETCH(QString, value);
    std::unique_ptr<ServerObject> object = m_factory.createNew(u"Konkur.Konkur"_s);
    object->setProperty(u"Firma"_s, m_fixture.firm());
    object->setProperty(property, value);
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, property);
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, value);
    // Nothing was stored, not even a number used up.
    QVERIFY(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {m_fixture.firm()}).isEmpty());
    QCOMPARE(savePosition({}), m_fixture.firm() + u"||1");
}

void TestPositions::queryAnswersTheColumnsOfAPosition()
{
    saveArticle(u"100001"_s, u"Kalkzementputz f}r au~en 30 kg"_s, {{u"MwSt"_s, u"7"_s}});
    saveArticle(u"100002"_s, u"Diverses"_s, {{u"Sammel"_s, u"J"_s}});
    const QString plain = savePosition({{u"ZAnr"_s, u"4711"_s},
                                        {u"DatumBis"_s, u"2026-12-31"_s},
                                        {u"VKE"_s, u"SCK"_s},
                                        {u"PreisExcl"_s, u"12.35"_s},
                                        {u"VRE"_s, u"ST"_s},
                                        {u"notiz"_s, u"Notiz"_s},
                                        {u"PreisKalk"_s, u"11.5"_s}});
    const QString own = savePosition({{u"Artnr"_s, u"100002"_s},
                                      {u"ArtBez"_s, u"Restposten Pflastersteine grün"_s},
                                      {u"IntPreis"_s, u"3.10"_s},
                                      {u"PreisExcl"_s, u"2.50"_s}});
    const QString unknownArticle = savePosition({{u"Artnr"_s, u"999999"_s}});

    const QList<QStringList> result = rows(u"Konkur.Konkur"_s, u"Konkur"_s, {m_fixture.firm(), {}, {}, {}, {}});
    QCOMPARE(result.size(), 3);
    QCOMPARE(result[0], (QStringList{plain, m_fixture.firm(), u"WERKHOF"_s, u"100001"_s, u"Kalkzementputz für außen 30 kg"_s,
                                     u"LISTE"_s, u"2026-11-02"_s, u"2026-12-31"_s, u"1.00"_s, u"SCK"_s,
                                     u"12.35"_s, u"13.21"_s, u"Notiz"_s, u"4711"_s, {}, u"2026-11-20"_s,
                                     u"11.5"_s, u"1"_s}));
    QCOMPARE(result[1][0], own);
    QCOMPARE(result[1][4], u"Restposten Pflastersteine grün"_s);
    QCOMPARE(result[1][11], u"2.98"_s);  // 2.50 × 1.19 = 2.975
    QCOMPARE(result[1][14], u"3.10"_s);
    QCOMPARE(result[2][0], unknownArticle);
    QCOMPARE(result[2][4], QString());
}

void TestPositions::queryFilters_data()
{
    QTest::addColumn<QStringList>("filters");  // competitor, article, text, changed since
    QTest::addColumn<QList<int>>("expected");   // positions, numbered as saved

    QTest::newRow("none") << QStringList{{}, {}, {}, {}} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("competitor") << QStringList{u"WERKHOF"_s, {}, {}, {}} << QList<int>{1, 3, 5};
    QTest::newRow("competitor differs in case") << QStringList{u"werkhof"_s, {}, {}, {}} << QList<int>{};
    QTest::newRow("article") << QStringList{{}, u"100002"_s, {}, {}} << QList<int>{3, 4, 5};
    QTest::newRow("article prefix is no match") << QStringList{{}, u"10000"_s, {}, {}} << QList<int>{};
    QTest::newRow("text, umlauts") << QStringList{{}, {}, u"für außen"_s, {}} << QList<int>{1, 2};
    QTest::newRow("text, upper case") << QStringList{{}, {}, u"FÜR AUSSEN"_s, {}} << QList<int>{1, 2};
    QTest::newRow("text, spelled out") << QStringList{{}, {}, u"fuer aussen"_s, {}} << QList<int>{1, 2};
    QTest::newRow("text, own text of position") << QStringList{{}, {}, u"grün"_s, {}} << QList<int>{5};
    QTest::newRow("text, own text hides article's") << QStringList{{}, {}, u"diverses"_s, {}} << QList<int>{3, 4};
    QTest::newRow("text, wildcard is literal") << QStringList{{}, {}, u"%"_s, {}} << QList<int>{};
    QTest::newRow("text, underscore is literal") << QStringList{{}, {}, u"f_r"_s, {}} << QList<int>{};
    QTest::newRow("changed since, ISO") << QStringList{{}, {}, {}, u"2026-11-15"_s} << QList<int>{2, 4, 5};
    QTest::newRow("changed since, German") << QStringList{{}, {}, {}, u"15.11.2026"_s} << QList<int>{2, 4, 5};
    QTest::newRow("changed since, the day itself") << QStringList{{}, {}, {}, u"2026-12-01"_s} << QList<int>{5};
    QTest::newRow("all together") << QStringList{u"WERKHOF"_s, u"100002"_s, u"Divers"_s, u"01.10.2026"_s}
                                  << QList<int>{3};
}

void TestPositions::queryFilters()
{
    QFETCH(QStringList, filters);
    QFETCH(QList<int>, expected);
    saveArticle(u"100001"_s, u"Kalkzementputz f}r au~en 30 kg"_s);
    saveArticle(u"100002"_s, u"Diverses"_s, {{u"Sammel"_s, u"J"_s}});
    const QStringList saved{
        savePosition({{u"AendDatum"_s, u"2026-10-01"_s}}),
        savePosition({{u"konkur"_s, u"BAUFUCHS"_s}, {u"AendDatum"_s, u"2026-11-15"_s}}),
        savePosition({{u"Artnr"_s, u"100002"_s}, {u"AendDatum"_s, u"2026-11-14"_s}}),
        savePosition({{u"konkur"_s, u"HOLZRING"_s}, {u"Artnr"_s, u"100002"_s}, {u"AendDatum"_s, u"2026-11-30"_s}}),
        savePosition({{u"Artnr"_s, u"100002"_s}, {u"ArtBez"_s, u"Randsteine GRÜN"_s},
                      {u"Preistyp"_s, u"ZZZ"_s}, {u"AendDatum"_s, u"2026-12-01"_s}}),
    };
    // Another firm's matching position is never listed.
    const QString firm = m_fixture.firm();
    m_fixture.setFirm(m_fixture.newFirm());
    saveArticle(u"100001"_s, u"Kalkzementputz f}r au~en 30 kg"_s);
    savePosition({{u"AendDatum"_s, u"2026-12-01"_s}});
    m_fixture.setFirm(firm);

    QStringList expectedIds;
    for (int n : expected)
        expectedIds << saved[n - 1];
    std::sort(expectedIds.begin(), expectedIds.end());
    QStringList found = FirstColumns(rows(u"Konkur.Konkur"_s, u"Konkur"_s, QStringList{m_fixture.firm()} + filters));
    std::sort(found.begin(), found.end());
    QCOMPARE(found, expectedIds);
}

void TestPositions::textFilterIsTheSameWithAndWithoutTheIndex_data()
{
    // Keys of three characters and more (in search-key form) go through the
    // text index, shorter ones read the firm's positions.
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("one character") << u"e"_s << 7;
    QTest::newRow("two characters") << u"st"_s << 2;
    QTest::newRow("two digits") << u"50"_s << 2;
    QTest::newRow("umlaut, two in key form") << u"ö"_s << 1;
    QTest::newRow("three characters") << u"ste"_s << 1;
    QTest::newRow("article text") << u"kalk"_s << 1;
    QTest::newRow("article text, words") << u"große stoß"_s << 1;
    QTest::newRow("own text hides article's") << u"stoßfuge"_s << 1;
    QTest::newRow("umlauts") << u"übergröße"_s << 1;
    QTest::newRow("umlauts spelled out") << u"UEBERGROESSE"_s << 1;
    QTest::newRow("mixed case") << u"ZeMeNt"_s << 2;
    QTest::newRow("accent") << u"éclair"_s << 2;
    QTest::newRow("percent alone") << u"%"_s << 2;
    QTest::newRow("percent") << u"50%"_s << 2;
    QTest::newRow("percent is literal") << u"5%r"_s << 0;
    QTest::newRow("underscore") << u"a_b"_s << 1;
    QTest::newRow("escape character alone") << u"!"_s << 1;
    QTest::newRow("escape character") << u"ung! "_s << 1;
    QTest::newRow("quotes") << u"\"profi\""_s << 1;
    QTest::newRow("no match") << u"xyzzy"_s << 0;
    // The trigram index folds the Kelvin sign to k; LIKE does not.
    QTest::newRow("Kelvin sign is no K") << u"\u212Aleber"_s << 0;
}

void TestPositions::textFilterIsTheSameWithAndWithoutTheIndex()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    saveArticle(u"100001"_s, u"Gro~e Sto~fuge grau"_s);
    saveArticle(u"100002"_s, u"Zement 25 kg, 50% Rabatt"_s);
    saveArticle(u"100003"_s, u"Kalk AxB"_s);
    saveArticle(u"100004"_s, u"Éclair-Fliese"_s);
    const QList<Properties> positions{
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100002"_s}},
        {{u"konkur"_s, u"BAUFUCHS"_s}, {u"Artnr"_s, u"100003"_s}, {u"ArtBez"_s, u"Übergröße 50% Sonderposten"_s}},
        {{u"konkur"_s, u"BAUFUCHS"_s}, {u"Artnr"_s, u"100001"_s}, {u"ArtBez"_s, u"Achtung! \"Profi\" Ware"_s}},
        {{u"konkur"_s, u"HOLZRING"_s}, {u"Artnr"_s, u"100004"_s}},
        {{u"konkur"_s, u"HOLZRING"_s}, {u"Artnr"_s, u"999999"_s}},
        {{u"konkur"_s, u"TANNE"_s}, {u"Artnr"_s, u"999998"_s}, {u"ArtBez"_s, u"a_b Zement, éclair"_s}},
        {{u"konkur"_s, u"TANNE"_s}, {u"Artnr"_s, u"100003"_s}},
        {{u"konkur"_s, u"TANNE"_s}, {u"Artnr"_s, u"100004"_s}, {u"ArtBez"_s, u"Fliesenkleber"_s}},
    };
    for (const Properties &properties : positions)
        savePosition(properties);
    // The same texts in another firm are never found.
    const QString firm = m_fixture.firm();
    m_fixture.setFirm(m_fixture.newFirm());
    saveArticle(u"100002"_s, u"Zement 25 kg, 50% Rabatt"_s);
    for (const Properties &properties : positions)
        savePosition(properties);
    m_fixture.setFirm(firm);

    // What the filter means, without any index: the row's own text, else its
    // article's, contains the text, both in search-key form. Same order.
    const QString key = tolven::SearchKey(text);
    QStringList expected;
    for (const QStringList &row : rows(u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, {}, {}})) {
        if (tolven::SearchKey(row[4]).contains(key))
            expected << row[0];
    }
    QCOMPARE(FirstColumns(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, text, {}})), expected);
    QCOMPARE(expected.size(), count);
}

void TestPositions::queryRefusesMalformedFilters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("date, no such month") << QStringList{u"FIRM"_s, {}, {}, {}, u"2026-13-01"_s} << u"2026-13-01"_s;
    QTest::newRow("date, short form") << QStringList{u"FIRM"_s, {}, {}, {}, u"1.11.2026"_s} << u"1.11.2026"_s;
    QTest::newRow("date, word") << QStringList{u"FIRM"_s, {}, {}, {}, u"gestern"_s} << u"gestern"_s;
    QTest::newRow("firm, word") << QStringList{u"eins"_s, {}, {}, {}, {}} << u"eins"_s;
    QTest::newRow("firm, empty") << QStringList{QString(), {}, {}, {}, {}} << u"Firma"_s;
}

void TestPositions::queryRefusesMalformedFilters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    if (arguments[0] == u"FIRM")
        arguments[0] = m_fixture.firm();
    std::unique_ptr<tolven::ResultSet> result = m_factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    EXPECT_ACCESS_ERROR(result->execute(arguments), ErrorNumber::InvalidValue, named);
}

void TestPositions::queryOrdersByCompetitorArticleTypeDateQuantity()
{
    // Saved in an order that sorts nothing; numbers must sort as numbers.
    const QList<Properties> positions{
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"10.00"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"2.00"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}, {u"DatumAb"_s, u"2026-10-01"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}, {u"Preistyp"_s, u"AKTION"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"99999"_s}},
        {{u"konkur"_s, u"BAUFUCHS"_s}, {u"Artnr"_s, u"200000"_s}},
    };
    QStringList saved;
    for (const Properties &properties : positions)
        saved << savePosition(properties);
    // Nothing but competitor and article: what was never set sorts first, on both databases.
    const QString bare = save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}});
    const QStringList expected{saved[5], saved[4], bare, saved[3], saved[2], saved[1], saved[0]};
    QCOMPARE(FirstColumns(rows(u"Konkur.Konkur"_s, u"Konkur"_s, {m_fixture.firm(), {}, {}, {}, {}})), expected);
}

void TestPositions::articleListNamesEveryPositionedArticle()
{
    saveArticle(u"100001"_s, u"D{mmplatte 100 mm"_s);
    saveArticle(u"100002"_s, u"Unbenutzt"_s);
    savePosition({{u"Artnr"_s, u"100001"_s}});
    savePosition({{u"Artnr"_s, u"100001"_s}, {u"konkur"_s, u"BAUFUCHS"_s}});
    // Not in the article master: the positions' own text, in server form.
    savePosition({{u"Artnr"_s, u"99"_s}, {u"ArtBez"_s, u"Gerüstbohle"_s}});
    savePosition({{u"Artnr"_s, u"123456"_s}});

    const QList<QStringList> expected{{u"99"_s, u"Ger}stbohle"_s},
                                      {u"100001"_s, u"D{mmplatte 100 mm"_s},
                                      {u"123456"_s, QString()}};
    QCOMPARE(rows(u"Konkur.Konkur"_s, u"Artikelliste"_s, {m_fixture.firm()}), expected);
}

void TestPositions::unitsAreListed()
{
    save(u"TV.Einheit"_s, {{u"Code"_s, u"ST"_s}, {u"Bez"_s, u"St}ck"_s}});
    save(u"TV.Einheit"_s, {{u"Code"_s, u"M2"_s}, {u"Bez"_s, u"Quadratmeter"_s}});
    const QList<QStringList> expected{{m_fixture.firm() + u"||M2", u"M2"_s, u"Quadratmeter"_s},
                                      {m_fixture.firm() + u"||ST", u"ST"_s, u"St}ck"_s}};
    QCOMPARE(rows(u"Konkur.Konkur"_s, u"Einheiten"_s, {m_fixture.firm()}), expected);
    QVERIFY(rows(u"Konkur.Konkur"_s, u"Einheiten"_s, {m_fixture.newFirm()}).isEmpty());
}

void TestPositions::articleMethodsAnswerTheArticle()
{
    saveArticle(u"100001"_s, u"Fliesenkleber wei~ 25 kg"_s,
                {{u"Kurzbez"_s, u"FLIESENKLEBER"_s}, {u"VKE"_s, u"SCK"_s}, {u"VRE"_s, u"St}"_s},
                 {u"ZAnr"_s, u"40000001"_s}, {u"VKPreis"_s, u"10.00"_s}, {u"BruttoEK"_s, u"8.00"_s},
                 {u"NettoEK"_s, u"7.50"_s}, {u"VKMenge"_s, u"120"_s}, {u"Umsatz"_s, u"1000.00"_s},
                 {u"Rabatt"_s, u"250.00"_s}, {u"Einsatz"_s, u"800.00"_s}});
    const QString expected = u"Fliesenkleber weiß 25 kg`19`11.90`N`SCK`St}`40000001`8.00`7.50`120`1000.00`250.00`800.00"_s;
    QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelDaten"_s, {m_fixture.firm(), u"100001"_s}), expected);
    QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelDaten"_s, {m_fixture.firm(), u"100001"_s, u"1.00"_s}), expected);
    QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtBez1"_s, {m_fixture.firm(), u"100001"_s}).section(u'`', 0, 0),
             u"Fliesenkleber wei~ 25 kg"_s);

    // Unknown articles, and articles of another firm, answer nothing.
    const QString otherFirm = m_fixture.newFirm();
    for (const QStringList &args : {QStringList{m_fixture.firm(), u"100002"_s}, QStringList{otherFirm, u"100001"_s},
                                    QStringList{m_fixture.firm(), QString()}}) {
        QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelDaten"_s, args), QString());
        QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtBez1"_s, args), QString());
        QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelPreis"_s, args + QStringList{u"1"_s}), QString());
    }
    // Any instance answers the class methods too, as the client calls them.
    std::unique_ptr<ServerObject> instance = m_factory.createNew(u"Konkur.Konkur"_s);
    QCOMPARE(instance->callMethod(u"ArtikelDaten"_s, {m_fixture.firm(), u"100001"_s}), expected);
}

void TestPositions::ownPriceFollowsQuantityTiers_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::newRow("none given") << QString() << u"11.90"_s;
    QTest::newRow("below the first tier") << u"0.5"_s << u"11.90"_s;
    QTest::newRow("just below a tier") << u"9.99"_s << u"11.90"_s;
    QTest::newRow("on a tier") << u"10"_s << u"10.71"_s;          // 9.00 × 1.19
    QTest::newRow("decimal comma") << u"10,00"_s << u"10.71"_s;
    QTest::newRow("between tiers") << u"49.999"_s << u"10.71"_s;
    QTest::newRow("highest tier") << u"50"_s << u"9.95"_s;         // 8.36 × 1.19 = 9.9484
    QTest::newRow("far above") << u"100000"_s << u"9.95"_s;
}

void TestPositions::ownPriceFollowsQuantityTiers()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    saveArticle(u"100001"_s, u"Zement"_s, {{u"VKPreis"_s, u"10.00"_s}});
    // Tiers saved out of order; another article's tier does not count.
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"50"_s}, {u"Preis"_s, u"8.36"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"10"_s}, {u"Preis"_s, u"9.00"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100002"_s}, {u"MengeAb"_s, u"2"_s}, {u"Preis"_s, u"1.00"_s}});

    const QStringList args{m_fixture.firm(), u"100001"_s, quantity};
    QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelDaten"_s, args).section(u'`', 2, 2), price);
    if (!quantity.isEmpty())
        QCOMPARE(call(u"Konkur.Konkur"_s, u"ArtikelPreis"_s, args).section(u'`', 0, 0), price);
}

void TestPositions::articleMethodsRefuseMalformedArguments_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<ErrorNumber>("error");
    QTest::newRow("quantity, word") << u"ArtikelDaten"_s << QStringList{u"1"_s, u"100001"_s, u"zehn"_s}
                                    << ErrorNumber::InvalidValue;
    QTest::newRow("quantity, grouped") << u"ArtikelPreis"_s << QStringList{u"1"_s, u"100001"_s, u"1.000,5"_s}
                                       << ErrorNumber::InvalidValue;
    QTest::newRow("firm, word") << u"ArtBez1"_s << QStringList{u"eins"_s, u"100001"_s} << ErrorNumber::InvalidValue;
    QTest::newRow("firm, SQL") << u"ArtikelDaten"_s << QStringList{u"1 OR 1=1"_s, u"100001"_s}
                               << ErrorNumber::InvalidValue;
    QTest::newRow("too few") << u"ArtikelPreis"_s << QStringList{u"1"_s, u"100001"_s} << ErrorNumber::WrongArguments;
    QTest::newRow("too many") << u"ArtikelDaten"_s << QStringList{u"1"_s, u"1"_s, u"1"_s, u"1"_s}
                              << ErrorNumber::WrongArguments;
}

void TestPositions::articleMethodsRefuseMalformedArguments()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(ErrorNumber, error);
    QCOMPARE(testsupport::ErrorOf([&] { call(u"Konkur.Konkur"_s, method, arguments); }), error);
}

void TestPositions::listsKeepTheStoredOrder()
{
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"TANNE"_s}, {u"konkurbez"_s, u"Tanne Baumarkt M}nchen"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"BAUFUCHS"_s}, {u"konkurbez"_s, u"Baufuchs"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"werkhof"_s}, {u"konkurbez"_s, QString()}});
    const QList<QStringList> competitors{{m_fixture.firm() + u"||1", u"TANNE"_s, u"Tanne Baumarkt M}nchen"_s},
                                         {m_fixture.firm() + u"||2", u"BAUFUCHS"_s, u"Baufuchs"_s},
                                         {m_fixture.firm() + u"||3", u"werkhof"_s, QString()}};
    QCOMPARE(rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()}), competitors);

    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"LISTE"_s}, {u"bez"_s, u"Listenpreis"_s}, {u"bisdatjn"_s, u"N"_s}});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"AKTION"_s}, {u"bez"_s, u"Aktionspreis"_s}, {u"bisdatjn"_s, u"J"_s}});
    const QList<QStringList> types{{m_fixture.firm() + u"||1", u"LISTE"_s, u"Listenpreis"_s, u"N"_s},
                                   {m_fixture.firm() + u"||2", u"AKTION"_s, u"Aktionspreis"_s, u"J"_s}};
    QCOMPARE(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()}), types);

    std::unique_ptr<ServerObject> bad = m_factory.createNew(u"Konkur.Preistyp"_s);
    bad->setProperty(u"Firma"_s, m_fixture.firm());
    bad->setProperty(u"bisdatjn"_s, u"ja"_s);
    EXPECT_ACCESS_ERROR(bad->sys_save(), ErrorNumber::InvalidValue, u"bisdatjn"_s);
}

void TestPositions::deleteAllTouchesOnlyItsFirm()
{
    const QList<QStringList> demoCompetitors = rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s});
    const QList<QStringList> demoTypes = rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"1"_s});
    QVERIFY(!demoCompetitors.isEmpty());
    QVERIFY(!demoTypes.isEmpty());
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"LISTE"_s}});

    QCOMPARE(call(u"Konkur.Par"_s, u"Delall"_s, {m_fixture.firm()}), QString());
    QVERIFY(rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()}).isEmpty());
    QCOMPARE(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()}).size(), 1);
    call(u"Konkur.Preistyp"_s, u"Delall"_s, {m_fixture.firm()});
    QVERIFY(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()}).isEmpty());

    QCOMPARE(rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s}), demoCompetitors);
    QCOMPARE(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"1"_s}), demoTypes);
    // Deleting an empty list is no error; a malformed firm is.
    call(u"Konkur.Par"_s, u"Delall"_s, {m_fixture.firm()});
    EXPECT_ACCESS_ERROR(call(u"Konkur.Par"_s, u"Delall"_s, {u"1 OR 1=1"_s}), ErrorNumber::InvalidValue,
                        u"1 OR 1=1"_s);
    QCOMPARE(rows(u"Konkur.Par"_s, u"Konkur"_s, {u"1"_s}), demoCompetitors);
}

void TestPositions::replacementGetsNewIds()
{
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"TANNE"_s}});
    const QStringList before = FirstColumns(rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()}));
    call(u"Konkur.Par"_s, u"Delall"_s, {m_fixture.firm()});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"TANNE"_s}});
    const QStringList after = FirstColumns(rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()}));
    QCOMPARE(before, (QStringList{m_fixture.firm() + u"||1", m_fixture.firm() + u"||2"}));
    QCOMPARE(after, (QStringList{m_fixture.firm() + u"||3", m_fixture.firm() + u"||4"}));
    // The old ids are gone for good.
    QCOMPARE(testsupport::ErrorOf([&] { m_factory.openById(u"Konkur.Par"_s, before[0]); }),
             ErrorNumber::ObjectNotFound);
}

void TestPositions::replacementIsOneTransaction()
{
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"ALT"_s}, {u"bisdatjn"_s, u"N"_s}});
    const QList<QStringList> before = rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()});

    // The connection ends before TCOMMIT: nothing of the replacement stays.
    xecute(u"TSTART"_s);
    call(u"Konkur.Preistyp"_s, u"Delall"_s, {m_fixture.firm()});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"NEU"_s}, {u"bisdatjn"_s, u"J"_s}});
    m_factory.disconnect();
    QVERIFY(m_factory.connect(m_fixture.database().connectString()));
    QCOMPARE(rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()}), before);

    // With TCOMMIT it is there as a whole.
    xecute(u"TSTART"_s);
    call(u"Konkur.Preistyp"_s, u"Delall"_s, {m_fixture.firm()});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"NEU"_s}, {u"bisdatjn"_s, u"J"_s}});
    xecute(u"TCOMMIT"_s);
    const QList<QStringList> after = rows(u"Konkur.Preistyp"_s, u"Preistyp"_s, {m_fixture.firm()});
    QCOMPARE(after.size(), 1);
    QCOMPARE(after[0].mid(1), (QStringList{u"NEU"_s, QString(), u"J"_s}));
}

void TestPositions::replacementIsRolledBackWhenTheServerEndsTheConnection()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend != u"PostgreSQL")
        QSKIP("only a database server can end a connection from its side");
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    const QList<QStringList> before = rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()});

    xecute(u"TSTART"_s);
    call(u"Konkur.Par"_s, u"Delall"_s, {m_fixture.firm()});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"HALB"_s}});
    {
        // An administrator ends every other session of the database.
        auto killer = store::Session::openUnchecked(m_fixture.database().target(), false);
        QSqlQuery kill(killer->database());
        QVERIFY(kill.exec(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                          u" WHERE datname = current_database() AND pid <> pg_backend_pid()"_s));
        killer->close();
    }
    const ErrorNumber error = testsupport::ErrorOf([&] { save(u"Konkur.Par"_s, {{u"konkur"_s, u"REST"_s}}); });
    QCOMPARE(error, ErrorNumber::ConnectionLost);
    QVERIFY(!m_factory.isConnected());
    QVERIFY(m_factory.connect(m_fixture.database().connectString()));
    QCOMPARE(rows(u"Konkur.Par"_s, u"Konkur"_s, {m_fixture.firm()}), before);
}

QTEST_GUILESS_MAIN(TestPositions)
#include "tst_positions.moc"
