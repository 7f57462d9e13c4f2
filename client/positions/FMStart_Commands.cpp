// The main window's commands: the "Position" menu, the article filter, the
// master-data windows, the login, print and export.
#include "FMStart.h"

#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/cacheapi.h"
#include "common/frmAbout.h"
#include "lookup/TolvenSu.h"
#include "masterdata/FMPreistyp.h"
#include "masterdata/fmkonkur.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"
#include "output/GridPrint.h"
#include "output/PositionOutput.h"
#include "positions/FMImport.h"
#include "positions/FMStart_p.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionExport.h"
#include "positions/PositionGrid.h"
#include "positions/PositionImport.h"
#include "positions/PositionModel.h"
#include "positions/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

namespace {

// A master-data window, made for this opening and gone when it closes, so
// that every opening reads the list afresh.
template <typename Window>
void ShowMasterList(QWidget *owner)
{
    Window window(owner);
    if (window.Form_Load())
        ExecModal(window);
}

} // namespace

void FMStart::goToRow(int row)
{
    int column = m_grid->currentIndex().column();
    if (column < 0) {
        column = 0;
        while (column < PositionColumnCount - 1 && (m_grid->isColumnHidden(column) || !m_positions->isEditable(row, column)))
            ++column;
    }
    const QModelIndex cell = m_positions->index(row, column);
    m_grid->setCurrentIndex(cell);
    m_grid->scrollTo(cell);
}

bool FMStart::readyForCommand()
{
    if (m_searching || m_saving)
        return false;
    // What the user has just typed counts: it is saved, printed, exported.
    m_grid->commitPendingEdit();
    // A refused cell is settled first: it opens again with what was typed,
    // and the command waits for the user to put it right.
    if (m_grid->reopenPending())
        return false;
    return closeNoteEditor();
}

bool FMStart::appendPosition(const QList<QVariant> &cells)
{
    const int row = m_positions->appendRow(cells);
    if (row < 0) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Mehr als " + PositionCountText(PositionModel::MaxRows)
                   + u" fasst die Liste nicht. Bitte speichern Sie und grenzen Sie die Suche ein.");
        return false;
    }
    showPositionCount();
    goToRow(row);
    return true;
}

void FMStart::m_pos_neu_Click()
{
    if (!readyForCommand())
        return;
    PositionModel::Row cells(PositionColumn::AendDatum + 1, QString());
    if (!m_likonkur->currentText().isEmpty())
        cells[PositionColumn::Konkur] = m_likonkur->currentCode();
    const QString article = m_anr->currentText();
    if (!article.isEmpty())
        cells[PositionColumn::Artnr] = article;
    cells[PositionColumn::DatumAb] = Today();
    if (!appendPosition(cells))
        return;
    if (!article.isEmpty())
        art_hol();
    m_grid->setFocus();
}

void FMStart::m_pos_anfueg_Click()
{
    if (!readyForCommand())
        return;
    const int current = m_grid->currentIndex().row();
    if (current < 0)
        return;
    PositionModel::Row cells = m_positions->row(current).mid(0, PositionColumn::UID);
    cells << QString() << QString();
    if (appendPosition(cells))
        m_grid->setFocus();
}

void FMStart::m_pos_loesch_Click()
{
    if (!readyForCommand())
        return;
    const int row = m_grid->currentIndex().row();
    if (row < 0)
        return;
    if (const QString id = m_positions->cell(row, PositionColumn::UID).toString(); !id.isEmpty()) {
        m_deletions << id;
        m_deletionVersions.insert(id, m_positions->rowVersion(row));
    }
    m_positions->removeRows(row, 1);
    showPositionCount();
}

bool FMStart::anr_LostFocus()
{
    const QString article = m_anr->currentCode();
    if (article.isEmpty()) {
        m_bez1->clear();
        return true;
    }
    // Back once the focus has settled where the user sent it.
    const auto backToField = [this] { QTimer::singleShot(0, m_anr, [this] { m_anr->setFocus(); }); };
    if (const QString complaint = ForbiddenCharacterComplaint(u"Artikel"_s, article, false); !complaint.isEmpty()) {
        MsgBox(this, QMessageBox::Information, WindowTitle, complaint);
        backToField();
        return false;
    }
    QString answer;
    try {
        if (!EnsureConnected())
            return false;
        std::unique_ptr<ServerObject> positions = Factory().classObject(u"Konkur.Konkur"_s);
        answer = ServerToDisplay(positions->callMethod(u"ArtBez1"_s, {Context().Firm, article}));
        CloseServerObject(positions);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Artikelbezeichnung lesen"_s);
        return false;
    }
    if (answer.isEmpty()) {
        fmstart::ReportUnknownArticle(this);
        backToField();
        return false;
    }
    m_bez1->setText(Piece(answer, u"`"_s, 1));
    return true;
}

void FMStart::artsu_Click()
{
    const QString article = SelectArticle(this);
    if (article.isEmpty())
        return;
    m_anr->setCurrentCode(article);
    if (anr_LostFocus())
        m_volltext->setFocus();
}

void FMStart::m_konkur_Click()
{
    if (!readyForCommand())
        return;
    ShowMasterList<fmkonkur>(this);
    konkur_lesen();
}

void FMStart::m_preistyp_Click()
{
    if (!readyForCommand())
        return;
    ShowMasterList<FMPreistyp>(this);
    prtyp_lesen();
}

void FMStart::mLogin_Click()
{
    FMPass &window = cacheapi::instance().loginWindow();
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
}

void FMStart::HilfeUeber_Click()
{
    if (!m_about) {
        m_about = new frmAbout(this);
        m_about->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void FMStart::TDBGrid1_ContextMenu(const QPoint &position)
{
    m_positionMenu->popup(m_grid->viewport()->mapToGlobal(position));
}

void FMStart::BUDruck_Click()
{
    if (!readyForCommand())
        return;
    PrintSettings settings;
    settings.leftOut = {PositionColumn::Notiz};
    PrintPreview(*m_grid, PositionListHeader(m_likonkur->currentText(), m_anr->currentText(), m_bez1->text(), Now()),
                 settings);
}

void FMStart::BUExport_Click()
{
    if (!readyForCommand())
        return;
    ExportCsv(this, [this] { return PositionExportTable(*m_positions, *m_competitors); });
}

void FMStart::BUExportXlsx_Click()
{
    if (!readyForCommand())
        return;
    ExportXlsx(this, [this] { return PositionExportTable(*m_positions, *m_competitors); });
}

void FMStart::BUImport_Click()
{
    if (!readyForCommand())
        return;
    const QString firm = Context().Firm;
    FMImport dialog(this, *m_competitors, *m_priceTypes, *m_positions,
                    [firm](const QList<ArticleQuestion> &questions) { return ServerArticleLookup(firm, questions); });
    if (ExecModal(dialog) != QDialog::Accepted || dialog.acceptedRows().isEmpty())
        return;
    const int first = m_positions->rowCount();
    if (!m_positions->appendPackedRows(dialog.acceptedRows())) {
        MsgBox(this, QMessageBox::Information, WindowTitle,
               u"Mehr als " + PositionCountText(PositionModel::MaxRows)
                   + u" fasst die Liste nicht. Es wurde nichts übernommen. Bitte speichern Sie und grenzen Sie die Suche ein.");
        return;
    }
    showPositionCount();
    goToRow(first);
    m_grid->setFocus();
}

} // namespace tolven
