#include <QProcess>
#include <QTest>

#include <set>

#include "objectapi/AccessError.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionSave.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/CommitRelay.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;
using namespace testsupport::positionfirm;

namespace {

const QString AccessErrorTitle = u"Caché Zugriffsfehler"_s;

void RestartServer()
{
    const int status = QProcess::execute(u"/bin/sh"_s, {u"-c"_s, qEnvironmentVariable("TOLVEN_TEST_PG_RESTART")});
    QCOMPARE(status, 0);
}

} // namespace

// The main window on PostgreSQL while the server restarts: between two
// searches, and in the middle of a save of many rows; and a save during which
// the answer to a commit is lost. Runs alone, since the restart ends every
// session.
class TestPgClientRestart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchAfterRestart();
    void faultDuringSave_data();
    void faultDuringSave();

private:
    void start();
    void search();
    // The firm's positions as stored, by id: each with the properties the
    // client sends, as the store gives them back.
    QHash<QString, QHash<QString, QString>> storedPositions();
    // Whether the stored position holds what the grid's row sends.
    static void compareStored(const QHash<QString, QString> &stored, const PackedRow &row);
    PositionModel &positions() const { return m_window->positionArray(); }

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
};

void TestPgClientRestart::initTestCase()
{
    if (testsupport::postgresAddress().isEmpty() || qEnvironmentVariableIsEmpty("TOLVEN_TEST_PG_RESTART")) {
        if (qEnvironmentVariableIsSet("CI"))
            QFAIL("TOLVEN_TEST_PG and TOLVEN_TEST_PG_RESTART are not set: run the tests through scripts/test");
        QSKIP("no PostgreSQL cluster to restart (scripts/test starts one)");
    }
    InitTestCase();
}

void TestPgClientRestart::init()
{
    m_db = std::make_unique<testsupport::TestDatabase>(u"PostgreSQL"_s);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
}

void TestPgClientRestart::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    m_db.reset();
}

void TestPgClientRestart::start()
{
    m_window = std::make_unique<FMStart>();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    m_window->setProgressDelay(std::chrono::milliseconds(0));
}

void TestPgClientRestart::search()
{
    m_window->BUSuch_Click();
}

QHash<QString, QHash<QString, QString>> TestPgClientRestart::storedPositions()
{
    static const QStringList names{u"konkur"_s, u"Artnr"_s,     u"ArtBez"_s, u"Preistyp"_s,  u"DatumAb"_s,
                                   u"DatumBis"_s, u"MengeAb"_s, u"VKE"_s,    u"PreisExcl"_s, u"PreisKalk"_s,
                                   u"VRE"_s,    u"notiz"_s,     u"ZAnr"_s,   u"AendDatum"_s, u"IntPreis"_s};
    store::StoreFactory factory;
    factory.connect(m_db->connectString());
    QStringList ids;
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({Firm, QString(), QString(), QString(), QString()});
    while (result->next())
        ids << result->getColumn(1);
    result->close();
    QHash<QString, QHash<QString, QString>> stored;
    for (const QString &id : std::as_const(ids)) {
        auto object = factory.openById(u"Konkur.Konkur"_s, id);
        QHash<QString, QString> &properties = stored[id];
        for (const QString &name : names)
            properties.insert(name, object->property(name));
    }
    return stored;
}

void TestPgClientRestart::compareStored(const QHash<QString, QString> &stored, const PackedRow &row)
{
    QVERIFY(!stored.isEmpty());
    for (const auto &[name, value] : PositionProperties(row, TestDay))
        QCOMPARE(stored.value(name), value);
}

void TestPgClientRestart::searchAfterRestart()
{
    Fill(m_db->connectString());
    testsupport::ScriptedDialogs dialogs;
    start();
    search();
    QCOMPARE(positions().rowCount(), Positions.size());
    const int factories = m_fixture->factoriesMade();

    // The user looks at the rows for a while; meanwhile the server restarts.
    RestartServer();
    QTest::qWait(store::Session::ProbeAfterIdleMilliseconds + 100);
    search();
    // The lost connection is noticed before the search and made again, without a word.
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_fixture->factoriesMade(), factories + 1);
    QCOMPARE(positions().rowCount(), Positions.size());
    QStringList articles;
    for (int row = 0; row < positions().rowCount(); ++row)
        articles << positions().cell(row, PositionColumn::Artnr).toString();
    QStringList expected;
    for (const Position &position : Positions)
        expected << position.article;
    articles.sort();
    expected.sort();
    QCOMPARE(articles, expected);
}

void TestPgClientRestart::faultDuringSave_data()
{
    QTest::addColumn<bool>("restart");
    // The row saved at FaultAtSave is a new one: the changed rows (the fill's
    // and the extra ones) come first. A transaction holds at most
    // PositionSaver::BatchRows rows, so one is committed before the cut.
    QTest::newRow("server restarts") << true;
    QTest::newRow("answer to a commit lost") << false;
}

void TestPgClientRestart::faultDuringSave()
{
    QFETCH(bool, restart);
    constexpr int ExtraPositions = PositionSaver::BatchRows + 50;
    constexpr int NewRows = PositionSaver::BatchRows + 50;
    constexpr int FaultAtSave = PositionSaver::BatchRows + 70;
    // The client reaches the server through the relay, which breaks the
    // connection when the server has committed a transaction, before the
    // client has heard so.
    testsupport::CommitRelay relay(m_db->target().host, quint16(m_db->target().port));
    if (!restart)
        m_fixture->setCommandLine(u"7 0 NEU neu 127.0.0.1 "_s + QString::number(relay.port()));
    int saves = 0;
    m_fixture->interceptCalls([&](const QString &, const QString &name, const QStringList &) {
        if (name != u"sys_save" || ++saves != FaultAtSave)
            return;
        if (restart)
            RestartServer();
        else
            relay.cutAtNextCommit(testsupport::CommitRelay::AfterCommit);
    });
    Fill(m_db->connectString(), ExtraPositions);
    start();
    search();
    // Every row changed (the vanished article's cannot be saved and leaves
    // the grid), and new rows added.
    for (int row = 0; row < positions().rowCount(); ++row) {
        if (positions().cell(row, PositionColumn::Artnr).toString() == Vanished)
            positions().removeRows(row--, 1);
    }
    for (int row = 0; row < positions().rowCount(); ++row) {
        // The extra positions of the fill were stored with little more than their key.
        if (positions().cell(row, PositionColumn::DatumAb).toString().isEmpty())
            positions().setCell(row, PositionColumn::DatumAb, QDate(2026, 1, 1));
        for (const int column : {PositionColumn::MengeAb, PositionColumn::IntPreis}) {
            if (positions().cell(row, column).toString().isEmpty())
                positions().setCell(row, column, 1.0);
        }
        positions().setCell(row, PositionColumn::PreisExcl, 100 + row / 4.0);
        positions().setCell(row, PositionColumn::PreisIncl, 119 + row / 4.0);
        positions().setCell(row, PositionColumn::AendDatum, QVariant());
    }
    const int changedRows = positions().rowCount();
    const PositionModel::Row model = positions().row(changedRows - 1);
    for (int n = 0; n < NewRows; ++n) {
        PositionModel::Row row = model;
        row[PositionColumn::UID] = QVariant();
        row[PositionColumn::MengeAb] = 5000.0 + n;
        row[PositionColumn::Notiz] = QString(u"neu "_s + QString::number(n));
        positions().appendRow(row);
    }
    const int storedBefore = int(storedPositions().size());

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(AccessErrorTitle, u"Vorgang: Positionen speichern."_s);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);

    // What the grid shows as stored is stored exactly; the rest is still marked.
    auto stored = storedPositions();
    int storedRows = 0;
    int storedNew = 0;
    for (int row = 0; row < positions().rowCount(); ++row) {
        const QVariant changed = positions().cell(row, PositionColumn::AendDatum);
        const QString id = positions().cell(row, PositionColumn::UID).toString();
        if (changed.toDate() == TestDay) {
            ++storedRows;
            storedNew += row >= changedRows;
            compareStored(stored.value(id), positions().packedRow(row));
        } else {
            QCOMPARE(changed, QVariant());
            QCOMPARE(id.isEmpty(), row >= changedRows);
        }
    }
    QVERIFY2(storedRows > 0 && storedRows < positions().rowCount(), qPrintable(QString::number(storedRows)));
    QVERIFY(storedNew < NewRows);
    // Without a new row stored that is not marked as stored: saving again would store it twice.
    QCOMPARE(stored.size(), storedBefore + storedNew);
    // The transaction whose answer was lost is committed, and its rows count as stored.
    QVERIFY(restart || storedNew >= FaultAtSave - changedRows);

    // The second save reconnects and stores the rest, each row once.
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    stored = storedPositions();
    QCOMPARE(stored.size(), storedBefore + NewRows);
    std::set<QString> ids;
    for (int row = 0; row < positions().rowCount(); ++row) {
        const QString id = positions().cell(row, PositionColumn::UID).toString();
        QCOMPARE(positions().cell(row, PositionColumn::AendDatum).toDate(), TestDay);
        QVERIFY(ids.insert(id).second);
        compareStored(stored.value(id), positions().packedRow(row));
    }
}

QTEST_MAIN(TestPgClientRestart)
#include "tst_pg_client_restart.moc"
