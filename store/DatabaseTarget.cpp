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
            return u"PostgreSQL (" + MaskConninfoPasswords(conninfo) + u')';
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

bool IsConninfoSpace(QChar ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u'\f' || ch == u'\v';
}

bool IsKeyword(QStringView key)
{
    if (key.isEmpty())
        return false;
    for (const QChar ch : key) {
        if (!((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') || ch == u'_'))
            return false;
    }
    return true;
}

// A connection string read the way libpq reads one: KEY = VALUE settings
// apart by blanks, a value in single quotes when it holds blanks, "\"
// taking the character after it as it is. Positions into the text only, so
// that nothing of it needs to be repeated.
struct ConninfoReading
{
    struct Setting
    {
        QStringView key;
        qsizetype valueBegin;  // the opening quote of a quoted value
        qsizetype valueEnd;
    };
    QList<Setting> settings;
    qsizetype unreadFrom = -1;  // where reading stopped; -1 when all was read
    QString problem;            // why, in German, naming no value
};

ConninfoReading ReadConninfo(QStringView text)
{
    ConninfoReading reading;
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto skipSpace = [&] {
        while (i < size && IsConninfoSpace(text[i]))
            ++i;
    };
    for (int number = 1;; ++number) {
        skipSpace();
        if (i == size)
            return reading;
        const qsizetype keyBegin = i;
        while (i < size && !IsConninfoSpace(text[i]) && text[i] != u'=')
            ++i;
        const QStringView key = text.sliced(keyBegin, i - keyBegin);
        skipSpace();
        if (!IsKeyword(key) || i == size || text[i] != u'=') {
            reading.unreadFrom = keyBegin;
            reading.problem = u"die " + QString::number(number)
                + u". Angabe hat nicht die Form Schlüssel=Wert (ein Wert mit Leerzeichen gehört in "
                  u"einfache Anführungszeichen: '...')";
            return reading;
        }
        ++i;
        skipSpace();
        const qsizetype valueBegin = i;
        if (i < size && text[i] == u'\'') {
            ++i;
            while (i < size && text[i] != u'\'')
                i += text[i] == u'\\' ? 2 : 1;
            if (i >= size) {
                reading.unreadFrom = valueBegin;
                reading.problem = u"der Wert von " + key.toString() + u" hat kein schließendes Anführungszeichen";
                return reading;
            }
            ++i;
        } else {
            while (i < size && !IsConninfoSpace(text[i]))
                i += text[i] == u'\\' ? 2 : 1;
            i = qMin(i, size);
        }
        reading.settings.append({key, valueBegin, i});
    }
}

bool IsConnectionUri(const QString &target)
{
    return target.startsWith(u"postgresql://", Qt::CaseInsensitive)
        || target.startsWith(u"postgres://", Qt::CaseInsensitive);
}

} // namespace

QString MaskConninfoPasswords(const QString &conninfo)
{
    static const QString masked = u"***"_s;
    const ConninfoReading reading = ReadConninfo(conninfo);
    QString result;
    qsizetype copied = 0;
    for (const ConninfoReading::Setting &setting : reading.settings) {
        // libpq knows the key in lower case only; another case is refused by
        // it, but the value is meant as a password all the same.
        if (setting.key.compare(u"password", Qt::CaseInsensitive) != 0)
            continue;
        result += QStringView(conninfo).sliced(copied, setting.valueBegin - copied) + masked;
        // A quoted value may run into the next key; "***" would swallow it.
        if (setting.valueEnd < conninfo.size() && !IsConninfoSpace(conninfo.at(setting.valueEnd)))
            result += u' ';
        copied = setting.valueEnd;
    }
    // What libpq could not read either may be anything, a password with a
    // blank typed into it among others.
    const qsizetype end = reading.unreadFrom < 0 ? conninfo.size() : reading.unreadFrom;
    result += QStringView(conninfo).sliced(copied, end - copied);
    if (reading.unreadFrom >= 0)
        result += masked;
    return result;
}

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
    // Qt's driver puts the database name before a connection string, so a
    // URI would never be read as one; and one without "=" would be a file.
    if (IsConnectionUri(target)) {
        throw AccessError(ErrorNumber::BadConnectString,
                          u"Ungültige Verbindungsangabe: eine URI (postgresql://...) wird nicht angenommen; bitte "
                          u"als Schlüssel=Wert angeben, z. B. \"host=db port=5432 user=konkur\"."_s);
    }
    if (target.contains(u'=')) {
        // libpq would repeat the part it cannot read in its message, which may
        // be a piece of a password.
        if (const ConninfoReading reading = ReadConninfo(target); reading.unreadFrom >= 0) {
            throw AccessError(ErrorNumber::BadConnectString,
                              u"Ungültige Verbindungsangabe " + MaskConninfoPasswords(target) + u": " + reading.problem
                                  + u'.');
        }
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
