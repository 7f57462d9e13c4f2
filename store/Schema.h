#pragma once

#include <QString>
#include <QStringList>

namespace store {

class Session;

// The database schema, the same for SQLite and PostgreSQL: the tables of the
// class descriptions plus the store's own (meta data, running numbers).
namespace schema {

// Raised whenever a table, column, index or trigger is added, renamed or changed.
inline constexpr int CurrentVersion = 5;

QStringList tableNames();
// Text columns compare by bytes on both databases.
QString textType(bool postgres);
// With ifMissing, every table and index is created only where it is missing.
QStringList createStatements(bool postgres, bool ifMissing = false);

// The version recorded in the database; -1 when it holds no schema of ours.
int recordedVersion(Session &session);
// The recorded version, when this program can work with the database or bring
// it up to date; throws AccessError for no schema of ours or a newer one.
int usableVersion(Session &session);
// Creates every table and records the version, in one transaction.
void create(Session &session);
// Brings a schema of an older version to the current one, in one transaction:
// adds the tables, columns and indexes that the class descriptions have and the
// database lacks. Returns the version found. Throws AccessError for a database
// without our schema or with a newer one.
int upgrade(Session &session);
// Updates the statistics the database's planner chooses indexes by; after a
// bulk load, before the first searches.
void analyze(Session &session);
// Drops every table of the schema that exists.
void drop(Session &session);
// Whether any table of the schema exists in the database.
bool anyTableExists(Session &session);

} // namespace schema
} // namespace store
