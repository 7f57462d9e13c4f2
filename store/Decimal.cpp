#include "Decimal.h"

namespace store {

namespace {

// Enough for prices and quantities; keeps every product within 128 bits.
constexpr int MaxIntegerDigits = 14;

// Products of two values need more than 64 bits.
__extension__ typedef __int128 Wide;

qint64 roundedQuotient(Wide dividend, Wide divisor)
{
    const bool negative = (dividend < 0) != (divisor < 0);
    const Wide a = dividend < 0 ? -dividend : dividend;
    const Wide b = divisor < 0 ? -divisor : divisor;
    const Wide q = (a + b / 2) / b;
    return static_cast<qint64>(negative ? -q : q);
}

} // namespace

std::optional<Decimal> Decimal::parse(QStringView text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 integer = 0;
    int integerDigits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (++integerDigits > MaxIntegerDigits)
            return std::nullopt;
        integer = integer * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    qint64 fraction = 0;     // in units of 10^-(Places+1)
    int fractionDigits = 0;
    bool anyFraction = false;
    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            anyFraction = true;
            if (fractionDigits <= Places) {
                fraction = fraction * 10 + (text[i].unicode() - u'0');
                ++fractionDigits;
            }
            ++i;
        }
        if (!anyFraction)
            return std::nullopt;
    }
    if (i != text.size() || (integerDigits == 0 && !anyFraction))
        return std::nullopt;
    while (fractionDigits <= Places) {
        fraction *= 10;
        ++fractionDigits;
    }
    // One extra digit decides the rounding of the fourth place.
    const qint64 units = integer * Scale + (fraction + 5) / 10;
    return Decimal(negative ? -units : units);
}

qint64 Decimal::powerOfTen(int exponent)
{
    qint64 value = 1;
    for (int i = 0; i < exponent; ++i)
        value *= 10;
    return value;
}

QString Decimal::toString(int places) const
{
    const qint64 rounded = roundedQuotient(m_units, powerOfTen(Places - places));
    const qint64 magnitude = rounded < 0 ? -rounded : rounded;
    const qint64 placeScale = powerOfTen(places);
    QString text = QString::number(magnitude / placeScale);
    if (places > 0)
        text += u'.' + QString::number(magnitude % placeScale).rightJustified(places, u'0');
    return rounded < 0 ? u'-' + text : text;
}

Decimal Decimal::operator*(Decimal other) const
{
    return Decimal(roundedQuotient(static_cast<Wide>(m_units) * other.m_units, Scale));
}

Decimal Decimal::dividedBy(qint64 divisor) const
{
    return Decimal(roundedQuotient(m_units, divisor));
}

Decimal Decimal::plusPercent(Decimal percent, int places) const
{
    const qint64 step = powerOfTen(Places - places);
    const Wide exact = static_cast<Wide>(m_units) * (percent.m_units + 100 * Scale);
    return Decimal(roundedQuotient(exact, static_cast<Wide>(100) * Scale * step) * step);
}

} // namespace store
