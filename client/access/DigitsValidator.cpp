#include "DigitsValidator.h"

#include "objectapi/Digits.h"

namespace tolven {

DigitsValidator::DigitsValidator(int maxDigits, QObject *parent)
    : QValidator(parent)
    , m_maxDigits(maxDigits)
{
}

QValidator::State DigitsValidator::validate(QString &input, int &) const
{
    if (input.isEmpty())
        return Intermediate;
    return IsDigits(input, m_maxDigits) ? Acceptable : Invalid;
}

} // namespace tolven
