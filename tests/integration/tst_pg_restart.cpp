#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <atomic>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace {

// Where the connection breaks at the next COMMIT that passes the relay.
enum class Cut { None, BeforeCommit, AfterCommit };

// A TCP relay between the store and PostgreSQL, in a thread of its own (the
// store waits for its answers), that breaks a connection at COMMIT once it
// is told to: before passing COMMIT on (the server never commits) or when
// the server's answer to it comes back (committed, but the store never
// hears so).
class CommitRelay : public QObject
{
public:
    CommitRelay(const QString &host, quint16 port)
        : m_server(new QTcpServer(this))
        , m_host(host)
        , m_port(port)
    {
        moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(this, [this] { listen(); }, Qt::BlockingQueuedConnection);
    }
    ~CommitRelay() override
    {
        QMetaObject::invokeMethod(this, [this] { qDeleteAll(findChildren<QTcpSocket *>()); },
                                  Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    quint16 port() const { return m_listening; }
    void cutAtNextCommit(Cut cut) { m_cut.store(cut); }

private:
    void listen()
    {
        m_server->listen(QHostAddress::LocalHost);
        m_listening = m_server->serverPort();
        QObject::connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = m_server->nextPendingConnection())
                relay(client);
        });
    }

    void relay(QTcpSocket *client)
    {
        client->setParent(this);
        auto *server = new QTcpSocket(this);
        server->connectToHost(m_host, m_port);
        if (!server->waitForConnected(5000)) {
            client->abort();
            return;
        }
        auto answerCuts = std::make_shared<bool>(false);
        const auto cut = [client, server] {
            client->abort();
            server->abort();
        };
        QObject::connect(client, &QTcpSocket::readyRead, this, [=, this] {
            const QByteArray data = client->readAll();
            if (data.startsWith('Q') && data.contains("COMMIT")) {
                const Cut planned = m_cut.exchange(Cut::None);
                if (planned == Cut::BeforeCommit)
                    return cut();
                *answerCuts = planned == Cut::AfterCommit;
            }
            server->write(data);
        });
        QObject::connect(server, &QTcpSocket::readyRead, this, [=] {
            const QByteArray data = server->readAll();
            if (*answerCuts)
                return cut();
            client->write(data);
        });
        QObject::connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
        QObject::connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
    }

    QThread m_thread;
    QTcpServer *m_server;
    QString m_host;
    quint16 m_port;
    quint16 m_listening = 0;
    std::atomic<Cut> m_cut = Cut::None;
};

} // namespace

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
    QTest::newRow("answer lost") << int(Cut::AfterCommit) << true;
    QTest::newRow("commit lost") << int(Cut::BeforeCommit) << false;
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
    relay.cutAtNextCommit(Cut(cut));
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
