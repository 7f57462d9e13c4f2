#pragma once

#include <QLocale>
#include <QString>

namespace tolven {

// Cleans typed numeric input: keeps digits, signs and commas ("." becomes ","),
// then reads the rest with "," as decimal separator. Empty or no number gives 0.
float NumericValue(const QString &value);
// The same filter read in double precision: a price of 1234567,89 keeps its
// cents, which a float cannot hold.
double NumericInput(const QString &value);

// Reads a number from the start of a server field: an optional sign, digits
// and "." as decimal point, stopping at the first other character. An empty
// or non-numeric field gives 0.
double LeadingNumber(QStringView text);

// The display patterns of the client.
enum class NumberPattern {
    TwoPlaces,     // "#####0.00"
    FourPlaces,    // "#####0.0000"
    Percent,       // "#####0.00 %": the value times 100, then " %"
};

// Formats value by pattern with the locale's decimal separator, at least one
// integer digit, no grouping, rounding half away from zero.
QString FormatNumber(double value, NumberPattern pattern, const QLocale &locale = QLocale());
// The number FormatNumber's text with places decimals reads back as, without
// the text: for code that compares what a grid shows for many rows.
double RoundedNumber(double value, int places);

// A number as it crosses the object interface: "." as decimal point, no
// grouping, no exponent, no trailing zeros after the point.
QString ServerNumber(double value, int maxDecimals = 6);

} // namespace tolven
