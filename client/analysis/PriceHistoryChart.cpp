#include "PriceHistoryChart.h"

#include <QChart>
#include <QLocale>
#include <QDateTimeAxis>
#include <QLegend>
#include <QLegendMarker>
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

namespace {

// Twelve colours told apart also in print (the chart theme has five); more
// competitors than that repeat them dashed.
QPen CompetitorPen(int competitor)
{
    static const QColor colours[] = {
        QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
        QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f),
        QColor(0xbc, 0xbd, 0x22), QColor(0x17, 0xbe, 0xcf), QColor(0x00, 0x00, 0x80), QColor(0x80, 0x80, 0x00)};
    constexpr int count = int(std::size(colours));
    QPen pen(colours[competitor % count]);
    pen.setWidthF(2);
    if (competitor >= count)
        pen.setStyle(Qt::DashDotLine);
    return pen;
}

} // namespace

QList<QList<QPointF>> StepLines(const CompetitorHistory &history)
{
    QList<QList<QPointF>> lines;
    QDate next;
    for (const PriceStep &step : history.steps) {
        if (lines.isEmpty() || step.from != next)
            lines.append(QList<QPointF>());
        next = step.until.addDays(1);
        lines.last() << QPointF(ChartDay(step.from), step.price) << QPointF(ChartDay(next), step.price);
    }
    return lines;
}

QChart *PriceHistoryChart(const QList<CompetitorHistory> &histories, std::optional<double> ownPrice,
                          const QDate &today)
{
    auto *chart = new QChart;
    // The axis in the user's notation (2,50, not 2.50).
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale());
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
    for (int competitor = 0; competitor < histories.size(); ++competitor) {
        const CompetitorHistory &history = histories.at(competitor);
        bool inLegend = false;
        for (const QList<QPointF> &points : StepLines(history)) {
            // The code, as the grid shows it; the legend has no room for names.
            auto *series = new QLineSeries(chart);
            series->setName(history.competitor);
            series->append(points);
            chart->addSeries(series);
            series->attachAxis(time);
            series->attachAxis(prices);
            series->setPen(CompetitorPen(competitor));
            if (inLegend) {
                for (QLegendMarker *marker : chart->legend()->markers(series))
                    marker->setVisible(false);
            }
            inLegend = true;
            for (const QPointF &point : points) {
                first = std::min(first, point.x());
                last = std::max(last, point.x());
                low = any ? std::min(low, point.y()) : point.y();
                high = any ? std::max(high, point.y()) : point.y();
                any = true;
            }
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
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

} // namespace tolven
