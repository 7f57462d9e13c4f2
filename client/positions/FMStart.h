#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <chrono>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tolven {

class DateField;
class DropDownDelegate;
class LookupTable;
class MultiColumnComboBox;
class PositionGrid;
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
    // Room on the deletion list for positions deleted before the next save.
    static constexpr int DeletionListSize = 1000;

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
    void setSearchProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }
    // The most rows a search shows (PositionModel::MaxRows unless lowered).
    void setSearchRowLimit(int rows) { m_searchRowLimit = rows; }

    // Fills the grid's current row with the data of the article whose number
    // it holds. True when the server does not know the article: the user is
    // told, the row stays as it was, and the number is to be refused.
    bool art_hol();

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
    void createMenus();
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

    void BUAusstieg_Click();
    void mLogin_Click();
    void HilfeUeber_Click();
    void TDBGrid1_ContextMenu(const QPoint &position);
    void Form_Unload();

    PositionModel *m_positions;
    LookupTable *m_competitors;
    LookupTable *m_priceTypes;
    LookupTable *m_units;
    LookupTable *m_articles;
    QStringList m_deletions;

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
    std::chrono::milliseconds m_progressDelay;
    int m_searchRowLimit;
};

} // namespace tolven
