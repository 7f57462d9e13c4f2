#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTest>

#include <memory>

#include "analysis/PriceHistory.h"
#include "analysis/PriceHistoryChart.h"
#include "analysis/PriceHistoryDialog.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QDate Today(2026, 3, 2);

PricePosition Position(const QString &competitor, double price, const QDate &from, const QDate &to = QDate(),
                       double quantity = 1, const QString &priceType = u"L"_s)
{
    PricePosition position;
    position.competitor = competitor;
    position.article = u"100001"_s;
    position.priceType = priceType;
    position.from = from;
    position.to = to;
    position.quantity = quantity;
    position.price = price;
    return position;
}

struct Step
{
    QDate from;
    QDate until;
    double price;
    bool operator==(const Step &) const = default;
};

QList<Step> StepsOf(const CompetitorHistory &history)
{
    QList<Step> steps;
    for (const PriceStep &step : history.steps)
        steps << Step{step.from, step.until, step.price};
    return steps;
}

// For the report of a failed comparison.
char *toString(const Step &step)
{
    return qstrdup(qPrintable(step.from.toString(Qt::ISODate) + u".." + step.until.toString(Qt::ISODate) + u" "
                              + QString::number(step.price)));
}

} // namespace

// The price history of one article: each competitor's prices as steps over
// time, the changes between them, and the chart's series.
class TestPriceHistory : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void competitorsInOrderWithoutPricelessPositions();
    void changes();
    void chartSeries();
    void gapStartsANewLine();
    void pointText();
};

void TestPriceHistory::steps_data()
{
    QTest::addColumn<PricePositions>("positions");
    QTest::addColumn<QList<Step>>("steps");

    const QDate jan(2026, 1, 1);
    const QDate feb(2026, 2, 1);
    QTest::newRow("open price runs to today") << PricePositions{Position(u"A"_s, 10, jan)}
                                              << QList<Step>{{jan, Today, 10}};
    QTest::newRow("a price starting after today is shown to its start")
        << PricePositions{Position(u"A"_s, 10, Today.addDays(5))}
        << QList<Step>{{Today.addDays(5), Today.addDays(5), 10}};
    QTest::newRow("end date") << PricePositions{Position(u"A"_s, 10, jan, QDate(2026, 1, 20))}
                              << QList<Step>{{jan, QDate(2026, 1, 20), 10}};
    QTest::newRow("the next price ends the one before")
        << PricePositions{Position(u"A"_s, 11, feb), Position(u"A"_s, 10, jan, QDate(2026, 12, 31))}
        << QList<Step>{{jan, QDate(2026, 1, 31), 10}, {feb, Today, 11}};
    QTest::newRow("a gap after an end date")
        << PricePositions{Position(u"A"_s, 10, jan, QDate(2026, 1, 10)), Position(u"A"_s, 12, feb)}
        << QList<Step>{{jan, QDate(2026, 1, 10), 10}, {feb, Today, 12}};
    QTest::newRow("several price types on one day: the lowest")
        << PricePositions{Position(u"A"_s, 10, jan, {}, 1, u"LISTE"_s), Position(u"A"_s, 9, jan, {}, 1, u"AKTION"_s),
                          Position(u"A"_s, 11, feb, {}, 1, u"LISTE"_s)}
        << QList<Step>{{jan, QDate(2026, 1, 31), 9}, {feb, Today, 11}};
    QTest::newRow("the smallest quantity only")
        << PricePositions{Position(u"A"_s, 8, jan, {}, 50), Position(u"A"_s, 10, feb, {}, 1)}
        << QList<Step>{{feb, Today, 10}};
}

void TestPriceHistory::steps()
{
    QFETCH(PricePositions, positions);
    QFETCH(QList<Step>, steps);
    const QList<CompetitorHistory> histories = PriceHistoryOf(positions, Today);
    QCOMPARE(histories.size(), 1);
    QCOMPARE(StepsOf(histories.first()), steps);
}

void TestPriceHistory::competitorsInOrderWithoutPricelessPositions()
{
    PricePosition priceless = Position(u"C"_s, 0, QDate(2026, 1, 1));
    priceless.price.reset();
    const PricePositions positions{Position(u"B"_s, 10, QDate(2026, 1, 1)), priceless,
                                   Position(u"A"_s, 10, QDate()), Position(u"A"_s, 9, QDate(2026, 2, 1))};
    const QList<CompetitorHistory> histories = PriceHistoryOf(positions, Today);
    QCOMPARE(histories.size(), 2);
    QCOMPARE(histories.at(0).competitor, u"A"_s);
    QCOMPARE(histories.at(0).steps.size(), 1);
    QCOMPARE(histories.at(1).competitor, u"B"_s);
}

void TestPriceHistory::changes()
{
    const PricePositions positions{Position(u"A"_s, 10, QDate(2026, 1, 1), QDate(2026, 1, 31)),
                                   Position(u"A"_s, 10, QDate(2026, 2, 1), QDate(2026, 2, 10)),
                                   Position(u"A"_s, 12.5, QDate(2026, 2, 11)),
                                   Position(u"B"_s, 8, QDate(2026, 1, 15), QDate(2026, 1, 31)),
                                   Position(u"B"_s, 6, QDate(2026, 2, 11))};
    const QList<PriceChange> changes = PriceChangesOf(PriceHistoryOf(positions, Today));
    // A's second price is the same as its first: no change. By date, then competitor.
    QCOMPARE(changes.size(), 4);
    QCOMPARE(changes.at(0).competitor, u"A"_s);
    QVERIFY(!changes.at(0).previous);
    QVERIFY(!changes.at(0).percent);
    QCOMPARE(changes.at(1).competitor, u"B"_s);
    QCOMPARE(changes.at(1).date, QDate(2026, 1, 15));
    QCOMPARE(changes.at(2).competitor, u"A"_s);
    QCOMPARE(changes.at(2).date, QDate(2026, 2, 11));
    QCOMPARE(changes.at(2).previous, std::optional<double>(10));
    QCOMPARE(changes.at(2).percent, std::optional<double>(25));
    QCOMPARE(changes.at(3).competitor, u"B"_s);
    QCOMPARE(changes.at(3).percent, std::optional<double>(-25));
}

void TestPriceHistory::chartSeries()
{
    const PricePositions positions{Position(u"A"_s, 10, QDate(2026, 1, 1), QDate(2026, 12, 31)),
                                   Position(u"A"_s, 11, QDate(2026, 2, 1)), Position(u"B"_s, 9, QDate(2026, 2, 20))};
    const QList<CompetitorHistory> histories = PriceHistoryOf(positions, Today);
    std::unique_ptr<QChart> chart(PriceHistoryChart(histories, 10.5, Today));
    const QList<QAbstractSeries *> series = chart->series();
    QCOMPARE(series.size(), 3);
    auto *a = qobject_cast<QLineSeries *>(series.at(0));
    auto *b = qobject_cast<QLineSeries *>(series.at(1));
    auto *own = qobject_cast<QLineSeries *>(series.at(2));
    QVERIFY(a && b && own);
    QCOMPARE(a->name(), u"A"_s);
    QCOMPARE(b->name(), u"B"_s);
    QCOMPARE(own->name(), u"eigener Preis"_s);
    // Each step from its first day to the day after its last: the line jumps
    // where the next price begins.
    const QList<QPointF> aPoints{{ChartDay(QDate(2026, 1, 1)), 10}, {ChartDay(QDate(2026, 2, 1)), 10},
                                 {ChartDay(QDate(2026, 2, 1)), 11}, {ChartDay(QDate(2026, 3, 3)), 11}};
    QCOMPARE(a->points(), aPoints);
    QCOMPARE(b->points(), (QList<QPointF>{{ChartDay(QDate(2026, 2, 20)), 9}, {ChartDay(QDate(2026, 3, 3)), 9}}));
    // The own price over the whole time shown.
    QCOMPARE(own->points(), (QList<QPointF>{{ChartDay(QDate(2026, 1, 1)), 10.5}, {ChartDay(QDate(2026, 3, 3)), 10.5}}));

    std::unique_ptr<QChart> withoutOwn(PriceHistoryChart(histories, std::nullopt, Today));
    QCOMPARE(withoutOwn->series().size(), 2);
}

void TestPriceHistory::gapStartsANewLine()
{
    // Nothing from 11.1. to 31.1.: no line across it; both lines A's.
    const PricePositions positions{Position(u"A"_s, 10, QDate(2026, 1, 1), QDate(2026, 1, 10)),
                                   Position(u"A"_s, 12, QDate(2026, 2, 1))};
    const QList<CompetitorHistory> histories = PriceHistoryOf(positions, Today);
    QCOMPARE(StepLines(histories.first()),
             (QList<QList<QPointF>>{{{ChartDay(QDate(2026, 1, 1)), 10}, {ChartDay(QDate(2026, 1, 11)), 10}},
                                    {{ChartDay(QDate(2026, 2, 1)), 12}, {ChartDay(QDate(2026, 3, 3)), 12}}}));
    QChartView view(PriceHistoryChart(histories, std::nullopt, Today));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QChart *chart = view.chart();
    const QList<QAbstractSeries *> series = chart->series();
    QCOMPARE(series.size(), 2);
    QCOMPARE(series.at(1)->name(), u"A"_s);
    QCOMPARE(static_cast<QLineSeries *>(series.at(1))->color(), static_cast<QLineSeries *>(series.at(0))->color());
    QCOMPARE(chart->legend()->markers(series.at(0)).first()->isVisible(), true);
    QCOMPARE(chart->legend()->markers(series.at(1)).first()->isVisible(), false);
}

void TestPriceHistory::pointText()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(PriceHistoryDialog::PointText(u"WERKHOF"_s, QPointF(ChartDay(QDate(2026, 2, 14)), 12.346)),
             u"WERKHOF: 14.02.2026  12,35"_s);
    QCOMPARE(DayOfChart(ChartDay(QDate(2026, 3, 29))), QDate(2026, 3, 29));
}

QTEST_MAIN(TestPriceHistory)
#include "tst_pricehistory.moc"
