#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>

class QTcpServer;
class QTcpSocket;

namespace testsupport {

// A TCP relay on the loopback address between the store and PostgreSQL, in
// a thread of its own (the store waits for its answers), that breaks a
// connection at COMMIT once it is told to: before passing COMMIT on (the
// server never commits) or when the server's answer to it comes back (the
// transaction is committed, but the store never hears so).
class CommitRelay : public QObject
{
public:
    enum Cut { None, BeforeCommit, AfterCommit };

    // Relays every connection made to port() to host:port.
    CommitRelay(const QString &host, quint16 port);
    ~CommitRelay() override;

    quint16 port() const { return m_listening; }
    // The next COMMIT that passes, on any connection, is cut.
    void cutAtNextCommit(Cut cut) { m_cut.store(cut); }

private:
    void listen();
    void relay(QTcpSocket *client);

    QThread m_thread;
    QTcpServer *m_server;
    QString m_host;
    quint16 m_port;
    quint16 m_listening = 0;
    std::atomic<Cut> m_cut = None;
};

} // namespace testsupport
