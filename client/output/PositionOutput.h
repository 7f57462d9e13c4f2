#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

class QAbstractItemModel;
class QWidget;

namespace tolven {

// The folder the export dialogs open in: the user's desktop, or the home
// folder when there is none.
QString ExportFolder();

// "Export CSV": after the agreed note for head office, asks where to save
// (cancel ends it without a word) and writes the file for head office from
// the positions in the grid; competitors names the competitor codes. A file
// that cannot be written is reported and the old one stays as it was.
void ExportCsv(QWidget *parent, const QAbstractItemModel &positions, const QAbstractItemModel &competitors);
// "Export Excel": the same positions as an Excel workbook, without the note
// (it asks for the Excel file that this writes).
void ExportXlsx(QWidget *parent, const QAbstractItemModel &positions, const QAbstractItemModel &competitors);

// The header of every printed page of the position list: the program, the
// filters' texts and the moment of printing in the locale's short forms.
QString PositionListHeader(const QString &competitor, const QString &article, const QString &description,
                           const QDateTime &now, const QLocale &locale = QLocale());

} // namespace tolven
