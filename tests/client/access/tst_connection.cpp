#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "access/Connection.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/Login.h"
#include "access/cacheapi.h"
#include "support/ClientFixture.h"
#include "support/FileMode.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QString ConnectionTitle = u"Anmeldung an Caché"_s;

QString Countdown(int left)
{
    return u"Server nicht erreicht! Bitte überprüfen Sie die Verbindungseinstellungen\r\n"
           u"Wenn die Verbindungseinstellung korrekt ist sind wahrscheinlich keine Lizenzen frei.\r\n"
           u"Noch "
        + QString::number(left) + u" Verbindungsversuche bis zum Abbruch.";
}

// A loopback port on which nothing listens.
quint16 ClosedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

// Where the connection settings come from, the server settings window, the
// login window's fields, and what happens when no connection can be made. No database is reached here.
class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        testsupport::HideOffscreenPlatformNotices();
    }
    void init() { m_fixture = std::make_unique<testsupport::ClientFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void commandLine_data();
    void commandLine();
    void rememberedLoginFromTheStore();
    void storeDefaults();
    void emptyStoredPasswordShowsTheLoginWindow();
    void serverWindowEditAndSave();
    void serverWindowRefusesUnusableSettings_data();
    void serverWindowRefusesUnusableSettings();
    void onlyAcceptedServerSettingsAreStored_data();
    void onlyAcceptedServerSettingsAreStored();
    void loginWindowFields();
    void tabOrder_data();
    void tabOrder();
    void threeFailedAttempts_data();
    void threeFailedAttempts();
    void retryWithTheSettingsWindowInBetween();
    void settingsFileIsTheOwnersAlone_data();
    void settingsFileIsTheOwnersAlone();

private:
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
};

void TestConnection::commandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("expected"); // firm, branch, user, password, server, port, namespace

    const QString defaultServer = DefaultServerAddress();
    QTest::newRow("four fields") << u"5 2 mueller geheim"_s
                                 << QStringList{u"5"_s, u"2"_s, u"MUELLER"_s, u"geheim"_s, defaultServer,
                                                u"1972"_s, u"TOLVEN"_s};
    QTest::newRow("all seven and more") << u"3 1 KRAUSE pw db.zentrale 5432 TEST mehr"_s
                                        << QStringList{u"3"_s, u"1"_s, u"KRAUSE"_s, u"pw"_s, u"db.zentrale"_s,
                                                       u"5432"_s, u"TEST"_s};
    QTest::newRow("empty fields take the defaults") << u"7 0 A b  "_s
                                                    << QStringList{u"7"_s, u"0"_s, u"A"_s, u"b"_s, defaultServer,
                                                                   u"1972"_s, u"TOLVEN"_s};
}

void TestConnection::commandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, expected);
    testsupport::ScriptedDialogs dialogs; // no login window may appear
    m_fixture->writeSetting(u"Firma"_s, u"9"_s);
    m_fixture->setCommandLine(commandLine);
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.Branch, ctx.UserCode, ctx.Password, ctx.ServerAddress, ctx.ServerPort,
                          ctx.Namespace}),
             expected);
    QCOMPARE(ctx.ConnectString, u"cn_iptcp:" + expected.at(4) + u'[' + expected.at(5) + u"]:TOLVEN");
    FMServer &server = m_fixture->api().serverWindow();
    const ServerSettings shown = server.fieldValues();
    QCOMPARE((QStringList{shown.firm, shown.branch, shown.serverAddress, shown.port, shown.namespaceName}),
             (QStringList{expected.at(0), expected.at(1), expected.at(4), expected.at(5), expected.at(6)}));
    QCOMPARE(m_fixture->api().loginWindow().userText(), expected.at(2));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::rememberedLoginFromTheStore()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->setCommandLine(u"erste 0 X Y"_s); // first field not numeric: ignored
    m_fixture->writeSetting(u"Firma"_s, u"2"_s);
    m_fixture->writeSetting(u"Filiale"_s, u"1"_s);
    m_fixture->writeSetting(u"Name"_s, u"KRAUSE"_s);
    m_fixture->writeSetting(u"Passwort"_s, ScramblePassword(u"krause"_s));
    m_fixture->writeSetting(u"Server"_s, u"db.zentrale"_s);
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE(ctx.Firm, u"2"_s);
    QCOMPARE(ctx.Branch, u"1"_s);
    QCOMPARE(ctx.UserCode, u"KRAUSE"_s);
    QCOMPARE(ctx.Password, u"krause"_s);
    QCOMPARE(m_fixture->api().loginWindow().passwordText(), u"krause"_s);
    QCOMPARE(ctx.ConnectString, u"cn_iptcp:db.zentrale[1973]:TOLVEN"_s);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::storeDefaults()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Name"_s, u"MUELLER"_s);
    m_fixture->writeSetting(u"Passwort"_s, ScramblePassword(u"Konkur24"_s));
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.Branch, ctx.ServerAddress, ctx.ServerPort, ctx.Namespace}),
             (QStringList{u"1"_s, u"0"_s, DefaultServerAddress(), u"1973"_s, u"TOLVEN"_s}));
    QVERIFY(ctx.ConnectString.endsWith(u"[1973]:TOLVEN"));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::emptyStoredPasswordShowsTheLoginWindow()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Name"_s, u"MUELLER"_s);
    QString userShown;
    dialogs.expectDialog(u"FMPass"_s, [&](QDialog &window) {
        userShown = window.findChild<QLineEdit *>(u"BUSER"_s)->text();
        window.findChild<QLineEdit *>(u"BPASSWORT"_s)->setText(u"Konkur24"_s);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        return window.result();
    });
    QVERIFY(PrepareConnection());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(userShown, u"MUELLER"_s);
    QCOMPARE(m_fixture->context().Password, u"Konkur24"_s);
    // "Anmelden" remembered the login, the password scrambled.
    QCOMPARE(m_fixture->setting(u"Passwort"_s), ScramblePassword(u"Konkur24"_s));
    QVERIFY(m_fixture->setting(u"Passwort"_s) != u"Konkur24");
    QVERIFY(!m_fixture->api().loginWindow().isVisible());
}

void TestConnection::serverWindowEditAndSave()
{
    testsupport::ScriptedDialogs dialogs;
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_s);
    auto *server = window.findChild<QLineEdit *>(u"BSERVERIP"_s);
    QCOMPARE(edit->text(), u"Ändern"_s);
    QVERIFY(server->isReadOnly());

    dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::No);
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(!edit->isChecked());
    QVERIFY(server->isReadOnly());

    dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->isChecked());
    for (const char *name : {"BSERVERIP", "BPORT", "BFIRMA", "BFIL", "BNAMESPACE"})
        QVERIFY2(!window.findChild<QLineEdit *>(QString::fromLatin1(name))->isReadOnly(), name);
    server->setText(u"db.zentrale"_s);
    window.findChild<QLineEdit *>(u"BPORT"_s)->setText(u"5432"_s);
    window.findChild<QLineEdit *>(u"BFIRMA"_s)->setText(u"2"_s);

    dialogs.expectMessage(ConnectionTitle, u"Änderungen sichern?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(server->isReadOnly());
    QCOMPARE(m_fixture->setting(u"Server"_s), u"db.zentrale"_s);
    QCOMPARE(m_fixture->setting(u"Port"_s), u"5432"_s);
    QCOMPARE(m_fixture->setting(u"Firma"_s), u"2"_s);
    QCOMPARE(m_fixture->setting(u"Namespace"_s), u"TOLVEN"_s);
    QCOMPARE(window.fieldValues().port, u"5432"_s);
    // Stored for the next login; nobody's context changes without one.
    QCOMPARE(m_fixture->context().ServerPort, QString());
    QCOMPARE(m_fixture->context().Firm, QString());

    // The port field takes digits only.
    dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    auto *port = window.findChild<QLineEdit *>(u"BPORT"_s);
    port->clear();
    QTest::keyClicks(port, u"54x32"_s);
    QCOMPARE(port->text(), u"5432"_s);

    // Not saving keeps the store as it was.
    server->setText(u"anderer.server"_s);
    dialogs.expectMessage(ConnectionTitle, u"Änderungen sichern?"_s, QMessageBox::No);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(m_fixture->setting(u"Server"_s), u"db.zentrale"_s);

    QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_s), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::serverWindowRefusesUnusableSettings_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("no server") << u"BSERVERIP"_s << u"  "_s
                               << u"Bitte geben Sie den Server oder den Pfad der Datenbankdatei an."_s;
    QTest::newRow("port 0") << u"BPORT"_s << u"0"_s << u"Der Port muss eine Zahl von 1 bis 65535 sein."_s;
    QTest::newRow("port too big") << u"BPORT"_s << u"70000"_s << u"Der Port muss eine Zahl von 1 bis 65535 sein."_s;
    QTest::newRow("no firm") << u"BFIRMA"_s << QString() << u"Bitte geben Sie die Firmennummer an."_s;
    QTest::newRow("no branch") << u"BFIL"_s << QString() << u"Bitte geben Sie die Filialnummer an."_s;
}

void TestConnection::serverWindowRefusesUnusableSettings()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, complaint);
    testsupport::ScriptedDialogs dialogs;
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_s);
    dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    window.findChild<QLineEdit *>(field)->setText(value);
    dialogs.expectMessage(u"TOLVEN Server"_s, complaint);
    QTest::mouseClick(edit, Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY2(edit->isChecked() && !window.fieldsLocked(), "the fields stay open for correcting");
    QVERIFY(!m_fixture->hasSetting(u"Server"_s));
}

void TestConnection::onlyAcceptedServerSettingsAreStored_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("leaveBy"); // "Nein", "Zurück" or "Schließen"
    QTest::newRow("declined") << u"5432"_s << u"Nein"_s;
    QTest::newRow("refused, then Zurück") << u"0"_s << u"Zurück"_s;
    QTest::newRow("edited, then closed") << u"5432"_s << u"Schließen"_s;
}

// What the server window did not store never reaches the settings store, not
// even through the next "Anmelden", which stores the login window's fields.
void TestConnection::onlyAcceptedServerSettingsAreStored()
{
    QFETCH(QString, port);
    QFETCH(QString, leaveBy);
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Server"_s, u"/daten/tolven.db"_s);
    m_fixture->writeSetting(u"Port"_s, u"1973"_s);
    LoadConnectionSettings();
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_s);
    dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    window.findChild<QLineEdit *>(u"BSERVERIP"_s)->setText(u"anderer.server"_s);
    window.findChild<QLineEdit *>(u"BPORT"_s)->setText(port);
    if (leaveBy == u"Nein") {
        dialogs.expectMessage(ConnectionTitle, u"Änderungen sichern?"_s, QMessageBox::No);
        QTest::mouseClick(edit, Qt::LeftButton);
    } else if (leaveBy == u"Zurück") {
        dialogs.expectMessage(u"TOLVEN Server"_s, u"Der Port muss eine Zahl von 1 bis 65535 sein."_s);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_s), Qt::LeftButton);
    } else {
        window.close();
    }
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(window.fieldValues().serverAddress, u"/daten/tolven.db"_s);
    QCOMPARE(window.fieldValues().port, u"1973"_s);

    m_fixture->api().loginWindow().setUserText(u"SCHMIDT"_s);
    Sichern();
    QCOMPARE(m_fixture->setting(u"Server"_s), u"/daten/tolven.db"_s);
    QCOMPARE(m_fixture->setting(u"Port"_s), u"1973"_s);
    QCOMPARE(m_fixture->setting(u"Name"_s), u"SCHMIDT"_s);
}

void TestConnection::loginWindowFields()
{
    FMPass &window = m_fixture->api().loginWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *password = window.findChild<QLineEdit *>(u"BPASSWORT"_s);
    auto *user = window.findChild<QLineEdit *>(u"BUSER"_s);
    QTRY_VERIFY(password->hasFocus());
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    password->setText(u"äb c"_s);
    QCOMPARE(password->displayText(), u"****"_s);
    password->clear();

    QTest::keyClicks(password, u"Geheim"_s);
    QTest::keyClick(&window, Qt::Key_Tab);
    QTRY_VERIFY(user->hasFocus());
    QTest::keyClicks(user, u"schmidt"_s);
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(user->text(), u"SCHMIDT"_s);

    // Coming back into a field selects all of it, so typing replaces it.
    QTest::keyClick(&window, Qt::Key_Backtab);
    QTRY_COMPARE(user->selectedText(), u"SCHMIDT"_s);
    QTest::keyClick(&window, Qt::Key_Backtab);
    QTRY_COMPARE(password->selectedText().size(), 6);
    QTest::keyClicks(password, u"neu"_s);
    QCOMPARE(password->text(), u"neu"_s);

    SelectAllText(user, true);
    QCOMPARE(user->selectedText(), u"SCHMIDT"_s);
    QVERIFY2(password->hasFocus(), "SelectAllText without focus moved the focus");
    window.hide();
}

void TestConnection::tabOrder_data()
{
    QTest::addColumn<bool>("loginWindow");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("FMPass") << true
                            << QStringList{u"BPASSWORT"_s, u"BUSER"_s, u"BUSpeich"_s, u"BUAusst"_s, u"BUServer"_s};
    QTest::newRow("FMServer") << false
                              << QStringList{u"BSERVERIP"_s, u"BPORT"_s, u"BFIRMA"_s, u"BFIL"_s, u"BNAMESPACE"_s,
                                             u"BUEdit"_s, u"BUZurück"_s};
}

void TestConnection::tabOrder()
{
    QFETCH(bool, loginWindow);
    QFETCH(QStringList, order);
    QDialog &window = loginWindow ? static_cast<QDialog &>(m_fixture->api().loginWindow())
                                  : static_cast<QDialog &>(m_fixture->api().serverWindow());
    QStringList chain;
    QWidget *widget = window.findChild<QWidget *>(order.first());
    while (chain.size() < order.size()) {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain << widget->objectName();
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain, order);
}

void TestConnection::threeFailedAttempts_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no PostgreSQL listening") << u"127.0.0.1"_s << QString::number(ClosedPort()) << u"127.0.0.1"_s;
    QTest::newRow("database file missing") << u"/nirgends/tolven.db"_s << u"1972"_s << u"/nirgends/tolven.db"_s;
}

void TestConnection::threeFailedAttempts()
{
    QFETCH(QString, server);
    QFETCH(QString, port);
    QFETCH(QString, reason);
    testsupport::ScriptedDialogs dialogs;
    QStringList problemsShown;
    const auto closeServerWindow = [&](QDialog &window) {
        problemsShown << window.findChild<QLabel *>(u"LVerbindungsfehler"_s)->text();
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_s), Qt::LeftButton);
        return 0;
    };
    dialogs.expectMessage(ConnectionTitle, Countdown(2));
    dialogs.expectDialog(u"FMServer"_s, closeServerWindow);
    dialogs.expectMessage(ConnectionTitle, Countdown(1));
    dialogs.expectDialog(u"FMServer"_s, closeServerWindow);
    dialogs.expectMessage(ConnectionTitle, u"Server nach 3 Versuchen nicht erreichbar!\r\nAbbruch"_s);

    // The start-up login with a command line that names the unreachable server.
    m_fixture->setCommandLine(u"1 0 MUELLER Konkur24 "_s + server + u' ' + port);
    QVERIFY(!Login());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(dialogs.shown().last().icon, QMessageBox::Warning);
    QCOMPARE(m_fixture->factoriesMade(), 3);
    QCOMPARE(m_fixture->exits(), 1);
    QVERIFY(m_fixture->context().LoginKey.isEmpty());
    QVERIFY(!m_fixture->api().serverWindow().isVisible());
    QCOMPARE(problemsShown.size(), 2);
    QVERIFY2(problemsShown.first().contains(reason), qPrintable(problemsShown.first()));
}

void TestConnection::retryWithTheSettingsWindowInBetween()
{
    // Settings saved between attempts count from the next login on; this
    // connection keeps trying what it was given.
    testsupport::ScriptedDialogs dialogs;
    m_fixture->context().ConnectString = ConnectStringFor(u"/nirgends/tolven.db"_s, u"1972"_s);
    dialogs.expectMessage(ConnectionTitle, Countdown(2));
    dialogs.expectDialog(u"FMServer"_s, [&](QDialog &window) {
        dialogs.expectMessage(ConnectionTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUEdit"_s), Qt::LeftButton);
        window.findChild<QLineEdit *>(u"BSERVERIP"_s)->setText(u"/anderswo/tolven.db"_s);
        dialogs.expectMessage(ConnectionTitle, u"Änderungen sichern?"_s, QMessageBox::Yes);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUEdit"_s), Qt::LeftButton);
        // Closing the window goes on with the next attempt.
        window.close();
        dialogs.expectMessage(ConnectionTitle, Countdown(1));
        dialogs.expectDialog(u"FMServer"_s, [](QDialog &) { return 0; });
        dialogs.expectMessage(ConnectionTitle, u"Server nach 3 Versuchen nicht erreichbar!\r\nAbbruch"_s);
        return 0;
    });
    QVERIFY(!EnsureConnected());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->setting(u"Server"_s), u"/anderswo/tolven.db"_s);
    QCOMPARE(m_fixture->context().ServerAddress, QString());
    QCOMPARE(m_fixture->factoriesMade(), 3);
    QCOMPARE(m_fixture->exits(), 1);
}

void TestConnection::settingsFileIsTheOwnersAlone_data()
{
    QTest::addColumn<int>("modeBefore"); // -1: no file yet
    QTest::addColumn<QString>("storedBy");
    QTest::newRow("new file, Anmelden") << -1 << u"Anmelden"_s;
    QTest::newRow("file readable by all, Anmelden") << 0644 << u"Anmelden"_s;
    QTest::newRow("file writable by all, server window") << 0666 << u"Server"_s;
}

// The remembered password is only scrambled: whoever may read the file has it.
void TestConnection::settingsFileIsTheOwnersAlone()
{
    QFETCH(int, modeBefore);
    QFETCH(QString, storedBy);
    const testsupport::UmaskScope everybodyMayRead(022);
    const QString path = OpenLoginSettings()->fileName();
    if (modeBefore >= 0) {
        m_fixture->writeSetting(u"Firma"_s, u"1"_s);
        QVERIFY(QFile::exists(path));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(modeBefore)) == 0);
    }
    QVERIFY(!QFile::exists(path) || testsupport::FileMode(path) == modeBefore);

    testsupport::ScriptedDialogs dialogs;
    FMPass &login = m_fixture->api().loginWindow();
    login.show();
    login.setUserText(u"MUELLER"_s);
    login.setPasswordText(u"Konkur24"_s);
    if (storedBy == u"Anmelden") {
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    } else {
        dialogs.expectDialog(u"FMServer"_s, testsupport::StoreInServerWindow(dialogs, {{u"BFIRMA"_s, u"2"_s}}));
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUServer"_s), Qt::LeftButton);
    }
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(ScramblePassword(m_fixture->setting(u"Passwort"_s)), u"Konkur24"_s);
    QCOMPARE(testsupport::FileMode(path), 0600);
    login.hide();
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
