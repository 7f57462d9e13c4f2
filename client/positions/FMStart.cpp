#include "FMStart.h"

#include <QAction>
#include <QCloseEvent>
#include <QCompleter>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/FMPass.h"
#include "access/Login.h"
#include "access/TextConversion.h"
#include "access/cacheapi.h"
#include "app/Icons.h"
#include "app/frmAbout.h"
#include "positions/DateField.h"
#include "positions/DropDownDelegate.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

namespace tolven {

namespace {

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QString &icon)
{
    auto *button = new QPushButton(AppIcon(icon), caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
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
    , m_competitors(new LookupTable({QStringLiteral("Code"), QStringLiteral("Konkurerber")}, 0, this))
    , m_priceTypes(new LookupTable({QStringLiteral("Code"), QStringLiteral("Preistyp")}, 1, this))
    , m_units(new LookupTable({QStringLiteral("Code"), QStringLiteral("Bezeichnung Einheit")}, 0, this))
    , m_articles(new LookupTable({QStringLiteral("Art-Nr."), QStringLiteral("Bezeichnung")}, 0, this))
    , m_likonkur(new MultiColumnComboBox(this))
    , m_anr(new MultiColumnComboBox(this))
    , m_artsu(new QPushButton(this))
    , m_bez1(new QLineEdit(this))
    , m_volltext(new QLineEdit(this))
    , m_aenddatab(new DateField(this))
    , m_grid(new QTableView(this))
    , m_notiz(new QPlainTextEdit(this))
    , m_positionMenu(new QMenu(QStringLiteral("Position"), this))
{
    setObjectName(QStringLiteral("FMStart"));
    setWindowTitle(QStringLiteral("TOLVEN Konkurerberverwaltung"));
    setWindowIcon(AppIcon(QStringLiteral("konkur")));
    m_positions->setObjectName(QStringLiteral("Positionen"));
    m_competitors->setObjectName(QStringLiteral("Konkurerber"));
    m_priceTypes->setObjectName(QStringLiteral("Preistypen"));
    m_units->setObjectName(QStringLiteral("Einheiten"));
    m_articles->setObjectName(QStringLiteral("Artikelliste"));

    createMenus();
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(createFilterBar());
    setUpGrid();
    layout->addWidget(m_grid, 1);
    m_notiz->setObjectName(QStringLiteral("notiz"));
    m_notiz->setMaximumHeight(90);
    m_notiz->hide();
    layout->addWidget(m_notiz);
    layout->addWidget(createButtonBar());
    setCentralWidget(central);

    setTabOrder(m_likonkur, m_anr);
    setTabOrder(m_anr, m_artsu);
    setTabOrder(m_artsu, m_volltext);
    setTabOrder(m_volltext, m_aenddatab);
    setTabOrder(m_aenddatab, findChild<QPushButton *>(QStringLiteral("BUSuch")));
    setTabOrder(findChild<QPushButton *>(QStringLiteral("BUSuch")), m_grid);

    resize(1200, 720);
    cacheapi::instance().setMainWindow(this);
    connect(&cacheapi::instance().loginWindow(), &FMPass::loggedInAgain, this,
            [this] { setWindowTitle(WindowTitleFor(Context())); });
}

FMStart::~FMStart()
{
    if (cacheapi::instance().mainWindow() == this)
        cacheapi::instance().setMainWindow(nullptr);
}

void FMStart::createMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("m_datei"));
    MakeAction(file, QStringLiteral("m_konkur"), QStringLiteral("&Konkurerber"), QStringLiteral("competitors"));
    MakeAction(file, QStringLiteral("m_preistyp"), QStringLiteral("&Preistypen"), QStringLiteral("pricetypes"));
    file->addSeparator();
    QAction *login = MakeAction(file, QStringLiteral("mLogin"), QStringLiteral("&Login"), QStringLiteral("login"));
    file->addSeparator();
    QAction *quit = MakeAction(file, QStringLiteral("Beenden"), QStringLiteral("&Beenden"), QStringLiteral("exit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("m_hilfe"));
    QAction *about = MakeAction(help, QStringLiteral("HilfeUeber"), QStringLiteral("Hilfe &über ..."),
                                QStringLiteral("about"));

    m_positionMenu->setObjectName(QStringLiteral("m_position"));
    MakeAction(m_positionMenu, QStringLiteral("m_pos_neu"), QStringLiteral("Neu"), QStringLiteral("new-row"));
    MakeAction(m_positionMenu, QStringLiteral("m_pos_anfueg"), QStringLiteral("Kopie Anfügen"),
               QStringLiteral("copy-row"));
    MakeAction(m_positionMenu, QStringLiteral("m_pos_loesch"), QStringLiteral("Löschen"),
               QStringLiteral("delete-row"));

    connect(login, &QAction::triggered, this, &FMStart::mLogin_Click);
    connect(quit, &QAction::triggered, this, &FMStart::close);
    connect(about, &QAction::triggered, this, &FMStart::HilfeUeber_Click);
}

QWidget *FMStart::createFilterBar()
{
    auto *bar = new QWidget(this);
    auto *grid = new QGridLayout(bar);
    grid->setContentsMargins(0, 0, 0, 0);

    m_likonkur->setObjectName(QStringLiteral("likonkur"));
    m_likonkur->setLookup(m_competitors, true);
    m_likonkur->setMinimumContentsLength(12);
    m_anr->setObjectName(QStringLiteral("anr"));
    m_anr->setEditable(true);
    m_anr->setLookup(m_articles, true);
    // Suggestions only: inline completion would turn a typed "1000" into "100001".
    if (m_anr->completer())
        m_anr->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_anr->setMinimumContentsLength(8);
    m_artsu->setObjectName(QStringLiteral("artsu"));
    m_artsu->setIcon(AppIcon(QStringLiteral("search")));
    m_artsu->setToolTip(QStringLiteral("Artikelsuche"));
    m_artsu->setAutoDefault(false);
    m_bez1->setObjectName(QStringLiteral("bez1"));
    m_bez1->setReadOnly(true);
    m_bez1->setFocusPolicy(Qt::NoFocus);
    m_bez1->setMinimumWidth(260);
    m_volltext->setObjectName(QStringLiteral("volltext"));
    m_aenddatab->setObjectName(QStringLiteral("aenddatab"));
    m_aenddatab->setMaximumWidth(m_aenddatab->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 24);

    auto label = [bar](const QString &text, QWidget *buddy) {
        auto *result = new QLabel(text, bar);
        result->setBuddy(buddy);
        return result;
    };
    auto *article = new QHBoxLayout;
    article->addWidget(m_anr);
    article->addWidget(m_artsu);
    article->addWidget(m_bez1, 1);

    grid->addWidget(label(QStringLiteral("Konkurerber:"), m_likonkur), 0, 0);
    grid->addWidget(m_likonkur, 0, 1);
    grid->addWidget(label(QStringLiteral("Artikel:"), m_anr), 0, 2);
    grid->addLayout(article, 0, 3, 1, 3);
    grid->addWidget(label(QStringLiteral("Art.-Bez.:"), m_volltext), 1, 0);
    grid->addWidget(m_volltext, 1, 1);
    grid->addWidget(label(QStringLiteral("Änderungsdatum ab:"), m_aenddatab), 1, 2);
    grid->addWidget(m_aenddatab, 1, 3);
    QPushButton *search = MakeButton(bar, QStringLiteral("BUSuch"), QStringLiteral("Suchen"), QStringLiteral("search"));
    grid->addWidget(search, 1, 5);
    grid->setColumnStretch(4, 1);
    return bar;
}

QWidget *FMStart::createButtonBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(MakeButton(bar, QStringLiteral("BUSpeich"), QStringLiteral("Speichern"), QStringLiteral("save")));
    row->addWidget(MakeButton(bar, QStringLiteral("BUDruck"), QStringLiteral("Drucken"), QStringLiteral("print")));
    row->addWidget(MakeButton(bar, QStringLiteral("BUExport"), QStringLiteral("Export CSV"), QStringLiteral("export")));
    row->addSpacing(24);
    row->addWidget(MakeButton(bar, QStringLiteral("BUPrtyp"), QStringLiteral("Preistypen"), QStringLiteral("pricetypes")));
    row->addWidget(MakeButton(bar, QStringLiteral("ctPush1"), QStringLiteral("Konkurerber"),
                              QStringLiteral("competitors")));
    row->addStretch(1);
    QPushButton *exit = MakeButton(bar, QStringLiteral("BUAusstieg"), QStringLiteral("Ausstieg"), QStringLiteral("exit"));
    row->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &FMStart::BUAusstieg_Click);
    return bar;
}

void FMStart::setUpGrid()
{
    m_grid->setObjectName(QStringLiteral("TDBGrid1"));
    m_grid->setModel(m_positions);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setAlternatingRowColors(true);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &FMStart::TDBGrid1_ContextMenu);

    auto *competitorDropDown = new DropDownDelegate(m_competitors, this);
    competitorDropDown->setObjectName(QStringLiteral("konkur"));
    auto *priceTypeDropDown = new DropDownDelegate(m_priceTypes, this);
    priceTypeDropDown->setObjectName(QStringLiteral("prtyp"));
    auto *unitDropDown = new DropDownDelegate(m_units, this);
    unitDropDown->setObjectName(QStringLiteral("Einheit"));

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
        + u"     Benutzer: " + Piece(context.LoginKey, QStringLiteral("|"), 2);
}

QList<QStringList> FMStart::readList(const QString &className, const QString &queryName, const QList<int> &columns,
                                     const QString &operation)
{
    QList<QStringList> rows;
    try {
        if (!EnsureConnected())
            return rows;
        std::unique_ptr<ResultSet> result = Factory().openQuery(className, queryName);
        result->execute({Context().Firm});
        while (result->next()) {
            QStringList row;
            row.reserve(columns.size());
            for (int column : columns)
                row << ServerToDisplay(result->getColumn(column));
            rows << row;
        }
        CloseServerObject(result);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
    }
    return rows;
}

void FMStart::konkur_lesen()
{
    m_competitors->setRows(readList(QStringLiteral("Konkur.Par"), QStringLiteral("Konkur"), {2, 3},
                                    QStringLiteral("Konkurerber lesen")));
}

void FMStart::prtyp_lesen()
{
    m_priceTypes->setRows(readList(QStringLiteral("Konkur.Preistyp"), QStringLiteral("Preistyp"), {2, 3, 4},
                                   QStringLiteral("Preistypen lesen")));
}

void FMStart::einh_lesen()
{
    m_units->setRows(readList(QStringLiteral("Konkur.Konkur"), QStringLiteral("Einheiten"), {2, 3},
                              QStringLiteral("Einheiten lesen")));
}

void FMStart::art_lesen()
{
    const QString operation = QStringLiteral("Artikelliste lesen");
    QList<QStringList> rows = readList(QStringLiteral("Konkur.Konkur"), QStringLiteral("Artikelliste"), {1, 2},
                                       operation);
    try {
        std::unique_ptr<ServerObject> positions;
        for (QStringList &row : rows) {
            if (!row.at(1).isEmpty())
                continue;
            if (!positions)
                positions = Factory().classObject(QStringLiteral("Konkur.Konkur"));
            const QString answer = positions->callMethod(QStringLiteral("ArtBez1"), {Context().Firm, row.at(0)});
            row[1] = ServerToDisplay(Piece(answer, QStringLiteral("`"), 1));
        }
        CloseServerObject(positions);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
    }
    m_articles->setRows(rows);
}

void FMStart::BUAusstieg_Click()
{
    close();
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

} // namespace tolven
