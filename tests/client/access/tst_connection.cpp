#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
#include "support/ScriptedDialogs.h"

using namespace tolven;

namespace {

const QString LoginTitle = QStringLiteral("Anmeldung an Caché");

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
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
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
    void loginWindowFields();
    void tabOrder_data();
    void tabOrder();
    void threeFailedAttempts_data();
    void threeFailedAttempts();
    void retryWithTheSettingsWindowInBetween();

private:
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
};

void TestConnection::commandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("expected"); // firm, branch, user, password, server, port, namespace

    const QString defaultServer = DefaultServerAddress();
    QTest::newRow("four fields") << u"5 2 mueller geheim"_qs
                                 << QStringList{u"5"_qs, u"2"_qs, u"MUELLER"_qs, u"geheim"_qs, defaultServer,
                                                u"1972"_qs, u"TOLVEN"_qs};
    QTest::newRow("all seven and more") << u"3 1 KRAUSE pw db.zentrale 5432 TEST mehr"_qs
                                        << QStringList{u"3"_qs, u"1"_qs, u"KRAUSE"_qs, u"pw"_qs, u"db.zentrale"_qs,
                                                       u"5432"_qs, u"TEST"_qs};
    QTest::newRow("empty fields take the defaults") << u"7 0 A b  "_qs
                                                    << QStringList{u"7"_qs, u"0"_qs, u"A"_qs, u"b"_qs, defaultServer,
                                                                   u"1972"_qs, u"TOLVEN"_qs};
}

void TestConnection::commandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QStringList, expected);
    testsupport::ScriptedDialogs dialogs; // no login window may appear
    m_fixture->writeSetting(u"Firma"_qs, u"9"_qs);
    m_fixture->setCommandLine(commandLine);
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.Branch, ctx.UserCode, ctx.Password, ctx.ServerAddress, ctx.ServerPort,
                          ctx.Namespace}),
             expected);
    QCOMPARE(ctx.ConnectString, u"cn_iptcp:" + expected.at(4) + u'[' + expected.at(5) + u"]:TOLVEN");
    FMServer &server = m_fixture->api().serverWindow();
    QCOMPARE((QStringList{server.firm(), server.branch(), server.serverAddress(), server.port(), server.namespaceName()}),
             (QStringList{expected.at(0), expected.at(1), expected.at(4), expected.at(5), expected.at(6)}));
    QCOMPARE(m_fixture->api().loginWindow().userText(), expected.at(2));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::rememberedLoginFromTheStore()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->setCommandLine(u"erste 0 X Y"_qs); // first field not numeric: ignored
    m_fixture->writeSetting(u"Firma"_qs, u"2"_qs);
    m_fixture->writeSetting(u"Filiale"_qs, u"1"_qs);
    m_fixture->writeSetting(u"Name"_qs, u"KRAUSE"_qs);
    m_fixture->writeSetting(u"Passwort"_qs, ScramblePassword(u"krause"_qs));
    m_fixture->writeSetting(u"Server"_qs, u"db.zentrale"_qs);
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE(ctx.Firm, u"2"_qs);
    QCOMPARE(ctx.Branch, u"1"_qs);
    QCOMPARE(ctx.UserCode, u"KRAUSE"_qs);
    QCOMPARE(ctx.Password, u"krause"_qs);
    QCOMPARE(m_fixture->api().loginWindow().passwordText(), u"krause"_qs);
    QCOMPARE(ctx.ConnectString, u"cn_iptcp:db.zentrale[1973]:TOLVEN"_qs);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::storeDefaults()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Name"_qs, u"MUELLER"_qs);
    m_fixture->writeSetting(u"Passwort"_qs, ScramblePassword(u"Konkur24"_qs));
    QVERIFY(PrepareConnection());
    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.Branch, ctx.ServerAddress, ctx.ServerPort, ctx.Namespace}),
             (QStringList{u"1"_qs, u"0"_qs, DefaultServerAddress(), u"1973"_qs, u"TOLVEN"_qs}));
    QVERIFY(ctx.ConnectString.endsWith(u"[1973]:TOLVEN"));
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::emptyStoredPasswordShowsTheLoginWindow()
{
    testsupport::ScriptedDialogs dialogs;
    m_fixture->writeSetting(u"Name"_qs, u"MUELLER"_qs);
    QString userShown;
    dialogs.expectDialog(u"FMPass"_qs, [&](QDialog &window) {
        userShown = window.findChild<QLineEdit *>(u"BUSER"_qs)->text();
        window.findChild<QLineEdit *>(u"BPASSWORT"_qs)->setText(u"Konkur24"_qs);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUSpeich"_qs), Qt::LeftButton);
        return window.result();
    });
    QVERIFY(PrepareConnection());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(userShown, u"MUELLER"_qs);
    QCOMPARE(m_fixture->context().Password, u"Konkur24"_qs);
    // "Anmelden" remembered the login, the password scrambled.
    QCOMPARE(m_fixture->setting(u"Passwort"_qs), ScramblePassword(u"Konkur24"_qs));
    QVERIFY(m_fixture->setting(u"Passwort"_qs) != u"Konkur24");
    QVERIFY(!m_fixture->api().loginWindow().isVisible());
}

void TestConnection::serverWindowEditAndSave()
{
    testsupport::ScriptedDialogs dialogs;
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_qs);
    auto *server = window.findChild<QLineEdit *>(u"BSERVERIP"_qs);
    QCOMPARE(edit->text(), u"Ändern"_qs);
    QVERIFY(server->isReadOnly());

    dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_qs, QMessageBox::No);
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(!edit->isChecked());
    QVERIFY(server->isReadOnly());

    dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_qs, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    QVERIFY(edit->isChecked());
    for (const char *name : {"BSERVERIP", "BPORT", "BFIRMA", "BFIL", "BNAMESPACE"})
        QVERIFY2(!window.findChild<QLineEdit *>(QString::fromLatin1(name))->isReadOnly(), name);
    server->setText(u"db.zentrale"_qs);
    window.findChild<QLineEdit *>(u"BPORT"_qs)->setText(u"5432"_qs);
    window.findChild<QLineEdit *>(u"BFIRMA"_qs)->setText(u"2"_qs);

    dialogs.expectMessage(LoginTitle, u"Änderungen sichern?"_qs, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(server->isReadOnly());
    QCOMPARE(m_fixture->setting(u"Server"_qs), u"db.zentrale"_qs);
    QCOMPARE(m_fixture->setting(u"Port"_qs), u"5432"_qs);
    QCOMPARE(m_fixture->setting(u"Firma"_qs), u"2"_qs);
    QCOMPARE(m_fixture->setting(u"Namespace"_qs), u"TOLVEN"_qs);
    QCOMPARE(m_fixture->context().ServerPort, u"5432"_qs);

    // The port field takes digits only.
    dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_qs, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    auto *port = window.findChild<QLineEdit *>(u"BPORT"_qs);
    port->clear();
    QTest::keyClicks(port, u"54x32"_qs);
    QCOMPARE(port->text(), u"5432"_qs);

    // Not saving keeps the store as it was.
    server->setText(u"anderer.server"_qs);
    dialogs.expectMessage(LoginTitle, u"Änderungen sichern?"_qs, QMessageBox::No);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(m_fixture->setting(u"Server"_qs), u"db.zentrale"_qs);

    QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_qs), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestConnection::serverWindowRefusesUnusableSettings_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("no server") << u"BSERVERIP"_qs << u"  "_qs
                               << u"Bitte geben Sie den Server oder den Pfad der Datenbankdatei an."_qs;
    QTest::newRow("port 0") << u"BPORT"_qs << u"0"_qs << u"Der Port muss eine Zahl von 1 bis 65535 sein."_qs;
    QTest::newRow("port too big") << u"BPORT"_qs << u"70000"_qs << u"Der Port muss eine Zahl von 1 bis 65535 sein."_qs;
    QTest::newRow("no firm") << u"BFIRMA"_qs << QString() << u"Bitte geben Sie die Firmennummer an."_qs;
    QTest::newRow("no branch") << u"BFIL"_qs << QString() << u"Bitte geben Sie die Filialnummer an."_qs;
}

void TestConnection::serverWindowRefusesUnusableSettings()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, complaint);
    testsupport::ScriptedDialogs dialogs;
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_qs);
    dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_qs, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    window.findChild<QLineEdit *>(field)->setText(value);
    dialogs.expectMessage(u"TOLVEN Server"_qs, complaint);
    QTest::mouseClick(edit, Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY2(edit->isChecked() && !window.fieldsLocked(), "the fields stay open for correcting");
    QVERIFY(!m_fixture->hasSetting(u"Server"_qs));
}

void TestConnection::loginWindowFields()
{
    FMPass &window = m_fixture->api().loginWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *password = window.findChild<QLineEdit *>(u"BPASSWORT"_qs);
    auto *user = window.findChild<QLineEdit *>(u"BUSER"_qs);
    QTRY_VERIFY(password->hasFocus());
    QCOMPARE(password->echoMode(), QLineEdit::Password);

    QTest::keyClicks(password, u"Geheim"_qs);
    QTest::keyClick(&window, Qt::Key_Tab);
    QTRY_VERIFY(user->hasFocus());
    QTest::keyClicks(user, u"schmidt"_qs);
    QTest::keyClick(&window, Qt::Key_Tab);
    QCOMPARE(user->text(), u"SCHMIDT"_qs);

    // Coming back into a field selects all of it, so typing replaces it.
    QTest::keyClick(&window, Qt::Key_Backtab);
    QTRY_COMPARE(user->selectedText(), u"SCHMIDT"_qs);
    QTest::keyClick(&window, Qt::Key_Backtab);
    QTRY_COMPARE(password->selectedText().size(), 6);
    QTest::keyClicks(password, u"neu"_qs);
    QCOMPARE(password->text(), u"neu"_qs);

    SelectAllText(user, true);
    QCOMPARE(user->selectedText(), u"SCHMIDT"_qs);
    QVERIFY2(password->hasFocus(), "SelectAllText without focus moved the focus");
    window.hide();
}

void TestConnection::tabOrder_data()
{
    QTest::addColumn<bool>("loginWindow");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("FMPass") << true
                            << QStringList{u"BPASSWORT"_qs, u"BUSER"_qs, u"BUSpeich"_qs, u"BUAusst"_qs, u"BUServer"_qs};
    QTest::newRow("FMServer") << false
                              << QStringList{u"BSERVERIP"_qs, u"BPORT"_qs, u"BFIRMA"_qs, u"BFIL"_qs, u"BNAMESPACE"_qs,
                                             u"BUEdit"_qs, u"BUZurück"_qs};
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
    QTest::newRow("no PostgreSQL listening") << u"127.0.0.1"_qs << QString::number(ClosedPort()) << u"127.0.0.1"_qs;
    QTest::newRow("database file missing") << u"/nirgends/tolven.db"_qs << u"1972"_qs << u"/nirgends/tolven.db"_qs;
}

void TestConnection::threeFailedAttempts()
{
    QFETCH(QString, server);
    QFETCH(QString, port);
    QFETCH(QString, reason);
    testsupport::ScriptedDialogs dialogs;
    QStringList problemsShown;
    const auto closeServerWindow = [&](QDialog &window) {
        problemsShown << window.findChild<QLabel *>(u"LVerbindungsfehler"_qs)->text();
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_qs), Qt::LeftButton);
        return 0;
    };
    dialogs.expectMessage(LoginTitle, Countdown(2));
    dialogs.expectDialog(u"FMServer"_qs, closeServerWindow);
    dialogs.expectMessage(LoginTitle, Countdown(1));
    dialogs.expectDialog(u"FMServer"_qs, closeServerWindow);
    dialogs.expectMessage(LoginTitle, u"Server nach 3 Versuchen nicht erreichbar!\r\nAbbruch"_qs);

    // The start-up login with a command line that names the unreachable server.
    m_fixture->setCommandLine(u"1 0 MUELLER Konkur24 "_qs + server + u' ' + port);
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
    m_fixture->context().ConnectString = ConnectStringFor(u"/nirgends/tolven.db"_qs, u"1972"_qs);
    dialogs.expectMessage(LoginTitle, Countdown(2));
    dialogs.expectDialog(u"FMServer"_qs, [&](QDialog &window) {
        dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_qs, QMessageBox::Yes);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUEdit"_qs), Qt::LeftButton);
        window.findChild<QLineEdit *>(u"BSERVERIP"_qs)->setText(u"/anderswo/tolven.db"_qs);
        dialogs.expectMessage(LoginTitle, u"Änderungen sichern?"_qs, QMessageBox::Yes);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUEdit"_qs), Qt::LeftButton);
        // Closing the window goes on with the next attempt.
        window.close();
        dialogs.expectMessage(LoginTitle, Countdown(1));
        dialogs.expectDialog(u"FMServer"_qs, [](QDialog &) { return 0; });
        dialogs.expectMessage(LoginTitle, u"Server nach 3 Versuchen nicht erreichbar!\r\nAbbruch"_qs);
        return 0;
    });
    QVERIFY(!EnsureConnected());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->setting(u"Server"_qs), u"/anderswo/tolven.db"_qs);
    QCOMPARE(m_fixture->factoriesMade(), 3);
    QCOMPARE(m_fixture->exits(), 1);
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
