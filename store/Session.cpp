#include "Session.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>

#include <libpq-fe.h>

#include <optional>
#include <utility>

#include "objectapi/AccessError.h"
#include "store/Schema.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

namespace {

QString newConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return u"tolven-store-" + QString::number(counter.fetchAndAddRelaxed(1) + 1);
}

QString driverText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = u"unbekannter Fehler"_s;
    return text;
}

bool isUniqueViolation(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    // PostgreSQL: SQLSTATE 23505; SQLite: extended codes 2067 (UNIQUE) and 1555 (PRIMARY KEY).
    return code == u"23505" || code == u"2067" || code == u"1555"
        || error.databaseText().contains(u"UNIQUE constraint failed");
}

constexpr int ConnectTimeoutSeconds = 5;
constexpr int SQLiteBusyTimeoutMilliseconds = 10000;

QAtomicInteger<quint64> s_statementsSent;

} // namespace

quint64 Session::statementsSent()
{
    return s_statementsSent.loadRelaxed();
}

void Session::countStatement()
{
    s_statementsSent.fetchAndAddRelaxed(1);
}

Session::Session(const DatabaseTarget &target, QSqlDatabase database, QString connectionName)
    : m_target(target)
    , m_database(std::move(database))
    , m_connectionName(std::move(connectionName))
{
}

Session::~Session()
{
    close();
    m_idleStatements.clear();
    m_statements.clear();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::shared_ptr<Session> Session::openUnchecked(const DatabaseTarget &target, bool createFile)
{
    const QString name = newConnectionName();
    QSqlDatabase db;
    if (target.isSQLite()) {
        const QFileInfo file(target.path);
        if (!createFile && !file.exists()) {
            throw AccessError(ErrorNumber::ConnectFailed,
                              u"Die Datenbankdatei " + target.path + u" gibt es nicht.");
        }
        if (file.exists() && !file.isFile()) {
            throw AccessError(ErrorNumber::ConnectFailed,
                              target.path + u" ist keine Datenbankdatei.");
        }
        db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(target.path);
        // How long a write waits for another process's transaction on the
        // same file; the client's longest write transaction (a batch of the
        // position save, a master-data list) takes well under a second.
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT="_s + QString::number(SQLiteBusyTimeoutMilliseconds));
    } else {
        db = QSqlDatabase::addDatabase(u"QPSQL"_s, name);
        QStringList options;
        if (!target.conninfo.isEmpty()) {
            options << target.conninfo;
            if (!target.conninfo.contains(u"dbname"))
                db.setDatabaseName(target.database);
        } else {
            db.setHostName(target.host);
            db.setPort(target.port);
            db.setDatabaseName(target.database);
        }
        // Without a timeout a host that accepts but never answers would hang the client.
        if (!target.conninfo.contains(u"connect_timeout") && qEnvironmentVariableIsEmpty("PGCONNECT_TIMEOUT"))
            options << u"connect_timeout=" + QString::number(ConnectTimeoutSeconds);
        // Notices (such as "table does not exist, skipping") are no business of the user's.
        if (!target.conninfo.contains(u"options"))
            options << u"options='-c client_min_messages=warning'"_s;
        db.setConnectOptions(options.join(u' '));
    }

    auto session = std::shared_ptr<Session>(new Session(target, db, name));
    db = QSqlDatabase(); // the session holds the only handle, so it can remove the connection
    if (!session->m_database.open()) {
        const QString why = driverText(session->m_database.lastError());
        session->m_open = false;
        throw AccessError(ErrorNumber::ConnectFailed,
                          u"Keine Verbindung zu " + target.describe() + u": " + why);
    }
    if (target.isSQLite()) {
        // Full sync keeps a committed save across a power failure. (WAL mode is
        // kept in the file itself; the schema sets it, opening writes nothing.)
        session->execDirect(u"PRAGMA synchronous=FULL"_s, {}, u"Öffnen der Datenbank"_s);
        // A batch of the position save touches pages all over the positions'
        // indexes and the history's: with SQLite's default cache of 2 MB it
        // would write them to the log before the commit, and again at it.
        // Changed pages stay in memory until the commit instead; the cache of
        // pages read stays small, so a search of many rows takes no more.
        session->execDirect(u"PRAGMA cache_spill=OFF"_s, {}, u"Öffnen der Datenbank"_s);
    }
    return session;
}

std::shared_ptr<Session> Session::open(const DatabaseTarget &target)
{
    std::shared_ptr<Session> session = openUnchecked(target, false);
    session->checkSchema();
    return session;
}

void Session::checkSchema()
{
    try {
        const int version = schema::usableVersion(*this);
        if (version < schema::CurrentVersion) {
            throw AccessError(ErrorNumber::SchemaVersion,
                              u"Das Schema von " + m_target.describe() + u" hat die Version " + QString::number(version)
                                  + u" und ist älter als dieses Programm (Version "
                                  + QString::number(schema::CurrentVersion)
                                  + u"); tolven-admin upgrade bringt sie auf den neuen Stand.");
        }
    } catch (const AccessError &) {
        close();
        throw;
    }
}

void Session::close()
{
    if (!m_open)
        return;
    if (m_inDbTransaction)
        dbRollback();
    m_transactionLevel = 0;
    m_pending.clear();
    m_pendingKeys.clear();
    m_writerOnServer.reset();
    m_articleCache.clear();
    m_idleStatements.clear();
    m_statements.clear();
    finalizeSqliteWrites();
    m_database.close();
    m_open = false;
}

void Session::ensureOpen() const
{
    if (!m_open)
        throw AccessError(ErrorNumber::NotConnected, u"Keine Verbindung zur Datenbank."_s);
}

Statement &Session::statement(const QString &sql)
{
    ensureOpen();
    flushWrites();
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        it->second.finish();
        return it->second;
    }
    return m_statements.emplace(sql, newStatement(sql)).first->second;
}

QStringList Session::keptStatements() const
{
    QStringList texts;
    for (const auto &[sql, statement] : m_statements)
        texts << sql;
    return texts;
}

Statement Session::newStatement(const QString &sql)
{
    ensureOpen();
    flushWrites();
    Statement statement;
    statement.m_query = QSqlQuery(m_database);
    statement.m_query.setForwardOnly(true);
    statement.m_sql = sql;
    if (!isPostgres()) {
        if (!statement.m_query.prepare(sql))
            fail(statement.m_query.lastError(), u"Vorbereiten einer Abfrage"_s);
        statement.m_prepared = true;
    }
    return statement;
}

Statement Session::takeStatement(const QString &sql)
{
    ensureOpen();
    flushWrites();
    if (auto it = m_idleStatements.find(sql); it != m_idleStatements.end()) {
        Statement statement = std::move(it->second);
        m_idleStatements.erase(it);
        return statement;
    }
    return newStatement(sql);
}

void Session::giveBackStatement(const QString &sql, Statement statement)
{
    // Statements prepared on a connection now closed are of no use; of two
    // result sets of one query, one statement is enough to keep.
    if (!m_open || m_idleStatements.contains(sql))
        return;
    statement.finish();
    m_idleStatements.emplace(sql, std::move(statement));
}

void Session::exec(Statement &statement, const QString &what, const QString &duplicateMessage)
{
    ensureOpen();
    if (statement.m_prepared) {
        countStatement();
        afterExec(statement.m_query, statement.m_query.exec(), what, duplicateMessage);
        return;
    }
    const std::optional<QString> text = SqlWithLiterals(statement.m_sql, statement.m_values);
    statement.m_values.clear();
    if (!text) {
        fail(QSqlError(u"Die Werte passen nicht zur Anweisung (Anzahl, oder ein Text mit dem Zeichen NUL)."_s, {},
                       QSqlError::StatementError),
             what);
    }
    countStatement();
    afterExec(statement.m_query, statement.m_query.exec(*text), what, duplicateMessage);
}

void Session::afterExec(QSqlQuery &query, bool done, const QString &what, const QString &duplicateMessage)
{
    m_lastUse.start();
    // What changes data may change an article held; a failure rolls back.
    if (!done || !query.isSelect())
        m_articleCache.clear();
    if (done)
        return;
    const QSqlError error = query.lastError();
    if (!duplicateMessage.isEmpty() && isUniqueViolation(error)) {
        if (m_inDbTransaction)
            dbRollback();
        m_transactionLevel = 0;
        throw AccessError(ErrorNumber::InvalidValue, duplicateMessage);
    }
    fail(error, what);
}

void Session::execDirect(const QString &sql, const QVariantList &values, const QString &what)
{
    ensureOpen();
    flushWrites();
    if (values.isEmpty()) {
        // PostgreSQL prepares only queries and data changes, not DDL or SET.
        QSqlQuery query(m_database);
        if (!tryExec(query, sql))
            fail(query.lastError(), what);
        return;
    }
    Statement statement = newStatement(sql);
    for (const QVariant &value : values)
        statement.addBindValue(value);
    exec(statement, what);
}

bool Session::tryExec(QSqlQuery &query, const QString &sql)
{
    ensureOpen();
    flushWrites();
    countStatement();
    const bool done = query.exec(sql);
    m_lastUse.start();
    if (!done || !query.isSelect())
        m_articleCache.clear();
    return done;
}

void Session::fail(const QSqlError &error, const QString &what)
{
    const bool hadClientTransaction = m_transactionLevel > 0;
    // A failed statement poisons a PostgreSQL transaction; nothing of it may stay.
    if (m_inDbTransaction)
        dbRollback();
    m_transactionLevel = 0;
    if (!connectionAlive())
        connectionLost(driverText(error));
    QString description = u"Datenbankfehler bei " + what + u": " + driverText(error);
    if (hadClientTransaction)
        description += u" Die offene Transaktion wurde zurückgesetzt.";
    throw AccessError(ErrorNumber::DatabaseError, description);
}

bool Session::isStanding()
{
    if (!m_open)
        return false;
    if (!isPostgres() || (m_lastUse.isValid() && m_lastUse.elapsed() < ProbeAfterIdleMilliseconds))
        return true;
    if (connectionAlive()) {
        m_lastUse.start();
        return true;
    }
    close();
    return false;
}

bool Session::connectionAlive()
{
    if (!m_database.isOpen())
        return false;
    QSqlQuery probe(m_database);
    countStatement();
    return probe.exec(u"SELECT 1"_s) && probe.next();
}

void Session::connectionLost(const QString &detail)
{
    close();
    throw AccessError(ErrorNumber::ConnectionLost,
                      u"Die Verbindung zu " + m_target.describe() + u" ist abgebrochen: " + detail);
}

void Session::dbBegin()
{
    ensureOpen();
    m_articleCache.clear();
    if (isPostgres()) {
        m_inDbTransaction = true;
        m_serverTransaction = beginOnServer();
    } else {
        // A transaction that reads first and writes later would get SQLite's
        // write lock only when it writes, and then fail at once with
        // "database is locked" when another process (a second client on a
        // shared file) has written meanwhile: the busy timeout does not help
        // there. Taking the write lock at the start waits for the other
        // writer instead. Every transaction of the store writes.
        QSqlQuery begin(m_database);
        if (!tryExec(begin, u"BEGIN IMMEDIATE"_s))
            fail(begin.lastError(), u"Beginn einer Transaktion"_s);
    }
    m_inDbTransaction = true;
}

void Session::dbCommit()
{
    writeBackNumbers();
    m_writerNoted = false;
    m_articleCache.clear();
    const std::optional<ServerTransaction> transaction = std::exchange(m_serverTransaction, std::nullopt);
    countStatement();
    if (!m_database.commit()) {
        const QSqlError error = m_database.lastError();
        if (transaction && !connectionAlive()) {
            commitWithoutAnswer(*transaction, driverText(error));
            return; // committed after all; the session is closed
        }
        fail(error, u"Abschluss einer Transaktion"_s);
    }
    m_inDbTransaction = false;
    // Without statistics of a bulk load (a fill, an import), PostgreSQL's
    // planner takes the tables for nearly empty and runs the text filter of
    // the position query as a nested loop over every position, for minutes;
    // autovacuum would catch up only later. What was committed stays
    // committed, so a failing ANALYZE is of no concern to the caller.
    const int inserted = std::exchange(m_rowsInserted, 0);
    if (isPostgres() && inserted >= BulkInsertRows) {
        QSqlQuery analyze(m_database);
        countStatement();
        analyze.exec(u"ANALYZE"_s);
    }
}

Session::ServerTransaction Session::beginOnServer()
{
    // The transaction's number and its server process are needed when the
    // answer to COMMIT is lost. Asked with BEGIN, in the same round trip,
    // they cost none of their own; asked just before COMMIT, they would cost
    // one while the transaction holds the locks of the rows it wrote. Qt's
    // driver takes only the first answer of several statements, so they go
    // straight through the connection, unless a query of Qt's is still
    // reading its rows there.
    const QString what = u"Beginn einer Transaktion"_s;
    PGconn *connection = idleConnection(PQTRANS_IDLE);
    if (!connection) {
        countStatement();
        if (!m_database.transaction())
            fail(m_database.lastError(), what);
        Statement &query = statement(u"SELECT txid_current(), pg_backend_pid()"_s);
        exec(query, what);
        if (!query.next())
            fail(query.lastError(), what);
        const ServerTransaction transaction{.number = query.value(0).toLongLong(), .process = query.value(1).toInt()};
        query.finish();
        return transaction;
    }

    countStatement();
    PGresult *result = PQexec(connection, "BEGIN; SELECT txid_current(), pg_backend_pid()");
    m_lastUse.start();
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) == 1 && PQnfields(result) == 2) {
        const ServerTransaction transaction{.number = QByteArray(PQgetvalue(result, 0, 0)).toLongLong(),
                                            .process = QByteArray(PQgetvalue(result, 0, 1)).toInt()};
        PQclear(result);
        return transaction;
    }
    const QString message = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
    PQclear(result);
    fail(QSqlError(message, message, QSqlError::TransactionError), what);
}

pg_conn *Session::idleConnection(int transactionStatus) const
{
    const QVariant handle = m_database.driver()->handle();
    PGconn *connection = qstrcmp(handle.typeName(), "pg_conn*") == 0 ? *static_cast<PGconn *const *>(handle.data())
                                                                      : nullptr;
    return connection && PQtransactionStatus(connection) == transactionStatus ? connection : nullptr;
}

void Session::commitWithoutAnswer(const ServerTransaction &transaction, const QString &detail)
{
    // The connection broke while COMMIT was under way: it may have reached
    // the server and been carried out, only the answer being lost. Saving
    // again would then store new objects twice, so the outcome is asked for
    // on a connection of its own, as long as the server can be reached
    // within CommitOutcomeWaitMilliseconds. A transaction whose server
    // process still runs (the connection broke on the way, the server has
    // not noticed yet) is ended first, so that it can no longer commit.
    m_inDbTransaction = false;
    m_transactionLevel = 0;
    m_rowsInserted = 0;
    m_numbers.clear();
    close();
    enum class Outcome { Committed, RolledBack, Unknown };
    Outcome outcome = Outcome::Unknown;
    QElapsedTimer waited;
    waited.start();
    while (outcome == Outcome::Unknown && waited.elapsed() < CommitOutcomeWaitMilliseconds) {
        try {
            const std::shared_ptr<Session> check = openUnchecked(m_target, false);
            // Only while that process still serves this transaction: its number may be another's by now.
            QSqlQuery end(check->database());
            end.prepare(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                        u" WHERE pid = ? AND backend_xid::text = ?"_s);
            end.addBindValue(transaction.process);
            end.addBindValue(QString::number(transaction.number % (qint64(1) << 32)));
            QSqlQuery status(check->database());
            status.prepare(u"SELECT txid_status(?)"_s);
            status.addBindValue(transaction.number);
            if (end.exec() && status.exec() && status.next()) {
                const QString text = status.value(0).toString();
                if (text == u"committed")
                    outcome = Outcome::Committed;
                else if (text != u"in progress")
                    outcome = Outcome::RolledBack;
            }
        } catch (const AccessError &) {
            // Not reachable yet: the server may be restarting.
        }
        if (outcome == Outcome::Unknown)
            QThread::msleep(200);
    }
    const QString lost = u"Die Verbindung zu " + m_target.describe()
        + u" ist beim Abschluss einer Transaktion abgebrochen: " + detail;
    switch (outcome) {
    case Outcome::Committed:
        return;
    case Outcome::RolledBack:
        throw AccessError(ErrorNumber::ConnectionLost, lost + u" Die Transaktion wurde nicht gespeichert.");
    case Outcome::Unknown:
        break;
    }
    throw AccessError(ErrorNumber::ConnectionLost,
                      lost + u" Ob die Transaktion gespeichert wurde, war nicht zu erfahren; bitte prüfen Sie die "
                             u"Daten, bevor Sie noch einmal speichern.");
}

void Session::dbRollback() noexcept
{
    m_inDbTransaction = false;
    m_pending.clear();
    m_pendingKeys.clear();
    // A setting made in the transaction is undone with it.
    m_writerOnServer.reset();
    m_writerNoted = false;
    m_serverTransaction.reset();
    m_rowsInserted = 0;
    m_numbers.clear();
    m_articleCache.clear();
    if (m_database.isOpen()) {
        countStatement();
        m_database.rollback();
    }
}

void Session::beginTransaction()
{
    ensureOpen();
    if (m_transactionLevel == 0)
        dbBegin();
    ++m_transactionLevel;
}

void Session::commitTransaction()
{
    ensureOpen();
    if (m_transactionLevel == 0)
        throw AccessError(ErrorNumber::TransactionState, u"TCOMMIT ohne offene Transaktion (TSTART fehlt)."_s);
    // What a held-back write finds leaves the transaction open, for the
    // caller to roll back.
    if (m_transactionLevel == 1)
        flushWrites();
    if (--m_transactionLevel == 0)
        dbCommit();
}

void Session::rollbackTransaction()
{
    ensureOpen();
    if (m_transactionLevel == 0)
        throw AccessError(ErrorNumber::TransactionState, u"TROLLBACK ohne offene Transaktion (TSTART fehlt)."_s);
    m_transactionLevel = 0;
    dbRollback();
}

void Session::noteWriter()
{
    // Never NULL: a write outside any login (tolven-admin) is recorded with no person.
    const QString person = context.person.isNull() ? u""_s : context.person;
    const auto send = [this, &person](const QString &sql) {
        Statement &query = statement(sql);
        query.addBindValue(person);
        exec(query, u"Setzen des Benutzers für den Änderungsverlauf"_s);
        query.finish();
    };
    if (isPostgres()) {
        if (m_writerOnServer == person)
            return;
        send(u"SELECT set_config('tolven.person', ?, false)"_s);
        m_writerOnServer = person;
        return;
    }
    if (m_writerNoted)
        return;
    send(u"UPDATE tolven_writer SET person = ?"_s);
    m_writerNoted = m_inDbTransaction;
}

Session::WriteScope::WriteScope(Session &session)
    : m_session(session)
    , m_own(session.m_transactionLevel == 0)
{
    m_session.m_articleCache.clear();
    if (m_own)
        m_session.dbBegin();
}

Session::WriteScope::~WriteScope()
{
    if (m_own && !m_done && m_session.m_inDbTransaction)
        m_session.dbRollback();
}

void Session::WriteScope::commit()
{
    m_done = true;
    if (m_own)
        m_session.dbCommit();
}

qint64 Session::nextNumber(const QString &className, const QString &firmNumber)
{
    // The first number of a transaction updates the counter row; the further
    // ones are counted here and written back once, just before commit, which
    // spares a large TSTART batch one statement per save.
    if (const std::optional<qint64> held = heldNumber(className, firmNumber))
        return *held;

    Statement &query = statement(
        u"INSERT INTO tolven_counter (class_name, firma, last_value) VALUES (?, ?, 1) "
        u"ON CONFLICT (class_name, firma) DO UPDATE SET last_value = tolven_counter.last_value + 1 "
        u"RETURNING last_value"_s);
    query.addBindValue(className);
    query.addBindValue(firmNumber);
    exec(query, u"Vergabe der nächsten Nummer für " + className);
    if (!query.next())
        fail(query.lastError(), u"Vergabe der nächsten Nummer für " + className);
    const qint64 number = query.value(0).toLongLong();
    query.finish();
    if (m_inDbTransaction)
        m_numbers.emplace(std::pair(className, firmNumber), Numbers{number, number});
    return number;
}

std::optional<qint64> Session::heldNumber(const QString &className, const QString &firmNumber)
{
    if (auto it = m_numbers.find(std::pair(className, firmNumber)); it != m_numbers.end())
        return ++it->second.last;
    return std::nullopt;
}

const QString Session::NumberSequenceRows = u"FROM pg_class c WHERE c.relname = ? AND c.relkind = 'S'"
                                             u" AND c.relnamespace = current_schema()::regnamespace"_s;

QString Session::numberSequence(const QString &table, const QString &firmNumber)
{
    // Table names are the store's own, the firm is digits: a plain name.
    return table + u"_no_" + firmNumber;
}

void Session::createNumberSequence(const QString &className, const QString &table, const QString &firmNumber)
{
    const QString sequence = numberSequence(table, firmNumber);
    const QString what = u"Anlegen der Nummernfolge " + sequence;
    // Whoever made it first holds this lock until their commit, when the
    // sequence becomes visible to the next statement here.
    execDirect(u"SELECT pg_advisory_xact_lock(hashtext(?))"_s, {sequence}, what);
    Statement &found = statement(u"SELECT EXISTS (SELECT 1 " + NumberSequenceRows + u')');
    found.addBindValue(sequence);
    exec(found, what);
    const bool exists = found.next() && found.value(0).toBool();
    found.finish();
    if (exists)
        return;

    Statement &last = statement(u"SELECT GREATEST(COALESCE((SELECT MAX(obj_seq) FROM " + table
                                + u" WHERE firma = ?), 0), COALESCE((SELECT last_value FROM tolven_counter"
                                  u" WHERE class_name = ? AND firma = ?), 0))");
    last.addBindValue(firmNumber);
    last.addBindValue(className);
    last.addBindValue(firmNumber);
    exec(last, what);
    if (!last.next())
        fail(last.lastError(), what);
    const qint64 start = last.value(0).toLongLong() + 1;
    last.finish();
    // Owned by the number column, the sequence goes when its table does.
    execDirect(u"CREATE SEQUENCE " + sequence + u" START WITH " + QString::number(start) + u" OWNED BY " + table
                   + u".obj_seq",
               {}, what);
}

void Session::writeBackNumbers()
{
    // Taken out first: a failed write rolls back, which empties m_numbers.
    const auto given = std::exchange(m_numbers, {});
    for (const auto &[key, numbers] : given) {
        if (numbers.last == numbers.stored)
            continue;
        Statement &query = statement(u"UPDATE tolven_counter SET last_value = ? WHERE class_name = ? AND firma = ?"_s);
        query.addBindValue(numbers.last);
        query.addBindValue(key.first);
        query.addBindValue(key.second);
        exec(query, u"Vergabe der nächsten Nummer für " + key.first);
    }
}

} // namespace store
