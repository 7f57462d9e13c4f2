#include "Digits.h"

#include <algorithm>

namespace tolven {

bool IsDigits(QStringView text, qsizetype maxDigits) noexcept
{
    return !text.isEmpty() && text.size() <= maxDigits && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

bool ParsePort(QStringView text, int &port) noexcept
{
    if (!IsDigits(text, 5))
        return false;
    int value = 0;
    for (const QChar ch : text)
        value = value * 10 + (ch.unicode() - u'0');
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

} // namespace tolven
