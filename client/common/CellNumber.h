#pragma once

#include <QLocale>
#include <QVariant>

#include <optional>

namespace tolven {

// True for a cell that holds a number value (not text).
bool IsNumberCell(const QVariant &cell);

// A cell read as a number, the way the grid shows numbers: numbers as they
// are, text in the locale's notation (or with "." as decimal point). Empty
// cells and text that is no finite number ("nan", "inf") give nullopt.
std::optional<double> CellNumber(const QVariant &cell, const QLocale &locale = QLocale());
// The same with 0 for a cell that holds no number.
double CellNumberOrZero(const QVariant &cell, const QLocale &locale = QLocale());

} // namespace tolven
