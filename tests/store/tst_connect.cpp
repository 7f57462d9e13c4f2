#include <QFile>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "access/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using tolven::AccessError;
using tolven::ErrorNumber;

class TestConnect : public QObject
{
    Q_OBJECT

private slots:
    void connectStringNamesFileOrHost_data();
    void connectStringNamesFileOrHost();
    void malformedConnectStringsAreRefused_data();
    void malformedConnectStringsAreRefused();
    void adminTargets_data();
    void adminTargets();
    void missingFileIsNotCreated();
    void fileThatIsNoDatabaseStaysUntouched();
    void databaseWithoutSchemaIsRefused_data();
    void databaseWithoutSchemaIsRefused();
    void newerSchemaIsRefused_data();
    void newerSchemaIsRefused();
    void serverNotListening();

private:
    // The number of the AccessError that connecting with connectString throws.
    static ErrorNumber connectError(const QString &connectString, QString *description = nullptr);
};

ErrorNumber TestConnect::connectError(const QString &connectString, QString *description)
{
    store::StoreFactory factory;
    try {
        factory.connect(connectString);
    } catch (const AccessError &e) {
        if (description)
            *description = e.description();
        if (factory.isConnected())
            return ErrorNumber::DatabaseError; // a failed connect must not leave a session
        return e.number();
    }
    return ErrorNumber{};
}

void TestConnect::connectStringNamesFileOrHost_data()
{
    QTest::addColumn<QString>("connectString");
    QTest::addColumn<bool>("sqlite");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("port");
    QTest::newRow("unix path") << QStringLiteral("cn_iptcp:/home/vk/tolven.db[1972]:TOLVEN") << true << QStringLiteral("/home/vk/tolven.db") << 0;
    QTest::newRow("windows path") << QStringLiteral("cn_iptcp:C:\\Daten\\konkur[1973]:TOLVEN") << true << QStringLiteral("C:\\Daten\\konkur") << 0;
    QTest::newRow("file name ending .db") << QStringLiteral("cn_iptcp:konkur.DB[1]:TOLVEN") << true << QStringLiteral("konkur.DB") << 0;
    QTest::newRow("path with brackets") << QStringLiteral("cn_iptcp:/srv/a[1]/t.db[1972]:TOLVEN") << true << QStringLiteral("/srv/a[1]/t.db") << 0;
    QTest::newRow("host name") << QStringLiteral("cn_iptcp:db.zentrale.example[5432]:TOLVEN") << false << QStringLiteral("db.zentrale.example") << 5432;
    QTest::newRow("ip address") << QStringLiteral("cn_iptcp:10.1.2.3[1973]:TOLVEN") << false << QStringLiteral("10.1.2.3") << 1973;
}

void TestConnect::connectStringNamesFileOrHost()
{
    QFETCH(QString, connectString);
    QFETCH(bool, sqlite);
    QFETCH(QString, where);
    QFETCH(int, port);
    const store::DatabaseTarget target = store::ParseConnectString(connectString);
    QCOMPARE(target.isSQLite(), sqlite);
    QCOMPARE(sqlite ? target.path : target.host, where);
    if (!sqlite) {
        QCOMPARE(target.port, port);
        QCOMPARE(target.database, QStringLiteral("tolven"));
    }
}

void TestConnect::malformedConnectStringsAreRefused_data()
{
    QTest::addColumn<QString>("connectString");
    QTest::newRow("empty") << QString();
    QTest::newRow("prefix only") << QStringLiteral("cn_iptcp:");
    QTest::newRow("other prefix") << QStringLiteral("tcp:localhost[5432]:TOLVEN");
    QTest::newRow("other namespace") << QStringLiteral("cn_iptcp:localhost[5432]:USER");
    QTest::newRow("no bracket") << QStringLiteral("cn_iptcp:localhost5432]:TOLVEN");
    QTest::newRow("no host") << QStringLiteral("cn_iptcp:[5432]:TOLVEN");
    QTest::newRow("port not a number") << QStringLiteral("cn_iptcp:localhost[54x2]:TOLVEN");
    QTest::newRow("port empty") << QStringLiteral("cn_iptcp:localhost[]:TOLVEN");
    QTest::newRow("port too large") << QStringLiteral("cn_iptcp:localhost[70000]:TOLVEN");
    QTest::newRow("port zero") << QStringLiteral("cn_iptcp:localhost[0]:TOLVEN");
}

void TestConnect::malformedConnectStringsAreRefused()
{
    QFETCH(QString, connectString);
    QCOMPARE(connectError(connectString), ErrorNumber::BadConnectString);
}

void TestConnect::adminTargets_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("sqlite");
    QTest::addColumn<QString>("where");
    QTest::newRow("relative file") << QStringLiteral("demo.db") << true << QStringLiteral("demo.db");
    QTest::newRow("file without ending") << QStringLiteral("tolven") << true << QStringLiteral("tolven");
    QTest::newRow("host and port") << QStringLiteral("db.example:5433") << false << QStringLiteral("db.example");
    QTest::newRow("libpq string") << QStringLiteral("host=db port=5432 sslmode=require") << false << QString();
}

void TestConnect::adminTargets()
{
    QFETCH(QString, target);
    QFETCH(bool, sqlite);
    QFETCH(QString, where);
    const store::DatabaseTarget parsed = store::ParseAdminTarget(target);
    QCOMPARE(parsed.isSQLite(), sqlite);
    if (sqlite)
        QCOMPARE(parsed.path, where);
    else if (where.isEmpty())
        QCOMPARE(parsed.conninfo, target);
    else
        QCOMPARE(parsed.host, where);
}

void TestConnect::missingFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehlt.db"));
    QString description;
    QCOMPARE(connectError(store::MakeConnectString(path, QStringLiteral("1972")), &description), ErrorNumber::ConnectFailed);
    QVERIFY2(description.contains(path), qPrintable(description));
    QVERIFY(!QFile::exists(path));
}

void TestConnect::fileThatIsNoDatabaseStaysUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notizen.db"));
    const QByteArray content = "Dies ist keine Datenbank, sondern eine Notiz.\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const ErrorNumber number = connectError(store::MakeConnectString(path, QStringLiteral("1972")));
    QVERIFY(number == ErrorNumber::DatabaseError || number == ErrorNumber::NoSchema);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void TestConnect::databaseWithoutSchemaIsRefused_data()
{
    testsupport::addBackendRows();
}

void TestConnect::databaseWithoutSchemaIsRefused()
{
    QFETCH(QString, backend);
    if (backend == u"PostgreSQL" && testsupport::postgresAddress().isEmpty())
        QSKIP("no PostgreSQL cluster");
    testsupport::TestDatabase db(backend, false);
    {
        auto session = store::Session::openUnchecked(db.target(), false);
        store::schema::drop(*session);
    }
    QString description;
    QCOMPARE(connectError(db.connectString(), &description), ErrorNumber::NoSchema);
    QVERIFY2(description.contains(u"tolven-admin init"), qPrintable(description));
}

void TestConnect::newerSchemaIsRefused_data()
{
    testsupport::addBackendRows();
}

void TestConnect::newerSchemaIsRefused()
{
    QFETCH(QString, backend);
    if (backend == u"PostgreSQL" && testsupport::postgresAddress().isEmpty())
        QSKIP("no PostgreSQL cluster");
    testsupport::TestDatabase db(backend, false);
    {
        auto session = store::Session::openUnchecked(db.target(), false);
        session->execDirect(QStringLiteral("UPDATE tolven_meta SET value = ? WHERE name = 'schema_version'"),
                            {QString::number(store::schema::CurrentVersion + 1)}, QStringLiteral("Test"));
    }
    QString description;
    QCOMPARE(connectError(db.connectString(), &description), ErrorNumber::SchemaVersion);
    QVERIFY2(description.contains(u"neuer"), qPrintable(description));
}

void TestConnect::serverNotListening()
{
    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QCOMPARE(connectError(store::MakeConnectString(QStringLiteral("127.0.0.1"), QString::number(port))),
             ErrorNumber::ConnectFailed);
}

QTEST_GUILESS_MAIN(TestConnect)
#include "tst_connect.moc"
