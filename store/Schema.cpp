#include "Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "objectapi/AccessError.h"

#include "store/ClassRegistry.h"
#include "store/History.h"
#include "store/Session.h"
#include "store/SubstringIndex.h"

using namespace Qt::StringLiterals;

namespace store::schema {

namespace {

const QString MetaTable = u"tolven_meta"_s;
const QString CounterTable = u"tolven_counter"_s;

void recordVersion(Session &session)
{
    session.execDirect(u"UPDATE " + MetaTable + u" SET value = ? WHERE name = 'schema_version'",
                       {QString::number(CurrentVersion)}, u"Eintragen der Schemaversion"_s);
}

// A derived column added to a table that has rows: computed for each of them,
// or the searches that use it would miss the rows stored before.
void fillDerivedColumn(Session &session, const ClassDescription &description, const DerivedColumn &derived)
{
    const PropertyDescription *source = description.findProperty(derived.property);
    Q_ASSERT(source);
    QSqlQuery rows(session.database());
    rows.setForwardOnly(true);
    if (!session.tryExec(rows, u"SELECT firma, obj_key, " + source->column + u" FROM " + description.table))
        session.fail(rows.lastError(), u"Aktualisieren des Schemas"_s);
    QList<QVariantList> updates;
    while (rows.next()) {
        updates.append({derived.derive(rows.value(2).toString()), rows.value(0), rows.value(1)});
    }
    rows.finish();
    const QString sql = u"UPDATE " + description.table + u" SET " + derived.column + u" = ? WHERE firma = ? AND obj_key = ?";
    for (const QVariantList &values : updates) {
        Statement &update = session.statement(sql);
        for (const QVariant &value : values)
            update.addBindValue(value);
        session.exec(update, u"Aktualisieren des Schemas"_s);
    }
}

} // namespace

QStringList tableNames()
{
    QStringList names{MetaTable, CounterTable, history::Table, history::WriterTable};
    for (const ClassDescription &description : AllClasses()) {
        if (description.hasObjects())
            names << description.table;
    }
    return names;
}

QString textType(bool postgres)
{
    // Byte order on both databases: the same sort order everywhere, and
    // indexes that serve prefix ranges on PostgreSQL whatever its locale.
    return postgres ? u"TEXT COLLATE \"C\""_s : u"TEXT"_s;
}

namespace {

struct Statements
{
    QStringList tables;
    QStringList indexes;
    QStringList triggers;  // and the rows the store's own tables start with
};

// Every object's row version, 1 when it is stored first; every write raises it.
const QString VersionColumn = u"obj_version BIGINT NOT NULL DEFAULT 1"_s;

Statements statements(bool postgres, bool ifMissing)
{
    const QString text = textType(postgres);
    const QString createTable = ifMissing ? u"CREATE TABLE IF NOT EXISTS "_s : u"CREATE TABLE "_s;
    const QString createIndex = ifMissing ? u"CREATE INDEX IF NOT EXISTS "_s : u"CREATE INDEX "_s;
    Statements result;
    result.tables << createTable + MetaTable + u" (name VARCHAR(64) NOT NULL PRIMARY KEY, value TEXT NOT NULL)";
    result.tables << createTable + CounterTable
            + u" (class_name VARCHAR(64) NOT NULL, firma VARCHAR(16) NOT NULL, last_value BIGINT NOT NULL,"
              u" PRIMARY KEY (class_name, firma))";

    for (const ClassDescription &description : AllClasses()) {
        if (!description.hasObjects())
            continue;
        QStringList columns{u"firma " + text + u" NOT NULL", u"obj_key " + text + u" NOT NULL"};
        if (description.keyScheme == KeyScheme::RunningNumber)
            columns << u"obj_seq BIGINT NOT NULL"_s;
        columns << VersionColumn;
        for (const QString &column : description.storedColumns())
            columns << column + u' ' + text;
        columns << u"PRIMARY KEY (firma, obj_key)"_s;
        result.tables << createTable + description.table + u" (" + columns.join(u", ") + u')';

        if (description.keyScheme == KeyScheme::RunningNumber) {
            result.indexes << createIndex + description.table + u"_seq ON " + description.table
                    + u" (firma, obj_seq)";
        }
        int n = 0;
        for (const QStringList &index : description.indexes) {
            result.indexes << createIndex + description.table + u"_i" + QString::number(++n) + u" ON "
                    + description.table + u" (firma, " + index.join(u", ") + u')';
        }
        for (const QString &column : description.substringIndexes) {
            const substring::Statements index = substring::create(postgres, description.table, column, ifMissing);
            result.tables << index.tables;
            result.indexes << index.indexes;
        }
        if (description.keepsHistory)
            result.triggers << history::triggerStatements(postgres, description, ifMissing);
    }
    result.tables << history::tableStatements(postgres, ifMissing);
    result.indexes << history::indexStatements(ifMissing);
    result.triggers << history::initialRows();
    result.tables.removeDuplicates();
    return result;
}

} // namespace

QStringList createStatements(bool postgres, bool ifMissing)
{
    const Statements all = statements(postgres, ifMissing);
    return all.tables + all.indexes + all.triggers;
}

int recordedVersion(Session &session)
{
    session.ensureOpen();
    QSqlQuery query(session.database());
    if (!session.tryExec(query, u"SELECT value FROM " + MetaTable + u" WHERE name = 'schema_version'") || !query.next())
        return -1;
    bool ok = false;
    const int version = query.value(0).toString().toInt(&ok);
    return ok ? version : -1;
}

void create(Session &session)
{
    // WAL lets readers go on while one user writes; it cannot change inside a transaction.
    if (!session.isPostgres())
        session.execDirect(u"PRAGMA journal_mode=WAL"_s, {}, u"Anlegen des Schemas"_s);
    Session::WriteScope scope(session);
    for (const QString &sql : createStatements(session.isPostgres()))
        session.execDirect(sql, {}, u"Anlegen des Schemas"_s);
    session.execDirect(u"INSERT INTO " + MetaTable + u" (name, value) VALUES (?, ?)",
                       {u"schema_version"_s, QString::number(CurrentVersion)}, u"Anlegen des Schemas"_s);
    scope.commit();
}

int usableVersion(Session &session)
{
    const int found = recordedVersion(session);
    if (found < 0) {
        throw tolven::AccessError(tolven::ErrorNumber::NoSchema,
                                  session.target().describe() + u" ist keine TOLVEN-Datenbank (kein Schema gefunden). "
                                  u"Sie wird mit tolven-admin init angelegt.");
    }
    if (found > CurrentVersion) {
        throw tolven::AccessError(tolven::ErrorNumber::SchemaVersion,
                                  u"Das Schema von " + session.target().describe() + u" hat die Version "
                                      + QString::number(found) + u" und ist neuer als dieses Programm (Version "
                                      + QString::number(CurrentVersion) + u").");
    }
    return found;
}

int upgrade(Session &session)
{
    const int found = usableVersion(session);
    if (found == CurrentVersion)
        return found;

    // Tables first, then the columns they lack, then the indexes, which may
    // name those columns; last the rows into the text indexes made now.
    const Statements missing = statements(session.isPostgres(), true);
    QList<std::pair<QString, QString>> newSubstringIndexes;
    for (const ClassDescription &description : AllClasses()) {
        for (const QString &column : description.substringIndexes) {
            if (!substring::exists(session, description.table, column))
                newSubstringIndexes.append({description.table, column});
        }
    }
    Session::WriteScope scope(session);
    for (const QString &sql : missing.tables)
        session.execDirect(sql, {}, u"Aktualisieren des Schemas"_s);
    for (const ClassDescription &description : AllClasses()) {
        if (!description.hasObjects())
            continue;
        const QSqlRecord existing = session.database().record(description.table);
        // Rows stored before versions were kept start with version 1.
        if (!existing.contains(u"obj_version"_s)) {
            session.execDirect(u"ALTER TABLE " + description.table + u" ADD COLUMN " + VersionColumn, {},
                               u"Aktualisieren des Schemas"_s);
        }
        for (const QString &column : description.storedColumns()) {
            if (!existing.contains(column)) {
                session.execDirect(u"ALTER TABLE " + description.table + u" ADD COLUMN " + column + u' '
                                       + textType(session.isPostgres()),
                                   {},
                                   u"Aktualisieren des Schemas"_s);
                // Stored rows get the empty text a save would have written.
                session.execDirect(u"UPDATE " + description.table + u" SET " + column + u" = ?", {u""_s},
                                   u"Aktualisieren des Schemas"_s);
            }
        }
        for (const DerivedColumn &derived : description.derivedColumns) {
            if (!existing.contains(derived.column))
                fillDerivedColumn(session, description, derived);
        }
    }
    for (const QString &sql : missing.indexes)
        session.execDirect(sql, {}, u"Aktualisieren des Schemas"_s);
    for (const auto &[table, column] : newSubstringIndexes)
        substring::fill(session, table, column);
    for (const QString &sql : missing.triggers)
        session.execDirect(sql, {}, u"Aktualisieren des Schemas"_s);
    recordVersion(session);
    scope.commit();
    return found;
}

void analyze(Session &session)
{
    session.execDirect(u"ANALYZE"_s, {}, u"Aktualisieren der Statistik"_s);
}

void drop(Session &session)
{
    QStringList tables = tableNames();
    for (const ClassDescription &description : AllClasses()) {
        for (const QString &column : description.substringIndexes)
            tables << substring::ownTables(session.isPostgres(), description.table, column);
    }
    Session::WriteScope scope(session);
    for (const QString &table : tables)
        session.execDirect(u"DROP TABLE IF EXISTS " + table, {}, u"Löschen des Schemas"_s);
    for (const QString &sql : history::dropStatements(session.isPostgres(), AllClasses()))
        session.execDirect(sql, {}, u"Löschen des Schemas"_s);
    scope.commit();
}

bool anyTableExists(Session &session)
{
    session.ensureOpen();
    for (const QString &table : tableNames()) {
        QSqlQuery query(session.database());
        if (session.tryExec(query, u"SELECT 1 FROM " + table + u" WHERE 1 = 0"))
            return true;
    }
    return false;
}

} // namespace store::schema
