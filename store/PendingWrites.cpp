// The writes a session holds back within a client transaction, sent to the
// database together: a few statements for many rows instead of one round
// trip each (see Session::deferWrite).
#include "Session.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlDriver>
#include <QSqlResult>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <map>

#include "objectapi/AccessError.h"
#include "store/StoreObject.h"

using namespace Qt::StringLiterals;

namespace store {

namespace {

// Well within what either database binds in one statement. Qt's SQLite
// driver looks every parameter's name up by a walk through all of them, so
// a statement's binding costs the square of its parameters there: a few
// thousand a statement bind fastest.
constexpr int MaxParametersPostgres = 30000;
constexpr int MaxParametersSQLite = 4000;
constexpr int MaxRowsPerStatement = 500;

QString rowPlaceholders(qsizetype columns)
{
    QString row = u"("_s;
    for (qsizetype i = 0; i < columns; ++i)
        row += i ? u", ?"_s : u"?"_s;
    return row + u')';
}

// The rows of the next statement of a group with left rows to go, perRow
// parameters each: as many as fit. SQLite prepares a statement at a cost
// growing with the square of its parameters, so there a large rest goes in
// powers of two: a few texts, each prepared once, serve every batch.
// PostgreSQL's statements cost a round trip each, prepared or not.
constexpr size_t SmallStatementParameters = 500;

size_t statementRows(size_t left, size_t chunk, size_t perRow, bool postgres)
{
    if (left >= chunk || postgres || left * perRow <= SmallStatementParameters)
        return std::min(left, chunk);
    size_t rows = 1;
    while (rows * 2 <= left)
        rows *= 2;
    return rows;
}

// libpq's parameters are numbered ($1, $2, ...); the store's statements
// mark them with "?", and have no question mark anywhere else.
QByteArray numberedParameters(const QString &sql)
{
    const QByteArray text = sql.toUtf8();
    QByteArray numbered;
    numbered.reserve(text.size() * 2);
    int number = 0;
    for (const char c : text) {
        if (c == '?')
            numbered += '$' + QByteArray::number(++number);
        else
            numbered += c;
    }
    return numbered;
}

QString pendingKey(const Session::PendingWrite &write)
{
    return write.cls->table + u' ' + write.firm + u"||" + write.key;
}

} // namespace

void Session::deferWrite(PendingWrite write)
{
    // Two writes of one object go in turn, not in one statement.
    const QString key = pendingKey(write);
    if (m_pendingKeys.contains(key))
        flushWrites();
    m_pendingKeys.insert(key);
    if (write.insert)
        rowInserted();
    m_pending.push_back(std::move(write));
}

void Session::flushWrites()
{
    if (m_pending.empty() || m_flushing)
        return;
    m_flushing = true;
    std::vector<PendingWrite> pending = std::exchange(m_pending, {});
    m_pendingKeys.clear();
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_flushing};

    // Writes of one class and the same columns share statements.
    std::map<QString, std::vector<size_t>> groups;
    for (size_t i = 0; i < pending.size(); ++i) {
        const PendingWrite &write = pending[i];
        groups[write.cls->name + (write.insert ? u" +"_s : u" ="_s) + write.columns.join(u',')].push_back(i);
    }
    size_t firstStale = pending.size();
    for (const auto &[group, members] : groups) {
        const PendingWrite &model = pending[members.front()];
        const qsizetype perRow = 3 + model.columns.size();
        const int maxParameters = isPostgres() ? MaxParametersPostgres : MaxParametersSQLite;
        const size_t chunk = size_t(std::max<qsizetype>(1, std::min<qsizetype>(MaxRowsPerStatement,
                                                                                 maxParameters / perRow)));
        for (size_t from = 0, count = 0; from < members.size(); from += count) {
            count = statementRows(members.size() - from, chunk, size_t(perRow), isPostgres());
            QStringList rows;
            for (size_t n = 0; n < count; ++n)
                rows << rowPlaceholders(perRow);
            const ClassDescription &cls = *model.cls;
            QString sql;
            if (model.insert) {
                sql = u"INSERT INTO " + cls.table + u" (firma, obj_key, obj_seq, " + model.columns.join(u", ")
                    + u") VALUES " + rows.join(u", ");
            } else {
                QStringList assignments;
                QStringList sources{u"column1 AS k_firma"_s, u"column2 AS k_key"_s, u"column3 AS k_version"_s};
                for (qsizetype c = 0; c < model.columns.size(); ++c) {
                    assignments << model.columns[c] + u" = v.k_" + model.columns[c];
                    sources << u"column" + QString::number(c + 4) + u" AS k_" + model.columns[c];
                }
                assignments << u"obj_version = obj_version + 1"_s;
                sql = u"UPDATE " + cls.table + u" SET " + assignments.join(u", ") + u" FROM (SELECT "
                    + sources.join(u", ") + u" FROM (VALUES " + rows.join(u", ") + u") AS x) AS v WHERE "
                    + cls.table + u".firma = v.k_firma AND " + cls.table + u".obj_key = v.k_key AND (v.k_version IS NULL"
                    + u" OR " + cls.table + u".obj_version = CAST(v.k_version AS BIGINT)) RETURNING obj_key, obj_version";
            }
            QVariantList values;
            values.reserve(qsizetype(count) * perRow);
            for (size_t n = 0; n < count; ++n) {
                const PendingWrite &write = pending[members[from + n]];
                values << write.firm << write.key;
                if (write.insert)
                    values << *write.number;
                else
                    values << (write.expectedVersion ? QVariant(*write.expectedVersion) : QVariant());
                values << write.values;
            }
            const QHash<QString, QString> written = sendWrites(
                sql, values, u"Speichern von " + QString::number(count) + u" Objekten der Klasse " + cls.name);
            for (size_t n = 0; n < count; ++n) {
                const size_t index = members[from + n];
                PendingWrite &write = pending[index];
                if (write.insert) {
                    write.outcome->done = true;
                    write.outcome->version = u"1"_s;
                } else if (const auto found = written.constFind(write.key); found != written.cend()) {
                    write.outcome->done = true;
                    write.outcome->version = *found;
                } else {
                    firstStale = std::min(firstStale, index);
                }
            }
        }
    }
    if (firstStale < pending.size()) {
        const PendingWrite &stale = pending[firstStale];
        ThrowStaleWrite(*this, *stale.cls, stale.firm, stale.key, stale.expectedVersion, u"geändert"_s);
    }
}

sqlite3_stmt *Session::sqliteWriteStatement(const QString &sql, const QString &what)
{
    if (const auto found = m_sqliteWrites.find(sql); found != m_sqliteWrites.end())
        return found->second;
    const QVariant handle = m_database.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3 *db = *static_cast<sqlite3 *const *>(handle.data());
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare16_v3(db, sql.utf16(), int(sql.size() * sizeof(QChar)), SQLITE_PREPARE_PERSISTENT, &prepared,
                             nullptr)
        != SQLITE_OK) {
        const QString message = QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(db)));
        sqlite3_finalize(prepared);
        fail(QSqlError(message, message, QSqlError::StatementError), what);
    }
    m_sqliteWrites.emplace(sql, prepared);
    return prepared;
}

void Session::finalizeSqliteWrites() noexcept
{
    for (const auto &[sql, prepared] : m_sqliteWrites)
        sqlite3_finalize(prepared);
    m_sqliteWrites.clear();
}

QHash<QString, QString> Session::sendWrites(const QString &sql, const QVariantList &values, const QString &what)
{
    QHash<QString, QString> written;
    // Qt's driver puts every value into the statement's text as a quoted
    // literal, at a cost that outweighs the database's work for thousands of
    // small values; libpq sends them as they are.
    if (PGconn *connection = isPostgres() ? idleConnection(PQTRANS_INTRANS) : nullptr) {
        std::vector<QByteArray> texts;
        std::vector<const char *> parameters;
        texts.reserve(size_t(values.size()));
        parameters.reserve(size_t(values.size()));
        for (const QVariant &value : values) {
            if (value.isNull()) {
                parameters.push_back(nullptr);
                continue;
            }
            texts.push_back(value.toString().toUtf8());
            parameters.push_back(texts.back().constData());
        }
        countStatement();
        m_articleCache.clear();
        PGresult *result = PQexecParams(connection, numberedParameters(sql).constData(), int(parameters.size()),
                                        nullptr, parameters.data(), nullptr, nullptr, 0);
        m_lastUse.start();
        if (PQresultStatus(result) != PGRES_TUPLES_OK && PQresultStatus(result) != PGRES_COMMAND_OK) {
            // Without a result (the connection broke) the reason is the connection's.
            const QString message =
                QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(connection)).trimmed();
            const QString code = QString::fromUtf8(PQresultErrorField(result, PG_DIAG_SQLSTATE));
            PQclear(result);
            fail(QSqlError(message, message, QSqlError::StatementError, code), what);
        }
        const int rows = PQntuples(result);
        written.reserve(rows);
        for (int row = 0; row < rows; ++row)
            written.insert(QString::fromUtf8(PQgetvalue(result, row, 0)), QString::fromUtf8(PQgetvalue(result, row, 1)));
        PQclear(result);
        return written;
    }
    // Qt's SQLite driver names every placeholder before SQLite sees the
    // statement (which then looks each name up among all before it, for
    // thousands of values), and files every value under its name before it
    // binds it: both cost more than the database's work for the rows. SQLite
    // prepares these statements itself and the values go straight to them.
    if (sqlite3_stmt *prepared = isPostgres() ? nullptr : sqliteWriteStatement(sql, what)) {
        sqlite3_reset(prepared);
        sqlite3_clear_bindings(prepared);
        int done = SQLITE_OK;
        for (int i = 0; i < values.size() && done == SQLITE_OK; ++i) {
            const QVariant &value = values[i];
            if (value.isNull()) {
                done = sqlite3_bind_null(prepared, i + 1);
            } else if (value.typeId() == QMetaType::LongLong) {
                done = sqlite3_bind_int64(prepared, i + 1, value.toLongLong());
            } else if (value.typeId() == QMetaType::QString) {
                // The text stays where it is while values lives, past the last step.
                const QString &text = *static_cast<const QString *>(value.constData());
                done = sqlite3_bind_text16(prepared, i + 1, text.utf16(), int(text.size() * sizeof(QChar)),
                                           SQLITE_STATIC);
            } else {
                const QString text = value.toString();
                done = sqlite3_bind_text16(prepared, i + 1, text.utf16(), int(text.size() * sizeof(QChar)),
                                           SQLITE_TRANSIENT);
            }
        }
        countStatement();
        m_articleCache.clear();
        while (done == SQLITE_OK || done == SQLITE_ROW) {
            done = sqlite3_step(prepared);
            if (done == SQLITE_ROW) {
                written.insert(QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_text16(prepared, 0))),
                               QString::fromUtf16(static_cast<const char16_t *>(sqlite3_column_text16(prepared, 1))));
            }
        }
        m_lastUse.start();
        if (done != SQLITE_DONE) {
            sqlite3 *db = sqlite3_db_handle(prepared);
            const QString message = QString::fromUtf16(static_cast<const char16_t *>(sqlite3_errmsg16(db)));
            const QString code = QString::number(sqlite3_extended_errcode(db));
            sqlite3_reset(prepared);
            fail(QSqlError(message, message, QSqlError::StatementError, code), what);
        }
        sqlite3_reset(prepared);
        sqlite3_clear_bindings(prepared);
        return written;
    }
    Statement &query = statement(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    exec(query, what);
    while (query.next())
        written.insert(query.value(0).toString(), query.value(1).toString());
    query.finish();
    return written;
}

} // namespace store
