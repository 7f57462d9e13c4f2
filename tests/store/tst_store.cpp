#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <functional>

#include "access/AccessError.h"
#include "store/ClassRegistry.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using tolven::AccessError;
using tolven::ErrorNumber;
using tolven::ServerObject;


class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();

    void openByIdReadsTheStoredRecord();
    void firmsAreKeptApart();
    void missingObjectNamesClassAndId();
    void unknownMembersAreRefused_data();
    void unknownMembersAreRefused();
    void displayFormWorksForEveryTextProperty();
    void valuesWithSqlMetacharactersAreStoredAsData_data();
    void valuesWithSqlMetacharactersAreStoredAsData();
    void idsWithSqlMetacharactersFindNothing_data();
    void idsWithSqlMetacharactersFindNothing();
    void saveRefusesInvalidValues_data();
    void saveRefusesInvalidValues();
    void changesAndDeletesAreStored();
    void deletingAMissingObjectIsAnError();
    void keyOfAStoredObjectCannotChange();
    void closedObjectsRefuseWork();
    void sessionContextIsSetByCommand();
    void commandsAreParsedStrictly_data();
    void commandsAreParsedStrictly();
    void commandsNeedingContextRefuseWithout();
    void transactionGroupsWrites();
    void transactionEndsWithTheConnection();
    void failedStatementRollsBackTheTransaction();
    void otherSessionsSeeOnlyCommittedWrites();
    void callsAfterDisconnectFail();

private:
    std::unique_ptr<ServerObject> windows() { return m_factory.classObject(QStringLiteral("TV.Windows")); }
    QString xecute(const QString &command) { return windows()->callMethod(QStringLiteral("Xecute"), {command}); }
    void login(const QString &firm = QStringLiteral("1"))
    {
        xecute(u"S FIRMA=" + firm + u",FIL=0,PERSONAL=\"MUELLER\"");
        xecute(QStringLiteral("D ^%XTT"));
    }
    bool exists(const QString &className, const QString &id);
    void savePerson(const QString &code, const QString &name);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    store::StoreFactory m_factory;
};

void TestStore::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    QVERIFY(m_factory.connect(m_db->connectString()));
    QVERIFY(m_factory.isConnected());
}

void TestStore::cleanup()
{
    m_factory.disconnect();
    m_db.reset();
}

bool TestStore::exists(const QString &className, const QString &id)
{
    try {
        m_factory.openById(className, id)->sys_Close();
        return true;
    } catch (const AccessError &e) {
        if (e.number() != ErrorNumber::ObjectNotFound)
            throw;
        return false;
    }
}

void TestStore::savePerson(const QString &code, const QString &name)
{
    auto person = m_factory.createNew(QStringLiteral("TV.ParPersEdv"));
    person->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    person->setProperty(QStringLiteral("Personalcode"), code);
    person->setProperty(QStringLiteral("PNAME"), name);
    person->sys_save();
    QCOMPARE(person->sys_ID(), u"1||" + code);
}

void TestStore::openByIdReadsTheStoredRecord()
{
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    QCOMPARE(person->sys_ID(), QStringLiteral("1||MUELLER"));
    QCOMPARE(person->property(QStringLiteral("Passwort")), QStringLiteral("Konkur24"));
    QCOMPARE(person->property(QStringLiteral("AKTIV")), QStringLiteral("J"));
    QCOMPARE(person->property(QStringLiteral("pname")), QStringLiteral("J}rgen M}ller"));
    QCOMPARE(person->property(QStringLiteral("ABTNR")), QStringLiteral("10"));
    QCOMPARE(person->property(QStringLiteral("PNR")), QStringLiteral("1001"));
    QCOMPARE(person->property(QStringLiteral("Firma")), QStringLiteral("1"));

    auto department = m_factory.openById(QStringLiteral("TV.ParPersAbt"), QStringLiteral("1||20"));
    QCOMPARE(department->callMethod(QStringLiteral("ABTBEZlogicaltoodbc"), {department->property(QStringLiteral("abtbez"))}),
             QStringLiteral("Außendienst Süd"));
}

void TestStore::firmsAreKeptApart()
{
    auto first = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    auto second = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("2||MUELLER"));
    QVERIFY(first->property(QStringLiteral("Passwort")) != second->property(QStringLiteral("Passwort")));
    QCOMPARE(second->callMethod(QStringLiteral("PNAMELogicalToODBC"), {second->property(QStringLiteral("PNAME"))}),
             QStringLiteral("Sören Mühlbauer"));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("2||SCHMIDT")));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||KRAUSE")));
}

void TestStore::missingObjectNamesClassAndId()
{
    EXPECT_ACCESS_ERROR(m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||NIEMAND")),
                        ErrorNumber::ObjectNotFound, QStringLiteral("TV.ParPersEdv mit der Id 1||NIEMAND"));
    // The demo user OEZTUERK points at department 99, which is missing on purpose.
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||OEZTUERK"));
    EXPECT_ACCESS_ERROR(m_factory.openById(QStringLiteral("TV.ParPersAbt"), u"1||" + person->property(QStringLiteral("ABTNR"))),
                        ErrorNumber::ObjectNotFound, QStringLiteral("TV.ParPersAbt mit der Id 1||99"));
}

void TestStore::unknownMembersAreRefused_data()
{
    using Call = std::function<void(tolven::ServerFactory &)>;
    QTest::addColumn<Call>("call");
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("named");

    QTest::newRow("class object") << Call([](tolven::ServerFactory &f) { f.classObject(QStringLiteral("TV.Nirgends")); })
                                  << ErrorNumber::UnknownClass << QStringLiteral("TV.Nirgends");
    QTest::newRow("class, case differs") << Call([](tolven::ServerFactory &f) { f.classObject(QStringLiteral("tv.windows")); })
                                         << ErrorNumber::UnknownClass << QStringLiteral("tv.windows");
    QTest::newRow("new object of unknown class")
        << Call([](tolven::ServerFactory &f) { f.createNew(QStringLiteral("X; DROP TABLE tv_parpersedv")); })
        << ErrorNumber::UnknownClass << QStringLiteral("X; DROP TABLE tv_parpersedv");
    QTest::newRow("objects of a class without objects")
        << Call([](tolven::ServerFactory &f) { f.createNew(QStringLiteral("TV.Windows")); })
        << ErrorNumber::NoObjects << QStringLiteral("TV.Windows");
    QTest::newRow("query") << Call([](tolven::ServerFactory &f) { f.openQuery(QStringLiteral("TV.ParPersEdv"), QStringLiteral("Alle")); })
                           << ErrorNumber::UnknownQuery << QStringLiteral("\"Alle\"");
    QTest::newRow("query name with sql") << Call([](tolven::ServerFactory &f) {
        f.openQuery(QStringLiteral("TV.Windows"), QStringLiteral("KkrSuche' OR 1=1 --"));
    }) << ErrorNumber::UnknownQuery << QStringLiteral("KkrSuche' OR 1=1 --");
    QTest::newRow("property name with sql") << Call([](tolven::ServerFactory &f) {
        f.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"))->property(QStringLiteral("p_pname FROM tv_parpersedv --"));
    }) << ErrorNumber::UnknownProperty << QStringLiteral("p_pname FROM");
    QTest::newRow("method name with sql") << Call([](tolven::ServerFactory &f) {
        f.classObject(QStringLiteral("TV.ParPersEdv"))->callMethod(QStringLiteral("PNAME; DROP TABLE x LogicalToODBC"), {QString()});
    }) << ErrorNumber::UnknownMethod << QStringLiteral("DROP TABLE x");
    QTest::newRow("property read") << Call([](tolven::ServerFactory &f) {
        f.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"))->property(QStringLiteral("Gehalt"));
    }) << ErrorNumber::UnknownProperty << QStringLiteral("Gehalt");
    QTest::newRow("property write") << Call([](tolven::ServerFactory &f) {
        f.createNew(QStringLiteral("TV.ParPersAbt"))->setProperty(QStringLiteral("p_abtbez"), QStringLiteral("x"));
    }) << ErrorNumber::UnknownProperty << QStringLiteral("p_abtbez");
    QTest::newRow("method") << Call([](tolven::ServerFactory &f) {
        f.classObject(QStringLiteral("TV.Windows"))->callMethod(QStringLiteral("Execute"), {QStringLiteral("TSTART")});
    }) << ErrorNumber::UnknownMethod << QStringLiteral("Execute");
    QTest::newRow("display form of no property") << Call([](tolven::ServerFactory &f) {
        f.classObject(QStringLiteral("TV.ParPersAbt"))->callMethod(QStringLiteral("GehaltLogicalToODBC"), {QStringLiteral("1")});
    }) << ErrorNumber::UnknownMethod << QStringLiteral("GehaltLogicalToODBC");
    QTest::newRow("method argument count") << Call([](tolven::ServerFactory &f) {
        f.classObject(QStringLiteral("TV.Windows"))->callMethod(QStringLiteral("Xecute"), {});
    }) << ErrorNumber::WrongArguments << QStringLiteral("Xecute");
    QTest::newRow("property of the class object") << Call([](tolven::ServerFactory &f) {
        f.classObject(QStringLiteral("TV.ParPersEdv"))->property(QStringLiteral("PNAME"));
    }) << ErrorNumber::ObjectState << QStringLiteral("Klassenobjekt");
    QTest::newRow("malformed id") << Call([](tolven::ServerFactory &f) { f.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("MUELLER")); })
                                  << ErrorNumber::InvalidId << QStringLiteral("MUELLER");
    QTest::newRow("id without key") << Call([](tolven::ServerFactory &f) { f.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||")); })
                                    << ErrorNumber::InvalidId << QStringLiteral("1||");
    QTest::newRow("id with a firm that is no number") << Call([](tolven::ServerFactory &f) {
        f.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1 OR 1=1||MUELLER"));
    }) << ErrorNumber::InvalidId << QStringLiteral("1 OR 1=1||MUELLER");
}

void TestStore::unknownMembersAreRefused()
{
    QFETCH(std::function<void(tolven::ServerFactory &)>, call);
    QFETCH(ErrorNumber, number);
    QFETCH(QString, named);
    EXPECT_ACCESS_ERROR(call(m_factory), number, named);
    QVERIFY(m_factory.isConnected());
}

void TestStore::displayFormWorksForEveryTextProperty()
{
    for (const store::ClassDescription &cls : store::AllClasses()) {
        auto object = m_factory.classObject(cls.name);
        for (const store::PropertyDescription &property : cls.properties) {
            if (property.type != store::PropertyType::Text)
                continue;
            QCOMPARE(object->callMethod(property.name + u"LogicalToODBC", {QStringLiteral("M{rz, Gr|~e, \\l, ]bung")}),
                     QStringLiteral("März, Größe, Öl, Übung"));
        }
    }
}

void TestStore::valuesWithSqlMetacharactersAreStoredAsData_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("quote and comment") << QStringLiteral("X'; DROP TABLE tv_parpersedv; --") << QStringLiteral("O'Brien \"der Große\"");
    QTest::newRow("wildcards") << QStringLiteral("%_*") << QStringLiteral("100% _sicher_");
    QTest::newRow("backslashes") << QStringLiteral("A\\B") << QStringLiteral("C:\\temp\\ \\' \\\"");
    QTest::newRow("statement separator") << QStringLiteral("1;DELETE FROM tolven_meta") << QStringLiteral("); DELETE FROM tv_parpersabt; (");
    QTest::newRow("umlauts and m syntax") << QStringLiteral("Ä\"\"B") << QStringLiteral("$$ASCIANSI^%UML(\"x\") ÿ`");
    QTest::newRow("line breaks") << QStringLiteral("TAB\tED") << QStringLiteral("zwei\r\nZeilen");
}

void TestStore::valuesWithSqlMetacharactersAreStoredAsData()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    savePerson(code, name);
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), u"1||" + code);
    QCOMPARE(person->property(QStringLiteral("Personalcode")), code);
    QCOMPARE(person->property(QStringLiteral("PNAME")), name);
    // Nothing else was touched.
    QVERIFY(exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER")));
    QVERIFY(exists(QStringLiteral("TV.ParPersAbt"), QStringLiteral("1||10")));
}

void TestStore::idsWithSqlMetacharactersFindNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("or true") << QStringLiteral("1||' OR '1'='1");
    QTest::newRow("like wildcard") << QStringLiteral("1||%");
    QTest::newRow("underscore") << QStringLiteral("1||MUELLE_");
    QTest::newRow("case differs") << QStringLiteral("1||mueller");
}

void TestStore::idsWithSqlMetacharactersFindNothing()
{
    QFETCH(QString, id);
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), id));
}

void TestStore::saveRefusesInvalidValues_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("named");
    QTest::newRow("flag") << QStringLiteral("AKTIV") << QStringLiteral("ja") << ErrorNumber::InvalidValue
                          << QStringLiteral("\"ja\" für die Eigenschaft AKTIV");
    QTest::newRow("nul character") << QStringLiteral("PNAME") << QStringLiteral("A") + QChar(0) + u"B"
                                   << ErrorNumber::InvalidValue << QStringLiteral("Eigenschaft PNAME");
    QTest::newRow("firm no number") << QStringLiteral("Firma") << QStringLiteral("eins") << ErrorNumber::InvalidValue
                                    << QStringLiteral("\"eins\"");
    QTest::newRow("key with id separator") << QStringLiteral("Personalcode") << QStringLiteral("A||B")
                                           << ErrorNumber::InvalidValue << QStringLiteral("\"A||B\"");
    QTest::newRow("key taken") << QStringLiteral("Personalcode") << QStringLiteral("SCHMIDT") << ErrorNumber::InvalidValue
                               << QStringLiteral("1||SCHMIDT gibt es bereits");
}

void TestStore::saveRefusesInvalidValues()
{
    QFETCH(QString, property);
    QFETCH(QString, value);
    QFETCH(ErrorNumber, number);
    QFETCH(QString, named);

    auto person = m_factory.createNew(QStringLiteral("TV.ParPersEdv"));
    person->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    person->setProperty(QStringLiteral("Personalcode"), QStringLiteral("NEU"));
    person->setProperty(QStringLiteral("PNAME"), QStringLiteral("Neu"));
    person->setProperty(property, value);
    EXPECT_ACCESS_ERROR(person->sys_save(), number, named);
    QCOMPARE(person->sys_ID(), QString());
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||NEU")));
    // The refused save left the stored record alone.
    auto schmidt = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||SCHMIDT"));
    QCOMPARE(schmidt->property(QStringLiteral("PNAME")), QStringLiteral("Anna Schmidt"));
}

void TestStore::changesAndDeletesAreStored()
{
    {
        auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||SCHMIDT"));
        person->setProperty(QStringLiteral("AKTIV"), QStringLiteral("N"));
        person->setProperty(QStringLiteral("PNAME"), QStringLiteral("Anna Schmidt-K{mmerer"));
        person->sys_save();
        person->sys_Close();
    }
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||SCHMIDT"));
    QCOMPARE(person->property(QStringLiteral("AKTIV")), QStringLiteral("N"));
    QCOMPARE(person->property(QStringLiteral("PNAME")), QStringLiteral("Anna Schmidt-K{mmerer"));
    QCOMPARE(person->property(QStringLiteral("Passwort")), QStringLiteral("baustoff"));

    m_factory.classObject(QStringLiteral("TV.ParPersEdv"))->sys_deleteid(QStringLiteral("1||SCHMIDT"));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||SCHMIDT")));
    QVERIFY(exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER")));
    // A save of the opened, now deleted object does not bring it back silently.
    person->setProperty(QStringLiteral("PNAME"), QStringLiteral("Wieder da"));
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::ObjectNotFound, QStringLiteral("1||SCHMIDT"));
}

void TestStore::deletingAMissingObjectIsAnError()
{
    auto cls = m_factory.classObject(QStringLiteral("TV.ParPersAbt"));
    EXPECT_ACCESS_ERROR(cls->sys_deleteid(QStringLiteral("1||99")), ErrorNumber::ObjectNotFound, QStringLiteral("1||99"));
    EXPECT_ACCESS_ERROR(cls->sys_deleteid(QStringLiteral("1||' OR ''='")), ErrorNumber::ObjectNotFound, QStringLiteral("1||"));
    QVERIFY(exists(QStringLiteral("TV.ParPersAbt"), QStringLiteral("1||10")));
}

void TestStore::keyOfAStoredObjectCannotChange()
{
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    EXPECT_ACCESS_ERROR(person->setProperty(QStringLiteral("Personalcode"), QStringLiteral("SCHMIDT")),
                        ErrorNumber::ObjectState, QStringLiteral("1||MUELLER"));
    EXPECT_ACCESS_ERROR(person->setProperty(QStringLiteral("Firma"), QStringLiteral("2")), ErrorNumber::ObjectState,
                        QStringLiteral("Firma"));
    person->setProperty(QStringLiteral("Firma"), QStringLiteral("1")); // unchanged is fine
}

void TestStore::closedObjectsRefuseWork()
{
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    person->sys_Close();
    EXPECT_ACCESS_ERROR(person->property(QStringLiteral("PNAME")), ErrorNumber::ObjectState, QStringLiteral("geschlossen"));
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::ObjectState, QStringLiteral("geschlossen"));
    person->sys_Close(); // closing twice is harmless
}

void TestStore::sessionContextIsSetByCommand()
{
    // The session's firm is the default of a new object's firm.
    login(QStringLiteral("002"));
    auto department = m_factory.createNew(QStringLiteral("TV.ParPersAbt"));
    department->setProperty(QStringLiteral("ABTNR"), QStringLiteral("40"));
    department->sys_save();
    QCOMPARE(department->sys_ID(), QStringLiteral("2||40"));
    QCOMPARE(xecute(QStringLiteral("S FIRMA=1,FIL=1,PERSONAL=\"A\"\"B\"")), QString());
}

void TestStore::commandsAreParsedStrictly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<ErrorNumber>("number");
    QTest::newRow("empty") << QString() << ErrorNumber::UnknownCommand;
    QTest::newRow("other routine") << QStringLiteral("K ^B") << ErrorNumber::UnknownCommand;
    QTest::newRow("lower case") << QStringLiteral("d ^%XTT") << ErrorNumber::UnknownCommand;
    QTest::newRow("trailing blank") << QStringLiteral("D ^%XTT ") << ErrorNumber::UnknownCommand;
    QTest::newRow("second command") << QStringLiteral("TSTART  K ^B") << ErrorNumber::UnknownCommand;
    QTest::newRow("line break") << QStringLiteral("TCOMMIT\n") << ErrorNumber::UnknownCommand;
    QTest::newRow("firm no number") << QStringLiteral("S FIRMA=X,FIL=0,PERSONAL=\"A\"") << ErrorNumber::MalformedCommand;
    QTest::newRow("firm empty") << QStringLiteral("S FIRMA=,FIL=0,PERSONAL=\"A\"") << ErrorNumber::MalformedCommand;
    QTest::newRow("firm expression") << QStringLiteral("S FIRMA=1+1,FIL=0,PERSONAL=\"A\"") << ErrorNumber::MalformedCommand;
    QTest::newRow("branch missing") << QStringLiteral("S FIRMA=1,PERSONAL=\"A\"") << ErrorNumber::MalformedCommand;
    QTest::newRow("person unquoted") << QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=A") << ErrorNumber::MalformedCommand;
    QTest::newRow("person unclosed") << QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"A") << ErrorNumber::MalformedCommand;
    QTest::newRow("quote not doubled") << QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"A\"B\"") << ErrorNumber::MalformedCommand;
    QTest::newRow("injected command") << QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"A\" K ^B") << ErrorNumber::MalformedCommand;
    QTest::newRow("injected variable") << QStringLiteral("S FIRMA=1,FIL=0,PERSONAL=\"A\",X=1") << ErrorNumber::MalformedCommand;
    QTest::newRow("too many digits") << QStringLiteral("S FIRMA=1234567890,FIL=0,PERSONAL=\"A\"") << ErrorNumber::MalformedCommand;
}

void TestStore::commandsAreParsedStrictly()
{
    QFETCH(QString, command);
    QFETCH(ErrorNumber, number);
    EXPECT_ACCESS_ERROR(xecute(command), number, command);
    QVERIFY(m_factory.isConnected());
}

void TestStore::commandsNeedingContextRefuseWithout()
{
    EXPECT_ACCESS_ERROR(xecute(QStringLiteral("D ^%XTT")), ErrorNumber::NoSessionContext, QStringLiteral("D ^%XTT"));
    login();
}

void TestStore::transactionGroupsWrites()
{
    xecute(QStringLiteral("TSTART"));
    savePerson(QStringLiteral("EINS"), QStringLiteral("Eins"));
    xecute(QStringLiteral("TSTART")); // nested: only the outer TCOMMIT commits
    savePerson(QStringLiteral("ZWEI"), QStringLiteral("Zwei"));
    xecute(QStringLiteral("TCOMMIT"));
    xecute(QStringLiteral("TROLLBACK"));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||EINS")));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||ZWEI")));

    xecute(QStringLiteral("TSTART"));
    savePerson(QStringLiteral("DREI"), QStringLiteral("Drei"));
    m_factory.classObject(QStringLiteral("TV.ParPersEdv"))->sys_deleteid(QStringLiteral("1||WEISS"));
    xecute(QStringLiteral("TCOMMIT"));
    QVERIFY(exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||DREI")));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||WEISS")));

    EXPECT_ACCESS_ERROR(xecute(QStringLiteral("TCOMMIT")), ErrorNumber::TransactionState, QStringLiteral("TCOMMIT"));
    EXPECT_ACCESS_ERROR(xecute(QStringLiteral("TROLLBACK")), ErrorNumber::TransactionState, QStringLiteral("TROLLBACK"));
}

void TestStore::transactionEndsWithTheConnection()
{
    xecute(QStringLiteral("TSTART"));
    savePerson(QStringLiteral("HALB"), QStringLiteral("Halb"));
    m_factory.classObject(QStringLiteral("TV.ParPersEdv"))->sys_deleteid(QStringLiteral("1||WEISS"));
    m_factory.disconnect();
    QVERIFY(m_factory.connect(m_db->connectString()));
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||HALB")));
    QVERIFY(exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||WEISS")));
}

void TestStore::failedStatementRollsBackTheTransaction()
{
    xecute(QStringLiteral("TSTART"));
    savePerson(QStringLiteral("VORHER"), QStringLiteral("Vorher"));
    auto duplicate = m_factory.createNew(QStringLiteral("TV.ParPersEdv"));
    duplicate->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    duplicate->setProperty(QStringLiteral("Personalcode"), QStringLiteral("MUELLER"));
    EXPECT_ACCESS_ERROR(duplicate->sys_save(), ErrorNumber::InvalidValue, QStringLiteral("gibt es bereits"));
    // Nothing of the transaction stays, and the session goes on working.
    QVERIFY(!exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||VORHER")));
    EXPECT_ACCESS_ERROR(xecute(QStringLiteral("TCOMMIT")), ErrorNumber::TransactionState, QStringLiteral("TCOMMIT"));
    savePerson(QStringLiteral("NACHHER"), QStringLiteral("Nachher"));
    QVERIFY(exists(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||NACHHER")));
}

void TestStore::otherSessionsSeeOnlyCommittedWrites()
{
    store::StoreFactory other;
    QVERIFY(other.connect(m_db->connectString()));
    xecute(QStringLiteral("TSTART"));
    savePerson(QStringLiteral("NEU"), QStringLiteral("Neu"));
    auto readFromOther = [&] {
        try {
            other.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||NEU"));
            return true;
        } catch (const AccessError &e) {
            if (e.number() != ErrorNumber::ObjectNotFound)
                throw;
            return false;
        }
    };
    QVERIFY(!readFromOther());
    xecute(QStringLiteral("TCOMMIT"));
    QVERIFY(readFromOther());
}

void TestStore::callsAfterDisconnectFail()
{
    auto person = m_factory.openById(QStringLiteral("TV.ParPersEdv"), QStringLiteral("1||MUELLER"));
    m_factory.disconnect();
    QVERIFY(!m_factory.isConnected());
    EXPECT_ACCESS_ERROR(m_factory.classObject(QStringLiteral("TV.Windows")), ErrorNumber::NotConnected, QStringLiteral("Verbindung"));
    person->setProperty(QStringLiteral("PNAME"), QStringLiteral("Später"));
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::NotConnected, QStringLiteral("Verbindung"));
    m_factory.disconnect(); // twice is harmless
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
