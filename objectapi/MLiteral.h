#pragma once

#include <QString>
#include <QStringView>

namespace tolven {

// M string literals: text in double quotes, a quote inside written twice.
// Every value the client puts into an M command goes through MQuote, so no
// value can end the literal early and change the command.
QString MQuote(const QString &text);

// Reads one M string literal that starts at pos. On success the literal's
// value is stored in value, pos stands after the closing quote and the result
// is true; otherwise nothing is changed and the result is false.
bool ParseMLiteral(QStringView text, qsizetype &pos, QString &value);

} // namespace tolven
