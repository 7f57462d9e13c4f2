#include "CommitRelay.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace testsupport {

CommitRelay::CommitRelay(const QString &host, quint16 port)
    : m_server(new QTcpServer(this))
    , m_host(host)
    , m_port(port)
{
    moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(this, [this] { listen(); }, Qt::BlockingQueuedConnection);
}

CommitRelay::~CommitRelay()
{
    QMetaObject::invokeMethod(this, [this] { qDeleteAll(findChildren<QTcpSocket *>()); },
                              Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void CommitRelay::listen()
{
    m_server->listen(QHostAddress::LocalHost);
    m_listening = m_server->serverPort();
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *client = m_server->nextPendingConnection())
            relay(client);
    });
}

void CommitRelay::relay(QTcpSocket *client)
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
    // COMMIT goes as a simple query: message type 'Q', then its text.
    connect(client, &QTcpSocket::readyRead, this, [=, this] {
        const QByteArray data = client->readAll();
        if (data.startsWith('Q') && data.contains("COMMIT")) {
            const Cut planned = m_cut.exchange(None);
            if (planned == BeforeCommit)
                return cut();
            *answerCuts = planned == AfterCommit;
        }
        server->write(data);
    });
    connect(server, &QTcpSocket::readyRead, this, [=] {
        const QByteArray data = server->readAll();
        if (*answerCuts)
            return cut();
        client->write(data);
    });
    connect(client, &QTcpSocket::disconnected, server, &QTcpSocket::disconnectFromHost);
    connect(server, &QTcpSocket::disconnected, client, &QTcpSocket::disconnectFromHost);
}

} // namespace testsupport
