// Prints how long the calls of the main window take on a large demo firm:
// filling it, the position query with each of its filters (through the
// object interface, which reads the rows' articles with them), the free-text
// filter's statement alone, the article data of a position, the article
// list, the article search and the partner search.
// Median of several rounds after one warm-up; sizes are printed with the figures.
//
//   bench_business                 SQLite file in a temporary folder
//   bench_business HOST:PORT       also the PostgreSQL database "tolven" there
//                                  (its TOLVEN tables are recreated)

#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include "objectapi/AccessError.h"
#include "objectapi/MLiteral.h"
#include "store/ClassRegistry.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

#include "BenchMain.h"

using namespace Qt::StringLiterals;

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
    Bench(store::StoreFactory &factory, store::DatabaseTarget target, QTextStream &out)
        : m_factory(factory)
        , m_target(std::move(target))
        , m_out(out)
    {
    }

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

    // The statement of the position query alone, run directly and read to the end.
    void timeStatement(const QString &label, const QStringList &arguments)
    {
        const store::QueryDescription *konkur = store::FindClass(u"Konkur.Konkur"_s)->findQuery(u"Konkur"_s);
        int rows = 0;
        const double time = medianMicroseconds(1, [&] {
            const store::SqlStatement statement = konkur->build(*m_session, arguments);
            store::Statement query = m_session->newStatement(statement.sql);
            for (const QVariant &value : statement.values)
                query.addBindValue(value);
            m_session->exec(query, label);
            const int columns = query.record().count();
            rows = 0;
            while (query.next()) {
                for (int column = 0; column < columns; ++column)
                    query.value(column);
                ++rows;
            }
        });
        print(label, figure(time), German.toString(rows) + u" Zeilen");
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
        return m_windows->callMethod(u"Xecute"_s, {command});
    }

    void print(const QString &label, const QString &value, const QString &note)
    {
        m_out << "  " << label.leftJustified(44) << value.rightJustified(10) << "   " << note << "\n";
        m_out.flush();
    }

    void run(const QDate &today)
    {
        // Opened after the fill, as the client's are: it sees the planner's statistics.
        m_session = store::Session::open(m_target);
        m_windows = m_factory.classObject(u"TV.Windows"_s);
        xecute(u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s);
        xecute(u"D ^%XTT"_s);

        const QString firm = u"1"_s;
        const QString article = store::demo::WidelyPricedArticle.toString();
        timeQuery(u"Konkur: Mitbewerber WERKHOF"_s, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, u"WERKHOF"_s, {}, {}, {}});
        timeQuery(u"Konkur: Artikel " + article, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, article, {}, {}});
        timeQuery(u"Konkur: Text \"zement\""_s, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, u"zement"_s, {}});
        const QString since = today.addDays(-7).toString(Qt::ISODate);
        timeQuery(u"Konkur: geändert seit " + since, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, {}, since});
        timeQuery(u"Konkur: ohne Filter"_s, u"Konkur.Konkur"_s, u"Konkur"_s, {firm, {}, {}, {}, {}});
        // Keys of three characters and more go through the text index, shorter ones read the firm.
        for (const QString &text : {u"zement"_s, u"grau"_s, u"nylon 8x"_s, u"mm"_s})
            timeStatement(u"Freitext \"" + text + u"\", Anweisung allein", {firm, {}, {}, text, {}});
        timeQuery(u"Artikelliste"_s, u"Konkur.Konkur"_s, u"Artikelliste"_s, {firm});
        timeQuery(u"KkrSuche Lieferanten, Sammelkonto 7"_s, u"TV.Windows"_s, u"KkrSuche"_s,
                  {firm, u"L"_s, {}, u"7"_s});
        timeQuery(u"KkrSuche Kunden \"M\""_s, u"TV.Windows"_s, u"KkrSuche"_s, {firm, u"K"_s, u"M"_s, {}});

        auto positions = m_factory.classObject(u"Konkur.Konkur"_s);
        constexpr int Calls = 500;
        double time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i)
                positions->callMethod(u"ArtikelDaten"_s, {firm, article, u"1"_s});
        });
        print(u"ArtikelDaten(1, " + article + u", 1)", figure(time), u"je Aufruf"_s);
        // Articles spread over the whole firm, as a search fetches them.
        time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i) {
                const QString number = QString::number(100001 + (i * 7919) % BenchSize.articles);
                positions->callMethod(u"ArtikelDaten"_s, {firm, number, u"10"_s});
            }
        });
        print(u"ArtikelDaten, 500 verschiedene Artikel"_s, figure(time), u"je Aufruf"_s);

        const QString search = u"D GETARF^TVCLSU(" + tolven::MQuote(u"KVH"_s) + u",\"\",\"\",\"\",\"\",\"\",\"\")";
        time = medianMicroseconds(Calls, [&] {
            for (int i = 0; i < Calls; ++i)
                xecute(search);
        });
        print(u"GETARF \"KVH\" (erste Seite)"_s, figure(time), u"je Aufruf, 4 Artikel je Seite"_s);
        const QString all = u"D GETARF^TVCLSU(\"\",\"\",\"\",\"\",\"\",\"\",\"\")"_s;
        int pages = 0;
        time = medianMicroseconds(1, [&] {
            pages = 0;
            for (QString page = xecute(all); !page.isEmpty(); page = xecute(u"D GETARN^TVCLSU"_s))
                ++pages;
        });
        print(u"GETARF + GETARN durch alle Artikel"_s, figure(time / std::max(pages, 1)),
              u"je Seite, " + German.toString(pages) + u" Seiten");
    }

private:
    store::StoreFactory &m_factory;
    store::DatabaseTarget m_target;
    std::shared_ptr<store::Session> m_session;
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
    Bench bench(factory, target, out);
    QElapsedTimer timer;
    timer.start();
    store::FillDemoData(factory, BenchSize, today);
    bench.print(u"Demodaten einspielen (ein TSTART/TCOMMIT)"_s,
                German.toString(double(timer.elapsed()) / 1000.0, 'f', 1) + u" s", {});
    // As tolven-admin does after filling: the planners need the statistics.
    timer.restart();
    store::schema::analyze(*store::Session::openUnchecked(target, false));
    bench.print(u"Statistik (ANALYZE)"_s, German.toString(double(timer.elapsed()) / 1000.0, 'f', 1) + u" s", {});
    bench.run(today);
}

} // namespace

int main(int argc, char *argv[])
{
    return RunBenchmark(argc, argv, benchmark);
}
