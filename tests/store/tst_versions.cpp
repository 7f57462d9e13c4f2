#include <QTest>

#include "objectapi/AccessError.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

// Two users on one database: every write raises the object's row version, a
// write that expects the version it read is refused once another session has
// written, and every write of the competitor module leaves its history in
// the same transaction.
class TestVersions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void versionsRiseWithEveryWrite();
    void staleWritesAreRefused_data();
    void staleWritesAreRefused();
    void historyRecordsEveryWrite();
    void rolledBackWritesLeaveNoHistory();
    void listReplacementChecksTheState();
    void historyIsReadOnly();
    void writesOfATransactionGoTogether_data();
    void writesOfATransactionGoTogether();
    void writesOfATransactionLeaveWhatSingleWritesLeave_data();
    void writesOfATransactionLeaveWhatSingleWritesLeave();
    void aFailingHeldBackWriteLeavesNothing();

private:
    QString savePosition(const QString &price);
    std::unique_ptr<tolven::ServerObject> openForWrite(tolven::ServerFactory &factory, const QString &id,
                                                       const QString &version);
    QList<QStringList> history(const QString &className, const QString &id);
    void setPerson(tolven::ServerFactory &factory, const QString &person);

    testsupport::FirmFixture m_fixture;
    store::StoreFactory m_other;  // the second user
};

namespace {

const QString Position = u"Konkur.Konkur"_s;

QString xecute(tolven::ServerFactory &factory, const QString &command)
{
    auto windows = factory.classObject(u"TV.Windows"_s);
    return windows->callMethod(u"Xecute"_s, {command});
}

QString storedPrice(tolven::ServerFactory &factory, const QString &id)
{
    auto position = factory.openById(Position, id);
    return position->property(u"PreisExcl"_s);
}

bool exists(tolven::ServerFactory &factory, const QString &id)
{
    try {
        factory.openById(Position, id);
        return true;
    } catch (const AccessError &error) {
        if (error.number() != ErrorNumber::ObjectNotFound)
            throw;
        return false;
    }
}

} // namespace

void TestVersions::init()
{
    if (!m_fixture.begin())
        return;
    m_other.connect(m_fixture.database().connectString());
    setPerson(m_fixture.factory(), u"ANNA"_s);
    setPerson(m_other, u"BERND"_s);
}

void TestVersions::cleanup()
{
    m_other.disconnect();
    m_fixture.end();
}

void TestVersions::setPerson(tolven::ServerFactory &factory, const QString &person)
{
    xecute(factory, u"S FIRMA=" + m_fixture.firm() + u",FIL=0,PERSONAL=\"" + person + u'"');
}

QString TestVersions::savePosition(const QString &price)
{
    return m_fixture.save(Position, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s},
                                     {u"PreisExcl"_s, price}, {u"AendDatum"_s, u"2026-12-01"_s}});
}

std::unique_ptr<tolven::ServerObject> TestVersions::openForWrite(tolven::ServerFactory &factory, const QString &id,
                                                                 const QString &version)
{
    auto position = factory.openForWrite(Position, id);
    position->sys_ExpectVersion(version);
    return position;
}

QList<QStringList> TestVersions::history(const QString &className, const QString &id)
{
    return m_fixture.rows(u"Konkur.Verlauf"_s, u"Objekt"_s, {className, id});
}

void TestVersions::versionsRiseWithEveryWrite()
{
    const QString id = savePosition(u"10.00"_s);
    auto position = m_fixture.factory().openById(Position, id);
    QCOMPARE(position->sys_Version(), u"1"_s);
    position->setProperty(u"PreisExcl"_s, u"11.00"_s);
    position->sys_save();
    QCOMPARE(position->sys_Version(), u"2"_s);

    // Written without reading: only the property set changes.
    auto blind = openForWrite(m_other, id, u"2"_s);
    QVERIFY_THROWS_EXCEPTION(AccessError, blind->property(u"konkur"_s));
    blind->setProperty(u"notiz"_s, u"Flyer"_s);
    blind->sys_save();
    QCOMPARE(blind->sys_Version(), u"3"_s);
    QCOMPARE(blind->property(u"notiz"_s), u"Flyer"_s);

    const QList<QStringList> rows = m_fixture.rows(Position, u"Konkur"_s, {m_fixture.firm(), {}, {}, {}, {}});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].size(), 18);
    QCOMPARE(rows[0][17], u"3"_s);
    QCOMPARE(rows[0][10], u"11.00"_s);

    QVERIFY_THROWS_EXCEPTION(AccessError, blind->sys_ExpectVersion(u"x1"_s));
    QVERIFY_THROWS_EXCEPTION(AccessError, blind->sys_ExpectVersion(u"0"_s));
}

void TestVersions::staleWritesAreRefused_data()
{
    QTest::addColumn<bool>("firstDeletes");   // the first user deletes, else changes the price
    QTest::addColumn<bool>("secondDeletes");  // the second, still on version 1, deletes, else changes
    QTest::addColumn<int>("error");

    QTest::newRow("change, then change") << false << false << int(ErrorNumber::Conflict);
    QTest::newRow("change, then delete") << false << true << int(ErrorNumber::Conflict);
    QTest::newRow("delete, then change") << true << false << int(ErrorNumber::ObjectNotFound);
    QTest::newRow("delete, then delete") << true << true << int(ErrorNumber::ObjectNotFound);
}

void TestVersions::staleWritesAreRefused()
{
    QFETCH(bool, firstDeletes);
    QFETCH(bool, secondDeletes);
    QFETCH(int, error);
    const QString id = savePosition(u"10.00"_s);

    auto first = openForWrite(m_fixture.factory(), id, u"1"_s);
    if (firstDeletes) {
        first->sys_deleteid(id);
    } else {
        first->setProperty(u"PreisExcl"_s, u"9.50"_s);
        first->sys_save();
    }
    const qsizetype recorded = history(Position, id).size();

    auto second = openForWrite(m_other, id, u"1"_s);
    try {
        if (secondDeletes) {
            second->sys_deleteid(id);
        } else {
            second->setProperty(u"PreisExcl"_s, u"12.00"_s);
            second->sys_save();
        }
        QFAIL("the stale write went through");
    } catch (const AccessError &refused) {
        QCOMPARE(int(refused.number()), error);
        QVERIFY2(refused.description().contains(id), qPrintable(refused.description()));
    }
    // Nothing of the refused write is stored or recorded.
    QCOMPARE(exists(m_fixture.factory(), id), !firstDeletes);
    if (!firstDeletes)
        QCOMPARE(storedPrice(m_fixture.factory(), id), u"9.50"_s);
    QCOMPARE(history(Position, id).size(), recorded);

    // Written whatever is stored, the change goes through where there is a position.
    if (!firstDeletes) {
        auto overwrite = openForWrite(m_other, id, QString());
        overwrite->setProperty(u"PreisExcl"_s, u"12.00"_s);
        overwrite->sys_save();
        QCOMPARE(overwrite->sys_Version(), u"3"_s);
        QCOMPARE(storedPrice(m_fixture.factory(), id), u"12.00"_s);
    }
}

void TestVersions::historyRecordsEveryWrite()
{
    const QString id = savePosition(u"10.00"_s);
    auto change = openForWrite(m_other, id, u"1"_s);
    change->setProperty(u"PreisExcl"_s, u"9.50"_s);
    change->setProperty(u"notiz"_s, u"Aktion"_s);
    change->setProperty(u"konkur"_s, u"WERKHOF"_s);  // unchanged: not recorded
    change->sys_save();
    m_fixture.factory().openForWrite(Position, id)->sys_deleteid(id);

    // Zeitpunkt, Personalcode, Name, Klasse, Id, Version, Aktion, Eigenschaft, alt, neu; newest first.
    const QList<QStringList> rows = history(Position, id);
    QStringList lines;
    for (const QStringList &row : rows)
        lines << QStringList{row[1], row[5], row[6], row[7], row[8], row[9]}.join(u'|');
    QCOMPARE(lines, (QStringList{u"ANNA|2|L|AendDatum|2026-12-01|"_s, u"ANNA|2|L|notiz|Aktion|"_s,
                                 u"ANNA|2|L|PreisExcl|9.50|"_s, u"ANNA|2|L|Artnr|100001|"_s,
                                 u"ANNA|2|L|konkur|WERKHOF|"_s, u"BERND|2|A|notiz||Aktion"_s,
                                 u"BERND|2|A|PreisExcl|10.00|9.50"_s, u"ANNA|1|N|||"_s}));
    for (const QStringList &row : rows) {
        QCOMPARE(row[3], Position);
        QCOMPARE(row[4], id);
        const QDateTime when = QDateTime::fromString(row[0], u"yyyy-MM-dd HH:mm:ss"_s);
        QVERIFY2(when.isValid(), qPrintable(row[0]));
        QVERIFY(qAbs(when.secsTo(QDateTime::currentDateTimeUtc().toLocalTime()
                                 .addSecs(-QDateTime::currentDateTime().offsetFromUtc()))) < 120);
    }
}

void TestVersions::rolledBackWritesLeaveNoHistory()
{
    const QString kept = savePosition(u"10.00"_s);
    xecute(m_fixture.factory(), u"TSTART"_s);
    const QString dropped = savePosition(u"11.00"_s);
    auto change = openForWrite(m_fixture.factory(), kept, u"1"_s);
    change->setProperty(u"PreisExcl"_s, u"1.00"_s);
    change->sys_save();
    xecute(m_fixture.factory(), u"TROLLBACK"_s);

    QCOMPARE(history(Position, dropped).size(), 0);
    QCOMPARE(history(Position, kept).size(), 1);
    QCOMPARE(storedPrice(m_other, kept), u"10.00"_s);
    // The version the rolled-back write took is given back: version 1 still writes.
    auto again = openForWrite(m_other, kept, u"1"_s);
    again->setProperty(u"PreisExcl"_s, u"10.50"_s);
    again->sys_save();
    QCOMPARE(again->sys_Version(), u"2"_s);
}

void TestVersions::listReplacementChecksTheState()
{
    const QString list = u"Konkur.Par"_s;
    const auto replace = [&](tolven::ServerFactory &factory, const QStringList &delall, const QString &name) {
        xecute(factory, u"TSTART"_s);
        try {
            factory.classObject(list)->callMethod(u"Delall"_s, delall);
            auto competitor = factory.createNew(list);
            competitor->setProperty(u"Firma"_s, m_fixture.firm());
            competitor->setProperty(u"konkur"_s, u"WERKHOF"_s);
            competitor->setProperty(u"konkurbez"_s, name);
            competitor->sys_save();
            xecute(factory, u"TCOMMIT"_s);
        } catch (const AccessError &) {
            xecute(factory, u"TROLLBACK"_s);
            throw;
        }
    };
    const auto state = [&](tolven::ServerFactory &factory) {
        return factory.classObject(list)->callMethod(u"Stand"_s, {m_fixture.firm()});
    };
    replace(m_fixture.factory(), {m_fixture.firm()}, u"Werkhof Nord"_s);
    const QString loaded = state(m_fixture.factory());
    QCOMPARE(state(m_other), loaded);

    replace(m_other, {m_fixture.firm(), state(m_other)}, u"Werkhof Süd"_s);
    QVERIFY(state(m_fixture.factory()) != loaded);
    try {
        replace(m_fixture.factory(), {m_fixture.firm(), loaded}, u"Werkhof Nord"_s);
        QFAIL("the list was replaced over another user's replacement");
    } catch (const AccessError &refused) {
        QCOMPARE(refused.number(), ErrorNumber::Conflict);
    }
    const QList<QStringList> rows = m_fixture.rows(list, u"Konkur"_s, {m_fixture.firm()});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].last(), u"Werkhof Süd"_s);

    // The list's history: what each replacement deleted, and who made it.
    const QList<QStringList> listHistory = m_fixture.rows(u"Konkur.Verlauf"_s, u"Liste"_s, {list, m_fixture.firm()});
    QStringList lines;
    for (const QStringList &row : listHistory)
        lines << QStringList{row[1], row[6], row[7], row[8]}.join(u'|');
    QCOMPARE(lines, (QStringList{u"BERND|N||"_s, u"BERND|L|konkurbez|Werkhof Nord"_s, u"BERND|L|konkur|WERKHOF"_s,
                                 u"ANNA|N||"_s}));
}

void TestVersions::historyIsReadOnly()
{
    QVERIFY_THROWS_EXCEPTION(AccessError, m_fixture.factory().createNew(u"Konkur.Verlauf"_s));
    QVERIFY_THROWS_EXCEPTION(AccessError, m_fixture.factory().openForWrite(u"Konkur.Verlauf"_s, u"1||1"_s));
    QVERIFY_THROWS_EXCEPTION(AccessError,
                             m_fixture.factory().classObject(u"Konkur.Verlauf"_s)->sys_deleteid(u"1||1"_s));
    QVERIFY_THROWS_EXCEPTION(AccessError,
                             m_fixture.factory().classObject(u"Konkur.Verlauf"_s)->callMethod(u"Delall"_s, {u"1"_s}));
}

void TestVersions::writesOfATransactionGoTogether_data()
{
    QTest::addColumn<int>("stale");  // the row another user changed first; -1 for none
    QTest::newRow("none stale") << -1;
    QTest::newRow("first stale") << 0;
    QTest::newRow("last stale") << 49;
}

// Changes of objects opened for writing only, within TSTART, go to the
// database together: a handful of statements for many rows. A stale one
// among them fails TCOMMIT naming that object, and nothing of the
// transaction is stored.
void TestVersions::writesOfATransactionGoTogether()
{
    QFETCH(int, stale);
    constexpr int Rows = 50;
    QStringList ids;
    xecute(m_fixture.factory(), u"TSTART"_s);
    for (int n = 0; n < Rows; ++n)
        ids << savePosition(u"10.00"_s);
    xecute(m_fixture.factory(), u"TCOMMIT"_s);
    if (stale >= 0) {
        auto other = openForWrite(m_other, ids[stale], u"1"_s);
        other->setProperty(u"PreisExcl"_s, u"7.00"_s);
        other->sys_save();
    }

    const quint64 before = store::Session::statementsSent();
    xecute(m_fixture.factory(), u"TSTART"_s);
    std::vector<std::unique_ptr<tolven::ServerObject>> objects;
    for (int n = 0; n < Rows; ++n) {
        objects.push_back(openForWrite(m_fixture.factory(), ids[n], u"1"_s));
        objects.back()->setProperty(u"PreisExcl"_s, QString::number(20 + n) + u".00");
        objects.back()->sys_save();
    }
    try {
        xecute(m_fixture.factory(), u"TCOMMIT"_s);
        QCOMPARE(stale, -1);
    } catch (const AccessError &refused) {
        QCOMPARE(refused.number(), ErrorNumber::Conflict);
        QCOMPARE(refused.objectId(), ids.value(stale));
        xecute(m_fixture.factory(), u"TROLLBACK"_s);
    }
    const quint64 sent = store::Session::statementsSent() - before;
    QVERIFY2(sent <= 6, qPrintable(QString::number(sent)));
    for (int n = 0; n < Rows; ++n) {
        const QString expected = stale >= 0 ? (n == stale ? u"7.00"_s : u"10.00"_s) : QString::number(20 + n) + u".00";
        QCOMPARE(storedPrice(m_other, ids[n]), expected);
        if (stale < 0)
            QCOMPARE(objects[n]->sys_Version(), u"2"_s);
    }
}

void TestVersions::writesOfATransactionLeaveWhatSingleWritesLeave_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("one") << 1;
    QTest::newRow("one statement") << 40;
    // More than one statement holds, the rest in several.
    QTest::newRow("several statements") << 300;
}

// Held back and sent together, the changes store the same rows and leave the
// same history, in the same order, as the same changes saved one by one;
// texts that look like parameters or quotes are stored as they are.
void TestVersions::writesOfATransactionLeaveWhatSingleWritesLeave()
{
    QFETCH(int, rows);
    const QStringList names{u"konkur"_s,  u"Artnr"_s, u"ArtBez"_s,    u"Preistyp"_s, u"DatumAb"_s,
                            u"DatumBis"_s, u"MengeAb"_s, u"VKE"_s,    u"PreisExcl"_s, u"PreisKalk"_s,
                            u"VRE"_s,     u"notiz"_s, u"ZAnr"_s,      u"AendDatum"_s, u"IntPreis"_s};
    const auto change = [&names](tolven::ServerObject &position, int n) {
        const QStringList values{u"MOORBAU"_s,
                                 u"100001"_s,
                                 u"Fuge 'ä' \"ß\" ? $1 \\ ; " + QString::number(n),
                                 u"LISTE"_s,
                                 u"2026-12-0" + QString::number(1 + n % 9),
                                 n % 2 ? u"2027-01-31"_s : QString(),
                                 QString::number(n % 3 + 1),
                                 u"SCK"_s,
                                 QString::number(20 + n) + u".50",
                                 QString(),
                                 u"SCK"_s,
                                 n % 3 ? QString() : u"Notiz?"_s,
                                 QString(),
                                 u"2026-12-09"_s,
                                 u"1.25"_s};
        for (qsizetype i = 0; i < names.size(); ++i)
            position.setProperty(names[i], values[i]);
        position.sys_save();
    };
    QStringList together;
    QStringList single;
    xecute(m_fixture.factory(), u"TSTART"_s);
    for (int n = 0; n < rows; ++n) {
        together << savePosition(u"10.00"_s);
        single << savePosition(u"10.00"_s);
    }
    xecute(m_fixture.factory(), u"TCOMMIT"_s);

    xecute(m_fixture.factory(), u"TSTART"_s);
    for (int n = 0; n < rows; ++n)
        change(*openForWrite(m_fixture.factory(), together[n], u"1"_s), n);
    xecute(m_fixture.factory(), u"TCOMMIT"_s);
    for (int n = 0; n < rows; ++n)
        change(*openForWrite(m_fixture.factory(), single[n], u"1"_s), n);

    // Who, version, action, property, old and new value; not when nor which object.
    const auto recorded = [this](const QString &id) {
        QList<QStringList> rows;
        for (const QStringList &row : history(Position, id))
            rows << (QStringList{row.value(1)} + row.mid(5));
        return rows;
    };
    for (int n = 0; n < rows; ++n) {
        auto stored = m_fixture.factory().openById(Position, together[n]);
        auto expected = m_fixture.factory().openById(Position, single[n]);
        QCOMPARE(stored->sys_Version(), u"2"_s);
        for (const QString &name : names)
            QCOMPARE(stored->property(name), expected->property(name));
        const QList<QStringList> written = recorded(together[n]);
        QCOMPARE(written, recorded(single[n]));
        QVERIFY(written.size() > 2);
    }
}

// SQLite holds new objects back too. One the database refuses (its number
// taken meanwhile) fails TCOMMIT with the database's reason, and the
// transaction's other rows are gone with it.
void TestVersions::aFailingHeldBackWriteLeavesNothing()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend == u"PostgreSQL")
        QSKIP("PostgreSQL stores a new object at once, with a number of its sequence.");
    const QString changed = savePosition(u"10.00"_s);
    const QString taken = savePosition(u"10.00"_s);
    {
        // The next number handed out is taken's.
        auto session = store::Session::openUnchecked(m_fixture.database().target(), false);
        session->execDirect(u"UPDATE tolven_counter SET last_value = last_value - 1"
                            u" WHERE class_name = ? AND firma = ?"_s,
                            {Position, m_fixture.firm()}, u"Test"_s);
    }
    xecute(m_fixture.factory(), u"TSTART"_s);
    auto change = openForWrite(m_fixture.factory(), changed, u"1"_s);
    change->setProperty(u"PreisExcl"_s, u"11.00"_s);
    change->sys_save();
    m_fixture.save(Position, {{u"Artnr"_s, u"100002"_s}, {u"PreisExcl"_s, u"3.00"_s}});
    try {
        xecute(m_fixture.factory(), u"TCOMMIT"_s);
        QFAIL("TCOMMIT stored a new object under a number already taken");
    } catch (const AccessError &refused) {
        QCOMPARE(refused.number(), ErrorNumber::DatabaseError);
        QVERIFY2(refused.description().contains(u"UNIQUE"_s), qPrintable(refused.description()));
    }
    QCOMPARE(storedPrice(m_other, changed), u"10.00"_s);
    QCOMPARE(storedPrice(m_other, taken), u"10.00"_s);
    QCOMPARE(history(Position, changed).size(), 1);
}

QTEST_GUILESS_MAIN(TestVersions)
#include "tst_versions.moc"
