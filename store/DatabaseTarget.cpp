#include "DatabaseTarget.h"

#include <QDir>
#include <QRegularExpression>

#include "objectapi/AccessError.h"
#include "objectapi/Digits.h"
#include "objectapi/ServerAddress.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

QString DatabaseTarget::describe() const
{
    switch (kind) {
    case Kind::SQLite:
        return u"SQLite-Datei "_s + QDir::toNativeSeparators(path);
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

[[noreturn]] void badConnectString(const QString &connectString, const QString &why)
{
    throw AccessError(ErrorNumber::BadConnectString,
                      u"Ungültige Verbindungsangabe \"" + connectString + u"\": " + why);
}

} // namespace

DatabaseTarget ParseConnectString(const QString &connectString)
{
    static const QString prefix = u"cn_iptcp:"_s;
    static const QString suffix = u"]:TOLVEN"_s;
    if (!connectString.startsWith(prefix))
        badConnectString(connectString, u"sie beginnt nicht mit \"cn_iptcp:\"."_s);
    if (!connectString.endsWith(suffix))
        badConnectString(connectString, u"sie endet nicht mit \"]:TOLVEN\"."_s);
    const QStringView inner = QStringView(connectString).mid(prefix.size(), connectString.size() - prefix.size() - suffix.size());
    const qsizetype bracket = inner.lastIndexOf(u'[');
    if (bracket < 0)
        badConnectString(connectString, u"der Port in eckigen Klammern fehlt."_s);
    const QString host = inner.left(bracket).toString();
    if (host.trimmed().isEmpty())
        badConnectString(connectString, u"der Server fehlt."_s);
    if (IsDatabaseFilePath(host))
        return DatabaseTarget::sqlite(host);
    int port = 0;
    if (!tolven::ParsePort(inner.mid(bracket + 1), port))
        badConnectString(connectString, u"der Port ist keine Zahl von 1 bis 65535."_s);
    return DatabaseTarget::postgres(host, port);
}

QString MakeConnectString(const QString &serverAddress, const QString &port)
{
    return tolven::ConnectStringFor(serverAddress, port);
}

DatabaseTarget ParseAdminTarget(const QString &target)
{
    if (target.trimmed().isEmpty())
        throw AccessError(ErrorNumber::BadConnectString, u"Kein Ziel angegeben."_s);
    if (target.contains(u'=')) {
        DatabaseTarget postgres;
        postgres.kind = DatabaseTarget::Kind::PostgreSQL;
        postgres.conninfo = target;
        return postgres;
    }
    // Anchored as a whole: "$" would also match before a final line end.
    static const QRegularExpression hostAndPort(
        QRegularExpression::anchoredPattern(u"([^/\\\\:\\s]+):([0-9]{1,5})"_s));
    const QRegularExpressionMatch match = hostAndPort.match(target);
    if (match.hasMatch()) {
        int port = 0;
        if (!tolven::ParsePort(match.capturedView(2), port))
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
