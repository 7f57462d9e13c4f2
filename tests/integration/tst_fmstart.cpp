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
#include "access/cacheapi.h"
#include "app/Icons.h"
#include "positions/DateField.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/FMStart.h"
#include "store/DemoData.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

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
    void repeatedLoginFromTheMenu();
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
    m_fixture->writeSetting(u"Server"_qs, testsupport::ClientFixture::serverOf(*m_db));
    m_fixture->writeSetting(u"Port"_qs, testsupport::ClientFixture::portOf(*m_db));
    m_fixture->writeSetting(u"Name"_qs, user);
    m_fixture->writeSetting(u"Passwort"_qs, ScramblePassword(password));
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
    useCommandLine(u"2 0 KRAUSE krause"_qs);
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);

    QCOMPARE(window.windowTitle(), Title(u"2"_qs, u"0"_qs, u"Heike Krause"_qs));
    QCOMPARE(window.findChild<DateField *>(u"aenddatab"_qs)->date(), FixedToday.addDays(-30));
    QCOMPARE(window.positionArray().rowCount(), 0);
    QCOMPARE(window.positionArray().columnCount(), PositionColumnCount);
    QVERIFY(window.deletionList().isEmpty());

    QCOMPARE(window.competitorArray().rowCount(), store::demo::Firm2Competitors);
    QCOMPARE(window.priceTypeArray().rowCount(), store::demo::Firm2PriceTypes);
    // Beside code and name each price type says whether it carries an end date.
    for (int row = 0; row < window.priceTypeArray().rowCount(); ++row)
        QVERIFY(QStringList({u"J"_qs, u"N"_qs}).contains(window.priceTypeArray().text(row, 2)));
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
    auto *likonkur = window.findChild<MultiColumnComboBox *>(u"likonkur"_qs);
    QCOMPARE(likonkur->count(), store::demo::Firm2Competitors + 1);
    QCOMPARE(likonkur->currentCode(), QString());
    auto *anr = window.findChild<MultiColumnComboBox *>(u"anr"_qs);
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
        save(u"TV.ParPersEdv"_qs, {{u"Firma"_qs, u"7"_qs}, {u"Personalcode"_qs, u"NEU"_qs}, {u"Passwort"_qs, u"neu"_qs},
                                  {u"AKTIV"_qs, u"J"_qs}, {u"PNAME"_qs, u"Neu Ling"_qs}, {u"ABTNR"_qs, u"1"_qs},
                                  {u"PNR"_qs, u"1"_qs}});
        save(u"TV.ParPersAbt"_qs, {{u"Firma"_qs, u"7"_qs}, {u"ABTNR"_qs, u"1"_qs}, {u"abtbez"_qs, u"Verkauf"_qs}});
        save(u"TV.PersBasis"_qs, {{u"Firma"_qs, u"7"_qs}, {u"PNR"_qs, u"1"_qs}});
    }
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"7 0 NEU neu"_qs);
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(window.windowTitle(), Title(u"7"_qs, u"0"_qs, u"Neu Ling"_qs));
    for (const LookupTable *table : {&window.competitorArray(), &window.priceTypeArray(), &window.unitArray(),
                                     &window.articleList()})
        QCOMPARE(table->rowCount(), 0);
    QCOMPARE(window.findChild<MultiColumnComboBox *>(u"likonkur"_qs)->count(), 1);
    QCOMPARE(window.findChild<MultiColumnComboBox *>(u"anr"_qs)->count(), 1);
}

void TestFMStart::windowLayout()
{
    if (!isSQLiteRow())
        QSKIP("the window's make-up does not depend on the database");
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_qs);
    FMStart window;
    QVERIFY(start(window));

    // Umlauts of the competitor names in display form.
    bool found = false;
    for (int row = 0; row < window.competitorArray().rowCount(); ++row)
        found = found || window.competitorArray().text(row, 1) == u"OBI Markt Lüneburg";
    QVERIFY(found);

    const QList<std::pair<QString, QString>> buttons{
        {u"BUSuch"_qs, u"Suchen"_qs},         {u"BUSpeich"_qs, u"Speichern"_qs}, {u"BUDruck"_qs, u"Drucken"_qs},
        {u"BUExport"_qs, u"Export CSV"_qs},  {u"BUPrtyp"_qs, u"Preistypen"_qs}, {u"ctPush1"_qs, u"Konkurerber"_qs},
        {u"BUAusstieg"_qs, u"Ausstieg"_qs}};
    for (const auto &[name, caption] : buttons) {
        auto *button = window.findChild<QPushButton *>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->text(), caption);
    }
    QVERIFY(!window.findChild<QPushButton *>(u"artsu"_qs)->icon().isNull());

    const QList<std::pair<QString, QString>> actions{
        {u"m_konkur"_qs, u"&Konkurerber"_qs}, {u"m_preistyp"_qs, u"&Preistypen"_qs},
        {u"mLogin"_qs, u"&Login"_qs},         {u"Beenden"_qs, u"&Beenden"_qs},
        {u"HilfeUeber"_qs, u"Hilfe &über ..."_qs}, {u"m_pos_neu"_qs, u"Neu"_qs},
        {u"m_pos_anfueg"_qs, u"Kopie Anfügen"_qs}, {u"m_pos_loesch"_qs, u"Löschen"_qs}};
    for (const auto &[name, caption] : actions) {
        auto *action = window.findChild<QAction *>(name);
        QVERIFY2(action, qPrintable(name));
        QCOMPARE(action->text(), caption);
    }
    QStringList menus;
    for (QAction *menu : window.menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{u"&Datei"_qs, u"&Hilfe"_qs}));
    QStringList fileMenu;
    for (QAction *item : window.menuBar()->actions().first()->menu()->actions())
        fileMenu << (item->isSeparator() ? u"-"_qs : item->objectName());
    QCOMPARE(fileMenu, (QStringList{u"m_konkur"_qs, u"m_preistyp"_qs, u"-"_qs, u"mLogin"_qs, u"-"_qs, u"Beenden"_qs}));
    QCOMPARE(window.findChild<QMenu *>(u"m_position"_qs)->title(), u"Position"_qs);

    QStringList labels;
    for (const QLabel *label : window.findChildren<QLabel *>())
        labels << label->text();
    for (const char *text : {"Konkurerber:", "Artikel:", "Art.-Bez.:", "Änderungsdatum ab:"})
        QVERIFY2(labels.contains(QString::fromUtf8(text)), text);

    // The grid: captions, hidden columns, drop-downs.
    auto *grid = window.findChild<QTableView *>(u"TDBGrid1"_qs);
    QCOMPARE(grid->model(), &window.positionArray());
    for (int column = 0; column < PositionColumnCount; ++column) {
        QCOMPARE(grid->isColumnHidden(column), column == 27 || column == 28 || column == 29 || column == 31);
        const bool dropDown = column == 0 || column == 4 || column == 8 || column == 12;
        QCOMPARE(grid->itemDelegateForColumn(column) != nullptr, dropDown);
    }
    QCOMPARE(grid->model()->headerData(30, Qt::Horizontal).toString(), u"Änd-Datum"_qs);
    QCOMPARE(grid->itemDelegateForColumn(0)->objectName(), u"konkur"_qs);
    QCOMPARE(grid->itemDelegateForColumn(4)->objectName(), u"prtyp"_qs);
    QCOMPARE(grid->itemDelegateForColumn(12), grid->itemDelegateForColumn(8));
    QVERIFY(!window.findChild<QWidget *>(u"notiz"_qs)->isVisible());

    // Tab order of the filter bar, into the grid.
    QStringList chain;
    QWidget *widget = window.findChild<QWidget *>(u"likonkur"_qs);
    for (int i = 0; i < 7; ++i) {
        chain << widget->objectName();
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()
               || widget->objectName().startsWith(u"qt_"))
            widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain, (QStringList{u"likonkur"_qs, u"anr"_qs, u"artsu"_qs, u"volltext"_qs, u"aenddatab"_qs,
                                 u"BUSuch"_qs, u"TDBGrid1"_qs}));

    // A typed article number stays as typed, even where it begins a listed one.
    auto *anr = window.findChild<MultiColumnComboBox *>(u"anr"_qs);
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
    rememberLogin(u"MUELLER"_qs, u"alt"_qs);
    dialogs.expectMessage(u"Anmeldung an Caché."_qs, u"Passwort Falsch oder Benutzer nicht Aktiv."_qs);
    QString userShown;
    int passwordSelected = -1;
    dialogs.expectDialog(u"FMPass"_qs, [&](QDialog &login) {
        userShown = login.findChild<QLineEdit *>(u"BUSER"_qs)->text();
        auto *password = login.findChild<QLineEdit *>(u"BPASSWORT"_qs);
        passwordSelected = int(password->selectedText().size());
        // Another wrong one first, then the right one.
        password->setText(u"falsch"_qs);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
        return 1;
    });
    dialogs.expectMessage(u"Anmeldung an Caché."_qs, u"Passwort Falsch oder Benutzer nicht Aktiv."_qs);
    dialogs.expectDialog(u"FMPass"_qs, [&](QDialog &login) {
        login.findChild<QLineEdit *>(u"BPASSWORT"_qs)->setText(u"Konkur24"_qs);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
        return 1;
    });
    FMStart window;
    QVERIFY(start(window));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(userShown, u"MUELLER"_qs);
    QCOMPARE(passwordSelected, 3);
    QCOMPARE(window.windowTitle(), Title(u"1"_qs, u"0"_qs, u"Jürgen Müller"_qs));
    QCOMPARE(ScramblePassword(m_fixture->setting(u"Passwort"_qs)), u"Konkur24"_qs);
    QCOMPARE(m_fixture->exits(), 0);
}

void TestFMStart::cancelAtStartUpEndsTheProgram()
{
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMPass"_qs, [](QDialog &login) {
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUAusst"_qs), Qt::LeftButton);
        return 0;
    });
    FMStart window;
    QVERIFY(!window.Form_Load());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->exits(), 1);
    QCOMPARE(m_fixture->factoriesMade(), 0);
}

void TestFMStart::repeatedLoginFromTheMenu()
{
    testsupport::ScriptedDialogs dialogs;
    rememberLogin(u"MUELLER"_qs, u"Konkur24"_qs);
    FMStart window;
    QVERIFY(start(window));
    QCOMPARE(m_fixture->factoriesMade(), 1);

    FMPass &login = m_fixture->api().loginWindow();
    window.findChild<QAction *>(u"mLogin"_qs)->trigger();
    QVERIFY(login.isVisible());
    login.userField()->setText(u"schmidt"_qs);
    login.passwordField()->setText(u"baustoff"_qs);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_qs, u"0"_qs, u"Anna Schmidt"_qs));
    QCOMPARE(m_fixture->context().UserCode, u"SCHMIDT"_qs);
    QCOMPARE(m_fixture->factoriesMade(), 2); // the login connects anew

    // A failed login leaves nobody logged in: the window stays for another try.
    window.findChild<QAction *>(u"mLogin"_qs)->trigger();
    login.passwordField()->setText(u"falsch"_qs);
    dialogs.expectMessage(u"Anmeldung an Caché."_qs, u"Passwort Falsch oder Benutzer nicht Aktiv."_qs);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
    QVERIFY(login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_qs, u"0"_qs, QString()));
    login.passwordField()->setText(u"baustoff"_qs);
    QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
    QVERIFY(!login.isVisible());
    QCOMPARE(window.windowTitle(), Title(u"1"_qs, u"0"_qs, u"Anna Schmidt"_qs));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->exits(), 0);
}

void TestFMStart::aboutBox()
{
    if (!isSQLiteRow())
        QSKIP("the about box does not depend on the database");
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_qs);
    FMStart window;
    QVERIFY(start(window));
    window.findChild<QAction *>(u"HilfeUeber"_qs)->trigger();
    QDialog *about = window.findChild<QDialog *>(u"frmAbout"_qs);
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestFMStart::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ausstieg") << u"BUAusstieg"_qs;
    QTest::newRow("Beenden") << u"Beenden"_qs;
    QTest::newRow("close box") << QString();
}

void TestFMStart::closing()
{
    QFETCH(QString, how);
    testsupport::ScriptedDialogs dialogs;
    useCommandLine(u"1 0 MUELLER Konkur24"_qs);
    FMStart window;
    QVERIFY(start(window));
    window.findChild<QAction *>(u"HilfeUeber"_qs)->trigger();
    QVERIFY(m_fixture->api().factory()->isConnected());

    if (how == u"BUAusstieg")
        QTest::mouseClick(window.findChild<QPushButton *>(how), Qt::LeftButton);
    else if (how == u"Beenden")
        window.findChild<QAction *>(how)->trigger();
    else
        window.close();
    QVERIFY(!window.isVisible());
    QTRY_VERIFY(!window.findChild<QDialog *>(u"frmAbout"_qs) || !window.findChild<QDialog *>(u"frmAbout"_qs)->isVisible());
    QVERIFY(!m_fixture->api().factory()->isConnected());
    QCOMPARE(m_fixture->exits(), 1);
    VERIFY_DIALOGS_DONE(dialogs);
}

QTEST_MAIN(TestFMStart)
#include "tst_fmstart.moc"
