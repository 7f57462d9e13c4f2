#include <QTest>

#include "objectapi/AccessError.h"
#include "store/Session.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using store::SqlWithLiterals;

// The store's statements: on PostgreSQL each run is one text with the values
// written in as literals. Whatever a value holds, the database must read it
// back as exactly that value and never as SQL; a statement kept for the
// session runs with the values bound for that run only.
class TestStatement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();

    void placeholdersOutsideQuotesTakeTheValues_data();
    void placeholdersOutsideQuotesTakeTheValues();
    void valuesReadBackAsBound_data();
    void valuesReadBackAsBound();
    void keptStatementRunsWithEachRunsValues();
    void unfitValuesAreRefused_data();
    void unfitValuesAreRefused();

private:
    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::shared_ptr<store::Session> m_session;
};

void TestStatement::init()
{
    TOLVEN_FRESH_DATABASE(m_db, false);
    m_session = store::Session::open(m_db->target());
}

void TestStatement::cleanup()
{
    if (m_session)
        m_session->close();
    m_session.reset();
    m_db.reset();
}

void TestStatement::placeholdersOutsideQuotesTakeTheValues_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("written");

    QTest::newRow("two values") << u"SELECT a FROM t WHERE b = ? AND c = ?"_s << QVariantList{u"x"_s, 5}
                                << u"SELECT a FROM t WHERE b = 'x' AND c = '5'"_s;
    QTest::newRow("null") << u"UPDATE t SET a = ?, b = ?, c = ?"_s << QVariantList{QVariant(), QString(), u""_s}
                          << u"UPDATE t SET a = NULL, b = NULL, c = ''"_s;
    QTest::newRow("quote doubled") << u"SELECT ?"_s << QVariantList{u"O'Brien"_s} << u"SELECT 'O''Brien'"_s;
    QTest::newRow("backslash: escape string") << u"SELECT ?"_s << QVariantList{u"a\\'b"_s}
                                              << u"SELECT E'a\\\\''b'"_s;
    QTest::newRow("? in a string constant") << u"SELECT '?', ?, 'it''s ?'"_s << QVariantList{u"v"_s}
                                            << u"SELECT '?', 'v', 'it''s ?'"_s;
    QTest::newRow("? in an escape string") << u"SELECT E'\\'?', ?"_s << QVariantList{u"v"_s}
                                           << u"SELECT E'\\'?', 'v'"_s;
    QTest::newRow("E ending a word is no escape") << u"SELECT a FROM t WHERE name='x\\' AND b = ?"_s
                                                  << QVariantList{u"v"_s}
                                                  << u"SELECT a FROM t WHERE name='x\\' AND b = 'v'"_s;
    QTest::newRow("? in an identifier") << u"SELECT \"a?\" FROM t WHERE b = ?"_s << QVariantList{u"v"_s}
                                        << u"SELECT \"a?\" FROM t WHERE b = 'v'"_s;
    QTest::newRow("? in a comment") << u"SELECT ? -- why?\nFROM t"_s << QVariantList{u"v"_s}
                                    << u"SELECT 'v' -- why?\nFROM t"_s;
    QTest::newRow("value holding ?") << u"SELECT ?, ?"_s << QVariantList{u"?"_s, u"b"_s} << u"SELECT '?', 'b'"_s;
}

void TestStatement::placeholdersOutsideQuotesTakeTheValues()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QFETCH(QString, written);
    QCOMPARE(SqlWithLiterals(sql, values), std::optional<QString>(written));
}

void TestStatement::valuesReadBackAsBound_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("conformingStrings");

    const QList<std::pair<const char *, QString>> values{
        {"plain", u"Fliesenkleber"_s},
        {"empty", u""_s},
        {"quote", u"O'Brien"_s},
        {"quotes only", u"''"_s},
        {"backslash", u"C:\\Preise\\"_s},
        {"breaking out", u"\\'; DROP TABLE tolven_meta; --"_s},
        {"placeholder", u"? and '?'"_s},
        {"umlauts and euro", u"Maß für Öl: 3 €"_s},
        {"line break", u"Zeile 1\nZeile 2"_s},
    };
    for (const auto &[name, value] : values) {
        QTest::addRow("%s", name) << value << true;
        QTest::addRow("%s, standard_conforming_strings off", name) << value << false;
    }
}

void TestStatement::valuesReadBackAsBound()
{
    QFETCH(QString, value);
    QFETCH(bool, conformingStrings);
    if (!m_session)
        return;
    if (!conformingStrings) {
        if (!m_session->isPostgres())
            QSKIP("a setting of PostgreSQL's");
        m_session->execDirect(u"SET standard_conforming_strings = off"_s, {}, u"Test"_s);
    }
    store::Statement &statement = m_session->statement(
        u"SELECT ?, '?' AS mark, (SELECT COUNT(*) FROM tolven_meta WHERE name = ?) AS versions"_s);
    statement.addBindValue(value);
    statement.addBindValue(u"schema_version"_s);
    m_session->exec(statement, u"Test"_s);
    QVERIFY(statement.next());
    QCOMPARE(statement.value(0).toString(), value);
    QCOMPARE(statement.value(1).toString(), u"?"_s);
    QCOMPARE(statement.value(2).toInt(), 1);
    QVERIFY(!statement.next());
    statement.finish();
}

void TestStatement::keptStatementRunsWithEachRunsValues()
{
    if (!m_session)
        return;
    const QString sql = u"SELECT ? AS a"_s;
    // A null text is NULL, as Qt binds it on SQLite; an empty one is not.
    for (const QVariant &value : QVariantList{u"erster"_s, u"zweiter"_s, QVariant(), QString(), u""_s, 17}) {
        store::Statement &statement = m_session->statement(sql);
        statement.addBindValue(value);
        m_session->exec(statement, u"Test"_s);
        QVERIFY(statement.next());
        const bool null = value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull());
        QCOMPARE(statement.value(0).isNull(), null);
        QCOMPARE(statement.value(0).toString(), value.toString());
    }
    QCOMPARE(m_session->keptStatements().count(sql), 1);
}

void TestStatement::unfitValuesAreRefused_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("postgresOnly");

    QTest::newRow("too few") << QVariantList{u"a"_s} << false;
    QTest::newRow("too many") << QVariantList{u"a"_s, u"b"_s, u"c"_s} << false;
    // SQLite keeps the character; no text of PostgreSQL can.
    QTest::newRow("NUL") << QVariantList{u"a"_s, QString(u"b"_s + QChar(0) + u"'; DROP TABLE tolven_meta; --"_s)}
                         << true;
}

void TestStatement::unfitValuesAreRefused()
{
    QFETCH(QVariantList, values);
    QFETCH(bool, postgresOnly);
    if (!m_session)
        return;
    if (postgresOnly && !m_session->isPostgres())
        QSKIP("SQLite stores the value");
    store::Statement &statement = m_session->statement(u"SELECT COUNT(*) FROM tolven_meta WHERE name IN (?, ?)"_s);
    for (const QVariant &value : values)
        statement.addBindValue(value);
    try {
        m_session->exec(statement, u"Test"_s);
        QFAIL("the statement ran");
    } catch (const tolven::AccessError &e) {
        QCOMPARE(e.number(), tolven::ErrorNumber::DatabaseError);
    }
    // The session goes on, the database as it was.
    store::Statement &check = m_session->statement(u"SELECT COUNT(*) FROM tolven_meta WHERE name = ?"_s);
    check.addBindValue(u"schema_version"_s);
    m_session->exec(check, u"Test"_s);
    QVERIFY(check.next());
    QCOMPARE(check.value(0).toInt(), 1);
    check.finish();
}

QTEST_GUILESS_MAIN(TestStatement)
#include "tst_statement.moc"
