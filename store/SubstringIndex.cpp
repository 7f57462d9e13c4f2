#include "SubstringIndex.h"

#include <QSqlQuery>

#include "store/LikePattern.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;

namespace store::substring {

namespace {

// SQLite: the text of each row beside the key it belongs to, under an id of
// its own; the FTS5 table indexes that text by the id. Keyed by a table of
// our own, not the table's implicit rowid, which VACUUM may renumber.
QString textTable(const QString &table, const QString &column)
{
    return table + u'_' + column + u"_text";
}

QString ftsTable(const QString &table, const QString &column)
{
    return table + u'_' + column + u"_fts";
}

QString ginIndex(const QString &table, const QString &column)
{
    return table + u'_' + column + u"_trgm";
}

// An FTS5 phrase matches its text as it stands, in the trigram tokenizer's
// case folding; a quote inside is written twice.
QString phrase(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace

Statements create(bool postgres, const QString &table, const QString &column, bool ifMissing)
{
    const QString ifNotExists = ifMissing ? u"IF NOT EXISTS "_s : QString();
    Statements result;
    if (postgres) {
        // Shipped with PostgreSQL (contrib) and trusted: the owner of the
        // database may create it without being a superuser.
        result.tables << u"CREATE EXTENSION IF NOT EXISTS pg_trgm"_s;
        result.indexes << u"CREATE INDEX " + ifNotExists + ginIndex(table, column) + u" ON " + table
                + u" USING gin (" + column + u" gin_trgm_ops)";
        return result;
    }
    const QString text = textTable(table, column);
    const QString fts = ftsTable(table, column);
    const QString trigger = u"CREATE TRIGGER " + ifNotExists;
    result.tables << u"CREATE TABLE " + ifNotExists + text + u" (id INTEGER PRIMARY KEY, firma TEXT NOT NULL,"
                       u" obj_key TEXT NOT NULL, " + column + u" TEXT, UNIQUE (firma, obj_key))";
    result.tables << u"CREATE VIRTUAL TABLE " + ifNotExists + fts + u" USING fts5(" + column + u", content='"
                       + text + u"', content_rowid='id', tokenize='trigram')";
    // The FTS5 table follows its content table, as SQLite's documentation
    // of external content tables shows; the content table follows the table.
    const QString ftsInsert = u"INSERT INTO " + fts + u" (rowid, " + column + u") VALUES (new.id, new." + column + u");";
    const QString ftsDelete = u"INSERT INTO " + fts + u" (" + fts + u", rowid, " + column + u") VALUES ('delete', old.id, old."
            + column + u");";
    result.indexes << trigger + text + u"_ai AFTER INSERT ON " + text + u" BEGIN " + ftsInsert + u" END";
    result.indexes << trigger + text + u"_ad AFTER DELETE ON " + text + u" BEGIN " + ftsDelete + u" END";
    result.indexes << trigger + text + u"_au AFTER UPDATE ON " + text + u" BEGIN " + ftsDelete + u' ' + ftsInsert
            + u" END";
    const QString prefix = table + u'_' + column;
    result.indexes << trigger + prefix + u"_ai AFTER INSERT ON " + table + u" BEGIN INSERT INTO " + text
            + u" (firma, obj_key, " + column + u") VALUES (new.firma, new.obj_key, new." + column + u"); END";
    result.indexes << trigger + prefix + u"_ad AFTER DELETE ON " + table + u" BEGIN DELETE FROM " + text
            + u" WHERE firma = old.firma AND obj_key = old.obj_key; END";
    // A save writes every property of a row, its text mostly unchanged: the
    // index is rewritten only for a text that did change. An older schema's
    // trigger, which rewrote it for every write, is replaced.
    if (ifMissing)
        result.indexes << u"DROP TRIGGER IF EXISTS " + prefix + u"_au";
    result.indexes << trigger + prefix + u"_au AFTER UPDATE OF firma, obj_key, " + column + u" ON " + table
            + u" WHEN old.firma IS NOT new.firma OR old.obj_key IS NOT new.obj_key OR old." + column + u" IS NOT new."
            + column + u" BEGIN UPDATE " + text + u" SET firma = new.firma, obj_key = new.obj_key, " + column + u" = new."
            + column + u" WHERE firma = old.firma AND obj_key = old.obj_key; END";
    return result;
}

QStringList ownTables(bool postgres, const QString &table, const QString &column)
{
    if (postgres)
        return {};
    return {ftsTable(table, column), textTable(table, column)};
}

bool exists(Session &session, const QString &table, const QString &column)
{
    Statement &query = session.statement(session.isPostgres()
                                             ? u"SELECT 1 FROM pg_indexes WHERE indexname = ?"_s
                                             : u"SELECT 1 FROM sqlite_master WHERE name = ?"_s);
    query.addBindValue(session.isPostgres() ? ginIndex(table, column) : ftsTable(table, column));
    session.exec(query, u"Prüfen des Textindex von "_s + table);
    const bool found = query.next();
    query.finish();
    return found;
}

void fill(Session &session, const QString &table, const QString &column)
{
    if (session.isPostgres())
        return;
    session.execDirect(u"INSERT INTO " + textTable(table, column) + u" (firma, obj_key, " + column + u") SELECT firma,"
                           u" obj_key, " + column + u" FROM " + table,
                       {}, u"Aufbau des Textindex von "_s + table);
}

SqlStatement containing(Session &session, const QString &table, const QString &column, const QString &firm,
                        const QString &key)
{
    if (key.toUcs4().size() < MinimumLength)
        return {};
    const QString pattern = ContainsPattern(key);
    if (session.isPostgres()) {
        // The GIN index serves LIKE itself, and its rows are rechecked against the pattern.
        return {u"SELECT obj_key FROM " + table + u" WHERE firma = ? AND " + column + u" LIKE ? ESCAPE '!'",
                {firm, pattern}};
    }
    // The trigram phrase finds every text that holds key and, as its case
    // folding goes beyond ASCII where LIKE's does not, possibly a few more:
    // LIKE on the text kept beside the index decides. CROSS JOIN keeps the
    // phrase first: without statistics SQLite's planner would rather walk the
    // firm's rows and ask the index for each.
    const QString text = textTable(table, column);
    const QString fts = ftsTable(table, column);
    return {u"SELECT t.obj_key FROM " + fts + u" CROSS JOIN " + text + u" t ON t.id = " + fts + u".rowid WHERE " + fts
                + u" MATCH ? AND t.firma = ? AND t." + column + u" LIKE ? ESCAPE '!'",
            {phrase(key), firm, pattern}};
}

} // namespace store::substring
