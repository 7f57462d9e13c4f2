#include "PositionSave.h"

#include <QElapsedTimer>
#include <QHash>

#include <map>
#include <memory>
#include <numeric>
#include <optional>

#include "access/cacheapi.h"
#include "common/DisplayFormat.h"
#include "objectapi/AccessError.h"
#include "objectapi/Numbers.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"
#include "positions/CellEdit.h"
#include "positions/KeyFigures.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString PositionClass = u"Konkur.Konkur"_s;

// A date cell in server form. A cell that holds no date is sent as it is, so
// that the server names what is wrong with it.
QString ServerDate(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QDate)
        return cell.toDate().toString(Qt::ISODate);
    const QString text = cell.toString();
    if (const QDate date = ParseDisplayDate(text); date.isValid())
        return date.toString(Qt::ISODate);
    return text;
}

// A number cell in server form; text that is no number is sent as it is.
QString ServerNumberOf(const QVariant &cell)
{
    if (const std::optional<double> number = CellNumber(cell))
        return ServerNumber(*number);
    return cell.toString();
}

} // namespace

QList<std::pair<QString, QString>> PositionProperties(const PackedRow &row, const QDate &today,
                                                      const QSet<QString> &endDateTypes)
{
    const auto text = [&row](int column) { return row.cell(column).toString(); };
    const bool collective = text(PositionColumn::SAM) == u"J";
    QList<std::pair<QString, QString>> properties{
        {u"konkur"_s, text(PositionColumn::Konkur)},
        {u"Artnr"_s, text(PositionColumn::Artnr)},
        {u"ArtBez"_s, collective ? text(PositionColumn::ArtBez) : QString()},
        {u"Preistyp"_s, text(PositionColumn::Preistyp)},
        {u"DatumAb"_s, ServerDate(row.cell(PositionColumn::DatumAb))},
    };
    if (!row.isEmpty(PositionColumn::DatumBis) || endDateTypes.contains(text(PositionColumn::Preistyp)))
        properties.append({u"DatumBis"_s, ServerDate(row.cell(PositionColumn::DatumBis))});
    properties.append({
        {u"MengeAb"_s, ServerNumberOf(row.cell(PositionColumn::MengeAb))},
        {u"VKE"_s, text(PositionColumn::VKE)},
        {u"PreisExcl"_s, ServerNumberOf(row.cell(PositionColumn::PreisExcl))},
        {u"PreisKalk"_s, ServerNumberOf(row.cell(PositionColumn::PreisKalk))},
        {u"VRE"_s, text(PositionColumn::VRE)},
        {u"notiz"_s, text(PositionColumn::Notiz)},
        {u"ZAnr"_s, text(PositionColumn::ZAnr)},
        {u"AendDatum"_s, today.toString(Qt::ISODate)},
    });
    if (collective)
        properties.append({u"IntPreis"_s, ServerNumberOf(row.cell(PositionColumn::IntPreis))});
    return properties;
}

PositionSaver::PositionSaver(PositionModel &positions, QStringList &deletions, QString firm, QDate today,
                             Progress progress)
    : m_positions(positions)
    , m_deletions(deletions)
    , m_firm(std::move(firm))
    , m_today(today)
    , m_progress(std::move(progress))
{
}

bool PositionSaver::run()
{
    QList<int> rows;
    for (int row = 0; row < m_positions.rowCount(); ++row) {
        if (IsEmptyCell(m_positions.cell(row, PositionColumn::AendDatum)))
            rows << row;
    }
    m_done = 0;
    m_total = int(m_deletions.size() + rows.size());
    m_stopped = false;
    m_overwriteIds.clear();
    m_overwriteRows.clear();
    m_recreateRows.clear();

    // Deletions leave the list from its front, in the order they are made.
    QList<int> deletions(m_deletions.size());
    std::iota(deletions.begin(), deletions.end(), 0);
    const QStringList ids = m_deletions;
    const Step deleting{u"Positionen löschen"_s, [this, &ids](int item) { deleteId(ids.at(item)); },
                        [this](const QList<int> &items) { m_deletions.remove(0, items.size()); },
                        [&ids](int item, bool gone) { return Conflict{ids.at(item), -1, gone}; },
                        [this](int) { m_deletions.removeFirst(); }};
    if (!runBatched(deletions, deleting))
        return false;

    // The objects of a transaction's rows stay open until it is committed:
    // their rows go to the server together, and only then are their ids
    // and versions known for sure.
    std::map<int, std::unique_ptr<ServerObject>> stored;
    const Step storing{u"Positionen speichern"_s, [this, &stored](int row) { stored[row] = storeRow(row); },
                       [this, &stored](const QList<int> &items) {
                           for (int row : items) {
                               std::unique_ptr<ServerObject> position = std::move(stored[row]);
                               stored.erase(row);
                               PackedRow::Cells saved;
                               saved[PositionColumn::UID] = position->sys_ID();
                               saved[PositionColumn::AendDatum] = m_today;
                               m_positions.mergeCells(row, saved);
                               m_positions.setRowVersion(row, position->sys_Version().toLongLong());
                               CloseServerObject(position);
                           }
                       },
                       [this](int row, bool gone) {
                           return Conflict{m_positions.cell(row, PositionColumn::UID).toString(), row, gone};
                       },
                       [&stored](int row) { stored.erase(row); }};
    return runBatched(rows, storing);
}

namespace {

// What the version check of a write reports: changed or gone meanwhile.
bool IsConflict(const AccessError &error)
{
    return error.number() == ErrorNumber::Conflict || error.number() == ErrorNumber::ObjectNotFound;
}

} // namespace

bool PositionSaver::runBatched(const QList<int> &items, const Step &step)
{
    qsizetype next = 0;
    while (next < items.size()) {
        if (m_stopped)
            return false;
        const qsizetype begin = next;
        // The version check failed for items[next]: written immediately, the
        // write reports it; sent with the others at TCOMMIT, the error names it.
        std::optional<AccessError> conflict;
        bool failed = false;
        try {
            QElapsedTimer clock;
            clock.start();
            XecuteOnServer(u"TSTART"_s);
            while (next < items.size() && next - begin < BatchRows && clock.elapsed() < BatchMilliseconds) {
                try {
                    step.apply(items.at(next));
                } catch (const AccessError &error) {
                    if (!m_conflicts || !IsConflict(error))
                        throw;
                    conflict = error;
                    break;
                }
                ++next;
            }
            if (!conflict)
                XecuteOnServer(u"TCOMMIT"_s);
        } catch (const AccessError &batchError) {
            RollBackOnServer();
            // Without the connection nothing more can be stored; its loss is
            // what the user is told, not that the next row found none.
            if (batchError.number() == ErrorNumber::ConnectionLost
                || batchError.number() == ErrorNumber::NotConnected) {
                ReportAccessError(batchError, step.operation);
                return false;
            }
            qsizetype at = begin;
            if (m_conflicts && IsConflict(batchError) && !batchError.objectId().isEmpty()) {
                while (at < next && step.conflict(items.at(at), false).id != batchError.objectId())
                    ++at;
            } else {
                at = next;
            }
            if (at < next) {
                next = at;
                conflict = batchError;
            } else {
                failed = true;
            }
        }
        if (failed) {
            // Again one item a transaction, up to the one that failed: what
            // comes before it is stored, and its own error is the one shown.
            const qsizetype last = qMin(next, items.size() - 1);
            for (qsizetype item = begin; item <= last; ++item) {
                try {
                    step.apply(items.at(item));
                } catch (const AccessError &error) {
                    ReportAccessError(error, step.operation);
                    return false;
                }
                step.committed({items.at(item)});
                ++m_done;
            }
            next = last + 1;
            report();
            continue;
        }
        if (conflict) {
            RollBackOnServer();
            switch (resolveConflict(items.mid(begin, next - begin), items.at(next), *conflict, step)) {
            case Answer::Cancel:
                return false;
            case Answer::Reload:
                ++next;  // done: it shows what is stored
                break;
            case Answer::Overwrite:
                break;   // it opens the next batch, written all the same
            }
            continue;
        }
        step.committed(items.mid(begin, next - begin));
        m_done += int(next - begin);
        report();
    }
    return !m_stopped;
}

PositionSaver::Answer PositionSaver::resolveConflict(const QList<int> &before, int item, const AccessError &error,
                                                     const Step &step)
{
    // The rows before it were rolled back with it; they are stored first, so
    // that what the user is asked about is the only row left of the batch.
    if (!before.isEmpty() && !runBatched(before, step))
        return Answer::Cancel;
    const Conflict conflict = step.conflict(item, error.number() == ErrorNumber::ObjectNotFound);
    const Answer answer = m_conflicts(conflict);
    switch (answer) {
    case Answer::Cancel:
        m_stopped = true;
        break;
    case Answer::Overwrite:
        if (conflict.row < 0) {
            m_overwriteIds.insert(conflict.id);
        } else {
            m_overwriteRows.insert(item);
            if (conflict.gone)
                m_recreateRows.insert(item);
        }
        break;
    case Answer::Reload:
        step.skipped(item);
        ++m_done;
        report();
        break;
    }
    return answer;
}

void PositionSaver::report()
{
    if (m_progress && !m_progress(m_done, m_total))
        m_stopped = true;
}

std::unique_ptr<ServerObject> PositionSaver::storeRow(int row)
{
    const PackedRow &cells = m_positions.packedRow(row);
    const QString id = cells.cell(PositionColumn::UID).toString();
    std::unique_ptr<ServerObject> position;
    if (id.isEmpty() || m_recreateRows.contains(row)) {
        position = Factory().createNew(PositionClass);
        position->setProperty(u"Firma"_s, m_firm);
    } else {
        // Written without reading it first: the row says what is to be stored,
        // and its version that nobody has changed it since it was read.
        position = Factory().openForWrite(PositionClass, id);
        if (cells.version() > 0 && !m_overwriteRows.contains(row))
            position->sys_ExpectVersion(QString::number(cells.version()));
    }
    for (const auto &[name, value] : PositionProperties(cells, m_today, m_endDateTypes))
        position->setProperty(name, value);
    position->sys_save();
    return position;
}

void PositionSaver::deleteId(const QString &id)
{
    try {
        std::unique_ptr<ServerObject> position = Factory().openForWrite(PositionClass, id);
        if (const qint64 version = m_deletionVersions.value(id); version > 0 && !m_overwriteIds.contains(id))
            position->sys_ExpectVersion(QString::number(version));
        position->sys_deleteid(id);
        CloseServerObject(position);
    } catch (const AccessError &error) {
        // Deleted meanwhile, by another user or by a save that stopped
        // before it could take the id off the list: deleted all the same.
        if (error.number() != ErrorNumber::ObjectNotFound)
            throw;
    }
}

} // namespace tolven
