#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"

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
