#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include "admin/AdminTool.h"
#include "store/DemoData.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/TestDatabase.h"

class TestAdmin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void badCallsSayHowToCall_data();
    void badCallsSayHowToCall();
    void demoSizesAreCheckedBeforeTheDatabase_data();
    void demoSizesAreCheckedBeforeTheDatabase();
    void sizedDemoHasTheCountsAsked_data();
    void sizedDemoHasTheCountsAsked();
    void initCreatesSchemaAndDemoData_data();
    void initCreatesSchemaAndDemoData();
    void initRefusesToOverwrite();
    void checkReportsWhatIsWrong_data();
    void checkReportsWhatIsWrong();
    void demoLoginsAreInTheDatabase();
    void upgradeAddsWhatIsMissingAndKeepsData_data();
    void upgradeAddsWhatIsMissingAndKeepsData();
    void upgradeRefusesNewerSchema();

private:
    struct Run
    {
        int code;
        QString out;
        QString err;
    };
    static Run run(const QStringList &arguments);
    static qint64 count(const store::DatabaseTarget &target, const QString &table);

    QTemporaryDir m_dir;
};

void TestAdmin::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

TestAdmin::Run TestAdmin::run(const QStringList &arguments)
{
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.code = admin::RunAdmin(arguments, out, err);
    out.flush();
    err.flush();
    return result;
}

qint64 TestAdmin::count(const store::DatabaseTarget &target, const QString &table)
{
    auto session = store::Session::open(target);
    QSqlQuery query(session->database());
    if (!query.exec(u"SELECT COUNT(*) FROM " + table) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

void TestAdmin::badCallsSayHowToCall_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList() << QStringLiteral("Kein Befehl");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("drop")} << QStringLiteral("Unbekannter Befehl drop");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("init"), QStringLiteral("x.db"), QStringLiteral("--all")}
                                    << QStringLiteral("Unbekannte Option --all");
    QTest::newRow("demo with check") << QStringList{QStringLiteral("check"), QStringLiteral("--demo")}
                                     << QStringLiteral("nur für init");
    QTest::newRow("two targets") << QStringList{QStringLiteral("init"), QStringLiteral("a.db"), QStringLiteral("b.db")}
                                 << QStringLiteral("Zu viele Argumente");

    const QString withoutDemo = QStringLiteral("nur zusammen mit --demo");
    const QString notACount = QStringLiteral("erwartet eine positive ganze Zahl");
    auto demoInit = [](const QStringList &more) {
        return QStringList{QStringLiteral("init"), QStringLiteral("x.db"), QStringLiteral("--demo")} + more;
    };
    QTest::newRow("articles without demo")
            << QStringList{QStringLiteral("init"), QStringLiteral("x.db"), QStringLiteral("--articles"), QStringLiteral("100")}
            << withoutDemo;
    QTest::newRow("positions without demo")
            << QStringList{QStringLiteral("init"), QStringLiteral("--positions=100"), QStringLiteral("--force")} << withoutDemo;
    QTest::newRow("articles with check")
            << QStringList{QStringLiteral("check"), QStringLiteral("x.db"), QStringLiteral("--articles"), QStringLiteral("100")}
            << QStringLiteral("nur für init");
    QTest::newRow("articles zero") << demoInit({QStringLiteral("--articles"), QStringLiteral("0")}) << notACount;
    QTest::newRow("articles negative") << demoInit({QStringLiteral("--articles"), QStringLiteral("-50")})
                                       << QStringLiteral("positive ganze Zahl, nicht \"-50\"");
    QTest::newRow("articles a word") << demoInit({QStringLiteral("--articles"), QStringLiteral("viele")}) << notACount;
    QTest::newRow("positions with a unit") << demoInit({QStringLiteral("--positions"), QStringLiteral("10k")}) << notACount;
    QTest::newRow("positions with decimals") << demoInit({QStringLiteral("--positions=1,5")}) << notACount;
    QTest::newRow("positions with a sign") << demoInit({QStringLiteral("--positions=+600")}) << notACount;
    QTest::newRow("positions empty") << demoInit({QStringLiteral("--positions=")}) << notACount;
    QTest::newRow("articles without a value") << demoInit({QStringLiteral("--articles")})
                                              << QStringLiteral("--articles braucht eine Zahl");
    QTest::newRow("articles followed by an option") << demoInit({QStringLiteral("--articles"), QStringLiteral("--force")})
                                                    << QStringLiteral("nicht \"--force\"");
    QTest::newRow("articles twice")
            << demoInit({QStringLiteral("--articles"), QStringLiteral("100"), QStringLiteral("--articles=200")})
            << QStringLiteral("doppelt");
    QTest::newRow("articles beyond any count") << demoInit({QStringLiteral("--articles"), QStringLiteral("99999999999")})
                                               << QStringLiteral("zu groß");
}

void TestAdmin::badCallsSayHowToCall()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run result = run(arguments);
    QCOMPARE(result.code, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.contains(u"tolven-admin init"));
    QVERIFY(result.err.contains(u"--articles N"));
    QVERIFY(result.out.isEmpty());
}

void TestAdmin::demoSizesAreCheckedBeforeTheDatabase_data()
{
    QTest::addColumn<QStringList>("size");
    QTest::addColumn<QString>("message");
    QTest::newRow("fewer articles than the fixed ones")
            << QStringList{QStringLiteral("--articles"), QString::number(store::demo::FixedArticleCount - 1)}
            << QStringLiteral("Artikel");
    QTest::newRow("fewer positions than the fixed ones")
            << QStringList{QStringLiteral("--positions"), QString::number(store::demo::FixedPositionCount - 1)}
            << QStringLiteral("Positionen");
    QTest::newRow("positions without enough articles")
            << QStringList{QStringLiteral("--articles=30"), QStringLiteral("--positions=5000")}
            << QStringLiteral("mindestens 50 Artikel");
}

void TestAdmin::demoSizesAreCheckedBeforeTheDatabase()
{
    // A size the demo cannot have is refused before anything is dropped,
    // created or written, even with --force.
    QFETCH(QStringList, size);
    QFETCH(QString, message);
    const QString fresh = m_dir.filePath(QStringLiteral("nie-angelegt.db"));
    Run result = run(QStringList{QStringLiteral("init"), fresh, QStringLiteral("--demo")} + size);
    QCOMPARE(result.code, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFile::exists(fresh));

    const QString existing = m_dir.filePath(QStringLiteral("behalten.db"));
    if (!QFile::exists(existing))
        QCOMPARE(run({QStringLiteral("init"), existing, QStringLiteral("--demo")}).code, 0);
    const store::DatabaseTarget parsed = store::ParseAdminTarget(existing);
    const qint64 positions = count(parsed, QStringLiteral("konkur_konkur"));
    QVERIFY(positions > 0);
    result = run(QStringList{QStringLiteral("init"), existing, QStringLiteral("--demo"), QStringLiteral("--force")} + size);
    QCOMPARE(result.code, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(count(parsed, QStringLiteral("konkur_konkur")), positions);
}

void TestAdmin::sizedDemoHasTheCountsAsked_data()
{
    QTest::addColumn<QStringList>("size");
    QTest::addColumn<int>("articles");
    QTest::addColumn<int>("positions");
    QTest::newRow("values apart") << QStringList{QStringLiteral("--articles"), QStringLiteral("40"),
                                                 QStringLiteral("--positions"), QStringLiteral("90")}
                                  << 40 << 90;
    QTest::newRow("values joined") << QStringList{QStringLiteral("--positions=75"), QStringLiteral("--articles=31")}
                                   << 31 << 75;
    QTest::newRow("positions only") << QStringList{QStringLiteral("--positions"), QStringLiteral("700")}
                                    << store::DemoSize{}.articles << 700;
}

void TestAdmin::sizedDemoHasTheCountsAsked()
{
    QFETCH(QStringList, size);
    QFETCH(int, articles);
    QFETCH(int, positions);
    const QString target = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-') + u".db");
    const Run result = run(QStringList{QStringLiteral("init"), target, QStringLiteral("--demo")} + size);
    QVERIFY2(result.code == 0, qPrintable(result.err));

    const store::DatabaseTarget parsed = store::ParseAdminTarget(target);
    QCOMPARE(count(parsed, QStringLiteral("tv_artikel WHERE firma = '1'")), qint64(articles));
    QCOMPARE(count(parsed, QStringLiteral("konkur_konkur WHERE firma = '1'")), qint64(positions));
    // Firm 2 keeps its size.
    QCOMPARE(count(parsed, QStringLiteral("tv_artikel WHERE firma = '2'")), qint64(store::demo::Firm2Articles));
    // The tool says what it wrote.
    const QLocale german(QLocale::German, QLocale::Germany);
    QVERIFY2(result.out.contains(QRegularExpression(u"Artikel \\(TV\\.Artikel\\) +Firma 1: +"
                                                    + QRegularExpression::escape(german.toString(articles)) + u" ")),
             qPrintable(result.out));
    QVERIFY2(result.out.contains(QRegularExpression(u"Positionen \\(Konkur\\.Konkur\\) +Firma 1: +"
                                                    + QRegularExpression::escape(german.toString(positions)) + u" ")),
             qPrintable(result.out));
}

void TestAdmin::initCreatesSchemaAndDemoData_data()
{
    testsupport::addBackendRows();
}

void TestAdmin::initCreatesSchemaAndDemoData()
{
    QFETCH(QString, backend);
    QString target;
    if (backend == u"PostgreSQL") {
        if (testsupport::postgresAddress().isEmpty())
            QSKIP("no PostgreSQL cluster");
        target = testsupport::postgresAddress();
        auto session = store::Session::openUnchecked(store::ParseAdminTarget(target), false);
        store::schema::drop(*session);
    } else {
        // A folder that does not exist yet is made.
        target = m_dir.filePath(QStringLiteral("neu/ordner/demo.db"));
    }

    Run result = run({QStringLiteral("init"), target, QStringLiteral("--demo")});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    const store::DatabaseTarget parsed = store::ParseAdminTarget(target);
    QCOMPARE(count(parsed, QStringLiteral("tv_parpersedv")), qint64(store::DemoLogins().size()));

    result = run({QStringLiteral("check"), target});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QVERIFY(result.out.contains(u"Schemaversion: " + QString::number(store::schema::CurrentVersion)));
    QVERIFY(result.out.contains(QRegularExpression(u"tv_parpersedv\\s+" + QString::number(store::DemoLogins().size()))));
}

void TestAdmin::initRefusesToOverwrite()
{
    const QString target = m_dir.filePath(QStringLiteral("vorhanden.db"));
    QCOMPARE(run({QStringLiteral("init"), target, QStringLiteral("--demo")}).code, 0);
    const store::DatabaseTarget parsed = store::ParseAdminTarget(target);
    {
        store::StoreFactory factory;
        factory.connectTo(parsed);
        auto department = factory.createNew(QStringLiteral("TV.ParPersAbt"));
        department->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
        department->setProperty(QStringLiteral("ABTNR"), QStringLiteral("55"));
        department->sys_save();
    }

    Run result = run({QStringLiteral("init"), target, QStringLiteral("--demo")});
    QCOMPARE(result.code, 1);
    QVERIFY(result.err.contains(u"--force"));
    QCOMPARE(count(parsed, QStringLiteral("tv_parpersabt")), qint64(6)); // five demo departments and ours

    result = run({QStringLiteral("init"), target, QStringLiteral("--force")});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QCOMPARE(count(parsed, QStringLiteral("tv_parpersabt")), qint64(0));
}

void TestAdmin::checkReportsWhatIsWrong_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringLiteral("fehlt.db") << QByteArray() << QStringLiteral("gibt es nicht");
    QTest::newRow("empty database") << QStringLiteral("leer.db") << QByteArray("") << QStringLiteral("kein Schema");
    QTest::newRow("not a database") << QStringLiteral("text.db") << QByteArray("Hallo Welt, das ist Text und keine Datenbank.\n")
                                    << QStringLiteral("Fehler");
}

void TestAdmin::checkReportsWhatIsWrong()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = m_dir.filePath(file);
    if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const Run result = run({QStringLiteral("check"), path});
    QCOMPARE(result.code, 1);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    } else {
        QVERIFY(!QFile::exists(path));
    }
}

void TestAdmin::demoLoginsAreInTheDatabase()
{
    // The logins the README lists work as listed: right password, active flag,
    // a department record except for the one user meant to fail there.
    testsupport::TestDatabase db(QStringLiteral("SQLite"));
    store::StoreFactory factory;
    factory.connectTo(db.target());
    int withoutDepartment = 0;
    int inactive = 0;
    for (const store::DemoLogin &login : store::DemoLogins()) {
        auto person = factory.openById(QStringLiteral("TV.ParPersEdv"), login.firm + u"||" + login.code);
        QCOMPARE(person->property(QStringLiteral("Passwort")), login.password);
        QCOMPARE(person->property(QStringLiteral("AKTIV")) == u"J", login.active);
        QCOMPARE(person->callMethod(QStringLiteral("PNAMELogicalToODBC"), {person->property(QStringLiteral("PNAME"))}),
                 login.name);
        inactive += login.active ? 0 : 1;
        try {
            factory.openById(QStringLiteral("TV.ParPersAbt"), login.firm + u"||" + person->property(QStringLiteral("ABTNR")));
            factory.openById(QStringLiteral("TV.PersBasis"), login.firm + u"||" + person->property(QStringLiteral("PNR")));
        } catch (const tolven::AccessError &) {
            ++withoutDepartment;
        }
    }
    QCOMPARE(inactive, 1);
    QCOMPARE(withoutDepartment, 1);
}

void TestAdmin::upgradeAddsWhatIsMissingAndKeepsData_data()
{
    testsupport::addBackendRows();
}

void TestAdmin::upgradeAddsWhatIsMissingAndKeepsData()
{
    QFETCH(QString, backend);
    if (backend == u"PostgreSQL" && testsupport::postgresAddress().isEmpty())
        QSKIP("no PostgreSQL cluster");
    testsupport::TestDatabase db(backend);
    const QString target = db.target().isSQLite() ? db.target().path : testsupport::postgresAddress();
    {
        // What an older version of the program would have made: a table and
        // a column fewer.
        auto session = store::Session::openUnchecked(db.target(), false);
        session->execDirect(QStringLiteral("DROP TABLE tv_persbasis"), {}, QStringLiteral("Test"));
        session->execDirect(QStringLiteral("ALTER TABLE tv_parpersedv DROP COLUMN p_bergrp"), {}, QStringLiteral("Test"));
        session->execDirect(QStringLiteral("UPDATE tolven_meta SET value = '0' WHERE name = 'schema_version'"), {},
                            QStringLiteral("Test"));
    }
    store::StoreFactory factory;
    try {
        factory.connectTo(db.target());
        QFAIL("an older schema must be refused");
    } catch (const tolven::AccessError &e) {
        QCOMPARE(e.number(), tolven::ErrorNumber::SchemaVersion);
        QVERIFY2(e.description().contains(u"tolven-admin upgrade"), qPrintable(e.description()));
    }

    Run result = run({QStringLiteral("upgrade"), target});
    QVERIFY2(result.code == 0, qPrintable(result.err));
    QVERIFY(result.out.contains(u"von Version 0"));

    factory.connectTo(db.target());
    auto person = factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    QCOMPARE(person->property(QStringLiteral("Passwort")), QStringLiteral("Konkur24"));
    QCOMPARE(person->property(QStringLiteral("BERGRP")), QString());
    person->setProperty(QStringLiteral("BERGRP"), QStringLiteral("VK"));
    person->sys_save();
    auto base = factory.createNew(QStringLiteral("TV.PersBasis"));
    base->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    base->setProperty(QStringLiteral("PNR"), QStringLiteral("1001"));
    base->sys_save();

    // A second upgrade has nothing to do.
    result = run({QStringLiteral("upgrade"), target});
    QCOMPARE(result.code, 0);
    QVERIFY(result.out.contains(u"schon die Version"));
}

void TestAdmin::upgradeRefusesNewerSchema()
{
    testsupport::TestDatabase db(QStringLiteral("SQLite"), false);
    {
        auto session = store::Session::openUnchecked(db.target(), false);
        session->execDirect(QStringLiteral("UPDATE tolven_meta SET value = '999' WHERE name = 'schema_version'"), {},
                            QStringLiteral("Test"));
    }
    const Run result = run({QStringLiteral("upgrade"), db.target().path});
    QCOMPARE(result.code, 1);
    QVERIFY2(result.err.contains(u"neuer"), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(TestAdmin)
#include "tst_admin.moc"
