#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

#include "objectapi/CsvField.h"
#include "output/ExportRows.h"

namespace tolven {

// The CSV file of table as head office reads it: the header line of the
// columns' captions, then one line per row; fields separated by ";", every
// line ended by CR LF, in Windows-1252 (the code page of head office's
// spreadsheet) with "?" for every character it lacks. nullopt, and error says
// why, when this system cannot encode it.
std::optional<QByteArray> CsvBytes(const ExportTable &table, QString *error, const QLocale &locale = QLocale());

} // namespace tolven
