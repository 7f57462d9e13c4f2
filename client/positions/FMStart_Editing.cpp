// The main window's cell editing: what follows from a typed cell, entering a
// row, the column buttons and the note editor.
#include "FMStart.h"

#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTimer>
#include <optional>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "lookup/TolvenSu.h"
#include "objectapi/Numbers.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"
#include "positions/CellEdit.h"
#include "positions/FMStart_p.h"
#include "positions/KeyFigures.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

using fmstart::WindowTitle;

void fmstart::ReportUnknownArticle(QWidget *parent)
{
    MsgBox(parent, QMessageBox::Information, WindowTitle, u"Artikel nicht gespeichert"_s);
}

bool FMStart::art_hol()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0)
        return true;
    PackedRow::Cells cells = m_positions->cells(row);
    const ArticleFetch fetched = fetchArticle(cells);
    if (fetched == ArticleFetch::Unknown)
        fmstart::ReportUnknownArticle(this);
    if (fetched != ArticleFetch::Filled)
        return true;
    m_positions->setCells(row, cells);
    return false;
}

FMStart::ArticleFetch FMStart::fetchArticle(PackedRow::Cells &cells)
{
    // No article, nothing to ask the server: the same as one it does not know.
    if (IsEmptyCell(cells[PositionColumn::Artnr]))
        return ArticleFetch::Unknown;
    QString answer;
    try {
        if (!BeginConnectedCall(false))
            return ArticleFetch::Failed;
        const std::optional<double> quantity = CellNumber(cells[PositionColumn::MengeAb]);
        std::unique_ptr<ServerObject> positions = Factory().createNew(u"Konkur.Konkur"_s);
        answer = positions->callMethod(u"ArtikelDaten"_s, {Context().Firm, cells[PositionColumn::Artnr].toString(),
                                                          quantity ? ServerNumber(*quantity) : QString()});
        CloseServerObject(positions);
        EndServerCall(false);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Artikeldaten lesen"_s);
        return ArticleFetch::Failed;
    }
    if (answer.isEmpty())
        return ArticleFetch::Unknown;
    ApplyArticleData(cells, ArticleData::parse(answer), ArticleFill::ArticleNumber);
    return ArticleFetch::Filled;
}

EditContext FMStart::editContext() const
{
    return {!m_likonkur->currentText().isEmpty(), !m_anr->currentText().isEmpty(), m_priceTypes};
}

bool FMStart::TDBGrid1_BeforeColUpdate(int row, int column, const QVariant &typed)
{
    // A message box shown from here takes the focus from the editor, which
    // commits once more; that second commit is no edit of the user's.
    if (m_committing || m_searching || m_saving)
        return false;
    const QVariant before = m_positions->cell(row, column);
    // Leaving a cell unchanged is no edit.
    if (SameContent(before, typed))
        return true;
    const QModelIndex index = m_positions->index(row, column);
    if ((column == PositionColumn::DatumAb || column == PositionColumn::DatumBis)
        && typed.typeId() == QMetaType::QString && !typed.toString().isEmpty()) {
        reopenCell(index, typed, u"Kein gültiges Datum: "_s + typed.toString());
        return false;
    }
    if (typed.typeId() == QMetaType::QString) {
        if (const QString complaint = ForbiddenCharacterComplaint(ColumnInfo(column).caption, typed.toString(), false);
            !complaint.isEmpty()) {
            reopenCell(index, typed, complaint);
            return false;
        }
    }

    QScopedValueRollback<bool> committing(m_committing, true);
    PackedRow::Cells cells = m_positions->cells(row);
    cells[column] = typed;
    FilterTypedNumbers(cells);

    if (column == PositionColumn::Artnr) {
        const ArticleFetch fetched = fetchArticle(cells);
        if (fetched != ArticleFetch::Filled) {
            // A server error has been shown already.
            reopenCell(index, typed, fetched == ArticleFetch::Unknown ? u"Artikel nicht gespeichert"_s : QString());
            return false;
        }
    }
    // The own price at the quantity, of an article with master data; a
    // collective article's is typed, and a row without its article's data
    // (none fetched, or the article gone) has none to ask for.
    if (column == PositionColumn::MengeAb && cells[PositionColumn::SAM].toString() == u"N"
        && !IsEmptyCell(cells[PositionColumn::Artnr])) {
        try {
            if (BeginConnectedCall(false)) {
                std::unique_ptr<ServerObject> positions = Factory().createNew(u"Konkur.Konkur"_s);
                const QString answer = positions->callMethod(
                    u"ArtikelPreis"_s, {Context().Firm, cells[PositionColumn::Artnr].toString(),
                                        ServerNumber(CellNumberOrZero(cells[PositionColumn::MengeAb]))});
                CloseServerObject(positions);
                EndServerCall(false);
                cells[PositionColumn::IntPreis] =
                    FormatNumber(LeadingNumber(Piece(answer, u"`"_s, 1)), NumberPattern::TwoPlaces);
            }
        } catch (const AccessError &error) {
            ReportAccessError(error, u"Artikelpreis lesen"_s);
        }
    }
    ApplyEditedColumn(cells, column);
    if (!SameContent(before, cells[column]))
        cells[PositionColumn::AendDatum] = QString();
    m_positions->setCells(row, cells);
    return true;
}

void FMStart::reopenCell(const QModelIndex &index, const QVariant &typed, const QString &message)
{
    m_grid->reopenLater(index, typed.toString(), [this, message] {
        if (!message.isEmpty())
            MsgBox(this, QMessageBox::Information, WindowTitle, message);
    });
}

void FMStart::TDBGrid1_RowColChange()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || m_searching || m_saving)
        return;
    if (!m_likonkur->currentText().isEmpty() && IsEmptyCell(m_positions->cell(row, PositionColumn::Konkur)))
        m_positions->setCell(row, PositionColumn::Konkur, m_likonkur->currentCode());
    if (!m_anr->currentText().isEmpty() && IsEmptyCell(m_positions->cell(row, PositionColumn::Artnr))) {
        m_positions->setCell(row, PositionColumn::Artnr, m_anr->currentText());
        art_hol();
    }
    const QString flag = EndDateFlag(*m_priceTypes, m_positions->cell(row, PositionColumn::Preistyp).toString());
    if (flag == u"N" && !IsEmptyCell(m_positions->cell(row, PositionColumn::DatumBis))
        && !IsEmptyCell(m_positions->cell(row, PositionColumn::Konkur)))
        m_positions->setCell(row, PositionColumn::DatumBis, QString());
}

void FMStart::TDBGrid1_ButtonClick(const QModelIndex &index)
{
    if (!index.isValid() || m_searching || m_saving)
        return;
    m_grid->setCurrentIndex(index);
    const int row = index.row();
    if (index.column() == PositionColumn::Artnr) {
        if (!m_positions->isEditable(row, PositionColumn::Artnr))
            return;
        const QString article = SelectArticle(this);
        // The chosen article is taken as if typed: with its data, and the
        // row marked for saving.
        if (!article.isEmpty())
            TDBGrid1_BeforeColUpdate(row, PositionColumn::Artnr, article);
        return;
    }
    if (index.column() == PositionColumn::Notiz) {
        if (!m_positions->cell(row, PositionColumn::Notiz).isValid())
            m_positions->setCell(row, PositionColumn::Notiz, QString());
        m_noteCell = QPersistentModelIndex();
        m_noteRefused = false;
        m_notiz->setPlainText(m_positions->cell(row, PositionColumn::Notiz).toString());
        // The note follows its row when rows before it go or come.
        m_noteCell = m_positions->index(row, PositionColumn::Notiz);
        m_notiz->show();
        m_notiz->setFocus();
    }
}

void FMStart::notiz_Change()
{
    if (!m_noteCell.isValid())
        return;
    const int row = m_noteCell.row();
    const QString text = m_notiz->toPlainText();
    // Refused text stays in the editor to be corrected; the row keeps its note meanwhile.
    const QString complaint = noteComplaint();
    if (!complaint.isEmpty()) {
        if (!m_noteRefused)
            MsgBox(this, QMessageBox::Information, WindowTitle, complaint);
        m_noteRefused = true;
        return;
    }
    m_noteRefused = false;
    if (text == m_positions->cell(row, PositionColumn::Notiz).toString())
        return;
    m_positions->setCell(row, PositionColumn::Notiz, text);
    // A changed note is a change of the position like any other.
    m_positions->setCell(row, PositionColumn::AendDatum, QString());
}

QString FMStart::noteComplaint() const
{
    return ForbiddenCharacterComplaint(ColumnInfo(PositionColumn::Notiz).caption, m_notiz->toPlainText(), true);
}

void FMStart::notiz_LostFocus()
{
    if (m_notiz->isVisible() && closeNoteEditor())
        m_grid->setFocus();
}

bool FMStart::closeNoteEditor()
{
    if (!m_notiz->isVisible())
        return true;
    if (m_noteCell.isValid() && m_noteRefused) {
        // Closing the editor would lose what the user typed. Back into it
        // once the focus has settled where the user sent it.
        MsgBox(this, QMessageBox::Information, WindowTitle, noteComplaint());
        QTimer::singleShot(0, m_notiz, [this] { m_notiz->setFocus(); });
        return false;
    }
    // Every change is in its row already.
    hideNoteEditor();
    return true;
}

void FMStart::hideNoteEditor()
{
    m_noteCell = QPersistentModelIndex();
    m_noteRefused = false;
    m_notiz->hide();
}

} // namespace tolven
