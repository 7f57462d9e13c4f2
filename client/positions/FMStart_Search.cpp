// The main window's search: "Suchen" and the count of positions.
#include "FMStart.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "analysis/PriceMarks.h"
#include "objectapi/TextCheck.h"
#include "positions/DateField.h"
#include "positions/FMStart_p.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionModel.h"
#include "positions/PositionSearch.h"
#include "positions/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

void FMStart::BUSuch_Click()
{
    if (m_searching || !aenddatab_LostFocus())
        return;
    // A filter holding a character no text has would find nothing for a
    // reason the user cannot see; the grid stays as it is.
    struct TextFilter
    {
        QWidget *field;
        QString name;
        QString text;
    };
    const TextFilter textFilters[] = {{.field = m_anr, .name = u"Artikel"_s, .text = m_anr->currentText()},
                                      {.field = m_volltext, .name = u"Art.-Bez."_s, .text = m_volltext->text()}};
    for (const auto &[field, name, text] : textFilters) {
        if (const QString complaint = ForbiddenCharacterComplaint(name, text, false); !complaint.isEmpty()) {
            MsgBox(this, QMessageBox::Information, WindowTitle, complaint);
            field->setFocus();
            return;
        }
    }
    if (!mayReplaceWork())
        return;
    try {
        // No idle disconnect while the search runs, however long it takes.
        if (!BeginConnectedCall(true))
            return;
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Positionen suchen"_s);
        return;
    }
    m_searching = true;
    m_positions->clear();
    m_positionCount->clear();

    PositionFilters filters;
    if (!m_likonkur->currentText().isEmpty())
        filters.competitor = m_likonkur->currentCode();
    filters.article = m_anr->currentText();
    filters.text = m_volltext->text();
    if (const QDate since = m_aenddatab->date(); since.isValid())
        filters.changedSince = since.toString(Qt::ISODate);

    WorkProgress progress(this, WorkProgress::SearchTexts(), m_progressDelay);
    PositionSearch search(*m_priceTypes, qMin(m_searchRowLimit, PositionModel::MaxRows),
                          [&progress](int done, int total) { return progress.update(done, total); });
    QList<PackedRow> rows = search.run(Context().Firm, filters);
    // The own prices the rows are compared with, before the grid shows them.
    m_evaluation->readOwnPrices(Context().Firm);
    m_positions->setPackedRows(std::move(rows));

    const int found = m_positions->rowCount();
    m_articleDataComplete = search.articleDataComplete();
    showPositionCount();
    m_searching = false;
    EndServerCall(true);
    if (search.truncated()) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Es werden nur die ersten " + PositionCountText(found)
                   + u" gezeigt. Bitte grenzen Sie die Suche mit den Filtern ein.");
    }
}

bool FMStart::aenddatab_LostFocus()
{
    if (m_aenddatab->isBlank() || m_aenddatab->date().isValid())
        return true;
    // As a date cell of the grid: the field keeps what was typed.
    MsgBox(this, QMessageBox::Information, WindowTitle, u"Kein gültiges Datum: " + m_aenddatab->text());
    QTimer::singleShot(0, m_aenddatab, [this] { m_aenddatab->setFocus(); });
    return false;
}

void FMStart::showPositionCount()
{
    // Rows a stop or an error left without their article's data are no
    // complete picture; they are not saved unless changed.
    const QString count = PositionCountText(m_positions->rowCount());
    const QString marks = m_positions->rowCount() > 0 ? u" · " + m_evaluation->marks().countText() : QString();
    m_positionCount->setText((m_articleDataComplete ? count : count + u", Artikeldaten unvollständig") + marks);
}

} // namespace tolven
