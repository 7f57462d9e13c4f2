#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>

#include "WorkerRows.h"
#include "positions/PositionSave.h"
#include "objectapi/AccessError.h"
#include "store/StoreFactory.h"
#include "support/PositionFirm.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

namespace {

// The positions of firm 7 that a worker wrote, by tag and number, with their
// properties as the store gives them back.
struct WorkerPosition
{
    int tag;
    int n;
    workerrows::Properties properties;
};

QList<WorkerPosition> ReadWorkerPositions(tolven::ServerFactory &factory)
{
    static const QRegularExpression notePattern(u"^Zeile (\\d+)/(\\d+):"_s);
    QStringList ids;
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({workerrows::Firm, QString(), QString(), QString(), QString()});
    while (result->next())
        ids << result->getColumn(1);
    result->close();
    QList<WorkerPosition> positions;
    for (const QString &id : std::as_const(ids)) {
        auto object = factory.openById(u"Konkur.Konkur"_s, id);
        const QRegularExpressionMatch match = notePattern.match(object->property(u"notiz"_s));
        if (!match.hasMatch())
            continue;
        WorkerPosition position{.tag = match.captured(1).toInt(), .n = match.captured(2).toInt(), .properties = {}};
        for (const auto &[name, value] : workerrows::StoredProperties(position.tag, position.n))
            position.properties.append({name, object->property(name)});
        positions << position;
    }
    return positions;
}

QList<std::pair<QString, QString>> CompetitorList(tolven::ServerFactory &factory)
{
    QList<std::pair<QString, QString>> list;
    auto result = factory.openQuery(u"Konkur.Par"_s, u"Konkur"_s);
    result->execute({workerrows::Firm});
    while (result->next())
        list.append({result->getColumn(2), result->getColumn(3)});
    result->close();
    return list;
}

} // namespace

// Client processes that end in the middle of their work, and two of them on
// one database at once, on both databases: the worker (save_worker) writes as
// the client does, the test kills it or lets two run side by side and then
// looks at what the database holds.
class TestProcesses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup() { m_db.reset(); }

    void killDuringSave_data();
    void killDuringSave();
    void twoClientsChangeTheSamePositions();
    void killDuringListReplace_data();
    void killDuringListReplace();
    void twoClientsSearchAndSave();

private:
    void startWorker(QProcess &worker, const QStringList &arguments);
    // Reads the worker's lines until one of the form "word N" with N >= count
    // (or the line "angemeldet" for count 0), then kills it; the last N read.
    int killAfter(QProcess &worker, const QString &word, int count);
    void checkDatabase();

    std::unique_ptr<testsupport::TestDatabase> m_db;
};

void TestProcesses::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    testsupport::positionfirm::Fill(m_db->connectString());
}

void TestProcesses::startWorker(QProcess &worker, const QStringList &arguments)
{
    worker.setProgram(QString::fromUtf8(SAVE_WORKER));
    worker.setArguments(arguments);
    worker.setProcessChannelMode(QProcess::SeparateChannels);
    worker.start();
    QVERIFY2(worker.waitForStarted(), qPrintable(worker.errorString()));
}

int TestProcesses::killAfter(QProcess &worker, const QString &word, int count)
{
    int last = 0;
    bool reached = false;
    while (!reached && worker.state() == QProcess::Running) {
        if (!worker.canReadLine() && !worker.waitForReadyRead(20000))
            break;
        while (worker.canReadLine()) {
            const QString line = QString::fromUtf8(worker.readLine()).trimmed();
            if (line.startsWith(word + u' '))
                last = line.section(u' ', 1, 1).toInt();
            reached = reached || (count == 0 ? line == u"angemeldet" : last >= count);
        }
    }
    worker.kill();
    worker.waitForFinished();
    if (worker.exitStatus() != QProcess::CrashExit)
        qWarning("the worker ended before it was killed: %s", worker.readAllStandardError().constData());
    return last;
}

void TestProcesses::checkDatabase()
{
    QProcess admin;
    const QString target = m_db->target().isSQLite() ? m_db->target().path : testsupport::postgresAddress();
    admin.start(QString::fromUtf8(TOLVEN_ADMIN), {u"check"_s, target});
    QVERIFY(admin.waitForFinished(30000));
    QVERIFY2(admin.exitStatus() == QProcess::NormalExit && admin.exitCode() == 0,
             QByteArray(admin.readAllStandardOutput() + admin.readAllStandardError()).constData());
    if (!m_db->target().isSQLite())
        return;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"integrity"_s);
        file.setDatabaseName(m_db->target().path);
        QVERIFY(file.open());
        QSqlQuery check(file);
        QVERIFY(check.exec(u"PRAGMA integrity_check"_s) && check.next());
        QCOMPARE(check.value(0).toString(), u"ok"_s);
    }
    QSqlDatabase::removeDatabase(u"integrity"_s);
}

void TestProcesses::killDuringSave_data()
{
    QTest::addColumn<int>("killAt");
    // 0: right after the login, inside the first transaction or before it.
    QTest::newRow("first transaction") << 0;
    QTest::newRow("after the first commit") << 1;
    QTest::newRow("half way") << 2 * tolven::PositionSaver::BatchRows;
}

void TestProcesses::killDuringSave()
{
    QFETCH(int, killAt);
    constexpr int Rows = 4 * tolven::PositionSaver::BatchRows;  // several transactions
    QProcess worker;
    startWorker(worker, {u"save"_s, m_db->connectString(), QString::number(Rows)});
    const int reported = killAfter(worker, u"gespeichert"_s, killAt);
    QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
    checkDatabase();

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    QList<WorkerPosition> stored = ReadWorkerPositions(factory);
    std::sort(stored.begin(), stored.end(), [](const auto &a, const auto &b) { return a.n < b.n; });
    // Whole rows only, those before the last commit all there, in the order saved.
    QVERIFY2(stored.size() >= reported, qPrintable(QString::number(stored.size())));
    QVERIFY(stored.size() < Rows);
    for (int n = 0; n < stored.size(); ++n) {
        QCOMPARE(stored.at(n).n, n);
        QCOMPARE(stored.at(n).properties, workerrows::StoredProperties(1, n));
    }
}

void TestProcesses::killDuringListReplace_data()
{
    QTest::addColumn<int>("killAt");
    QTest::newRow("first replacement") << 0;
    QTest::newRow("after the first") << 1;
    QTest::newRow("after the fifth") << 5;
}

void TestProcesses::killDuringListReplace()
{
    QFETCH(int, killAt);
    {
        // List A to start from, written the way the worker writes.
        store::StoreFactory factory;
        QVERIFY(factory.connect(m_db->connectString()));
        auto windows = factory.classObject(u"TV.Windows"_s);
        windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
        factory.classObject(u"Konkur.Par"_s)->callMethod(u"Delall"_s, {workerrows::Firm});
        for (const auto &[code, name] : workerrows::CompetitorList(u'A')) {
            auto object = factory.createNew(u"Konkur.Par"_s);
            object->setProperty(u"Firma"_s, workerrows::Firm);
            object->setProperty(u"konkur"_s, code);
            object->setProperty(u"konkurbez"_s, name);
            object->sys_save();
        }
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    }
    QProcess worker;
    startWorker(worker, {u"replace"_s, m_db->connectString(), u"100000"_s});
    killAfter(worker, u"Liste"_s, killAt);
    QCOMPARE(worker.exitStatus(), QProcess::CrashExit);
    checkDatabase();

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    const auto list = CompetitorList(factory);
    QVERIFY2(list == workerrows::CompetitorList(u'A') || list == workerrows::CompetitorList(u'B'),
             qPrintable(u"%1 Einträge, der erste %2"_s.arg(list.size()).arg(list.value(0).first)));
}

void TestProcesses::twoClientsSearchAndSave()
{
    constexpr int Rounds = 60;
    QProcess first;
    QProcess second;
    startWorker(first, {u"race"_s, m_db->connectString(), u"1"_s, QString::number(Rounds)});
    startWorker(second, {u"race"_s, m_db->connectString(), u"2"_s, QString::number(Rounds)});
    for (QProcess *worker : {&first, &second}) {
        QVERIFY(worker->waitForFinished(60000));
        const QByteArray errors = worker->readAllStandardError();
        QVERIFY2(worker->exitStatus() == QProcess::NormalExit && worker->exitCode() == 0, errors.constData());
        QCOMPARE(worker->readAllStandardOutput().count("Runde "), Rounds);
    }

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    const QList<WorkerPosition> stored = ReadWorkerPositions(factory);
    // 20 rows each at first, one more in each further round, each stored once.
    QCOMPARE(stored.size(), 2 * (20 + Rounds - 1));
    for (const WorkerPosition &position : stored) {
        QCOMPARE(position.properties.at(7).second, QString(QString::number(Rounds - 1) + u".5"));
        QCOMPARE(position.properties.at(5).second, QString::number(position.tag * 100000 + position.n));
    }
}

// Two clients changing the same positions over and over: a write goes
// through only over the price its client had read; one that would go over
// a price the client had not seen is refused and counted. So the history of
// the prices is exactly the writes the clients made, each from the price it
// read, and nothing else.
void TestProcesses::twoClientsChangeTheSamePositions()
{
    constexpr int Shared = 10;
    constexpr int Rounds = 30;
    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    QStringList ids;
    for (int n = 0; n < Shared; ++n) {
        auto position = factory.createNew(u"Konkur.Konkur"_s);
        for (const auto &[name, value] : QList<std::pair<QString, QString>>{
                 {u"Firma"_s, workerrows::Firm}, {u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"200004"_s},
                 {u"Preistyp"_s, u"L"_s}, {u"DatumAb"_s, QDate(2026, 1, 1).addDays(n).toString(Qt::ISODate)},
                 {u"PreisExcl"_s, u"1"_s}, {u"notiz"_s, u"geteilt"_s}})
            position->setProperty(name, value);
        position->sys_save();
        ids << position->sys_ID();
    }
    QProcess first;
    QProcess second;
    startWorker(first, {u"contend"_s, m_db->connectString(), u"1"_s, QString::number(Rounds)});
    startWorker(second, {u"contend"_s, m_db->connectString(), u"2"_s, QString::number(Rounds)});
    int writes = 0;
    int conflicts = 0;
    QStringList written;  // "id old new" of every write the workers made
    static const QRegularExpression summary(u"Schreiben (\\d+) Konflikte (\\d+)"_s);
    for (QProcess *worker : {&first, &second}) {
        QVERIFY(worker->waitForFinished(120000));
        const QByteArray errors = worker->readAllStandardError();
        QVERIFY2(worker->exitStatus() == QProcess::NormalExit && worker->exitCode() == 0, errors.constData());
        const QString output = QString::fromUtf8(worker->readAllStandardOutput());
        const QRegularExpressionMatch match = summary.match(output);
        QVERIFY(match.hasMatch());
        writes += match.captured(1).toInt();
        conflicts += match.captured(2).toInt();
        for (const QString &line : output.split(u'\n')) {
            if (line.startsWith(u"geschrieben "))
                written << line.mid(12);
        }
    }
    QCOMPARE(writes + conflicts, 2 * Rounds * Shared);
    QCOMPARE(written.size(), writes);
    qInfo("%d writes, %d refused", writes, conflicts);

    QStringList recorded;
    for (const QString &id : std::as_const(ids)) {
        auto result = factory.openQuery(u"Konkur.Verlauf"_s, u"Objekt"_s);
        result->execute({u"Konkur.Konkur"_s, id});
        while (result->next()) {
            if (result->getColumn(7) == u"A" && result->getColumn(8) == u"PreisExcl")
                recorded << id + u' ' + result->getColumn(9) + u' ' + result->getColumn(10);
        }
        result->close();
    }
    // Prices are stored as the grid sends them: "1000" for 1000.0, "1" for the first.
    written.sort();
    recorded.sort();
    QCOMPARE(recorded, written);
}

QTEST_GUILESS_MAIN(TestProcesses)
#include "tst_processes.moc"
