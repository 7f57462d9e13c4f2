#include <QTest>

#include "access/AccessError.h"
#include "store/ClassRegistry.h"
#include "store/LikePattern.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/StoreResultSet.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

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

private:
    std::unique_ptr<store::StoreResultSet> query();

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
        QStringLiteral("Personal"), 1, 2,
        [](store::Session &, const QStringList &arguments) {
            return store::SqlStatement{
                QStringLiteral("SELECT obj_key, p_pname, p_aktiv FROM tv_parpersedv WHERE firma = ? "
                               "AND (? = '' OR p_pname LIKE ? ESCAPE '!') ORDER BY obj_key"),
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
    return std::make_unique<store::StoreResultSet>(m_session, *store::FindClass(QStringLiteral("TV.ParPersEdv")),
                                                   m_people);
}

void TestResultSet::rowsComeInOrderWithTheirColumns()
{
    auto rows = query();
    rows->execute({QStringLiteral("1"), QString()});
    QStringList codes;
    while (rows->next()) {
        QCOMPARE(rows->columnCount(), 3);
        codes << rows->getColumn(1);
        if (rows->getColumn(1) == u"WEISS") {
            QCOMPARE(rows->getColumn(2), QStringLiteral("G}nther Wei~"));
            QCOMPARE(rows->getColumn(3), QStringLiteral("N"));
        }
    }
    QCOMPARE(codes, (QStringList{QStringLiteral("MUELLER"), QStringLiteral("OEZTUERK"), QStringLiteral("SCHMIDT"),
                                 QStringLiteral("WEISS")}));
    QVERIFY(!rows->next()); // stays at the end
    rows->close();
}

void TestResultSet::argumentsAreValuesNotSql_data()
{
    QTest::addColumn<QString>("firm");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    QTest::newRow("plain") << QStringLiteral("1") << QStringLiteral("Schmidt") << 1;
    QTest::newRow("or true") << QStringLiteral("1' OR '1'='1") << QString() << 0;
    QTest::newRow("comment") << QStringLiteral("1 --") << QString() << 0;
    QTest::newRow("union") << QStringLiteral("1") << QStringLiteral("' UNION SELECT name, value, value FROM tolven_meta --") << 0;
    QTest::newRow("quote in text") << QStringLiteral("1") << QStringLiteral("O'") << 0;
    QTest::newRow("backslash") << QStringLiteral("1") << QStringLiteral("\\") << 1; // \zlem \zt}rk
    QTest::newRow("percent is no wildcard") << QStringLiteral("1") << QStringLiteral("%") << 0;
    QTest::newRow("underscore is no wildcard") << QStringLiteral("1") << QStringLiteral("M_ller") << 0;
    QTest::newRow("escape character") << QStringLiteral("1") << QStringLiteral("!") << 0;
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
    rows->execute({QStringLiteral("2")});
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
    QCOMPARE(testsupport::ErrorOf([&] { rows->execute({QStringLiteral("1"), QString(), QString()}); }), ErrorNumber::WrongArguments);
    rows->execute({QStringLiteral("1")});
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(1); }), ErrorNumber::ObjectState); // before the first next
    QVERIFY(rows->next());
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(0); }), ErrorNumber::InvalidValue);
    QCOMPARE(testsupport::ErrorOf([&] { rows->getColumn(4); }), ErrorNumber::InvalidValue);
    rows->close();
    QCOMPARE(testsupport::ErrorOf([&] { rows->next(); }), ErrorNumber::ObjectState);
    QCOMPARE(testsupport::ErrorOf([&] { rows->execute({QStringLiteral("1")}); }), ErrorNumber::ObjectState);
    rows->close(); // twice is harmless
}

void TestResultSet::manyRowsAreStreamed()
{
    constexpr int Count = 3000;
    {
        store::StoreFactory factory;
        factory.connectTo(m_db->target());
        auto windows = factory.classObject(QStringLiteral("TV.Windows"));
        windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("TSTART")});
        for (int i = 0; i < Count; ++i) {
            auto person = factory.createNew(QStringLiteral("TV.ParPersEdv"));
            person->setProperty(QStringLiteral("Firma"), QStringLiteral("3"));
            person->setProperty(QStringLiteral("Personalcode"), QStringLiteral("P%1").arg(i, 5, 10, QLatin1Char('0')));
            person->setProperty(QStringLiteral("PNAME"), QStringLiteral("Person %1").arg(i));
            person->sys_save();
        }
        windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("TCOMMIT")});
    }
    auto rows = query();
    rows->execute({QStringLiteral("3")});
    int count = 0;
    while (rows->next()) {
        QCOMPARE(rows->getColumn(1), QStringLiteral("P%1").arg(count, 5, 10, QLatin1Char('0')));
        ++count;
    }
    QCOMPARE(count, Count);
}

void TestResultSet::executeAgainStartsAnew()
{
    auto rows = query();
    rows->execute({QStringLiteral("1")});
    QVERIFY(rows->next());
    rows->execute({QStringLiteral("2")});
    QStringList codes;
    while (rows->next())
        codes << rows->getColumn(1);
    QCOMPARE(codes, (QStringList{QStringLiteral("KRAUSE"), QStringLiteral("MUELLER")}));
}

QTEST_GUILESS_MAIN(TestResultSet)
#include "tst_resultset.moc"
