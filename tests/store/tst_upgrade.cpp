#include <QTest>

#include "store/Schema.h"
#include "store/Session.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

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
    m_fixture.save(u"TV.Artikel"_s, {{u"Artnr"_s, u"100001"_s},
                                      {u"Bez"_s, u"Gro~e Sto~fuge"_s},
                                      {u"Kurzbez"_s, u"GR\\~E"_s}});
    m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}, {u"ArtBez"_s, u"Übergröße"_s}});
    m_fixture.save(u"TV.Lieferant"_s, {{u"Lnr"_s, u"70001"_s}, {u"Kurzbez"_s, u"M]LLER"_s},
                                        {u"SaKonto"_s, u"007"_s}});
    const QString firm = m_fixture.firm();
    m_fixture.end();
    {
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        const QStringList older{
            u"DROP INDEX tv_artikel_i1"_s,
            u"ALTER TABLE tv_artikel DROP COLUMN s_kurzbez"_s,
            u"ALTER TABLE tv_artikel DROP COLUMN s_bez"_s,
            u"ALTER TABLE konkur_konkur DROP COLUMN s_artbez"_s,
            u"ALTER TABLE tv_lieferant DROP COLUMN n_sakonto"_s,
            u"UPDATE tolven_meta SET value = '1' WHERE name = 'schema_version'"_s,
        };
        for (const QString &sql : older)
            session->execDirect(sql, {}, u"Test"_s);
        QCOMPARE(store::schema::upgrade(*session), 1);
    }
    QVERIFY(m_fixture.begin());
    m_fixture.setFirm(firm);
    m_fixture.setSessionFirm();
    QCOMPARE(m_fixture.xecute(u"D GETARF^TVCLSU(\"GROESSE\",\"\",\"\",\"\",\"\",\"\",\"\")"_s).section(u'`', 0, 0),
             u"100001"_s);
    QCOMPARE(testsupport::FirstColumns(m_fixture.rows(u"Konkur.Konkur"_s, u"Konkur"_s,
                                                      {firm, {}, {}, u"uebergroesse"_s, {}})).size(),
             1);
    QCOMPARE(testsupport::FirstColumns(m_fixture.rows(u"TV.Windows"_s, u"KkrSuche"_s,
                                                      {firm, u"L"_s, u"MÜ"_s, u"7"_s})),
             QStringList{u"70001"_s});
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
