#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "store/ClassRegistry.h"
#include "store/CommandDispatcher.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreObject.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

// The searches of the client must find their rows through an index, not by
// reading a firm's whole table. SQLite's planner shows which it takes; the
// schema is the same on PostgreSQL, but for the text index, which is checked
// there too.
class TestQueryPlans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void queriesUseTheirIndex_data();
    void queriesUseTheirIndex();
    void methodsAndRoutinesUseTheirIndex_data();
    void methodsAndRoutinesUseTheirIndex();
    void textFilterUsesTheTrigramIndexOnPostgreSQL_data();
    void textFilterUsesTheTrigramIndexOnPostgreSQL();

private:
    // The plan's lines for sql, with every placeholder bound to a text.
    QStringList plan(const QString &sql);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::shared_ptr<store::Session> m_session;
};

void TestQueryPlans::initTestCase()
{
    m_db = std::make_unique<testsupport::TestDatabase>(u"SQLite"_s, false);
    m_session = store::Session::open(m_db->target());
}

void TestQueryPlans::cleanupTestCase()
{
    m_session.reset();
    m_db.reset();
}

QStringList TestQueryPlans::plan(const QString &sql)
{
    QSqlQuery query(m_session->database());
    if (!query.prepare(u"EXPLAIN QUERY PLAN " + sql))
        return {u"cannot prepare: "_s + query.lastError().text()};
    for (qsizetype i = 0; i < sql.count(u'?'); ++i)
        query.addBindValue(u"1"_s);
    if (!query.exec())
        return {u"cannot explain: "_s + query.lastError().text()};
    QStringList lines;
    while (query.next())
        lines << query.value(3).toString();
    return lines;
}

namespace {

// A full read of a table: "SCAN t" without an index. Reading the rows of a
// subquery ("CO-ROUTINE k", "MATERIALIZE k") is no table scan.
bool scansATable(const QStringList &plan)
{
    static const QRegularExpression fullScan(u"^SCAN (\\w+)$"_s);
    static const QRegularExpression subquery(u"^(CO-ROUTINE|MATERIALIZE) (\\w+)$"_s);
    QStringList subqueries;
    for (const QString &line : plan) {
        if (const QRegularExpressionMatch match = subquery.match(line); match.hasMatch())
            subqueries << match.captured(2);
    }
    for (const QString &line : plan) {
        const QRegularExpressionMatch match = fullScan.match(line);
        if (match.hasMatch() && !subqueries.contains(match.captured(1)))
            return true;
    }
    return false;
}

} // namespace

void TestQueryPlans::queriesUseTheirIndex_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("queryName");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("index");
    const QString none;
    const QString konkur = u"Konkur.Konkur"_s;
    QTest::newRow("positions by competitor") << konkur << u"Konkur"_s << QStringList{u"1"_s, u"WERKHOF"_s, none, none, none}
                                             << u"konkur_konkur_i1"_s;
    QTest::newRow("positions by article") << konkur << u"Konkur"_s << QStringList{u"1"_s, none, u"100001"_s, none, none}
                                          << u"konkur_konkur_i2"_s;
    QTest::newRow("positions by both") << konkur << u"Konkur"_s
                                       << QStringList{u"1"_s, u"WERKHOF"_s, u"100001"_s, u"zement"_s, none}
                                       << u"konkur_konkur_i1"_s;
    // The text index first, then its rows by their id: not the firm's rows, each asking the index.
    QTest::newRow("positions by text") << konkur << u"Konkur"_s << QStringList{u"1"_s, none, none, u"Zement"_s, none}
                                       << u"SEARCH t USING INTEGER PRIMARY KEY"_s;
    QTest::newRow("positions by text and competitor") << konkur << u"Konkur"_s
                                                      << QStringList{u"1"_s, u"WERKHOF"_s, none, u"grau"_s, none}
                                                      << u"SEARCH t USING INTEGER PRIMARY KEY"_s;
    QTest::newRow("positions changed since") << konkur << u"Konkur"_s
                                             << QStringList{u"1"_s, none, none, none, u"2026-12-01"_s}
                                             << u"konkur_konkur_i3"_s;
    QTest::newRow("positions' articles") << konkur << u"Konkur"_s << QStringList{u"1"_s, u"WERKHOF"_s, none, none, none}
                                         << u"sqlite_autoindex_tv_artikel_1"_s;
    QTest::newRow("article list") << konkur << u"Artikelliste"_s << QStringList{u"1"_s} << u"konkur_konkur_i2"_s;
    QTest::newRow("supplier search") << u"TV.Windows"_s << u"KkrSuche"_s
                                     << QStringList{u"1"_s, u"L"_s, u"MUELLER"_s, none} << u"tv_lieferant_i1"_s;
    QTest::newRow("customer search") << u"TV.Windows"_s << u"KkrSuche"_s
                                     << QStringList{u"1"_s, u"K"_s, u"MUELLER"_s, u"10"_s} << u"tv_kunde_i1"_s;
    QTest::newRow("competitors") << u"Konkur.Par"_s << u"Konkur"_s << QStringList{u"1"_s} << u"konkur_par_seq"_s;
}

void TestQueryPlans::queriesUseTheirIndex()
{
    QFETCH(QString, className);
    QFETCH(QString, queryName);
    QFETCH(QStringList, arguments);
    QFETCH(QString, index);
    const store::QueryDescription *query = store::FindClass(className)->findQuery(queryName);
    QVERIFY(query);
    const QStringList lines = plan(query->build(*m_session, arguments).sql);
    QVERIFY2(!scansATable(lines), qPrintable(lines.join(u"; ")));
    QVERIFY2(lines.join(u' ').contains(index), qPrintable(lines.join(u"; ")));
    // The articles of the rows, read with them, are found the same way.
    if (query->articles) {
        const QStringList articleLines = plan(query->articles(*m_session, arguments).statement.sql);
        QVERIFY2(!scansATable(articleLines), qPrintable(articleLines.join(u"; ")));
        QVERIFY2(articleLines.join(u' ').contains(u"sqlite_autoindex_tv_artikel_1"_s), qPrintable(articleLines.join(u"; ")));
        QVERIFY2(articleLines.join(u' ').contains(u"tv_artikelstaffel_i1"_s), qPrintable(articleLines.join(u"; ")));
    }
}

void TestQueryPlans::methodsAndRoutinesUseTheirIndex_data()
{
    QTest::addColumn<QString>("method");  // of Konkur.Konkur, or an M command
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("indexes");
    QTest::newRow("ArtikelDaten") << u"ArtikelDaten"_s << QStringList{u"1"_s, u"100001"_s}
                                  << QStringList{u"sqlite_autoindex_tv_artikel_1"_s, u"tv_artikelstaffel_i1"_s};
    QTest::newRow("ArtBez1") << u"ArtBez1"_s << QStringList{u"1"_s, u"100001"_s}
                             << QStringList{u"sqlite_autoindex_tv_artikel_1"_s};
    QTest::newRow("article search") << u"Xecute"_s << QStringList{uR"(D GETARF^TVCLSU("ZEMENT","","","","","J",""))"_qs}
                                    << QStringList{u"tv_artikel_i1"_s};
    QTest::newRow("article search by group")
        << u"Xecute"_s << QStringList{uR"(D GETARF^TVCLSU("","1","","","","",""))"_qs}
        << QStringList{u"tv_artikel_i1"_s};
    QTest::newRow("sub groups") << u"Xecute"_s << QStringList{u"d UGRP^TVCLSU(1)"_s}
                                << QStringList{u"tv_untergruppe_i1"_s};
}

void TestQueryPlans::methodsAndRoutinesUseTheirIndex()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, indexes);
    // A fresh session keeps only the statements of this call.
    m_session = store::Session::open(m_db->target());
    store::ExecuteCommand(*m_session, u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s);
    const QString className = method == u"Xecute" ? u"TV.Windows"_s : u"Konkur.Konkur"_s;
    auto object = store::StoreObject::classObject(m_session, *store::FindClass(className));
    object->callMethod(method, arguments);
    // Enough rows for a second page: GETARN's statement is planned too.
    const QStringList statements = m_session->keptStatements();
    QVERIFY(!statements.isEmpty());
    QStringList lines;
    for (const QString &sql : statements)
        lines << plan(sql);
    QVERIFY2(!scansATable(lines), qPrintable(lines.join(u"; ")));
    for (const QString &index : indexes)
        QVERIFY2(lines.join(u' ').contains(index), qPrintable(index + u": " + lines.join(u"; ")));
}

void TestQueryPlans::textFilterUsesTheTrigramIndexOnPostgreSQL_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("text") << QStringList{u"1"_s, {}, {}, u"Posten 1234"_s, {}};
    QTest::newRow("text with percent") << QStringList{u"1"_s, {}, {}, u"50% Posten"_s, {}};
    QTest::newRow("text and date") << QStringList{u"1"_s, {}, {}, u"Posten 99"_s, u"2026-01-01"_s};
}

void TestQueryPlans::textFilterUsesTheTrigramIndexOnPostgreSQL()
{
    QFETCH(QStringList, arguments);
    if (testsupport::postgresAddress().isEmpty()) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("TOLVEN_TEST_PG is not set: run the tests through scripts/test");
        QSKIP("no PostgreSQL cluster (TOLVEN_TEST_PG is not set; scripts/test starts one)");
    }
    testsupport::TestDatabase db(u"PostgreSQL"_s, false);
    auto session = store::Session::open(db.target());
    // A firm with many positions, each with a text of its own, so that the
    // planner weighs the index against reading the firm's rows.
    session->execDirect(u"INSERT INTO konkur_konkur (firma, obj_key, obj_seq, p_artnr, p_artbez, s_artbez, p_aenddatum)"
                        u" SELECT ?, g::text, g, '100001', 'Posten ' || g, 'POSTEN ' || g, '2026-02-01'"
                        u" FROM generate_series(1, 20000) g"_s,
                        {u"1"_s}, u"Test"_s);
    store::schema::analyze(*session);

    // EXPLAIN takes no parameters on PostgreSQL: the test's own values,
    // which hold no quote, stand in the text.
    const store::SqlStatement statement =
        store::FindClass(u"Konkur.Konkur"_s)->findQuery(u"Konkur"_s)->build(*session, arguments);
    QString sql;
    qsizetype next = 0;
    for (const QChar ch : statement.sql) {
        if (ch != u'?') {
            sql += ch;
            continue;
        }
        const QString value = statement.values.at(next++).toString();
        QVERIFY(!value.contains(u'\''));
        sql += u'\'' + value + u'\'';
    }
    QCOMPARE(next, statement.values.size());
    QSqlQuery query(session->database());
    QVERIFY2(query.exec(u"EXPLAIN " + sql), qPrintable(query.lastError().text()));
    QStringList lines;
    while (query.next())
        lines << query.value(0).toString();
    QVERIFY2(lines.join(u' ').contains(u"Bitmap Index Scan on konkur_konkur_s_artbez_trgm"_s),
             qPrintable(lines.join(u"\n")));
}

QTEST_GUILESS_MAIN(TestQueryPlans)
#include "tst_queryplans.moc"
