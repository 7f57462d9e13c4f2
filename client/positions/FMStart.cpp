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
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/FMPass.h"
#include "access/Login.h"
#include "access/cacheapi.h"
#include "common/FocusLossWatcher.h"
#include "common/Icons.h"
#include "objectapi/TextConversion.h"
#include "positions/CellEdit.h"
#include "positions/DateField.h"
#include "positions/DropDownDelegate.h"
#include "positions/FMStart_p.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionDelegate.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "positions/WorkProgress.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

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
    , m_evaluation(new PositionEvaluation(*m_positions, this))
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
    setWindowTitle(fmstart::WindowTitle);
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
    connect(new FocusLossWatcher(m_aenddatab), &FocusLossWatcher::focusLost, this, &FMStart::aenddatab_LostFocus);
    connect(m_notiz, &QPlainTextEdit::textChanged, this, &FMStart::notiz_Change);
    connect(new FocusLossWatcher(m_notiz), &FocusLossWatcher::focusLost, this, &FMStart::notiz_LostFocus);

    resize(1200, 720);
    cacheapi::instance().setMainWindow(this);
    connect(&cacheapi::instance().loginWindow(), &FMPass::loggedInAgain, this, &FMStart::mLogin_Done);
    cacheapi::instance().setWorkReplaceCheck([this] { return mayReplaceWork(); });
}

FMStart::~FMStart()
{
    if (cacheapi::instance().mainWindow() == this)
        cacheapi::instance().setMainWindow(nullptr);
    cacheapi::instance().setWorkReplaceCheck({});
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
    connect(MakeAction(file, u"m_import"_s, u"&Import…"_s, u"import"_s), &QAction::triggered, this,
            &FMStart::BUImport_Click);
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
    m_positionMenu->addSeparator();
    positionCommand(u"m_pos_verlauf"_s, u"Änderungs&verlauf…"_s, QString(), QKeySequence(Qt::CTRL | Qt::Key_H),
                    &FMStart::m_pos_verlauf_Click);
    menuBar()->insertMenu(help->menuAction(), m_positionMenu);
    createAnalysisMenu(help->menuAction());

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
    row->addWidget(MakeButton(bar, u"BUImport"_s, u"Import"_s, u"import"_s));
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
                                        std::pair{u"BUExportXlsx"_s, &FMStart::BUExportXlsx_Click},
                                        std::pair{u"BUImport"_s, &FMStart::BUImport_Click}})
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
    startEmpty();
    return !ExitRequested();
}

void FMStart::startEmpty()
{
    hideNoteEditor();
    m_positions->clear();
    m_deletions.clear();
    m_deletionVersions.clear();
    m_articleDataComplete = true;
    m_positionCount->clear();
    konkur_lesen();
    prtyp_lesen();
    einh_lesen();
    art_lesen();
}

void FMStart::mLogin_Done(bool success)
{
    setWindowTitle(WindowTitleFor(Context()));
    if (!success)
        return;
    // Someone else, perhaps of another firm, works from now on: what the grid
    // and the lists hold was read for the login before.
    startEmpty();
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

void FMStart::BUAusstieg_Click()
{
    close();
}

void FMStart::closeEvent(QCloseEvent *event)
{
    // Unsaved work keeps the window when the user closes it and says so; when
    // the program ends anyway (the login given up, the server gone for good)
    // there is nothing to ask.
    if (!ExitRequested() && !mayReplaceWork()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void FMStart::Form_Unload()
{
    Disconnect();
    ExitApplication();
}

} // namespace tolven
