// Prints how long the evaluations of the main window take, on demo firms of
// 5000 articles and 10 competitors, the median of several runs:
// - "Preisvergleich" over N positions in the grid (every position of the
//   firm searched): from the menu command to the dialog shown with its
//   tables filled and painted;
// - the grid's repaint while scrolling through V rows, with the undercut
//   marks and without them (the model answering no look of its own, as
//   before): 400 jumps from top to bottom, each page and the one after it
//   repainted, the time per page;
// - "Preisverlauf" of an article with H positions: from the menu command to
//   the dialog shown with its chart drawn, with the statements it sent.
//
//   bench_analysis [--compare N] [--grid V] [--history H] [--runs R] [HOST:PORT]
//
// SQLite is a file in a temporary folder; with HOST:PORT the PostgreSQL
// database "tolven" there (its tables are recreated) is measured too.

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include "access/Dialogs.h"
#include "analysis/PriceMarks.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"
#include "positions/FMStart.h"
#include "positions/PositionColumns.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionModel.h"
#include "store/DatabaseTarget.h"
#include "store/Session.h"
#include "store/StoreFactory.h"

#include "BenchClient.h"
#include "BenchMain.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int Articles = 5000;
const QString HistoryArticle = u"100001"_s;

struct Options
{
    int compare = 100000;
    int grid = 250000;
    int history = 500;
    int runs = 5;
    QString postgres;
};

// Shows each dialog of the evaluations as exec() would, until it has been
// painted, and notes the time; every other box is answered unattended.
class TimingDialogs : public tolven::Dialogs
{
public:
    TimingDialogs(UnattendedDialogs &unattended, QElapsedTimer &timer)
        : m_unattended(unattended)
        , m_timer(timer)
    {
    }

    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        return m_unattended.message(parent, icon, title, text, buttons, defaultButton);
    }
    int execModal(QDialog &dialog) override
    {
        dialog.show();
        dialog.repaint();
        for (QWidget *child : dialog.findChildren<QWidget *>()) {
            if (child->isVisible())
                child->repaint();
        }
        m_shownAfter = double(m_timer.nsecsElapsed()) / 1e6;
        m_dialog = dialog.objectName();
        dialog.hide();
        return QDialog::Rejected;
    }
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override
    {
        return m_unattended.saveFileName(parent, title, proposedPath, filter, defaultSuffix);
    }
    QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter) override
    {
        return m_unattended.openFileName(parent, title, folder, filter);
    }
    int execPrintPreview(QPrintPreviewDialog &preview) override { return m_unattended.execPrintPreview(preview); }

    double shownAfter() const { return m_shownAfter; }
    const QString &dialog() const { return m_dialog; }

private:
    UnattendedDialogs &m_unattended;
    QElapsedTimer &m_timer;
    double m_shownAfter = 0;
    QString m_dialog;
};

// H positions of one article: the firm's competitors in turn, each a price
// every few weeks over the last years, some with an end date.
void addHistory(const store::DatabaseTarget &target, int positions)
{
    store::StoreFactory factory;
    factory.connectTo(target);
    QStringList competitors;
    auto list = factory.openQuery(u"Konkur.Par"_s, u"Konkur"_s);
    list->execute({u"1"_s});
    while (list->next())
        competitors << list->getColumn(2);
    list->close();
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    const QDate today = QDate::currentDate();
    for (int n = 0; n < positions; ++n) {
        const int competitor = n % int(competitors.size());
        const int step = n / int(competitors.size());
        auto object = factory.createNew(u"Konkur.Konkur"_s);
        const QDate from = today.addDays(-7 * (positions / int(competitors.size()) - step) - competitor);
        const QList<std::pair<QString, QString>> properties{
            {u"Firma"_s, u"1"_s},
            {u"konkur"_s, competitors.at(competitor)},
            {u"Artnr"_s, HistoryArticle},
            {u"Preistyp"_s, u"LISTE"_s},
            {u"DatumAb"_s, from.toString(Qt::ISODate)},
            {u"DatumBis"_s, step % 4 == 3 ? from.addDays(5).toString(Qt::ISODate) : QString()},
            {u"MengeAb"_s, u"1"_s},
            {u"PreisExcl"_s, QString::number(8.0 + (n * 37 % 100) / 25.0, 'f', 2)},
            {u"AendDatum"_s, from.toString(Qt::ISODate)}};
        for (const auto &[name, value] : properties)
            object->setProperty(name, value);
        object->sys_save();
        object->sys_Close();
    }
    windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
}

// Runs the window's menu command runs times; the times to the painted dialog.
QList<double> timeCommand(tolven::FMStart &window, const QString &action, TimingDialogs &dialogs,
                          QElapsedTimer &timer, int runs, quint64 &statements)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        const quint64 before = store::Session::statementsSent();
        timer.start();
        window.findChild<QAction *>(action)->trigger();
        times << dialogs.shownAfter();
        statements = store::Session::statementsSent() - before;
        QCoreApplication::processEvents();
    }
    return times;
}

constexpr int Pages = 400;

// Scrolls the grid from the first row to the last in Pages steps, each
// repainted, and the next page after each; milliseconds per repaint.
double scrollThrough(QTableView &grid)
{
    QScrollBar *bar = grid.verticalScrollBar();
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / Pages);
    int repaints = 0;
    QElapsedTimer timer;
    timer.start();
    for (int value = bar->minimum(); value <= bar->maximum(); value += step) {
        for (int page : {value, std::min(bar->maximum(), value + bar->pageStep())}) {
            bar->setValue(page);
            grid.viewport()->repaint();
            ++repaints;
        }
    }
    return double(timer.nsecsElapsed()) / 1e6 / repaints;
}

bool benchComparisonAndHistory(const QString &label, const store::DatabaseTarget &target, const QString &server,
                               const QString &port, const Options &options, QTextStream &out)
{
    FillDemo(target, {Articles, options.compare}, out);
    addHistory(target, options.history);
    BenchClient client(u"bench_analysis"_s);
    tolven::FMStart window;
    if (!client.start(window, server, port))
        return false;
    window.BUSuch_Click();
    QElapsedTimer timer;
    TimingDialogs dialogs(client.dialogs(), timer);
    tolven::InstallDialogs(&dialogs);
    quint64 statements = 0;
    const QList<double> comparison = timeCommand(window, u"m_preisvergleich"_s, dialogs, timer, options.runs,
                                                 statements);
    out << "  " << label << ": \"Preisvergleich\" über " << German.toString(window.positionArray().rowCount())
        << " Positionen: " << Seconds(Median(comparison)) << " (" << dialogs.dialog() << ")\n";

    auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_s);
    int row = 0;
    while (row < window.positionArray().rowCount()
           && window.positionArray().cell(row, tolven::PositionColumn::Artnr).toString() != HistoryArticle)
        ++row;
    grid->setCurrentIndex(window.positionArray().index(row, tolven::PositionColumn::Artnr));
    const QList<double> history = timeCommand(window, u"m_preisverlauf"_s, dialogs, timer, options.runs,
                                              statements);
    out << "  " << label << ": \"Preisverlauf\" eines Artikels mit " << German.toString(options.history)
        << " Positionen (und denen der Demo): " << Seconds(Median(history)) << ", " << statements
        << " SQL-Anweisung(en) (" << dialogs.dialog() << ")\n";
    out.flush();
    tolven::InstallDialogs(nullptr);
    return true;
}

bool benchGrid(const store::DatabaseTarget &target, const QString &server, const QString &port,
               const Options &options, QTextStream &out)
{
    FillDemo(target, {Articles, options.grid}, out);
    BenchClient client(u"bench_analysis"_s);
    tolven::FMStart window;
    if (!client.start(window, server, port))
        return false;
    window.BUSuch_Click();
    auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_s);
    // The price column in view, where the marks are.
    grid->scrollTo(window.positionArray().index(0, tolven::PositionColumn::PreisIncl));
    tolven::PositionModel &positions = window.positionArray();
    tolven::PriceMarks &marks = window.evaluation().marks();
    const auto withMarks = [&] {
        positions.setCellLook([&marks](int r, int c, int role) { return marks.look(r, c, role); });
    };
    QList<double> with;
    QList<double> without;
    // One pass to warm up, then in turns, each first every other run, so
    // that neither profits from a warmer cache.
    scrollThrough(*grid);
    for (int run = 0; run < options.runs * 2; ++run) {
        const bool marked = (run % 2 == 0) == (run % 4 < 2);
        if (marked)
            withMarks();
        else
            positions.setCellLook(nullptr);
        (marked ? with : without) << scrollThrough(*grid);
    }
    out << "  Raster mit " << German.toString(positions.rowCount()) << " Zeilen (" << marks.countText()
        << "), von oben bis unten in " << Pages << " Sprüngen zu je zwei Seiten neu gezeichnet, je Seite:\n"
        << "    ohne Markierung " << German.toString(Median(without), 'f', 2) << " ms, mit Markierung "
        << German.toString(Median(with), 'f', 2) << " ms ("
        << German.toString((Median(with) / Median(without) - 1) * 100, 'f', 1) << " %)\n";
    out.flush();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    PrepareOffscreenProcess();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    Options options;
    const bool parsed = ParseNumberOptions(QCoreApplication::arguments().mid(1),
                                           {{u"--compare"_s, &options.compare},
                                            {u"--grid"_s, &options.grid},
                                            {u"--history"_s, &options.history},
                                            {u"--runs"_s, &options.runs}},
                                           options.postgres);
    if (!parsed || options.compare < 1 || options.grid < 1 || options.history < 1 || options.runs < 1) {
        QTextStream(stderr) << "Aufruf: bench_analysis [--compare N] [--grid V] [--history H] [--runs R] [HOST:PORT]\n";
        return 2;
    }
    out << "Auswertungen im Hauptfenster; Demo mit " << German.toString(Articles)
        << " Artikeln und 10 Mitbewerbern; Median aus " << options.runs << " Läufen; "
        << QThread::idealThreadCount() << " Kerne; Qt " << qVersion() << "\n";
    bool ok = true;
    try {
        QTemporaryDir dir;
        const store::DatabaseTarget sqlite = store::DatabaseTarget::sqlite(dir.filePath(u"bench.db"_s));
        ok &= benchComparisonAndHistory(u"SQLite"_s, sqlite, sqlite.path, u"1972"_s, options, out);
        if (!options.postgres.isEmpty()) {
            const store::DatabaseTarget pg = store::ParseAdminTarget(options.postgres);
            ok &= benchComparisonAndHistory(u"PostgreSQL"_s, pg, pg.host, QString::number(pg.port), options, out);
        }
        QTemporaryDir gridDir;
        const store::DatabaseTarget grid = store::DatabaseTarget::sqlite(gridDir.filePath(u"grid.db"_s));
        ok &= benchGrid(grid, grid.path, u"1972"_s, options, out);
    } catch (const tolven::AccessError &e) {
        QTextStream(stderr) << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
    return ok ? 0 : 1;
}
