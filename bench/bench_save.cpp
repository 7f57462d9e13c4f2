// Prints how long saving in the main window takes:
// - the check of every row before a save (mandatory cells, duplicates) on
//   a grid of V rows, the median of several runs;
// - a click on "Speichern" with N changed rows (every position of a demo
//   firm searched, each given a new price), from the click to the stored
//   grid, on SQLite and PostgreSQL, the median of several clicks, with the
//   statements sent; every row is checked to be stored;
// - what one transaction per row would cost instead: 1000 positions saved
//   through the object interface, each sys_save its own transaction, per row
//   and counted up to N rows. On SQLite this is the price of WAL with full
//   sync, a disk sync per commit.
//
// - on PostgreSQL also through a link of 10 ms each way (LatencyProxy), the
//   round trip of a branch's line to head office, with L changed rows.
//
//   bench_save [--rows N] [--link-rows L] [--validate V] [--runs R] [HOST:PORT]

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QEventLoop>

#include <future>
#include <memory>

#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"
#include "positions/FMStart.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionValidation.h"
#include "store/DatabaseTarget.h"
#include "store/Session.h"
#include "store/StoreFactory.h"

#include "BenchClient.h"
#include "LatencyProxy.h"
#include "BenchMain.h"

using namespace Qt::StringLiterals;

using tolven::PositionColumn;

namespace {

constexpr int Articles = 2000;
constexpr int SingleRows = 1000;

struct Options
{
    int rows = 10000;
    int linkRows = 1000;
    int validate = 250000;
    int runs = 3;
    QString postgres;
};

// A grid of rows that can all be saved, no two alike but the last two: the
// check reads every row before it finds them.
void fillGrid(tolven::PositionModel &positions, int rows)
{
    QList<tolven::PositionModel::Row> cells;
    cells.reserve(rows);
    const QDate start(2026, 1, 1);
    for (int row = 0; row < rows; ++row) {
        tolven::PositionModel::Row cell(tolven::PositionColumnCount);
        cell[PositionColumn::Konkur] = row % 2 ? u"WERKHOF"_s : u"MOORBAU"_s;
        cell[PositionColumn::Artnr] = QString::number(100000 + row % 50000);
        cell[PositionColumn::ArtBez] = u"Zement CEM I 42,5 R, 25 kg"_s;
        cell[PositionColumn::Preistyp] = u"LISTE"_s;
        cell[PositionColumn::DatumAb] = start.addDays(row / 100000);
        cell[PositionColumn::MengeAb] = double(1 + row / 50000 * 10);
        cell[PositionColumn::VKE] = u"SCK"_s;
        cell[PositionColumn::IntPreis] = u"9,46"_s;
        cell[PositionColumn::PreisExcl] = 6.76;
        cell[PositionColumn::PreisIncl] = u"8,04"_s;
        cell[PositionColumn::VRE] = u"SCK"_s;
        cells << cell;
    }
    cells.last() = cells.at(rows - 2);
    positions.setRows(cells);
}

void benchValidation(const Options &options, QTextStream &out)
{
    tolven::PositionModel positions;
    fillGrid(positions, options.validate);
    QList<double> times;
    QString found;
    for (int run = 0; run < options.runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::optional<tolven::SaveProblem> problem = tolven::FindSaveProblem(positions);
        times << double(timer.nsecsElapsed()) / 1e6;
        found = problem ? tolven::SaveProblemText(*problem) + u" (Zeile " + German.toString(problem->row + 1) + u')'
                        : u"nichts"_s;
    }
    out << "Prüfung vor dem Speichern, " << German.toString(options.validate) << " Zeilen: " << Seconds(Median(times))
        << "; gefunden: " << found << "\n";
}

// Saves SingleRows stored positions again, each sys_save its own transaction.
double singleTransactions(const store::DatabaseTarget &target)
{
    store::StoreFactory factory;
    factory.connectTo(target);
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({u"1"_s, {}, {}, {}, {}});
    QStringList ids;
    while (ids.size() < SingleRows && result->next())
        ids << result->getColumn(1);
    result->close();
    QElapsedTimer timer;
    timer.start();
    for (const QString &id : ids) {
        auto position = factory.openById(u"Konkur.Konkur"_s, id);
        position->setProperty(u"PreisExcl"_s, u"1.5"_s);
        position->sys_save();
        position->sys_Close();
    }
    return double(timer.nsecsElapsed()) / 1e6 / double(ids.size());
}

constexpr int LinkDelayMilliseconds = 10;  // each way

// The slow link, served by a thread of its own while the client waits for
// its answers in this one.
class LinkThread
{
public:
    LinkThread(const QString &host, quint16 port)
    {
        std::promise<quint16> listening;
        std::future<quint16> listened = listening.get_future();
        m_thread.reset(QThread::create([this, host, port, &listening] {
            QEventLoop loop;
            LatencyProxy link(host, port, LinkDelayMilliseconds);
            m_loop = &loop;
            listening.set_value(link.listen() ? link.port() : 0);
            loop.exec();
        }));
        m_thread->start();
        m_port = listened.get();
    }
    ~LinkThread()
    {
        QMetaObject::invokeMethod(m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        m_thread->wait();
    }
    quint16 port() const { return m_port; }

private:
    std::unique_ptr<QThread> m_thread;
    QEventLoop *m_loop = nullptr;
    quint16 m_port = 0;
};

bool benchTarget(const QString &label, const store::DatabaseTarget &target, const QString &server,
                 const QString &port, int fillRows, bool singleRows, const Options &options, QTextStream &out)
{
    FillDemo(target, {Articles, fillRows}, out);
    BenchClient client(u"bench_save"_s);
    tolven::FMStart window;
    if (!client.start(window, server, port))
        return false;
    window.BUSuch_Click();
    tolven::PositionModel &positions = window.positionArray();
    const int rows = positions.rowCount();
    QList<double> times;
    quint64 statements = 0;
    int stored = 0;
    for (int run = 0; run < options.runs; ++run) {
        for (int row = 0; row < rows; ++row) {
            positions.setCell(row, PositionColumn::PreisExcl, 10.0 + run + row % 100 / 100.0);
            positions.setCell(row, PositionColumn::AendDatum, QString());
        }
        const quint64 sentBefore = store::Session::statementsSent();
        QElapsedTimer timer;
        timer.start();
        window.findChild<QPushButton *>(u"BUSpeich"_s)->click();
        times << double(timer.nsecsElapsed()) / 1e6;
        statements = store::Session::statementsSent() - sentBefore;
        stored = 0;
        for (int row = 0; row < rows; ++row)
            stored += positions.cell(row, PositionColumn::AendDatum).typeId() == QMetaType::QDate;
    }
    window.close();
    out << "  " << label.leftJustified(18) << German.toString(rows).rightJustified(8) << " Zeilen gespeichert in "
        << Seconds(Median(times)).rightJustified(8) << " (" << German.toString(stored) << " gespeichert, "
        << German.toString(statements) << " Anweisungen)";
    if (singleRows) {
        const double perRow = singleTransactions(target);
        out << "; eine Transaktion je Zeile: " << German.toString(perRow, 'f', 2) << " ms je Zeile, "
            << Seconds(perRow * rows) << " für alle";
    }
    out << "\n";
    if (!client.dialogs().shown().isEmpty())
        out << "    Meldungen: " << client.dialogs().shown().join(u"; ") << "\n";
    out.flush();
    return stored == rows && client.dialogs().shown().isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    PrepareOffscreenProcess();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    Options options;
    const bool parsed = ParseNumberOptions(QCoreApplication::arguments().mid(1),
                                           {{u"--rows"_s, &options.rows},
                                            {u"--link-rows"_s, &options.linkRows},
                                            {u"--validate"_s, &options.validate},
                                            {u"--runs"_s, &options.runs}},
                                           options.postgres);
    if (!parsed || options.rows < 1 || options.linkRows < 1 || options.validate < 2 || options.runs < 1) {
        QTextStream(stderr)
            << "Aufruf: bench_save [--rows N] [--link-rows L] [--validate V] [--runs R] [HOST:PORT]\n";
        return 2;
    }
    out << "Speichern im Hauptfenster; Median aus " << options.runs << " Läufen; " << QThread::idealThreadCount()
        << " Kerne; Qt " << qVersion() << "\n";
    benchValidation(options, out);
    out << "Klick auf \"Speichern\" mit geänderten Zeilen (Demo mit " << German.toString(Articles) << " Artikeln):\n";
    return RunClientBenchmark(options.postgres, [&](const QString &label, const store::DatabaseTarget &target,
                                                    const QString &server, const QString &port) {
        bool ok = benchTarget(label, target, server, port, options.rows, true, options, out);
        if (!target.isSQLite()) {
            LinkThread link(target.host, quint16(target.port));
            if (link.port() == 0) {
                out << "  Die verzögerte Verbindung lässt sich nicht öffnen.\n";
                return false;
            }
            ok &= benchTarget(u"PostgreSQL 20 ms"_s, target, u"127.0.0.1"_s, QString::number(link.port()),
                              options.linkRows, false, options, out);
        }
        return ok;
    });
}
