#pragma once

#include <QChar>
#include <QStringView>

#include <limits>

namespace tolven {

// The digits of numbers, codes and ports are "0" to "9". QChar::isDigit also
// takes the digits of other scripts (Arabic-Indic, Devanagari, ...), which no
// field of the system holds and the database would refuse.
constexpr bool IsAsciiDigit(QChar ch) noexcept
{
    return ch.unicode() >= u'0' && ch.unicode() <= u'9';
}

// Whether text is one to maxDigits ASCII digits and nothing else.
bool IsDigits(QStringView text, qsizetype maxDigits = std::numeric_limits<qsizetype>::max()) noexcept;

// A TCP port: one to five digits giving 1 to 65535.
bool ParsePort(QStringView text, int &port) noexcept;

} // namespace tolven
