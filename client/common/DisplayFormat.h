#pragma once

#include <QDate>
#include <QString>

namespace tolven {

// The one form in which the client shows and reads dates: the locale's short
// date form with two-digit day and month and a four-digit year
// ("dd.MM.yyyy" in German).
QString DisplayDateFormat();
// date in that form; empty for an invalid date.
QString DisplayDate(const QDate &date);
// Text in that form as a date; invalid when it is not one.
QDate ParseDisplayDate(const QString &text);

} // namespace tolven
