// The main window's "Speichern": the check of every row, then deleting and
// storing.
#include "FMStart.h"

#include <optional>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
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
    if (!readyForCommand())
        return;
    if (const std::optional<SaveProblem> problem = FindSaveProblem(*m_positions)) {
        int column = problem->column;
        if (problem->kind == SaveProblem::Duplicate)
            column = qMax(m_grid->currentIndex().column(), 0);
        const QModelIndex cell = m_positions->index(problem->row, column);
        m_grid->setCurrentIndex(cell);
        m_grid->scrollTo(cell);
        MsgBox(this, QMessageBox::Information, WindowTitle, SaveProblemText(*problem));
        m_grid->setFocus();
        m_grid->edit(cell);
        return;
    }
    try {
        if (!BeginConnectedCall(true))
            return;
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Positionen speichern"_s);
        return;
    }
    m_saving = true;
    WorkProgress progress(this, WorkProgress::SaveTexts(), m_progressDelay);
    PositionSaver saver(*m_positions, m_deletions, Context().Firm, Today(),
                        [&progress](int done, int total) { return progress.update(done, total); });
    const bool saved = saver.run();
    m_saving = false;
    EndServerCall(true);
    if (saved)
        art_lesen();
}

} // namespace tolven
