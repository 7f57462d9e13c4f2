#include "TablePrinter.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Below half size a list is no longer readable; it is cut instead.
constexpr qreal MinimumScale = 0.5;
// Widths are taken from this many rows at most, spread over the list.
constexpr int MeasuredRows = 2000;

QFont PrintFont(qreal pointSize, bool bold)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// A cell's text on one line.
QString CellText(const QModelIndex &index)
{
    QString text = index.data(Qt::DisplayRole).toString();
    text.replace(u'\n', u' ');
    text.remove(u'\r');
    return text;
}

Qt::Alignment HorizontalAlignment(const QVariant &alignment)
{
    if (!alignment.isValid())
        return Qt::AlignLeft;
    return Qt::Alignment(alignment.toInt()) & Qt::AlignHorizontal_Mask;
}

} // namespace

struct TablePrinter::Layout
{
    QFont headerFont = PrintFont(10, true);
    QFont captionFont = PrintFont(8, true);
    QFont cellFont = PrintFont(8, false);
    qreal scale = 1;
    qreal width = 0;  // of the page, in unscaled units
    qreal height = 0;
    qreal padding = 0;
    QList<qreal> columnWidths;
    QList<Qt::Alignment> alignments;
    qreal headerHeight = 0;
    qreal captionHeight = 0;
    qreal rowHeight = 0;
    qreal footHeight = 0;
    int rowsPerPage = 1;
    int pages = 1;
};

TablePrinter::TablePrinter(const QAbstractItemModel &model, QList<int> columns)
    : m_model(model)
    , m_columns(std::move(columns))
    , m_headerText()
    , m_pageCaption(u"Seite %1 von %2"_s)
{
}

void TablePrinter::setHeaderText(const QString &text)
{
    m_headerText = text;
}

void TablePrinter::setPageCaption(const QString &caption)
{
    m_pageCaption = caption;
}

void TablePrinter::setRowCount(int rows)
{
    m_rowCount = rows;
}

int TablePrinter::rowsToPrint() const
{
    const int rows = m_model.rowCount();
    return m_rowCount < 0 ? rows : std::min(m_rowCount, rows);
}

int TablePrinter::pageCount(QPrinter &printer) const
{
    return layout(printer).pages;
}

TablePrinter::Layout TablePrinter::layout(QPrinter &printer) const
{
    Layout l;
    const QFontMetricsF header(l.headerFont, &printer);
    const QFontMetricsF caption(l.captionFont, &printer);
    const QFontMetricsF cell(l.cellFont, &printer);
    l.padding = cell.height() * 0.3;

    const int rows = rowsToPrint();
    const int step = std::max(1, rows / MeasuredRows);
    for (const int column : m_columns) {
        qreal width = caption.horizontalAdvance(m_model.headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < rows; row += step)
            width = std::max(width, cell.horizontalAdvance(CellText(m_model.index(row, column))));
        l.columnWidths << width + 2 * l.padding;
        l.alignments << (rows > 0 ? HorizontalAlignment(m_model.index(0, column).data(Qt::TextAlignmentRole))
                                  : Qt::AlignLeft);
    }

    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal total = std::accumulate(l.columnWidths.cbegin(), l.columnWidths.cend(), qreal(0));
    l.scale = total > 0 ? std::clamp(page.width() / total, MinimumScale, qreal(1)) : 1;
    l.width = page.width() / l.scale;
    l.height = page.height() / l.scale;
    if (total > l.width) {
        for (qreal &width : l.columnWidths)
            width *= l.width / total;
    }

    l.headerHeight = header.height() * 2;
    l.captionHeight = caption.height() * 1.5;
    l.rowHeight = cell.height() * 1.35;
    l.footHeight = cell.height() * 2;
    const qreal body = l.height - l.headerHeight - l.captionHeight - l.footHeight;
    l.rowsPerPage = std::max(1, int(std::floor(body / l.rowHeight)));
    l.pages = std::max(1, (rows + l.rowsPerPage - 1) / l.rowsPerPage);
    return l;
}

bool TablePrinter::print(QPrinter &printer) const
{
    const Layout l = layout(printer);
    // A page range of 0 to 0 means every page.
    const int first = printer.fromPage() > 0 ? printer.fromPage() : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), l.pages) : l.pages;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first && !printer.newPage())
            return false;
        printPage(painter, l, page);
    }
    return painter.end();
}

void TablePrinter::printPage(QPainter &painter, const Layout &l, int page) const
{
    painter.save();
    painter.scale(l.scale, l.scale);
    const QPen rule(QColor(160, 160, 160), 0);
    const qreal tableWidth = std::accumulate(l.columnWidths.cbegin(), l.columnWidths.cend(), qreal(0));

    painter.setFont(l.headerFont);
    const QFontMetricsF header(l.headerFont, painter.device());
    painter.drawText(QRectF(0, 0, l.width, l.headerHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     header.elidedText(m_headerText, Qt::ElideRight, l.width));

    // One row of the list: text per column, cut to the column's width.
    const auto drawRow = [&](qreal y, qreal height, const QFont &font, const auto &textOf) {
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        qreal x = 0;
        for (qsizetype i = 0; i < m_columns.size(); ++i) {
            const qreal inner = l.columnWidths.at(i) - 2 * l.padding;
            const QString text = metrics.elidedText(textOf(m_columns.at(i)), Qt::ElideRight, inner);
            painter.drawText(QRectF(x + l.padding, y, inner, height), l.alignments.at(i) | Qt::AlignVCenter, text);
            x += l.columnWidths.at(i);
        }
    };

    qreal y = l.headerHeight;
    painter.fillRect(QRectF(0, y, tableWidth, l.captionHeight), QColor(228, 228, 228));
    drawRow(y, l.captionHeight, l.captionFont,
            [this](int column) { return m_model.headerData(column, Qt::Horizontal).toString(); });
    y += l.captionHeight;
    painter.setPen(rule);
    painter.drawLine(QPointF(0, y), QPointF(tableWidth, y));

    const int firstRow = (page - 1) * l.rowsPerPage;
    const int endRow = std::min(rowsToPrint(), firstRow + l.rowsPerPage);
    for (int row = firstRow; row < endRow; ++row) {
        painter.setPen(Qt::black);
        drawRow(y, l.rowHeight, l.cellFont, [this, row](int column) { return CellText(m_model.index(row, column)); });
        y += l.rowHeight;
        painter.setPen(rule);
        painter.drawLine(QPointF(0, y), QPointF(tableWidth, y));
    }

    painter.setPen(Qt::black);
    painter.setFont(l.cellFont);
    painter.drawText(QRectF(0, l.height - l.footHeight, l.width, l.footHeight), Qt::AlignHCenter | Qt::AlignBottom,
                     m_pageCaption.arg(page).arg(l.pages));
    painter.restore();
}

} // namespace tolven
