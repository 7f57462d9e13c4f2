// Prints what many users at once get from PostgreSQL: N sessions, each with
// a connection of its own (its own StoreFactory in a thread of its own, as
// every client has its own), each doing M operations of the main window
// through the object interface, one after the other without a pause:
//   - the search by article ("Konkur" with the article filter, every row
//     read, then ArtikelDaten per row, as the main window's search does),
//   - a position read by its id (openById, every property read),
//   - a changed position saved (TSTART, openById, the properties the main
//     window sets, sys_save, TCOMMIT, as its "Speichern" does),
//   - a new position saved (TSTART, createNew, ..., sys_save, TCOMMIT),
//   - a position deleted (TSTART, openById, sys_deleteid, TCOMMIT).
//   - a shared position changed: read by its id as a search shows it, then
//     written (TSTART, openForWrite, the version read expected, the
//     properties, sys_save, TCOMMIT) as "Speichern" does, so that a write
//     over another session's since the read is refused (and counted).
// Reads go over all positions of the firm; each session changes and deletes
// only positions of its own (those it was dealt at the start and those it
// made), besides the SharedPositions that all sessions change.
//
// After each run the positions of the database are compared with those
// before it and with what was acknowledged; the shared positions with their
// history: each acknowledged write of one must be there as the write that
// made the version after the one its session read (else it went silently
// over another's), and nothing else (a write counts once its TCOMMIT
// came back): an acknowledged write that is not in the database exactly is
// lost; a position that differs from before without an acknowledged write
// (new, changed or gone) is a phantom. Printed: the throughput, per operation
// count, p50, p99 and maximum latency, the lost and phantom writes, and how
// busy the machine was. Exit code 1 when a write was lost or a phantom found
// or an operation failed.
//
//   bench_load [--sessions 10,50] [--operations 1000] [--articles 5000]
//              [--positions 100000] HOST:PORT
//
// The database "tolven" at HOST:PORT gets its TOLVEN tables recreated and
// filled with the demo firm of the given size.

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <latch>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "BenchMain.h"
#include "objectapi/AccessError.h"
#include "objectapi/MLiteral.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"
#include "store/ClassRegistry.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;

namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QString PositionClass = u"Konkur.Konkur"_s;
const QString Firm = u"1"_s;
const QChar FieldSeparator = u'\x1f';

enum Operation { Search, Fetch, Change, Shared, Create, Delete, OperationCount };

// The positions every session changes, the first of the firm's.
constexpr int SharedPositions = 100;

struct OperationKind
{
    QString name;
    int weight;  // of 100
};

const std::array<OperationKind, OperationCount> Operations{{
    {u"Suche nach Artikel"_s, 35},
    {u"Position lesen (Id)"_s, 25},
    {u"Position ändern"_s, 15},
    {u"gemeinsame ändern"_s, 10},
    {u"Position neu"_s, 10},
    {u"Position löschen"_s, 5},
}};

struct Options
{
    QList<int> sessions{10, 50};
    int operations = 1000;
    store::DemoSize size{5000, 100000};
    QString postgres;  // HOST:PORT
};

std::optional<Options> parseOptions(const QStringList &arguments, QString &error)
{
    Options options;
    auto number = [&error](const QString &text, int &value) { return PositiveNumber(text, value, error); };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument.startsWith(u"--") && i + 1 == arguments.size()) {
            error = argument + u" braucht einen Wert";
            return std::nullopt;
        }
        if (argument == u"--sessions") {
            if (!PositiveNumbers(arguments[++i], options.sessions, error))
                return std::nullopt;
        } else if (argument == u"--operations") {
            if (!number(arguments[++i], options.operations))
                return std::nullopt;
        } else if (argument == u"--articles") {
            if (!number(arguments[++i], options.size.articles))
                return std::nullopt;
        } else if (argument == u"--positions") {
            if (!number(arguments[++i], options.size.positions))
                return std::nullopt;
        } else if (argument.startsWith(u"--") || !options.postgres.isEmpty()) {
            error = u"unbekanntes Argument "_s + argument;
            return std::nullopt;
        } else {
            options.postgres = argument;
        }
    }
    if (options.postgres.isEmpty()) {
        error = u"PostgreSQL als HOST:PORT fehlt"_s;
        return std::nullopt;
    }
    if (const QString why = store::DemoSizeError(options.size); !why.isEmpty()) {
        error = why;
        return std::nullopt;
    }
    return options;
}

// --- The positions as stored -------------------------------------------------

// The property values of a position, in the order of the class's properties
// (without firm and number).
using Values = QStringList;

struct StoredRow
{
    QString properties;  // the values joined by FieldSeparator
    QByteArray whole;    // a hash of every column, derived ones included
};

// Every position of every firm, by id.
using Snapshot = QHash<QString, StoredRow>;

const store::ClassDescription &positionClass()
{
    return *store::FindClass(PositionClass);
}

QStringList propertyNames()
{
    QStringList names;
    for (const store::PropertyDescription &property : positionClass().properties) {
        if (!property.isIdPart())
            names << property.name;
    }
    return names;
}

Snapshot readPositions(const store::DatabaseTarget &target)
{
    const store::ClassDescription &cls = positionClass();
    auto session = store::Session::open(target);
    store::Statement query = session->newStatement(u"SELECT * FROM " + cls.table);
    session->exec(query, u"Lesen aller Positionen"_s);
    const QSqlRecord record = query.record();
    QList<int> propertyColumns;
    for (const QString &column : cls.propertyColumns())
        propertyColumns << record.indexOf(column);
    const int firmColumn = record.indexOf(u"firma"_s);
    const int keyColumn = record.indexOf(u"obj_key"_s);
    Snapshot positions;
    QStringList values;
    while (query.next()) {
        values.clear();
        for (const int column : std::as_const(propertyColumns))
            values << query.value(column).toString();
        QCryptographicHash whole(QCryptographicHash::Sha1);
        for (int column = 0; column < record.count(); ++column) {
            const QVariant value = query.value(column);
            whole.addData(value.isNull() ? QByteArray("\x1e") : value.toString().toUtf8());
            whole.addData(QByteArray("\x1f"));
        }
        positions.insert(query.value(firmColumn).toString() + u"||" + query.value(keyColumn).toString(),
                         {values.join(FieldSeparator), whole.result()});
    }
    return positions;
}

// --- One session ---------------------------------------------------------------

// What every session reads and nobody writes while they run.
struct SharedData
{
    store::DatabaseTarget target;
    QStringList names;      // the position's properties
    const Snapshot *before;
    QStringList firmIds;    // firm 1's positions at the start
    QStringList sharedIds;  // the positions every session changes
    QString run;            // the start of the notes of this run's shared writes
    QStringList articles;   // the articles they name
    int operations;
    QString today;
};

struct SessionResult
{
    std::array<std::vector<double>, OperationCount> milliseconds;
    QHash<QString, Values> written;  // acknowledged new and changed positions
    QSet<QString> deleted;           // acknowledged deletions
    int acknowledged = 0;            // writes whose TCOMMIT came back
    int errors = 0;
    QString firstError;
    int goneWhenRead = 0;     // read by id after its owner deleted it
    int ownReadsWrong = 0;    // an own position read back otherwise than last acknowledged
    qint64 rowsSearched = 0;
    // Acknowledged writes of shared positions: "id|version made|note", and
    // the writes refused because another session had written since the read.
    QStringList sharedWrites;
    int sharedRefused = 0;
};

class LoadSession
{
public:
    LoadSession(const SharedData &shared, int number, QStringList owned, SessionResult &result)
        : m_shared(shared)
        , m_number(number)
        , m_owned(std::move(owned))
        , m_random(quint32(7919 * number + 1))
        , m_result(result)
    {
        for (qsizetype i = 0; i < m_shared.names.size(); ++i)
            m_index.insert(m_shared.names[i], int(i));
    }

    // Connects and logs in as the client does; false when that failed.
    bool connect()
    {
        try {
            m_factory.connectTo(m_shared.target);
            auto person = m_factory.openById(u"TV.ParPersEdv"_s, Firm + u"||MUELLER");
            person->property(u"Passwort"_s);
            person->sys_Close();
            xecute(u"S FIRMA=" + Firm + u",FIL=0,PERSONAL=" + tolven::MQuote(u"MUELLER"_s));
            return true;
        } catch (const AccessError &error) {
            failed(error);
            return false;
        }
    }

    void run()
    {
        for (int done = 0; done < m_shared.operations; ++done) {
            const Operation operation = choose();
            QElapsedTimer timer;
            timer.start();
            try {
                switch (operation) {
                case Search:
                    search();
                    break;
                case Fetch:
                    fetch();
                    break;
                case Change:
                    change();
                    break;
                case Shared:
                    changeShared();
                    break;
                case Create:
                    create();
                    break;
                case Delete:
                    remove();
                    break;
                case OperationCount:
                    break;
                }
                m_result.milliseconds[operation].push_back(double(timer.nsecsElapsed()) / 1e6);
            } catch (const AccessError &error) {
                failed(error);
                rollBack();
            }
        }
        m_factory.disconnect();
    }

private:
    Operation choose()
    {
        int pick = int(m_random.bounded(100));
        for (int operation = 0; operation < OperationCount; ++operation) {
            pick -= Operations[operation].weight;
            if (pick < 0) {
                // Nothing of its own left to change or delete: a new one instead.
                if ((operation == Change || operation == Delete) && m_owned.isEmpty())
                    return Create;
                return Operation(operation);
            }
        }
        return Search;
    }

    template<typename T>
    const T &any(const QList<T> &list)
    {
        return list.at(qsizetype(m_random.bounded(quint32(list.size()))));
    }

    QString xecute(const QString &command)
    {
        auto windows = m_factory.classObject(u"TV.Windows"_s);
        const QString answer = windows->callMethod(u"Xecute"_s, {command});
        windows->sys_Close();
        return answer;
    }

    void failed(const AccessError &error)
    {
        if (m_result.errors++ == 0)
            m_result.firstError = u"Sitzung " + QString::number(m_number) + u": Fehler " + QString::number(error.code())
                + u": " + error.description();
    }

    // As the client after a failed call inside TSTART; a lost connection is
    // made again, as its next call would.
    void rollBack()
    {
        try {
            if (m_factory.isConnected())
                xecute(u"TROLLBACK"_s);
            else
                connect();
        } catch (const AccessError &) {
            // The transaction has gone with the connection.
        }
    }

    QString &value(Values &values, const QString &name) { return values[m_index.value(name)]; }

    Values read(tolven::ServerObject &position) const
    {
        Values values;
        for (const QString &name : m_shared.names)
            values << position.property(name);
        return values;
    }

    // What the main window sets on a position it saves (PositionProperties).
    void setAsClient(tolven::ServerObject &position, Values &values)
    {
        static const QStringList Always{u"konkur"_s, u"Artnr"_s, u"ArtBez"_s, u"Preistyp"_s, u"DatumAb"_s};
        static const QStringList Then{u"MengeAb"_s, u"VKE"_s, u"PreisExcl"_s, u"PreisKalk"_s, u"VRE"_s,
                                      u"notiz"_s, u"ZAnr"_s, u"AendDatum"_s};
        for (const QString &name : Always)
            position.setProperty(name, value(values, name));
        if (!value(values, u"DatumBis"_s).isEmpty())
            position.setProperty(u"DatumBis"_s, value(values, u"DatumBis"_s));
        for (const QString &name : Then)
            position.setProperty(name, value(values, name));
        if (!value(values, u"IntPreis"_s).isEmpty())
            position.setProperty(u"IntPreis"_s, value(values, u"IntPreis"_s));
    }

    QString price()
    {
        const quint32 cents = 100 + m_random.bounded(99900u);
        return QString::number(cents / 100) + u'.' + QString::number(cents % 100).rightJustified(2, u'0');
    }

    // A new price and note, changed today: what a user types into a row.
    void edit(Values &values, const QString &note)
    {
        value(values, u"PreisExcl"_s) = price();
        value(values, u"PreisKalk"_s) = price();
        value(values, u"notiz"_s) = note;
        value(values, u"AendDatum"_s) = m_shared.today;
    }

    // What this session last acknowledged for one of its positions.
    std::optional<QString> expectedOwn(const QString &id) const
    {
        if (m_result.deleted.contains(id))
            return std::nullopt;
        if (const auto written = m_result.written.constFind(id); written != m_result.written.cend())
            return written->join(FieldSeparator);
        return m_shared.before->value(id).properties;
    }

    void search()
    {
        const QString article = any(m_shared.articles);
        auto positions = m_factory.classObject(PositionClass);
        auto result = m_factory.openQuery(PositionClass, u"Konkur"_s);
        result->execute({Firm, {}, article, {}, {}});
        QStringList articles;
        while (result->next()) {
            for (int column = 1; column <= result->columnCount(); ++column)
                result->getColumn(column);
            articles << result->getColumn(4);
        }
        for (const QString &number : std::as_const(articles))
            positions->callMethod(u"ArtikelDaten"_s, {Firm, number});
        result->close();
        positions->sys_Close();
        m_result.rowsSearched += articles.size();
    }

    void fetch()
    {
        const QString id = any(m_shared.firmIds);
        const bool own = m_ownedSet.contains(id) || m_result.deleted.contains(id);
        std::unique_ptr<tolven::ServerObject> position;
        try {
            position = m_factory.openById(PositionClass, id);
        } catch (const AccessError &error) {
            if (error.number() != tolven::ErrorNumber::ObjectNotFound)
                throw;
            if (own && expectedOwn(id))
                ++m_result.ownReadsWrong;
            ++m_result.goneWhenRead;
            return;
        }
        const Values values = read(*position);
        position->sys_Close();
        if (own && expectedOwn(id) != values.join(FieldSeparator))
            ++m_result.ownReadsWrong;
    }

    void change()
    {
        const QString id = any(m_owned);
        xecute(u"TSTART"_s);
        auto position = m_factory.openById(PositionClass, id);
        Values values = read(*position);
        if (expectedOwn(id) != values.join(FieldSeparator))
            ++m_result.ownReadsWrong;
        edit(values, u"Lastlauf: Sitzung " + QString::number(m_number) + u" ändert");
        setAsClient(*position, values);
        position->sys_save();
        position->sys_ID();
        position->sys_Close();
        xecute(u"TCOMMIT"_s);
        ++m_result.acknowledged;
        m_result.written.insert(id, values);
    }

    void changeShared()
    {
        const QString id = any(m_shared.sharedIds);
        auto read = m_factory.openById(PositionClass, id);
        Values values = this->read(*read);
        const QString version = read->sys_Version();
        read->sys_Close();
        // The note tells each write apart in the history, whatever the prices.
        edit(values, m_shared.run + QString::number(m_number) + u", gemeinsam Nr. " + QString::number(++m_sharedWrites));
        xecute(u"TSTART"_s);
        auto position = m_factory.openForWrite(PositionClass, id);
        position->sys_ExpectVersion(version);
        setAsClient(*position, values);
        position->sys_save();
        try {
            xecute(u"TCOMMIT"_s);
        } catch (const AccessError &error) {
            if (error.number() != tolven::ErrorNumber::Conflict && error.number() != tolven::ErrorNumber::ObjectNotFound)
                throw;
            xecute(u"TROLLBACK"_s);
            ++m_result.sharedRefused;
            return;
        }
        ++m_result.acknowledged;
        m_result.sharedWrites << id + u'|' + position->sys_Version() + u'|' + value(values, u"notiz"_s);
        if (position->sys_Version().toLongLong() != version.toLongLong() + 1)
            m_result.sharedWrites.last() += u" (über Version " + version + u')';
    }

    void create()
    {
        // A copy of a position of the firm ("Kopie Anfügen"), starting today.
        Values values = m_shared.before->value(any(m_shared.firmIds)).properties.split(FieldSeparator);
        value(values, u"DatumAb"_s) = m_shared.today;
        value(values, u"DatumBis"_s).clear();
        value(values, u"MengeAb"_s) = QString::number(1 + m_random.bounded(500));
        edit(values, u"Lastlauf: Sitzung " + QString::number(m_number) + u" neu");
        xecute(u"TSTART"_s);
        auto position = m_factory.createNew(PositionClass);
        position->setProperty(u"Firma"_s, Firm);
        setAsClient(*position, values);
        position->sys_save();
        const QString id = position->sys_ID();
        position->sys_Close();
        xecute(u"TCOMMIT"_s);
        ++m_result.acknowledged;
        m_result.written.insert(id, values);
        m_owned << id;
        m_ownedSet.insert(id);
    }

    void remove()
    {
        const qsizetype at = qsizetype(m_random.bounded(quint32(m_owned.size())));
        const QString id = m_owned.at(at);
        xecute(u"TSTART"_s);
        auto position = m_factory.openById(PositionClass, id);
        position->sys_deleteid(id);
        position->sys_Close();
        xecute(u"TCOMMIT"_s);
        ++m_result.acknowledged;
        m_owned.swapItemsAt(at, m_owned.size() - 1);
        m_owned.removeLast();
        m_ownedSet.remove(id);
        m_result.written.remove(id);
        m_result.deleted.insert(id);
    }

    const SharedData &m_shared;
    const int m_number;
    QStringList m_owned;
    QSet<QString> m_ownedSet{m_owned.cbegin(), m_owned.cend()};
    QHash<QString, int> m_index;
    QRandomGenerator m_random;
    int m_sharedWrites = 0;
    SessionResult &m_result;
    store::StoreFactory m_factory;
};

// --- How busy the machine is -------------------------------------------------

struct CpuTimes
{
    quint64 busy = 0;  // all processors, clock ticks
    quint64 total = 0;
    quint64 own = 0;   // this process
};

CpuTimes cpuTimes()
{
    CpuTimes times;
    QFile stat(u"/proc/stat"_s);
    if (stat.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
        for (qsizetype i = 1; i < fields.size(); ++i) {
            const quint64 ticks = fields[i].toULongLong();
            times.total += ticks;
            if (i != 4 && i != 5)  // idle, iowait
                times.busy += ticks;
        }
    }
    QFile self(u"/proc/self/stat"_s);
    if (self.open(QIODevice::ReadOnly)) {
        // After the command name in brackets: state is field 3, utime and stime 14 and 15.
        const QByteArray line = self.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).simplified().split(' ');
        if (fields.size() > 12)
            times.own = fields[11].toULongLong() + fields[12].toULongLong();
    }
    return times;
}

QString loadAverage()
{
    QFile file(u"/proc/loadavg"_s);
    if (!file.open(QIODevice::ReadOnly))
        return u"?"_s;
    return German.toString(file.readLine().split(' ').value(0).toDouble(), 'f', 1);
}

// --- Where the sessions wait ----------------------------------------------------

// Samples pg_stat_activity from a connection of its own while the sessions
// run: how many of them the database finds at work, waiting for a lock, or
// waiting for the program (between two statements, in a transaction or not).
class WaitSampler
{
public:
    explicit WaitSampler(const store::DatabaseTarget &target)
        : m_thread([this, target] { sample(target); })
    {
    }

    ~WaitSampler() { stop(); }

    void stop()
    {
        m_stop.store(true);
        if (m_thread.joinable())
            m_thread.join();
    }

    // The mean number of sessions in each state, largest first.
    QList<std::pair<QString, double>> means() const
    {
        QList<std::pair<QString, double>> result;
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            result.append({it.key(), m_samples ? double(it.value()) / m_samples : 0.0});
        std::sort(result.begin(), result.end(), [](const auto &a, const auto &b) { return a.second > b.second; });
        return result;
    }

private:
    void sample(const store::DatabaseTarget &target)
    {
        try {
            auto session = store::Session::open(target);
            store::Statement &query = session->statement(
                u"SELECT state, wait_event_type, wait_event FROM pg_stat_activity"
                u" WHERE datname = current_database() AND pid <> pg_backend_pid()"
                u" AND backend_type = 'client backend'"_s);
            while (!m_stop.load()) {
                session->exec(query, u"Stichprobe der Sitzungen"_s);
                while (query.next()) {
                    const QString state = query.value(0).toString();
                    QString key;
                    if (state == u"active")
                        key = query.value(1).isNull() ? u"in Arbeit in der Datenbank"_s
                                                      : u"wartet auf " + query.value(1).toString() + u':'
                                                            + query.value(2).toString();
                    else if (state == u"idle in transaction")
                        key = u"Transaktion offen, wartet auf das Programm"_s;
                    else
                        key = u"wartet auf das Programm"_s;
                    ++m_counts[key];
                }
                ++m_samples;
                std::this_thread::sleep_for(std::chrono::milliseconds(SampleMilliseconds));
            }
        } catch (const AccessError &) {
            // Without the samples the figures stand all the same.
        }
    }

    static constexpr int SampleMilliseconds = 50;
    std::atomic<bool> m_stop{false};
    QHash<QString, qint64> m_counts;
    qint64 m_samples = 0;
    std::thread m_thread;
};

// --- The run -------------------------------------------------------------------

QString milliseconds(double value)
{
    return German.toString(value, 'f', value < 10 ? 2 : 1);
}

// The value below which share of the sorted values lie (nearest rank).
double percentile(const std::vector<double> &sorted, double share)
{
    if (sorted.empty())
        return 0;
    const auto rank = qsizetype(std::ceil(share * double(sorted.size())));
    return sorted[size_t(std::clamp<qsizetype>(rank, 1, qsizetype(sorted.size())) - 1)];
}

void printLatencies(QTextStream &out, const QString &label, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    out << "  " << label.leftJustified(24) << German.toString(qint64(values.size())).rightJustified(9)
        << milliseconds(percentile(values, 0.50)).rightJustified(9)
        << milliseconds(percentile(values, 0.99)).rightJustified(9)
        << milliseconds(values.empty() ? 0 : values.back()).rightJustified(9) << "\n";
}

struct Check
{
    int positions = 0;  // written by a session
    int lost = 0;
    int phantom = 0;
    int silent = 0;     // a write of a shared position over one its session had not read
    QStringList examples;
};

// The writes of shared positions the history holds: "id|version|note" of
// each change of the note.
QStringList sharedHistory(const store::DatabaseTarget &target, const QStringList &ids, const QString &run)
{
    QStringList writes;
    store::StoreFactory factory;
    factory.connectTo(target);
    for (const QString &id : ids) {
        auto result = factory.openQuery(u"Konkur.Verlauf"_s, u"Objekt"_s);
        result->execute({PositionClass, id});
        while (result->next()) {
            if (result->getColumn(7) == u"A" && result->getColumn(8) == u"notiz"
                && result->getColumn(10).startsWith(run))
                writes << id + u'|' + result->getColumn(6) + u'|' + result->getColumn(10);
        }
        result->close();
    }
    return writes;
}

// Compares the positions after the run with those before and what the
// sessions acknowledged.
Check compare(const Snapshot &before, const Snapshot &after, const std::vector<SessionResult> &results,
              const QStringList &sharedIds, const QStringList &history)
{
    Check check;
    QSet<QString> touched(sharedIds.cbegin(), sharedIds.cend());
    // Each acknowledged write of a shared position made the version after the
    // one read, and is in the history as that; the history has no other.
    QSet<QString> recorded(history.cbegin(), history.cend());
    QSet<QString> acknowledged;
    for (const SessionResult &result : results) {
        for (const QString &write : result.sharedWrites) {
            acknowledged.insert(write);
            if (write.contains(u" (über Version ")) {
                ++check.silent;
                if (check.examples.size() < 5)
                    check.examples << u"unbemerkt überschrieben: " + write;
            } else if (!recorded.contains(write)) {
                ++check.lost;
                if (check.examples.size() < 5)
                    check.examples << u"verloren: " + write;
            }
        }
    }
    for (const QString &write : history) {
        if (!acknowledged.contains(write)) {
            ++check.phantom;
            if (check.examples.size() < 5)
                check.examples << u"Phantom: " + write;
        }
    }
    auto example = [&check](const QString &text) {
        if (check.examples.size() < 5)
            check.examples << text;
    };
    for (const SessionResult &result : results) {
        for (auto written = result.written.cbegin(); written != result.written.cend(); ++written) {
            touched.insert(written.key());
            const auto stored = after.constFind(written.key());
            if (stored == after.cend() || stored->properties != written->join(FieldSeparator)) {
                ++check.lost;
                const QString found = stored == after.cend()
                    ? u" fehlt"_s
                    : u" ist " + QString(stored->properties).replace(FieldSeparator, u'|');
                example(u"verloren: " + written.key() + found);
            }
        }
        for (const QString &id : result.deleted) {
            touched.insert(id);
            if (after.contains(id)) {
                ++check.lost;
                example(u"verloren: Löschen von " + id);
            }
        }
    }
    check.positions = int(touched.size());
    for (auto stored = after.cbegin(); stored != after.cend(); ++stored) {
        if (touched.contains(stored.key()))
            continue;
        const auto old = before.constFind(stored.key());
        if (old == before.cend() || old->whole != stored->whole) {
            ++check.phantom;
            example(u"Phantom: " + stored.key() + (old == before.cend() ? u" neu"_s : u" geändert"_s));
        }
    }
    for (auto old = before.cbegin(); old != before.cend(); ++old) {
        if (!touched.contains(old.key()) && !after.contains(old.key())) {
            ++check.phantom;
            example(u"Phantom: " + old.key() + u" verschwunden");
        }
    }
    return check;
}

bool runSessions(const Options &options, const store::DatabaseTarget &target, int sessions, QTextStream &out)
{
    const Snapshot before = readPositions(target);
    SharedData shared{.target = target,
                      .names = propertyNames(),
                      .before = &before,
                      .firmIds = {},
                      .sharedIds = {},
                      .run = u"Lastlauf mit " + QString::number(sessions) + u" Sitzungen: Sitzung ",
                      .articles = {},
                      .operations = options.operations,
                      .today = QDate::currentDate().toString(Qt::ISODate)};
    const qsizetype articleIndex = shared.names.indexOf(u"Artnr"_s);
    QSet<QString> articles;
    for (auto position = before.cbegin(); position != before.cend(); ++position) {
        if (position.key().startsWith(Firm + u"||")) {
            shared.firmIds << position.key();
            articles.insert(position->properties.split(FieldSeparator).value(articleIndex));
        }
    }
    std::sort(shared.firmIds.begin(), shared.firmIds.end());
    shared.sharedIds = shared.firmIds.mid(0, SharedPositions);
    shared.firmIds.remove(0, shared.sharedIds.size());
    shared.articles = QStringList(articles.cbegin(), articles.cend());
    std::sort(shared.articles.begin(), shared.articles.end());

    // Each session owns every sessions-th position of the firm.
    std::vector<QStringList> owned(static_cast<size_t>(sessions));
    for (qsizetype i = 0; i < shared.firmIds.size(); ++i)
        owned[size_t(i % sessions)] << shared.firmIds[i];

    out << "\n" << sessions << " Sitzungen zugleich, je " << German.toString(options.operations) << " Vorgänge ("
        << German.toString(shared.firmIds.size()) << " Positionen, " << German.toString(shared.articles.size())
        << " Artikel mit Positionen in Firma 1)\n";
    out << "  Rechnerlast vorher (loadavg 1 min): " << loadAverage() << "\n";
    out.flush();

    std::vector<SessionResult> results(static_cast<size_t>(sessions));
    std::latch connected(sessions);
    std::latch go(1);
    std::vector<std::thread> threads;
    for (int i = 0; i < sessions; ++i) {
        threads.emplace_back([&, i] {
            // Made, used and ended in this thread: a Qt SQL connection belongs to the thread that opened it.
            LoadSession session(shared, i + 1, owned[size_t(i)], results[size_t(i)]);
            const bool ok = session.connect();
            connected.count_down();
            go.wait();
            if (ok)
                session.run();
        });
    }
    connected.wait();
    const quint64 statementsBefore = store::Session::statementsSent();
    const CpuTimes cpuBefore = cpuTimes();
    QElapsedTimer wall;
    wall.start();
    WaitSampler waits(target);
    go.count_down();
    for (std::thread &thread : threads)
        thread.join();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    waits.stop();
    const CpuTimes cpuAfter = cpuTimes();
    const quint64 statements = store::Session::statementsSent() - statementsBefore;

    std::array<std::vector<double>, OperationCount> latencies;
    std::vector<double> all;
    int errors = 0;
    int goneWhenRead = 0;
    int ownReadsWrong = 0;
    int acknowledged = 0;
    int sharedRefused = 0;
    int sharedWritten = 0;
    qint64 rowsSearched = 0;
    QString firstError;
    for (const SessionResult &result : results) {
        for (int operation = 0; operation < OperationCount; ++operation) {
            latencies[operation].insert(latencies[operation].end(), result.milliseconds[operation].cbegin(),
                                        result.milliseconds[operation].cend());
            all.insert(all.end(), result.milliseconds[operation].cbegin(), result.milliseconds[operation].cend());
        }
        errors += result.errors;
        acknowledged += result.acknowledged;
        sharedRefused += result.sharedRefused;
        sharedWritten += int(result.sharedWrites.size());
        goneWhenRead += result.goneWhenRead;
        ownReadsWrong += result.ownReadsWrong;
        rowsSearched += result.rowsSearched;
        if (firstError.isEmpty())
            firstError = result.firstError;
    }

    const double cores = QThread::idealThreadCount();
    const double ticks = double(cpuAfter.total - cpuBefore.total);
    const double busy = ticks > 0 ? 100.0 * double(cpuAfter.busy - cpuBefore.busy) / ticks : 0;
    const double own = ticks > 0 ? 100.0 * double(cpuAfter.own - cpuBefore.own) / ticks : 0;
    out << "  Durchsatz: " << German.toString(double(all.size()) / seconds, 'f', 0) << " Vorgänge/s ("
        << German.toString(qint64(all.size())) << " in " << German.toString(seconds, 'f', 1) << " s, "
        << German.toString(double(statements) / double(std::max<size_t>(all.size(), 1)), 'f', 1)
        << " Anweisungen je Vorgang, " << German.toString(double(rowsSearched) / double(std::max<size_t>(
                                                                 latencies[Search].size(), 1)), 'f', 1)
        << " Zeilen je Suche)\n";
    out << "  Prozessoren während des Laufs belegt: " << German.toString(busy, 'f', 0) << " % von "
        << cores << " Kernen, davon dieser Prozess " << German.toString(own, 'f', 0)
        << " %, der Rest PostgreSQL und andere\n";
    out << "  " << u"Vorgang"_s.leftJustified(24) << u"Anzahl"_s.rightJustified(9) << u"p50 ms"_s.rightJustified(9)
        << u"p99 ms"_s.rightJustified(9) << u"max ms"_s.rightJustified(9) << "\n";
    for (int operation = 0; operation < OperationCount; ++operation)
        printLatencies(out, Operations[operation].name, latencies[operation]);
    printLatencies(out, u"alle"_s, all);
    out << "  Sitzungen im Mittel (Stichproben von pg_stat_activity):";
    for (const auto &[state, mean] : waits.means()) {
        if (mean >= 0.05)
            out << "\n    " << state << ": " << German.toString(mean, 'f', 1);
    }
    out << "\n";
    out.flush();

    const Snapshot after = readPositions(target);
    const Check check = compare(before, after, results, shared.sharedIds, sharedHistory(target, shared.sharedIds, shared.run));
    out << "  Bestätigte Schreibvorgänge: " << German.toString(acknowledged) << " auf "
        << German.toString(check.positions) << " Positionen; verloren: " << check.lost
        << "; Phantome: " << check.phantom << "\n";
    out << "  Gemeinsame Positionen (" << shared.sharedIds.size() << "): " << German.toString(sharedWritten)
        << " geschrieben, " << German.toString(sharedRefused)
        << " abgewiesen, weil eine andere Sitzung sie seit dem Lesen geändert hatte; unbemerkt überschrieben: "
        << check.silent << "\n";
    out << "  Fehler: " << errors << "; eigene Position abweichend gelesen: " << ownReadsWrong
        << "; gelesen nach dem Löschen durch ihre Sitzung: " << goneWhenRead << "\n";
    for (const QString &example : check.examples)
        out << "    " << example << "\n";
    if (!firstError.isEmpty())
        out << "    " << firstError << "\n";
    out.flush();
    return check.lost == 0 && check.phantom == 0 && check.silent == 0 && errors == 0 && ownReadsWrong == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString error;
    const std::optional<Options> options = parseOptions(app.arguments().mid(1), error);
    if (!options) {
        QTextStream(stderr) << "bench_load: " << error << "\n"
                            << "Aufruf: bench_load [--sessions N,N,...] [--operations M] [--articles A] "
                               "[--positions P] HOST:PORT\n";
        return 2;
    }
    QTextStream out(stdout);
    try {
        const store::DatabaseTarget target = store::ParseAdminTarget(options->postgres);
        if (target.isSQLite())
            throw AccessError(tolven::ErrorNumber::ConnectFailed, u"bench_load braucht PostgreSQL als HOST:PORT."_s);
        out << "Last auf PostgreSQL: viele Sitzungen zugleich, jede mit eigener Verbindung in eigenem Thread, "
               "ohne Pause zwischen den Vorgängen.\n"
            << "Mischung: ";
        for (int operation = 0; operation < OperationCount; ++operation)
            out << (operation ? ", " : "") << Operations[operation].name << " " << Operations[operation].weight
                << " %";
        out << ".\nDemo: " << German.toString(options->size.articles) << " Artikel, "
            << German.toString(options->size.positions) << " Positionen in Firma 1; Qt " << qVersion() << ", "
            << QThread::idealThreadCount() << " Kerne.\n";
        FillDemo(target, options->size, out);
        bool allOk = true;
        for (const int sessions : options->sessions)
            allOk &= runSessions(*options, target, sessions, out);
        return allOk ? 0 : 1;
    } catch (const AccessError &e) {
        out.flush();
        QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
}
