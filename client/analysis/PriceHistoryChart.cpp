#include "PriceHistoryChart.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QHash>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <algorithm>

#include "common/DisplayFormat.h"

using namespace Qt::StringLiterals;

namespace tolven {

double ChartDay(const QDate &day)
{
    return double(day.startOfDay().toMSecsSinceEpoch());
}

QDate DayOfChart(double x)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(x)).date();
}

QList<QPointF> StepPoints(const CompetitorHistory &history)
{
    QList<QPointF> points;
    for (const PriceStep &step : history.steps) {
        points << QPointF(ChartDay(step.from), step.price) << QPointF(ChartDay(step.until.addDays(1)), step.price);
    }
    return points;
}

QChart *PriceHistoryChart(const QList<CompetitorHistory> &histories, std::optional<double> ownPrice,
                          const QHash<QString, QString> &names, const QDate &today)
{
    auto *chart = new QChart;
    auto *time = new QDateTimeAxis(chart);
    time->setFormat(DisplayDateFormat());
    time->setTitleText(u"Datum"_s);
    auto *prices = new QValueAxis(chart);
    prices->setTitleText(u"Preis incl."_s);
    prices->setLabelFormat(u"%.2f"_s);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(prices, Qt::AlignLeft);

    double first = ChartDay(today);
    double last = ChartDay(today.addDays(1));
    double low = ownPrice.value_or(0);
    double high = ownPrice.value_or(1);
    bool any = ownPrice.has_value();
    for (const CompetitorHistory &history : histories) {
        auto *series = new QLineSeries(chart);
        const QString name = names.value(history.competitor);
        series->setName(name.isEmpty() ? history.competitor : history.competitor + u" " + name);
        const QList<QPointF> points = StepPoints(history);
        series->append(points);
        series->setPointsVisible(false);
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(prices);
        for (const QPointF &point : points) {
            first = std::min(first, point.x());
            last = std::max(last, point.x());
            low = any ? std::min(low, point.y()) : point.y();
            high = any ? std::max(high, point.y()) : point.y();
            any = true;
        }
    }
    if (ownPrice) {
        auto *own = new QLineSeries(chart);
        own->setName(u"eigener Preis"_s);
        own->setObjectName(u"eigenerPreis"_s);
        QPen pen(Qt::black);
        pen.setStyle(Qt::DashLine);
        pen.setWidthF(1.5);
        own->setPen(pen);
        own->append(first, *ownPrice);
        own->append(last, *ownPrice);
        chart->addSeries(own);
        own->attachAxis(time);
        own->attachAxis(prices);
    }
    time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(first)),
                   QDateTime::fromMSecsSinceEpoch(qint64(last)));
    const double margin = std::max((high - low) * 0.1, 0.5);
    prices->setRange(std::max(0.0, low - margin), high + margin);
    prices->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

} // namespace tolven
