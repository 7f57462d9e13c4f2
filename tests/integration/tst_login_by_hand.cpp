#include <QProcess>
#include <QTest>

#include "access/AccessError.h"
#include "access/MLiteral.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using tolven::ErrorNumber;

// The login as the client runs it, by hand through the object interface:
// connect with the connection string, set firm, branch and person, read the
// personnel record and its department and person base.
class TestLoginByHand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init() { TOLVEN_FRESH_DATABASE(m_db); }
    void cleanup() { m_db.reset(); }

    void loginReadsNameWithUmlauts();
    void personCodeWithQuoteCannotChangeTheCommand();

private:
    std::unique_ptr<testsupport::TestDatabase> m_db;
};

void TestLoginByHand::loginReadsNameWithUmlauts()
{
    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    QVERIFY(factory.isConnected());

    auto windows = factory.classObject(QStringLiteral("TV.Windows"));
    QCOMPARE(windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\"")}), QString());
    QCOMPARE(windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("D ^%XTT")}), QString());
    windows->sys_Close();

    auto person = factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    QCOMPARE(person->property(QStringLiteral("Passwort")), QStringLiteral("Konkur24"));
    QCOMPARE(person->property(QStringLiteral("AKTIV")), QStringLiteral("J"));
    const QString name = person->property(QStringLiteral("PNAME"));
    QCOMPARE(name, QStringLiteral("J}rgen M}ller"));
    QCOMPARE(person->callMethod(QStringLiteral("PNAMELogicalToODBC"), {name}), QStringLiteral("Jürgen Müller"));

    auto department = factory.openById(QStringLiteral("TV.ParPersAbt"), u"1||" + person->property(QStringLiteral("ABTNR")));
    QCOMPARE(department->callMethod(QStringLiteral("ABTBEZlogicaltoodbc"), {department->property(QStringLiteral("abtbez"))}),
             QStringLiteral("Verkauf Innendienst"));
    department->sys_Close();

    auto base = factory.openById(QStringLiteral("TV.PersBasis"), u"1||" + person->property(QStringLiteral("PNR")));
    QVERIFY(!base->property(QStringLiteral("fax")).isEmpty());
    QCOMPARE(base->callMethod(QStringLiteral("EMAILLogicalToodbc"), {base->property(QStringLiteral("EMAIL"))}),
             QStringLiteral("juergen.mueller@baustoffe-tolven.example"));
    base->sys_Close();
    person->sys_Close();
    factory.disconnect();
    QVERIFY(!factory.isConnected());
}

void TestLoginByHand::personCodeWithQuoteCannotChangeTheCommand()
{
    store::StoreFactory factory;
    factory.connect(m_db->connectString());
    auto windows = factory.classObject(QStringLiteral("TV.Windows"));
    const QString code = QStringLiteral("X\",FIL=9,PERSONAL=\"Y");
    // Quoted as an M literal, the code stays one value.
    windows->callMethod(QStringLiteral("Xecute"), {u"S FIRMA=1,FIL=0,PERSONAL=" + tolven::MQuote(code)});
    windows->callMethod(QStringLiteral("Xecute"), {QStringLiteral("D ^%XTT")});
    // Pasted in raw, it breaks the command, which is refused whole.
    EXPECT_ACCESS_ERROR(windows->callMethod(QStringLiteral("Xecute"), {u"S FIRMA=1,FIL=0,PERSONAL=\"" + code + u"\""}),
                        ErrorNumber::MalformedCommand, QStringLiteral("PERSONAL"));
}

QTEST_GUILESS_MAIN(TestLoginByHand)
#include "tst_login_by_hand.moc"
