// The main window's evaluations: the "Auswertung" menu, the price comparison
// and the price history, and the undercut counts of the status line.
#include "FMStart.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "analysis/PriceComparisonDialog.h"
#include "analysis/PriceHistoryDialog.h"
#include "analysis/PriceMarks.h"
#include "objectapi/AccessError.h"
#include "positions/FMStart_p.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

namespace {

QHash<QString, QString> NamesOf(const LookupTable &competitors)
{
    QHash<QString, QString> names;
    for (int row = 0; row < competitors.rowCount(); ++row)
        names.insert(competitors.text(row, 0), competitors.text(row, 1));
    return names;
}

} // namespace

void FMStart::createAnalysisMenu(QAction *menuBefore)
{
    auto *menu = new QMenu(u"A&uswertung"_s, this);
    menu->setObjectName(u"m_auswertung"_s);
    QAction *comparison = menu->addAction(u"Preis&vergleich…"_s);
    comparison->setObjectName(u"m_preisvergleich"_s);
    comparison->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
    QAction *history = menu->addAction(u"Preisver&lauf…"_s);
    history->setObjectName(u"m_preisverlauf"_s);
    menuBar()->insertMenu(menuBefore, menu);
    connect(comparison, &QAction::triggered, this, &FMStart::m_preisvergleich_Click);
    connect(history, &QAction::triggered, this, &FMStart::m_preisverlauf_Click);

    // The grid's menu offers the history of the row it was opened on.
    m_positionMenu->addSeparator();
    QAction *rowHistory = m_positionMenu->addAction(u"Preisverlauf…"_s);
    rowHistory->setObjectName(u"m_pos_preisverlauf"_s);
    connect(rowHistory, &QAction::triggered, this, &FMStart::m_preisverlauf_Click);

    connect(&m_evaluation->marks(), &PriceMarks::countsChanged, this, &FMStart::showPositionCount);
}

void FMStart::m_preisvergleich_Click()
{
    if (!readyForCommand())
        return;
    if (m_positions->rowCount() == 0) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Das Raster enthält keine Positionen. Bitte suchen Sie zuerst die Positionen, die verglichen"
               u" werden sollen."_s);
        return;
    }
    PriceComparisonDialog dialog(m_evaluation->positions(), NamesOf(*m_competitors), Today(), this);
    const bool chosen = ExecModal(dialog) == QDialog::Accepted && dialog.chosenRow() >= 0;
    if (chosen && dialog.chosenRow() < m_positions->rowCount())
        goToRow(dialog.chosenRow());
}

void FMStart::m_preisverlauf_Click()
{
    if (!readyForCommand())
        return;
    const int row = m_grid->currentIndex().row();
    const QString article = row < 0 ? QString() : m_positions->cell(row, PositionColumn::Artnr).toString();
    if (article.isEmpty()) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Bitte wählen Sie eine Position mit Artikelnummer, deren Preisverlauf gezeigt werden soll."_s);
        return;
    }
    PricePositions stored;
    try {
        if (!BeginConnectedCall(true))
            return;
        stored = m_evaluation->storedPositions(Context().Firm, article);
        EndServerCall(true);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Preisverlauf lesen"_s);
        return;
    }
    // The own price at the quantity the competitors' lines show.
    std::optional<double> quantity;
    for (const PricePosition &position : std::as_const(stored))
        quantity = std::min(quantity.value_or(position.quantity), position.quantity);
    const std::optional<double> ownPrice = m_evaluation->ownPriceToday(article, quantity.value_or(1), row);
    PriceHistoryDialog dialog(article, m_positions->index(row, PositionColumn::ArtBez).data().toString(), stored,
                              ownPrice, NamesOf(*m_competitors), Today(), this);
    ExecModal(dialog);
}

} // namespace tolven
