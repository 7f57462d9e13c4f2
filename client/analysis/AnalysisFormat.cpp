#include "AnalysisFormat.h"

#include <QHeaderView>
#include <QTableView>

#include <cmath>

using namespace Qt::StringLiterals;

namespace tolven {

QString PriceText(double price, const QLocale &locale)
{
    return locale.toString(price, 'f', 2);
}

QString PercentText(double percent, const QLocale &locale)
{
    const QString amount = locale.toString(std::abs(percent), 'f', 1) + u" %";
    if (locale.toString(std::abs(percent), 'f', 1) == locale.toString(0.0, 'f', 1))
        return amount;
    return (percent < 0 ? u"−"_s : u"+"_s) + amount;
}

double RoundedToTenths(double value)
{
    return std::round(value * 10) / 10;
}

void SetUpListView(QTableView &view)
{
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.horizontalHeader()->setHighlightSections(false);
}

ExportTable ShownTable(const QAbstractItemModel &model)
{
    ExportTable table;
    for (int column = 0; column < model.columnCount(); ++column) {
        const QVariant kind = model.headerData(column, Qt::Horizontal, ExportKindRole);
        table.columns << ExportColumn{model.headerData(column, Qt::Horizontal).toString(), column,
                                      kind.isValid() ? ExportKind(kind.toInt()) : ExportKind::Text};
    }
    for (int row = 0; row < model.rowCount(); ++row) {
        ExportRow cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data(ValueRole);
        table.rows << cells;
    }
    return table;
}

} // namespace tolven
