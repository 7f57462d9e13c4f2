#include "ExportRows.h"

#include <QDate>

#include "common/CellNumber.h"
#include "objectapi/Numbers.h"

using namespace Qt::StringLiterals;

namespace tolven {

QString ExportText(const QVariant &cell, ExportKind kind, const QLocale &locale)
{
    if (cell.typeId() == QMetaType::QDate)
        return cell.toDate().toString(u"dd.MM.yyyy"_s);
    // Quantities and prices as the grid shows them, typed text included.
    if (kind == ExportKind::Quantity || kind == ExportKind::Price) {
        const NumberPattern pattern = kind == ExportKind::Price ? NumberPattern::TwoPlaces : NumberPattern::FourPlaces;
        if (const std::optional<double> number = CellNumber(cell, locale))
            return FormatNumber(*number, pattern, locale);
        return cell.toString();
    }
    if (IsNumberCell(cell))
        return ServerNumber(cell.toDouble()).replace(u'.', locale.decimalPoint());
    return cell.toString();
}

} // namespace tolven
