#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "access/LoginContext.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"


namespace tolven {

class FMPass;
class FMServer;

// Makes a new, unconnected factory: the client's "CacheObject.Factory".
using FactoryMaker = std::function<std::unique_ptr<ServerFactory>()>;

// The gateway: the one place through which the client reaches the server.
// It owns the factory, the login context, the idle timer "Lock" and the two
// windows of the login (each made once and hidden, never destroyed, while
// the gateway lives). One instance lives for the whole program (main() makes
// it); the procedures below reach it through instance().
class cacheapi : public QObject
{
    Q_OBJECT

public:
    static constexpr int IdleMilliseconds = 30000;
    static constexpr int RetryWaitHundredths = 100;

    explicit cacheapi(FactoryMaker makeFactory, QObject *parent = nullptr);
    ~cacheapi() override;

    static cacheapi &instance();

    LoginContext &context() { return m_context; }

    // The factory of the current connection attempt; null before the first.
    ServerFactory *factory() const { return m_factory.get(); }
    // Drops the old factory and makes a new, unconnected one.
    ServerFactory &newFactory();
    // Counts the factories made. Each is a session of its own, so what a
    // session keeps between calls (the position of the article search) is
    // gone once the number has moved on.
    quint64 connectionNumber() const { return m_connectionNumber; }

    QTimer &lockTimer() { return m_lock; }
    FMServer &serverWindow();
    FMPass &loginWindow();

    // The main window, once it is shown; the login window acts differently then.
    void setMainWindow(QWidget *window) { m_mainWindow = window; }
    QWidget *mainWindow() const { return m_mainWindow; }
    // Whether the start-up is over: the main window is on the screen.
    bool mainWindowShown() const;

    // How long EnsureConnected waits between two connection attempts.
    void setRetryWaitHundredths(int hundredths) { m_retryWait = hundredths; }
    int retryWaitHundredths() const { return m_retryWait; }

    // What ends the process after ExitApplication closed the windows; by
    // default the event loops are left. Tests put a recorder here.
    void setExitHook(std::function<void()> hook) { m_exitHook = std::move(hook); }

    // The main window's question before its unsaved work goes (a login that
    // replaces the user, the user ending the program): true when it may go.
    void setWorkReplaceCheck(std::function<bool()> check) { m_workReplaceCheck = std::move(check); }
    bool mayReplaceWork() const { return !m_workReplaceCheck || m_workReplaceCheck(); }
    bool exitRequested() const { return m_exiting; }
    void exitApplication();

private:
    static cacheapi *s_instance;

    FactoryMaker m_makeFactory;
    std::unique_ptr<ServerFactory> m_factory;
    quint64 m_connectionNumber = 0;
    LoginContext m_context;
    QTimer m_lock;
    std::unique_ptr<FMServer> m_serverWindow;
    std::unique_ptr<FMPass> m_loginWindow;
    QPointer<QWidget> m_mainWindow;
    int m_retryWait = RetryWaitHundredths;
    std::function<void()> m_exitHook;
    std::function<bool()> m_workReplaceCheck;
    bool m_exiting = false;
};

// The login context of the process.
LoginContext &Context();
// The factory of the connection; throws AccessError when there is none.
ServerFactory &Factory();

// Brackets a server call: a wait cursor when asked, the connection check
// (which reconnects, or ends the program when the server stays away), and the
// idle timer stopped until EndServerCall starts it again.
void BeginServerCall(bool showWait);
void EndServerCall(bool restoreCursor);
// Whether the next server call goes to the session of connection (a
// connectionNumber() read after a call): it still stands, asked as
// EnsureConnected asks, and no newer one has been made since.
bool IsCurrentConnection(quint64 connection);

// Runs one M command through TV.Windows.Xecute and returns its text; throws
// AccessError. For callers that report errors themselves.
QString XecuteOnServer(const QString &command);
// "TROLLBACK" after a failed call inside "TSTART"; never throws: when the
// connection is gone, the transaction has gone with it.
void RollBackOnServer();
// Appends to rows the rows of a class query run for the logged-in firm, each
// with the given result columns (counted from 1) as the server sends them.
// Throws AccessError; the rows read before the error stay in rows.
void ReadFirmQuery(const QString &className, const QString &queryName, const QList<int> &columns,
                   QList<QStringList> &rows);
// "S FIRMA=...,FIL=...,PERSONAL=...": sets whose the connection's calls are,
// the person code written as an M string literal.
QString SetContextCommand(const QString &firm, const QString &branch, const QString &person);

// Runs one M command through TV.Windows.Xecute and returns its text. On error
// failed is set, the error is reported and the result is empty; on success
// failed is left as it was.
QString DBCall(const QString &command, bool &failed);
// Runs one M command and splits its text at delimiter into fields (see
// SplitFields); the number of fields. On error failed is set, the error is
// reported, fields stay as they were and the result is 0.
int DBCallD(const QString &command, const QString &delimiter, QStringList &fields, bool &failed);
// Splits text at the one-character delimiter into fields[1..n] and returns n:
// each delimiter ends a field (also an empty one), the text after the last
// delimiter is one more field unless it is empty. fields is counted from 1
// (fields[0] unused) and grows ten positions at a time, keeping what it held
// beyond n.
int SplitFields(const QString &text, QChar delimiter, QStringList &fields);

// Releases a server object or result set; an error while closing is ignored.
void CloseServerObject(std::unique_ptr<ServerObject> &object);
void CloseServerObject(std::unique_ptr<ResultSet> &resultSet);

// The text of the access-error box for an error in operation.
QString AccessErrorText(const AccessError &error, const QString &operation);
// Shows the access-error box, then EndServerCall(true). Once the program is
// ending, nothing is shown any more.
void ReportAccessError(const AccessError &error, const QString &operation);

// Waits hundredths/100 seconds while the window events go on; elapsed is set
// to the whole seconds waited. Ends early when the clock passes midnight.
void WaitHundredths(qint32 hundredths, qint32 &elapsed);

// Closes every open window, from the last opened to the first, drops the
// connection and ends the program.
void ExitApplication();
bool ExitRequested();

} // namespace tolven
