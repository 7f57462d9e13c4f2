#include <QFile>
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
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList{QStringLiteral("drop")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("init"), QStringLiteral("x.db"), QStringLiteral("--all")};
    QTest::newRow("demo with check") << QStringList{QStringLiteral("check"), QStringLiteral("--demo")};
    QTest::newRow("two targets") << QStringList{QStringLiteral("init"), QStringLiteral("a.db"), QStringLiteral("b.db")};
}

void TestAdmin::badCallsSayHowToCall()
{
    QFETCH(QStringList, arguments);
    const Run result = run(arguments);
    QCOMPARE(result.code, 2);
    QVERIFY(result.err.contains(u"tolven-admin init"));
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
