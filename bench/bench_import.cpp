// Prints how long the import takes in the main window, on a demo firm of
// 5000 articles: a file of N lines (grid captions, every line another
// position of a demo article) read and checked to the filled preview of the
// import dialog, the articles of all lines fetched from the server; and
// from the file to the grid with the rows' article data, "Übernehmen"
// included. Both as CSV and as an Excel workbook of the same rows, on
// SQLite and, given HOST:PORT, on PostgreSQL; the median of several runs,
// with the statements sent.
//
//   bench_import [--rows N] [--runs R] [HOST:PORT]

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include "access/Dialogs.h"
#include "output/CsvFile.h"
#include "output/XlsxFile.h"
#include "positions/FMImport.h"
#include "positions/FMStart.h"
#include "positions/LookupTable.h"
#include "positions/PositionModel.h"
#include "store/DatabaseTarget.h"
#include "store/Session.h"

#include "BenchClient.h"
#include "BenchMain.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int Articles = 5000;

struct Options
{
    int rows = 10000;
    int runs = 5;
    QString postgres;
};

// Lines no two alike, every article of the demo among them: two lines per
// article (of two competitors), the quantity growing once all are used.
tolven::ExportTable ImportTable(const QStringList &competitors, int rows)
{
    tolven::ExportTable table;
    const QStringList captions{u"Konkur"_s, u"Art-Nr"_s, u"Datum ab"_s, u"Menge ab"_s, u"Preis incl."_s, u"Notiz"_s};
    const tolven::ExportKind kinds[] = {tolven::ExportKind::Text,     tolven::ExportKind::Text,
                                        tolven::ExportKind::Date,     tolven::ExportKind::Quantity,
                                        tolven::ExportKind::Price,    tolven::ExportKind::Text};
    for (int column = 0; column < captions.size(); ++column)
        table.columns << tolven::ExportColumn{captions.at(column), column, kinds[column]};
    for (int line = 0; line < rows; ++line) {
        table.rows << tolven::ExportRow{competitors.at(line % competitors.size()),
                                        QString::number(100001 + line / 2 % Articles), QDate(2026, 3, 1),
                                        double(1 + line / (2 * Articles)), 10.0 + line % 997 / 100.0,
                                        u"Flyer KW 10"_s};
    }
    return table;
}

// The import dialog measured while it is shown: the file read to the
// filled preview, then "Übernehmen". Every other box goes to the
// unattended dialogs.
class MeasuringDialogs : public tolven::Dialogs
{
public:
    MeasuringDialogs(tolven::Dialogs &others, QString path)
        : m_others(others)
        , m_path(std::move(path))
    {
    }
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        return m_others.message(parent, icon, title, text, buttons, defaultButton);
    }
    int execModal(QDialog &dialog) override
    {
        auto *import = qobject_cast<tolven::FMImport *>(&dialog);
        if (!import)
            return m_others.execModal(dialog);
        QElapsedTimer timer;
        timer.start();
        import->readFile(m_path);
        previewMilliseconds = double(timer.nsecsElapsed()) / 1e6;
        accepted = int(import->acceptedRows().size());
        refused = int(import->result().refusals.size());
        return QDialog::Accepted;
    }
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override
    {
        return m_others.saveFileName(parent, title, proposedPath, filter, defaultSuffix);
    }
    QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter) override
    {
        return m_others.openFileName(parent, title, folder, filter);
    }
    int execPrintPreview(QPrintPreviewDialog &preview) override { return m_others.execPrintPreview(preview); }

    double previewMilliseconds = 0;
    int accepted = 0;
    int refused = 0;

private:
    tolven::Dialogs &m_others;
    QString m_path;
};

bool benchTarget(const QString &label, const store::DatabaseTarget &target, const QString &server,
                 const QString &port, const Options &options, QTextStream &out)
{
    FillDemo(target, {Articles, 1000}, out);
    BenchClient client(u"bench_import"_s);
    tolven::FMStart window;
    if (!client.start(window, server, port))
        return false;
    const tolven::ExportTable table = ImportTable(window.competitorArray().codes(), options.rows);
    QTemporaryDir dir;
    QString error;
    const std::pair<QString, std::optional<QByteArray>> files[] = {
        {u"CSV"_s, tolven::CsvBytes(table, &error)}, {u"Excel"_s, tolven::XlsxBytes(table, &error)}};
    bool ok = true;
    for (const auto &[format, bytes] : files) {
        const QString path = dir.filePath(u"import."_s + format);
        QFile file(path);
        if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size()) {
            QTextStream(stderr) << "bench_import: " << path << " nicht geschrieben " << error << "\n";
            return false;
        }
        file.close();
        QList<double> previews;
        QList<double> totals;
        quint64 statements = 0;
        MeasuringDialogs dialogs(client.dialogs(), path);
        for (int run = 0; run < options.runs; ++run) {
            window.positionArray().clear();
            tolven::InstallDialogs(&dialogs);
            const quint64 sentBefore = store::Session::statementsSent();
            QElapsedTimer timer;
            timer.start();
            window.findChild<QPushButton *>(u"BUImport"_s)->click();
            totals << double(timer.nsecsElapsed()) / 1e6;
            statements = store::Session::statementsSent() - sentBefore;
            tolven::InstallDialogs(&client.dialogs());
            previews << dialogs.previewMilliseconds;
            ok &= window.positionArray().rowCount() == options.rows && dialogs.refused == 0;
        }
        out << "  " << label.leftJustified(11) << format.leftJustified(6) << German.toString(options.rows).rightJustified(7)
            << " Zeilen (" << German.toString(bytes->size() / 1024) << " KiB): bis zur Vorschau "
            << Seconds(Median(previews)).rightJustified(7) << ", bis ins Raster mit Artikeldaten "
            << Seconds(Median(totals)).rightJustified(7) << " (" << German.toString(window.positionArray().rowCount())
            << " Zeilen im Raster, " << dialogs.refused << " abgewiesen, " << German.toString(statements)
            << " Anweisungen)\n";
        out.flush();
    }
    window.positionArray().clear();
    window.close();
    return ok && client.dialogs().shown().isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    PrepareOffscreenProcess();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    Options options;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        int *number = argument == u"--rows" ? &options.rows : argument == u"--runs" ? &options.runs : nullptr;
        bool ok = true;
        if (number && i + 1 < arguments.size())
            *number = arguments[++i].toInt(&ok);
        else if (argument.startsWith(u"--") || !options.postgres.isEmpty())
            ok = false;
        else
            options.postgres = argument;
        if (!ok || options.rows < 1 || options.runs < 1) {
            QTextStream(stderr) << "Aufruf: bench_import [--rows N] [--runs R] [HOST:PORT]\n";
            return 2;
        }
    }
    out << "Import im Hauptfenster; Median aus " << options.runs << " Läufen; Demo mit " << German.toString(Articles)
        << " Artikeln; " << QThread::idealThreadCount() << " Kerne; Qt " << qVersion() << "\n";
    return RunClientBenchmark(options.postgres, [&](const QString &label, const store::DatabaseTarget &target,
                                                    const QString &server, const QString &port) {
        return benchTarget(label, target, server, port, options, out);
    });
}
