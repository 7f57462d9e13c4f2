#include <QTest>

#include "store/Schema.h"
#include "store/Session.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

// A database of an older version lacks what the store keeps beside the
// properties for its searches: search-key columns (before version 2) and
// the text index of the positions (before version 3). The upgrade must add
// them and fill them for the rows already stored, or the searches would not
// find those rows.
class TestUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init() { m_fixture.begin(); }
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void upgradeFillsWhatTheSearchesNeed_data();
    void upgradeFillsWhatTheSearchesNeed();

private:
    int positionsWithText(const QString &text)
    {
        return int(m_fixture.rows(u"Konkur.Konkur"_s, u"Konkur"_s, {m_fixture.firm(), {}, {}, text, {}}).size());
    }

    testsupport::FirmFixture m_fixture;
};

void TestUpgrade::upgradeFillsWhatTheSearchesNeed_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("version 1") << 1;
    QTest::newRow("version 2") << 2;
}

void TestUpgrade::upgradeFillsWhatTheSearchesNeed()
{
    QFETCH(int, version);
    QFETCH_GLOBAL(QString, backend);
    m_fixture.save(u"TV.Artikel"_s, {{u"Artnr"_s, u"100001"_s},
                                      {u"Bez"_s, u"Gro~e Sto~fuge"_s},
                                      {u"Kurzbez"_s, u"GR\\~E"_s}});
    m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}, {u"ArtBez"_s, u"Übergröße"_s}});
    m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}});
    m_fixture.save(u"TV.Lieferant"_s, {{u"Lnr"_s, u"70001"_s}, {u"Kurzbez"_s, u"M]LLER"_s},
                                        {u"SaKonto"_s, u"007"_s}});
    const QString firm = m_fixture.firm();
    m_fixture.end();
    {
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        // Version 2 as it was: no text index.
        QStringList older = backend == u"PostgreSQL"
            ? QStringList{u"DROP INDEX konkur_konkur_s_artbez_trgm"_s}
            : QStringList{u"DROP TRIGGER konkur_konkur_s_artbez_ai"_s, u"DROP TRIGGER konkur_konkur_s_artbez_ad"_s,
                          u"DROP TRIGGER konkur_konkur_s_artbez_au"_s, u"DROP TABLE konkur_konkur_s_artbez_fts"_s,
                          u"DROP TABLE konkur_konkur_s_artbez_text"_s};
        if (version == 1) {
            older << u"DROP INDEX tv_artikel_i1"_s << u"ALTER TABLE tv_artikel DROP COLUMN s_kurzbez"_s
                  << u"ALTER TABLE tv_artikel DROP COLUMN s_bez"_s << u"ALTER TABLE konkur_konkur DROP COLUMN s_artbez"_s
                  << u"ALTER TABLE tv_lieferant DROP COLUMN n_sakonto"_s;
        }
        for (const QString &sql : older)
            session->execDirect(sql, {}, u"Test"_s);
        session->execDirect(u"UPDATE tolven_meta SET value = ? WHERE name = 'schema_version'"_s,
                            {QString::number(version)}, u"Test"_s);
        QCOMPARE(store::schema::upgrade(*session), version);
        QCOMPARE(store::schema::recordedVersion(*session), store::schema::CurrentVersion);
    }
    QVERIFY(m_fixture.begin());
    m_fixture.setFirm(firm);
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"D GETARF^TVCLSU(\"GROESSE\",\"\",\"\",\"\",\"\",\"\",\"\")"_s).section(u'`', 0, 0),
             u"100001"_s);
    QCOMPARE(testsupport::FirstColumns(m_fixture.rows(u"TV.Windows"_s, u"KkrSuche"_s,
                                                      {firm, u"L"_s, u"MÜ"_s, u"7"_s})),
             QStringList{u"70001"_s});
    // Long enough for the text index: the stored rows are found through it,
    // and it follows what is saved after the upgrade.
    QCOMPARE(positionsWithText(u"uebergroesse"_s), 1);
    QCOMPARE(positionsWithText(u"stoßfuge"_s), 1);
    m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}, {u"ArtBez"_s, u"Übergrößen-Rest"_s}});
    QCOMPARE(positionsWithText(u"übergröße"_s), 2);
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
