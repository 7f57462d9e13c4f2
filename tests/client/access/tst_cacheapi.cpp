#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QTest>

#include "access/Connection.h"
#include "access/cacheapi.h"
#include "support/ClientFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

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

    QTest::newRow("empty field kept") << u"a|b||c"_s << 4 << QStringList{u"a"_s, u"b"_s, u""_s, u"c"_s} << 10;
    QTest::newRow("trailing delimiter") << u"a|b|"_s << 2 << QStringList{u"a"_s, u"b"_s} << 10;
    QTest::newRow("only delimiters") << u"||"_s << 2 << QStringList{u""_s, u""_s} << 10;
    QTest::newRow("no delimiter") << u"abc"_s << 1 << QStringList{u"abc"_s} << 10;
    QStringList many;
    QString text;
    for (int i = 1; i <= 25; ++i) {
        many << QString::number(i);
        text += QString::number(i) + u'|';
    }
    QTest::newRow("25 fields") << text << 25 << many << 30;
    QTest::newRow("exactly 10") << u"1|2|3|4|5|6|7|8|9|10"_s << 10
                                << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s} << 10;
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
    SplitFields(u"a|b|c|d"_s, u'|', fields);
    QCOMPARE(SplitFields(u"x|y"_s, u'|', fields), 2);
    QCOMPARE(fields.mid(1, 4), (QStringList{u"x"_s, u"y"_s, u"c"_s, u"d"_s}));
    QCOMPARE(SplitFields(QString(), u'|', fields), 0);
    QCOMPARE(fields.mid(1, 4), (QStringList{u"x"_s, u"y"_s, u"c"_s, u"d"_s}));
}

void TestCacheApi::accessErrorBoxLayout()
{
    testsupport::ScriptedDialogs dialogs;
    const AccessError error(ErrorNumber::ObjectNotFound, u"Das Objekt 1||X gibt es nicht."_s);
    const QString expected = u"Vorgang: Abteilungsermittlung.\r\n\r\nFehler: 205\r\n"
                                            "Das Objekt 1||X gibt es nicht.\r\n\r\n"_s;
    dialogs.expectMessage(u"Caché Zugriffsfehler"_s, expected);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_fixture->api().lockTimer().stop();
    ReportAccessError(error, u"Abteilungsermittlung"_s);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(dialogs.shown().first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY2(!QGuiApplication::overrideCursor(), "the wait cursor stays after the error");
    QVERIFY2(m_fixture->api().lockTimer().isActive(), "the idle timer does not run again");
}

void TestCacheApi::connectToDemo()
{
    m_db = std::make_unique<testsupport::TestDatabase>(u"SQLite"_s);
    LoginContext &ctx = m_fixture->context();
    ctx.Firm = u"1"_s;
    ctx.Branch = u"0"_s;
    ctx.UserCode = u"MUELLER"_s;
    ctx.ConnectString = m_db->connectString();
}

void TestCacheApi::dbCallAnswersAndFails()
{
    connectToDemo();
    testsupport::ScriptedDialogs dialogs;
    bool failed = false;
    QVERIFY(!DBCall(u"d HGRP^TVCLSU"_s, failed).isEmpty());
    QVERIFY(!failed);
    QVERIFY(m_fixture->api().lockTimer().isActive());

    dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s,
                                      u"Vorgang: Ungültige Anfrage! Kein Ergebnis gefunden\r\n\r\n"
                                                     "DBCall Aufruf von TV.Windwos Xecute K ^B.\r\n\r\nFehler: 301"_s);
    QCOMPARE(DBCall(u"K ^B"_s, failed), QString());
    QVERIFY(failed);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestCacheApi::dbCallDSplitsTheAnswer()
{
    connectToDemo();
    testsupport::ScriptedDialogs dialogs;
    bool failed = false;
    QStringList fields;
    const int count = DBCallD(u"d HGRP^TVCLSU"_s, QString(QChar(255)), fields, failed);
    QVERIFY(!failed);
    QVERIFY(count > 2);
    QVERIFY2(fields.at(1).contains(u'`'), qPrintable(fields.at(1)));

    dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s,
                                      u"Vorgang: Ungültige Anfrage! Kein Ergebnis gefunden\r\n\r\n"
                                                     "DBCallD Aufruf von TV.Windwos Xecute d NIX^TVCLSU."_s);
    const QStringList before = fields;
    QCOMPARE(DBCallD(u"d NIX^TVCLSU"_s, QString(QChar(255)), fields, failed), 0);
    QVERIFY(failed);
    QCOMPARE(fields, before);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestCacheApi::idleTimerDropsTheConnection()
{
    connectToDemo();
    m_fixture->api().lockTimer().setInterval(20);
    bool failed = false;
    const QString groups = DBCall(u"d HGRP^TVCLSU"_s, failed);
    const quint64 first = m_fixture->api().connectionNumber();
    QVERIFY(m_fixture->api().factory()->isConnected());
    QVERIFY(IsCurrentConnection(first));
    QTRY_VERIFY(!m_fixture->api().factory()->isConnected());
    QVERIFY(!IsCurrentConnection(first));
    QCOMPARE(m_fixture->factoriesMade(), 1);
    // The next call connects again and sets firm, branch and person first:
    // the group list needs the firm.
    QCOMPARE(DBCall(u"d HGRP^TVCLSU"_s, failed), groups);
    QVERIFY(!failed);
    QCOMPARE(m_fixture->factoriesMade(), 2);
    // A session of its own, which knows nothing of what the first kept.
    QVERIFY(!IsCurrentConnection(first));
    QVERIFY(IsCurrentConnection(m_fixture->api().connectionNumber()));
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
    QTest::newRow("plain") << u"Konkur24"_s;
    QTest::newRow("umlauts and euro") << u"Grüße€2026"_s;
    QTest::newRow("the key's own character") << QString(QChar(char16_t(PasswordScrambleKey))) + u"x";
    QTest::newRow("outside the code page") << u"Łódź-Ω"_s;
    QTest::newRow("empty") << u""_s;
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
    m_fixture->writeSetting(u"Passwort"_s, scrambled);
    QCOMPARE(ScramblePassword(m_fixture->setting(u"Passwort"_s)), password);
}

QTEST_MAIN(TestCacheApi)
#include "tst_cacheapi.moc"
