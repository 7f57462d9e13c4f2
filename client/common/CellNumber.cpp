#include "CellNumber.h"

#include <QString>

#include <cmath>

namespace tolven {

bool IsNumberCell(const QVariant &cell)
{
    switch (cell.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        return true;
    default:
        return false;
    }
}

std::optional<double> CellNumber(const QVariant &cell, const QLocale &locale)
{
    if (IsNumberCell(cell))
        return cell.toDouble();
    if (cell.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = cell.toString().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(text, &ok);
    if (!ok)
        value = QLocale::c().toDouble(text, &ok);
    // QLocale reads "nan" and "inf" too; neither is a number of the grid.
    if (ok && std::isfinite(value))
        return value;
    return std::nullopt;
}

double CellNumberOrZero(const QVariant &cell, const QLocale &locale)
{
    return CellNumber(cell, locale).value_or(0.0);
}

} // namespace tolven
