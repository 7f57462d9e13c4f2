#include "GridPrint.h"

#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTableView>

#include "access/Dialogs.h"
#include "common/DisplayFormat.h"
#include "output/TablePrinter.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Hides columns of a view for as long as it lives.
class HiddenColumns
{
public:
    HiddenColumns(QTableView &view, const QList<int> &columns)
        : m_view(view)
    {
        for (const int column : columns) {
            if (!m_view.isColumnHidden(column)) {
                m_view.setColumnHidden(column, true);
                m_hidden << column;
            }
        }
    }
    ~HiddenColumns()
    {
        for (const int column : std::as_const(m_hidden))
            m_view.setColumnHidden(column, false);
        m_view.viewport()->update();
    }
    HiddenColumns(const HiddenColumns &) = delete;
    HiddenColumns &operator=(const HiddenColumns &) = delete;

private:
    QTableView &m_view;
    QList<int> m_hidden;
};

} // namespace

QList<int> VisibleColumns(const QTableView &view)
{
    QList<int> columns;
    const QHeaderView *header = view.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!view.isColumnHidden(column))
            columns << column;
    }
    return columns;
}

QString PrintedAt(const QDateTime &now, const QLocale &locale)
{
    // The date in the one form the client shows dates in (four-digit year).
    return DisplayDate(now.date()) + u' ' + locale.toString(now.time(), QLocale::ShortFormat);
}

void PrintPreview(QTableView &view, const QString &headerText, const PrintSettings &settings)
{
    if (!view.model())
        return;
    const HiddenColumns hidden(view, settings.leftOut);
    TablePrinter table(*view.model(), VisibleColumns(view));
    table.setHeaderText(headerText);
    table.setRowCount(settings.rowCount);

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(settings.orientation);
    printer.setCopyCount(1);
    printer.setDocName(u"TOLVEN Konkurerberverwaltung"_s);
    QPrintPreviewDialog preview(&printer, view.window());
    preview.setObjectName(u"Druckvorschau"_s);
    preview.setWindowTitle(settings.caption.isEmpty() ? u"Druckvorschau"_s : settings.caption);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&table](QPrinter *target) { table.print(*target); });
    ExecPrintPreview(preview);
}

} // namespace tolven
