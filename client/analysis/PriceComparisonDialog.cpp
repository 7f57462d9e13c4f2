#include "PriceComparisonDialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "access/Clock.h"
#include "analysis/AnalysisFormat.h"
#include "analysis/ComparisonModel.h"
#include "analysis/IndexModel.h"
#include "analysis/PriceComparison.h"
#include "analysis/PriceIndex.h"
#include "common/DisplayFormat.h"
#include "output/GridPrint.h"
#include "output/PositionOutput.h"

using namespace Qt::StringLiterals;

namespace tolven {

// The comparison's rows, sorted by their values, and with "nur unterboten"
// only those a competitor undercuts.
class UndercutFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setOnlyUndercut(bool only)
    {
        m_onlyUndercut = only;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override
    {
        return !m_onlyUndercut
            || sourceModel()->index(sourceRow, 0, sourceParent).data(ComparisonModel::UndercutRole).toBool();
    }

private:
    bool m_onlyUndercut = false;
};

namespace {

QTableView *MakeTable(const QString &name, QAbstractItemModel *model, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    SetUpListView(*view);
    return view;
}

} // namespace

PriceComparisonDialog::PriceComparisonDialog(PricePositions positions, QHash<QString, QString> names,
                                             const QDate &day, QWidget *parent)
    : QDialog(parent)
    , m_positions(std::move(positions))
    , m_day(new QDateEdit(this))
    , m_onlyUndercut(new QCheckBox(u"nur &unterboten"_s, this))
    , m_tabs(new QTabWidget(this))
    , m_comparison(new ComparisonModel(names, this))
    , m_filter(new UndercutFilter(this))
    , m_comparisonView(nullptr)
    , m_index(new IndexModel(names, this))
    , m_indexView(nullptr)
{
    setObjectName(u"FMPreisvergleich"_s);
    setWindowTitle(u"Preisvergleich"_s);

    m_day->setObjectName(u"stichtag"_s);
    m_day->setDisplayFormat(DisplayDateFormat());
    m_day->setCalendarPopup(true);
    m_day->setDate(day);
    m_day->setToolTip(u"Der Tag, an dem die verglichenen Preise gelten"_s);
    auto *dayLabel = new QLabel(u"&Stichtag:"_s, this);
    dayLabel->setBuddy(m_day);
    m_onlyUndercut->setObjectName(u"nurUnterboten"_s);
    m_onlyUndercut->setToolTip(u"Nur die Artikel, die ein Mitbewerber billiger anbietet als wir"_s);

    m_filter->setObjectName(u"Vergleichsfilter"_s);
    m_filter->setSourceModel(m_comparison);
    m_filter->setSortRole(ValueRole);
    m_filter->setSortLocaleAware(true);
    m_comparisonView = MakeTable(u"vergleich"_s, m_filter, this);
    m_comparisonView->setSortingEnabled(true);
    m_comparisonView->sortByColumn(ComparisonModel::Article, Qt::AscendingOrder);
    auto *indexSort = new QSortFilterProxyModel(this);
    indexSort->setSourceModel(m_index);
    indexSort->setSortRole(ValueRole);
    m_indexView = MakeTable(u"index"_s, indexSort, this);
    m_indexView->setSortingEnabled(true);
    m_indexView->sortByColumn(-1, Qt::AscendingOrder);
    m_tabs->setObjectName(u"tabs"_s);
    m_tabs->addTab(m_comparisonView, u"&Preisvergleich"_s);
    m_tabs->addTab(m_indexView, u"Preis&index"_s);

    auto *exportButton = new QPushButton(u"Export &Excel"_s, this);
    exportButton->setObjectName(u"BUExportXlsx"_s);
    auto *printButton = new QPushButton(u"&Drucken"_s, this);
    printButton->setObjectName(u"BUDruck"_s);
    auto *buttons = new QDialogButtonBox(this);
    auto *close = buttons->addButton(u"S&chließen"_s, QDialogButtonBox::RejectRole);
    close->setObjectName(u"BUSchliessen"_s);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);
    buttons->addButton(printButton, QDialogButtonBox::ActionRole);

    auto *top = new QHBoxLayout;
    top->addWidget(dayLabel);
    top->addWidget(m_day);
    top->addSpacing(16);
    top->addWidget(m_onlyUndercut);
    top->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);

    setTabOrder(m_day, m_onlyUndercut);
    setTabOrder(m_onlyUndercut, m_tabs);
    setTabOrder(m_tabs, m_comparisonView);
    setTabOrder(m_comparisonView, m_indexView);

    connect(m_day, &QDateEdit::dateChanged, this, &PriceComparisonDialog::compare);
    connect(m_onlyUndercut, &QCheckBox::toggled, m_filter, &UndercutFilter::setOnlyUndercut);
    // A double click or Enter on a price; no button takes Enter from the table.
    connect(m_comparisonView, &QTableView::activated, this, &PriceComparisonDialog::chooseCell);
    for (QPushButton *button : buttons->findChildren<QPushButton *>())
        button->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, &PriceComparisonDialog::exportXlsx);
    connect(printButton, &QPushButton::clicked, this, &PriceComparisonDialog::print);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    compare();
    m_comparisonView->resizeColumnsToContents();
    m_comparisonView->horizontalHeader()->resizeSection(ComparisonModel::Description,
                                                        std::min(m_comparisonView->columnWidth(1), 260));
    m_indexView->resizeColumnsToContents();
    m_indexView->horizontalHeader()->resizeSection(IndexModel::Name, std::min(m_indexView->columnWidth(1), 200));
    m_comparisonView->setFocus();
    resize(1100, 600);
}

void PriceComparisonDialog::compare()
{
    PriceComparison comparison(m_positions, m_day->date());
    m_index->setIndex(PriceIndexOf(comparison));
    m_comparison->setComparison(std::move(comparison));
}

void PriceComparisonDialog::chooseCell(const QModelIndex &index)
{
    const int row = index.data(ComparisonModel::GridRowRole).toInt();
    if (!index.data(ComparisonModel::GridRowRole).isValid() || row < 0)
        return;
    m_chosenRow = row;
    accept();
}

QTableView &PriceComparisonDialog::currentView() const
{
    return m_tabs->currentWidget() == m_indexView ? *m_indexView : *m_comparisonView;
}

void PriceComparisonDialog::exportXlsx()
{
    const QAbstractItemModel &model = *currentView().model();
    ExportXlsx(this, [&model] { return ShownTable(model); });
}

void PriceComparisonDialog::print()
{
    const bool index = &currentView() == m_indexView;
    const QString what = index ? u"Preisindex"_s : u"Preisvergleich"_s;
    PrintSettings settings;
    settings.caption = what;
    PrintPreview(currentView(),
                 u"TOLVEN Konkurerberverwaltung   " + what + u" am " + DisplayDate(m_day->date()) + u"   Stand "
                     + PrintedAt(Now()),
                 settings);
}

} // namespace tolven
