#include <QSqlQuery>
#include <QTest>

#include "store/ClassRegistry.h"
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
    void upgradeGivesEveryRowAVersionAndAHistory();
    void upgradeReplacesTheTextIndexTrigger();

private:
    // What a database of version 3 lacks: row versions and the history.
    static QStringList withoutVersionsAndHistory(bool postgres)
    {
        QStringList statements;
        for (const store::ClassDescription &cls : store::AllClasses()) {
            if (!cls.hasObjects())
                continue;
            if (cls.keepsHistory) {
                if (postgres) {
                    statements << u"DROP FUNCTION " + cls.table + u"_hist() CASCADE";
                } else {
                    for (const QString &suffix : {u"_hist_ai"_s, u"_hist_ad"_s, u"_hist_au"_s})
                        statements << u"DROP TRIGGER " + cls.table + suffix;
                }
            }
            statements << u"ALTER TABLE " + cls.table + u" DROP COLUMN obj_version";
        }
        return statements << u"DROP TABLE tolven_history"_s << u"DROP TABLE tolven_writer"_s;
    }

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
        older << withoutVersionsAndHistory(backend == u"PostgreSQL");
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

void TestUpgrade::upgradeGivesEveryRowAVersionAndAHistory()
{
    QFETCH_GLOBAL(QString, backend);
    const QString first = m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}, {u"PreisExcl"_s, u"5"_s}});
    const QString second = m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100002"_s}});
    m_fixture.save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}});
    const QString firm = m_fixture.firm();
    m_fixture.end();
    {
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        for (const QString &sql : withoutVersionsAndHistory(backend == u"PostgreSQL"))
            session->execDirect(sql, {}, u"Test"_s);
        session->execDirect(u"UPDATE tolven_meta SET value = '3' WHERE name = 'schema_version'"_s, {}, u"Test"_s);
        QCOMPARE(store::schema::upgrade(*session), 3);
    }
    QVERIFY(m_fixture.begin());
    m_fixture.setFirm(firm);
    m_fixture.setSessionFirm();
    // Every row kept, each with version 1, and no history of what was there before.
    const QList<QStringList> rows = m_fixture.rows(u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, {}, {}});
    QCOMPARE(testsupport::FirstColumns(rows), (QStringList{first, second}));
    for (const QStringList &row : rows)
        QCOMPARE(row.value(17), u"1"_s);
    QCOMPARE(m_fixture.rows(u"Konkur.Par"_s, u"Konkur"_s, {firm}).size(), 1);
    QCOMPARE(m_fixture.rows(u"Konkur.Verlauf"_s, u"Objekt"_s, {u"Konkur.Konkur"_s, first}).size(), 0);

    // Versions and history work from now on.
    auto position = m_fixture.factory().openForWrite(u"Konkur.Konkur"_s, first);
    position->sys_ExpectVersion(u"1"_s);
    position->setProperty(u"PreisExcl"_s, u"6"_s);
    position->sys_save();
    QCOMPARE(position->sys_Version(), u"2"_s);
    const QList<QStringList> history =
        m_fixture.rows(u"Konkur.Verlauf"_s, u"Objekt"_s, {u"Konkur.Konkur"_s, first});
    QCOMPARE(history.size(), 1);
    QCOMPARE(history[0].mid(6), (QStringList{u"A"_s, u"PreisExcl"_s, u"5"_s, u"6"_s}));
}

// Version 4 rewrote the positions' text index for every write that named the
// text, changed or not; version 5 only for a changed text. The upgrade must
// replace the trigger there, not keep it for being present.
void TestUpgrade::upgradeReplacesTheTextIndexTrigger()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend == u"PostgreSQL")
        QSKIP("PostgreSQL's text index is an index of the column itself, kept without a trigger.");
    const QString id = m_fixture.save(u"Konkur.Konkur"_s, {{u"Artnr"_s, u"100001"_s}, {u"ArtBez"_s, u"Stoßfugenband"_s}});
    const QString trigger = u"SELECT sql FROM sqlite_master WHERE name = 'konkur_konkur_s_artbez_au'"_s;
    const QString firm = m_fixture.firm();
    m_fixture.end();
    {
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        session->execDirect(u"DROP TRIGGER konkur_konkur_s_artbez_au"_s, {}, u"Test"_s);
        session->execDirect(u"CREATE TRIGGER konkur_konkur_s_artbez_au AFTER UPDATE OF firma, obj_key, s_artbez"
                            u" ON konkur_konkur BEGIN UPDATE konkur_konkur_s_artbez_text SET firma = new.firma,"
                            u" obj_key = new.obj_key, s_artbez = new.s_artbez"
                            u" WHERE firma = old.firma AND obj_key = old.obj_key; END"_s,
                            {}, u"Test"_s);
        session->execDirect(u"UPDATE tolven_meta SET value = '4' WHERE name = 'schema_version'"_s, {}, u"Test"_s);
        QCOMPARE(store::schema::upgrade(*session), 4);
        QSqlQuery query(session->database());
        QVERIFY(query.exec(trigger) && query.next());
        QVERIFY2(query.value(0).toString().contains(u" WHEN "_s), qPrintable(query.value(0).toString()));
    }
    QVERIFY(m_fixture.begin());
    m_fixture.setFirm(firm);
    m_fixture.setSessionFirm();
    // The index follows a changed text and keeps an unchanged one.
    const auto write = [this, &id](const QString &text, const QString &price) {
        auto position = m_fixture.factory().openForWrite(u"Konkur.Konkur"_s, id);
        position->setProperty(u"ArtBez"_s, text);
        position->setProperty(u"PreisExcl"_s, price);
        position->sys_save();
    };
    write(u"Übergrößen-Rest"_s, u"5"_s);
    QCOMPARE(positionsWithText(u"stoßfuge"_s), 0);
    QCOMPARE(positionsWithText(u"übergröße"_s), 1);
    write(u"Übergrößen-Rest"_s, u"6"_s);
    QCOMPARE(positionsWithText(u"übergröße"_s), 1);
}

QTEST_GUILESS_MAIN(TestUpgrade)
#include "tst_upgrade.moc"
