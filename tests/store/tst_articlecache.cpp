#include <QTest>

#include "objectapi/ServerObject.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using testsupport::Properties;

namespace {

// A call of an article method of Konkur.Konkur.
struct Call
{
    QString method;
    QStringList arguments;
    QString answer(tolven::ServerObject &positions) const { return positions.callMethod(method, arguments); }
};

Call articleData(const QStringList &arguments)
{
    return {u"ArtikelDaten"_s, arguments};
}

} // namespace

// The article answers of a search: when the position query "Konkur" runs,
// the store reads the articles of its rows at once and answers the session's
// ArtikelDaten and ArtikelPreis calls for them from that. Every answer must
// be the one a fresh call gives: after a change by the ERP between two
// searches, after a change of the session's own, and never another firm's.
class TestArticleCache : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup();
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void searchAnswersAsAFreshCallWithoutAStatement_data();
    void searchAnswersAsAFreshCallWithoutAStatement();
    void changedArticleIsSeen_data();
    void changedArticleIsSeen();
    void anotherFirmsArticleIsNeverServed_data();
    void anotherFirmsArticleIsNeverServed();

private:
    QString save(const QString &className, const Properties &properties) { return m_fixture.save(className, properties); }
    // What a session of its own answers, one that never searched.
    QStringList freshAnswers(const QList<Call> &calls);
    QString fresh(const Call &call) { return freshAnswers({call}).first(); }
    QString answer(const Call &call) { return call.answer(*m_positions); }
    // Executes "Konkur" of the firm and reads every row, as the search does.
    std::unique_ptr<tolven::ResultSet> search(const QStringList &filters = {{}, {}, {}, {}});
    // Changes the article's description as the ERP does: in a session of its own.
    void erpSetsDescription(const QString &number, const QString &description);

    testsupport::FirmFixture m_fixture;
    std::unique_ptr<tolven::ServerObject> m_positions;
};

void TestArticleCache::init()
{
    if (!m_fixture.begin())
        return;
    m_positions = m_fixture.factory().classObject(u"Konkur.Konkur"_s);
    const Properties article{{u"MwSt"_s, u"19"_s}, {u"Sammel"_s, u"N"_s}, {u"VKE"_s, u"SCK"_s},
                             {u"VRE"_s, u"St}"_s}, {u"ZAnr"_s, u"40000001"_s}, {u"BruttoEK"_s, u"8.00"_s},
                             {u"NettoEK"_s, u"7.50"_s}, {u"VKMenge"_s, u"120"_s}, {u"Umsatz"_s, u"1000.00"_s},
                             {u"Rabatt"_s, u"250.00"_s}, {u"Einsatz"_s, u"800.00"_s}};
    save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100001"_s}, {u"Bez"_s, u"Fliesenkleber wei~"_s},
                                                {u"VKPreis"_s, u"10.00"_s}});
    save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100002"_s}, {u"Bez"_s, u"Diverses"_s},
                                                {u"Sammel"_s, u"J"_s}, {u"VKPreis"_s, u"1.00"_s}});
    save(u"TV.Artikel"_s, {{u"Artnr"_s, u"100003"_s}, {u"Bez"_s, u"Zement ohne Preis"_s}});
    save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100004"_s}, {u"Bez"_s, u"Nicht gelistet"_s}});
    // Tiers out of order, two alike: the one saved first counts.
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"50"_s}, {u"Preis"_s, u"8.36"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"10"_s}, {u"Preis"_s, u"9.00"_s}});
    save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"10.0"_s}, {u"Preis"_s, u"5.00"_s}});
    const Properties position{{u"Preistyp"_s, u"LISTE"_s}, {u"DatumAb"_s, u"2026-11-02"_s},
                              {u"MengeAb"_s, u"1.00"_s}, {u"PreisExcl"_s, u"10.00"_s},
                              {u"AendDatum"_s, u"2026-11-20"_s}};
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100001"_s}});
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"BAUFUCHS"_s}, {u"Artnr"_s, u"100001"_s}});
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"100002"_s},
                                                   {u"ArtBez"_s, u"Restposten Zement"_s}});
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"TANNE"_s}, {u"Artnr"_s, u"100003"_s}});
    // No such article, and none at all.
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, u"999999"_s}});
    save(u"Konkur.Konkur"_s, position + Properties{{u"konkur"_s, u"TANNE"_s}, {u"Artnr"_s, QString()}});
}

void TestArticleCache::cleanup()
{
    m_positions.reset();
    m_fixture.end();
}

QStringList TestArticleCache::freshAnswers(const QList<Call> &calls)
{
    store::StoreFactory factory;
    factory.connect(m_fixture.database().connectString());
    auto positions = factory.classObject(u"Konkur.Konkur"_s);
    QStringList answers;
    for (const Call &call : calls)
        answers << call.answer(*positions);
    return answers;
}

std::unique_ptr<tolven::ResultSet> TestArticleCache::search(const QStringList &filters)
{
    auto result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute(QStringList{m_fixture.firm()} + filters);
    while (result->next()) {
    }
    return result;
}

void TestArticleCache::erpSetsDescription(const QString &number, const QString &description)
{
    store::StoreFactory erp;
    erp.connect(m_fixture.database().connectString());
    auto article = erp.openById(u"TV.Artikel"_s, m_fixture.firm() + u"||" + number);
    article->setProperty(u"Bez"_s, description);
    article->sys_save();
}

void TestArticleCache::searchAnswersAsAFreshCallWithoutAStatement_data()
{
    QTest::addColumn<QStringList>("filters");  // competitor, article, text, changed since
    QTest::addColumn<bool>("callWhileReading");
    QTest::newRow("all positions") << QStringList{{}, {}, {}, {}} << false;
    QTest::newRow("all, called row by row") << QStringList{{}, {}, {}, {}} << true;
    QTest::newRow("competitor") << QStringList{u"WERKHOF"_s, {}, {}, {}} << false;
    QTest::newRow("article") << QStringList{{}, u"100001"_s, {}, {}} << true;
    QTest::newRow("text") << QStringList{{}, {}, u"zement"_s, {}} << false;
    QTest::newRow("short text") << QStringList{{}, {}, u"ze"_s, {}} << true;
    QTest::newRow("changed since") << QStringList{{}, {}, {}, u"2026-11-20"_s} << false;
}

void TestArticleCache::searchAnswersAsAFreshCallWithoutAStatement()
{
    QFETCH(QStringList, filters);
    QFETCH(bool, callWhileReading);
    const QString firm = m_fixture.firm();
    auto result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute(QStringList{firm} + filters);
    const quint64 sentBefore = store::Session::statementsSent();
    QList<Call> calls;
    QStringList answers;
    while (result->next()) {
        // Every quantity form the client sends.
        const QString number = result->getColumn(4);
        for (const Call &call : {articleData({firm, number}), articleData({firm, number, u"1"_s}),
                                 articleData({firm, number, u"10"_s}), articleData({firm, number, u"49,5"_s}),
                                 articleData({firm, number, u"50.00"_s}),
                                 Call{u"ArtikelPreis"_s, {firm, number, u"7"_s}}}) {
            calls << call;
            if (callWhileReading)
                answers << answer(call);
        }
    }
    if (!callWhileReading) {
        for (const Call &call : calls)
            answers << answer(call);
    }
    const quint64 sent = store::Session::statementsSent() - sentBefore;
    result->close();

    QVERIFY(!calls.isEmpty());
    QCOMPARE(answers, freshAnswers(calls));
    // The store read the articles with the rows: no statement of their own.
    QCOMPARE(sent, quint64(0));
    // An article the rows do not name is read as ever.
    QCOMPARE(answer(articleData({firm, u"100004"_s})), fresh(articleData({firm, u"100004"_s})));
}

namespace {

enum class Change {
    ErpBetweenSearches,
    ErpAfterTheSearchEnded,
    SessionSaves,
    SessionRollsBack,
    ErpThenFirmSetAgain,
    ErpThenAnotherQuery,
};

} // namespace

void TestArticleCache::changedArticleIsSeen_data()
{
    QTest::addColumn<Change>("change");
    QTest::newRow("ERP changes it between two searches") << Change::ErpBetweenSearches;
    QTest::newRow("ERP changes it after the search closed") << Change::ErpAfterTheSearchEnded;
    QTest::newRow("the session saves it during the search") << Change::SessionSaves;
    QTest::newRow("the session rolls its change back") << Change::SessionRollsBack;
    QTest::newRow("ERP changes it, the firm is set again") << Change::ErpThenFirmSetAgain;
    QTest::newRow("ERP changes it, another query runs") << Change::ErpThenAnotherQuery;
}

void TestArticleCache::changedArticleIsSeen()
{
    QFETCH(Change, change);
    const QString firm = m_fixture.firm();
    const Call call = articleData({firm, u"100001"_s, u"60"_s});
    auto result = search();
    const QString before = answer(call);
    auto sessionChangesPurchasePrice = [&] {
        auto article = m_fixture.factory().openById(u"TV.Artikel"_s, firm + u"||100001");
        article->setProperty(u"NettoEK"_s, u"6.00"_s);
        article->sys_save();
    };

    switch (change) {
    case Change::ErpBetweenSearches: {
        // A new text and a new tier, which changes the own price at 60.
        result->close();
        erpSetsDescription(u"100001"_s, u"Fliesenkleber grau"_s);
        store::StoreFactory erp;
        erp.connect(m_fixture.database().connectString());
        auto tier = erp.createNew(u"TV.ArtikelStaffel"_s);
        for (const auto &[name, value] : Properties{{u"Firma"_s, firm}, {u"Artnr"_s, u"100001"_s},
                                                    {u"MengeAb"_s, u"60"_s}, {u"Preis"_s, u"7.00"_s}})
            tier->setProperty(name, value);
        tier->sys_save();
        result = search();
        QVERIFY(answer(call).section(u'`', 2, 2) != before.section(u'`', 2, 2));
        break;
    }
    case Change::ErpAfterTheSearchEnded:
        result->close();
        erpSetsDescription(u"100001"_s, u"Fliesenkleber grau"_s);
        break;
    case Change::SessionSaves:
        sessionChangesPurchasePrice();
        break;
    case Change::SessionRollsBack:
        m_fixture.xecute(u"TSTART"_s);
        sessionChangesPurchasePrice();
        QCOMPARE(answer(call).section(u'`', 8, 8), u"6.00"_s);
        m_fixture.xecute(u"TROLLBACK"_s);
        QCOMPARE(answer(call), before);
        QCOMPARE(answer(call), fresh(call));
        return;
    case Change::ErpThenFirmSetAgain:
        erpSetsDescription(u"100001"_s, u"Fliesenkleber grau"_s);
        m_fixture.setSessionFirm();
        break;
    case Change::ErpThenAnotherQuery:
        erpSetsDescription(u"100001"_s, u"Fliesenkleber grau"_s);
        m_fixture.rows(u"Konkur.Konkur"_s, u"Einheiten"_s, {firm});
        break;
    }
    const QString after = answer(call);
    QVERIFY2(after != before, qPrintable(after));
    QCOMPARE(after, fresh(call));
}

void TestArticleCache::anotherFirmsArticleIsNeverServed_data()
{
    QTest::addColumn<QString>("asked");  // "other": the other firm; else a form of the searched firm
    QTest::newRow("another firm") << u"other"_s;
    QTest::newRow("the firm with a leading zero") << u"0"_s;
}

void TestArticleCache::anotherFirmsArticleIsNeverServed()
{
    QFETCH(QString, asked);
    const QString firm = m_fixture.firm();
    const QString other = m_fixture.newFirm();
    m_fixture.setFirm(other);
    save(u"TV.Artikel"_s, {{u"Artnr"_s, u"100001"_s}, {u"Bez"_s, u"Anderer Artikel"_s}, {u"MwSt"_s, u"7"_s},
                           {u"VKPreis"_s, u"3.00"_s}});
    m_fixture.setFirm(firm);
    const QString askedFirm = asked == u"other" ? other : u'0' + firm;

    auto result = search();
    const Call searched = articleData({firm, u"100001"_s});
    const QString searchedAnswer = answer(searched);
    for (const Call &call : {articleData({askedFirm, u"100001"_s}), Call{u"ArtikelPreis"_s, {askedFirm, u"100001"_s, u"1"_s}}}) {
        QCOMPARE(answer(call), fresh(call));
        QVERIFY(answer(call) != searchedAnswer);
    }
    // And the searched firm's answers stay its own.
    QCOMPARE(answer(searched), searchedAnswer);
    QCOMPARE(searchedAnswer, fresh(searched));
    result->close();
}

QTEST_GUILESS_MAIN(TestArticleCache)
#include "tst_articlecache.moc"
