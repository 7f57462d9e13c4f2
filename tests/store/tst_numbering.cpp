#include <QTest>

#include "access/AccessError.h"
#include "store/CommandDispatcher.h"
#include "store/Session.h"
#include "store/StoreObject.h"
#include "support/AccessErrors.h"
#include "support/TestDatabase.h"

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
    void rolledBackSaveGivesBackItsNumber();
    void batchNumbersAreStoredAtCommit();
    void invalidValueKeepsTheObjectNew();

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
    m_session->execDirect(QStringLiteral("DROP TABLE IF EXISTS test_notes"), {}, QStringLiteral("Test"));
    m_session->execDirect(QStringLiteral("CREATE TABLE test_notes (firma VARCHAR(16) NOT NULL, obj_key VARCHAR(64) NOT NULL, "
                                         "obj_seq BIGINT NOT NULL, p_text TEXT, p_datum TEXT, PRIMARY KEY (firma, obj_key))"),
                          {}, QStringLiteral("Test"));
    m_notes.name = QStringLiteral("Test.Notiz");
    m_notes.table = QStringLiteral("test_notes");
    m_notes.keyScheme = store::KeyScheme::RunningNumber;
    m_notes.properties = {{QStringLiteral("Firma"), QStringLiteral("firma"), store::PropertyType::Text},
                          {QStringLiteral("Text"), QStringLiteral("p_text"), store::PropertyType::Text},
                          {QStringLiteral("Datum"), QStringLiteral("p_datum"), store::PropertyType::Date}};
}

void TestNumbering::cleanup()
{
    if (m_session && m_session->isOpen())
        m_session->execDirect(QStringLiteral("DROP TABLE test_notes"), {}, QStringLiteral("Test"));
    m_session.reset();
    m_db.reset();
}

QString TestNumbering::save(const QString &firm, const QString &note)
{
    auto object = store::StoreObject::createNew(m_session, m_notes);
    object->setProperty(QStringLiteral("Firma"), firm);
    object->setProperty(QStringLiteral("Text"), note);
    object->sys_save();
    return object->sys_ID();
}

void TestNumbering::numbersRunPerFirm()
{
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("a")), QStringLiteral("1||1"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("b")), QStringLiteral("1||2"));
    QCOMPARE(save(QStringLiteral("2"), QStringLiteral("c")), QStringLiteral("2||1"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("d")), QStringLiteral("1||3"));
    auto opened = store::StoreObject::openById(m_session, m_notes, QStringLiteral("1||2"));
    QCOMPARE(opened->property(QStringLiteral("Text")), QStringLiteral("b"));
}

void TestNumbering::numbersAreNotReusedAfterDelete()
{
    save(QStringLiteral("1"), QStringLiteral("a"));
    const QString second = save(QStringLiteral("1"), QStringLiteral("b"));
    store::StoreObject::classObject(m_session, m_notes)->sys_deleteid(second);
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("c")), QStringLiteral("1||3"));
}

void TestNumbering::rolledBackSaveGivesBackItsNumber()
{
    save(QStringLiteral("1"), QStringLiteral("a"));
    store::ExecuteCommand(*m_session, QStringLiteral("TSTART"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("verworfen")), QStringLiteral("1||2"));
    store::ExecuteCommand(*m_session, QStringLiteral("TROLLBACK"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("b")), QStringLiteral("1||2"));
}

void TestNumbering::batchNumbersAreStoredAtCommit()
{
    save(QStringLiteral("1"), QStringLiteral("vorher"));
    store::ExecuteCommand(*m_session, QStringLiteral("TSTART"));
    QStringList ids;
    for (int i = 0; i < 5; ++i)
        ids << save(QStringLiteral("1"), QStringLiteral("Stapel"));
    ids << save(QStringLiteral("2"), QStringLiteral("andere Firma"));
    store::ExecuteCommand(*m_session, QStringLiteral("TCOMMIT"));
    QCOMPARE(ids, (QStringList{QStringLiteral("1||2"), QStringLiteral("1||3"), QStringLiteral("1||4"),
                               QStringLiteral("1||5"), QStringLiteral("1||6"), QStringLiteral("2||1")}));

    // Another session goes on after the batch, and so does this one.
    auto other = store::Session::open(m_db->target());
    auto object = store::StoreObject::createNew(other, m_notes);
    object->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    object->sys_save();
    QCOMPARE(object->sys_ID(), QStringLiteral("1||7"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("nachher")), QStringLiteral("1||8"));
    QCOMPARE(save(QStringLiteral("2"), QStringLiteral("nachher")), QStringLiteral("2||2"));

    // A batch rolled back gives back all its numbers.
    store::ExecuteCommand(*m_session, QStringLiteral("TSTART"));
    save(QStringLiteral("1"), QStringLiteral("verworfen"));
    save(QStringLiteral("1"), QStringLiteral("verworfen"));
    store::ExecuteCommand(*m_session, QStringLiteral("TROLLBACK"));
    QCOMPARE(save(QStringLiteral("1"), QStringLiteral("danach")), QStringLiteral("1||9"));
}

void TestNumbering::invalidValueKeepsTheObjectNew()
{
    auto object = store::StoreObject::createNew(m_session, m_notes);
    object->setProperty(QStringLiteral("Firma"), QStringLiteral("1"));
    object->setProperty(QStringLiteral("Datum"), QStringLiteral("31.12.2026"));
    EXPECT_ACCESS_ERROR(object->sys_save(), ErrorNumber::InvalidValue, QStringLiteral("\"31.12.2026\" für die Eigenschaft Datum"));
    QCOMPARE(object->sys_ID(), QString());
    object->setProperty(QStringLiteral("Datum"), QStringLiteral("2026-12-31"));
    object->sys_save();
    QCOMPARE(object->sys_ID(), QStringLiteral("1||1")); // the refused save used no number
}

QTEST_GUILESS_MAIN(TestNumbering)
#include "tst_numbering.moc"
