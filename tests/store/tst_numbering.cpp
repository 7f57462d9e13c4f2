#include <QTest>

#include <algorithm>
#include <thread>
#include <vector>

#include "objectapi/AccessError.h"
#include "store/CommandDispatcher.h"
#include "store/Session.h"
#include "store/StoreObject.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using tolven::ErrorNumber;

// Ids by running number (Firm||1, Firm||2, ...), with a class of the test's
// own: the business classes that number their objects build on this.
class TestNumbering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();

    void numbersRunPerFirm();
    void numbersAreNotReusedAfterDelete();
    void rolledBackSaveStoresNothing();
    void batchNumbersAreStoredAtCommit();
    void numbersGoOnAfterEarlierOnes_data();
    void numbersGoOnAfterEarlierOnes();
    void invalidValueKeepsTheObjectNew();
    void concurrentSessionsShareOneRun_data();
    void concurrentSessionsShareOneRun();

private:
    QString save(const QString &firm, const QString &note);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::shared_ptr<store::Session> m_session;
    store::ClassDescription m_notes;
};

void TestNumbering::init()
{
    TOLVEN_FRESH_DATABASE(m_db, false);
    m_session = store::Session::open(m_db->target());
    m_session->execDirect(u"DROP TABLE IF EXISTS test_notes"_s, {}, u"Test"_s);
    m_session->execDirect(u"CREATE TABLE test_notes (firma VARCHAR(16) NOT NULL, obj_key VARCHAR(64) NOT NULL, "
                                         "obj_seq BIGINT NOT NULL, obj_version BIGINT NOT NULL DEFAULT 1, p_text TEXT, p_datum TEXT, "
                                         "PRIMARY KEY (firma, obj_key))"_s,
                          {}, u"Test"_s);
    m_notes.name = u"Test.Notiz"_s;
    m_notes.table = u"test_notes"_s;
    m_notes.keyScheme = store::KeyScheme::RunningNumber;
    m_notes.properties = {{u"Firma"_s, u"firma"_s, store::PropertyType::Text},
                          {u"Text"_s, u"p_text"_s, store::PropertyType::Text},
                          {u"Datum"_s, u"p_datum"_s, store::PropertyType::Date}};
}

void TestNumbering::cleanup()
{
    if (m_session && m_session->isOpen())
        m_session->execDirect(u"DROP TABLE test_notes"_s, {}, u"Test"_s);
    m_session.reset();
    m_db.reset();
}

QString TestNumbering::save(const QString &firm, const QString &note)
{
    auto object = store::StoreObject::createNew(m_session, m_notes);
    object->setProperty(u"Firma"_s, firm);
    object->setProperty(u"Text"_s, note);
    object->sys_save();
    return object->sys_ID();
}

void TestNumbering::numbersRunPerFirm()
{
    QCOMPARE(save(u"1"_s, u"a"_s), u"1||1"_s);
    QCOMPARE(save(u"1"_s, u"b"_s), u"1||2"_s);
    QCOMPARE(save(u"2"_s, u"c"_s), u"2||1"_s);
    QCOMPARE(save(u"1"_s, u"d"_s), u"1||3"_s);
    auto opened = store::StoreObject::openById(m_session, m_notes, u"1||2"_s);
    QCOMPARE(opened->property(u"Text"_s), u"b"_s);
}

void TestNumbering::numbersAreNotReusedAfterDelete()
{
    save(u"1"_s, u"a"_s);
    const QString second = save(u"1"_s, u"b"_s);
    store::StoreObject::classObject(m_session, m_notes)->sys_deleteid(second);
    QCOMPARE(save(u"1"_s, u"c"_s), u"1||3"_s);
}

// SQLite gives a rolled-back number back; PostgreSQL's sessions take their
// numbers without waiting for each other, and it stays used.
void TestNumbering::rolledBackSaveStoresNothing()
{
    save(u"1"_s, u"a"_s);
    store::ExecuteCommand(*m_session, u"TSTART"_s);
    QCOMPARE(save(u"1"_s, u"verworfen"_s), u"1||2"_s);
    store::ExecuteCommand(*m_session, u"TROLLBACK"_s);
    EXPECT_ACCESS_ERROR(store::StoreObject::openById(m_session, m_notes, u"1||2"_s), ErrorNumber::ObjectNotFound,
                        u"1||2"_s);
    QCOMPARE(save(u"1"_s, u"b"_s), m_session->isPostgres() ? u"1||3"_s : u"1||2"_s);
}

void TestNumbering::batchNumbersAreStoredAtCommit()
{
    save(u"1"_s, u"vorher"_s);
    store::ExecuteCommand(*m_session, u"TSTART"_s);
    QStringList ids;
    for (int i = 0; i < 5; ++i)
        ids << save(u"1"_s, u"Stapel"_s);
    ids << save(u"2"_s, u"andere Firma"_s);
    store::ExecuteCommand(*m_session, u"TCOMMIT"_s);
    QCOMPARE(ids, (QStringList{u"1||2"_s, u"1||3"_s, u"1||4"_s,
                               u"1||5"_s, u"1||6"_s, u"2||1"_s}));

    // Another session goes on after the batch, and so does this one.
    auto other = store::Session::open(m_db->target());
    auto object = store::StoreObject::createNew(other, m_notes);
    object->setProperty(u"Firma"_s, u"1"_s);
    object->sys_save();
    QCOMPARE(object->sys_ID(), u"1||7"_s);
    QCOMPARE(save(u"1"_s, u"nachher"_s), u"1||8"_s);
    QCOMPARE(save(u"2"_s, u"nachher"_s), u"2||2"_s);

    // A batch rolled back gives back all its numbers on SQLite.
    store::ExecuteCommand(*m_session, u"TSTART"_s);
    save(u"1"_s, u"verworfen"_s);
    save(u"1"_s, u"verworfen"_s);
    store::ExecuteCommand(*m_session, u"TROLLBACK"_s);
    QCOMPARE(save(u"1"_s, u"danach"_s), m_session->isPostgres() ? u"1||11"_s : u"1||9"_s);
}

void TestNumbering::numbersGoOnAfterEarlierOnes_data()
{
    QTest::addColumn<int>("counter");  // the counter row's last number; 0: none
    QTest::addColumn<int>("stored");   // the highest number stored; 0: none
    QTest::addColumn<QString>("next");
    QTest::newRow("Zähler") << 41 << 0 << u"1||42"_s;
    QTest::newRow("Zähler und gespeicherte") << 41 << 41 << u"1||42"_s;
    // Written by hand or by an older program: the numbers in the table count.
    QTest::newRow("gespeicherte über dem Zähler") << 5 << 9 << u"1||10"_s;
    QTest::newRow("gespeicherte ohne Zähler") << 0 << 12 << u"1||13"_s;
}

// A database that got its numbers from the counter rows alone goes on after
// them, and after every number stored, whatever takes the numbers now.
void TestNumbering::numbersGoOnAfterEarlierOnes()
{
    QFETCH(int, counter);
    QFETCH(int, stored);
    QFETCH(QString, next);
    if (!m_session->isPostgres() && stored > counter)
        QSKIP("SQLite takes the numbers from the counter row only");
    if (counter > 0) {
        m_session->execDirect(u"INSERT INTO tolven_counter (class_name, firma, last_value) VALUES (?, '1', ?)"_s,
                              {m_notes.name, counter}, u"Test"_s);
    }
    if (stored > 0) {
        m_session->execDirect(u"INSERT INTO test_notes (firma, obj_key, obj_seq, p_text) VALUES ('1', ?, ?, 'alt')"_s,
                              {QString::number(stored), stored}, u"Test"_s);
    }
    QCOMPARE(save(u"1"_s, u"neu"_s), next);
    QCOMPARE(save(u"2"_s, u"andere Firma"_s), u"2||1"_s);
}

void TestNumbering::invalidValueKeepsTheObjectNew()
{
    auto object = store::StoreObject::createNew(m_session, m_notes);
    object->setProperty(u"Firma"_s, u"1"_s);
    object->setProperty(u"Datum"_s, u"31.12.2026"_s);
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, u"\"31.12.2026\" für die Eigenschaft Datum"_s);
    QCOMPARE(object->sys_ID(), QString());
    object->setProperty(u"Datum"_s, u"2026-12-31"_s);
    object->sys_save();
    QCOMPARE(object->sys_ID(), u"1||1"_s); // the refused save used no number
}

void TestNumbering::concurrentSessionsShareOneRun_data()
{
    QTest::addColumn<int>("batch");  // saves per TSTART; 0: each save its own transaction
    QTest::addColumn<bool>("first"); // the sessions save the firm's first objects
    QTest::newRow("je Speichern eine Transaktion") << 0 << false;
    QTest::newRow("Stapel zu 4, jeder dritte verworfen") << 4 << false;
    QTest::newRow("die ersten Objekte der Firma") << 0 << true;
}

// Sessions that save at the same time, each in a thread of its own with its
// own connection: every committed object gets a number of its own, none is
// skipped but those of rolled-back batches on PostgreSQL, and the next save
// goes on after all of them.
void TestNumbering::concurrentSessionsShareOneRun()
{
    QFETCH(int, batch);
    QFETCH(bool, first);
    constexpr int Sessions = 6;
    constexpr int Saves = 24;
    if (!first)
        save(u"1"_s, u"vorher"_s);

    std::vector<QStringList> committed(Sessions);
    std::vector<QString> errors(Sessions);
    std::vector<std::thread> threads;
    for (int t = 0; t < Sessions; ++t) {
        threads.emplace_back([&, t] {
            try {
                auto session = store::Session::open(m_db->target());
                QStringList pending;
                for (int i = 0; i < Saves; ++i) {
                    if (batch > 0 && i % batch == 0)
                        store::ExecuteCommand(*session, u"TSTART"_s);
                    auto object = store::StoreObject::createNew(session, m_notes);
                    object->setProperty(u"Firma"_s, u"1"_s);
                    object->setProperty(u"Text"_s, u"Sitzung "_s + QString::number(t));
                    object->sys_save();
                    pending << object->sys_ID();
                    if (batch == 0) {
                        committed[size_t(t)] << pending;
                        pending.clear();
                    } else if (i % batch == batch - 1) {
                        const bool discard = i / batch % 3 == 2;
                        store::ExecuteCommand(*session, discard ? u"TROLLBACK"_s : u"TCOMMIT"_s);
                        if (!discard)
                            committed[size_t(t)] << pending;
                        pending.clear();
                    }
                }
            } catch (const tolven::AccessError &e) {
                errors[size_t(t)] = e.description();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (const QString &error : errors)
        QVERIFY2(error.isEmpty(), qPrintable(error));

    QList<int> numbers;
    for (const QStringList &ids : committed) {
        for (const QString &id : ids) {
            QVERIFY2(id.startsWith(u"1||"), qPrintable(id));
            numbers << id.mid(3).toInt();
        }
    }
    std::sort(numbers.begin(), numbers.end());
    const int perSession = batch == 0 ? Saves : Saves - Saves / batch / 3 * batch;
    QCOMPARE(numbers.size(), Sessions * perSession);
    QVERIFY(std::adjacent_find(numbers.cbegin(), numbers.cend()) == numbers.cend());
    const int before = first ? 0 : 1;
    const int taken = m_session->isPostgres() ? Sessions * Saves : int(numbers.size());
    QVERIFY(numbers.first() > before);
    QVERIFY(numbers.last() <= before + taken);
    if (taken == numbers.size())
        QCOMPARE(numbers.last(), before + taken); // unique and none skipped
    QCOMPARE(save(u"1"_s, u"nachher"_s), u"1||"_s + QString::number(before + taken + 1));
}

QTEST_GUILESS_MAIN(TestNumbering)
#include "tst_numbering.moc"
