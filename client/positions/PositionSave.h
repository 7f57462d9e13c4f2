#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>

#include "objectapi/AccessError.h"
#include "positions/PackedRow.h"

namespace tolven {

class PositionModel;
class ServerObject;

// The properties a position is stored with, in the order they are set, each
// in server form (dates yyyy-mm-dd, numbers with "." as decimal point), the
// change date being today. The own text and price of a collective article
// are stored, of any other article an empty text and no price. The end date
// of a price type in endDateTypes is stored as it is, an empty one too; of
// another price type the grid shows none, so an empty one is not sent and
// the stored one stays.
QList<std::pair<QString, QString>> PositionProperties(const PackedRow &row, const QDate &today,
                                                      const QSet<QString> &endDateTypes = {});

// Stores the main window's work on the server: first the positions deleted
// in the grid, then every row marked for saving (an empty change date), new
// rows as new objects. A stored row gets its id and today's date, and a
// deleted id leaves the list, as soon as the server has committed it, so
// that after an error or a stop the next save takes up exactly what is left.
//
// Rows go to the server in transactions of many rows: a commit costs a disk
// sync, and one per row would make saving thousands of rows take minutes.
// When a transaction fails, its rows are stored one by one again, so every
// row before the failing one is stored and the failing one is the one
// reported.
class PositionSaver
{
public:
    // Rows done of rows to do (deletions included); false stops the save
    // after the rows done so far.
    using Progress = std::function<bool(int done, int total)>;

    // A row read from the server is written, and a deletion made, only as
    // long as the stored position is still the version the row was read as.
    // When another user changed or deleted it meanwhile, the save stops
    // before that row (the rows before it stored) and asks what to do.
    struct Conflict
    {
        QString id;
        int row = -1;          // the grid row stored; -1 for a deletion
        bool gone = false;     // the position no longer exists (else: changed)
    };
    enum class Answer {
        Reload,     // the caller has put what is stored into the row (or given up the deletion); go on
        Overwrite,  // write the row (a gone position anew) or delete all the same; go on
        Cancel,     // store nothing more
    };
    using ConflictHandler = std::function<Answer(const Conflict &conflict)>;

    PositionSaver(PositionModel &positions, QStringList &deletions, QString firm, QDate today,
                  Progress progress = {});

    // True when everything was deleted and stored. A server error is
    // reported and ends the save; a stop ends it without a message.
    bool run();
    // The price types whose positions carry an end date (PositionProperties).
    void setEndDateTypes(QSet<QString> codes) { m_endDateTypes = std::move(codes); }
    // The row versions of the deleted positions, by id (none: deleted whatever is stored).
    void setDeletionVersions(QHash<QString, qint64> versions) { m_deletionVersions = std::move(versions); }
    // Without a handler a conflict is reported like any other error.
    void setConflictHandler(ConflictHandler handler) { m_conflicts = std::move(handler); }

    // The most rows in one transaction, and the longest a transaction is
    // kept open before it is committed (so that progress and a stop come
    // through).
    static constexpr int BatchRows = 1000;
    static constexpr int BatchMilliseconds = 200;

private:
    struct Step
    {
        QString operation;
        std::function<void(int item)> apply;     // sends one item; throws AccessError
        std::function<void(const QList<int> &items)> committed; // after their transaction committed
        std::function<Conflict(int item, bool gone)> conflict;   // the conflict an item ran into
        std::function<void(int item)> skipped;   // the item was answered by reading it again
    };
    // Runs step over items in transactions; false after an error or a stop.
    bool runBatched(const QList<int> &items, const Step &step);
    // After item ran into a conflict (the transaction is rolled back): the
    // items before it in its batch are stored again, then the user is asked;
    // the answer, Cancel also when storing those failed.
    Answer resolveConflict(const QList<int> &before, int item, const AccessError &error, const Step &step);
    void report();

    // Sends the row; the object, to be asked for its id and version once committed.
    std::unique_ptr<ServerObject> storeRow(int row);
    void deleteId(const QString &id);

    PositionModel &m_positions;
    QStringList &m_deletions;
    QString m_firm;
    QDate m_today;
    Progress m_progress;
    QSet<QString> m_endDateTypes;
    QHash<QString, qint64> m_deletionVersions;
    ConflictHandler m_conflicts;
    QSet<QString> m_overwriteIds;  // deletions made whatever is stored
    QSet<int> m_overwriteRows;     // rows written whatever is stored
    QSet<int> m_recreateRows;      // rows whose position is gone and is stored anew
    int m_done = 0;
    int m_total = 0;
    bool m_stopped = false;
};

} // namespace tolven
