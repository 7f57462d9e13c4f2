#include <QTest>

#include "store/Schema.h"
#include "store/Session.h"
#include "support/FirmFixture.h"

// A database of an older version lacks the search columns the store keeps
// beside the properties. The upgrade must add them and fill them for the
// rows already stored, or the searches would not find those rows.
class TestUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init() { m_fixture.begin(); }
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void upgradeFillsTheSearchColumnsOfStoredRows();

private:
    testsupport::FirmFixture m_fixture;
};

void TestUpgrade::upgradeFillsTheSearchColumnsOfStoredRows()
{
    m_fixture.save(u"TV.Artikel"_qs, {{u"Artnr"_qs, u"100001"_qs},
                                      {u"Bez"_qs, u"Gro~e Sto~fuge"_qs},
                                      {u"Kurzbez"_qs, u"GR\\~E"_qs}});
    m_fixture.save(u"Konkur.Konkur"_qs, {{u"Artnr"_qs, u"100001"_qs}, {u"ArtBez"_qs, u"Übergröße"_qs}});
    m_fixture.save(u"TV.Lieferant"_qs, {{u"Lnr"_qs, u"70001"_qs}, {u"Kurzbez"_qs, u"M]LLER"_qs},
                                        {u"SaKonto"_qs, u"007"_qs}});
    const QString firm = m_fixture.firm();
    m_fixture.end();
    {
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        const QStringList older{
            u"DROP INDEX tv_artikel_i1"_qs,
            u"ALTER TABLE tv_artikel DROP COLUMN s_kurzbez"_qs,
            u"ALTER TABLE tv_artikel DROP COLUMN s_bez"_qs,
            u"ALTER TABLE konkur_konkur DROP COLUMN s_artbez"_qs,
            u"ALTER TABLE tv_lieferant DROP COLUMN n_sakonto"_qs,
            u"UPDATE tolven_meta SET value = '1' WHERE name = 'schema_version'"_qs,
        };
        for (const QString &sql : older)
            session->execDirect(sql, {}, u"Test"_qs);
        QCOMPARE(store::schema::upgrade(*session), 1);
    }
    QVERIFY(m_fixture.begin());
    m_fixture.setFirm(firm);
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"D GETARF^TVCLSU(\"GROESSE\",\"\",\"\",\"\",\"\",\"\",\"\")"_qs).section(u'`', 0, 0),
             u"100001"_qs);
    QCOMPARE(testsupport::FirstColumns(m_fixture.rows(u"Konkur.Konkur"_qs, u"Konkur"_qs,
                                                      {firm, {}, {}, u"uebergroesse"_qs, {}})).size(),
             1);
    QCOMPARE(testsupport::FirstColumns(m_fixture.rows(u"TV.Windows"_qs, u"KkrSuche"_qs,
                                                      {firm, u"L"_qs, u"MÜ"_qs, u"7"_qs})),
             QStringList{u"70001"_qs});
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
