#pragma once

#include <QList>
#include <QString>

class QAbstractItemModel;
class QPainter;
class QPrinter;

namespace tolven {

// Prints columns of a table model as a list: the header text above every
// page, the column captions under it on every page, every row (text and
// alignment as the model gives them for display), and the page caption at
// the foot. The columns share the page's width: a list wider than the page
// is printed smaller, down to half size, and a cell that still does not fit
// is cut short with "…". Serves every window that prints a list.
class TablePrinter
{
public:
    // columns: the model's columns to print, in this order.
    TablePrinter(const QAbstractItemModel &model, QList<int> columns);

    void setHeaderText(const QString &text);
    // The caption at the foot of each page: %1 the page's number, %2 the
    // number of pages. "Seite %1 von %2" unless set.
    void setPageCaption(const QString &caption);
    // Prints the model's first rows only (a list whose last line is for a
    // new row); all rows when negative, as unless set.
    void setRowCount(int rows);

    // Prints the pages of the printer's page range (all when it has none).
    // False when the printer cannot be printed on.
    bool print(QPrinter &printer) const;
    // The number of pages the whole list takes on printer.
    int pageCount(QPrinter &printer) const;

private:
    struct Layout;
    Layout layout(QPrinter &printer) const;
    void printPage(QPainter &painter, const Layout &layout, int page) const;
    int rowsToPrint() const;

    const QAbstractItemModel &m_model;
    QList<int> m_columns;
    QString m_headerText;
    QString m_pageCaption;
    int m_rowCount = -1;
};

} // namespace tolven
