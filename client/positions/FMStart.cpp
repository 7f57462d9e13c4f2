#include "FMStart.h"

#include <QAction>
#include <QCloseEvent>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/Login.h"
#include "access/cacheapi.h"
#include "common/FocusLossWatcher.h"
#include "common/Icons.h"
#include "common/frmAbout.h"
#include "lookup/TolvenSu.h"
#include "masterdata/FMPreistyp.h"
#include "masterdata/fmkonkur.h"
#include "objectapi/Numbers.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"
#include "output/GridPrint.h"
#include "output/PositionOutput.h"
#include "positions/CellEdit.h"
#include "positions/DateField.h"
#include "positions/DropDownDelegate.h"
#include "positions/KeyFigures.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionDelegate.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "positions/PositionSave.h"
#include "positions/PositionSearch.h"
#include "positions/PositionValidation.h"
#include "positions/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString WindowTitle = u"TOLVEN Konkurerberverwaltung"_s;

// An article number the server does not know for the firm.
void ReportUnknownArticle(QWidget *parent)
{
    MsgBox(parent, QMessageBox::Information, WindowTitle, u"Artikel nicht gespeichert"_s);
}

// A master-data window, made for this opening and gone when it closes, so
// that every opening reads the list afresh.
template <typename Window>
void ShowMasterList(QWidget *owner)
{
    Window window(owner);
    if (window.Form_Load())
        ExecModal(window);
}

QAction *MakeAction(QMenu *menu, const QString &name, const QString &caption, const QString &icon = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!icon.isEmpty())
        action->setIcon(AppIcon(icon));
    return action;
}

} // namespace

FMStart::FMStart(QWidget *parent)
    : QMainWindow(parent)
    , m_positions(new PositionModel(this))
    , m_competitors(new LookupTable({u"Code"_s, u"Konkurerber"_s}, 0, this))
    , m_priceTypes(new LookupTable({u"Code"_s, u"Preistyp"_s}, 1, this))
    , m_units(new LookupTable({u"Code"_s, u"Bezeichnung Einheit"_s}, 0, this))
    , m_articles(new LookupTable({u"Art-Nr."_s, u"Bezeichnung"_s}, 0, this))
    , m_likonkur(new MultiColumnComboBox(this))
    , m_anr(new MultiColumnComboBox(this))
    , m_artsu(new QPushButton(this))
    , m_bez1(new QLineEdit(this))
    , m_volltext(new QLineEdit(this))
    , m_aenddatab(new DateField(this))
    , m_grid(new PositionGrid(this))
    , m_notiz(new QPlainTextEdit(this))
    , m_positionMenu(new QMenu(u"Position"_s, this))
    , m_positionCount(new QLabel(this))
    , m_progressDelay(WorkProgress::DefaultDelay)
    , m_searchRowLimit(PositionModel::MaxRows)
{
    setObjectName(u"FMStart"_s);
    setWindowTitle(u"TOLVEN Konkurerberverwaltung"_s);
    setWindowIcon(AppIcon(u"konkur"_s));
    m_positions->setObjectName(u"Positionen"_s);
    m_competitors->setObjectName(u"Konkurerber"_s);
    m_priceTypes->setObjectName(u"Preistypen"_s);
    m_units->setObjectName(u"Einheiten"_s);
    m_articles->setObjectName(u"Artikelliste"_s);

    createMenus();
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(createFilterBar());
    setUpGrid();
    layout->addWidget(m_grid, 1);
    m_notiz->setObjectName(u"notiz"_s);
    m_notiz->setMaximumHeight(90);
    m_notiz->hide();
    layout->addWidget(m_notiz);
    layout->addWidget(createButtonBar());
    setCentralWidget(central);
    m_positionCount->setObjectName(u"Positionszahl"_s);
    statusBar()->addPermanentWidget(m_positionCount);

    setTabOrder(m_likonkur, m_anr);
    setTabOrder(m_anr, m_artsu);
    setTabOrder(m_artsu, m_volltext);
    setTabOrder(m_volltext, m_aenddatab);
    setTabOrder(m_aenddatab, findChild<QPushButton *>(u"BUSuch"_s));
    setTabOrder(findChild<QPushButton *>(u"BUSuch"_s), m_grid);

    connect(new FocusLossWatcher(m_anr), &FocusLossWatcher::focusLost, this, &FMStart::anr_LostFocus);
    connect(m_artsu, &QPushButton::clicked, this, &FMStart::artsu_Click);
    connect(m_notiz, &QPlainTextEdit::textChanged, this, &FMStart::notiz_Change);
    connect(new FocusLossWatcher(m_notiz), &FocusLossWatcher::focusLost, this, &FMStart::notiz_LostFocus);

    resize(1200, 720);
    cacheapi::instance().setMainWindow(this);
    connect(&cacheapi::instance().loginWindow(), &FMPass::loggedInAgain, this,
            [this] { setWindowTitle(WindowTitleFor(Context())); });
}

FMStart::~FMStart()
{
    if (cacheapi::instance().mainWindow() == this)
        cacheapi::instance().setMainWindow(nullptr);
    // An editor still open commits when the closing window takes its focus,
    // after this window is gone: the model then checks nothing.
    m_positions->setEditableCheck(nullptr);
    m_positions->setEditHandler(nullptr);
}

void FMStart::createMenus()
{
    QMenu *file = menuBar()->addMenu(u"&Datei"_s);
    file->setObjectName(u"m_datei"_s);
    connect(MakeAction(file, u"m_konkur"_s, u"&Konkurerber"_s, u"competitors"_s), &QAction::triggered, this,
            &FMStart::m_konkur_Click);
    connect(MakeAction(file, u"m_preistyp"_s, u"&Preistypen"_s, u"pricetypes"_s), &QAction::triggered, this,
            &FMStart::m_preistyp_Click);
    file->addSeparator();
    QAction *print = MakeAction(file, u"m_drucken"_s, u"&Drucken"_s, u"print"_s);
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(print, &QAction::triggered, this, &FMStart::BUDruck_Click);
    connect(MakeAction(file, u"m_export"_s, u"Export &CSV"_s, u"export"_s), &QAction::triggered, this,
            &FMStart::BUExport_Click);
    connect(MakeAction(file, u"m_export_xlsx"_s, u"Export &Excel"_s, u"export"_s), &QAction::triggered, this,
            &FMStart::BUExportXlsx_Click);
    file->addSeparator();
    QAction *login = MakeAction(file, u"mLogin"_s, u"&Login"_s, u"login"_s);
    file->addSeparator();
    QAction *quit = MakeAction(file, u"Beenden"_s, u"&Beenden"_s, u"exit"_s);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *help = menuBar()->addMenu(u"&Hilfe"_s);
    help->setObjectName(u"m_hilfe"_s);
    QAction *about = MakeAction(help, u"HilfeUeber"_s, u"Hilfe &über ..."_s,
                                u"about"_s);

    // The grid's context menu, also in the menu bar; its keys work in the grid.
    m_positionMenu->setObjectName(u"m_position"_s);
    m_positionMenu->setTitle(u"&Position"_s);
    const auto positionCommand = [this](const QString &name, const QString &caption, const QString &icon,
                                        const QKeySequence &keys, void (FMStart::*handler)()) {
        QAction *action = MakeAction(m_positionMenu, name, caption, icon);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_grid->addAction(action);
        connect(action, &QAction::triggered, this, handler);
    };
    positionCommand(u"m_pos_neu"_s, u"Neu"_s, u"new-row"_s, QKeySequence(Qt::Key_Insert), &FMStart::m_pos_neu_Click);
    positionCommand(u"m_pos_anfueg"_s, u"Kopie Anfügen"_s, u"copy-row"_s, QKeySequence(Qt::CTRL | Qt::Key_D),
                    &FMStart::m_pos_anfueg_Click);
    positionCommand(u"m_pos_loesch"_s, u"Löschen"_s, u"delete-row"_s, QKeySequence(Qt::CTRL | Qt::Key_Delete),
                    &FMStart::m_pos_loesch_Click);
    menuBar()->insertMenu(help->menuAction(), m_positionMenu);

    connect(login, &QAction::triggered, this, &FMStart::mLogin_Click);
    connect(quit, &QAction::triggered, this, &FMStart::close);
    connect(about, &QAction::triggered, this, &FMStart::HilfeUeber_Click);
}

QWidget *FMStart::createFilterBar()
{
    auto *bar = new QWidget(this);
    auto *grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);

    m_likonkur->setObjectName(u"likonkur"_s);
    m_likonkur->setLookup(m_competitors, true);
    m_likonkur->setMinimumContentsLength(12);
    m_likonkur->installEventFilter(this);
    m_anr->setObjectName(u"anr"_s);
    m_anr->setEditable(true);
    m_anr->setLookup(m_articles, true);
    // Suggestions only: inline completion would turn a typed "1000" into "100001".
    if (m_anr->completer())
        m_anr->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_anr->setMinimumContentsLength(8);
    m_artsu->setObjectName(u"artsu"_s);
    m_artsu->setIcon(AppIcon(u"search"_s));
    m_artsu->setToolTip(u"Artikelsuche"_s);
    m_artsu->setAutoDefault(false);
    m_bez1->setObjectName(u"bez1"_s);
    m_bez1->setReadOnly(true);
    m_bez1->setFocusPolicy(Qt::NoFocus);
    m_bez1->setMinimumWidth(260);
    m_volltext->setObjectName(u"volltext"_s);
    m_aenddatab->setObjectName(u"aenddatab"_s);
    m_aenddatab->setMaximumWidth(m_aenddatab->fontMetrics().horizontalAdvance(u"00.00.00000"_s) + 24);

    auto label = [bar](const QString &text, QWidget *buddy) {
        auto *result = new QLabel(text, bar);
        result->setBuddy(buddy);
        return result;
    };
    auto *article = new QHBoxLayout;
    article->addWidget(m_anr);
    article->addWidget(m_artsu);
    article->addWidget(m_bez1, 1);

    grid->addWidget(label(u"Konkurerber:"_s, m_likonkur), 0, 0);
    grid->addWidget(m_likonkur, 0, 1);
    grid->addWidget(label(u"Artikel:"_s, m_anr), 0, 2);
    grid->addLayout(article, 0, 3, 1, 3);
    grid->addWidget(label(u"Art.-Bez.:"_s, m_volltext), 1, 0);
    grid->addWidget(m_volltext, 1, 1);
    grid->addWidget(label(u"Änderungsdatum ab:"_s, m_aenddatab), 1, 2);
    grid->addWidget(m_aenddatab, 1, 3);
    QPushButton *search = MakeButton(bar, u"BUSuch"_s, u"Suchen"_s, u"search"_s);
    connect(search, &QPushButton::clicked, this, &FMStart::BUSuch_Click);
    grid->addWidget(search, 1, 5);
    grid->setColumnStretch(4, 1);
    return bar;
}

QWidget *FMStart::createButtonBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    QPushButton *save = MakeButton(bar, u"BUSpeich"_s, u"Speichern"_s, u"save"_s);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    save->setToolTip(u"Speichern (Strg+S)"_s);
    connect(save, &QPushButton::clicked, this, &FMStart::BUSpeich_Click);
    row->addWidget(save);
    row->addWidget(MakeButton(bar, u"BUDruck"_s, u"Drucken"_s, u"print"_s));
    row->addWidget(MakeButton(bar, u"BUExport"_s, u"Export CSV"_s, u"export"_s));
    row->addWidget(MakeButton(bar, u"BUExportXlsx"_s, u"Export Excel"_s, u"export"_s));
    row->addSpacing(24);
    row->addWidget(MakeButton(bar, u"BUPrtyp"_s, u"Preistypen"_s, u"pricetypes"_s));
    row->addWidget(MakeButton(bar, u"ctPush1"_s, u"Konkurerber"_s,
                              u"competitors"_s));
    row->addStretch(1);
    QPushButton *exit = MakeButton(bar, u"BUAusstieg"_s, u"Ausstieg"_s, u"exit"_s);
    row->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &FMStart::BUAusstieg_Click);
    for (const auto &[name, handler] : {std::pair{u"BUPrtyp"_s, &FMStart::m_preistyp_Click},
                                        std::pair{u"ctPush1"_s, &FMStart::m_konkur_Click},
                                        std::pair{u"BUDruck"_s, &FMStart::BUDruck_Click},
                                        std::pair{u"BUExport"_s, &FMStart::BUExport_Click},
                                        std::pair{u"BUExportXlsx"_s, &FMStart::BUExportXlsx_Click}})
        connect(bar->findChild<QPushButton *>(name), &QPushButton::clicked, this, handler);
    return bar;
}

void FMStart::setUpGrid()
{
    m_grid->setObjectName(u"TDBGrid1"_s);
    m_grid->setModel(m_positions);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setAlternatingRowColors(true);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &FMStart::TDBGrid1_ContextMenu);

    auto *cells = new PositionDelegate(this);
    cells->setObjectName(u"Zellen"_s);
    m_grid->setItemDelegate(cells);
    connect(cells, &PositionDelegate::columnButtonClicked, this, &FMStart::TDBGrid1_ButtonClick);
    connect(m_grid, &PositionGrid::columnButtonPressed, this, &FMStart::TDBGrid1_ButtonClick);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &FMStart::TDBGrid1_RowColChange);
    m_positions->setEditableCheck(
        [this](const PackedRow &row, int column) { return IsEditableCell(row, column, editContext()); });
    m_positions->setEditHandler(
        [this](int row, int column, const QVariant &typed) { return TDBGrid1_BeforeColUpdate(row, column, typed); });

    auto *competitorDropDown = new DropDownDelegate(m_competitors, this);
    competitorDropDown->setObjectName(u"konkur"_s);
    auto *priceTypeDropDown = new DropDownDelegate(m_priceTypes, this);
    priceTypeDropDown->setObjectName(u"prtyp"_s);
    auto *unitDropDown = new DropDownDelegate(m_units, this);
    unitDropDown->setObjectName(u"Einheit"_s);

    QHeaderView *header = m_grid->horizontalHeader();
    for (int column = 0; column < PositionColumnCount; ++column) {
        const PositionColumnInfo &info = ColumnInfo(column);
        m_grid->setColumnHidden(column, info.hidden);
        switch (info.dropDown) {
        case DropDownList::Competitors:
            m_grid->setItemDelegateForColumn(column, competitorDropDown);
            break;
        case DropDownList::PriceTypes:
            m_grid->setItemDelegateForColumn(column, priceTypeDropDown);
            break;
        case DropDownList::Units:
            m_grid->setItemDelegateForColumn(column, unitDropDown);
            break;
        case DropDownList::None:
            break;
        }
        int width = header->fontMetrics().horizontalAdvance(info.caption) + 20;
        if (column == PositionColumn::ArtBez)
            width = 240;
        else if (column == PositionColumn::Artnr) // six digits and the search button
            width = m_grid->fontMetrics().horizontalAdvance(u"0000000"_s) + 32;
        else if (column == PositionColumn::Notiz)
            width = 160;
        m_grid->setColumnWidth(column, qMax(width, 56));
    }
}

bool FMStart::Form_Load()
{
    LoginContext &ctx = Context();
    for (;;) {
        // The remembered password may serve each new attempt.
        ctx.IgnoreStoredPassword = false;
        if (Login())
            break;
        if (ExitRequested())
            return false;
    }
    setWindowTitle(WindowTitleFor(ctx));
    m_aenddatab->setDate(Today().addDays(-30));
    m_positions->clear();
    m_deletions.clear();
    konkur_lesen();
    prtyp_lesen();
    einh_lesen();
    art_lesen();
    return !ExitRequested();
}

QString FMStart::WindowTitleFor(const LoginContext &context)
{
    return u"TOLVEN Konkurerberverwaltung              Firma: " + context.Firm + u"     Filiale: " + context.Branch
        + u"     Benutzer: " + Piece(context.LoginKey, u"|"_s, 2);
}

QList<QStringList> FMStart::readList(const QString &className, const QString &queryName, const QList<int> &columns,
                                     const QString &operation)
{
    QList<QStringList> rows;
    try {
        if (!EnsureConnected())
            return rows;
        ReadFirmQuery(className, queryName, columns, rows);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
    }
    for (QStringList &row : rows) {
        for (QString &text : row)
            text = ServerToDisplay(text);
    }
    return rows;
}

void FMStart::konkur_lesen()
{
    m_competitors->setRows(readList(u"Konkur.Par"_s, u"Konkur"_s, {2, 3},
                                    u"Konkurerber lesen"_s));
}

void FMStart::prtyp_lesen()
{
    m_priceTypes->setRows(readList(u"Konkur.Preistyp"_s, u"Preistyp"_s, {2, 3, 4},
                                   u"Preistypen lesen"_s));
}

void FMStart::einh_lesen()
{
    m_units->setRows(readList(u"Konkur.Konkur"_s, u"Einheiten"_s, {2, 3},
                              u"Einheiten lesen"_s));
}

void FMStart::art_lesen()
{
    const QString operation = u"Artikelliste lesen"_s;
    QList<QStringList> rows = readList(u"Konkur.Konkur"_s, u"Artikelliste"_s, {1, 2},
                                       operation);
    try {
        std::unique_ptr<ServerObject> positions;
        for (QStringList &row : rows) {
            if (!row.at(1).isEmpty())
                continue;
            if (!positions)
                positions = Factory().classObject(u"Konkur.Konkur"_s);
            const QString answer = positions->callMethod(u"ArtBez1"_s, {Context().Firm, row.at(0)});
            row[1] = ServerToDisplay(Piece(answer, u"`"_s, 1));
        }
        CloseServerObject(positions);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
    }
    m_articles->setRows(rows);
}

void FMStart::BUSuch_Click()
{
    if (m_searching)
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
    m_positions->setPackedRows(search.run(Context().Firm, filters));

    const int found = m_positions->rowCount();
    m_positionCount->setText(PositionCountText(found));
    m_searching = false;
    EndServerCall(true);
    if (search.truncated()) {
        MsgBox(this, QMessageBox::Information, u"TOLVEN Konkurerberverwaltung"_s,
               u"Es werden nur die ersten " + PositionCountText(found)
                   + u" gezeigt. Bitte grenzen Sie die Suche mit den Filtern ein.");
    }
}

bool FMStart::art_hol()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0)
        return true;
    PackedRow::Cells cells = m_positions->cells(row);
    const ArticleFetch fetched = fetchArticle(cells);
    if (fetched == ArticleFetch::Unknown)
        ReportUnknownArticle(this);
    if (fetched != ArticleFetch::Filled)
        return true;
    m_positions->setCells(row, cells);
    return false;
}

FMStart::ArticleFetch FMStart::fetchArticle(PackedRow::Cells &cells)
{
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
    if (column == PositionColumn::MengeAb && cells[PositionColumn::SAM].toString() != u"J") {
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
        m_noteRow = -1;
        m_noteRefused = false;
        m_notiz->setPlainText(m_positions->cell(row, PositionColumn::Notiz).toString());
        m_noteRow = row;
        m_notiz->show();
        m_notiz->setFocus();
    }
}

void FMStart::notiz_Change()
{
    if (m_noteRow < 0 || m_noteRow >= m_positions->rowCount())
        return;
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
    if (text == m_positions->cell(m_noteRow, PositionColumn::Notiz).toString())
        return;
    m_positions->setCell(m_noteRow, PositionColumn::Notiz, text);
    // A changed note is a change of the position like any other.
    m_positions->setCell(m_noteRow, PositionColumn::AendDatum, QString());
}

QString FMStart::noteComplaint() const
{
    return ForbiddenCharacterComplaint(ColumnInfo(PositionColumn::Notiz).caption, m_notiz->toPlainText(), true);
}

void FMStart::notiz_LostFocus()
{
    if (m_noteRow >= 0 && m_noteRefused) {
        // Closing the editor would lose what the user typed.
        MsgBox(this, QMessageBox::Information, WindowTitle, noteComplaint());
        QTimer::singleShot(0, m_notiz, [this] { m_notiz->setFocus(); });
        return;
    }
    m_noteRow = -1;
    m_notiz->hide();
    m_grid->setFocus();
}

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
    return true;
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

void FMStart::showPositionCount()
{
    m_positionCount->setText(PositionCountText(m_positions->rowCount()));
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
    if (const QString id = m_positions->cell(row, PositionColumn::UID).toString(); !id.isEmpty())
        m_deletions << id;
    m_positions->removeRows(row, 1);
    showPositionCount();
}

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

bool FMStart::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_likonkur && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BUSuch_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
        ReportUnknownArticle(this);
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

void FMStart::BUAusstieg_Click()
{
    close();
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

void FMStart::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void FMStart::Form_Unload()
{
    Disconnect();
    ExitApplication();
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
    ExportCsv(this, *m_positions, *m_competitors);
}

void FMStart::BUExportXlsx_Click()
{
    if (!readyForCommand())
        return;
    ExportXlsx(this, *m_positions, *m_competitors);
}

} // namespace tolven
