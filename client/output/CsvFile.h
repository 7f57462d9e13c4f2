#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

#include "output/ExportRows.h"

namespace tolven {

// A field as it goes into a line: in double quotes, with the quotes inside
// doubled, when it holds ";", a double quote or a line break, so that the
// spreadsheet keeps every later field in its column; as it is otherwise.
QString CsvField(const QString &text);

// The CSV file of table as head office reads it: the header line of the
// columns' captions, then one line per row; fields separated by ";", every
// line ended by CR LF, in Windows-1252 (the code page of head office's
// spreadsheet) with "?" for every character it lacks. nullopt, and error says
// why, when this system cannot encode it.
std::optional<QByteArray> CsvBytes(const ExportTable &table, QString *error, const QLocale &locale = QLocale());

} // namespace tolven
