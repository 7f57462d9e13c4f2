#pragma once

#include <QDate>
#include <QHash>
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

// The points of a competitor's step line: each price from its first day to
// the day after its last, so that the line jumps where the next begins.
QList<QPointF> StepPoints(const CompetitorHistory &history);

// The chart of "Preisverlauf": one step line per competitor (named by
// code and name), and the own price today as a horizontal line "eigener
// Preis" over the whole time shown; time on a date axis, prices on a value
// axis.
QChart *PriceHistoryChart(const QList<CompetitorHistory> &histories, std::optional<double> ownPrice,
                          const QHash<QString, QString> &names, const QDate &today);

} // namespace tolven
