#pragma once

#include <QDialog>
#include <QHash>

#include <optional>

#include "analysis/PriceHistory.h"

class QChartView;
class QLabel;
class QStandardItemModel;
class QTableView;

namespace tolven {

// "Preisverlauf": every stored price of one article from every competitor as
// step lines over time, the own price today as a line beside them, and
// below them each price change with its change against the previous price.
// Hovering over a line shows its date and price.
class PriceHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    PriceHistoryDialog(const QString &article, const QString &description, const PricePositions &positions,
                       std::optional<double> ownPrice, const QHash<QString, QString> &names, const QDate &today,
                       QWidget *parent = nullptr);

    const QList<CompetitorHistory> &histories() const { return m_histories; }
    QChartView &chartView() const { return *m_chartView; }
    QTableView &changesView() const { return *m_changesView; }
    // What hovering shows for a point of a series: "WERKHOF: 02.03.2026 12,34".
    static QString PointText(const QString &series, const QPointF &point);

private:
    void showPoint(const QString &series, const QPointF &point, bool entered);

    QList<CompetitorHistory> m_histories;
    QChartView *m_chartView;
    QLabel *m_hover;
    QStandardItemModel *m_changes;
    QTableView *m_changesView;
};

} // namespace tolven
