#include <QTest>

#include "access/AccessError.h"
#include "support/AccessErrors.h"
#include "support/FirmFixture.h"

using tolven::ErrorNumber;
using testsupport::FirstColumns;
using testsupport::Properties;

namespace {

const QChar Entry = QChar(0xFF);

QString getarf(const QStringList &criteria)
{
    QStringList literals;
    for (const QString &criterion : criteria)
        literals << u'"' + QString(criterion).replace(u'"', u"\"\""_qs) + u'"';
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
        {u"70003"_qs, u"M]LLER BAUSTOFFE"_qs, u"M}ller Baustoffe GmbH"_qs, u"28195"_qs, u"Am Wall 1"_qs, u"007"_qs},
        {u"70001"_qs, u"MUELLER HOLZ"_qs, u"Holz M}ller"_qs, u"28203"_qs, u"Stra~e 2"_qs, u"010"_qs},
        {u"9"_qs, u"M]LLER BAUSTOFFE"_qs, u"Zweite M}ller"_qs, u"28199"_qs, u"Weg 3"_qs, u"7"_qs},
        {u"70002"_qs, u"MEIER"_qs, u"Meier KG"_qs, u"28209"_qs, u"Gasse 4"_qs, u"007"_qs},
        {u"70004"_qs, u"100% BAU"_qs, u"Hundert Prozent"_qs, u"28211"_qs, u"Ring 5"_qs, u"001"_qs},
    };
    for (const QStringList &s : suppliers) {
        m_fixture.save(u"TV.Lieferant"_qs, {{u"Lnr"_qs, s[0]}, {u"Kurzbez"_qs, s[1]}, {u"Name"_qs, s[2]},
                                             {u"PLZ"_qs, s[3]}, {u"Strasse"_qs, s[4]}, {u"SaKonto"_qs, s[5]}});
    }
    m_fixture.save(u"TV.Kunde"_qs, {{u"Knr"_qs, u"10001"_qs}, {u"Kurzbez"_qs, u"M]LLER"_qs},
                                    {u"Name"_qs, u"Kunde M}ller"_qs}, {u"Gruppe"_qs, u"10"_qs}});
    m_fixture.save(u"TV.Kunde"_qs, {{u"Knr"_qs, u"10002"_qs}, {u"Kurzbez"_qs, u"MUELLER BAU"_qs},
                                    {u"Name"_qs, u"Bau M}ller"_qs}, {u"Gruppe"_qs, u"20"_qs}});
}

void TestLookup::partnerSearch_data()
{
    QTest::addColumn<QStringList>("arguments");  // kind, key, group
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("suppliers, all") << QStringList{u"L"_qs, {}, {}}
                                    << QStringList{u"70004"_qs, u"70002"_qs, u"9"_qs, u"70003"_qs, u"70001"_qs};
    QTest::newRow("prefix, umlaut typed") << QStringList{u"L"_qs, u"Mül"_qs, {}}
                                          << QStringList{u"9"_qs, u"70003"_qs, u"70001"_qs};
    QTest::newRow("prefix, spelled out") << QStringList{u"L"_qs, u"MUELLER B"_qs, {}}
                                         << QStringList{u"9"_qs, u"70003"_qs};
    QTest::newRow("account as a number") << QStringList{u"L"_qs, {}, u"7"_qs}
                                         << QStringList{u"70002"_qs, u"9"_qs, u"70003"_qs};
    QTest::newRow("account with zeros") << QStringList{u"L"_qs, {}, u"007"_qs}
                                        << QStringList{u"70002"_qs, u"9"_qs, u"70003"_qs};
    QTest::newRow("account and prefix") << QStringList{u"L"_qs, u"ME"_qs, u"7"_qs} << QStringList{u"70002"_qs};
    QTest::newRow("account without suppliers") << QStringList{u"L"_qs, {}, u"15"_qs} << QStringList{};
    QTest::newRow("percent sign is literal") << QStringList{u"L"_qs, u"100%"_qs, {}} << QStringList{u"70004"_qs};
    QTest::newRow("wildcard finds nothing") << QStringList{u"L"_qs, u"%"_qs, {}} << QStringList{};
    QTest::newRow("customers, all") << QStringList{u"K"_qs, {}, {}} << QStringList{u"10001"_qs, u"10002"_qs};
    QTest::newRow("customers, group") << QStringList{u"K"_qs, u"M"_qs, u"20"_qs} << QStringList{u"10002"_qs};
}

void TestLookup::partnerSearch()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, numbers);
    savePartners();
    QCOMPARE(FirstColumns(m_fixture.rows(u"TV.Windows"_qs, u"KkrSuche"_qs, QStringList{m_fixture.firm()} + arguments)),
             numbers);
}

void TestLookup::partnerSearchRefusesMalformedArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("kind") << QStringList{u"1"_qs, u"X"_qs, {}, {}} << u"\"X\""_qs;
    QTest::newRow("kind empty") << QStringList{u"1"_qs, {}, {}, {}} << u"Kontenart"_qs;
    QTest::newRow("account") << QStringList{u"1"_qs, u"L"_qs, {}, u"7a"_qs} << u"7a"_qs;
    QTest::newRow("firm") << QStringList{u"1'"_qs, u"L"_qs, {}, {}} << u"1'"_qs;
}

void TestLookup::partnerSearchRefusesMalformedArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    auto result = m_fixture.factory().openQuery(u"TV.Windows"_qs, u"KkrSuche"_qs);
    EXPECT_ACCESS_ERROR(result->execute(arguments), ErrorNumber::InvalidValue, named);
}

void TestLookup::accountAndGroupLists()
{
    savePartners();
    for (const auto &[number, kind, name] : {std::tuple(u"010"_qs, u"L"_qs, u"Holzh{ndler"_qs),
                                             std::tuple(u"007"_qs, u"L"_qs, u"Baustoffh{ndler"_qs),
                                             std::tuple(u"100"_qs, u"K"_qs, u"Gro~kunden"_qs)}) {
        m_fixture.save(u"TV.KontoSammelKontoKreis"_qs, {{u"Nummer"_qs, number}, {u"Art"_qs, kind}, {u"Bez"_qs, name}});
    }
    const QString firm = m_fixture.firm();
    QCOMPARE(m_fixture.rows(u"TV.KontoSammelKontoKreis"_qs, u"SaKontoBez"_qs, {firm, u"L"_qs, {}, {}}),
             (QList<QStringList>{{u"007"_qs, u"Baustoffh{ndler"_qs}, {u"010"_qs, u"Holzh{ndler"_qs}}));

    m_fixture.save(u"TV.ParKundenGruppen"_qs, {{u"Gruppe"_qs, u"20"_qs}, {u"Bez"_qs, u"Handwerker"_qs}});
    m_fixture.save(u"TV.ParKundenGruppen"_qs, {{u"Gruppe"_qs, u"10"_qs}, {u"Bez"_qs, u"Privatkunden M}nchen"_qs}});
    QCOMPARE(m_fixture.rows(u"TV.ParKundenGruppen"_qs, u"Gruppen"_qs, {firm, {}, u"J"_qs}),
             (QList<QStringList>{{u"10"_qs, u"Privatkunden M}nchen"_qs}, {u"20"_qs, u"Handwerker"_qs}}));

    const QString empty = m_fixture.newFirm();
    QVERIFY(m_fixture.rows(u"TV.KontoSammelKontoKreis"_qs, u"SaKontoBez"_qs, {empty, u"L"_qs, {}, {}}).isEmpty());
    QVERIFY(m_fixture.rows(u"TV.ParKundenGruppen"_qs, u"Gruppen"_qs, {empty, {}, u"J"_qs}).isEmpty());
}

void TestLookup::groupAndDepartmentLists()
{
    for (const auto &[number, name] : {std::pair(u"10"_qs, u"Gartenbedarf"_qs), std::pair(u"2"_qs, u"M|rtel"_qs),
                                       std::pair(u"1"_qs, u"Zement"_qs)})
        m_fixture.save(u"TV.Hauptgruppe"_qs, {{u"HGrp"_qs, number}, {u"Bez"_qs, name}});
    for (const auto &[number, main, name] : {std::tuple(u"201"_qs, u"2"_qs, u"Putzm|rtel"_qs),
                                             std::tuple(u"1001"_qs, u"10"_qs, u"Rasen"_qs),
                                             std::tuple(u"102"_qs, u"1"_qs, u"Wei~zement"_qs),
                                             std::tuple(u"101"_qs, u"1"_qs, u"Grauzement"_qs)})
        m_fixture.save(u"TV.Untergruppe"_qs, {{u"UGrp"_qs, number}, {u"HGrp"_qs, main}, {u"Bez"_qs, name}});
    m_fixture.save(u"TV.Abteilung"_qs, {{u"AbtNr"_qs, u"20"_qs}, {u"Bez"_qs, u"H|lzer"_qs}});
    m_fixture.save(u"TV.Abteilung"_qs, {{u"AbtNr"_qs, u"10"_qs}, {u"Bez"_qs, u"Baustoffe"_qs}});
    m_fixture.setSessionFirm();

    auto list = [](const QStringList &entries) { return entries.join(Entry); };
    QCOMPARE(m_fixture.xecute(u"d HGRP^TVCLSU"_qs), list({u"1`Zement"_qs, u"2`Mörtel"_qs, u"10`Gartenbedarf"_qs}));
    QCOMPARE(m_fixture.xecute(u"d ABTNR^TVCLSU"_qs), list({u"10`Baustoffe"_qs, u"20`Hölzer"_qs}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(1)"_qs), list({u"101`Grauzement"_qs, u"102`Weißzement"_qs}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(010)"_qs), list({u"1001`Rasen"_qs}));
    QCOMPARE(m_fixture.xecute(u"d UGRP^TVCLSU(3)"_qs), QString());

    // Another firm's session sees none of them.
    m_fixture.setFirm(m_fixture.newFirm());
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"d HGRP^TVCLSU"_qs), QString());
}

void TestLookup::routinesNeedTheSessionFirm_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("HGRP") << u"d HGRP^TVCLSU"_qs;
    QTest::newRow("UGRP") << u"d UGRP^TVCLSU(1)"_qs;
    QTest::newRow("GETARF") << getarf({u"A"_qs, {}, {}, {}, {}, {}, {}});
    QTest::newRow("GETARN") << u"D GETARN^TVCLSU"_qs;
    QTest::newRow("supplier") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",70001,1)),%,2)) W:$F($ZV,\"MSM\") P0"_qs;
}

void TestLookup::routinesNeedTheSessionFirm()
{
    QFETCH(QString, command);
    QCOMPARE(testsupport::ErrorOf([&] { m_fixture.xecute(command); }), ErrorNumber::NoSessionContext);
}

void TestLookup::saveArticles(const QString &keyPrefix, int count, const Properties &properties)
{
    for (int i = 1; i <= count; ++i) {
        Properties article{{u"Artnr"_qs, QString::number(++m_lastArticle)},
                           {u"Bez"_qs, u"Artikel Nr. " + QString::number(i) + u" f}r drau~en"},
                           {u"Kurzbez"_qs, keyPrefix + u' ' + QString::number(i)},
                           {u"AbtNr"_qs, u"10"_qs}};
        m_fixture.save(u"TV.Artikel"_qs, article + properties);
    }
}

QStringList TestLookup::pages(const QStringList &criteria)
{
    QStringList all;
    QString page = m_fixture.xecute(getarf(criteria));
    for (int guard = 0; !page.isEmpty() && guard < 100; ++guard) {
        const QStringList entries = page.split(Entry);
        if (entries.size() > 4)
            return {u"page with more than four entries"_qs};
        all << entries;
        page = m_fixture.xecute(u"D GETARN^TVCLSU"_qs);
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
    saveArticles(u"QUADRO"_qs, count);
    saveArticles(u"QUADRAT"_qs, 2);  // shares a shorter prefix only
    m_fixture.setSessionFirm();

    QStringList entries;
    for (qsizetype i = 0; i < pageSizes.size(); ++i) {
        const QString page = m_fixture.xecute(i == 0 ? getarf({u"QUADRO"_qs, {}, {}, {}, {}, {}, {}})
                                                     : u"D GETARN^TVCLSU"_qs);
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
                                     << QStringList{u"100001"_qs, u"100002"_qs, u"100003"_qs, u"100004"_qs,
                                                    u"100005"_qs};
    QTest::newRow("key typed in lower case") << QStringList{u"gro"_qs, none, none, none, none, none, none}
                                             << QStringList{u"100001"_qs, u"100002"_qs};
    QTest::newRow("key with umlaut") << QStringList{u"GRÖSSE"_qs, none, none, none, none, none, none}
                                     << QStringList{u"100002"_qs};
    QTest::newRow("main group") << QStringList{none, u"1"_qs, none, none, none, none, none}
                                << QStringList{u"100001"_qs, u"100002"_qs, u"100003"_qs};
    QTest::newRow("sub group") << QStringList{none, none, u"102"_qs, none, none, none, none}
                               << QStringList{u"100003"_qs};
    QTest::newRow("supplier with zeros") << QStringList{none, none, none, u"070001"_qs, none, none, none}
                                         << QStringList{u"100001"_qs, u"100004"_qs};
    QTest::newRow("department") << QStringList{none, none, none, none, u"20"_qs, none, none}
                                << QStringList{u"100005"_qs};
    QTest::newRow("active") << QStringList{none, none, none, none, none, u"J"_qs, none}
                            << QStringList{u"100001"_qs, u"100002"_qs, u"100003"_qs};
    QTest::newRow("discontinued") << QStringList{none, none, none, none, none, u"Z"_qs, none}
                                  << QStringList{u"100005"_qs};
    QTest::newRow("listed B") << QStringList{none, none, none, none, none, none, u"B"_qs}
                              << QStringList{u"100002"_qs, u"100004"_qs};
    QTest::newRow("everything") << QStringList{u"GRO"_qs, u"1"_qs, u"101"_qs, u"70002"_qs, u"10"_qs, u"J"_qs, u"B"_qs}
                                << QStringList{u"100002"_qs};
    QTest::newRow("nothing matches") << QStringList{u"GRO"_qs, u"2"_qs, none, none, none, none, none}
                                     << QStringList{};
}

void TestLookup::articleSearchCriteria()
{
    QFETCH(QStringList, criteria);
    QFETCH(QStringList, numbers);
    const QList<QStringList> articles{
        // short designation (server form), main, sub, supplier, department, active, listed
        {u"GROBKIES"_qs, u"1"_qs, u"101"_qs, u"70001"_qs, u"10"_qs, u"J"_qs, u"A"_qs},
        {u"GR\\SSE L"_qs, u"1"_qs, u"101"_qs, u"70002"_qs, u"10"_qs, u"J"_qs, u"B"_qs},
        {u"KIES"_qs, u"1"_qs, u"102"_qs, u"70002"_qs, u"10"_qs, u"J"_qs, u"C"_qs},
        {u"SAND"_qs, u"2"_qs, u"201"_qs, u"70001"_qs, u"10"_qs, u"N"_qs, u"B"_qs},
        {u"ZIEGEL"_qs, u"3"_qs, u"301"_qs, u"70003"_qs, u"20"_qs, u"Z"_qs, u"N"_qs},
    };
    const QStringList properties{u"Kurzbez"_qs, u"HGrp"_qs, u"UGrp"_qs, u"Lieferant"_qs, u"AbtNr"_qs,
                                 u"Aktiv"_qs, u"Gelistet"_qs};
    for (const QStringList &values : articles) {
        Properties article{{u"Artnr"_qs, QString::number(++m_lastArticle)}, {u"Bez"_qs, values[0]}};
        for (qsizetype i = 0; i < properties.size(); ++i)
            article.append({properties[i], values[i]});
        m_fixture.save(u"TV.Artikel"_qs, article);
    }
    m_fixture.setSessionFirm();
    QStringList found;
    for (const QString &entry : pages(criteria))
        found << entry.section(u'`', 0, 0);
    QCOMPARE(found, numbers);
}

void TestLookup::articleSearchWithQuoteInTheKey()
{
    saveArticles(u"ZOLLSTOCK 2\"\""_qs, 1);
    saveArticles(u"ZOLLSTOCK 2M"_qs, 1);
    m_fixture.setSessionFirm();
    const QString command = getarf({u"ZOLLSTOCK 2\""_qs, {}, {}, {}, {}, {}, {}});
    QVERIFY(command.contains(u"\"ZOLLSTOCK 2\"\"\""_qs));
    const QStringList found = pages({u"ZOLLSTOCK 2\""_qs, {}, {}, {}, {}, {}, {}});
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].section(u'`', 0, 0), u"100001"_qs);
}

void TestLookup::newSearchReplacesTheRunningOne()
{
    saveArticles(u"AAA"_qs, 6);
    saveArticles(u"BBB"_qs, 2);
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_qs), QString());  // no search yet
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_qs, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    QCOMPARE(m_fixture.xecute(getarf({u"BBB"_qs, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 2);
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_qs), QString());
    // A refused search ends the running one too.
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_qs, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    QVERIFY(testsupport::ErrorOf([&] { m_fixture.xecute(getarf({u"AAA"_qs, u"x"_qs, {}, {}, {}, {}, {}})); })
            != ErrorNumber{});
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_qs), QString());
    // The search is the session's: another connection has none running.
    QCOMPARE(m_fixture.xecute(getarf({u"AAA"_qs, {}, {}, {}, {}, {}, {}})).split(Entry).size(), 4);
    store::StoreFactory other;
    other.connect(m_fixture.database().connectString());
    auto windows = other.classObject(u"TV.Windows"_qs);
    windows->callMethod(u"Xecute"_qs, {u"S FIRMA=" + m_fixture.firm() + u",FIL=0,PERSONAL=\"MUELLER\""});
    QCOMPARE(windows->callMethod(u"Xecute"_qs, {u"D GETARN^TVCLSU"_qs}), QString());
    QCOMPARE(m_fixture.xecute(u"D GETARN^TVCLSU"_qs).split(Entry).size(), 2);
}

void TestLookup::malformedSearchCommandsAreRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<ErrorNumber>("error");
    QTest::addColumn<QString>("named");
    const QString none;
    QTest::newRow("six arguments") << uR"(D GETARF^TVCLSU("A","","","","",""))"_qs << ErrorNumber::MalformedCommand
                                   << u"GETARF"_qs;
    QTest::newRow("eight arguments") << uR"(D GETARF^TVCLSU("A","","","","","","",""))"_qs
                                     << ErrorNumber::MalformedCommand << u"GETARF"_qs;
    QTest::newRow("unquoted") << uR"(D GETARF^TVCLSU(A,"","","","","",""))"_qs << ErrorNumber::MalformedCommand
                              << u"Anführungszeichen"_qs;
    QTest::newRow("unclosed literal") << uR"(D GETARF^TVCLSU("A,"","","","","",""))"_qs
                                      << ErrorNumber::MalformedCommand << u"GETARF"_qs;
    QTest::newRow("trailing command") << uR"(D GETARF^TVCLSU("A","","","","","","") K ^B)"_qs
                                      << ErrorNumber::MalformedCommand << u"K ^B"_qs;
    QTest::newRow("main group not a number") << getarf({none, u"1a"_qs, none, none, none, none, none})
                                             << ErrorNumber::InvalidValue << u"Hauptgruppe"_qs;
    QTest::newRow("supplier not a number") << getarf({none, none, none, u"70 01"_qs, none, none, none})
                                           << ErrorNumber::InvalidValue << u"Lieferant"_qs;
    QTest::newRow("active unknown") << getarf({none, none, none, none, none, u"X"_qs, none})
                                    << ErrorNumber::InvalidValue << u"aktiv"_qs;
    QTest::newRow("listed unknown") << getarf({none, none, none, none, none, none, u"D"_qs})
                                    << ErrorNumber::InvalidValue << u"gelistet"_qs;
    QTest::newRow("UGRP not a number") << u"d UGRP^TVCLSU(\"1\")"_qs << ErrorNumber::MalformedCommand
                                       << u"UGRP"_qs;
    QTest::newRow("UGRP unclosed") << u"d UGRP^TVCLSU(1"_qs << ErrorNumber::MalformedCommand << u")"_qs;
    QTest::newRow("HGRP with more") << u"d HGRP^TVCLSU(1)"_qs << ErrorNumber::UnknownCommand << u"HGRP"_qs;
    QTest::newRow("GETARN in upper case only") << u"d GETARN^TVCLSU"_qs << ErrorNumber::UnknownCommand
                                               << u"GETARN"_qs;
    QTest::newRow("supplier, letters") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",7x,1)),%,2)) W:$F($ZV,\"MSM\") P0"_qs
                                       << ErrorNumber::MalformedCommand << u"P0"_qs;
    QTest::newRow("supplier, other tail") << u"S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,\"L\",7,1)),%,3)) W P0"_qs
                                          << ErrorNumber::MalformedCommand << u"P0"_qs;
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
    QTest::newRow("known") << u"70003"_qs << u"Müller Baustoffe GmbH"_qs;
    QTest::newRow("leading zeros") << u"0070003"_qs << u"Müller Baustoffe GmbH"_qs;
    QTest::newRow("unknown") << u"70099"_qs << QString();
    QTest::newRow("short number") << u"9"_qs << u"Zweite Müller"_qs;
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
