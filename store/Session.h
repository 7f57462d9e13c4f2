#pragma once

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QHash>
#include <QSet>

#include "store/ArticleCache.h"
#include "store/ClassDescription.h"
#include "store/DatabaseTarget.h"
#include "store/Statement.h"

class QSqlError;

struct pg_conn;
struct sqlite3_stmt;

namespace store {


// One session with the database: the connection, the firm, branch and person
// set by "S FIRMA=...", the transaction opened by TSTART, what the M routines
// keep between calls, and the articles read for the positions of the last
// query. Server objects and result sets share it, so it lives until the last
// of them is gone; after close() every use fails cleanly.
//
// The articles held answer only what a fresh read would answer: they are
// forgotten on every write and every transaction boundary of the session,
// every statement other than a SELECT, every query executed, every M command
// (among them the change of firm), and when the result set they were read for
// is closed or the connection ends.
class Session
{
public:
    // Opens the database at target and checks its schema; throws AccessError.
    static std::shared_ptr<Session> open(const DatabaseTarget &target);
    // Opens the database without looking at the schema (tolven-admin).
    static std::shared_ptr<Session> openUnchecked(const DatabaseTarget &target, bool createFile);

    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool isOpen() const { return m_open; }
    // Whether the connection still stands. A PostgreSQL connection that has
    // been idle for ProbeAfterIdleMilliseconds or longer is asked first (one
    // short round trip), so that a server restarted meanwhile is noticed
    // before the next call fails with it; when it is gone the session is
    // closed. The calls of one user action follow each other closely and
    // cost no extra round trip.
    bool isStanding();
    static constexpr qint64 ProbeAfterIdleMilliseconds = 1000;
    // How long a commit whose answer was lost waits for the server to say
    // whether it was carried out (a restart takes a few seconds).
    static constexpr qint64 CommitOutcomeWaitMilliseconds = 10000;
    // Rolls back what is open and closes the connection. Never throws.
    void close();

    const DatabaseTarget &target() const { return m_target; }
    bool isPostgres() const { return !m_target.isSQLite(); }
    QSqlDatabase &database() { return m_database; }

    // What the M commands keep between calls: firm, branch and person set by
    // "S FIRMA=...,FIL=...,PERSONAL=..." and readied by "D ^%XTT".
    struct Context
    {
        QString firm;
        QString branch;
        QString person;
        bool prepared = false;
    };
    Context context;
    bool hasContext() const { return !context.firm.isEmpty(); }

    // The article search started by "D GETARF^TVCLSU(...)" and continued page
    // by page by "D GETARN^TVCLSU": its criteria and where the last page ended.
    struct ArticleSearch
    {
        bool running = false;
        QStringList criteria;
        QString lastKey;      // search key and number of the last article answered
        QString lastNumber;
    };
    ArticleSearch articleSearch;

    // The articles read for the positions of the query last executed.
    ArticleCache &articleCache() { return m_articleCache; }

    // The statement for sql, kept for the session's next calls.
    Statement &statement(const QString &sql);
    // The SQL of every statement kept by statement(), to look at their plans.
    QStringList keptStatements() const;
    // A fresh statement for a result set that stays open between calls.
    Statement newStatement(const QString &sql);
    // A statement for a result set: the one kept for sql when no other result
    // set has it, else a fresh one. Given back when the result set is done
    // with it, it is kept for the next result set of sql, so that SQLite does
    // not prepare a search again each time.
    Statement takeStatement(const QString &sql);
    void giveBackStatement(const QString &sql, Statement statement);
    // Runs a statement with the values bound; on failure rolls back the open
    // transaction, notices a lost connection and throws AccessError naming what.
    // A duplicate key is reported as InvalidValue with duplicateMessage when one is given.
    void exec(Statement &statement, const QString &what, const QString &duplicateMessage = {});
    // Prepares, binds and runs sql once; for statements without a result.
    void execDirect(const QString &sql, const QVariantList &values, const QString &what);
    // Turns a failed query into AccessError (after rollback and the connection check).
    [[noreturn]] void fail(const QSqlError &error, const QString &what);
    // Runs sql once, for a caller that handles a failure itself (a table
    // that may be missing); false when it failed.
    bool tryExec(QSqlQuery &query, const QString &sql);
    // Throws unless the session is open.
    void ensureOpen() const;

    // How many statements all sessions of the process have sent to their
    // databases, for the benchmarks.
    static quint64 statementsSent();

    // Transactions. TSTART/TCOMMIT/TROLLBACK of the client nest by count; each
    // store write joins the client's transaction or runs in one of its own.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();
    int transactionLevel() const { return m_transactionLevel; }

    // A write that is one transaction unless the client has one open.
    class WriteScope
    {
    public:
        explicit WriteScope(Session &session);
        ~WriteScope();
        void commit();
        WriteScope(const WriteScope &) = delete;
        WriteScope &operator=(const WriteScope &) = delete;

    private:
        Session &m_session;
        bool m_own;
        bool m_done = false;
    };

    // Before a write of an object: makes the session's person the one the
    // history records for the writes of the open transaction (History.h).
    // On PostgreSQL a setting of the connection, sent when it changes; on
    // SQLite, where one transaction writes at a time, a row of the database
    // written once in each transaction.
    void noteWriter();

    // Writes held back until the transaction's rows go to the database
    // together: a change of an object opened for writing only, and (SQLite)
    // a new object, within a client transaction (TSTART). They are sent, a
    // few statements for many rows, before any other statement of the
    // session, at TCOMMIT, and when an object asks for what they give (its
    // version); a rollback drops them. A write that finds its object changed
    // or gone throws AccessError naming the object (objectId) from there.
    struct WriteOutcome
    {
        bool done = false;
        QString version;
    };
    struct PendingWrite
    {
        const ClassDescription *cls = nullptr;
        bool insert = false;
        QString firm;
        QString key;
        std::optional<qint64> expectedVersion;  // updates
        std::optional<qint64> number;           // inserts: obj_seq
        QStringList columns;                    // assigned, or inserted after firm, key and number
        QVariantList values;
        std::shared_ptr<WriteOutcome> outcome;
    };
    void deferWrite(PendingWrite write);
    void flushWrites();

    // A row was inserted; a transaction that inserts BulkInsertRows or more
    // has PostgreSQL's statistics brought up to date when it commits.
    static constexpr int BulkInsertRows = 500;
    void rowInserted() { ++m_rowsInserted; }

    // SQLite: the next running number of a class within a firm, from the
    // class's counter row, which a rolled-back transaction gives back.
    qint64 nextNumber(const QString &className, const QString &firmNumber);
    // PostgreSQL: the name of the sequence giving the running numbers of a
    // class's table within a firm, and making it, under a lock of its own,
    // unless another session made it first. It goes on from the class's
    // counter row and from the numbers the table holds.
    static QString numberSequence(const QString &table, const QString &firmNumber);
    // The rows of pg_class (as c) of the sequence named by the one parameter:
    // read from the catalogue itself, it sees a sequence another session has
    // just committed, which a lookup through the server's caches (to_regclass)
    // might not within a transaction that looked for it before.
    static const QString NumberSequenceRows;
    void createNumberSequence(const QString &className, const QString &table, const QString &firmNumber);

private:
    Session(const DatabaseTarget &target, QSqlDatabase database, QString connectionName);
    void checkSchema();
    void connectionLost(const QString &detail);
    bool connectionAlive();
    static void countStatement();
    // After a statement ran: what it may have changed forgotten, a failure thrown.
    void afterExec(QSqlQuery &query, bool done, const QString &what, const QString &duplicateMessage);
    void dbBegin();
    void dbCommit();
    void dbRollback() noexcept;
    // PostgreSQL's number of the open transaction and the server process serving it.
    struct ServerTransaction
    {
        qint64 number;
        int process;
    };
    // Sends BEGIN; the new transaction's number and server process.
    ServerTransaction beginOnServer();
    // PostgreSQL: libpq's connection under Qt's driver when it is in the
    // given transaction state (PGTransactionStatusType), so free for a
    // statement of the store's own; none else.
    pg_conn *idleConnection(int transactionStatus) const;
    // Sends a statement of held-back writes; the key and new version of each
    // row it wrote.
    QHash<QString, QString> sendWrites(const QString &sql, const QVariantList &values, const QString &what);
    // SQLite: the held-back writes' statement for sql, prepared by SQLite
    // itself once for the session; none when the driver gives no handle.
    sqlite3_stmt *sqliteWriteStatement(const QString &sql, const QString &what);
    // Before the connection closes, which SQLite refuses while any is left.
    void finalizeSqliteWrites() noexcept;
    // After COMMIT failed with the connection: closes the session, returns
    // when the transaction was committed all the same, throws AccessError
    // (ConnectionLost) when it was not or when that cannot be learned.
    void commitWithoutAnswer(const ServerTransaction &transaction, const QString &detail);
    // The next running number when the open transaction has taken one of the
    // class and firm before (it holds the counter row, written back at
    // commit); none when the counter row must be taken.
    std::optional<qint64> heldNumber(const QString &className, const QString &firmNumber);
    void writeBackNumbers();

    DatabaseTarget m_target;
    QSqlDatabase m_database;
    QString m_connectionName;
    // Node-based, so a statement handed out stays put while others are added.
    std::unordered_map<QString, Statement> m_statements;
    // The result sets' statements not in use.
    std::unordered_map<QString, Statement> m_idleStatements;
    bool m_open = true;
    int m_transactionLevel = 0;  // TSTART count
    bool m_inDbTransaction = false;
    int m_rowsInserted = 0;  // in the open database transaction
    // Running numbers given in the open database transaction, by class and firm.
    struct Numbers
    {
        qint64 stored;  // in the counter row
        qint64 last;    // given out
    };
    std::map<std::pair<QString, QString>, Numbers> m_numbers;
    ArticleCache m_articleCache;
    std::unordered_map<QString, sqlite3_stmt *> m_sqliteWrites;
    std::vector<PendingWrite> m_pending;
    QSet<QString> m_pendingKeys;  // table, firm and key of each pending write
    bool m_flushing = false;
    std::optional<QString> m_writerOnServer;  // PostgreSQL: the person the connection's setting holds
    bool m_writerNoted = false;               // SQLite: in the open transaction
    QElapsedTimer m_lastUse;  // since the last statement sent
    std::optional<ServerTransaction> m_serverTransaction; // of the open PostgreSQL transaction
};

} // namespace store
