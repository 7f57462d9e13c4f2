#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

#include "positions/PackedRow.h"

namespace tolven {

class PositionModel;

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

    PositionSaver(PositionModel &positions, QStringList &deletions, QString firm, QDate today,
                  Progress progress = {});

    // True when everything was deleted and stored. A server error is
    // reported and ends the save; a stop ends it without a message.
    bool run();
    // The price types whose positions carry an end date (PositionProperties).
    void setEndDateTypes(QSet<QString> codes) { m_endDateTypes = std::move(codes); }

    // The most rows in one transaction, and the longest a transaction is
    // kept open before it is committed (so that progress and a stop come
    // through).
    static constexpr int BatchRows = 250;
    static constexpr int BatchMilliseconds = 200;

private:
    struct Step
    {
        QString operation;
        std::function<void(int item)> apply;     // sends one item; throws AccessError
        std::function<void(const QList<int> &items)> committed; // after their transaction committed
    };
    // Runs step over items in transactions; false after an error or a stop.
    bool runBatched(const QList<int> &items, const Step &step);
    void report();

    QString storeRow(int row);
    void deleteId(const QString &id);

    PositionModel &m_positions;
    QStringList &m_deletions;
    QString m_firm;
    QDate m_today;
    Progress m_progress;
    QSet<QString> m_endDateTypes;
    int m_done = 0;
    int m_total = 0;
    bool m_stopped = false;
};

} // namespace tolven
