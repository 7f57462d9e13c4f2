#pragma once

#include <QDate>

#include <functional>

namespace tolven {

// Today's date as the client sees it. Tests fix the day.
QDate Today();
// Replaces the clock (an empty function: the system clock again).
void SetTodayProvider(std::function<QDate()> provider);

} // namespace tolven
