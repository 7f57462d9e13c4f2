#pragma once

#include <QString>

namespace store {

using namespace Qt::StringLiterals;

// Where a store keeps its data: an SQLite file, or the PostgreSQL database
// "tolven" on a host (or as a full libpq connection string).
struct DatabaseTarget
{
    enum class Kind { SQLite, PostgreSQL };

    Kind kind = Kind::SQLite;
    QString path;       // SQLite
    QString host;       // PostgreSQL by host and port
    int port = 5432;
    QString conninfo;   // PostgreSQL by libpq connection string (instead of host and port)
    QString database = u"tolven"_s; // PostgreSQL; tolven-admin may reach "postgres" to create it

    bool isSQLite() const { return kind == Kind::SQLite; }
    QString describe() const;

    static DatabaseTarget sqlite(const QString &path);
    static DatabaseTarget postgres(const QString &host, int port);
};

// "cn_iptcp:" HOST "[" PORT "]:TOLVEN". HOST is a database file when it holds
// "/" or "\" or ends in ".db", else a PostgreSQL host. Throws AccessError.
DatabaseTarget ParseConnectString(const QString &connectString);

// The connection string that reaches target (SQLite files and host:port only).
QString MakeConnectString(const QString &serverAddress, const QString &port);

// tolven-admin's TARGET: a libpq connection string (holds "="), HOST:PORT,
// or else the path of a database file. Throws AccessError, also for a
// connection string libpq could not read and for a connection URI; the
// message never repeats the string.
DatabaseTarget ParseAdminTarget(const QString &target);

// A libpq connection string for messages: the value of every "password"
// (the key in any case, the value quoted or not) written as "***". What
// cannot be read as KEY=VALUE from some point on is "***" from there.
QString MaskConninfoPasswords(const QString &conninfo);

// Whether a server address names a database file rather than a host.
bool IsDatabaseFilePath(const QString &serverAddress);

// The per-user database file: the default server address.
QString DefaultDatabasePath();

} // namespace store
