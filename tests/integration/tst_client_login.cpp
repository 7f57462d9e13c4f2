#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStandardPaths>
#include <QSqlQuery>
#include <QTest>

#include "access/Connection.h"
#include "access/FMPass.h"
#include "access/Login.h"
#include "access/cacheapi.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "support/ClientFixture.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QString AccessErrorTitle = u"Caché Zugriffsfehler"_s;
const QString WrongPasswordTitle = u"Anmeldung an Caché."_s;
const QString WrongPasswordText = u"Passwort Falsch oder Benutzer nicht Aktiv."_s;

// The database refuses every connection while it has a schema newer than
// this program's, and takes them again once it has the current one.
void SetSchemaVersion(const testsupport::TestDatabase &db, int version)
{
    auto session = store::Session::openUnchecked(db.target(), false);
    session->execDirect(u"UPDATE tolven_meta SET value = ? WHERE name = 'schema_version'"_s,
                        {QString::number(version)}, u"Test"_s);
}

} // namespace

// The login against the demo firms on both databases: each way it can end,
// the quoting of the person code, and the reconnect after the idle timer.
class TestClientLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        testsupport::HideOffscreenPlatformNotices();
    }
    void init();
    void cleanup();

    void login_data();
    void login();
    void failedCommandLineLoginAsksInTheWindow();
    void quoteInPersonCodeStaysInsideTheLiteral();
    void idleTimerReconnectsWithTheContext();
    void settingsStoredWhileReconnectingServeTheNextLogin();

private:
    // The command line for firm, branch, user and password on the test database.
    QString commandLine(const QString &loginFields) const;

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
};

void TestClientLogin::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
}

void TestClientLogin::cleanup()
{
    m_fixture.reset();
    m_db.reset();
}

QString TestClientLogin::commandLine(const QString &loginFields) const
{
    return loginFields + u' ' + testsupport::ClientFixture::serverOf(*m_db) + u' '
        + testsupport::ClientFixture::portOf(*m_db);
}

void TestClientLogin::login_data()
{
    QTest::addColumn<QString>("loginFields");
    QTest::addColumn<bool>("success");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<QString>("boxText"); // the start of it
    QTest::addColumn<QString>("userName");

    QTest::newRow("success") << u"1 0 MUELLER Konkur24"_s << true << QString() << QString() << u"Jürgen Müller"_s;
    QTest::newRow("code typed in lower case") << u"1 0 mueller Konkur24"_s << true << QString() << QString()
                                              << u"Jürgen Müller"_s;
    QTest::newRow("same code, other firm") << u"2 0 MUELLER Zweigwerk"_s << true << QString() << QString()
                                           << u"Sören Mühlbauer"_s;
    QTest::newRow("wrong password") << u"1 0 MUELLER falsch"_s << false << WrongPasswordTitle << WrongPasswordText
                                    << QString();
    QTest::newRow("password case counts") << u"1 0 MUELLER konkur24"_s << false << WrongPasswordTitle
                                          << WrongPasswordText << QString();
    QTest::newRow("inactive user") << u"1 0 WEISS weiss"_s << false << WrongPasswordTitle << WrongPasswordText
                                   << QString();
    QTest::newRow("unknown code") << u"1 0 NIEMAND x"_s << false << AccessErrorTitle
                                  << u"Vorgang: Anmeldung mit nicht existierendem Personalcode.\r\n\r\nFehler: 205"_s
                                  << QString();
    QTest::newRow("missing department") << u"1 0 OEZTUERK ohneabt"_s << false << AccessErrorTitle
                                        << u"Vorgang: Abteilungsermittlung.\r\n\r\nFehler: 205"_s << QString();
}

void TestClientLogin::login()
{
    QFETCH(QString, loginFields);
    QFETCH(bool, success);
    QFETCH(QString, boxTitle);
    QFETCH(QString, boxText);
    QFETCH(QString, userName);

    testsupport::ScriptedDialogs dialogs;
    if (!boxTitle.isEmpty())
        dialogs.expectMessageStartingWith(boxTitle, boxText);
    m_fixture->setCommandLine(commandLine(loginFields));
    QCOMPARE(Login(), success);
    VERIFY_DIALOGS_DONE(dialogs);

    const LoginContext &ctx = m_fixture->context();
    QCOMPARE(ctx.LoginFailed, !success);
    QCOMPARE(m_fixture->exits(), 0);
    if (success) {
        QCOMPARE(ctx.UserName, userName);
        QCOMPARE(ctx.LoginKey, ctx.UserCode + u'|' + userName);
        QVERIFY(!ctx.DepartmentName.isEmpty());
        QVERIFY(!ctx.Email.isEmpty());
        QVERIFY(!ctx.IgnoreStoredPassword);
        QVERIFY(!m_fixture->api().loginWindow().isVisible());
        QVERIFY2(m_fixture->api().lockTimer().isActive(), "the idle timer runs after the login");
    } else {
        QVERIFY(ctx.LoginKey.isEmpty());
        // Only a server error makes the login forget the remembered password.
        QCOMPARE(ctx.IgnoreStoredPassword, boxTitle == AccessErrorTitle);
    }
}

void TestClientLogin::failedCommandLineLoginAsksInTheWindow()
{
    // A wrong password on the command line would otherwise be tried again and
    // again; the second attempt asks in the login window instead.
    testsupport::ScriptedDialogs dialogs;
    m_fixture->setCommandLine(commandLine(u"1 0 MUELLER falsch"_s));
    dialogs.expectMessage(WrongPasswordTitle, WrongPasswordText);
    QVERIFY(!Login());

    QString userShown;
    dialogs.expectDialog(u"FMPass"_s, [&](QDialog &window) {
        userShown = window.findChild<QLineEdit *>(u"BUSER"_s)->text();
        window.findChild<QLineEdit *>(u"BPASSWORT"_s)->setText(u"Konkur24"_s);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        return 1;
    });
    QVERIFY(Login());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(userShown, u"MUELLER"_s);
    QCOMPARE(m_fixture->context().UserName, u"Jürgen Müller"_s);
    QCOMPARE(m_fixture->context().Firm, u"1"_s);
    QCOMPARE(m_fixture->setting(u"Server"_s), testsupport::ClientFixture::serverOf(*m_db));
}

void TestClientLogin::quoteInPersonCodeStaysInsideTheLiteral()
{
    // Pasted in raw, the code would end the literal and the command would be
    // refused ("Firma Filiale Personal Setzen"); quoted, it is one value that
    // simply names nobody.
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(AccessErrorTitle,
                                      u"Vorgang: Anmeldung mit nicht existierendem Personalcode."_s);
    m_fixture->setCommandLine(commandLine(u"1 0 X\",FIL=9,PERSONAL=\"MUELLER Konkur24"_s));
    QVERIFY(!Login());
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(m_fixture->api().factory()->isConnected());
}

void TestClientLogin::idleTimerReconnectsWithTheContext()
{
    QFETCH_GLOBAL(QString, backend);
    const bool postgres = backend == u"PostgreSQL";
    QSqlDatabase observer;
    const QString observerName = u"observer"_s;
    // The client's backends, seen from a connection of its own.
    const auto clientBackends = [&] {
        QSet<int> pids;
        QSqlQuery query(observer);
        if (!query.exec(u"SELECT pid FROM pg_stat_activity WHERE datname = 'tolven' AND pid <> pg_backend_pid()"_s))
            qWarning() << query.lastError().text();
        while (query.next())
            pids.insert(query.value(0).toInt());
        return pids;
    };
    if (postgres) {
        observer = QSqlDatabase::addDatabase(u"QPSQL"_s, observerName);
        observer.setHostName(m_db->target().host);
        observer.setPort(m_db->target().port);
        observer.setDatabaseName(u"tolven"_s);
        QVERIFY2(observer.open(), qPrintable(observer.lastError().text()));
    }

    testsupport::ScriptedDialogs dialogs;
    m_fixture->api().lockTimer().setInterval(50);
    m_fixture->setCommandLine(commandLine(u"1 0 MUELLER Konkur24"_s));
    QVERIFY(Login());
    bool failed = false;
    const QString groups = DBCall(u"d HGRP^TVCLSU"_s, failed);
    QVERIFY(!groups.isEmpty());
    const QSet<int> before = postgres ? clientBackends() : QSet<int>{};
    if (postgres)
        QCOMPARE(before.size(), 1);

    QTRY_VERIFY(!m_fixture->api().factory()->isConnected());
    if (postgres)
        QTRY_VERIFY(clientBackends().isEmpty());

    // The next call connects anew and has firm, branch and person again: the
    // groups are firm 1's once more.
    QCOMPARE(DBCall(u"d HGRP^TVCLSU"_s, failed), groups);
    QVERIFY(!failed);
    QCOMPARE(m_fixture->factoriesMade(), 2);
    if (postgres) {
        const QSet<int> after = clientBackends();
        QCOMPARE(after.size(), 1);
        QVERIFY2(!after.intersects(before), "no new backend connection");
    }
    VERIFY_DIALOGS_DONE(dialogs);
    if (postgres) {
        observer.close();
        observer = QSqlDatabase();
        QSqlDatabase::removeDatabase(observerName);
    }
}

void TestClientLogin::settingsStoredWhileReconnectingServeTheNextLogin()
{
    // The connection the session lost is made again for the session's own
    // firm, person and server, whatever the user stored between two attempts.
    testsupport::ScriptedDialogs dialogs;
    QStringList contextCommands;
    m_fixture->interceptCalls([&contextCommands](const QString &, const QString &name, const QStringList &arguments) {
        if (name == u"Xecute" && arguments.value(0).startsWith(u"S FIRMA="))
            contextCommands << arguments.value(0);
    });
    m_fixture->setCommandLine(commandLine(u"1 0 MUELLER Konkur24"_s));
    QVERIFY(Login());
    bool failed = false;
    const QString groups = DBCall(u"d HGRP^TVCLSU"_s, failed);
    QVERIFY(!groups.isEmpty());

    Disconnect();
    SetSchemaVersion(*m_db, store::schema::CurrentVersion + 1);
    dialogs.expectMessageStartingWith(LoginTitle, u"Server nicht erreicht!"_s);
    const auto storeAndReopen = testsupport::StoreInServerWindow(
        dialogs, {{u"BFIRMA"_s, u"2"_s}, {u"BSERVERIP"_s, u"/anderswo/tolven.db"_s}, {u"BPORT"_s, u"5433"_s}});
    dialogs.expectDialog(u"FMServer"_s, [&](QDialog &window) {
        const int result = storeAndReopen(window);
        SetSchemaVersion(*m_db, store::schema::CurrentVersion);
        return result;
    });
    contextCommands.clear();
    QCOMPARE(DBCall(u"d HGRP^TVCLSU"_s, failed), groups);
    QVERIFY(!failed);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(contextCommands, QStringList{SetContextCommand(u"1"_s, u"0"_s, u"MUELLER"_s)});
    QCOMPARE(m_fixture->factoriesMade(), 3);

    const LoginContext &ctx = m_fixture->context();
    QCOMPARE((QStringList{ctx.Firm, ctx.ServerAddress, ctx.ServerPort}),
             (QStringList{u"1"_s, testsupport::ClientFixture::serverOf(*m_db), testsupport::ClientFixture::portOf(*m_db)}));
    QCOMPARE((QStringList{m_fixture->setting(u"Firma"_s), m_fixture->setting(u"Server"_s), m_fixture->setting(u"Port"_s)}),
             (QStringList{u"2"_s, u"/anderswo/tolven.db"_s, u"5433"_s}));
}

QTEST_MAIN(TestClientLogin)
#include "tst_client_login.moc"
