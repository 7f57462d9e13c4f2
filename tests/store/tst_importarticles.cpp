#include <QTest>

#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "support/FirmFixture.h"

using namespace Qt::StringLiterals;

using testsupport::Properties;

// The query "Importartikel" of Konkur.Konkur, with which the import finds
// the articles of a whole file: by number and by central number, only the
// firm's own, and their ArtikelDaten answered from what it read, exactly as
// a fresh call answers them, without a statement of their own.
class TestImportArticles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void init();
    void cleanup() { m_fixture.end(); }
    void cleanupTestCase() { m_fixture.dropDatabases(); }

    void articlesFound_data();
    void articlesFound();
    void articleDataWithoutAStatement();
    void tooManyNumbersAreRefused();

private:
    QList<QStringList> rows(const QString &numbers, const QString &centrals);

    testsupport::FirmFixture m_fixture;
};

void TestImportArticles::init()
{
    if (!m_fixture.begin())
        return;
    const Properties article{{u"MwSt"_s, u"19"_s}, {u"Sammel"_s, u"N"_s}, {u"VKE"_s, u"SCK"_s}, {u"VRE"_s, u"SCK"_s},
                             {u"VKPreis"_s, u"10.00"_s}};
    m_fixture.save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100001"_s}, {u"Bez"_s, u"Zement"_s},
                                                          {u"ZAnr"_s, u"41000001"_s}});
    m_fixture.save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100002"_s}, {u"Bez"_s, u"Kalk"_s},
                                                          {u"ZAnr"_s, u"41000002"_s}});
    m_fixture.save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"100010"_s}, {u"Bez"_s, u"Kalk, lose"_s},
                                                          {u"ZAnr"_s, u"41000002"_s}});
    m_fixture.save(u"TV.Artikel"_s, article + Properties{{u"Artnr"_s, u"9"_s}, {u"Bez"_s, u"Alt"_s}});
    m_fixture.save(u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, u"100001"_s}, {u"MengeAb"_s, u"50"_s}, {u"Preis"_s, u"8.36"_s}});
}

QList<QStringList> TestImportArticles::rows(const QString &numbers, const QString &centrals)
{
    auto result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Importartikel"_s);
    result->execute({m_fixture.firm(), numbers, centrals});
    QList<QStringList> found;
    while (result->next())
        found << QStringList{result->getColumn(1), result->getColumn(2)};
    result->close();
    return found;
}

void TestImportArticles::articlesFound_data()
{
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("centrals");
    QTest::addColumn<QList<QStringList>>("found");

    QTest::newRow("by number, in numeric order")
        << u"100010`9`100001`999999"_s << QString()
        << QList<QStringList>{{u"9"_s, QString()}, {u"100001"_s, u"41000001"_s}, {u"100010"_s, u"41000002"_s}};
    QTest::newRow("by central number, all that carry it")
        << QString() << u"41000002`40000000"_s
        << QList<QStringList>{{u"100002"_s, u"41000002"_s}, {u"100010"_s, u"41000002"_s}};
    QTest::newRow("both, each once") << u"100001"_s << u"41000001"_s
                                     << QList<QStringList>{{u"100001"_s, u"41000001"_s}};
    QTest::newRow("nothing asked") << QString() << u"``"_s << QList<QStringList>{};
    QTest::newRow("a pattern is no pattern") << u"1000%`100_01"_s << u"%"_s << QList<QStringList>{};
}

void TestImportArticles::articlesFound()
{
    QFETCH(QString, numbers);
    QFETCH(QString, centrals);
    QFETCH(QList<QStringList>, found);
    QCOMPARE(rows(numbers, centrals), found);
}

void TestImportArticles::articleDataWithoutAStatement()
{
    const QString firm = m_fixture.firm();
    const QList<QStringList> calls{{firm, u"100001"_s, u"1"_s}, {firm, u"100001"_s, u"50"_s},
                                   {firm, u"100002"_s, u"0"_s}, {firm, u"9"_s, u"2.5"_s}};
    QStringList fresh;
    {
        store::StoreFactory other;
        QVERIFY(other.connect(m_fixture.database().connectString()));
        auto positions = other.classObject(u"Konkur.Konkur"_s);
        for (const QStringList &call : calls)
            fresh << positions->callMethod(u"ArtikelDaten"_s, call);
    }
    auto positions = m_fixture.factory().classObject(u"Konkur.Konkur"_s);
    auto result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Importartikel"_s);
    result->execute({firm, u"100001`100002`9"_s, QString()});
    while (result->next()) {
    }
    const quint64 sentBefore = store::Session::statementsSent();
    QStringList answers;
    for (const QStringList &call : calls)
        answers << positions->callMethod(u"ArtikelDaten"_s, call);
    QCOMPARE(store::Session::statementsSent() - sentBefore, quint64(0));
    result->close();
    QCOMPARE(answers, fresh);
    QVERIFY(answers.at(1) != answers.at(0)); // the tier from 50 on
}

void TestImportArticles::tooManyNumbersAreRefused()
{
    QStringList numbers;
    for (int n = 0; n <= 5000; ++n)
        numbers << QString::number(100000 + n);
    auto result = m_fixture.factory().openQuery(u"Konkur.Konkur"_s, u"Importartikel"_s);
    try {
        result->execute({m_fixture.firm(), numbers.join(u'`'), QString()});
        QFAIL("5001 numbers were taken");
    } catch (const tolven::AccessError &error) {
        QCOMPARE(error.description(),
                 u"Mehr als 5000 Artikel für die Abfrage \"Importartikel\" der Klasse Konkur.Konkur."_s);
    }
    numbers.removeLast();
    QCOMPARE(rows(numbers.join(u'`'), numbers.join(u'`')).size(), 3);
}

QTEST_MAIN(TestImportArticles)
#include "tst_importarticles.moc"
