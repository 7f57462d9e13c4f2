#include <QTest>

#include "objectapi/AccessError.h"
#include "store/ClassRegistry.h"
#include "store/LikePattern.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/StoreResultSet.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

// The result set's mechanics, with a query of the test's own over the
// personnel table: the business queries build on exactly this.
class TestResultSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();

    void rowsComeInOrderWithTheirColumns();
    void argumentsAreValuesNotSql_data();
    void argumentsAreValuesNotSql();
    void missingArgumentsCountAsEmpty();
    void misuseIsRefused();
    void manyRowsAreStreamed();
    void executeAgainStartsAnew();
    void statementsAreKeptForTheNextResultSet();

private:
    std::unique_ptr<store::StoreResultSet> query();
    static QStringList codes(store::StoreResultSet &rows);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::shared_ptr<store::Session> m_session;
    store::QueryDescription m_people;
};

void TestResultSet::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_session = store::Session::open(m_db->target());
    // People of a firm whose name holds a text; empty text = everybody.
    m_people = store::QueryDescription{
        u"Personal"_s, 1, 2,
        [](store::Session &, const QStringList &arguments) {
            return store::SqlStatement{
                u"SELECT obj_key, p_pname, p_aktiv FROM tv_parpersedv WHERE firma = ? "
                               "AND (? = '' OR p_pname LIKE ? ESCAPE '!') ORDER BY obj_key"_s,
                {arguments[0], arguments[1], store::ContainsPattern(arguments[1])}};
        },
        {}};
}

void TestResultSet::cleanup()
{
    m_session.reset();
    m_db.reset();
}

std::unique_ptr<store::StoreResultSet> TestResultSet::query()
{
    return std::make_unique<store::StoreResultSet>(m_session, *store::FindClass(u"TV.ParPersEdv"_s),
                                                   m_people);
}

void TestResultSet::rowsComeInOrderWithTheirColumns()
{
    auto rows = query();
    rows->execute({u"1"_s, QString()});
    QStringList codes;
    while (rows->next()) {
        QCOMPARE(rows->columnCount(), 3);
        codes << rows->getColumn(1);
        if (rows->getColumn(1) == u"WEISS") {
            QCOMPARE(rows->getColumn(2), u"G}nther Wei~"_s);
            QCOMPARE(rows->getColumn(3), u"N"_s);
        }
    }
    QCOMPARE(codes, (QStringList{u"MUELLER"_s, u"OEZTUERK"_s, u"SCHMIDT"_s,
                                 u"WEISS"_s}));
    QVERIFY(!rows->next()); // stays at the end
    rows->close();
}

void TestResultSet::argumentsAreValuesNotSql_data()
{
    QTest::addColumn<QString>("firm");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    QTest::newRow("plain") << u"1"_s << u"Schmidt"_s << 1;
    QTest::newRow("or true") << u"1' OR '1'='1"_s << QString() << 0;
    QTest::newRow("comment") << u"1 --"_s << QString() << 0;
    QTest::newRow("union") << u"1"_s << u"' UNION SELECT name, value, value FROM tolven_meta --"_s << 0;
    QTest::newRow("quote in text") << u"1"_s << u"O'"_s << 0;
    QTest::newRow("backslash") << u"1"_s << u"\\"_s << 1; // \zlem \zt}rk
    QTest::newRow("percent is no wildcard") << u"1"_s << u"%"_s << 0;
    QTest::newRow("underscore is no wildcard") << u"1"_s << u"M_ller"_s << 0;
    QTest::newRow("escape character") << u"1"_s << u"!"_s << 0;
}

void TestResultSet::argumentsAreValuesNotSql()
{
    QFETCH(QString, firm);
    QFETCH(QString, text);
    QFETCH(int, rows);
    auto result = query();
    result->execute({firm, text});
    int count = 0;
    while (result->next())
        ++count;
    QCOMPARE(count, rows);
}

void TestResultSet::missingArgumentsCountAsEmpty()
{
    auto rows = query();
    rows->execute({u"2"_s});
    int count = 0;
    while (rows->next())
        ++count;
    QCOMPARE(count, 2);
}

void TestResultSet::misuseIsRefused()
{
    auto rows = query();
    QCOMPARE(testsupport::ErrorOf([&] { rows->next(); }), ErrorNumber::ObjectState);
    QCOMPARE(testsupport::ErrorOf([&] { rows->execute({}); }), ErrorNumber::WrongArguments);
    QCOMPARE(testsupport::ErrorOf([&] { rows->execute({u"1"_s, QString(), QString()}); }), ErrorNumber::WrongArguments);
    rows->execute({u"1"_s});
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(1); }), ErrorNumber::ObjectState); // before the first next
    QVERIFY(rows->next());
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(0); }), ErrorNumber::InvalidValue);
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(4); }), ErrorNumber::InvalidValue);
    rows->close();
    QCOMPARE(testsupport::ErrorOf([&] { rows->next(); }), ErrorNumber::ObjectState);
    QCOMPARE(testsupport::ErrorOf([&] { rows->execute({u"1"_s}); }), ErrorNumber::ObjectState);
    rows->close(); // twice is harmless
}

void TestResultSet::manyRowsAreStreamed()
{
    constexpr int Count = 3000;
    {
        store::StoreFactory factory;
        factory.connectTo(m_db->target());
        auto windows = factory.classObject(u"TV.Windows"_s);
        windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
        for (int i = 0; i < Count; ++i) {
            auto person = factory.createNew(u"TV.ParPersEdv"_s);
            person->setProperty(u"Firma"_s, u"3"_s);
            person->setProperty(u"Personalcode"_s, u"P%1"_s.arg(i, 5, 10, QChar(u'0')));
            person->setProperty(u"PNAME"_s, u"Person %1"_s.arg(i));
            person->sys_save();
        }
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    }
    auto rows = query();
    rows->execute({u"3"_s});
    int count = 0;
    while (rows->next()) {
        QCOMPARE(rows->getColumn(1), u"P%1"_s.arg(count, 5, 10, QChar(u'0')));
        ++count;
    }
    QCOMPARE(count, Count);
}

void TestResultSet::executeAgainStartsAnew()
{
    auto rows = query();
    rows->execute({u"1"_s});
    QVERIFY(rows->next());
    rows->execute({u"2"_s});
    QStringList codes;
    while (rows->next())
        codes << rows->getColumn(1);
    QCOMPARE(codes, (QStringList{u"KRAUSE"_s, u"MUELLER"_s}));
}

QStringList TestResultSet::codes(store::StoreResultSet &rows)
{
    QStringList codes;
    while (rows.next())
        codes << rows.getColumn(1);
    return codes;
}

// The session keeps a result set's prepared statement for the next result
// set of the same query; one that another result set holds is not lent.
void TestResultSet::statementsAreKeptForTheNextResultSet()
{
    const QStringList firm1{u"MUELLER"_s, u"OEZTUERK"_s, u"SCHMIDT"_s, u"WEISS"_s};
    const QStringList firm2{u"KRAUSE"_s, u"MUELLER"_s};
    // Left after its first row, as a search stopped at its row limit.
    auto first = query();
    first->execute({u"1"_s, QString()});
    QVERIFY(first->next());
    first->close();

    // Both open at once: the second takes the statement kept by the first,
    // the third one of its own.
    auto second = query();
    auto third = query();
    QFETCH_GLOBAL(QString, backend);
    if (backend == u"SQLite") {
        // Read in turn (PostgreSQL ends the rows of one when the next statement runs).
        second->execute({u"1"_s, QString()});
        third->execute({u"2"_s, QString()});
        QStringList turns;
        for (bool more = true; more;) {
            more = false;
            for (store::StoreResultSet *rows : {second.get(), third.get()}) {
                if (rows->next()) {
                    turns << rows->getColumn(1);
                    more = true;
                }
            }
        }
        QCOMPARE(turns, (QStringList{u"MUELLER"_s, u"KRAUSE"_s, u"OEZTUERK"_s, u"MUELLER"_s, u"SCHMIDT"_s,
                                     u"WEISS"_s}));
    } else {
        second->execute({u"1"_s, QString()});
        QCOMPARE(codes(*second), firm1);
        third->execute({u"2"_s, QString()});
        QCOMPARE(codes(*third), firm2);
    }
    second->execute({u"1"_s, u"Schmidt"_s});
    QCOMPARE(codes(*second), QStringList{u"SCHMIDT"_s});
    third->execute({u"1"_s, u"Wei"_s});
    QCOMPARE(codes(*third), QStringList{u"WEISS"_s});

    second.reset();
    third.reset();
    auto fourth = query();
    fourth->execute({u"2"_s, QString()});
    QCOMPARE(codes(*fourth), firm2);
    first = query();
    first->execute({u"1"_s, QString()});
    QCOMPARE(codes(*first), firm1);
}

QTEST_GUILESS_MAIN(TestResultSet)
#include "tst_resultset.moc"
