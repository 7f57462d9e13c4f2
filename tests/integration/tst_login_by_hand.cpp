#include <QProcess>
#include <QTest>

#include "objectapi/AccessError.h"
#include "objectapi/MLiteral.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

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

    auto windows = factory.classObject(u"TV.Windows"_s);
    QCOMPARE(windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"MUELLER\""_s}), QString());
    QCOMPARE(windows->callMethod(u"Xecute"_s, {u"D ^%XTT"_s}), QString());
    windows->sys_Close();

    auto person = factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    QCOMPARE(person->property(u"Passwort"_s), u"Konkur24"_s);
    QCOMPARE(person->property(u"AKTIV"_s), u"J"_s);
    const QString name = person->property(u"PNAME"_s);
    QCOMPARE(name, u"J}rgen M}ller"_s);
    QCOMPARE(person->callMethod(u"PNAMELogicalToODBC"_s, {name}), u"Jürgen Müller"_s);

    auto department = factory.openById(u"TV.ParPersAbt"_s, u"1||" + person->property(u"ABTNR"_s));
    QCOMPARE(department->callMethod(u"ABTBEZlogicaltoodbc"_s, {department->property(u"abtbez"_s)}),
             u"Verkauf Innendienst"_s);
    department->sys_Close();

    auto base = factory.openById(u"TV.PersBasis"_s, u"1||" + person->property(u"PNR"_s));
    QVERIFY(!base->property(u"fax"_s).isEmpty());
    QCOMPARE(base->callMethod(u"EMAILLogicalToodbc"_s, {base->property(u"EMAIL"_s)}),
             u"juergen.mueller@baustoffe-tolven.example"_s);
    base->sys_Close();
    person->sys_Close();
    factory.disconnect();
    QVERIFY(!factory.isConnected());
}

void TestLoginByHand::personCodeWithQuoteCannotChangeTheCommand()
{
    store::StoreFactory factory;
    factory.connect(m_db->connectString());
    auto windows = factory.classObject(u"TV.Windows"_s);
    const QString code = u"X\",FIL=9,PERSONAL=\"Y"_s;
    // Quoted as an M literal, the code stays one value.
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=" + tolven::MQuote(code)});
    windows->callMethod(u"Xecute"_s, {u"D ^%XTT"_s});
    // Pasted in raw, it breaks the command, which is refused whole.
    EXPECT_ACCESS_ERROR(windows->callMethod(u"Xecute"_s, {u"S FIRMA=1,FIL=0,PERSONAL=\"" + code + u"\""}),
                        ErrorNumber::MalformedCommand, u"PERSONAL"_s);
}

QTEST_GUILESS_MAIN(TestLoginByHand)
#include "tst_login_by_hand.moc"
