#include "cacheapi.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTime>
#include <QWidget>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "objectapi/MLiteral.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

QString FailedRequestText(const QString &procedure, const QString &command)
{
    return u"Ungültige Anfrage! Kein Ergebnis gefunden" + Crlf + Crlf + procedure
        + u" Aufruf von TV.Windwos Xecute " + command;
}

} // namespace

cacheapi *cacheapi::s_instance = nullptr;

cacheapi::cacheapi(FactoryMaker makeFactory, QObject *parent)
    : QObject(parent)
    , m_makeFactory(std::move(makeFactory))
{
    Q_ASSERT_X(!s_instance, "cacheapi", "one gateway per process");
    s_instance = this;
    m_lock.setObjectName(u"Lock"_s);
    m_lock.setInterval(IdleMilliseconds);
    m_lock.setSingleShot(true);
    connect(&m_lock, &QTimer::timeout, this, [] { Disconnect(); });
}

cacheapi::~cacheapi()
{
    m_lock.stop();
    if (m_factory)
        m_factory->disconnect();
    // The windows go before the gateway they call into.
    m_loginWindow.reset();
    m_serverWindow.reset();
    s_instance = nullptr;
}

cacheapi &cacheapi::instance()
{
    Q_ASSERT_X(s_instance, "cacheapi", "no gateway made");
    return *s_instance;
}

ServerFactory &cacheapi::newFactory()
{
    if (m_factory)
        m_factory->disconnect();
    m_factory = m_makeFactory();
    ++m_connectionNumber;
    return *m_factory;
}

bool cacheapi::mainWindowShown() const
{
    const QWidget *window = m_mainWindow.data();
    return window && window->isVisible();
}

FMServer &cacheapi::serverWindow()
{
    if (!m_serverWindow)
        m_serverWindow = std::make_unique<FMServer>();
    return *m_serverWindow;
}

FMPass &cacheapi::loginWindow()
{
    if (!m_loginWindow)
        m_loginWindow = std::make_unique<FMPass>();
    return *m_loginWindow;
}

void cacheapi::exitApplication()
{
    if (m_exiting)
        return;
    m_exiting = true;
    // Every open window except the main window, which was opened first and
    // is closed last.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        QWidget *window = windows.at(i);
        if (window->isVisible() && window != m_mainWindow && window->windowType() != Qt::Popup)
            window->close();
    }
    if (mainWindowShown())
        m_mainWindow.data()->close();
    Disconnect();
    if (m_exitHook)
        m_exitHook();
    else
        QCoreApplication::exit(0);
}

LoginContext &Context()
{
    return cacheapi::instance().context();
}

ServerFactory &Factory()
{
    ServerFactory *factory = cacheapi::instance().factory();
    if (!factory)
        throw AccessError(ErrorNumber::NotConnected, u"Keine Verbindung zum Server."_s);
    return *factory;
}

QString XecuteOnServer(const QString &command)
{
    std::unique_ptr<ServerObject> windows = Factory().classObject(u"TV.Windows"_s);
    QString result = windows->callMethod(u"Xecute"_s, {command});
    CloseServerObject(windows);
    return result;
}

void RollBackOnServer()
{
    try {
        XecuteOnServer(u"TROLLBACK"_s);
    } catch (const AccessError &) {
        // The connection is gone, and the transaction with it.
    }
}

void ReadFirmQuery(const QString &className, const QString &queryName, const QList<int> &columns,
                   QList<QStringList> &rows)
{
    std::unique_ptr<ResultSet> result = Factory().openQuery(className, queryName);
    result->execute({Context().Firm});
    while (result->next()) {
        QStringList row;
        row.reserve(columns.size());
        for (const int column : columns)
            row << result->getColumn(column);
        rows << row;
    }
    CloseServerObject(result);
}

QString SetContextCommand(const QString &firm, const QString &branch, const QString &person)
{
    return u"S FIRMA=" + firm + u",FIL=" + branch + u",PERSONAL=" + MQuote(person);
}

void BeginServerCall(bool showWait)
{
    if (showWait)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    EnsureConnected();
    cacheapi::instance().lockTimer().stop();
}

void EndServerCall(bool restoreCursor)
{
    if (restoreCursor) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    cacheapi::instance().lockTimer().start();
}

bool IsCurrentConnection(quint64 connection)
{
    const cacheapi &api = cacheapi::instance();
    if (connection != api.connectionNumber() || !api.factory())
        return false;
    try {
        return api.factory()->isConnected();
    } catch (const AccessError &) {
        // A failing check counts as not connected, as in EnsureConnected.
        return false;
    }
}

QString DBCall(const QString &command, bool &failed)
{
    try {
        BeginServerCall(false);
        QString result = XecuteOnServer(command);
        EndServerCall(false);
        return result;
    } catch (const AccessError &error) {
        failed = true;
        ReportAccessError(error, FailedRequestText(u"DBCall"_s, command));
        return {};
    }
}

int DBCallD(const QString &command, const QString &delimiter, QStringList &fields, bool &failed)
{
    QString result;
    try {
        BeginServerCall(false);
        result = XecuteOnServer(command);
        EndServerCall(false);
    } catch (const AccessError &error) {
        failed = true;
        ReportAccessError(error, FailedRequestText(u"DBCallD"_s, command));
        return 0;
    }
    Q_ASSERT(delimiter.size() == 1);
    return SplitFields(result, delimiter.isEmpty() ? QChar() : delimiter.at(0), fields);
}

int SplitFields(const QString &text, QChar delimiter, QStringList &fields)
{
    int count = 0;
    qsizetype capacity = qMax<qsizetype>(0, fields.size() - 1);
    auto store = [&](const QString &field) {
        ++count;
        if (count > capacity) {
            capacity += 10;
            while (fields.size() < capacity + 1)
                fields.append(QString());
        }
        fields[count] = field;
    };
    QString current;
    for (QChar ch : text) {
        if (ch == delimiter) {
            store(current);
            current.clear();
        } else {
            current.append(ch);
        }
    }
    if (!current.isEmpty())
        store(current);
    return count;
}

void CloseServerObject(std::unique_ptr<ServerObject> &object)
{
    if (!object)
        return;
    try {
        object->sys_Close();
    } catch (const AccessError &) {
        // A failing close changes nothing for the caller: the object is gone either way.
    }
    object.reset();
}

void CloseServerObject(std::unique_ptr<ResultSet> &resultSet)
{
    if (!resultSet)
        return;
    try {
        resultSet->close();
    } catch (const AccessError &) {
    }
    resultSet.reset();
}

QString AccessErrorText(const AccessError &error, const QString &operation)
{
    return u"Vorgang: " + operation + u'.' + Crlf + Crlf + u"Fehler: " + QString::number(error.code()) + Crlf
        + error.description() + Crlf + Crlf;
}

void ReportAccessError(const AccessError &error, const QString &operation)
{
    if (!ExitRequested()) {
        MsgBox(QApplication::activeWindow(), QMessageBox::Warning, u"Caché Zugriffsfehler"_s,
               AccessErrorText(error, operation), QMessageBox::Ok);
    }
    EndServerCall(true);
}

void WaitHundredths(qint32 hundredths, qint32 &elapsed)
{
    const auto secondsSinceMidnight = [] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; };
    const double duration = hundredths / 100.0;
    const double start = secondsSinceMidnight();
    double now = start;
    while (now < start + duration && now + 0.01 > start) {
        // Sleep in short slices instead of spinning; events are handled meanwhile.
        QEventLoop slice;
        QTimer::singleShot(10, &slice, &QEventLoop::quit);
        slice.exec();
        QCoreApplication::processEvents();
        now = secondsSinceMidnight();
    }
    elapsed = static_cast<qint32>(now - start);
}

void ExitApplication()
{
    cacheapi::instance().exitApplication();
}

bool ExitRequested()
{
    return cacheapi::instance().exitRequested();
}

} // namespace tolven
