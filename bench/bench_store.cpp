// Prints how long the object interface takes for the calls the client makes
// most: opening an object by id, an M command, and saving new objects in one
// transaction. Median of several rounds; sizes are printed with the figures.
//
//   bench_store                 SQLite file in a temporary folder
//   bench_store HOST:PORT       also the PostgreSQL database "tolven" there
//                               (its TOLVEN tables are recreated)

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>

#include "objectapi/AccessError.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

#include "BenchMain.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int Rounds = 7;

double medianMicroseconds(int operations, const std::function<void()> &round)
{
    QList<double> perOperation;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        round();
        perOperation << double(timer.nsecsElapsed()) / 1000.0 / operations;
    }
    std::sort(perOperation.begin(), perOperation.end());
    return perOperation[Rounds / 2];
}

void benchmark(const store::DatabaseTarget &target, QTextStream &out)
{
    {
        auto session = store::Session::openUnchecked(target, target.isSQLite());
        store::schema::drop(*session);
        store::schema::create(*session);
    }
    store::StoreFactory factory;
    factory.connectTo(target);
    store::FillDemoData(factory);
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s});

    out << target.describe() << "\n";
    constexpr int Lookups = 1000;
    const double open = medianMicroseconds(Lookups, [&] {
        for (int i = 0; i < Lookups; ++i)
            factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s)->sys_Close();
    });
    out << u"  openById + property read:      %1 µs per object (%2 lookups a round)\n"_s
               .arg(open, 0, 'f', 1).arg(Lookups);

    const double command = medianMicroseconds(Lookups, [&] {
        for (int i = 0; i < Lookups; ++i)
            windows->callMethod(u"Xecute"_s, {u"D ^%XTT"_s});
    });
    out << u"  Xecute \"D ^%XTT\":              %1 µs per call\n"_s.arg(command, 0, 'f', 1);

    constexpr int Saves = 2000;
    int round = 0;
    const double save = medianMicroseconds(Saves, [&] {
        ++round;
        windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
        for (int i = 0; i < Saves; ++i) {
            auto base = factory.createNew(u"TV.PersBasis"_s);
            base->setProperty(u"PNR"_s, u"B%1-%2"_s.arg(round).arg(i));
            base->setProperty(u"fax"_s, u"0421 555-%1"_s.arg(i));
            base->sys_save();
        }
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    });
    out << u"  createNew + sys_save in TSTART: %1 µs per object (%2 objects a transaction)\n"_s
               .arg(save, 0, 'f', 1).arg(Saves);
}

} // namespace

int main(int argc, char *argv[])
{
    return RunBenchmark(argc, argv, benchmark);
}
