// The main window's "Speichern": the check of every row, then deleting and
// storing.
#include "FMStart.h"

#include <optional>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "positions/CellEdit.h"
#include "positions/LookupTable.h"
#include "positions/FMStart_p.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "positions/PositionSave.h"
#include "positions/PositionValidation.h"
#include "positions/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

void FMStart::BUSpeich_Click()
{
    if (readyForCommand())
        savePositions();
}

bool FMStart::savePositions()
{
    if (const std::optional<SaveProblem> problem = FindSaveProblem(*m_positions)) {
        int column = problem->column;
        if (problem->kind == SaveProblem::Duplicate)
            column = qMax(m_grid->currentIndex().column(), 0);
        const QModelIndex cell = m_positions->index(problem->row, column);
        m_grid->setCurrentIndex(cell);
        m_grid->scrollTo(cell);
        MsgBox(this, QMessageBox::Information, WindowTitle, SaveProblemText(*problem));
        m_grid->setFocus();
        // A cell the row does not let the user type into (the unit of an
        // article gone from the master data) is only shown.
        if (m_positions->isEditable(problem->row, column))
            m_grid->edit(cell);
        return false;
    }
    try {
        if (!BeginConnectedCall(true))
            return false;
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Positionen speichern"_s);
        return false;
    }
    m_saving = true;
    WorkProgress progress(this, WorkProgress::SaveTexts(), m_progressDelay);
    PositionSaver saver(*m_positions, m_deletions, Context().Firm, Today(),
                        [&progress](int done, int total) { return progress.update(done, total); });
    saver.setEndDateTypes(EndDateTypes(*m_priceTypes));
    saver.setDeletionVersions(m_deletionVersions);
    saver.setConflictHandler([this](const PositionSaver::Conflict &conflict) { return answerSaveConflict(conflict); });
    const bool saved = saver.run();
    m_saving = false;
    removeGoneRows();
    // The versions of the deletions still to be made.
    QHash<QString, qint64> pending;
    for (const QString &id : std::as_const(m_deletions))
        pending.insert(id, m_deletionVersions.value(id));
    m_deletionVersions = std::move(pending);
    EndServerCall(true);
    if (saved)
        art_lesen();
    return saved;
}

bool FMStart::hasUnsavedWork() const
{
    if (!m_deletions.isEmpty())
        return true;
    for (int row = 0; row < m_positions->rowCount(); ++row) {
        if (m_positions->packedRow(row).isEmpty(PositionColumn::AendDatum))
            return true;
    }
    return false;
}

bool FMStart::mayReplaceWork()
{
    if (!readyForCommand())
        return false;
    if (!hasUnsavedWork())
        return true;
    switch (MsgBox(this, QMessageBox::Question, WindowTitle, u"Änderungen speichern?"_s,
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return savePositions();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

} // namespace tolven
