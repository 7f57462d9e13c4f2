#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

#include "output/ExportRows.h"

namespace tolven {

// An export table as an Excel workbook (.xlsx) of one sheet: the header row
// of the columns' captions bold and frozen, numbers as numbers (prices with
// two places), dates as dates shown dd.mm.yyyy, text as text, every column as
// wide as its content. A cell of a number or date column that holds no number or date is
// kept as text. nullopt, and error says why, when the workbook cannot be made.
std::optional<QByteArray> XlsxBytes(const ExportTable &table, QString *error, const QLocale &locale = QLocale());

} // namespace tolven
