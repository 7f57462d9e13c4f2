#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QPageLayout>
#include <QString>

class QTableView;

namespace tolven {

// The columns view shows, in the order it shows them.
QList<int> VisibleColumns(const QTableView &view);

// How a list is printed beside its header text.
struct PrintSettings
{
    // The preview window's title; "Druckvorschau" when empty.
    QString caption;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    // Columns hidden in the view while the preview is open and shown again
    // afterwards, whether the user printed or not.
    QList<int> leftOut;
    // The model's first rows only; all when negative.
    int rowCount = -1;
};

// "date time" of now, as printed page headers end: the date in the client's
// one date form (DisplayDate), the time in the locale's short form.
QString PrintedAt(const QDateTime &now, const QLocale &locale = QLocale());

// A print preview of the list view shows, from which the user prints to a
// printer or a PDF file: headerText above every page, the visible columns
// with their captions on every page, every row of the model, and
// "Seite x von y".
void PrintPreview(QTableView &view, const QString &headerText, const PrintSettings &settings = {});

} // namespace tolven
