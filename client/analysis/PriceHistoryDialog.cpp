#include "PriceHistoryDialog.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include "analysis/AnalysisFormat.h"
#include "analysis/PriceHistoryChart.h"
#include "common/DisplayFormat.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

QStandardItem *Item(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

PriceHistoryDialog::PriceHistoryDialog(const QString &article, const QString &description,
                                       const PricePositions &positions, std::optional<double> ownPrice,
                                       const QHash<QString, QString> &names, const QDate &today, QWidget *parent)
    : QDialog(parent)
    , m_histories(PriceHistoryOf(positions, today))
    , m_chartView(new QChartView(this))
    , m_hover(new QLabel(this))
    , m_changes(new QStandardItemModel(0, 6, this))
    , m_changesView(new QTableView(this))
{
    setObjectName(u"FMPreisverlauf"_s);
    setWindowTitle(u"Preisverlauf " + article + u" " + description);

    QChart *chart = PriceHistoryChart(m_histories, ownPrice, today);
    chart->setTitle(u"Art-Nr " + article + u"  " + description);
    m_chartView->setObjectName(u"verlauf"_s);
    m_chartView->setChart(chart);
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(360);
    for (QAbstractSeries *series : chart->series()) {
        auto *line = qobject_cast<QLineSeries *>(series);
        const QString name = names.value(line->name());
        const QString shown = name.isEmpty() ? line->name() : line->name() + u" (" + name + u')';
        connect(line, &QLineSeries::hovered, this, [this, shown](const QPointF &point, bool entered) {
            showPoint(shown, point, entered);
        });
    }
    m_hover->setObjectName(u"punkt"_s);
    m_hover->setText(u"Zeigen Sie auf eine Linie, um Datum und Preis zu sehen."_s);

    m_changes->setHorizontalHeaderLabels(
        {u"Datum"_s, u"Konkurerber"_s, u"Preistyp"_s, u"Preis incl."_s, u"vorher"_s, u"Änderung %"_s});
    for (const PriceChange &change : PriceChangesOf(m_histories)) {
        m_changes->appendRow({Item(DisplayDate(change.date), Qt::AlignHCenter), Item(change.competitor),
                              Item(change.priceType), Item(PriceText(change.price), Qt::AlignRight),
                              Item(change.previous ? PriceText(*change.previous) : QString(), Qt::AlignRight),
                              Item(change.percent ? PercentText(*change.percent) : u"erster Preis"_s,
                                   Qt::AlignRight)});
    }
    m_changesView->setObjectName(u"aenderungen"_s);
    m_changesView->setModel(m_changes);
    SetUpListView(*m_changesView);
    m_changesView->resizeColumnsToContents();

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_chartView);
    splitter->addWidget(m_changesView);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(u"S&chließen"_s, QDialogButtonBox::RejectRole)->setObjectName(u"BUSchliessen"_s);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_hover);
    layout->addWidget(buttons);
    resize(960, 760);
}

QString PriceHistoryDialog::PointText(const QString &series, const QPointF &point)
{
    return series + u": " + DisplayDate(DayOfChart(point.x())) + u"  " + PriceText(point.y());
}

void PriceHistoryDialog::showPoint(const QString &series, const QPointF &point, bool entered)
{
    if (!entered) {
        QToolTip::hideText();
        return;
    }
    const QString text = PointText(series, point);
    m_hover->setText(text);
    QToolTip::showText(QCursor::pos(), text, m_chartView);
}

} // namespace tolven
