#include <QTest>

#include "objectapi/AccessError.h"
#include "support/AccessErrors.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using tolven::ErrorNumber;
using testsupport::FirstColumns;
using testsupport::Properties;

namespace {

const QChar Entry = QChar(0xFF);

QString getarf(const QStringList &criteria)
{
    QStringList literals;
    for (const QString &criterion : criteria)
        literals << u'"' + QString(criterion).replace(u'"', u"\"\""_s) + u'"';
    return u"D GETARF^TVCLSU(" + literals.join(u',') + u')';
}

} // namespace

// The look-up side of the store: partner search, account and group lists,
// the ^TVCLSU routines with the paged article search, the supplier's name.
class TestLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init()
    {
        m_lastArticle = 100000;
        m_fixture.begin();
    }
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void partnerSearch_data();
    void partnerSearch();
    void partnerSearchRefusesMalformedArguments_data();
    void partnerSearchRefusesMalformedArguments();
    void accountAndGroupLists();
    void groupAndDepartmentLists();
    void routinesNeedTheSessionFirm_data();
    void routinesNeedTheSessionFirm();
    void articleSearchPages_data();
    void articleSearchPages();
    void articleSearchCriteria_data();
    void articleSearchCriteria();
    void articleSearchWithQuoteInTheKey();
    void newSearchReplacesTheRunningOne();
    void malformedSearchCommandsAreRefused_data();
    void malformedSearchCommandsAreRefused();
    void supplierName_data();
    void supplierName();

private:
    void savePartners();
    void saveArticles(const QString &keyPrefix, int count, const Properties &properties = {});
    // Every entry of every page of a search, pages as the routines answer them.
    QStringList pages(const QStringList &criteria);

    testsupport::FirmFixture m_fixture;
    int m_lastArticle = 100000;
};

void TestLookup::savePartners()
{
    const QList<QStringList> suppliers{
        // number, short designation (server form), name, postcode, street, account
        {u"70003"_s, u"M]LLER BAUSTOFFE"_s, u"M}ller Baustoffe GmbH"_s, u"28195"_s, u"Am Wall 1"_s, u"007"_s},
        {u"70001"_s, u"MUELLER HOLZ"_s, u"Holz M}ller"_s, u"28203"_s, u"Stra~e 2"_s, u"010"_s},
        {u"9"_s, u"M]LLER BAUSTOFFE"_s, u"Zweite M}ller"_s, u"28199"_s, u"Weg 3"_s, u"7"_s},
        {u"70002"_s, u"MEIER"_s, u"Meier KG"_s, u"28209"_s, u"Gasse 4"_s, u"007"_s},
        {u"70004"_s, u"100% BAU"_s, u"Hundert Prozent"_s, u"28211"_s, u"Ring 5"_s, u"001"_s},
    };
    for (const QStringList &s : suppliers) {
        m_fixture.save(u"TV.Lieferant"_s, {{u"Lnr"_s, s[0]}, {u"Kurzbez"_s, s[1]}, {u"Name"_s, s[2]},
                                             {u"PLZ"_s, s[3]}, {u"Strasse"_s, s[4]}, {u"SaKonto"_s, s[5]}});
    }
    m_fixture.save(u"TV.Kunde"_s, {{u"Knr"_s, u"10001"_s}, {u"Kurzbez"_s, u"M]LLER"_s},
                                    {u"Name"_s, u"Kunde M}ller"_s}, {u"Gruppe"_s, u"10"_s}});
    m_fixture.save(u"TV.Kunde"_s, {{u"Knr"_s, u"10002"_s}, {u"Kurzbez"_s, u"MUELLER BAU"_s},
                                    {u"Name"_s, u"Bau M}ller"_s}, {u"Gruppe"_s, u"20"_s}});
}

void TestLookup::partnerSearch_data()
{
    QTest::addColumn<QStringList>("arguments");  // kind, key, group
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("suppliers, all") << QStringList{u"L"_s, {}, {}}
                                    << QStringList{u"70004"_s, u"70002"_s, u"9"_s, u"70003"_s, u"70001"_s};
    QTest::newRow("prefix, umlaut typed") << QStringList{u"L"_s, u"Mül"_s, {}}
                                          << QStringList{u"9"_s, u"70003"_s, u"70001"_s};
    QTest::newRow("prefix, spelled out") << QStringList{u"L"_s, u"MUELLER B"_s, {}}
                                         << QStringList{u"9"_s, u"70003"_s};
    QTest::newRow("account as a number") << QStringList{u"L"_s, {}, u"7"_s}
                                         << QStringList{u"70002"_s, u"9"_s, u"70003"_s};
    QTest::newRow("account with zeros") << QStringList{u"L"_s, {}, u"007"_s}
                                        << QStringList{u"70002"_s, u"9"_s, u"70003"_s};
    QTest::newRow("account and prefix") << QStringList{u"L"_s, u"ME"_s, u"7"_s} << QStringList{u"70002"_s};
    QTest::newRow("account without suppliers") << QStringList{u"L"_s, {}, u"15"_s} << QStringList{};
    QTest::newRow("percent sign is literal") << QStringList{u"L"_s, u"100%"_s, {}} << QStringList{u"70004"_s};
    QTest::newRow("wildcard finds nothing") << QStringList{u"L"_s, u"%"_s, {}} << QStringList{};
    QTest::newRow("customers, all") << QStringList{u"K"_s, {}, {}} << QStringList{u"10001"_s, u"10002"_s};
    QTest::newRow("customers, group") << QStringList{u"K"_s, u"M"_s, u"20"_s} << QStringList{u"10002"_s};
}

void TestLookup::partnerSearch()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, numbers);
    savePartners();
    QCOMPARE(FirstColumns(m_fixture.rows(u"TV.Windows"_s, u"KkrSuche"_s, QStringList{m_fixture.firm()} + arguments)),
             numbers);
}

void TestLookup::partnerSearchRefusesMalformedArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("kind") << QStringList{u"1"_s, u"X"_s, {}, {}} << u"\"X\""_s;
    QTest::newRow("kind empty") << QStringList{u"1"_s, {}, {}, {}} << u"Kontenart"_s;
    QTest::newRow("account") << QStringList{u"1"_s, u"L"_s, {}, u"7a"_s} << u"7a"_s;
    QTest::newRow("firm") << QStringList{u"1'"_s, u"L"_s, {}, {}} << u"1'"_s;
}

void TestLookup::partnerSearchRefusesMalformedArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    auto result = m_fixture.factory().openQuery(u"TV.Windows"_s, u"KkrSuche"_s);
    EXPECT_ACCESS_ERROR(result->execute(arguments), ErrorNumber::InvalidValue, named);
}

void TestLookup::accountAndGroupLists()
{
    savePartners();
    for (const auto &[number, kind, name] : {std::tuple(u"010"_s, u"L"_s, u"Holzh{ndler"_s),
                                             std::tuple(u"007"_s, u"L"_s, u"Baustoffh{ndler"_s),
                                             std::tuple(u"100"_s, u"K"_s, u"Gro~kunden"_s)}) {
        m_fixture.save(u"TV.KontoSammelKontoKreis"_s, {{u"Nummer"_s, number}, {u"Art"_s, kind}, {u"Bez"_s, name}});
    }
    const QString firm = m_fixture.firm();
    QCOMPARE(m_fixture.rows(u"TV.KontoSammelKontoKreis"_s, u"SaKontoBez"_s, {firm, u"L"_s, {}, {}}),
             (QList<QStringList>{{u"007"_s, u"Baustoffh{ndler"_s}, {u"010"_s, u"Holzh{ndler"_s}}));

    m_fixture.save(u"TV.ParKundenGruppen"_s, {{u"Gruppe"_s, u"20"_s}, {u"Bez"_s, u"Handwerker"_s}});
    m_fixture.save(u"TV.ParKundenGruppen"_s, {{u"Gruppe"_s, u"10"_s}, {u"Bez"_s, u"Privatkunden M}nchen"_s}});
    QCOMPARE(m_fixture.rows(u"TV.ParKundenGruppen"_s, u"Gruppen"_s, {firm, {}, u"J"_s}),
             (QList<QStringList>{{u"10"_s, u"Privatkunden M}nchen"_s}, {u"20"_s, u"Handwerker"_s}}));

    const QString empty = m_fixture.newFirm();
    QVERIFY(m_fixture.rows(u"TV.KontoSammelKontoKreis"_s, u"SaKontoBez"_s, {empty, u"L"_s, {}, {}}).isEmpty());
    QVERIFY(m_fixture.rows(u"TV.ParKundenGruppen"_s, u"Gruppen"_s, {empty, {}, u"J"_s}).isEmpty());
}

void TestLookup::groupAndDepartmentLists()
{
    for (const auto &[number, name] : {std::pair(u"10"_s, u"Gartenbedarf"_s), std::pair(u"2"_s, u"M|rtel"_s),
                                       std::pair(u"1"_s, u"Zement"_s)})
        m_fixture.save(u"TV.Hauptgruppe"_s, {{u"HGrp"_s, number}, {u"Bez"_s, name}});
    for (const auto &[number, main, name] : {std::tuple(u"201"_s, u"2"_s, u"Putzm|rtel"_s),
                                             std::tuple(u"1001"_s, u"10"_s, u"Rasen"_s),
                                             std::tuple(u"102"_s, u"1"_s, u"Wei~zement"_s),
                                             std::tuple(u"101"_s, u"1"_s, u"Grauzement"_s)})
        m_fixture.save(u"TV.Untergruppe"_s, {{u"UGrp"_s, number}, {u"HGrp"_s, main}, {u"Bez"_s, name}});
    m_fixture.save(u"TV.Abteilung"_s, {{u"AbtNr"_s, u"20"_s}, {u"Bez"_s, u"H|lzer"_s}});
    m_fixture.save(u"TV.Abteilung"_s, {{u"AbtNr"_s, u"10"_s}, {u"Bez"_s, u"Baustoffe"_s}});
    m_fixture.setSessionFirm();

    auto list = [](const QStringList &entries) { return entries.join(Entry); };
    QCOMPARE(m_fixture.xecute(u"d HGRP^TVCLSU"_s), list({u"1`Zement"_s, u"2`Mörtel"_s, u"10`Gartenbedarf"_s}));
    QCOMPARE(m_fixture.xecute(u"d ABTNR^TVCLSU"_s), list({u"10`Baustoffe"_s, u"20`Hölzer"_s}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(1)"_s), list({u"101`Grauzement"_s, u"102`Weißzement"_s}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(010)"_s), list({u"1001`Rasen"_s}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(3)"_s), QString());

    // Another firm's session sees none of them.
    m_fixture.setFirm(m_fixture.newFirm());
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"d HGRP^TVCLSU"_s), QString());
}

void TestLookup::routinesNeedTheSessionFirm_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("HGRP") << u"d HGRP^TVCLSU"_s;
    QTest::newRow("UGRP") << u"d UGRP^TVCLSU(1)"_s;
    QTest::newRow("GETARF") << getarf({u"A"_s, {}, {}, {}, {}, {}, {}});
    QTest::newRow("GETARN") << u"D GETARN^TVCLSU"_s;
    QTest::newRow("supplier") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",70001,1)),%,2)) W:$F($ZV,\"MSM\") P0"_s;
}

void TestLookup::routinesNeedTheSessionFirm()
{
    QFETCH(QString, command);
    QCOMPARE(testsupport::ErrorOf([&] { m_fixture.xecute(command); }), ErrorNumber::NoSessionContext);
}

void TestLookup::saveArticles(const QString &keyPrefix, int count, const Properties &properties)
{
    for (int i = 1; i <= count; ++i) {
        Properties article{{u"Artnr"_s, QString::number(++m_lastArticle)},
                           {u"Bez"_s, u"Artikel Nr. " + QString::number(i) + u" f}r drau~en"},
                           {u"Kurzbez"_s, keyPrefix + u' ' + QString::number(i)},
                           {u"AbtNr"_s, u"10"_s}};
        m_fixture.save(u"TV.Artikel"_s, article + properties);
    }
}

QStringList TestLookup::pages(const QStringList &criteria)
{
    QStringList all;
    QString page = m_fixture.xecute(getarf(criteria));
    for (int guard = 0; !page.isEmpty() && guard < 100; ++guard) {
        const QStringList entries = page.split(Entry);
        if (entries.size() > 4)
            return {u"page with more than four entries"_s};
        all << entries;
        page = m_fixture.xecute(u"D GETARN^TVCLSU"_s);
    }
    return all;
}

void TestLookup::articleSearchPages_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("pageSizes");
    QTest::newRow("none") << 0 << QList<int>{0};
    QTest::newRow("three") << 3 << QList<int>{3, 0};
    QTest::newRow("exactly four") << 4 << QList<int>{4, 0, 0};
    QTest::newRow("nine") << 9 << QList<int>{4, 4, 1, 0};
}

void TestLookup::articleSearchPages()
{
    QFETCH(int, count);
    QFETCH(QList<int>, pageSizes);
    saveArticles(u"QUADRO"_s, count);
    saveArticles(u"QUADRAT"_s, 2);  // shares a shorter prefix only
    m_fixture.setSessionFirm();

    QStringList entries;
    for (qsizetype i = 0; i < pageSizes.size(); ++i) {
        const QString page = m_fixture.xecute(i == 0 ? getarf({u"QUADRO"_s, {}, {}, {}, {}, {}, {}})
                                                     : u"D GETARN^TVCLSU"_s);
        const QStringList pageEntries = page.isEmpty() ? QStringList() : page.split(Entry);
        QCOMPARE(pageEntries.size(), pageSizes[i]);
        entries << pageEntries;
    }
    // Ordered by search key and number; text in display form; department.
    QCOMPARE(entries.size(), count);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(entries[i], QString::number(100001 + i) + u"`Artikel Nr. " + QString::number(i + 1)
                                 + u" für draußen`10");
    }
}

void TestLookup::articleSearchCriteria_data()
{
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QStringList>("numbers");
    const QString none;
    QTest::newRow("all of the firm") << QStringList{none, none, none, none, none, none, none}
                                     << QStringList{u"100001"_s, u"100002"_s, u"100003"_s, u"100004"_s,
                                                    u"100005"_s};
    QTest::newRow("key typed in lower case") << QStringList{u"gro"_s, none, none, none, none, none, none}
                                             << QStringList{u"100001"_s, u"100002"_s};
    QTest::newRow("key with umlaut") << QStringList{u"GRÖSSE"_s, none, none, none, none, none, none}
                                     << QStringList{u"100002"_s};
    QTest::newRow("main group") << QStringList{none, u"1"_s, none, none, none, none, none}
                                << QStringList{u"100001"_s, u"100002"_s, u"100003"_s};
    QTest::newRow("sub group") << QStringList{none, none, u"102"_s, none, none, none, none}
                               << QStringList{u"100003"_s};
    QTest::newRow("supplier with zeros") << QStringList{none, none, none, u"070001"_s, none, none, none}
                                         << QStringList{u"100001"_s, u"100004"_s};
    QTest::newRow("department") << QStringList{none, none, none, none, u"20"_s, none, none}
                                << QStringList{u"100005"_s};
    QTest::newRow("active") << QStringList{none, none, none, none, none, u"J"_s, none}
                            << QStringList{u"100001"_s, u"100002"_s, u"100003"_s};
    QTest::newRow("discontinued") << QStringList{none, none, none, none, none, u"Z"_s, none}
                                  << QStringList{u"100005"_s};
    QTest::newRow("listed B") << QStringList{none, none, none, none, none, none, u"B"_s}
                              << QStringList{u"100002"_s, u"100004"_s};
    QTest::newRow("everything") << QStringList{u"GRO"_s, u"1"_s, u"101"_s, u"70002"_s, u"10"_s, u"J"_s, u"B"_s}
                                << QStringList{u"100002"_s};
    QTest::newRow("nothing matches") << QStringList{u"GRO"_s, u"2"_s, none, none, none, none, none}
                                     << QStringList{};
}

void TestLookup::articleSearchCriteria()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, numbers);
    const QList<QStringList> articles{
        // short designation (server form), main, sub, supplier, department, active, listed
        {u"GROBKIES"_s, u"1"_s, u"101"_s, u"70001"_s, u"10"_s, u"J"_s, u"A"_s},
        {u"GR\\SSE L"_s, u"1"_s, u"101"_s, u"70002"_s, u"10"_s, u"J"_s, u"B"_s},
        {u"KIES"_s, u"1"_s, u"102"_s, u"70002"_s, u"10"_s, u"J"_s, u"C"_s},
        {u"SAND"_s, u"2"_s, u"201"_s, u"70001"_s, u"10"_s, u"N"_s, u"B"_s},
        {u"ZIEGEL"_s, u"3"_s, u"301"_s, u"70003"_s, u"20"_s, u"Z"_s, u"N"_s},
    };
    const QStringList properties{u"Kurzbez"_s, u"HGrp"_s, u"UGrp"_s, u"Lieferant"_s, u"AbtNr"_s,
                                 u"Aktiv"_s, u"Gelistet"_s};
    for (const QStringList &values : articles) {
        Properties article{{u"Artnr"_s, QString::number(++m_lastArticle)}, {u"Bez"_s, values[0]}};
        for (qsizetype i = 0; i < properties.size(); ++i)
            article.append({properties[i], values[i]});
        m_fixture.save(u"TV.Artikel"_s, article);
    }
    m_fixture.setSessionFirm();
    QStringList found;
    for (const QString &entry : pages(criteria))
        found << entry.section(u'`', 0, 0);
    QCOMPARE(found, numbers);
}

void TestLookup::articleSearchWithQuoteInTheKey()
{
    saveArticles(u"ZOLLSTOCK 2\"\""_s, 1);
    saveArticles(u"ZOLLSTOCK 2M"_s, 1);
    m_fixture.setSessionFirm();
    const QString command = getarf({u"ZOLLSTOCK 2\""_s, {}, {}, {}, {}, {}, {}});
    QVERIFY(command.contains(u"\"ZOLLSTOCK 2\"\"\""_s));
    const QStringList found = pages({u"ZOLLSTOCK 2\""_s, {}, {}, {}, {}, {}, {}});
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].section(u'`', 0, 0), u"100001"_s);
}

void TestLookup::newSearchReplacesTheRunningOne()
{
    saveArticles(u"AAA"_s, 6);
    saveArticles(u"BBB"_s, 2);
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_s), QString());  // no search yet
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_s, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    QCOMPARE(m_fixture.xecute(getarf({u"BBB"_s, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 2);
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_s), QString());
    // A refused search ends the running one too.
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_s, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    QVERIFY(testsupport::ErrorOf([&] { m_fixture.xecute(getarf({u"AAA"_s, u"x"_s, {}, {}, {}, {}, {}})); })
            != ErrorNumber{});
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_s), QString());
    // The search is the session's: another connection has none running.
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_s, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    store::StoreFactory other;
    other.connect(m_fixture.database().connectString());
    auto windows = other.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=" + m_fixture.firm() + u",FIL=0,PERSONAL=\"MUELLER\""});
    QCOMPARE(windows->callMethod(u"Xecute"_s, {u"D GETARN^TVCLSU"_s}), QString());
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_s).split(Entry).size(), 2);
}

void TestLookup::malformedSearchCommandsAreRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<ErrorNumber>("error");
    QTest::addColumn<QString>("named");
    const QString none;
    QTest::newRow("six arguments") << uR"(D GETARF^TVCLSU("A","","","","",""))"_s << ErrorNumber::MalformedCommand
                                   << u"GETARF"_s;
    QTest::newRow("eight arguments") << uR"(D GETARF^TVCLSU("A","","","","","","",""))"_s
                                     << ErrorNumber::MalformedCommand << u"GETARF"_s;
    QTest::newRow("unquoted") << uR"(D GETARF^TVCLSU(A,"","","","","",""))"_s << ErrorNumber::MalformedCommand
                              << u"Anführungszeichen"_s;
    QTest::newRow("unclosed literal") << uR"(D GETARF^TVCLSU("A,"","","","","",""))"_s
                                      << ErrorNumber::MalformedCommand << u"GETARF"_s;
    QTest::newRow("trailing command") << uR"(D GETARF^TVCLSU("A","","","","","","") K ^B)"_s
                                      << ErrorNumber::MalformedCommand << u"K ^B"_s;
    QTest::newRow("main group not a number") << getarf({none, u"1a"_s, none, none, none, none, none})
                                             << ErrorNumber::InvalidValue << u"Hauptgruppe"_s;
    QTest::newRow("supplier not a number") << getarf({none, none, none, u"70 01"_s, none, none, none})
                                           << ErrorNumber::InvalidValue << u"Lieferant"_s;
    QTest::newRow("active unknown") << getarf({none, none, none, none, none, u"X"_s, none})
                                    << ErrorNumber::InvalidValue << u"aktiv"_s;
    QTest::newRow("listed unknown") << getarf({none, none, none, none, none, none, u"D"_s})
                                    << ErrorNumber::InvalidValue << u"gelistet"_s;
    QTest::newRow("UGRP not a number") << u"d UGRP^TVCLSU(\"1\")"_s << ErrorNumber::MalformedCommand
                                       << u"UGRP"_s;
    QTest::newRow("UGRP unclosed") << u"d UGRP^TVCLSU(1"_s << ErrorNumber::MalformedCommand << u")"_s;
    QTest::newRow("HGRP with more") << u"d HGRP^TVCLSU(1)"_s << ErrorNumber::UnknownCommand << u"HGRP"_s;
    QTest::newRow("GETARN in upper case only") << u"d GETARN^TVCLSU"_s << ErrorNumber::UnknownCommand
                                               << u"GETARN"_s;
    QTest::newRow("supplier, letters") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",7x,1)),%,2)) W:$F($ZV,\"MSM\") P0"_s
                                       << ErrorNumber::MalformedCommand << u"P0"_s;
    QTest::newRow("supplier, other tail") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",7,1)),%,3)) W P0"_s
                                          << ErrorNumber::MalformedCommand << u"P0"_s;
}

void TestLookup::malformedSearchCommandsAreRefused()
{
    QFETCH(QString, command);
    QFETCH(ErrorNumber, error);
    QFETCH(QString, named);
    m_fixture.setSessionFirm();
    EXPECT_ACCESS_ERROR(m_fixture.xecute(command), error, named);
}

void TestLookup::supplierName_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("known") << u"70003"_s << u"Müller Baustoffe GmbH"_s;
    QTest::newRow("leading zeros") << u"0070003"_s << u"Müller Baustoffe GmbH"_s;
    QTest::newRow("unknown") << u"70099"_s << QString();
    QTest::newRow("short number") << u"9"_s << u"Zweite Müller"_s;
}

void TestLookup::supplierName()
{
    QFETCH(QString, number);
    QFETCH(QString, name);
    savePartners();
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\"," + number
                              + u",1)),%,2)) W:$F($ZV,\"MSM\") P0"),
             name);
}

QTEST_GUILESS_MAIN(TestLookup)
#include "tst_lookup.moc"
