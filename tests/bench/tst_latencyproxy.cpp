#include <QElapsedTimer>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

#include "LatencyProxy.h"

using namespace Qt::StringLiterals;

// The benchmarks' slow link: what goes through arrives whole and in order,
// no earlier than the delay in each direction, and an end on either side
// reaches the other.
class TestLatencyProxy : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void bytesArriveWholeAndInOrder_data();
    void bytesArriveWholeAndInOrder();
    void roundTripTakesTwiceTheDelay();
    void anEndReachesTheOtherSide_data();
    void anEndReachesTheOtherSide();

private:
    static constexpr int Delay = 10;

    // The proxy's client: connected through it to the echo server.
    std::unique_ptr<QTcpSocket> connectClient();

    QTcpServer m_echo;                 // sends back what it receives
    QList<QTcpSocket *> m_echoSockets;
    std::unique_ptr<LatencyProxy> m_proxy;
};

void TestLatencyProxy::init()
{
    m_echoSockets.clear();
    QVERIFY(m_echo.listen(QHostAddress::LocalHost));
    connect(&m_echo, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_echo.nextPendingConnection()) {
            m_echoSockets << socket;
            connect(socket, &QIODevice::readyRead, socket, [socket] { socket->write(socket->readAll()); });
        }
    });
    m_proxy = std::make_unique<LatencyProxy>(u"127.0.0.1"_s, m_echo.serverPort(), Delay);
    QVERIFY(m_proxy->listen());
}

void TestLatencyProxy::cleanup()
{
    m_proxy.reset();
    m_echo.close();
    qDeleteAll(m_echoSockets);
    m_echoSockets.clear();
}

std::unique_ptr<QTcpSocket> TestLatencyProxy::connectClient()
{
    auto client = std::make_unique<QTcpSocket>();
    client->connectToHost(QHostAddress::LocalHost, m_proxy->port());
    if (!client->waitForConnected(5000))
        return nullptr;
    return client;
}

void TestLatencyProxy::bytesArriveWholeAndInOrder_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pieces");
    QTest::newRow("one byte") << 1 << 1;
    QTest::newRow("a message") << 300 << 3;
    QTest::newRow("a large result") << 2 * 1024 * 1024 << 64;
}

void TestLatencyProxy::bytesArriveWholeAndInOrder()
{
    QFETCH(int, size);
    QFETCH(int, pieces);
    QByteArray sent(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        sent[i] = char((i * 7919 + i / 251) & 0xff);
    std::unique_ptr<QTcpSocket> client = connectClient();
    QVERIFY(client);
    const int piece = (size + pieces - 1) / pieces;
    for (int from = 0; from < size; from += piece) {
        client->write(sent.mid(from, piece));
        QTest::qWait(1);
    }
    QByteArray received;
    QTRY_VERIFY_WITH_TIMEOUT((received += client->readAll()).size() >= size, 20000);
    QCOMPARE(received.size(), sent.size());
    QVERIFY(received == sent);
}

void TestLatencyProxy::roundTripTakesTwiceTheDelay()
{
    std::unique_ptr<QTcpSocket> client = connectClient();
    QVERIFY(client);
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        client->write("ping");
        QTRY_VERIFY_WITH_TIMEOUT(client->bytesAvailable() >= 4, 5000);
        QVERIFY2(timer.elapsed() >= 2 * Delay, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(client->readAll(), QByteArray("ping"));
    }
}

void TestLatencyProxy::anEndReachesTheOtherSide_data()
{
    QTest::addColumn<bool>("serverEnds");
    QTest::newRow("the client ends") << false;
    QTest::newRow("the server ends") << true;
}

void TestLatencyProxy::anEndReachesTheOtherSide()
{
    QFETCH(bool, serverEnds);
    std::unique_ptr<QTcpSocket> client = connectClient();
    QVERIFY(client);
    client->write("x");
    QTRY_COMPARE_WITH_TIMEOUT(m_echoSockets.size(), 1, 5000);
    QTcpSocket *server = m_echoSockets.first();
    QByteArray echoed;
    QTRY_VERIFY_WITH_TIMEOUT((echoed += client->readAll()) == "x", 5000);
    if (serverEnds) {
        server->disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QAbstractSocket::UnconnectedState, 5000);
    } else {
        client->disconnectFromHost();
        QTRY_COMPARE_WITH_TIMEOUT(server->state(), QAbstractSocket::UnconnectedState, 5000);
    }
}

QTEST_GUILESS_MAIN(TestLatencyProxy)
#include "tst_latencyproxy.moc"
