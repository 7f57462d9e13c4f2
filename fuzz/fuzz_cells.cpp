// Grid cells read as numbers and dates: CellNumber on typed text and on the
// grid's own number forms, the date form of the client read and written, and
// the packed rows of the position grid, whose cells must come back exactly.

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "FuzzSupport.h"
#include "common/CellNumber.h"
#include "common/DisplayFormat.h"
#include "objectapi/Numbers.h"
#include "positions/PackedRow.h"

using namespace Qt::StringLiterals;
using fuzz::Check;

namespace {

void CheckTypedText(const QString &text, const QLocale &locale)
{
    const std::optional<double> number = tolven::CellNumber(QVariant(text), locale);
    if (!number)
        return;
    Check(std::isfinite(*number), "a cell read as a number is a finite number", text);
    Check(tolven::CellNumber(QVariant(*number), locale) == number, "a number cell is its number", text);
    const QString shown = tolven::FormatNumber(*number, tolven::NumberPattern::FourPlaces, locale);
    const std::optional<double> back = tolven::CellNumber(QVariant(shown), locale);
    Check(back && std::fabs(*back - *number) <= 0.00005 + std::fabs(*number) * 1e-15,
          "a number as the grid shows it reads back", text + u" -> " + shown);

    const QDate date = tolven::ParseDisplayDate(text);
    if (date.isValid())
        Check(tolven::ParseDisplayDate(tolven::DisplayDate(date)) == date, "a date read is shown so that it reads back",
              text);
}

void CheckNumber(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return;
    const QString text = locale.toString(value, 'g', QLocale::FloatingPointShortest);
    Check(tolven::CellNumber(QVariant(text), locale) == value, "a number in the locale's notation reads back", text);
}

void CheckDate(qint64 day)
{
    const QDate date = QDate::fromJulianDay(day);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return;
    const QString shown = tolven::DisplayDate(date);
    Check(tolven::ParseDisplayDate(shown) == date, "a date shown reads back", shown);
}

bool SameCell(const QVariant &a, const QVariant &b)
{
    if (a.typeId() != b.typeId())
        return false;
    // -0 may come back as 0: no cell shows or computes them differently.
    if (a.typeId() == QMetaType::Double)
        return std::isnan(a.toDouble()) ? std::isnan(b.toDouble()) : a.toDouble() == b.toDouble();
    if (a.typeId() == QMetaType::Float)
        return std::isnan(a.toFloat()) ? std::isnan(b.toFloat()) : a.toFloat() == b.toFloat();
    return a == b;
}

// A cell of the kind chosen by kind, made from the text and the raw number.
QVariant MakeCell(int kind, const QString &text, double raw)
{
    switch (kind % 9) {
    case 0:
        return {};
    case 1:
        return text;
    case 2:
        return raw;
    case 3:
        return float(raw);
    case 4:
        return int(text.size() * 7919) - 1000;
    case 5:
        return qlonglong(raw * 1e6 < 9e18 && raw * 1e6 > -9e18 ? qlonglong(raw * 1e6) : -1);
    case 6:
        return !text.isEmpty();
    case 7:
        return QDate::fromJulianDay(qint64(text.size()) * 104729 - 5000000);
    default:
        return QDate();
    }
}

void CheckPackedRow(const fuzz::Input &input, double raw)
{
    tolven::PackedRow::Cells cells;
    for (int column = 0; column < tolven::PositionColumnCount; ++column) {
        const QString text = column < input.fields.size() ? input.field(column) : QString();
        cells[column] = MakeCell(column + input.options, text, raw);
    }
    const tolven::PackedRow row(cells);
    for (int column = 0; column < tolven::PositionColumnCount; ++column)
        Check(SameCell(row.cell(column), cells[column]), "a packed cell comes back as it went in",
              QString::number(column) + u": " + cells[column].toString() + u" -> " + row.cell(column).toString());

    const int column = input.options % tolven::PositionColumnCount;
    const QVariant changed = MakeCell(input.options / 3, input.text, -raw);
    const tolven::PackedRow edited = row.withCell(column, changed);
    for (int c = 0; c < tolven::PositionColumnCount; ++c)
        Check(SameCell(edited.cell(c), c == column ? changed : cells[c]), "a changed cell changes that cell alone",
              QString::number(c) + u": " + changed.toString() + u" -> " + edited.cell(c).toString());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QLocale german(QLocale::German, QLocale::Germany);
    const fuzz::Input input(data, size, 1);
    double raw = 0;
    if (size >= 1 + sizeof raw)
        std::memcpy(&raw, data + 1, sizeof raw);
    qint64 day = 0;
    if (size >= 1 + sizeof day)
        std::memcpy(&day, data + 1, sizeof day);

    CheckTypedText(input.field(0), german);
    CheckTypedText(input.field(0), QLocale::c());
    CheckNumber(raw, german);
    CheckNumber(raw, QLocale::c());
    CheckDate(day % 5000000);
    CheckPackedRow(input, raw);
    return 0;
}
