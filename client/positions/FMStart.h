#pragma once

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <chrono>

#include "common/ChangeHistory.h"
#include "positions/PackedRow.h"
#include "positions/PositionSave.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tolven {

class DateField;
struct EditContext;
class DropDownDelegate;
class LookupTable;
class MultiColumnComboBox;
class PositionGrid;
class PositionEvaluation;
class PositionModel;
class frmAbout;
struct LoginContext;

// "TOLVEN Konkurerberverwaltung": the competitor price positions of the
// logged-in firm in one grid, the filter bar above it, and the buttons for
// search, save, print, export and the master data. Lives from the start of
// the program to its end; closing it ends the program.
class FMStart : public QMainWindow
{
    Q_OBJECT

public:
    explicit FMStart(QWidget *parent = nullptr);
    ~FMStart() override;

    // Start-up: logs in (again and again until a login succeeds), sets the
    // title, presets the change-date filter, empties the grid and reads the
    // look-up lists. False when the program ends instead.
    bool Form_Load();

    // The look-up lists, read from the server for the logged-in firm.
    void konkur_lesen();
    void prtyp_lesen();
    void einh_lesen();
    void art_lesen();

    // "TOLVEN Konkurerberverwaltung" with firm, branch and user of the login.
    static QString WindowTitleFor(const LoginContext &context);

    // "Suchen": replaces the grid's rows, unsaved edits included, by the
    // positions the filters find, each with its article's current data and
    // key figures. The deletion list stays. Returns when the grid is filled.
    void BUSuch_Click();
    // True while a search runs; nothing else may start meanwhile.
    bool isSearching() const { return m_searching; }
    // How long a search runs before its progress dialog shows.
    void setProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }
    // The most rows a search shows (PositionModel::MaxRows unless lowered).
    void setSearchRowLimit(int rows) { m_searchRowLimit = rows; }

    // Fills the grid's current row with the data of the article whose number
    // it holds. True when the server does not know the article: the user is
    // told, the row stays as it was, and the number is to be refused.
    bool art_hol();

    // "Speichern": checks every row (nothing empty that must be filled, no
    // two rows alike), then deletes the positions deleted in the grid and
    // stores the new and changed rows. A problem is shown on its cell.
    void BUSpeich_Click();
    bool isSaving() const { return m_saving; }
    // Changed or new rows, or stored positions deleted in the grid, that no
    // save has stored yet.
    bool hasUnsavedWork() const;
    // Before the grid's work is replaced (a search, a login, the end of the
    // program): with unsaved work, asks "Änderungen speichern?" and saves on
    // "Ja". True when the work may go: nothing unsaved, saved, or "Nein".
    bool mayReplaceWork();

    // The commands of the "Position" menu: a new row (with the filters'
    // competitor and article and today as its start), a copy of the current
    // row as a new position, and deleting the current row (a stored position
    // is deleted on the server by the next save).
    void m_pos_neu_Click();
    void m_pos_anfueg_Click();
    void m_pos_loesch_Click();
    void m_pos_verlauf_Click();
    // How the history shows a position's properties: the grid's captions.
    static QList<ChangeField> PositionChangeFields();

    // "Auswertung": the price comparison with its index of the positions the
    // grid holds, and the stored price history of the current row's article.
    void m_preisvergleich_Click();
    void m_preisverlauf_Click();
    PositionEvaluation &evaluation() const { return *m_evaluation; }

    PositionModel &positionArray() const { return *m_positions; }
    LookupTable &competitorArray() const { return *m_competitors; }
    LookupTable &priceTypeArray() const { return *m_priceTypes; }
    LookupTable &unitArray() const { return *m_units; }
    LookupTable &articleList() const { return *m_articles; }
    // Ids of stored positions deleted in the grid since the last save.
    const QStringList &deletionList() const { return m_deletions; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // An empty grid, no deletions, and the look-up lists read for the login,
    // as after start-up.
    void startEmpty();
    void createMenus();
    // The "Auswertung" menu before menuBefore, "Preisverlauf…" in the grid's menu.
    void createAnalysisMenu(QAction *menuBefore);
    QWidget *createFilterBar();
    QWidget *createButtonBar();
    void setUpGrid();
    // Reads the query's columns of every row for the logged-in firm, in
    // display form. A server error is shown; the rows read until then count.
    QList<QStringList> readList(const QString &className, const QString &queryName, const QList<int> &columns,
                                const QString &operation);

    // The article field and its search button: leaving the field shows the
    // article's description (true) or says that there is no such article.
    bool anr_LostFocus();
    void artsu_Click();
    // The change-date filter: a date that does not exist is refused (true
    // for a real date or none), and no search runs with it.
    bool aenddatab_LostFocus();

    // The grid's edit handlers. A typed value is taken with what follows from
    // it (the numbers cleaned, the article's data, the own price for the
    // quantity, the other price, the key figures, the row marked for saving);
    // an unknown article or an unreal date is refused and the cell opened again.
    bool TDBGrid1_BeforeColUpdate(int row, int column, const QVariant &typed);
    // Entering a cell: the filters' competitor and article go into an empty
    // row, and an end date the row's price type does not have is dropped.
    void TDBGrid1_RowColChange();
    // The buttons of the article column (article search) and the note column.
    void TDBGrid1_ButtonClick(const QModelIndex &index);
    void notiz_Change();
    void notiz_LostFocus();
    // Closes the note editor before a command changes the rows; false (and
    // the user told) while it holds refused text.
    bool closeNoteEditor();
    void hideNoteEditor();
    // Why the note editor's text cannot go into its row; empty when it can.
    QString noteComplaint() const;
    // The article's data into cells. A server error is shown; an unknown
    // article is left to the caller to tell.
    enum class ArticleFetch { Filled, Unknown, Failed };
    ArticleFetch fetchArticle(PackedRow::Cells &cells);
    void reopenCell(const QModelIndex &index, const QVariant &typed, const QString &message);
    EditContext editContext() const;
    // Before a command: false while a search or a save runs, while a refused
    // cell waits to open again, or while the note editor holds refused text;
    // otherwise the open editor's value is taken into its row first and the
    // note editor closed.
    bool readyForCommand();
    // The save itself; true when everything was stored.
    bool savePositions();
    PositionSaver::Answer answerSaveConflict(const PositionSaver::Conflict &conflict);
    // Puts what is stored now into the conflict's row (or back into the grid
    // for a deletion); a row whose position is gone is taken out after the save.
    bool reloadPosition(const PositionSaver::Conflict &conflict);
    void removeGoneRows();
    void goToRow(int row);
    // Appends a row and makes it current; false (and the user told) when the list is full.
    bool appendPosition(const QList<QVariant> &cells);
    void showPositionCount();

    void BUAusstieg_Click();
    // The master-data windows, modal; the lists are read again afterwards.
    void m_konkur_Click();
    void m_preistyp_Click();
    void mLogin_Click();
    // A login from the menu has ended: the title shows who is logged in, and
    // after a successful one the grid starts empty and the lists are read for
    // the new login, as at start-up.
    void mLogin_Done(bool success);
    void HilfeUeber_Click();
    void TDBGrid1_ContextMenu(const QPoint &position);
    void Form_Unload();

    // Print and export of what the grid holds, unsaved edits included.
    void BUDruck_Click();
    void BUExport_Click();
    void BUExportXlsx_Click();
    // "Import…": the rows of a spreadsheet, checked in the import dialog,
    // added as new positions marked for saving.
    void BUImport_Click();

    PositionModel *m_positions;
    LookupTable *m_competitors;
    LookupTable *m_priceTypes;
    LookupTable *m_units;
    LookupTable *m_articles;
    QStringList m_deletions;
    QHash<QString, qint64> m_deletionVersions;  // of the positions in m_deletions
    QSet<int> m_goneRows;                       // during a save: rows to take out after it
    PositionEvaluation *m_evaluation;

    MultiColumnComboBox *m_likonkur;
    MultiColumnComboBox *m_anr;
    QPushButton *m_artsu;
    QLineEdit *m_bez1;
    QLineEdit *m_volltext;
    DateField *m_aenddatab;
    PositionGrid *m_grid;
    QPlainTextEdit *m_notiz;
    QMenu *m_positionMenu;
    QLabel *m_positionCount;
    QPointer<frmAbout> m_about;
    bool m_searching = false;
    bool m_saving = false;
    bool m_committing = false;
    // The last search gave every row its article's data.
    bool m_articleDataComplete = true;
    // The note cell the note editor writes to; invalid once its row is gone.
    QPersistentModelIndex m_noteCell;
    // The note editor holds text that was refused and not yet corrected.
    bool m_noteRefused = false;
    std::chrono::milliseconds m_progressDelay;
    int m_searchRowLimit;
};

} // namespace tolven
