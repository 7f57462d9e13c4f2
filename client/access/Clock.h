#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

namespace tolven {

// Today's date as the client sees it. Tests fix the day.
QDate Today();
// Replaces the clock (an empty function: the system clock again).
void SetTodayProvider(std::function<QDate()> provider);

// The present moment (local time) as the client sees it, for what is stamped
// with date and time; Today() follows it unless a day of its own is set.
QDateTime Now();
// Replaces it (an empty function: the system clock again).
void SetNowProvider(std::function<QDateTime()> provider);

} // namespace tolven
