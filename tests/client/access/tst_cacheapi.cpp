#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QTest>

#include "access/Connection.h"
#include "access/cacheapi.h"
#include "support/ClientFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace tolven;

// The gateway's own procedures: splitting answers, the access-error box,
// M commands through DBCall, waiting, ending the program, and the stored
// password's form.
class TestCacheApi : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_fixture = std::make_unique<testsupport::ClientFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void splitFields_data();
    void splitFields();
    void splitFieldsKeepsWhatLiesBeyond();
    void accessErrorBoxLayout();
    void dbCallAnswersAndFails();
    void dbCallDSplitsTheAnswer();
    void idleTimerDropsTheConnection();
    void waitHundredthsWaitsOneSecond();
    void exitApplicationClosesWindowsAndDisconnects();
    void scrambling_data();
    void scrambling();

private:
    // Logs in firm 1 as MUELLER on a fresh SQLite demo database.
    void connectToDemo();

    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<testsupport::TestDatabase> m_db;
};

void TestCacheApi::splitFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("capacity");

    QTest::newRow("empty field kept") << u"a|b||c"_qs << 4 << QStringList{u"a"_qs, u"b"_qs, u""_qs, u"c"_qs} << 10;
    QTest::newRow("trailing delimiter") << u"a|b|"_qs << 2 << QStringList{u"a"_qs, u"b"_qs} << 10;
    QTest::newRow("only delimiters") << u"||"_qs << 2 << QStringList{u""_qs, u""_qs} << 10;
    QTest::newRow("no delimiter") << u"abc"_qs << 1 << QStringList{u"abc"_qs} << 10;
    QStringList many;
    QString text;
    for (int i = 1; i <= 25; ++i) {
        many << QString::number(i);
        text += QString::number(i) + u'|';
    }
    QTest::newRow("25 fields") << text << 25 << many << 30;
    QTest::newRow("exactly 10") << u"1|2|3|4|5|6|7|8|9|10"_qs << 10
                                << QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs, u"8"_qs, u"9"_qs, u"10"_qs} << 10;
}

void TestCacheApi::splitFields()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QStringList, fields);
    QFETCH(int, capacity);

    QStringList result;
    QCOMPARE(SplitFields(text, u'|', result), count);
    QCOMPARE(result.size() - 1, capacity);
    QCOMPARE(result.mid(1, count), fields);
}

void TestCacheApi::splitFieldsKeepsWhatLiesBeyond()
{
    QStringList fields;
    SplitFields(QStringLiteral("a|b|c|d"), u'|', fields);
    QCOMPARE(SplitFields(QStringLiteral("x|y"), u'|', fields), 2);
    QCOMPARE(fields.mid(1, 4), (QStringList{u"x"_qs, u"y"_qs, u"c"_qs, u"d"_qs}));
    QCOMPARE(SplitFields(QString(), u'|', fields), 0);
    QCOMPARE(fields.mid(1, 4), (QStringList{u"x"_qs, u"y"_qs, u"c"_qs, u"d"_qs}));
}

void TestCacheApi::accessErrorBoxLayout()
{
    testsupport::ScriptedDialogs dialogs;
    const AccessError error(ErrorNumber::ObjectNotFound, QStringLiteral("Das Objekt 1||X gibt es nicht."));
    const QString expected = QStringLiteral("Vorgang: Abteilungsermittlung.\r\n\r\nFehler: 205\r\n"
                                            "Das Objekt 1||X gibt es nicht.\r\n\r\n");
    dialogs.expectMessage(QStringLiteral("Caché Zugriffsfehler"), expected);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_fixture->api().lockTimer().stop();
    ReportAccessError(error, QStringLiteral("Abteilungsermittlung"));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(dialogs.shown().first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY2(!QGuiApplication::overrideCursor(), "the wait cursor stays after the error");
    QVERIFY2(m_fixture->api().lockTimer().isActive(), "the idle timer does not run again");
}

void TestCacheApi::connectToDemo()
{
    m_db = std::make_unique<testsupport::TestDatabase>(QStringLiteral("SQLite"));
    LoginContext &ctx = m_fixture->context();
    ctx.Firm = QStringLiteral("1");
    ctx.Branch = QStringLiteral("0");
    ctx.UserCode = QStringLiteral("MUELLER");
    ctx.ConnectString = m_db->connectString();
}

void TestCacheApi::dbCallAnswersAndFails()
{
    connectToDemo();
    testsupport::ScriptedDialogs dialogs;
    bool failed = false;
    QVERIFY(!DBCall(QStringLiteral("d HGRP^TVCLSU"), failed).isEmpty());
    QVERIFY(!failed);
    QVERIFY(m_fixture->api().lockTimer().isActive());

    dialogs.expectMessageStartingWith(QStringLiteral("Caché Zugriffsfehler"),
                                      QStringLiteral("Vorgang: Ungültige Anfrage! Kein Ergebnis gefunden\r\n\r\n"
                                                     "DBCall Aufruf von TV.Windwos Xecute K ^B.\r\n\r\nFehler: 301"));
    QCOMPARE(DBCall(QStringLiteral("K ^B"), failed), QString());
    QVERIFY(failed);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestCacheApi::dbCallDSplitsTheAnswer()
{
    connectToDemo();
    testsupport::ScriptedDialogs dialogs;
    bool failed = false;
    QStringList fields;
    const int count = DBCallD(QStringLiteral("d HGRP^TVCLSU"), QString(QChar(255)), fields, failed);
    QVERIFY(!failed);
    QVERIFY(count > 2);
    QVERIFY2(fields.at(1).contains(u'`'), qPrintable(fields.at(1)));

    dialogs.expectMessageStartingWith(QStringLiteral("Caché Zugriffsfehler"),
                                      QStringLiteral("Vorgang: Ungültige Anfrage! Kein Ergebnis gefunden\r\n\r\n"
                                                     "DBCallD Aufruf von TV.Windwos Xecute d NIX^TVCLSU."));
    const QStringList before = fields;
    QCOMPARE(DBCallD(QStringLiteral("d NIX^TVCLSU"), QString(QChar(255)), fields, failed), 0);
    QVERIFY(failed);
    QCOMPARE(fields, before);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestCacheApi::idleTimerDropsTheConnection()
{
    connectToDemo();
    m_fixture->api().lockTimer().setInterval(20);
    bool failed = false;
    const QString groups = DBCall(QStringLiteral("d HGRP^TVCLSU"), failed);
    QVERIFY(m_fixture->api().factory()->isConnected());
    QTRY_VERIFY(!m_fixture->api().factory()->isConnected());
    QCOMPARE(m_fixture->factoriesMade(), 1);
    // The next call connects again and sets firm, branch and person first:
    // the group list needs the firm.
    QCOMPARE(DBCall(QStringLiteral("d HGRP^TVCLSU"), failed), groups);
    QVERIFY(!failed);
    QCOMPARE(m_fixture->factoriesMade(), 2);
}

void TestCacheApi::waitHundredthsWaitsOneSecond()
{
    bool eventHandled = false;
    QTimer::singleShot(100, [&] { eventHandled = true; });
    QElapsedTimer timer;
    timer.start();
    qint32 elapsed = -1;
    WaitHundredths(100, elapsed);
    QCOMPARE(elapsed, 1);
    QVERIFY(timer.elapsed() >= 990);
    QVERIFY2(eventHandled, "events wait until the wait is over");
}

void TestCacheApi::exitApplicationClosesWindowsAndDisconnects()
{
    connectToDemo();
    QVERIFY(EnsureConnected());
    QDialog first;
    QDialog second;
    first.show();
    second.show();
    ExitApplication();
    QVERIFY(!first.isVisible());
    QVERIFY(!second.isVisible());
    QVERIFY(!m_fixture->api().factory()->isConnected());
    QCOMPARE(m_fixture->exits(), 1);
    QVERIFY(ExitRequested());
    // Ending is final: no second round, no more connections.
    ExitApplication();
    QCOMPARE(m_fixture->exits(), 1);
    QVERIFY(!EnsureConnected());
}

void TestCacheApi::scrambling_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("plain") << u"Konkur24"_qs;
    QTest::newRow("umlauts and euro") << u"Grüße€2026"_qs;
    QTest::newRow("the key's own character") << QString(QChar(char16_t(PasswordScrambleKey))) + u"x";
    QTest::newRow("outside the code page") << u"Łódź-Ω"_qs;
    QTest::newRow("empty") << u""_qs;
    QTest::newRow("long") << QString(300, u'z');
}

void TestCacheApi::scrambling()
{
    QFETCH(QString, password);
    const QString scrambled = ScramblePassword(password);
    QCOMPARE(scrambled.size(), password.size());
    if (password.contains(u'K'))
        QVERIFY(scrambled != password);
    QCOMPARE(ScramblePassword(scrambled), password);
    // And through the settings store, as the login keeps it.
    m_fixture->writeSetting(QStringLiteral("Passwort"), scrambled);
    QCOMPARE(ScramblePassword(m_fixture->setting(QStringLiteral("Passwort"))), password);
}

QTEST_MAIN(TestCacheApi)
#include "tst_cacheapi.moc"
