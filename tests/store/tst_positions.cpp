#include <QSqlQuery>
#include <QTest>

#include <map>

#include "access/AccessError.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/FirmFixture.h"

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
    Properties properties{{u"Artnr"_qs, number}, {u"Bez"_qs, description}, {u"MwSt"_qs, u"19"_qs},
                          {u"Sammel"_qs, u"N"_qs}};
    save(u"TV.Artikel"_qs, properties + more);
}

QString TestPositions::savePosition(const Properties &properties)
{
    Properties defaults{{u"konkur"_qs, u"OBI"_qs},          {u"Artnr"_qs, u"100001"_qs},
                        {u"Preistyp"_qs, u"LISTE"_qs},      {u"DatumAb"_qs, u"2026-11-02"_qs},
                        {u"MengeAb"_qs, u"1.00"_qs},        {u"PreisExcl"_qs, u"10.00"_qs},
                        {u"AendDatum"_qs, u"2026-11-20"_qs}};
    for (const auto &[name, value] : properties) {
        auto it = std::find_if(defaults.begin(), defaults.end(), [&](const auto &p) { return p.first == name; });
        if (it != defaults.end())
            it->second = value;
        else
            defaults.append({name, value});
    }
    return save(u"Konkur.Konkur"_qs, defaults);
}

void TestPositions::positionIsStoredAsWritten()
{
    const Properties written{{u"konkur"_qs, u"HORNBACH"_qs},  {u"Artnr"_qs, u"100007"_qs},
                             {u"ArtBez"_qs, u"Sonderposten Gehwegplatten grau, 2. Wahl – Maße 30×30"_qs},
                             {u"ZAnr"_qs, u"40012345"_qs},      {u"Preistyp"_qs, u"AKTION"_qs},
                             {u"DatumAb"_qs, u"2026-11-30"_qs}, {u"DatumBis"_qs, u"2026-12-24"_qs},
                             {u"MengeAb"_qs, u"12.5"_qs},       {u"VKE"_qs, u"M2"_qs},
                             {u"IntPreis"_qs, u"24.99"_qs},     {u"PreisExcl"_qs, u"-0.10"_qs},
                             {u"VRE"_qs, u"M2"_qs},             {u"PreisKalk"_qs, u"19.3"_qs},
                             {u"notiz"_qs, u"Laut Prospekt KW 48\n\"nur solange Vorrat reicht\""_qs},
                             {u"AendDatum"_qs, u"2026-12-01"_qs}};
    const QString first = save(u"Konkur.Konkur"_qs, written);
    const QString second = save(u"Konkur.Konkur"_qs, {{u"konkur"_qs, u"OBI"_qs}});
    QCOMPARE(first, m_fixture.firm() + u"||1");
    QCOMPARE(second, m_fixture.firm() + u"||2");

    std::unique_ptr<ServerObject> object = m_factory.openById(u"Konkur.Konkur"_qs, first);
    for (const auto &[name, value] : written)
        QCOMPARE(object->property(name), value);
    QCOMPARE(object->property(u"Firma"_qs), m_fixture.firm());
}

void TestPositions::saveRefusesMalformedValues_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::newRow("German date") << u"DatumAb"_qs << u"31.12.2026"_qs;
    QTest::newRow("no such day") << u"DatumBis"_qs << u"2026-02-30"_qs;
    QTest::newRow("date with time") << u"AendDatum"_qs << u"2026-12-01T10:00"_qs;
    QTest::newRow("decimal comma") << u"MengeAb"_qs << u"1,5"_qs;
    QTest::newRow("word") << u"PreisExcl"_qs << u"zehn"_qs;
    QTest::newRow("two points") << u"IntPreis"_qs << u"1.2.3"_qs;
    QTest::newRow("grouping") << u"PreisKalk"_qs << u"1.234,50"_qs;
}

void TestPositions::saveRefusesMalformedValues()
{
    QFETCH(QString, property);
    QFETCH(QString, value);
    std::unique_ptr<ServerObject> object = m_factory.createNew(u"Konkur.Konkur"_qs);
    object->setProperty(u"Firma"_qs, m_fixture.firm());
    object->setProperty(property, value);
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, property);
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, value);
    // Nothing was stored, not even a number used up.
    QVERIFY(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {m_fixture.firm()}).isEmpty());
    QCOMPARE(savePosition({}), m_fixture.firm() + u"||1");
}

void TestPositions::queryAnswersTheColumnsOfAPosition()
{
    saveArticle(u"100001"_qs, u"Kalkzementputz f}r au~en 30 kg"_qs, {{u"MwSt"_qs, u"7"_qs}});
    saveArticle(u"100002"_qs, u"Diverses"_qs, {{u"Sammel"_qs, u"J"_qs}});
    const QString plain = savePosition({{u"ZAnr"_qs, u"4711"_qs},
                                        {u"DatumBis"_qs, u"2026-12-31"_qs},
                                        {u"VKE"_qs, u"SCK"_qs},
                                        {u"PreisExcl"_qs, u"12.35"_qs},
                                        {u"VRE"_qs, u"ST"_qs},
                                        {u"notiz"_qs, u"Notiz"_qs},
                                        {u"PreisKalk"_qs, u"11.5"_qs}});
    const QString own = savePosition({{u"Artnr"_qs, u"100002"_qs},
                                      {u"ArtBez"_qs, u"Restposten Pflastersteine grün"_qs},
                                      {u"IntPreis"_qs, u"3.10"_qs},
                                      {u"PreisExcl"_qs, u"2.50"_qs}});
    const QString unknownArticle = savePosition({{u"Artnr"_qs, u"999999"_qs}});

    const QList<QStringList> result = rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {m_fixture.firm(), {}, {}, {}, {}});
    QCOMPARE(result.size(), 3);
    QCOMPARE(result[0], (QStringList{plain, m_fixture.firm(), u"OBI"_qs, u"100001"_qs, u"Kalkzementputz für außen 30 kg"_qs,
                                     u"LISTE"_qs, u"2026-11-02"_qs, u"2026-12-31"_qs, u"1.00"_qs, u"SCK"_qs,
                                     u"12.35"_qs, u"13.21"_qs, u"Notiz"_qs, u"4711"_qs, {}, u"2026-11-20"_qs,
                                     u"11.5"_qs}));
    QCOMPARE(result[1][0], own);
    QCOMPARE(result[1][4], u"Restposten Pflastersteine grün"_qs);
    QCOMPARE(result[1][11], u"2.98"_qs);  // 2.50 × 1.19 = 2.975
    QCOMPARE(result[1][14], u"3.10"_qs);
    QCOMPARE(result[2][0], unknownArticle);
    QCOMPARE(result[2][4], QString());
}

void TestPositions::queryFilters_data()
{
    QTest::addColumn<QStringList>("filters");  // competitor, article, text, changed since
    QTest::addColumn<QList<int>>("expected");   // positions, numbered as saved

    QTest::newRow("none") << QStringList{{}, {}, {}, {}} << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("competitor") << QStringList{u"OBI"_qs, {}, {}, {}} << QList<int>{1, 3, 5};
    QTest::newRow("competitor differs in case") << QStringList{u"obi"_qs, {}, {}, {}} << QList<int>{};
    QTest::newRow("article") << QStringList{{}, u"100002"_qs, {}, {}} << QList<int>{3, 4, 5};
    QTest::newRow("article prefix is no match") << QStringList{{}, u"10000"_qs, {}, {}} << QList<int>{};
    QTest::newRow("text, umlauts") << QStringList{{}, {}, u"für außen"_qs, {}} << QList<int>{1, 2};
    QTest::newRow("text, upper case") << QStringList{{}, {}, u"FÜR AUSSEN"_qs, {}} << QList<int>{1, 2};
    QTest::newRow("text, spelled out") << QStringList{{}, {}, u"fuer aussen"_qs, {}} << QList<int>{1, 2};
    QTest::newRow("text, own text of position") << QStringList{{}, {}, u"grün"_qs, {}} << QList<int>{5};
    QTest::newRow("text, own text hides article's") << QStringList{{}, {}, u"diverses"_qs, {}} << QList<int>{3, 4};
    QTest::newRow("text, wildcard is literal") << QStringList{{}, {}, u"%"_qs, {}} << QList<int>{};
    QTest::newRow("text, underscore is literal") << QStringList{{}, {}, u"f_r"_qs, {}} << QList<int>{};
    QTest::newRow("changed since, ISO") << QStringList{{}, {}, {}, u"2026-11-15"_qs} << QList<int>{2, 4, 5};
    QTest::newRow("changed since, German") << QStringList{{}, {}, {}, u"15.11.2026"_qs} << QList<int>{2, 4, 5};
    QTest::newRow("changed since, the day itself") << QStringList{{}, {}, {}, u"2026-12-01"_qs} << QList<int>{5};
    QTest::newRow("all together") << QStringList{u"OBI"_qs, u"100002"_qs, u"Divers"_qs, u"01.10.2026"_qs}
                                  << QList<int>{3};
}

void TestPositions::queryFilters()
{
    QFETCH(QStringList, filters);
    QFETCH(QList<int>, expected);
    saveArticle(u"100001"_qs, u"Kalkzementputz f}r au~en 30 kg"_qs);
    saveArticle(u"100002"_qs, u"Diverses"_qs, {{u"Sammel"_qs, u"J"_qs}});
    const QStringList saved{
        savePosition({{u"AendDatum"_qs, u"2026-10-01"_qs}}),
        savePosition({{u"konkur"_qs, u"BAUHAUS"_qs}, {u"AendDatum"_qs, u"2026-11-15"_qs}}),
        savePosition({{u"Artnr"_qs, u"100002"_qs}, {u"AendDatum"_qs, u"2026-11-14"_qs}}),
        savePosition({{u"konkur"_qs, u"HORNBACH"_qs}, {u"Artnr"_qs, u"100002"_qs}, {u"AendDatum"_qs, u"2026-11-30"_qs}}),
        savePosition({{u"Artnr"_qs, u"100002"_qs}, {u"ArtBez"_qs, u"Randsteine GRÜN"_qs},
                      {u"Preistyp"_qs, u"ZZZ"_qs}, {u"AendDatum"_qs, u"2026-12-01"_qs}}),
    };
    // Another firm's matching position is never listed.
    const QString firm = m_fixture.firm();
    m_fixture.setFirm(m_fixture.newFirm());
    saveArticle(u"100001"_qs, u"Kalkzementputz f}r au~en 30 kg"_qs);
    savePosition({{u"AendDatum"_qs, u"2026-12-01"_qs}});
    m_fixture.setFirm(firm);

    QStringList expectedIds;
    for (int n : expected)
        expectedIds << saved[n - 1];
    std::sort(expectedIds.begin(), expectedIds.end());
    QStringList found = FirstColumns(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, QStringList{m_fixture.firm()} + filters));
    std::sort(found.begin(), found.end());
    QCOMPARE(found, expectedIds);
}

void TestPositions::queryRefusesMalformedFilters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("date, no such month") << QStringList{u"FIRM"_qs, {}, {}, {}, u"2026-13-01"_qs} << u"2026-13-01"_qs;
    QTest::newRow("date, short form") << QStringList{u"FIRM"_qs, {}, {}, {}, u"1.11.2026"_qs} << u"1.11.2026"_qs;
    QTest::newRow("date, word") << QStringList{u"FIRM"_qs, {}, {}, {}, u"gestern"_qs} << u"gestern"_qs;
    QTest::newRow("firm, word") << QStringList{u"eins"_qs, {}, {}, {}, {}} << u"eins"_qs;
    QTest::newRow("firm, empty") << QStringList{QString(), {}, {}, {}, {}} << u"Firma"_qs;
}

void TestPositions::queryRefusesMalformedFilters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    if (arguments[0] == u"FIRM")
        arguments[0] = m_fixture.firm();
    std::unique_ptr<tolven::ResultSet> result = m_factory.openQuery(u"Konkur.Konkur"_qs, u"Konkur"_qs);
    EXPECT_ACCESS_ERROR(result->execute(arguments), ErrorNumber::InvalidValue, named);
}

void TestPositions::queryOrdersByCompetitorArticleTypeDateQuantity()
{
    // Saved in an order that sorts nothing; numbers must sort as numbers.
    const QList<Properties> positions{
        {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"100001"_qs}, {u"MengeAb"_qs, u"10.00"_qs}},
        {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"100001"_qs}, {u"MengeAb"_qs, u"2.00"_qs}},
        {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"100001"_qs}, {u"DatumAb"_qs, u"2026-10-01"_qs}},
        {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"100001"_qs}, {u"Preistyp"_qs, u"AKTION"_qs}},
        {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"99999"_qs}},
        {{u"konkur"_qs, u"BAUHAUS"_qs}, {u"Artnr"_qs, u"200000"_qs}},
    };
    QStringList saved;
    for (const Properties &properties : positions)
        saved << savePosition(properties);
    // Nothing but competitor and article: what was never set sorts first, on both databases.
    const QString bare = save(u"Konkur.Konkur"_qs, {{u"konkur"_qs, u"OBI"_qs}, {u"Artnr"_qs, u"100001"_qs}});
    const QStringList expected{saved[5], saved[4], bare, saved[3], saved[2], saved[1], saved[0]};
    QCOMPARE(FirstColumns(rows(u"Konkur.Konkur"_qs, u"Konkur"_qs, {m_fixture.firm(), {}, {}, {}, {}})), expected);
}

void TestPositions::articleListNamesEveryPositionedArticle()
{
    saveArticle(u"100001"_qs, u"D{mmplatte 100 mm"_qs);
    saveArticle(u"100002"_qs, u"Unbenutzt"_qs);
    savePosition({{u"Artnr"_qs, u"100001"_qs}});
    savePosition({{u"Artnr"_qs, u"100001"_qs}, {u"konkur"_qs, u"BAUHAUS"_qs}});
    // Not in the article master: the positions' own text, in server form.
    savePosition({{u"Artnr"_qs, u"99"_qs}, {u"ArtBez"_qs, u"Gerüstbohle"_qs}});
    savePosition({{u"Artnr"_qs, u"123456"_qs}});

    const QList<QStringList> expected{{u"99"_qs, u"Ger}stbohle"_qs},
                                      {u"100001"_qs, u"D{mmplatte 100 mm"_qs},
                                      {u"123456"_qs, QString()}};
    QCOMPARE(rows(u"Konkur.Konkur"_qs, u"Artikelliste"_qs, {m_fixture.firm()}), expected);
}

void TestPositions::unitsAreListed()
{
    save(u"TV.Einheit"_qs, {{u"Code"_qs, u"ST"_qs}, {u"Bez"_qs, u"St}ck"_qs}});
    save(u"TV.Einheit"_qs, {{u"Code"_qs, u"M2"_qs}, {u"Bez"_qs, u"Quadratmeter"_qs}});
    const QList<QStringList> expected{{m_fixture.firm() + u"||M2", u"M2"_qs, u"Quadratmeter"_qs},
                                      {m_fixture.firm() + u"||ST", u"ST"_qs, u"St}ck"_qs}};
    QCOMPARE(rows(u"Konkur.Konkur"_qs, u"Einheiten"_qs, {m_fixture.firm()}), expected);
    QVERIFY(rows(u"Konkur.Konkur"_qs, u"Einheiten"_qs, {m_fixture.newFirm()}).isEmpty());
}

void TestPositions::articleMethodsAnswerTheArticle()
{
    saveArticle(u"100001"_qs, u"Fliesenkleber wei~ 25 kg"_qs,
                {{u"Kurzbez"_qs, u"FLIESENKLEBER"_qs}, {u"VKE"_qs, u"SCK"_qs}, {u"VRE"_qs, u"St}"_qs},
                 {u"ZAnr"_qs, u"40000001"_qs}, {u"VKPreis"_qs, u"10.00"_qs}, {u"BruttoEK"_qs, u"8.00"_qs},
                 {u"NettoEK"_qs, u"7.50"_qs}, {u"VKMenge"_qs, u"120"_qs}, {u"Umsatz"_qs, u"1000.00"_qs},
                 {u"Rabatt"_qs, u"250.00"_qs}, {u"Einsatz"_qs, u"800.00"_qs}});
    const QString expected = u"Fliesenkleber weiß 25 kg`19`11.90`N`SCK`St}`40000001`8.00`7.50`120`1000.00`250.00`800.00"_qs;
    QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelDaten"_qs, {m_fixture.firm(), u"100001"_qs}), expected);
    QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelDaten"_qs, {m_fixture.firm(), u"100001"_qs, u"1.00"_qs}), expected);
    QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtBez1"_qs, {m_fixture.firm(), u"100001"_qs}).section(u'`', 0, 0),
             u"Fliesenkleber wei~ 25 kg"_qs);

    // Unknown articles, and articles of another firm, answer nothing.
    const QString otherFirm = m_fixture.newFirm();
    for (const QStringList &args : {QStringList{m_fixture.firm(), u"100002"_qs}, QStringList{otherFirm, u"100001"_qs},
                                    QStringList{m_fixture.firm(), QString()}}) {
        QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelDaten"_qs, args), QString());
        QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtBez1"_qs, args), QString());
        QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelPreis"_qs, args + QStringList{u"1"_qs}), QString());
    }
    // Any instance answers the class methods too, as the client calls them.
    std::unique_ptr<ServerObject> instance = m_factory.createNew(u"Konkur.Konkur"_qs);
    QCOMPARE(instance->callMethod(u"ArtikelDaten"_qs, {m_fixture.firm(), u"100001"_qs}), expected);
}

void TestPositions::ownPriceFollowsQuantityTiers_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::newRow("none given") << QString() << u"11.90"_qs;
    QTest::newRow("below the first tier") << u"0.5"_qs << u"11.90"_qs;
    QTest::newRow("just below a tier") << u"9.99"_qs << u"11.90"_qs;
    QTest::newRow("on a tier") << u"10"_qs << u"10.71"_qs;          // 9.00 × 1.19
    QTest::newRow("decimal comma") << u"10,00"_qs << u"10.71"_qs;
    QTest::newRow("between tiers") << u"49.999"_qs << u"10.71"_qs;
    QTest::newRow("highest tier") << u"50"_qs << u"9.95"_qs;         // 8.36 × 1.19 = 9.9484
    QTest::newRow("far above") << u"100000"_qs << u"9.95"_qs;
}

void TestPositions::ownPriceFollowsQuantityTiers()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    saveArticle(u"100001"_qs, u"Zement"_qs, {{u"VKPreis"_qs, u"10.00"_qs}});
    // Tiers saved out of order; another article's tier does not count.
    save(u"TV.ArtikelStaffel"_qs, {{u"Artnr"_qs, u"100001"_qs}, {u"MengeAb"_qs, u"50"_qs}, {u"Preis"_qs, u"8.36"_qs}});
    save(u"TV.ArtikelStaffel"_qs, {{u"Artnr"_qs, u"100001"_qs}, {u"MengeAb"_qs, u"10"_qs}, {u"Preis"_qs, u"9.00"_qs}});
    save(u"TV.ArtikelStaffel"_qs, {{u"Artnr"_qs, u"100002"_qs}, {u"MengeAb"_qs, u"2"_qs}, {u"Preis"_qs, u"1.00"_qs}});

    const QStringList args{m_fixture.firm(), u"100001"_qs, quantity};
    QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelDaten"_qs, args).section(u'`', 2, 2), price);
    if (!quantity.isEmpty())
        QCOMPARE(call(u"Konkur.Konkur"_qs, u"ArtikelPreis"_qs, args).section(u'`', 0, 0), price);
}

void TestPositions::articleMethodsRefuseMalformedArguments_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<ErrorNumber>("error");
    QTest::newRow("quantity, word") << u"ArtikelDaten"_qs << QStringList{u"1"_qs, u"100001"_qs, u"zehn"_qs}
                                    << ErrorNumber::InvalidValue;
    QTest::newRow("quantity, grouped") << u"ArtikelPreis"_qs << QStringList{u"1"_qs, u"100001"_qs, u"1.000,5"_qs}
                                       << ErrorNumber::InvalidValue;
    QTest::newRow("firm, word") << u"ArtBez1"_qs << QStringList{u"eins"_qs, u"100001"_qs} << ErrorNumber::InvalidValue;
    QTest::newRow("firm, SQL") << u"ArtikelDaten"_qs << QStringList{u"1 OR 1=1"_qs, u"100001"_qs}
                               << ErrorNumber::InvalidValue;
    QTest::newRow("too few") << u"ArtikelPreis"_qs << QStringList{u"1"_qs, u"100001"_qs} << ErrorNumber::WrongArguments;
    QTest::newRow("too many") << u"ArtikelDaten"_qs << QStringList{u"1"_qs, u"1"_qs, u"1"_qs, u"1"_qs}
                              << ErrorNumber::WrongArguments;
}

void TestPositions::articleMethodsRefuseMalformedArguments()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(ErrorNumber, error);
    QCOMPARE(testsupport::ErrorOf([&] { call(u"Konkur.Konkur"_qs, method, arguments); }), error);
}

void TestPositions::listsKeepTheStoredOrder()
{
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"TOOM"_qs}, {u"konkurbez"_qs, u"Toom Baumarkt M}nchen"_qs}});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"BAUHAUS"_qs}, {u"konkurbez"_qs, u"Bauhaus"_qs}});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"obi"_qs}, {u"konkurbez"_qs, QString()}});
    const QList<QStringList> competitors{{m_fixture.firm() + u"||1", u"TOOM"_qs, u"Toom Baumarkt M}nchen"_qs},
                                         {m_fixture.firm() + u"||2", u"BAUHAUS"_qs, u"Bauhaus"_qs},
                                         {m_fixture.firm() + u"||3", u"obi"_qs, QString()}};
    QCOMPARE(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()}), competitors);

    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"LISTE"_qs}, {u"bez"_qs, u"Listenpreis"_qs}, {u"bisdatjn"_qs, u"N"_qs}});
    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"AKTION"_qs}, {u"bez"_qs, u"Aktionspreis"_qs}, {u"bisdatjn"_qs, u"J"_qs}});
    const QList<QStringList> types{{m_fixture.firm() + u"||1", u"LISTE"_qs, u"Listenpreis"_qs, u"N"_qs},
                                   {m_fixture.firm() + u"||2", u"AKTION"_qs, u"Aktionspreis"_qs, u"J"_qs}};
    QCOMPARE(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()}), types);

    std::unique_ptr<ServerObject> bad = m_factory.createNew(u"Konkur.Preistyp"_qs);
    bad->setProperty(u"Firma"_qs, m_fixture.firm());
    bad->setProperty(u"bisdatjn"_qs, u"ja"_qs);
    EXPECT_ACCESS_ERROR(bad->sys_save(), ErrorNumber::InvalidValue, u"bisdatjn"_qs);
}

void TestPositions::deleteAllTouchesOnlyItsFirm()
{
    const QList<QStringList> demoCompetitors = rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs});
    const QList<QStringList> demoTypes = rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {u"1"_qs});
    QVERIFY(!demoCompetitors.isEmpty());
    QVERIFY(!demoTypes.isEmpty());
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"OBI"_qs}});
    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"LISTE"_qs}});

    QCOMPARE(call(u"Konkur.Par"_qs, u"Delall"_qs, {m_fixture.firm()}), QString());
    QVERIFY(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()}).isEmpty());
    QCOMPARE(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()}).size(), 1);
    call(u"Konkur.Preistyp"_qs, u"Delall"_qs, {m_fixture.firm()});
    QVERIFY(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()}).isEmpty());

    QCOMPARE(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs}), demoCompetitors);
    QCOMPARE(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {u"1"_qs}), demoTypes);
    // Deleting an empty list is no error; a malformed firm is.
    call(u"Konkur.Par"_qs, u"Delall"_qs, {m_fixture.firm()});
    EXPECT_ACCESS_ERROR(call(u"Konkur.Par"_qs, u"Delall"_qs, {u"1 OR 1=1"_qs}), ErrorNumber::InvalidValue,
                        u"1 OR 1=1"_qs);
    QCOMPARE(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {u"1"_qs}), demoCompetitors);
}

void TestPositions::replacementGetsNewIds()
{
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"OBI"_qs}});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"TOOM"_qs}});
    const QStringList before = FirstColumns(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()}));
    call(u"Konkur.Par"_qs, u"Delall"_qs, {m_fixture.firm()});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"OBI"_qs}});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"TOOM"_qs}});
    const QStringList after = FirstColumns(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()}));
    QCOMPARE(before, (QStringList{m_fixture.firm() + u"||1", m_fixture.firm() + u"||2"}));
    QCOMPARE(after, (QStringList{m_fixture.firm() + u"||3", m_fixture.firm() + u"||4"}));
    // The old ids are gone for good.
    QCOMPARE(testsupport::ErrorOf([&] { m_factory.openById(u"Konkur.Par"_qs, before[0]); }),
             ErrorNumber::ObjectNotFound);
}

void TestPositions::replacementIsOneTransaction()
{
    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"ALT"_qs}, {u"bisdatjn"_qs, u"N"_qs}});
    const QList<QStringList> before = rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()});

    // The connection ends before TCOMMIT: nothing of the replacement stays.
    xecute(u"TSTART"_qs);
    call(u"Konkur.Preistyp"_qs, u"Delall"_qs, {m_fixture.firm()});
    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"NEU"_qs}, {u"bisdatjn"_qs, u"J"_qs}});
    m_factory.disconnect();
    QVERIFY(m_factory.connect(m_fixture.database().connectString()));
    QCOMPARE(rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()}), before);

    // With TCOMMIT it is there as a whole.
    xecute(u"TSTART"_qs);
    call(u"Konkur.Preistyp"_qs, u"Delall"_qs, {m_fixture.firm()});
    save(u"Konkur.Preistyp"_qs, {{u"code"_qs, u"NEU"_qs}, {u"bisdatjn"_qs, u"J"_qs}});
    xecute(u"TCOMMIT"_qs);
    const QList<QStringList> after = rows(u"Konkur.Preistyp"_qs, u"Preistyp"_qs, {m_fixture.firm()});
    QCOMPARE(after.size(), 1);
    QCOMPARE(after[0].mid(1), (QStringList{u"NEU"_qs, QString(), u"J"_qs}));
}

void TestPositions::replacementIsRolledBackWhenTheServerEndsTheConnection()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend != u"PostgreSQL")
        QSKIP("only a database server can end a connection from its side");
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"OBI"_qs}});
    const QList<QStringList> before = rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()});

    xecute(u"TSTART"_qs);
    call(u"Konkur.Par"_qs, u"Delall"_qs, {m_fixture.firm()});
    save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"HALB"_qs}});
    {
        // An administrator ends every other session of the database.
        auto killer = store::Session::openUnchecked(m_fixture.database().target(), false);
        QSqlQuery kill(killer->database());
        QVERIFY(kill.exec(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                          u" WHERE datname = current_database() AND pid <> pg_backend_pid()"_qs));
        killer->close();
    }
    const ErrorNumber error = testsupport::ErrorOf([&] { save(u"Konkur.Par"_qs, {{u"konkur"_qs, u"REST"_qs}}); });
    QCOMPARE(error, ErrorNumber::ConnectionLost);
    QVERIFY(!m_factory.isConnected());
    QVERIFY(m_factory.connect(m_fixture.database().connectString()));
    QCOMPARE(rows(u"Konkur.Par"_qs, u"Konkur"_qs, {m_fixture.firm()}), before);
}

QTEST_GUILESS_MAIN(TestPositions)
#include "tst_positions.moc"
