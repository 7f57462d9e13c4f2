#include <QAbstractItemModelTester>
#include <QColor>
#include <QTest>

#include <optional>

#include "lookup/ArticleHitModel.h"
#include "lookup/TolvenSu.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

QString Page(int entries)
{
    return QStringList(entries, u"100001`Artikel`2"_s).join(ListEntrySeparator);
}

} // namespace

// The rules of the look-up module that hold whatever the server answers: the
// supplier number in the name command and the paging of the article list up
// to the hit table's limit.
class TestTolvenSu : public QObject
{
    Q_OBJECT

private slots:
    void supplierNameCommand_data();
    void supplierNameCommand();
    void paging_data();
    void paging();
};

void TestTolvenSu::supplierNameCommand_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("six digits") << u"070001"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("seven digits") << u"1234567"_s << false;
    QTest::newRow("command inside") << u"1,1)) K ^B"_s << false;
    QTest::newRow("Arabic-Indic digit") << QString::fromUtf16(u"7\u0663") << false;
}

void TestTolvenSu::supplierNameCommand()
{
    QFETCH(QString, number);
    QFETCH(bool, accepted);
    const std::optional<QString> command = SupplierNameCommand(number);
    QCOMPARE(command.has_value(), accepted);
    if (accepted)
        QCOMPARE(*command, uR"(S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,"L",070001,1)),%,2)) W:$F($ZV,"MSM") P0)"_s);
}

void TestTolvenSu::paging_data()
{
    QTest::addColumn<QList<int>>("pages");     // entries of each answer the server has
    QTest::addColumn<int>("firstRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("answers");          // how many the list asks for
    QTest::addColumn<bool>("exhausted");
    QTest::newRow("no hit") << QList<int>{0} << 0 << 0 << 1 << true;
    QTest::newRow("three hits") << QList<int>{3} << 3 << 3 << 1 << true;
    QTest::newRow("four, then none") << QList<int>{4, 0} << 6 << 4 << 2 << true;
    QTest::newRow("eight, then one") << QList<int>{4, 4, 1} << 6 << 9 << 3 << true;
    QTest::newRow("still paging") << QList<int>{4, 4} << 6 << 12 << 2 << false;
    const int pagesToLimit = ArticleHitModel::MaxHits / ArticleHitModel::PageSize;
    QTest::newRow("hit table full") << QList<int>(pagesToLimit + 1, 4) << 6 << ArticleHitModel::MaxHits
                                    << pagesToLimit << true;
}

void TestTolvenSu::paging()
{
    QFETCH(QList<int>, pages);
    QFETCH(int, firstRows);
    QFETCH(int, rows);
    QFETCH(int, answers);
    QFETCH(bool, exhausted);
    ArticleHitModel model;
    // The tester reads all rows at every change: too slow for the full table.
    std::optional<QAbstractItemModelTester> tester;
    if (rows < 100)
        tester.emplace(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    int fetched = 0;
    const auto nextPage = [&] {
        if (fetched < pages.size())
            model.addPage(Page(pages.at(fetched++)));
    };
    model.setPageFetcher(nextPage);
    nextPage();
    QCOMPARE(model.rowCount(), firstRows);
    // A row beyond the hits reads empty; the page for it is fetched after
    // the view has read its rows, never while it does.
    if (model.rowCount() > model.hitCount()) {
        QCOMPARE(model.index(model.hitCount(), 0).data().toString(), QString());
        QCOMPARE(fetched, 1);
        QTRY_COMPARE(fetched, 2);
    }
    while (fetched < pages.size() && model.canFetchMore({}))
        model.fetchMore({});
    QCOMPARE(fetched, answers);
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.isExhausted(), exhausted);
    QCOMPARE(model.canFetchMore({}), !exhausted);
    if (model.rowCount() > 1) {
        QCOMPARE(model.index(0, 0).data(Qt::BackgroundRole), QVariant(QColor(255, 255, 180)));
        QCOMPARE(model.index(1, 2).data(Qt::BackgroundRole), QVariant(QColor(Qt::white)));
    }
}

QTEST_MAIN(TestTolvenSu)
#include "tst_tolvensu.moc"
