#include <QProcess>
#include <QTest>

#include "access/AccessError.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using tolven::AccessError;
using tolven::ErrorNumber;

// A PostgreSQL restart in the middle of a session: the next call fails with
// the interface's error, the factory reports no connection, and connecting
// again works. Runs alone, since the restart ends every session.
class TestPgRestart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { m_db.reset(); }

    void nextCallFailsAndReconnectWorks();
    void openTransactionIsLost();

private:
    void restartServer();
    void login(store::StoreFactory &factory);

    std::unique_ptr<testsupport::TestDatabase> m_db;
};

void TestPgRestart::initTestCase()
{
    if (testsupport::postgresAddress().isEmpty() || qEnvironmentVariableIsEmpty("TOLVEN_TEST_PG_RESTART")) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("TOLVEN_TEST_PG and TOLVEN_TEST_PG_RESTART are not set: run the tests through scripts/test");
        QSKIP("no PostgreSQL cluster to restart (scripts/test starts one)");
    }
}

void TestPgRestart::init()
{
    m_db = std::make_unique<testsupport::TestDatabase>(QStringLiteral("PostgreSQL"));
}

void TestPgRestart::restartServer()
{
    const int status = QProcess::execute(QStringLiteral("/bin/sh"),
                                         {QStringLiteral("-c"), qEnvironmentVariable("TOLVEN_TEST_PG_RESTART")});
    QCOMPARE(status, 0);
}

void TestPgRestart::login(store::StoreFactory &factory)
{
    QVERIFY(factory.connect(m_db->connectString()));
    auto windows = factory.classObject(QStringLiteral("TV.Windows"));
    windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\"")});
    windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("D ^%XTT")});
}

void TestPgRestart::nextCallFailsAndReconnectWorks()
{
    store::StoreFactory factory;
    login(factory);
    factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));

    restartServer();
    QVERIFY(factory.isConnected()); // nobody has asked the server yet

    const ErrorNumber number = testsupport::ErrorOf([&] {
        factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    });
    QCOMPARE(number, ErrorNumber::ConnectionLost);
    QVERIFY(!factory.isConnected());
    QCOMPARE(testsupport::ErrorOf([&] { factory.classObject(QStringLiteral("TV.Windows")); }), ErrorNumber::NotConnected);

    login(factory);
    auto person = factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    QCOMPARE(person->property(QStringLiteral("Passwort")), QStringLiteral("Konkur24"));
}

void TestPgRestart::openTransactionIsLost()
{
    store::StoreFactory factory;
    login(factory);
    auto windows = factory.classObject(QStringLiteral("TV.Windows"));
    windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("TSTART")});
    auto department = factory.createNew(QStringLiteral("TV.ParPersAbt"));
    department->setProperty(QStringLiteral("ABTNR"), QStringLiteral("77"));
    department->sys_save();

    restartServer();
    QCOMPARE(testsupport::ErrorOf([&] { windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("TCOMMIT")}); }),
             ErrorNumber::ConnectionLost);
    QVERIFY(!factory.isConnected());

    login(factory);
    QCOMPARE(testsupport::ErrorOf([&] { factory.openById(QStringLiteral("TV.ParPersAbt"), QStringLiteral("1||77")); }),
             ErrorNumber::ObjectNotFound);
}

QTEST_GUILESS_MAIN(TestPgRestart)
#include "tst_pg_restart.moc"
