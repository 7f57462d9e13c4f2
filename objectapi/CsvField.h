#pragma once

#include <QString>

namespace tolven {

// A field as it goes into a ";"-separated line: in double quotes, with the
// quotes inside doubled, when it holds ";", a double quote or a line break,
// so that the spreadsheet keeps every later field in its column; as it is
// otherwise. The client's export and tolven-admin's history write fields so.
QString CsvField(const QString &text);

} // namespace tolven
