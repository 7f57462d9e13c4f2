// The main window and other users' work: the question when a position was
// changed or deleted by someone else since it was read, and the history of
// a position.
#include "FMStart.h"

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "common/ChangeHistory.h"
#include "common/DisplayFormat.h"
#include "objectapi/AccessError.h"
#include "positions/FMStart_p.h"
#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "positions/PositionSearch.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

namespace {

const QString PositionClass = u"Konkur.Konkur"_s;

// "WERKHOF, Art-Nr. 100001, Preistyp 1, ab 01.02.2026": which position a message means.
QString DescribePosition(const PositionModel &positions, int row)
{
    const auto text = [&](int column) { return positions.cell(row, column).toString(); };
    QStringList parts{text(PositionColumn::Konkur), u"Art-Nr. " + text(PositionColumn::Artnr)};
    if (!text(PositionColumn::Preistyp).isEmpty())
        parts << u"Preistyp " + text(PositionColumn::Preistyp);
    const QVariant from = positions.cell(row, PositionColumn::DatumAb);
    if (from.typeId() == QMetaType::QDate)
        parts << u"ab " + DisplayDate(from.toDate());
    return parts.join(u", ");
}

// The latest entry of an object's history, or none when it cannot be read.
ChangeEntry LastChange(const QString &id)
{
    try {
        const QList<ChangeEntry> entries = ReadObjectHistory(PositionClass, id);
        if (!entries.isEmpty())
            return entries.first();
    } catch (const AccessError &) {
        // The question is asked without who and when.
    }
    return {};
}

} // namespace

QList<ChangeField> FMStart::PositionChangeFields()
{
    const auto field = [](const QString &property, int column, ChangeField::Kind kind) {
        return ChangeField{property, ColumnInfo(column).caption, kind};
    };
    return {field(u"konkur"_s, PositionColumn::Konkur, ChangeField::Text),
            field(u"Artnr"_s, PositionColumn::Artnr, ChangeField::Text),
            field(u"ArtBez"_s, PositionColumn::ArtBez, ChangeField::Text),
            field(u"ZAnr"_s, PositionColumn::ZAnr, ChangeField::Text),
            field(u"Preistyp"_s, PositionColumn::Preistyp, ChangeField::Text),
            field(u"DatumAb"_s, PositionColumn::DatumAb, ChangeField::Date),
            field(u"DatumBis"_s, PositionColumn::DatumBis, ChangeField::Date),
            field(u"MengeAb"_s, PositionColumn::MengeAb, ChangeField::Number),
            field(u"VKE"_s, PositionColumn::VKE, ChangeField::Text),
            field(u"IntPreis"_s, PositionColumn::IntPreis, ChangeField::Number),
            field(u"PreisExcl"_s, PositionColumn::PreisExcl, ChangeField::Number),
            field(u"VRE"_s, PositionColumn::VRE, ChangeField::Text),
            field(u"PreisKalk"_s, PositionColumn::PreisKalk, ChangeField::Number),
            field(u"notiz"_s, PositionColumn::Notiz, ChangeField::Text),
            field(u"AendDatum"_s, PositionColumn::AendDatum, ChangeField::Date)};
}

PositionSaver::Answer FMStart::answerSaveConflict(const PositionSaver::Conflict &conflict)
{
    const ChangeEntry last = LastChange(conflict.id);
    const QString by = ChangedByText(last);
    const QString when = by.isEmpty() ? QString() : u' ' + by;
    QString subject;
    QString options;
    if (conflict.row >= 0) {
        goToRow(conflict.row);
        subject = u"Die Position " + DescribePosition(*m_positions, conflict.row) + u" wurde inzwischen" + when
            + (conflict.gone ? u" gelöscht."_s : u" geändert."_s);
        options = conflict.gone ? u"„Neu laden“ nimmt die Zeile aus dem Raster, Ihre Änderung geht verloren. "
                                  u"„Überschreiben“ speichert die Zeile als neue Position. "_s
                                : u"„Neu laden“ liest die Position neu, Ihre Änderung geht verloren. "
                                  u"„Überschreiben“ speichert Ihre Änderung trotzdem. "_s;
    } else {
        subject = u"Die Position " + conflict.id + u", die Sie gelöscht haben, wurde inzwischen" + when
            + u" geändert.";
        options = u"„Neu laden“ holt die Position zurück ins Raster. „Überschreiben“ löscht sie trotzdem. "_s;
    }
    const QMessageBox::StandardButton answer =
        MsgBox(this, QMessageBox::Warning, WindowTitle,
               subject + u"\n\n" + options + u"„Abbrechen“ speichert nichts weiter.",
               ReloadButton | OverwriteButton | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == OverwriteButton)
        return PositionSaver::Answer::Overwrite;
    if (answer != ReloadButton)
        return PositionSaver::Answer::Cancel;
    return reloadPosition(conflict) ? PositionSaver::Answer::Reload : PositionSaver::Answer::Cancel;
}

bool FMStart::reloadPosition(const PositionSaver::Conflict &conflict)
{
    // What is stored now, found as a search finds it: with the article's
    // data and the key figures.
    std::optional<PackedRow> stored;
    if (!conflict.gone) {
        try {
            std::unique_ptr<ServerObject> position = Factory().openById(PositionClass, conflict.id);
            const PositionFilters filters{position->property(u"konkur"_s), position->property(u"Artnr"_s), {}, {}};
            CloseServerObject(position);
            PositionSearch search(*m_priceTypes, PositionModel::MaxRows, {});
            for (const PackedRow &row : search.run(Context().Firm, filters)) {
                if (row.cell(PositionColumn::UID).toString() == conflict.id)
                    stored = row;
            }
        } catch (const AccessError &error) {
            if (error.number() != ErrorNumber::ObjectNotFound) {
                MsgBox(this, QMessageBox::Warning, WindowTitle,
                       u"Die Position konnte nicht neu gelesen werden: " + error.description());
                return false;
            }
        }
    }
    if (conflict.row < 0) {
        m_deletionVersions.remove(conflict.id);
        if (stored) {
            const int row = appendPosition(stored->toList()) ? m_positions->rowCount() - 1 : -1;
            if (row >= 0)
                m_positions->setRowVersion(row, stored->version());
        }
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Die Position " + conflict.id + u" wird nicht gelöscht; sie steht wieder im Raster."_s);
        return true;
    }
    if (stored) {
        m_positions->setCells(conflict.row, [&] {
            PackedRow::Cells cells;
            for (int column = 0; column < PositionColumnCount; ++column)
                cells[column] = stored->cell(column);
            return cells;
        }());
        m_positions->setRowVersion(conflict.row, stored->version());
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Ihre Änderung an der Position ist verworfen; die Zeile zeigt, was jetzt gespeichert ist."_s);
    } else {
        m_goneRows.insert(conflict.row);
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Die Position gibt es nicht mehr; die Zeile wird aus dem Raster genommen."_s);
    }
    return true;
}

void FMStart::removeGoneRows()
{
    QList<int> rows(m_goneRows.cbegin(), m_goneRows.cend());
    m_goneRows.clear();
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows)
        m_positions->removeRows(row, 1);
    if (!rows.isEmpty())
        showPositionCount();
}

void FMStart::m_pos_verlauf_Click()
{
    if (!readyForCommand())
        return;
    const int row = m_grid->currentIndex().row();
    if (row < 0)
        return;
    const QString id = m_positions->cell(row, PositionColumn::UID).toString();
    if (id.isEmpty()) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Die Position ist noch nicht gespeichert; sie hat noch keinen Änderungsverlauf."_s);
        return;
    }
    QList<ChangeEntry> entries;
    try {
        if (!BeginConnectedCall(true))
            return;
        entries = ReadObjectHistory(PositionClass, id);
        EndServerCall(true);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Änderungsverlauf lesen"_s);
        return;
    }
    ChangeHistoryDialog dialog(u"Position " + DescribePosition(*m_positions, row), ChangeLines(entries, PositionChangeFields()),
                               this);
    ExecModal(dialog);
}

} // namespace tolven
