#include "LatencyProxy.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <algorithm>
#include <utility>

LatencyProxy::LatencyProxy(QString upstreamHost, quint16 upstreamPort, int delayMilliseconds, QObject *parent)
    : QObject(parent)
    , m_upstreamHost(std::move(upstreamHost))
    , m_upstreamPort(upstreamPort)
    , m_delay(delayMilliseconds)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LatencyProxy::accept);
}

bool LatencyProxy::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

void LatencyProxy::accept()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        // The connection's sockets and pipes live on an object of their own,
        // dropped once both directions are closed.
        auto *link = new QObject(this);
        client->setParent(link);
        auto *upstream = new QTcpSocket(link);
        client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        upstream->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto *toServer = new DelayedPipe(*client, *upstream, m_delay, link);
        auto *toClient = new DelayedPipe(*upstream, *client, m_delay, link);
        auto dropWhenBothClosed = [link, toServer, toClient] {
            if (toServer->isClosed() && toClient->isClosed())
                link->deleteLater();
        };
        connect(toServer, &DelayedPipe::closed, link, dropWhenBothClosed);
        connect(toClient, &DelayedPipe::closed, link, dropWhenBothClosed);
        connect(upstream, &QAbstractSocket::errorOccurred, link, [toServer, toClient](QAbstractSocket::SocketError) {
            toServer->closeWhenPassed();
            toClient->closeWhenPassed();
        });
        // Written before the connection stands, the first chunks wait in the socket.
        upstream->connectToHost(m_upstreamHost, m_upstreamPort);
    }
}

DelayedPipe::DelayedPipe(QTcpSocket &from, QTcpSocket &to, int delayMilliseconds, QObject *parent)
    : QObject(parent)
    , m_from(from)
    , m_to(to)
    , m_delay(delayMilliseconds)
{
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &DelayedPipe::passDue);
    connect(&m_from, &QIODevice::readyRead, this, &DelayedPipe::read);
    connect(&m_from, &QIODevice::readChannelFinished, this, &DelayedPipe::read);
    connect(&m_from, &QAbstractSocket::disconnected, this, &DelayedPipe::closeWhenPassed);
    // Data that came with the connection, before anyone listened.
    if (m_from.bytesAvailable() > 0)
        read();
}

void DelayedPipe::read()
{
    if (!m_from.isOpen())
        return;
    QByteArray data = m_from.readAll();
    if (data.isEmpty() || m_closing)
        return;
    m_chunks.push_back({m_clock.elapsed() + m_delay, std::move(data)});
    schedule();
}

void DelayedPipe::closeWhenPassed()
{
    if (m_closing)
        return;
    read();
    m_closing = true;
    m_chunks.push_back({m_clock.elapsed() + m_delay, QByteArray()});
    schedule();
}

void DelayedPipe::schedule()
{
    if (m_chunks.empty() || m_timer.isActive())
        return;
    m_timer.start(int(std::max<qint64>(0, m_chunks.front().due - m_clock.elapsed())));
}

void DelayedPipe::passDue()
{
    const qint64 now = m_clock.elapsed();
    while (!m_chunks.empty() && m_chunks.front().due <= now) {
        Chunk chunk = std::move(m_chunks.front());
        m_chunks.pop_front();
        if (chunk.data.isEmpty()) {
            m_chunks.clear();
            m_to.disconnectFromHost();
            m_closed = true;
            emit closed();
            return;
        }
        m_to.write(chunk.data);
    }
    schedule();
}
