#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <utility>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

// An option's value of at least 1 into value; otherwise false with error set.
inline bool PositiveNumber(const QString &text, int &value, QString &error)
{
    using namespace Qt::StringLiterals;
    bool ok = false;
    value = text.toInt(&ok);
    if (!ok || value < 1)
        error = u"keine positive Zahl: "_s + text;
    return ok && value >= 1;
}

// A comma-separated list of such values ("10,50") into values.
inline bool PositiveNumbers(const QString &text, QList<int> &values, QString &error)
{
    values.clear();
    for (const QString &item : text.split(u',')) {
        int value = 0;
        if (!PositiveNumber(item, value, error))
            return false;
        values << value;
    }
    return true;
}

// Options "--NAME N" with a whole number into the value named, and at most
// one other argument, the PostgreSQL server, into postgres. False for an
// unknown option, a missing or malformed number, or a second server.
inline bool ParseNumberOptions(const QStringList &arguments, const QList<std::pair<QString, int *>> &numbers,
                               QString &postgres)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const auto option = std::find_if(numbers.cbegin(), numbers.cend(),
                                         [&argument](const auto &number) { return number.first == argument; });
        bool ok = true;
        if (option != numbers.cend() && i + 1 < arguments.size())
            *option->second = arguments[++i].toInt(&ok);
        else if (argument.startsWith(u"--") || !postgres.isEmpty())
            ok = false;
        else
            postgres = argument;
        if (!ok)
            return false;
    }
    return true;
}

// Makes the tables of target anew and fills them with the demo firm of size,
// then gathers the planners' statistics as tolven-admin does after a fill.
// Prints how long the fill took.
inline void FillDemo(const store::DatabaseTarget &target, const store::DemoSize &size, QTextStream &out)
{
    {
        auto session = store::Session::openUnchecked(target, target.isSQLite());
        store::schema::drop(*session);
        store::schema::create(*session);
    }
    QElapsedTimer timer;
    timer.start();
    store::StoreFactory factory;
    factory.connectTo(target);
    store::FillDemoData(factory, size);
    factory.disconnect();
    store::schema::analyze(*store::Session::openUnchecked(target, false));
    out << "  (" << target.describe() << " gefüllt in "
        << QLocale(QLocale::German).toString(double(timer.elapsed()) / 1000.0, 'f', 1) << " s)\n";
    out.flush();
}

// The main window measured on a fresh SQLite file and, when postgres names
// one, on PostgreSQL: bench gets the label, the target and the server and
// port the client logs in with, and says whether all went right. The exit
// code of the benchmark.
inline int RunClientBenchmark(
    const QString &postgres,
    const std::function<bool(const QString &label, const store::DatabaseTarget &target, const QString &server,
                             const QString &port)> &bench)
{
    using namespace Qt::StringLiterals;
    bool ok = true;
    try {
        QTemporaryDir dir;
        const store::DatabaseTarget sqlite = store::DatabaseTarget::sqlite(dir.filePath(u"bench.db"_s));
        ok &= bench(u"SQLite"_s, sqlite, sqlite.path, u"1972"_s);
        if (!postgres.isEmpty()) {
            const store::DatabaseTarget pg = store::ParseAdminTarget(postgres);
            ok &= bench(u"PostgreSQL"_s, pg, pg.host, QString::number(pg.port));
        }
    } catch (const tolven::AccessError &e) {
        QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
    return ok ? 0 : 1;
}

// The main() of a benchmark: runs it on a fresh SQLite file and, when the
// command line names one (HOST:PORT or a libpq string), on PostgreSQL.
inline int RunBenchmark(int argc, char *argv[],
                        const std::function<void(const store::DatabaseTarget &, QTextStream &)> &benchmark)
{
    using namespace Qt::StringLiterals;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    try {
        QTemporaryDir dir;
        benchmark(store::DatabaseTarget::sqlite(dir.filePath(u"bench.db"_s)), out);
        if (argc > 1)
            benchmark(store::ParseAdminTarget(QString::fromLocal8Bit(argv[1])), out);
    } catch (const tolven::AccessError &e) {
        QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
