#include <QFile>
#include <QSqlQuery>
#include <QTest>

#include <functional>

#include "objectapi/AccessError.h"
#include "store/ClassRegistry.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

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
    void bulkInsertLeavesStatistics();

private:
    std::unique_ptr<ServerObject> windows() { return m_factory.classObject(u"TV.Windows"_s); }
    QString xecute(const QString &command) { return windows()->callMethod(u"Xecute"_s, {command}); }
    void login(const QString &firm = u"1"_s)
    {
        xecute(u"S FIRMA=" + firm + u",FIL=0,PERSONAL=\"MUELLER\"");
        xecute(u"D ^%XTT"_s);
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
    auto person = m_factory.createNew(u"TV.ParPersEdv"_s);
    person->setProperty(u"Firma"_s, u"1"_s);
    person->setProperty(u"Personalcode"_s, code);
    person->setProperty(u"PNAME"_s, name);
    person->sys_save();
    QCOMPARE(person->sys_ID(), u"1||" + code);
}

void TestStore::openByIdReadsTheStoredRecord()
{
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    QCOMPARE(person->sys_ID(), u"1||MUELLER"_s);
    QCOMPARE(person->property(u"Passwort"_s), u"Konkur24"_s);
    QCOMPARE(person->property(u"AKTIV"_s), u"J"_s);
    QCOMPARE(person->property(u"pname"_s), u"J}rgen M}ller"_s);
    QCOMPARE(person->property(u"ABTNR"_s), u"10"_s);
    QCOMPARE(person->property(u"PNR"_s), u"1001"_s);
    QCOMPARE(person->property(u"Firma"_s), u"1"_s);

    auto department = m_factory.openById(u"TV.ParPersAbt"_s, u"1||20"_s);
    QCOMPARE(department->callMethod(u"ABTBEZlogicaltoodbc"_s, {department->property(u"abtbez"_s)}),
             u"Außendienst Süd"_s);
}

void TestStore::firmsAreKeptApart()
{
    auto first = m_factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    auto second = m_factory.openById(u"TV.ParPersEdv"_s, u"2||MUELLER"_s);
    QVERIFY(first->property(u"Passwort"_s) != second->property(u"Passwort"_s));
    QCOMPARE(second->callMethod(u"PNAMELogicalToODBC"_s, {second->property(u"PNAME"_s)}),
             u"Sören Mühlbauer"_s);
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"2||SCHMIDT"_s));
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||KRAUSE"_s));
}

void TestStore::missingObjectNamesClassAndId()
{
    EXPECT_ACCESS_ERROR(m_factory.openById(u"TV.ParPersEdv"_s, u"1||NIEMAND"_s),
                        ErrorNumber::ObjectNotFound, u"TV.ParPersEdv mit der Id 1||NIEMAND"_s);
    // The demo user OEZTUERK points at department 99, which is missing on purpose.
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||OEZTUERK"_s);
    EXPECT_ACCESS_ERROR(m_factory.openById(u"TV.ParPersAbt"_s, u"1||" + person->property(u"ABTNR"_s)),
                        ErrorNumber::ObjectNotFound, u"TV.ParPersAbt mit der Id 1||99"_s);
}

void TestStore::unknownMembersAreRefused_data()
{
    using Call = std::function<void(tolven::ServerFactory &)>;
    QTest::addColumn<Call>("call");
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("named");

    QTest::newRow("class object") << Call([](tolven::ServerFactory &f) { f.classObject(u"TV.Nirgends"_s); })
                                  << ErrorNumber::UnknownClass << u"TV.Nirgends"_s;
    QTest::newRow("class, case differs") << Call([](tolven::ServerFactory &f) { f.classObject(u"tv.windows"_s); })
                                         << ErrorNumber::UnknownClass << u"tv.windows"_s;
    QTest::newRow("new object of unknown class")
        << Call([](tolven::ServerFactory &f) { f.createNew(u"X; DROP TABLE tv_parpersedv"_s); })
        << ErrorNumber::UnknownClass << u"X; DROP TABLE tv_parpersedv"_s;
    QTest::newRow("objects of a class without objects")
        << Call([](tolven::ServerFactory &f) { f.createNew(u"TV.Windows"_s); })
        << ErrorNumber::NoObjects << u"TV.Windows"_s;
    QTest::newRow("query") << Call([](tolven::ServerFactory &f) { f.openQuery(u"TV.ParPersEdv"_s, u"Alle"_s); })
                           << ErrorNumber::UnknownQuery << u"\"Alle\""_s;
    QTest::newRow("query name with sql") << Call([](tolven::ServerFactory &f) {
        f.openQuery(u"TV.Windows"_s, u"KkrSuche' OR 1=1 --"_s);
    }) << ErrorNumber::UnknownQuery << u"KkrSuche' OR 1=1 --"_s;
    QTest::newRow("property name with sql") << Call([](tolven::ServerFactory &f) {
        f.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s)->property(u"p_pname FROM tv_parpersedv --"_s);
    }) << ErrorNumber::UnknownProperty << u"p_pname FROM"_s;
    QTest::newRow("method name with sql") << Call([](tolven::ServerFactory &f) {
        f.classObject(u"TV.ParPersEdv"_s)->callMethod(u"PNAME; DROP TABLE x LogicalToODBC"_s, {QString()});
    }) << ErrorNumber::UnknownMethod << u"DROP TABLE x"_s;
    QTest::newRow("property read") << Call([](tolven::ServerFactory &f) {
        f.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s)->property(u"Gehalt"_s);
    }) << ErrorNumber::UnknownProperty << u"Gehalt"_s;
    QTest::newRow("property write") << Call([](tolven::ServerFactory &f) {
        f.createNew(u"TV.ParPersAbt"_s)->setProperty(u"p_abtbez"_s, u"x"_s);
    }) << ErrorNumber::UnknownProperty << u"p_abtbez"_s;
    QTest::newRow("method") << Call([](tolven::ServerFactory &f) {
        f.classObject(u"TV.Windows"_s)->callMethod(u"Execute"_s, {u"TSTART"_s});
    }) << ErrorNumber::UnknownMethod << u"Execute"_s;
    QTest::newRow("display form of no property") << Call([](tolven::ServerFactory &f) {
        f.classObject(u"TV.ParPersAbt"_s)->callMethod(u"GehaltLogicalToODBC"_s, {u"1"_s});
    }) << ErrorNumber::UnknownMethod << u"GehaltLogicalToODBC"_s;
    QTest::newRow("method argument count") << Call([](tolven::ServerFactory &f) {
        f.classObject(u"TV.Windows"_s)->callMethod(u"Xecute"_s, {});
    }) << ErrorNumber::WrongArguments << u"Xecute"_s;
    QTest::newRow("property of the class object") << Call([](tolven::ServerFactory &f) {
        f.classObject(u"TV.ParPersEdv"_s)->property(u"PNAME"_s);
    }) << ErrorNumber::ObjectState << u"Klassenobjekt"_s;
    QTest::newRow("malformed id") << Call([](tolven::ServerFactory &f) { f.openById(u"TV.ParPersEdv"_s, u"MUELLER"_s); })
                                  << ErrorNumber::InvalidId << u"MUELLER"_s;
    QTest::newRow("id without key") << Call([](tolven::ServerFactory &f) { f.openById(u"TV.ParPersEdv"_s, u"1||"_s); })
                                    << ErrorNumber::InvalidId << u"1||"_s;
    QTest::newRow("id with a firm that is no number") << Call([](tolven::ServerFactory &f) {
        f.openById(u"TV.ParPersEdv"_s, u"1 OR 1=1||MUELLER"_s);
    }) << ErrorNumber::InvalidId << u"1 OR 1=1||MUELLER"_s;
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
            QCOMPARE(object->callMethod(property.name + u"LogicalToODBC", {u"M{rz, Gr|~e, \\l, ]bung"_s}),
                     u"März, Größe, Öl, Übung"_s);
        }
    }
}

void TestStore::valuesWithSqlMetacharactersAreStoredAsData_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("quote and comment") << u"X'; DROP TABLE tv_parpersedv; --"_s << u"O'Brien \"der Große\""_s;
    QTest::newRow("wildcards") << u"%_*"_s << u"100% _sicher_"_s;
    QTest::newRow("backslashes") << u"A\\B"_s << u"C:\\temp\\ \\' \\\""_s;
    QTest::newRow("statement separator") << u"1;DELETE FROM tolven_meta"_s << u"); DELETE FROM tv_parpersabt; ("_s;
    QTest::newRow("umlauts and m syntax") << u"Ä\"\"B"_s << u"$$ASCIANSI^%UML(\"x\") ÿ`"_s;
    QTest::newRow("line breaks") << u"TAB\tED"_s << u"zwei\r\nZeilen"_s;
}

void TestStore::valuesWithSqlMetacharactersAreStoredAsData()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    savePerson(code, name);
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||" + code);
    QCOMPARE(person->property(u"Personalcode"_s), code);
    QCOMPARE(person->property(u"PNAME"_s), name);
    // Nothing else was touched.
    QVERIFY(exists(u"TV.ParPersEdv"_s, u"1||MUELLER"_s));
    QVERIFY(exists(u"TV.ParPersAbt"_s, u"1||10"_s));
}

void TestStore::idsWithSqlMetacharactersFindNothing_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("or true") << u"1||' OR '1'='1"_s;
    QTest::newRow("like wildcard") << u"1||%"_s;
    QTest::newRow("underscore") << u"1||MUELLE_"_s;
    QTest::newRow("case differs") << u"1||mueller"_s;
}

void TestStore::idsWithSqlMetacharactersFindNothing()
{
    QFETCH(QString, id);
    QVERIFY(!exists(u"TV.ParPersEdv"_s, id));
}

void TestStore::saveRefusesInvalidValues_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("value");
    QTest::addColumn<ErrorNumber>("number");
    QTest::addColumn<QString>("named");
    QTest::newRow("flag") << u"AKTIV"_s << u"ja"_s << ErrorNumber::InvalidValue
                          << u"\"ja\" für die Eigenschaft AKTIV"_s;
    QTest::newRow("nul character") << u"PNAME"_s << u"A"_s + QChar(0) + u"B"
                                   << ErrorNumber::InvalidValue << u"Eigenschaft PNAME"_s;
    QTest::newRow("firm no number") << u"Firma"_s << u"eins"_s << ErrorNumber::InvalidValue
                                    << u"\"eins\""_s;
    QTest::newRow("key with id separator") << u"Personalcode"_s << u"A||B"_s
                                           << ErrorNumber::InvalidValue << u"\"A||B\""_s;
    QTest::newRow("key taken") << u"Personalcode"_s << u"SCHMIDT"_s << ErrorNumber::InvalidValue
                               << u"1||SCHMIDT gibt es bereits"_s;
}

void TestStore::saveRefusesInvalidValues()
{
    QFETCH(QString, property);
    QFETCH(QString, value);
    QFETCH(ErrorNumber, number);
    QFETCH(QString, named);

    auto person = m_factory.createNew(u"TV.ParPersEdv"_s);
    person->setProperty(u"Firma"_s, u"1"_s);
    person->setProperty(u"Personalcode"_s, u"NEU"_s);
    person->setProperty(u"PNAME"_s, u"Neu"_s);
    person->setProperty(property, value);
    EXPECT_ACCESS_ERROR(person->sys_save(), number, named);
    QCOMPARE(person->sys_ID(), QString());
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||NEU"_s));
    // The refused save left the stored record alone.
    auto schmidt = m_factory.openById(u"TV.ParPersEdv"_s, u"1||SCHMIDT"_s);
    QCOMPARE(schmidt->property(u"PNAME"_s), u"Anna Schmidt"_s);
}

void TestStore::changesAndDeletesAreStored()
{
    {
        auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||SCHMIDT"_s);
        person->setProperty(u"AKTIV"_s, u"N"_s);
        person->setProperty(u"PNAME"_s, u"Anna Schmidt-K{mmerer"_s);
        person->sys_save();
        person->sys_Close();
    }
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||SCHMIDT"_s);
    QCOMPARE(person->property(u"AKTIV"_s), u"N"_s);
    QCOMPARE(person->property(u"PNAME"_s), u"Anna Schmidt-K{mmerer"_s);
    QCOMPARE(person->property(u"Passwort"_s), u"baustoff"_s);

    m_factory.classObject(u"TV.ParPersEdv"_s)->sys_deleteid(u"1||SCHMIDT"_s);
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||SCHMIDT"_s));
    QVERIFY(exists(u"TV.ParPersEdv"_s, u"1||MUELLER"_s));
    // A save of the opened, now deleted object does not bring it back silently.
    person->setProperty(u"PNAME"_s, u"Wieder da"_s);
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::ObjectNotFound, u"1||SCHMIDT"_s);
}

void TestStore::deletingAMissingObjectIsAnError()
{
    auto cls = m_factory.classObject(u"TV.ParPersAbt"_s);
    EXPECT_ACCESS_ERROR(cls->sys_deleteid(u"1||99"_s), ErrorNumber::ObjectNotFound, u"1||99"_s);
    EXPECT_ACCESS_ERROR(cls->sys_deleteid(u"1||' OR ''='"_s), ErrorNumber::ObjectNotFound, u"1||"_s);
    QVERIFY(exists(u"TV.ParPersAbt"_s, u"1||10"_s));
}

void TestStore::keyOfAStoredObjectCannotChange()
{
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    EXPECT_ACCESS_ERROR(person->setProperty(u"Personalcode"_s, u"SCHMIDT"_s),
                        ErrorNumber::ObjectState, u"1||MUELLER"_s);
    EXPECT_ACCESS_ERROR(person->setProperty(u"Firma"_s, u"2"_s), ErrorNumber::ObjectState,
                        u"Firma"_s);
    person->setProperty(u"Firma"_s, u"1"_s); // unchanged is fine
}

void TestStore::closedObjectsRefuseWork()
{
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    person->sys_Close();
    EXPECT_ACCESS_ERROR(person->property(u"PNAME"_s), ErrorNumber::ObjectState, u"geschlossen"_s);
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::ObjectState, u"geschlossen"_s);
    person->sys_Close(); // closing twice is harmless
}

void TestStore::sessionContextIsSetByCommand()
{
    // The session's firm is the default of a new object's firm.
    login(u"002"_s);
    auto department = m_factory.createNew(u"TV.ParPersAbt"_s);
    department->setProperty(u"ABTNR"_s, u"40"_s);
    department->sys_save();
    QCOMPARE(department->sys_ID(), u"2||40"_s);
    QCOMPARE(xecute(u"S FIRMA=1,FIL=1,PERSONAL=\"A\"\"B\""_s), QString());
}

void TestStore::commandsAreParsedStrictly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<ErrorNumber>("number");
    QTest::newRow("empty") << QString() << ErrorNumber::UnknownCommand;
    QTest::newRow("other routine") << u"K ^B"_s << ErrorNumber::UnknownCommand;
    QTest::newRow("lower case") << u"d ^%XTT"_s << ErrorNumber::UnknownCommand;
    QTest::newRow("trailing blank") << u"D ^%XTT "_s << ErrorNumber::UnknownCommand;
    QTest::newRow("second command") << u"TSTART  K ^B"_s << ErrorNumber::UnknownCommand;
    QTest::newRow("line break") << u"TCOMMIT\n"_s << ErrorNumber::UnknownCommand;
    QTest::newRow("firm no number") << u"S FIRMA=X,FIL=0,PERSONAL=\"A\""_s << ErrorNumber::MalformedCommand;
    QTest::newRow("firm empty") << u"S FIRMA=,FIL=0,PERSONAL=\"A\""_s << ErrorNumber::MalformedCommand;
    QTest::newRow("firm expression") << u"S FIRMA=1+1,FIL=0,PERSONAL=\"A\""_s << ErrorNumber::MalformedCommand;
    QTest::newRow("branch missing") << u"S FIRMA=1,PERSONAL=\"A\""_s << ErrorNumber::MalformedCommand;
    QTest::newRow("person unquoted") << u"S FIRMA=1,FIL=0,PERSONAL=A"_s << ErrorNumber::MalformedCommand;
    QTest::newRow("person unclosed") << u"S FIRMA=1,FIL=0,PERSONAL=\"A"_s << ErrorNumber::MalformedCommand;
    QTest::newRow("quote not doubled") << u"S FIRMA=1,FIL=0,PERSONAL=\"A\"B\""_s << ErrorNumber::MalformedCommand;
    QTest::newRow("injected command") << u"S FIRMA=1,FIL=0,PERSONAL=\"A\" K ^B"_s << ErrorNumber::MalformedCommand;
    QTest::newRow("injected variable") << u"S FIRMA=1,FIL=0,PERSONAL=\"A\",X=1"_s << ErrorNumber::MalformedCommand;
    QTest::newRow("too many digits") << u"S FIRMA=1234567890,FIL=0,PERSONAL=\"A\""_s << ErrorNumber::MalformedCommand;
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
    EXPECT_ACCESS_ERROR(xecute(u"D ^%XTT"_s), ErrorNumber::NoSessionContext, u"D ^%XTT"_s);
    login();
}

void TestStore::transactionGroupsWrites()
{
    xecute(u"TSTART"_s);
    savePerson(u"EINS"_s, u"Eins"_s);
    xecute(u"TSTART"_s); // nested: only the outer TCOMMIT commits
    savePerson(u"ZWEI"_s, u"Zwei"_s);
    xecute(u"TCOMMIT"_s);
    xecute(u"TROLLBACK"_s);
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||EINS"_s));
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||ZWEI"_s));

    xecute(u"TSTART"_s);
    savePerson(u"DREI"_s, u"Drei"_s);
    m_factory.classObject(u"TV.ParPersEdv"_s)->sys_deleteid(u"1||WEISS"_s);
    xecute(u"TCOMMIT"_s);
    QVERIFY(exists(u"TV.ParPersEdv"_s, u"1||DREI"_s));
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||WEISS"_s));

    EXPECT_ACCESS_ERROR(xecute(u"TCOMMIT"_s), ErrorNumber::TransactionState, u"TCOMMIT"_s);
    EXPECT_ACCESS_ERROR(xecute(u"TROLLBACK"_s), ErrorNumber::TransactionState, u"TROLLBACK"_s);
}

void TestStore::transactionEndsWithTheConnection()
{
    xecute(u"TSTART"_s);
    savePerson(u"HALB"_s, u"Halb"_s);
    m_factory.classObject(u"TV.ParPersEdv"_s)->sys_deleteid(u"1||WEISS"_s);
    m_factory.disconnect();
    QVERIFY(m_factory.connect(m_db->connectString()));
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||HALB"_s));
    QVERIFY(exists(u"TV.ParPersEdv"_s, u"1||WEISS"_s));
}

void TestStore::failedStatementRollsBackTheTransaction()
{
    xecute(u"TSTART"_s);
    savePerson(u"VORHER"_s, u"Vorher"_s);
    auto duplicate = m_factory.createNew(u"TV.ParPersEdv"_s);
    duplicate->setProperty(u"Firma"_s, u"1"_s);
    duplicate->setProperty(u"Personalcode"_s, u"MUELLER"_s);
    EXPECT_ACCESS_ERROR(duplicate->sys_save(), ErrorNumber::InvalidValue, u"gibt es bereits"_s);
    // Nothing of the transaction stays, and the session goes on working.
    QVERIFY(!exists(u"TV.ParPersEdv"_s, u"1||VORHER"_s));
    EXPECT_ACCESS_ERROR(xecute(u"TCOMMIT"_s), ErrorNumber::TransactionState, u"TCOMMIT"_s);
    savePerson(u"NACHHER"_s, u"Nachher"_s);
    QVERIFY(exists(u"TV.ParPersEdv"_s, u"1||NACHHER"_s));
}

void TestStore::otherSessionsSeeOnlyCommittedWrites()
{
    store::StoreFactory other;
    QVERIFY(other.connect(m_db->connectString()));
    xecute(u"TSTART"_s);
    savePerson(u"NEU"_s, u"Neu"_s);
    auto readFromOther = [&] {
        try {
            other.openById(u"TV.ParPersEdv"_s, u"1||NEU"_s);
            return true;
        } catch (const AccessError &e) {
            if (e.number() != ErrorNumber::ObjectNotFound)
                throw;
            return false;
        }
    };
    QVERIFY(!readFromOther());
    xecute(u"TCOMMIT"_s);
    QVERIFY(readFromOther());
}

void TestStore::callsAfterDisconnectFail()
{
    auto person = m_factory.openById(u"TV.ParPersEdv"_s, u"1||MUELLER"_s);
    m_factory.disconnect();
    QVERIFY(!m_factory.isConnected());
    EXPECT_ACCESS_ERROR(m_factory.classObject(u"TV.Windows"_s), ErrorNumber::NotConnected, u"Verbindung"_s);
    person->setProperty(u"PNAME"_s, u"Später"_s);
    EXPECT_ACCESS_ERROR(person->sys_save(), ErrorNumber::NotConnected, u"Verbindung"_s);
    m_factory.disconnect(); // twice is harmless
}

// The demo fill is one transaction of many inserts: PostgreSQL's planner
// must know the tables' sizes right after it, or the position query's text
// filter runs as a nested loop over every position.
void TestStore::bulkInsertLeavesStatistics()
{
    if (m_db->target().isSQLite())
        QSKIP("SQLite plans without gathered statistics");
    auto session = store::Session::openUnchecked(m_db->target(), false);
    QSqlQuery query(session->database());
    QVERIFY(query.exec(u"SELECT reltuples FROM pg_class WHERE relname = 'konkur_konkur'"_s));
    QVERIFY(query.next());
    QVERIFY2(query.value(0).toDouble() > 0, qPrintable(query.value(0).toString()));
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
