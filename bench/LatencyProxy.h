#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTimer>

#include <deque>

class QTcpSocket;

// A TCP proxy on the loopback interface that passes every chunk it reads on
// to the other side only after a fixed delay, in each direction: a link with
// a round trip of twice the delay, for measuring what a slow network does to
// the client (without tc, which needs privileges). Chunks keep their order
// and overlap in flight, as on a real link; the bandwidth is not limited.
class LatencyProxy : public QObject
{
    Q_OBJECT

public:
    LatencyProxy(QString upstreamHost, quint16 upstreamPort, int delayMilliseconds, QObject *parent = nullptr);

    // Listens on 127.0.0.1 (port 0: a free one); false when it cannot.
    bool listen(quint16 port = 0);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }

private:
    void accept();

    QTcpServer m_server;
    QString m_upstreamHost;
    quint16 m_upstreamPort;
    int m_delay;
};

// One direction of one connection: what was read from one socket, each
// chunk with the time it is due at the other.
class DelayedPipe : public QObject
{
    Q_OBJECT

public:
    DelayedPipe(QTcpSocket &from, QTcpSocket &to, int delayMilliseconds, QObject *parent);

    // The source has ended: the destination is closed once the chunks read
    // before have been passed on.
    void closeWhenPassed();
    bool isClosed() const { return m_closed; }

signals:
    void closed();

private:
    struct Chunk
    {
        qint64 due;          // on m_clock, in milliseconds
        QByteArray data;     // empty: close the destination
    };

    void read();
    void passDue();
    void schedule();

    QTcpSocket &m_from;
    QTcpSocket &m_to;
    int m_delay;
    QElapsedTimer m_clock;
    QTimer m_timer;
    std::deque<Chunk> m_chunks;
    bool m_closing = false;
    bool m_closed = false;
};
