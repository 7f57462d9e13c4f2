// A client process without windows for the process tests: it logs in and
// writes the way the client does, through the gateway and the object
// interface, printing a line after each committed step, until it is done or
// killed.
//
//   save_worker save CONNECT N            N new positions through the main window's PositionSaver
//   save_worker replace CONNECT ROUNDS    the competitor list replaced by list B, A, B, ... as the
//                                         master-data window does it
//   save_worker race CONNECT TAG ROUNDS   each round a position search, then a save of the worker's
//                                         rows changed and one row more
//   save_worker contend CONNECT TAG ROUNDS each round a search of the shared positions (note
//                                         "geteilt"), a new price in each and a save; a position
//                                         another worker wrote since the search is left as it is
//                                         ("Neu laden"); prints the writes and conflicts at the end
//
// Exit code 0 when all is done; 1 when an error ended it, 2 when the login
// fails; 3 when the client would have shown a message box (its text goes to
// standard error); 4 when a transaction of the race had to be rolled back
// (the position save then stores its rows one by one, so that nothing shows).

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QSet>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "WorkerRows.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "objectapi/AccessError.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionSave.h"
#include "positions/PositionSearch.h"
#include "store/StoreFactory.h"
#include "support/InterceptingFactory.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

void Say(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// A box the client would show ends the worker: nobody is there to answer it.
class NoDialogs : public Dialogs
{
public:
    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons, QMessageBox::StandardButton) override
    {
        std::fputs(qPrintable(title + u": " + text + u'\n'), stderr);
        std::fflush(stderr);
        std::_Exit(3);
    }
    int execModal(QDialog &) override { return QDialog::Rejected; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    int execPrintPreview(QPrintPreviewDialog &) override { return 0; }
};

void AppendPosition(PositionModel &positions, int tag, int n)
{
    const workerrows::Row row = workerrows::PositionRow(tag, n);
    PositionModel::Row cells(PositionColumnCount);
    cells[PositionColumn::Konkur] = u"WERKHOF"_s;
    cells[PositionColumn::Artnr] = u"200004"_s;
    cells[PositionColumn::Preistyp] = u"L"_s;
    cells[PositionColumn::DatumAb] = row.from;
    cells[PositionColumn::MengeAb] = row.quantity;
    cells[PositionColumn::VKE] = u"Sack"_s;
    cells[PositionColumn::PreisExcl] = row.price;
    cells[PositionColumn::PreisKalk] = row.calculated;
    cells[PositionColumn::VRE] = u"Pal"_s;
    cells[PositionColumn::Notiz] = row.note;
    cells[PositionColumn::ZAnr] = QString(u"Z-"_s + QString::number(n));
    cells[PositionColumn::SAM] = u"N"_s;
    positions.appendRow(cells);
}

bool Save(PositionModel &positions)
{
    QStringList deletions;
    PositionSaver saver(positions, deletions, workerrows::Firm, workerrows::SaveDay, [](int done, int) {
        Say(u"gespeichert "_s + QString::number(done));
        return true;
    });
    return saver.run();
}

int SavePositions(int count)
{
    PositionModel positions;
    for (int n = 0; n < count; ++n)
        AppendPosition(positions, 1, n);
    return Save(positions) ? 0 : 1;
}

int ReplaceLists(int rounds)
{
    for (int round = 1; round <= rounds; ++round) {
        XecuteOnServer(u"TSTART"_s);
        try {
            std::unique_ptr<ServerObject> list = Factory().classObject(u"Konkur.Par"_s);
            list->callMethod(u"Delall"_s, {workerrows::Firm});
            CloseServerObject(list);
            for (const auto &[code, name] : workerrows::CompetitorList(round % 2 ? u'B' : u'A')) {
                std::unique_ptr<ServerObject> object = Factory().createNew(u"Konkur.Par"_s);
                object->setProperty(u"Firma"_s, workerrows::Firm);
                object->setProperty(u"konkur"_s, code);
                object->setProperty(u"konkurbez"_s, name);
                object->sys_save();
                CloseServerObject(object);
            }
            XecuteOnServer(u"TCOMMIT"_s);
        } catch (const AccessError &) {
            RollBackOnServer();
            throw;
        }
        Say(u"Liste "_s + QString::number(round));
    }
    return 0;
}

int SearchAndSave(int tag, int rounds, const int &rollbacks)
{
    constexpr int FirstRows = 20;
    PositionModel positions;
    for (int n = 0; n < FirstRows; ++n)
        AppendPosition(positions, tag, n);
    for (int round = 0; round < rounds; ++round) {
        // The search of the main window: the firm's positions, every filter empty.
        int found = 0;
        std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
        result->execute({workerrows::Firm, QString(), QString(), QString(), QString()});
        while (result->next())
            ++found;
        CloseServerObject(result);
        if (round > 0) {
            // The rows saved before are changed (read, then written, in one
            // transaction), and one is added.
            AppendPosition(positions, tag, FirstRows + round - 1);
            for (int row = 0; row < positions.rowCount(); ++row) {
                positions.setCell(row, PositionColumn::PreisExcl, round + 0.5);
                positions.setCell(row, PositionColumn::AendDatum, QVariant());
            }
        }
        if (!Save(positions))
            return 1;
        Say(u"Runde "_s + QString::number(round) + u" gefunden " + QString::number(found));
    }
    if (rollbacks > 0) {
        std::fputs(qPrintable(QString::number(rollbacks) + u" Transaktionen zurückgesetzt\n"), stderr);
        return 4;
    }
    return 0;
}

int ContendForSharedRows(int tag, int rounds)
{
    int writes = 0;
    int conflicts = 0;
    for (int round = 0; round < rounds; ++round) {
        PositionModel positions;
        QList<PackedRow> rows;
        QStringList readPrices;
        std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
        result->execute({workerrows::Firm, QString(), QString(), QString(), QString()});
        while (result->next()) {
            if (result->getColumn(13) != u"geteilt")
                continue;
            PackedRow::Cells cells = PositionSearch::RowFromResult([&result](int n) { return result->getColumn(n); });
            readPrices << result->getColumn(11);
            cells[PositionColumn::PreisExcl] = tag * 1000.0 + round;
            cells[PositionColumn::AendDatum] = QVariant();
            rows << PackedRow(cells);
            rows.last().setVersion(result->getColumn(18).toLongLong());
        }
        CloseServerObject(result);
        positions.setPackedRows(rows);
        QStringList deletions;
        QSet<int> refused;
        PositionSaver saver(positions, deletions, workerrows::Firm, workerrows::SaveDay);
        saver.setConflictHandler([&refused](const PositionSaver::Conflict &conflict) {
            refused.insert(conflict.row);
            return PositionSaver::Answer::Reload;
        });
        if (!saver.run())
            return 1;
        conflicts += int(refused.size());
        writes += int(rows.size() - refused.size());
        // What each write went over: the price this worker had read.
        for (int row = 0; row < positions.rowCount(); ++row) {
            if (!refused.contains(row)) {
                Say(u"geschrieben "_s + positions.cell(row, PositionColumn::UID).toString() + u' ' + readPrices.at(row)
                    + u' ' + QString::number(tag * 1000 + round));
            }
        }
    }
    Say(u"Schreiben "_s + QString::number(writes) + u" Konflikte " + QString::number(conflicts));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("save_worker save|replace|race CONNECT ...\n", stderr);
        return 64;
    }
    NoDialogs dialogs;
    InstallDialogs(&dialogs);
    int rollbacks = 0;
    cacheapi api([&rollbacks] {
        return std::make_unique<testsupport::InterceptingFactory>(
            std::make_unique<store::StoreFactory>(),
            [&rollbacks](const QString &, const QString &name, const QStringList &arguments) {
                rollbacks += name == u"Xecute" && arguments == QStringList{u"TROLLBACK"_s};
            });
    });
    api.setRetryWaitHundredths(0);
    LoginContext &context = api.context();
    context.Firm = workerrows::Firm;
    context.Branch = u"0"_s;
    context.UserCode = workerrows::User;
    context.ConnectString = args.at(2);
    try {
        if (!EnsureConnected())
            return 2;
        Say(u"angemeldet"_s);
        const QString mode = args.at(1);
        if (mode == u"save")
            return SavePositions(args.at(3).toInt());
        if (mode == u"replace")
            return ReplaceLists(args.at(3).toInt());
        if (mode == u"race" && args.size() == 5)
            return SearchAndSave(args.at(3).toInt(), args.at(4).toInt(), rollbacks);
        if (mode == u"contend" && args.size() == 5)
            return ContendForSharedRows(args.at(3).toInt(), args.at(4).toInt());
    } catch (const AccessError &error) {
        std::fputs(qPrintable(error.description() + u'\n'), stderr);
        return 1;
    }
    std::fputs("save_worker: unknown mode\n", stderr);
    return 64;
}
