#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

#include "output/ExportRows.h"

class QWidget;

namespace tolven {

// The folder the export dialogs open in: the user's desktop, or the home
// folder when there is none.
QString ExportFolder();

// What an export writes, made once the user has chosen the file.
using ExportSource = std::function<ExportTable()>;

// "Export CSV": after the agreed note for head office, asks where to save
// (cancel ends it without a word) and writes the CSV file of the table. A
// file that cannot be written is reported and the old one stays as it was.
void ExportCsv(QWidget *parent, const ExportSource &table);
// "Export Excel": the same as an Excel workbook, without the note (it asks
// for the Excel file that this writes).
void ExportXlsx(QWidget *parent, const ExportSource &table);

// The header of every printed page of the position list: the program, the
// filters' texts and the moment of printing in the locale's short forms.
QString PositionListHeader(const QString &competitor, const QString &article, const QString &description,
                           const QDateTime &now, const QLocale &locale = QLocale());

} // namespace tolven
