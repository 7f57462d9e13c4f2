#include <QFile>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

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
    void conninfoPasswordsAreMasked_data();
    void conninfoPasswordsAreMasked();
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
    QTest::newRow("unix path") << u"cn_iptcp:/home/vk/tolven.db[1972]:TOLVEN"_s << true << u"/home/vk/tolven.db"_s << 0;
    QTest::newRow("windows path") << u"cn_iptcp:C:\\Daten\\konkur[1973]:TOLVEN"_s << true << u"C:\\Daten\\konkur"_s << 0;
    QTest::newRow("file name ending .db") << u"cn_iptcp:konkur.DB[1]:TOLVEN"_s << true << u"konkur.DB"_s << 0;
    QTest::newRow("path with brackets") << u"cn_iptcp:/srv/a[1]/t.db[1972]:TOLVEN"_s << true << u"/srv/a[1]/t.db"_s << 0;
    QTest::newRow("host name") << u"cn_iptcp:db.zentrale.example[5432]:TOLVEN"_s << false << u"db.zentrale.example"_s << 5432;
    QTest::newRow("ip address") << u"cn_iptcp:10.1.2.3[1973]:TOLVEN"_s << false << u"10.1.2.3"_s << 1973;
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
        QCOMPARE(target.database, u"tolven"_s);
    }
}

void TestConnect::malformedConnectStringsAreRefused_data()
{
    QTest::addColumn<QString>("connectString");
    QTest::newRow("empty") << QString();
    QTest::newRow("prefix only") << u"cn_iptcp:"_s;
    QTest::newRow("other prefix") << u"tcp:localhost[5432]:TOLVEN"_s;
    QTest::newRow("other namespace") << u"cn_iptcp:localhost[5432]:USER"_s;
    QTest::newRow("no bracket") << u"cn_iptcp:localhost5432]:TOLVEN"_s;
    QTest::newRow("no host") << u"cn_iptcp:[5432]:TOLVEN"_s;
    QTest::newRow("port not a number") << u"cn_iptcp:localhost[54x2]:TOLVEN"_s;
    QTest::newRow("port empty") << u"cn_iptcp:localhost[]:TOLVEN"_s;
    QTest::newRow("port too large") << u"cn_iptcp:localhost[70000]:TOLVEN"_s;
    QTest::newRow("port zero") << u"cn_iptcp:localhost[0]:TOLVEN"_s;
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
    QTest::newRow("relative file") << u"demo.db"_s << true << u"demo.db"_s;
    QTest::newRow("file without ending") << u"tolven"_s << true << u"tolven"_s;
    QTest::newRow("host and port") << u"db.example:5433"_s << false << u"db.example"_s;
    QTest::newRow("libpq string") << u"host=db port=5432 sslmode=require"_s << false << QString();
    // HOST:PORT is the whole target or nothing: a line end after it is no port.
    QTest::newRow("host and port, then a line end") << u"db.example:5433\n"_s << true << u"db.example:5433\n"_s;
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

void TestConnect::conninfoPasswordsAreMasked_data()
{
    QTest::addColumn<QString>("conninfo");
    QTest::addColumn<QString>("masked");
    QTest::newRow("plain") << u"host=db password=geheim dbname=tolven"_s << u"host=db password=*** dbname=tolven"_s;
    QTest::newRow("quoted with blanks") << u"password='ganz geheim' host=db"_s << u"password=*** host=db"_s;
    QTest::newRow("quoted, the next key right after") << u"password='x'host=db"_s << u"password=*** host=db"_s;
    QTest::newRow("quoted with an escaped quote") << u"password='it\\'s mine' host=db"_s << u"password=*** host=db"_s;
    QTest::newRow("escaped blank") << u"password=ganz\\ geheim host=db"_s << u"password=*** host=db"_s;
    QTest::newRow("blanks around =") << u"host=db password =  geheim"_s << u"host=db password =  ***"_s;
    QTest::newRow("tab and line end apart") << u"password=geheim\thost=db\nport=5"_s << u"password=***\thost=db\nport=5"_s;
    QTest::newRow("upper case") << u"PASSWORD=geheim host=db"_s << u"PASSWORD=*** host=db"_s;
    QTest::newRow("twice") << u"password=a password=b"_s << u"password=*** password=***"_s;
    // libpq reads the word after "= " as the value.
    QTest::newRow("blank after =") << u"password= host=db"_s << u"password= ***"_s;
    QTest::newRow("other keys alone") << u"host=db port=5432 passfile=/home/k/.pgpass sslmode=require"_s
                                      << u"host=db port=5432 passfile=/home/k/.pgpass sslmode=require"_s;
    QTest::newRow("the word inside another value") << u"application_name='password=x' host=db"_s
                                                   << u"application_name='password=x' host=db"_s;
    QTest::newRow("blank typed into a password") << u"host=db password=geh eim port=5"_s << u"host=db password=*** ***"_s;
    QTest::newRow("quote not closed") << u"host=db password='geh eim"_s << u"host=db password=***"_s;
    QTest::newRow("escape at the end") << u"host=db password=geheim\\"_s << u"host=db password=***"_s;
    QTest::newRow("URI") << u"postgresql://konkur:geheim@db/tolven?sslmode=require"_s << u"***"_s;
}

void TestConnect::conninfoPasswordsAreMasked()
{
    QFETCH(QString, conninfo);
    QFETCH(QString, masked);
    QCOMPARE(store::MaskConninfoPasswords(conninfo), masked);
    store::DatabaseTarget target;
    target.kind = store::DatabaseTarget::Kind::PostgreSQL;
    target.conninfo = conninfo;
    QCOMPARE(target.describe(), u"PostgreSQL (" + masked + u')');
}

void TestConnect::missingFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"fehlt.db"_s);
    QString description;
    QCOMPARE(connectError(store::MakeConnectString(path, u"1972"_s), &description), ErrorNumber::ConnectFailed);
    QVERIFY2(description.contains(path), qPrintable(description));
    QVERIFY(!QFile::exists(path));
}

void TestConnect::fileThatIsNoDatabaseStaysUntouched()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"notizen.db"_s);
    const QByteArray content = "Dies ist keine Datenbank, sondern eine Notiz.\n";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const ErrorNumber number = connectError(store::MakeConnectString(path, u"1972"_s));
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
        session->execDirect(u"UPDATE tolven_meta SET value = ? WHERE name = 'schema_version'"_s,
                            {QString::number(store::schema::CurrentVersion + 1)}, u"Test"_s);
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
    QCOMPARE(connectError(store::MakeConnectString(u"127.0.0.1"_s, QString::number(port))),
             ErrorNumber::ConnectFailed);
}

QTEST_GUILESS_MAIN(TestConnect)
#include "tst_connect.moc"
