#include "DatabaseTarget.h"

#include <QDir>
#include <QRegularExpression>

#include "access/AccessError.h"
#include "access/ServerAddress.h"

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

QString DatabaseTarget::describe() const
{
    switch (kind) {
    case Kind::SQLite:
        return u"SQLite-Datei "_qs + QDir::toNativeSeparators(path);
    case Kind::PostgreSQL:
        if (!conninfo.isEmpty())
            return u"PostgreSQL (" + conninfo + u')';
        return u"PostgreSQL " + host + u':' + QString::number(port) + u'/' + database;
    }
    return {};
}

DatabaseTarget DatabaseTarget::sqlite(const QString &path)
{
    DatabaseTarget target;
    target.kind = Kind::SQLite;
    target.path = path;
    return target;
}

DatabaseTarget DatabaseTarget::postgres(const QString &host, int port)
{
    DatabaseTarget target;
    target.kind = Kind::PostgreSQL;
    target.host = host;
    target.port = port;
    return target;
}

bool IsDatabaseFilePath(const QString &serverAddress)
{
    return serverAddress.contains(u'/') || serverAddress.contains(u'\\')
        || serverAddress.endsWith(u".db", Qt::CaseInsensitive);
}

namespace {

bool parsePort(QStringView text, int &port)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar ch : text) {
        if (!ch.isDigit() || ch.unicode() > '9')
            return false;
    }
    port = text.toInt();
    return port >= 1 && port <= 65535;
}

[[noreturn]] void badConnectString(const QString &connectString, const QString &why)
{
    throw AccessError(ErrorNumber::BadConnectString,
                      u"Ungültige Verbindungsangabe \"" + connectString + u"\": " + why);
}

} // namespace

DatabaseTarget ParseConnectString(const QString &connectString)
{
    static const QString prefix = u"cn_iptcp:"_qs;
    static const QString suffix = u"]:TOLVEN"_qs;
    if (!connectString.startsWith(prefix))
        badConnectString(connectString, u"sie beginnt nicht mit \"cn_iptcp:\"."_qs);
    if (!connectString.endsWith(suffix))
        badConnectString(connectString, u"sie endet nicht mit \"]:TOLVEN\"."_qs);
    const QStringView inner = QStringView(connectString).mid(prefix.size(), connectString.size() - prefix.size() - suffix.size());
    const qsizetype bracket = inner.lastIndexOf(u'[');
    if (bracket < 0)
        badConnectString(connectString, u"der Port in eckigen Klammern fehlt."_qs);
    const QString host = inner.left(bracket).toString();
    if (host.trimmed().isEmpty())
        badConnectString(connectString, u"der Server fehlt."_qs);
    if (IsDatabaseFilePath(host))
        return DatabaseTarget::sqlite(host);
    int port = 0;
    if (!parsePort(inner.mid(bracket + 1), port))
        badConnectString(connectString, u"der Port ist keine Zahl von 1 bis 65535."_qs);
    return DatabaseTarget::postgres(host, port);
}

QString MakeConnectString(const QString &serverAddress, const QString &port)
{
    return tolven::ConnectStringFor(serverAddress, port);
}

DatabaseTarget ParseAdminTarget(const QString &target)
{
    if (target.trimmed().isEmpty())
        throw AccessError(ErrorNumber::BadConnectString, u"Kein Ziel angegeben."_qs);
    if (target.contains(u'=')) {
        DatabaseTarget postgres;
        postgres.kind = DatabaseTarget::Kind::PostgreSQL;
        postgres.conninfo = target;
        return postgres;
    }
    static const QRegularExpression hostAndPort(u"^([^/\\\\:\\s]+):(\\d{1,5})$"_qs);
    const QRegularExpressionMatch match = hostAndPort.match(target);
    if (match.hasMatch()) {
        int port = 0;
        if (!parsePort(match.capturedView(2), port))
            throw AccessError(ErrorNumber::BadConnectString, u"Ungültiger Port in \"" + target + u"\".");
        return DatabaseTarget::postgres(match.captured(1), port);
    }
    return DatabaseTarget::sqlite(target);
}

QString DefaultDatabasePath()
{
    return tolven::DefaultServerAddress();
}

} // namespace store
