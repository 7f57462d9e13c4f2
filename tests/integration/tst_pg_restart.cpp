#include <QProcess>
#include <QTest>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/CommitRelay.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;
using testsupport::CommitRelay;

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
    void idleConnectionIsAskedBeforeItCounts();
    void commitWithoutAnswer_data();
    void commitWithoutAnswer();

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
    m_db = std::make_unique<testsupport::TestDatabase>(u"PostgreSQL"_s);
}

void TestPgRestart::restartServer()
{
    const int status = QProcess::execute(u"/bin/sh"_s,
                                         {u"-c"_s, qEnvironmentVariable("TOLVEN_TEST_PG_RESTART")});
    QCOMPARE(status, 0);
}

void TestPgRestart::login(store::StoreFactory &factory)
{
    QVERIFY(factory.connect(m_db->connectString()));
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s});
    windows->callMethod(u"Xecute"_s, {u"D ^%XTT"_s});
}

void TestPgRestart::nextCallFailsAndReconnectWorks()
{
    store::StoreFactory factory;
    login(factory);
    factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);

    restartServer();
    const ErrorNumber number = testsupport::ErrorOf([&] {
        factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    });
    QCOMPARE(number, ErrorNumber::ConnectionLost);
    QVERIFY(!factory.isConnected());
    QCOMPARE(testsupport::ErrorOf([&] { factory.classObject(u"TV.Windows"_s); }), ErrorNumber::NotConnected);

    login(factory);
    auto person = factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    QCOMPARE(person->property(u"Passwort"_s), u"Konkur24"_s);
}

void TestPgRestart::idleConnectionIsAskedBeforeItCounts()
{
    store::StoreFactory factory;
    login(factory);
    QVERIFY(factory.isConnected());
    restartServer();
    QTest::qWait(store::Session::ProbeAfterIdleMilliseconds + 100);
    QVERIFY(!factory.isConnected());
    QCOMPARE(testsupport::ErrorOf([&] { factory.classObject(u"TV.Windows"_s); }), ErrorNumber::NotConnected);
    login(factory);
    QVERIFY(factory.isConnected());
}

void TestPgRestart::openTransactionIsLost()
{
    store::StoreFactory factory;
    login(factory);
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    auto department = factory.createNew(u"TV.ParPersAbt"_s);
    department->setProperty(u"ABTNR"_s, u"77"_s);
    department->sys_save();

    restartServer();
    QCOMPARE(testsupport::ErrorOf([&] { windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s}); }),
             ErrorNumber::ConnectionLost);
    QVERIFY(!factory.isConnected());

    login(factory);
    QCOMPARE(testsupport::ErrorOf([&] { factory.openById(u"TV.ParPersAbt"_s, u"1||77"_s); }),
             ErrorNumber::ObjectNotFound);
}

void TestPgRestart::commitWithoutAnswer_data()
{
    QTest::addColumn<int>("cut");
    QTest::addColumn<bool>("committed");
    QTest::newRow("answer lost") << int(CommitRelay::AfterCommit) << true;
    QTest::newRow("commit lost") << int(CommitRelay::BeforeCommit) << false;
}

void TestPgRestart::commitWithoutAnswer()
{
    QFETCH(int, cut);
    QFETCH(bool, committed);
    CommitRelay relay(m_db->target().host, quint16(m_db->target().port));
    store::StoreFactory factory;
    QVERIFY(factory.connect(store::MakeConnectString(u"127.0.0.1"_s, QString::number(relay.port()))));
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s});
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    auto department = factory.createNew(u"TV.ParPersAbt"_s);
    department->setProperty(u"ABTNR"_s, u"77"_s);
    department->sys_save();

    // Whether the commit went through is asked for on a new connection: the
    // client learns the truth, and a new object is never stored twice by
    // saving again after an error.
    relay.cutAtNextCommit(CommitRelay::Cut(cut));
    const ErrorNumber error = testsupport::ErrorOf([&] { windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s}); });
    QCOMPARE(error, committed ? ErrorNumber{} : ErrorNumber::ConnectionLost);
    QVERIFY(!factory.isConnected());

    store::StoreFactory check;
    login(check);
    QCOMPARE(testsupport::ErrorOf([&] { check.openById(u"TV.ParPersAbt"_s, u"1||77"_s); }),
             committed ? ErrorNumber{} : ErrorNumber::ObjectNotFound);
}

QTEST_GUILESS_MAIN(TestPgRestart)
#include "tst_pg_restart.moc"
