#include <QFont>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

#include "analysis/PriceMarks.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

// Column 1 holds a competitor's price, compared with an own price of 10.
PriceMark MarkOf(const QStandardItemModel &model, int row)
{
    const QVariant price = model.index(row, 1).data();
    return ComparePrice(price.isValid() ? std::optional<double>(price.toDouble()) : std::nullopt, 10.0, {}, {});
}

QList<QStandardItem *> Row(double price)
{
    return {new QStandardItem(u"x"_s), new QStandardItem(QString::number(price))};
}

} // namespace

// The marks kept per row follow the model's rows through every change, and
// the counts with them; painting asks nothing of the rows.
class TestPriceMarks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void marksFollowTheRows();
    void lookOfTheMarkedColumnOnly();
    void countsInTheLocalesNotation();
};

void TestPriceMarks::marksFollowTheRows()
{
    QStandardItemModel model;
    model.appendRow(Row(9));   // below
    model.appendRow(Row(11));  // above
    model.appendRow(Row(10));  // equal
    int asked = 0;
    PriceMarks marks(model, 1, [&](int row) {
        ++asked;
        return MarkOf(model, row);
    });
    QSignalSpy counts(&marks, &PriceMarks::countsChanged);
    QCOMPARE(marks.countText(), u"1 unter, 1 über eigenem Preis"_s);

    model.insertRow(1, Row(5));
    QCOMPARE(marks.below(), 2);
    QCOMPARE(int(marks.mark(1).relation), int(PriceRelation::Below));
    QCOMPARE(int(marks.mark(2).relation), int(PriceRelation::Above));
    QCOMPARE(counts.size(), 1);

    // A change that leaves the counts as they were says nothing.
    model.setData(model.index(3, 1), u"10"_s);
    QCOMPARE(counts.size(), 1);
    model.setData(model.index(3, 1), u"12"_s);
    QCOMPARE(marks.above(), 2);
    QCOMPARE(counts.size(), 2);

    model.removeRows(0, 2);
    QCOMPARE(marks.below(), 0);
    QCOMPARE(marks.above(), 2);
    QCOMPARE(int(marks.mark(0).relation), int(PriceRelation::Above));

    // Painting reads what was kept.
    asked = 0;
    for (int row = 0; row < model.rowCount(); ++row)
        marks.look(row, 1, Qt::BackgroundRole);
    QCOMPARE(asked, 0);

    model.clear();
    QCOMPARE(marks.countText(), u"0 unter, 0 über eigenem Preis"_s);
}

void TestPriceMarks::lookOfTheMarkedColumnOnly()
{
    QStandardItemModel model;
    model.appendRow(Row(9));
    PriceMarks marks(model, 1, [&](int row) { return MarkOf(model, row); });
    QVERIFY(marks.look(0, 1, Qt::BackgroundRole).isValid());
    QVERIFY(marks.look(0, 1, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(marks.look(0, 1, Qt::ToolTipRole).toString(), u"10,0 % unter eigenem Preis"_s);
    QVERIFY(!marks.look(0, 0, Qt::BackgroundRole).isValid());
    QVERIFY(!marks.look(0, 1, Qt::DisplayRole).isValid());
    QVERIFY(!marks.look(1, 1, Qt::BackgroundRole).isValid());
}

void TestPriceMarks::countsInTheLocalesNotation()
{
    QStandardItemModel model;
    for (int row = 0; row < 1234; ++row)
        model.appendRow(Row(1));
    PriceMarks marks(model, 1, [&](int row) { return MarkOf(model, row); });
    QCOMPARE(marks.countText(), u"1.234 unter, 0 über eigenem Preis"_s);
}

QTEST_MAIN(TestPriceMarks)
#include "tst_pricemarks.moc"
