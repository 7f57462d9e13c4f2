#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include "masterdata/MasterListModel.h"

class QPushButton;

namespace tolven {

class EditingGrid;

// What sets one master-data window apart from the other: its server class,
// its columns, its captions and messages.
struct MasterListDefinition
{
    QString objectName;
    QString title;
    // "Konkurerber" in "Konkurerber lesen": the list in error messages.
    QString listName;
    QString className;
    QString queryName;
    // For each row table column, the query's result column (from 1) it is
    // loaded from, and the property it is stored as (empty: not stored).
    QList<int> resultColumns;
    QStringList properties;
    QList<MasterListColumn> gridColumns;
    QString deleteCaption;
    QString exitButtonName;
    QString duplicateMessage;
    // Whether a refused duplicate code enables "Speichern" all the same.
    bool refusedDuplicateEnablesSave = false;
    // The page header, followed by the date and time of printing.
    QString printHeader;
    // The print preview's title; the default one when empty.
    QString previewCaption;
    // The row table column that takes the stored object's id; -1 for none.
    int idColumn = -1;
};

// A master list of the firm (competitors, price types) in a grid over its
// row table: loaded whole when the window opens, edited freely, and stored
// by "Speichern" as a replacement of the firm's whole list in one
// transaction: the new list is stored whole, or the old one stays whole and
// the window stays open with the user's rows. "Ausstieg" drops the edits.
// The caller shows the window modally after Form_Load and re-reads its own
// lists when it has closed.
class MasterListWindow : public QDialog
{
    Q_OBJECT

public:
    // The row table column of the code, which every row must have, once.
    static constexpr int CodeColumn = 0;

    ~MasterListWindow() override;

    // Reads the firm's list into the row table. False when it could not be
    // read (the user has been told): the window must not be shown then, or
    // saving would replace the list by what is missing.
    bool Form_Load();

    MasterListModel &rows() const { return *m_rows; }
    EditingGrid &grid() const { return *m_grid; }

    // The grid's check of an edit about to be written into cell: the code
    // cell of its row must not be empty and a changed code not be another
    // row's. A refused edit stays open in its cell.
    bool TDBGrid1_BeforeColUpdate(const QModelIndex &cell, const QString &text);
    // Deletes the current row (not the new-row line).
    void BULoesch_Click();
    void BUDruck_Click();
    // Replaces the firm's list by the rows of the table and closes.
    void BUSpeich_Click();
    // Closes without saving.
    void BUAusstieg_Click();
    // Goes to the new-row line's code cell and opens it.
    void newRow();
    // Shows how the current row's entry was changed, from the list's history.
    void showHistory();

protected:
    MasterListWindow(MasterListDefinition definition, QWidget *parent);

private:
    QWidget *makeButtons();
    void sizeColumns();
    // Takes an edit still open in the grid; false while a refused one waits
    // for the user.
    bool readyForCommand();
    // The replacement of the firm's list on the server; the ids of the
    // objects stored, in row order. Throws AccessError.
    // With a state, only while the list on the server is still in it (throws
    // AccessError, Conflict, when another user has changed it since).
    QStringList replaceList(const QList<QStringList> &rows, const QString &state);
    // The state of the firm's list as it was loaded (Stand); throws AccessError.
    QString readListState();
    // After another user changed the list: whether to store it all the same.
    enum class ConflictAnswer { Overwrite, Reload, Cancel };
    ConflictAnswer askAboutConflict();

    MasterListDefinition m_definition;
    MasterListModel *m_rows;
    EditingGrid *m_grid;
    QPushButton *m_save;
    QString m_loadedState;
};

} // namespace tolven
