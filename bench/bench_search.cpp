// Prints how long the main window's search takes, from the click on
// "Suchen" to the filled grid, on a demo firm of 5000 articles and N
// positions (all filters empty: every position of the firm): the median of
// several clicks, the SQL statements sent per click, the peak resident
// memory, the time of the store's calls alone that a search makes (the query
// "Konkur" read to the end, one ArtikelDaten per article, the own prices),
// and the time the database alone needs for the same rows (the statements of
// the position query, of its articles and of the own prices, run directly
// and read to the end) with the ratio of click and database.
//
//   bench_search [--sizes N,N,...] [--targets sqlite,pg,pg20] [--runs R] [HOST:PORT]
//
// sqlite is a file in a temporary folder; pg the PostgreSQL database
// "tolven" at HOST:PORT (its TOLVEN tables are recreated); pg20 the same
// through a link of 10 ms each way (LatencyProxy). Without HOST:PORT only
// sqlite runs. Every configuration is measured in a fresh process of its own
// (the program starts itself with --measure), so that each peak of memory is
// that configuration's alone.

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "app/ClientSetup.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"
#include "positions/FMStart.h"
#include "positions/PositionModel.h"
#include "store/ClassRegistry.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

#include "BenchClient.h"
#include "BenchMain.h"
#include "LatencyProxy.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int Articles = 5000;
constexpr int DefaultRuns = 5;
constexpr int LinkDelayMilliseconds = 10;  // each way
// A configuration that takes longer has hung (a dialog nobody answers).
constexpr int MeasureTimeoutMilliseconds = 30 * 60 * 1000;


struct Options
{
    QList<int> sizes{1000, 10000, 100000, 250000};
    QStringList targets{u"sqlite"_s, u"pg"_s, u"pg20"_s};
    int runs = DefaultRuns;
    QString postgres;        // HOST:PORT
    // --measure: one configuration, in this process.
    bool measure = false;
    QString label;
    QString server;
    QString port;
    int positions = 0;
};

std::optional<Options> parseOptions(const QStringList &arguments, QString &error)
{
    Options options;
    auto number = [&error](const QString &text, int &value) { return PositiveNumber(text, value, error); };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == u"--measure") {
            options.measure = true;
        } else if (argument.startsWith(u"--") && !hasValue) {
            error = argument + u" braucht einen Wert";
            return std::nullopt;
        } else if (argument == u"--sizes") {
            if (!PositiveNumbers(arguments[++i], options.sizes, error))
                return std::nullopt;
        } else if (argument == u"--targets") {
            options.targets = arguments[++i].split(u',');
            for (const QString &target : options.targets) {
                if (target != u"sqlite" && target != u"pg" && target != u"pg20") {
                    error = u"unbekanntes Ziel "_s + target + u" (sqlite, pg, pg20)";
                    return std::nullopt;
                }
            }
        } else if (argument == u"--runs") {
            if (!number(arguments[++i], options.runs))
                return std::nullopt;
        } else if (argument == u"--label") {
            options.label = arguments[++i];
        } else if (argument == u"--server") {
            options.server = arguments[++i];
        } else if (argument == u"--port") {
            options.port = arguments[++i];
        } else if (argument == u"--positions") {
            if (!number(arguments[++i], options.positions))
                return std::nullopt;
        } else if (argument.startsWith(u"--") || !options.postgres.isEmpty()) {
            error = u"unbekanntes Argument "_s + argument;
            return std::nullopt;
        } else {
            options.postgres = argument;
        }
    }
    return options;
}

// The first line of a /proc file that starts with key, after the key.
QString procField(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed();
    }
    return {};
}

// The peak resident memory of this process, in MiB.
double peakResidentMiB()
{
    const QString value = procField(u"/proc/self/status"_s, u"VmHWM:"_s);  // "123456 kB"
    return value.section(u' ', 0, 0).toDouble() / 1024.0;
}

void printRow(QTextStream &out, const QStringList &cells)
{
    static const QList<int> widths{18, 19, 14, 13, 10, 16, 12, 12, 10};
    QString line = u"  "_s;
    for (qsizetype i = 0; i < cells.size(); ++i)
        line += i == 0 ? cells[i].leftJustified(widths[i]) : cells[i].rightJustified(widths[i]);
    out << line << "\n";
    out.flush();
}

// --- One configuration, in a process of its own ---------------------------

// The calls of the object interface that a search with all filters empty
// makes, as the window makes them: every row of "Konkur" read, one
// ArtikelDaten per article of the rows, then the own prices ("Eigenpreise").
// Milliseconds; statements the number sent.
double storeAlone(tolven::ServerFactory &factory, quint64 &statements)
{
    const quint64 sentBefore = store::Session::statementsSent();
    QElapsedTimer timer;
    timer.start();
    auto positions = factory.classObject(u"Konkur.Konkur"_s);
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({u"1"_s, {}, {}, {}, {}});
    QSet<QString> articles;
    while (result->next()) {
        for (int column = 1; column <= 18; ++column)
            result->getColumn(column);
        articles.insert(result->getColumn(4));
    }
    for (const QString &article : std::as_const(articles))
        positions->callMethod(u"ArtikelDaten"_s, {u"1"_s, article});
    result->close();
    auto ownPrices = factory.openQuery(u"Konkur.Konkur"_s, u"Eigenpreise"_s);
    ownPrices->execute({u"1"_s});
    while (ownPrices->next()) {
        for (int column = 1; column <= 4; ++column)
            ownPrices->getColumn(column);
    }
    ownPrices->close();
    const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
    statements = store::Session::statementsSent() - sentBefore;
    return milliseconds;
}

// The statements the store sends for a search with all filters empty, run
// directly: the articles of the positions, the positions, the own prices;
// every column of every row read. Milliseconds.
double databaseAlone(store::Session &session, int &rows)
{
    const QStringList arguments{u"1"_s, {}, {}, {}, {}};
    const store::ClassDescription *positions = store::FindClass(u"Konkur.Konkur"_s);
    const store::QueryDescription *query = positions->findQuery(u"Konkur"_s);
    const store::QueryDescription *ownPrices = positions->findQuery(u"Eigenpreise"_s);
    QElapsedTimer timer;
    timer.start();
    rows = 0;
    const store::SqlStatement statements[] = {query->articles(session, arguments).statement,
                                              query->build(session, arguments), ownPrices->build(session, {u"1"_s})};
    for (const store::SqlStatement &statement : statements) {
        // Kept by the session as the store keeps it: prepared once on SQLite.
        store::Statement &sql = session.statement(statement.sql);
        for (const QVariant &value : statement.values)
            sql.addBindValue(value);
        session.exec(sql, u"Messung"_s);
        const int columns = sql.record().count();
        int count = 0;
        while (sql.next()) {
            for (int column = 0; column < columns; ++column)
                sql.value(column);
            ++count;
        }
        sql.finish();
        if (&statement == &statements[1])  // the positions
            rows = count;
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

int measure(int argc, char *argv[], const Options &options)
{
    PrepareOffscreenProcess();
    QApplication app(argc, argv);
    BenchClient client(u"bench_search"_s);
    QTextStream out(stdout);
    QTimer::singleShot(MeasureTimeoutMilliseconds, [&options] {
        QTextStream(stderr) << "bench_search: " << options.label << " hängt, abgebrochen\n";
        std::_Exit(3);
    });
    int result = 0;
    // Start-up: the main window made, the user logged in, the lists read,
    // the window shown; once per process.
    QElapsedTimer startTimer;
    startTimer.start();
    {
        tolven::FMStart window;
        if (!client.start(window, options.server, options.port)) {
            result = 1;
        } else {
            const double startup = double(startTimer.nsecsElapsed()) / 1e6;
            auto *search = window.findChild<QPushButton *>(u"BUSuch"_s);
            QList<double> times;
            quint64 statements = 0;
            for (int run = 0; run < options.runs; ++run) {
                const quint64 sentBefore = store::Session::statementsSent();
                QElapsedTimer timer;
                timer.start();
                search->click();
                // The grid drawn with what it shows.
                QCoreApplication::processEvents();
                times << double(timer.nsecsElapsed()) / 1e6;
                statements = store::Session::statementsSent() - sentBefore;
            }
            const int gridRows = window.positionArray().rowCount();
            const double peak = peakResidentMiB();

            const QString connectString = store::MakeConnectString(options.server, options.port);
            QList<double> storeTimes;
            quint64 storeStatements = 0;
            {
                store::StoreFactory factory;
                factory.connect(connectString);
                for (int run = 0; run < options.runs; ++run)
                    storeTimes << storeAlone(factory, storeStatements);
            }
            auto session = store::Session::open(store::ParseConnectString(connectString));
            QList<double> alone;
            int databaseRows = 0;
            for (int run = 0; run < options.runs; ++run)
                alone << databaseAlone(*session, databaseRows);
            session->close();

            const double click = Median(times);
            const double database = Median(alone);
            printRow(out, {options.label, German.toString(gridRows) + u" / " + German.toString(databaseRows),
                           Seconds(click), German.toString(statements), German.toString(peak, 'f', 0) + u" MiB",
                           Seconds(Median(storeTimes)) + u" (" + German.toString(storeStatements) + u')',
                           Seconds(database), German.toString(click / database, 'f', 1) + u" ×",
                           Seconds(startup)});
            if (gridRows != databaseRows)
                out << "    (das Raster zeigt nicht alle Zeilen der Abfrage)\n";
        }
        if (!client.dialogs().shown().isEmpty())
            out << "    Meldungen: " << client.dialogs().shown().join(u"; ") << "\n";
    }
    return result;
}

// --- The whole benchmark: fills each size, runs each configuration -------

// Runs one configuration in a fresh process of this program; false when it failed.
bool runMeasurement(const Options &options, const QString &label, const QString &server, const QString &port,
                    int positions, QTextStream &out)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({u"--measure"_s, u"--label"_s, label, u"--server"_s, server, u"--port"_s, port,
                        u"--positions"_s, QString::number(positions), u"--runs"_s, QString::number(options.runs)});
    // Waits in an event loop: the slow link of this process must go on passing chunks.
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&child, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    child.start();
    if (child.state() != QProcess::NotRunning)
        loop.exec();
    if (child.state() != QProcess::NotRunning)
        child.waitForFinished(-1);
    const bool ok = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
        && child.error() == QProcess::UnknownError;
    if (!ok) {
        out << "  " << label << ": Messung fehlgeschlagen (" << child.errorString() << ", Exit-Code "
            << child.exitCode() << ")\n";
    }
    return ok;
}

int runAll(int argc, char *argv[], const Options &options)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const bool postgres = !options.postgres.isEmpty();
    out << "Suche im Hauptfenster (Klick auf \"Suchen\" bis zum gefüllten Raster), alle Filter leer; "
        << "Demo mit " << German.toString(Articles) << " Artikeln; Median aus " << options.runs << " Klicks.\n"
        << "Rechner: " << procField(u"/proc/cpuinfo"_s, u"model name"_s).section(u':', 1).trimmed() << ", "
        << QThread::idealThreadCount() << " Kerne, "
        << German.toString(procField(u"/proc/meminfo"_s, u"MemTotal:"_s).section(u' ', 0, 0).toDouble() / 1048576.0,
                           'f', 1)
        << " GiB; Qt " << qVersion() << "\n"
        << "Zeilen: im Raster / aus der Abfrage. Anweisungen: die der Store je Klick an die Datenbank schickt.\n"
        << "VmHWM: Spitze des belegten Speichers des Messprozesses. Store allein: die Aufrufe einer Suche an der\n"
        << "Objektschnittstelle (\"Konkur\" gelesen, je Artikel ArtikelDaten, \"Eigenpreise\"), in Klammern ihre\n"
        << "Anweisungen. DB allein: die Anweisungen der Artikel, der Positionen und der eigenen Preise direkt\n"
        << "ausgeführt und bis zum Ende gelesen; Verhältnis: Klick / DB allein.\n"
        << "Start: vom Anlegen des Hauptfensters über die Anmeldung bis zum gezeigten Fenster (einmal je Ziel).\n";
    if (!postgres && (options.targets.contains(u"pg"_s) || options.targets.contains(u"pg20"_s)))
        out << "(Ohne HOST:PORT nur SQLite.)\n";
    out.flush();

    bool allOk = true;
    for (const int positions : options.sizes) {
        out << "\n" << German.toString(positions) << " Positionen\n";
        printRow(out, {u"Ziel"_s, u"Zeilen"_s, u"Klick→Raster"_s, u"Anweisungen"_s, u"VmHWM"_s, u"Store allein"_s,
                       u"DB allein"_s, u"Verhältnis"_s, u"Start"_s});
        try {
            if (options.targets.contains(u"sqlite"_s)) {
                QTemporaryDir dir;
                const store::DatabaseTarget target = store::DatabaseTarget::sqlite(dir.filePath(u"bench.db"_s));
                FillDemo(target, {Articles, positions}, out);
                allOk &= runMeasurement(options, u"SQLite"_s, target.path, u"1972"_s, positions, out);
            }
            if (postgres && (options.targets.contains(u"pg"_s) || options.targets.contains(u"pg20"_s))) {
                const store::DatabaseTarget target = store::ParseAdminTarget(options.postgres);
                if (!target.conninfo.isEmpty())
                    throw tolven::AccessError(tolven::ErrorNumber::ConnectFailed,
                                              u"bench_search braucht PostgreSQL als HOST:PORT."_s);
                FillDemo(target, {Articles, positions}, out);
                if (options.targets.contains(u"pg"_s)) {
                    allOk &= runMeasurement(options, u"PostgreSQL"_s, target.host, QString::number(target.port),
                                            positions, out);
                }
                if (options.targets.contains(u"pg20"_s)) {
                    LatencyProxy link(target.host, quint16(target.port), LinkDelayMilliseconds);
                    if (!link.listen()) {
                        out << "  Verzögerte Verbindung: " << link.errorString() << "\n";
                        allOk = false;
                    } else {
                        allOk &= runMeasurement(options, u"PostgreSQL 20 ms"_s, u"127.0.0.1"_s,
                                                QString::number(link.port()), positions, out);
                    }
                }
            }
        } catch (const tolven::AccessError &e) {
            out.flush();
            QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
            return 1;
        }
    }
    return allOk ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<Options> options = parseOptions(arguments, error);
    if (!options) {
        QTextStream(stderr) << "bench_search: " << error << "\n"
                            << "Aufruf: bench_search [--sizes N,N,...] [--targets sqlite,pg,pg20] [--runs R] "
                               "[HOST:PORT]\n";
        return 2;
    }
    try {
        return options->measure ? measure(argc, argv, *options) : runAll(argc, argv, *options);
    } catch (const tolven::AccessError &e) {
        QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
}
