#pragma once

#include <QDate>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

#include "analysis/PriceHistory.h"

class QChart;

namespace tolven {

// The x value of a day on the chart: its start in milliseconds since the epoch.
double ChartDay(const QDate &day);
QDate DayOfChart(double x);

// The lines of a competitor's steps: each price from its first day to the
// day after its last, so that the line jumps where the next begins; a day
// without a price between two starts a new line.
QList<QList<QPointF>> StepLines(const CompetitorHistory &history);

// The chart of "Preisverlauf": the step lines of each competitor (a series
// per line, named by its code, in one colour, in the legend once), and the
// own price today as a horizontal line "eigener Preis" over the whole time
// shown; time on a date axis, prices on a value axis.
QChart *PriceHistoryChart(const QList<CompetitorHistory> &histories, std::optional<double> ownPrice,
                          const QDate &today);

} // namespace tolven
