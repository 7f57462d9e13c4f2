// Prints how long the calls of the main window take on a large demo firm:
// filling it, the position query with each of its filters, the article data
// of a position, the article list, the article search and the partner search.
// Median of several rounds after one warm-up; sizes are printed with the figures.
//
//   bench_business                 SQLite file in a temporary folder
//   bench_business HOST:PORT       also the PostgreSQL database "tolven" there
//                                  (its TOLVEN tables are recreated)

#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QTextStream>

#include <algorithm>
#include <functional>

#include "access/AccessError.h"
#include "access/MLiteral.h"
#include "store/DemoData.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"

#include "BenchMain.h"

namespace {

constexpr int Rounds = 7;
constexpr store::DemoSize BenchSize{5000, 100000};

const QLocale German(QLocale::German, QLocale::Germany);

// The median of Rounds runs of round, in microseconds per call.
double medianMicroseconds(int calls, const std::function<void()> &round)
{
    round();  // warm-up: statements prepared, pages cached
    QList<double> perCall;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        round();
        perCall << double(timer.nsecsElapsed()) / 1000.0 / calls;
    }
    std::sort(perCall.begin(), perCall.end());
    return perCall[Rounds / 2];
}

QString figure(double microseconds)
{
    if (microseconds >= 1000.0)
        return German.toString(microseconds / 1000.0, 'f', 1) + u" ms";
    return German.toString(microseconds, 'f', 1) + u" µs";
}

class Bench
{
public:
    Bench(store::StoreFactory &factory, QTextStream &out) : m_factory(factory), m_out(out) {}

    // Runs a query, reading every column of every row; answers the row count.
    int query(const QString &className, const QString &queryName, const QStringList &arguments)
    {
        auto resultSet = m_factory.openQuery(className, queryName);
        resultSet->execute(arguments);
        int rows = 0;
        while (resultSet->next()) {
            for (int column = 1; column <= resultSet->columnCount(); ++column)
                resultSet->getColumn(column);
            ++rows;
        }
        resultSet->close();
        return rows;
    }

    void timeQuery(const QString &label, const QString &className, const QString &queryName,
                   const QStringList &arguments)
    {
        int rows = 0;
        const double time = medianMicroseconds(1, [&] { rows = query(className, queryName, arguments); });
        print(label, figure(time), German.toString(rows) + u" Zeilen");
    }

    QString xecute(const QString &command)
    {
        return m_windows->callMethod(u"Xecute"_qs, {command});
    }

    void print(const QString &label, const QString &value, const QString &note)
    {
        m_out << "  " << label.leftJustified(44) << value.rightJustified(10) << "   " << note << "\n";
        m_out.flush();
    }

    void run(const QDate &today)
    {
        m_windows = m_factory.classObject(u"TV.Windows"_qs);
        xecute(u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_qs);
        xecute(u"D ^%XTT"_qs);

        const QString firm = u"1"_qs;
        const QString article = store::demo::WidelyPricedArticle.toString();
        timeQuery(u"Konkur: Mitbewerber OBI"_qs, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, u"OBI"_qs, {}, {}, {}});
        timeQuery(u"Konkur: Artikel " + article, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, {}, article, {}, {}});
        timeQuery(u"Konkur: Text \"zement\""_qs, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, {}, {}, u"zement"_qs, {}});
        const QString since = today.addDays(-7).toString(Qt::ISODate);
        timeQuery(u"Konkur: geändert seit " + since, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, {}, {}, {}, since});
        timeQuery(u"Konkur: ohne Filter"_qs, u"Konkur.Konkur"_qs, u"Konkur"_qs, {firm, {}, {}, {}, {}});
        timeQuery(u"Artikelliste"_qs, u"Konkur.Konkur"_qs, u"Artikelliste"_qs, {firm});
        timeQuery(u"KkrSuche Lieferanten, Sammelkonto 7"_qs, u"TV.Windows"_qs, u"KkrSuche"_qs,
                  {firm, u"L"_qs, {}, u"7"_qs});
        timeQuery(u"KkrSuche Kunden \"M\""_qs, u"TV.Windows"_qs, u"KkrSuche"_qs, {firm, u"K"_qs, u"M"_qs, {}});

        auto positions = m_factory.classObject(u"Konkur.Konkur"_qs);
        constexpr int Calls = 500;
        double time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i)
                positions->callMethod(u"ArtikelDaten"_qs, {firm, article, u"1"_qs});
        });
        print(u"ArtikelDaten(1, " + article + u", 1)", figure(time), u"je Aufruf"_qs);
        // Articles spread over the whole firm, as a search fetches them.
        time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i) {
                const QString number = QString::number(100001 + (i * 7919) % BenchSize.articles);
                positions->callMethod(u"ArtikelDaten"_qs, {firm, number, u"10"_qs});
            }
        });
        print(u"ArtikelDaten, 500 verschiedene Artikel"_qs, figure(time), u"je Aufruf"_qs);

        const QString search = u"D GETARF^TVCLSU(" + tolven::MQuote(u"KVH"_qs) + u",\"\",\"\",\"\",\"\",\"\",\"\")";
        time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i)
                xecute(search);
        });
        print(u"GETARF \"KVH\" (erste Seite)"_qs, figure(time), u"je Aufruf, 4 Artikel je Seite"_qs);
        const QString all = u"D GETARF^TVCLSU(\"\",\"\",\"\",\"\",\"\",\"\",\"\")"_qs;
        int pages = 0;
        time = medianMicroseconds(1, [&] {
            pages = 0;
            for (QString page = xecute(all); !page.isEmpty(); page = xecute(u"D GETARN^TVCLSU"_qs))
                ++pages;
        });
        print(u"GETARF + GETARN durch alle Artikel"_qs, figure(time / std::max(pages, 1)),
              u"je Seite, " + German.toString(pages) + u" Seiten");
    }

private:
    store::StoreFactory &m_factory;
    QTextStream &m_out;
    std::unique_ptr<tolven::ServerObject> m_windows;
};

void benchmark(const store::DatabaseTarget &target, QTextStream &out)
{
    {
        auto session = store::Session::openUnchecked(target, target.isSQLite());
        store::schema::drop(*session);
        store::schema::create(*session);
    }
    out << target.describe() << " (Demo: " << German.toString(BenchSize.articles) << " Artikel, "
        << German.toString(BenchSize.positions) << " Positionen in Firma 1)\n";
    out.flush();
    store::StoreFactory factory;
    factory.connectTo(target);
    const QDate today = QDate::currentDate();
    Bench bench(factory, out);
    QElapsedTimer timer;
    timer.start();
    store::FillDemoData(factory, BenchSize, today);
    bench.print(u"Demodaten einspielen (ein TSTART/TCOMMIT)"_qs,
                German.toString(double(timer.elapsed()) / 1000.0, 'f', 1) + u" s", {});
    // As tolven-admin does after filling: the planners need the statistics.
    timer.restart();
    store::schema::analyze(*store::Session::openUnchecked(target, false));
    bench.print(u"Statistik (ANALYZE)"_qs, German.toString(double(timer.elapsed()) / 1000.0, 'f', 1) + u" s", {});
    bench.run(today);
}

} // namespace

int main(int argc, char *argv[])
{
    return RunBenchmark(argc, argv, benchmark);
}
