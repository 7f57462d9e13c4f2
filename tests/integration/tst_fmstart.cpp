#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include "access/Clock.h"
#include "access/Connection.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/cacheapi.h"
#include "common/Icons.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionValidation.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"
#include "support/ClientFixture.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QDate FixedToday(2026, 3, 2);

QString Title(const QString &firm, const QString &branch, const QString &user)
{
    return u"TOLVEN Konkurerberverwaltung              Firma: " + firm + u"     Filiale: " + branch
        + u"     Benutzer: " + user;
}

// Server form (braces for umlauts) must never reach a list the user sees.
bool InDisplayForm(const LookupTable &table)
{
    for (int row = 0; row < table.rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            const QString text = table.text(row, column);
            if (text.contains(u'{') || text.contains(u'}') || text.contains(u'~') || text.contains(u'['))
                return false;
        }
    }
    return true;
}

} // namespace

// The main window's start-up against the demo firms on both databases: the
// login loop, the title, the filters, the empty grid and the look-up lists;
// then the repeated login, the about box and the ways to end the program.
class TestFMStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void startUpFillsTheLists();
    void startUpOfAFirmWithoutLists();
    void windowLayout();
    void loginLoopAtStartUp();
    void cancelAtStartUpEndsTheProgram();
    void repeatedLoginFromTheMenu_data();
    void repeatedLoginFromTheMenu();
    void storedServerSettingsWaitForTheNextLogin();
    void serverSettingsStoredAtStartUpServeThatLogin();
    void aboutBox();
    void closing_data();
    void closing();

private:
    void useCommandLine(const QString &loginFields);
    // Settings as a login on the test database leaves them.
    void rememberLogin(const QString &user, const QString &password);
    // Starts the main window; false (with the test failed) when start-up did not finish.
    bool start(FMStart &window);
    bool isSQLiteRow() const;

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
};

void TestFMStart::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    testsupport::HideOffscreenPlatformNotices();
    InitAppResources();
    SetTodayProvider([] { return FixedToday; });
}

void TestFMStart::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
}

void TestFMStart::cleanup()
{
    m_fixture.reset();
    m_db.reset();
}

bool TestFMStart::isSQLiteRow() const
{
    QFETCH_GLOBAL(QString, backend);
    return backend == u"SQLite";
}

void TestFMStart::useCommandLine(const QString &loginFields)
{
    m_fixture->setCommandLine(loginFields + u' ' + testsupport::ClientFixture::serverOf(*m_db) + u' '
                              + testsupport::ClientFixture::portOf(*m_db));
}

void TestFMStart::rememberLogin(const QString &user, const QString &password)
{
    m_fixture->writeSetting(u"Server"_s, testsupport::ClientFixture::serverOf(*m_db));
    m_fixture->writeSetting(u"Port"_s, testsupport::ClientFixture::portOf(*m_db));
    m_fixture->writeSetting(u"Name"_s, user);
    m_fixture->writeSetting(u"Passwort"_s, ScramblePassword(password));
}

bool TestFMStart::start(FMStart &window)
{
    if (!window.Form_Load())
        return false;
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

void TestFMStart::startUpFillsTheLists()
{
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"2 0 KRAUSE krause"_s);
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);

    QCOMPARE(window.windowTitle(), Title(u"2"_s, u"0"_s, u"Heike Krause"_s));
    QCOMPARE(window.findChild<DateField *>(u"aenddatab"_s)->date(), FixedToday.addDays(-30));
    QCOMPARE(window.positionArray().rowCount(), 0);
    QCOMPARE(window.positionArray().columnCount(), PositionColumnCount);
    QVERIFY(window.deletionList().isEmpty());

    QCOMPARE(window.competitorArray().rowCount(), store::demo::Firm2Competitors);
    QCOMPARE(window.priceTypeArray().rowCount(), store::demo::Firm2PriceTypes);
    // Beside code and name each price type says whether it carries an end date.
    for (int row = 0; row < window.priceTypeArray().rowCount(); ++row)
        QVERIFY(QStringList({u"J"_s, u"N"_s}).contains(window.priceTypeArray().text(row, 2)));
    QVERIFY(window.unitArray().rowCount() > 0);
    QVERIFY(window.articleList().rowCount() > 0);
    QVERIFY(window.articleList().rowCount() <= store::demo::Firm2Positions);
    for (const LookupTable *table : {&window.competitorArray(), &window.priceTypeArray(), &window.unitArray(),
                                     &window.articleList()}) {
        QVERIFY2(InDisplayForm(*table), qPrintable(table->objectName()));
        for (int row = 0; row < table->rowCount(); ++row) {
            QVERIFY2(!table->text(row, 0).isEmpty(), qPrintable(table->objectName()));
            QVERIFY2(!table->text(row, 1).isEmpty(), qPrintable(table->objectName()));
        }
    }

    // The filters offer an empty entry first, then one per list row.
    auto *likonkur = window.findChild<MultiColumnComboBox *>(u"likonkur"_s);
    QCOMPARE(likonkur->count(), store::demo::Firm2Competitors + 1);
    QCOMPARE(likonkur->currentCode(), QString());
    auto *anr = window.findChild<MultiColumnComboBox *>(u"anr"_s);
    QCOMPARE(anr->count(), window.articleList().rowCount() + 1);
}

void TestFMStart::startUpOfAFirmWithoutLists()
{
    // A firm with a person and nothing else still starts.
    {
        store::StoreFactory factory;
        QVERIFY(factory.connect(m_db->connectString()));
        const auto save = [&](const QString &className, const QList<std::pair<QString, QString>> &values) {
            auto object = factory.createNew(className);
            for (const auto &[name, value] : values)
                object->setProperty(name, value);
            object->sys_save();
            object->sys_Close();
        };
        save(u"TV.ParPersEdv"_s, {{u"Firma"_s, u"7"_s}, {u"Personalcode"_s, u"NEU"_s}, {u"Passwort"_s, u"neu"_s},
                                  {u"AKTIV"_s, u"J"_s}, {u"PNAME"_s, u"Neu Ling"_s}, {u"ABTNR"_s, u"1"_s},
                                  {u"PNR"_s, u"1"_s}});
        save(u"TV.ParPersAbt"_s, {{u"Firma"_s, u"7"_s}, {u"ABTNR"_s, u"1"_s}, {u"abtbez"_s, u"Verkauf"_s}});
        save(u"TV.PersBasis"_s, {{u"Firma"_s, u"7"_s}, {u"PNR"_s, u"1"_s}});
    }
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"7 0 NEU neu"_s);
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(window.windowTitle(), Title(u"7"_s, u"0"_s, u"Neu Ling"_s));
    for (const LookupTable *table : {&window.competitorArray(), &window.priceTypeArray(), &window.unitArray(),
                                     &window.articleList()})
        QCOMPARE(table->rowCount(), 0);
    QCOMPARE(window.findChild<MultiColumnComboBox *>(u"likonkur"_s)->count(), 1);
    QCOMPARE(window.findChild<MultiColumnComboBox *>(u"anr"_s)->count(), 1);
}

void TestFMStart::windowLayout()
{
    if (!isSQLiteRow())
        QSKIP("the window's make-up does not depend on the database");
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_s);
    FMStart window;
    QVERIFY(start(window));

    // Umlauts of the competitor names in display form.
    bool found = false;
    for (int row = 0; row < window.competitorArray().rowCount(); ++row)
        found = found || window.competitorArray().text(row, 1) == u"Werkhof Markt Lüneburg";
    QVERIFY(found);

    const QList<std::pair<QString, QString>> buttons{
        {u"BUSuch"_s, u"Suchen"_s},         {u"BUSpeich"_s, u"Speichern"_s}, {u"BUDruck"_s, u"Drucken"_s},
        {u"BUExport"_s, u"Export CSV"_s},  {u"BUPrtyp"_s, u"Preistypen"_s}, {u"ctPush1"_s, u"Konkurerber"_s},
        {u"BUImport"_s, u"Import"_s},      {u"BUAusstieg"_s, u"Ausstieg"_s}};
    for (const auto &[name, caption] : buttons) {
        auto *button = window.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->text(), caption);
    }
    QVERIFY(!window.findChild<QPushButton *>(u"artsu"_s)->icon().isNull());

    const QList<std::pair<QString, QString>> actions{
        {u"m_konkur"_s, u"&Konkurerber"_s}, {u"m_preistyp"_s, u"&Preistypen"_s},
        {u"mLogin"_s, u"&Login"_s},         {u"Beenden"_s, u"&Beenden"_s},
        {u"HilfeUeber"_s, u"Hilfe &über ..."_s}, {u"m_pos_neu"_s, u"Neu"_s},
        {u"m_pos_anfueg"_s, u"Kopie Anfügen"_s}, {u"m_pos_loesch"_s, u"Löschen"_s},
        {u"m_import"_s, u"&Import…"_s}};
    for (const auto &[name, caption] : actions) {
        auto *action = window.findChild<QAction *>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
    }
    QStringList menus;
    for (QAction *menu : window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{u"&Datei"_s, u"&Position"_s, u"A&uswertung"_s, u"&Hilfe"_s}));
    QStringList fileMenu;
    for (QAction *item : window.menuBar()->actions().first()->menu()->actions())
        fileMenu << (item->isSeparator() ? u"-"_s : item->objectName());
    QCOMPARE(fileMenu, (QStringList{u"m_konkur"_s, u"m_preistyp"_s, u"-"_s, u"m_drucken"_s, u"m_export"_s,
                                    u"m_export_xlsx"_s, u"m_import"_s, u"-"_s, u"mLogin"_s, u"-"_s, u"Beenden"_s}));
    QCOMPARE(window.findChild<QMenu *>(u"m_position"_s)->title(), u"&Position"_s);

    QStringList labels;
    for (const QLabel *label : window.findChildren<QLabel *>())
        labels << label->text();
    for (const char *text : {"Konkurerber:", "Artikel:", "Art.-Bez.:", "Änderungsdatum ab:"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);

    // The grid: captions, hidden columns, drop-downs.
    auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_s);
    QCOMPARE(grid->model(), &window.positionArray());
    for (int column = 0; column < PositionColumnCount; ++column) {
        QCOMPARE(grid->isColumnHidden(column), column == 27 || column == 28 || column == 29 || column == 31);
        const bool dropDown = column == 0 || column == 4 || column == 8 || column == 12;
        QCOMPARE(grid->itemDelegateForColumn(column) != nullptr, dropDown);
    }
    QCOMPARE(grid->model()->headerData(30, Qt::Horizontal).toString(), u"Änd-Datum"_s);
    QCOMPARE(grid->itemDelegateForColumn(0)->objectName(), u"konkur"_s);
    QCOMPARE(grid->itemDelegateForColumn(4)->objectName(), u"prtyp"_s);
    QCOMPARE(grid->itemDelegateForColumn(12), grid->itemDelegateForColumn(8));
    QVERIFY(!window.findChild<QWidget *>(u"notiz"_s)->isVisible());

    // Tab order of the filter bar, into the grid.
    QStringList chain;
    QWidget *widget = window.findChild<QWidget *>(u"likonkur"_s);
    for (int i = 0; i < 7; ++i) {
        chain << widget->objectName();
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()
               || widget->objectName().startsWith(u"qt_"))
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain, (QStringList{u"likonkur"_s, u"anr"_s, u"artsu"_s, u"volltext"_s, u"aenddatab"_s,
                                 u"BUSuch"_s, u"TDBGrid1"_s}));

    // A typed article number stays as typed, even where it begins a listed one.
    auto *anr = window.findChild<MultiColumnComboBox *>(u"anr"_s);
    QVERIFY(window.articleList().findCode(store::demo::WidelyPricedArticle.toString()) >= 0);
    anr->setFocus();
    QTest::keyClicks(anr->lineEdit(), store::demo::WidelyPricedArticle.toString().left(4));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(anr->currentCode(), store::demo::WidelyPricedArticle.toString().left(4));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestFMStart::loginLoopAtStartUp()
{
    // A remembered login whose password has changed: the login says so, the
    // login window comes with what was remembered, and the loop goes on
    // until a login succeeds.
    testsupport::ScriptedDialogs dialogs;
    rememberLogin(u"MUELLER"_s, u"alt"_s);
    dialogs.expectMessage(u"Anmeldung an Caché."_s, u"Passwort Falsch oder Benutzer nicht Aktiv."_s);
    QString userShown;
    int passwordSelected = -1;
    dialogs.expectDialog(u"FMPass"_s, [&](QDialog &login) {
        userShown = login.findChild<QLineEdit *>(u"BUSER"_s)->text();
        auto *password = login.findChild<QLineEdit *>(u"BPASSWORT"_s);
        passwordSelected = int(password->selectedText().size());
        // Another wrong one first, then the right one.
        password->setText(u"falsch"_s);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        return 1;
    });
    dialogs.expectMessage(u"Anmeldung an Caché."_s, u"Passwort Falsch oder Benutzer nicht Aktiv."_s);
    dialogs.expectDialog(u"FMPass"_s, [&](QDialog &login) {
        login.findChild<QLineEdit *>(u"BPASSWORT"_s)->setText(u"Konkur24"_s);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        return 1;
    });
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(userShown, u"MUELLER"_s);
    QCOMPARE(passwordSelected, 3);
    QCOMPARE(window.windowTitle(), Title(u"1"_s, u"0"_s, u"Jürgen Müller"_s));
    QCOMPARE(ScramblePassword(m_fixture->setting(u"Passwort"_s)), u"Konkur24"_s);
    QCOMPARE(m_fixture->exits(), 0);
}

void TestFMStart::cancelAtStartUpEndsTheProgram()
{
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMPass"_s, [](QDialog &login) {
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUAusst"_s), Qt::LeftButton);
        return 0;
    });
    FMStart window;
    QVERIFY(!window.Form_Load());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->exits(), 1);
    QCOMPARE(m_fixture->factoriesMade(), 0);
}

void TestFMStart::repeatedLoginFromTheMenu_data()
{
    QTest::addColumn<bool>("commandLine");
    QTest::newRow("remembered login") << false;
    QTest::newRow("command line") << true;
}

// The command line serves the start-up only: a login from the menu is the
// login the user typed, also when the program was started with one.
void TestFMStart::repeatedLoginFromTheMenu()
{
    QFETCH(bool, commandLine);
    testsupport::ScriptedDialogs dialogs;
    if (commandLine)
        useCommandLine(u"1 0 MUELLER Konkur24"_s);
    else
        rememberLogin(u"MUELLER"_s, u"Konkur24"_s);
    FMStart window;
    QVERIFY(start(window));
    QCOMPARE(m_fixture->factoriesMade(), 1);

    FMPass &login = m_fixture->api().loginWindow();
    window.findChild<QAction *>(u"mLogin"_s)->trigger();
    QVERIFY(login.isVisible());
    login.userField()->setText(u"schmidt"_s);
    login.passwordField()->setText(u"baustoff"_s);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_s, u"0"_s, u"Anna Schmidt"_s));
    QCOMPARE(m_fixture->context().UserCode, u"SCHMIDT"_s);
    QCOMPARE(m_fixture->setting(u"Name"_s), u"SCHMIDT"_s);
    QCOMPARE(m_fixture->factoriesMade(), 2); // the login connects anew

    // A failed login leaves nobody logged in: the window stays for another try.
    window.findChild<QAction *>(u"mLogin"_s)->trigger();
    login.passwordField()->setText(u"falsch"_s);
    dialogs.expectMessage(u"Anmeldung an Caché."_s, u"Passwort Falsch oder Benutzer nicht Aktiv."_s);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_s, u"0"_s, QString()));
    login.passwordField()->setText(u"baustoff"_s);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_s, u"0"_s, u"Anna Schmidt"_s));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->exits(), 0);
}

// Settings stored in the server window during a login from the menu serve
// the next login: when the user cancels this one, the session goes on for
// its firm and person, in the title, the search, new positions and on the
// connection made again after storing dropped it.
void TestFMStart::storedServerSettingsWaitForTheNextLogin()
{
    testsupport::ScriptedDialogs dialogs;
    QStringList contextCommands;
    m_fixture->interceptCalls([&contextCommands](const QString &, const QString &name, const QStringList &arguments) {
        if (name == u"Xecute" && arguments.value(0).startsWith(u"S FIRMA="))
            contextCommands << arguments.value(0);
    });
    rememberLogin(u"MUELLER"_s, u"Konkur24"_s);
    FMStart window;
    QVERIFY(start(window));
    const QString title = Title(u"1"_s, u"0"_s, u"Jürgen Müller"_s);
    QCOMPARE(window.windowTitle(), title);

    // Another personnel code typed, then firm 2 stored, then Escape.
    FMPass &login = m_fixture->api().loginWindow();
    window.findChild<QAction *>(u"mLogin"_s)->trigger();
    login.userField()->setText(u"KRAUSE"_s);
    dialogs.expectDialog(u"FMServer"_s, testsupport::StoreInServerWindow(dialogs, {{u"BFIRMA"_s, u"2"_s}}));
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUServer"_s), Qt::LeftButton);
    QCOMPARE(m_fixture->api().serverWindow().fieldValues().firm, u"2"_s);
    QTest::keyClick(&login, Qt::Key_Escape);
    QVERIFY(!login.isVisible());
    QCOMPARE(m_fixture->exits(), 0);

    QCOMPARE(m_fixture->setting(u"Firma"_s), u"2"_s);
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.Branch, ctx.UserCode, ctx.ServerAddress}),
             (QStringList{u"1"_s, u"0"_s, u"MUELLER"_s, testsupport::ClientFixture::serverOf(*m_db)}));
    QCOMPARE(window.windowTitle(), title);

    contextCommands.clear();
    window.findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    window.BUSuch_Click();
    QCOMPARE(contextCommands, QStringList{SetContextCommand(u"1"_s, u"0"_s, u"MUELLER"_s)});
    PositionModel &positions = window.positionArray();
    QVERIFY(positions.rowCount() > 0);
    int complete = -1;
    for (int row = 0; row < positions.rowCount(); ++row) {
        const QString id = positions.cell(row, PositionColumn::UID).toString();
        QVERIFY2(id.startsWith(u"1||"), qPrintable(id));
        bool filled = true;
        for (int column : MandatoryColumns)
            filled = filled && !positions.index(row, column).data().toString().isEmpty();
        if (complete < 0 && filled)
            complete = row;
    }
    QVERIFY(complete >= 0);

    // A copy of a position, saved as a new one, is firm 1's too.
    positions.removeRows(complete + 1, positions.rowCount() - complete - 1);
    positions.removeRows(0, complete);
    window.findChild<QTableView *>(u"TDBGrid1"_s)->setCurrentIndex(positions.index(0, PositionColumn::Konkur));
    window.m_pos_anfueg_Click();
    QCOMPARE(positions.rowCount(), 2);
    positions.setCell(1, PositionColumn::MengeAb, 987654.0);
    window.BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    const QString id = positions.cell(1, PositionColumn::UID).toString();
    QVERIFY2(id.startsWith(u"1||"), qPrintable(id));
    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    QCOMPARE(factory.openById(u"Konkur.Konkur"_s, id)->property(u"Firma"_s), u"1"_s);

    // The next login takes what was stored. Firm 1's password does not open
    // firm 2: nobody is logged in then, and the login window stays.
    window.findChild<QAction *>(u"mLogin"_s)->trigger();
    login.userField()->setText(u"MUELLER"_s);
    dialogs.expectMessage(u"Anmeldung an Caché."_s, u"Passwort Falsch oder Benutzer nicht Aktiv."_s);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(login.isVisible());
    QVERIFY(ctx.LoginKey.isEmpty());
    login.passwordField()->setText(u"Zweigwerk"_s);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QCOMPARE(ctx.Firm, u"2"_s);
    QCOMPARE(window.windowTitle(), Title(u"2"_s, u"0"_s, u"Sören Mühlbauer"_s));
    QCOMPARE(contextCommands.last(), SetContextCommand(u"2"_s, u"0"_s, u"MUELLER"_s));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestFMStart::serverSettingsStoredAtStartUpServeThatLogin()
{
    // Before anybody is logged in, the login waiting in the login window
    // is the next one.
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Server"_s, testsupport::ClientFixture::serverOf(*m_db));
    m_fixture->writeSetting(u"Port"_s, testsupport::ClientFixture::portOf(*m_db));
    dialogs.expectDialog(u"FMPass"_s, [](QDialog &login) {
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUServer"_s), Qt::LeftButton);
        login.findChild<QLineEdit *>(u"BUSER"_s)->setText(u"MUELLER"_s);
        login.findChild<QLineEdit *>(u"BPASSWORT"_s)->setText(u"Zweigwerk"_s);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        return 1;
    });
    dialogs.expectDialog(u"FMServer"_s, testsupport::StoreInServerWindow(dialogs, {{u"BFIRMA"_s, u"2"_s}}));
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(window.windowTitle(), Title(u"2"_s, u"0"_s, u"Sören Mühlbauer"_s));
    QCOMPARE(m_fixture->setting(u"Firma"_s), u"2"_s);
}

void TestFMStart::aboutBox()
{
    if (!isSQLiteRow())
        QSKIP("the about box does not depend on the database");
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_s);
    FMStart window;
    QVERIFY(start(window));
    window.findChild<QAction *>(u"HilfeUeber"_s)->trigger();
    QDialog *about = window.findChild<QDialog *>(u"frmAbout"_s);
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestFMStart::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ausstieg") << u"BUAusstieg"_s;
    QTest::newRow("Beenden") << u"Beenden"_s;
    QTest::newRow("close box") << QString();
}

void TestFMStart::closing()
{
    QFETCH(QString, how);
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_s);
    FMStart window;
    QVERIFY(start(window));
    window.findChild<QAction *>(u"HilfeUeber"_s)->trigger();
    QVERIFY(m_fixture->api().factory()->isConnected());

    if (how == u"BUAusstieg")
        QTest::mouseClick(window.findChild<QPushButton *>(how), Qt::LeftButton);
    else if (how == u"Beenden")
        window.findChild<QAction *>(how)->trigger();
    else
        window.close();
    QVERIFY(!window.isVisible());
    QTRY_VERIFY(!window.findChild<QDialog *>(u"frmAbout"_s) || !window.findChild<QDialog *>(u"frmAbout"_s)->isVisible());
    QVERIFY(!m_fixture->api().factory()->isConnected());
    QCOMPARE(m_fixture->exits(), 1);
    VERIFY_DIALOGS_DONE(dialogs);
}

QTEST_MAIN(TestFMStart)
#include "tst_fmstart.moc"
