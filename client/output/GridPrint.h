#pragma once

#include <QList>
#include <QString>

class QTableView;

namespace tolven {

// The columns view shows, in the order it shows them.
QList<int> VisibleColumns(const QTableView &view);

// A print preview of the list view shows, in landscape, from which the user
// prints to a printer or a PDF file: headerText above every page, the visible
// columns with their captions on every page, every row of the model, and
// "Seite x von y". leftOut columns are hidden in view while the preview is
// open and shown again afterwards, whether the user printed or not.
void PrintPreview(QTableView &view, const QString &headerText, const QList<int> &leftOut = {});

} // namespace tolven
