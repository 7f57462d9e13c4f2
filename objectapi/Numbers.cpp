#include "Numbers.h"

#include <QChar>
#include <QStringView>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "objectapi/Digits.h"

namespace tolven {

namespace {

// A finite number as decimal digits, split at the point.
struct Decimal {
    bool negative = false;
    std::string whole = "0"; // never empty
    std::string fraction;
};

// The shortest text that reads back as the same double is the number the user
// typed or the server sent: 1.005 is held as 1.00499999..., but must round
// like 1.005. Fixed notation keeps large and tiny values free of exponents.
Decimal shortestDecimal(double value)
{
    Decimal d;
    if (!std::isfinite(value))
        return d;
    // The longest fixed text of a double, the negative smallest subnormal, has 327 characters.
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed);
    if (written.ec != std::errc{})
        return d;
    const char *p = buffer.data();
    const char *const end = written.ptr;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    const char *point = std::find(p, end, '.');
    d.whole.assign(p, point);
    if (point != end)
        d.fraction.assign(point + 1, end);
    return d;
}

// Multiplies by 10^places.
void shiftPoint(Decimal &d, int places)
{
    for (int i = 0; i < places; ++i) {
        if (d.fraction.empty()) {
            d.whole += '0';
        } else {
            d.whole += d.fraction.front();
            d.fraction.erase(0, 1);
        }
    }
    const auto firstSignificant = d.whole.find_first_not_of('0');
    d.whole.erase(0, std::min(firstSignificant, d.whole.size() - 1));
}

// Rounds half away from zero to exactly places fraction digits.
void roundTo(Decimal &d, int places)
{
    const auto wanted = static_cast<std::size_t>(std::max(places, 0));
    if (d.fraction.size() <= wanted) {
        d.fraction.append(wanted - d.fraction.size(), '0');
        return;
    }
    const bool up = d.fraction[wanted] >= '5';
    d.fraction.resize(wanted);
    if (!up)
        return;
    for (auto digit = d.fraction.rbegin(); digit != d.fraction.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    for (auto digit = d.whole.rbegin(); digit != d.whole.rend(); ++digit) {
        if (*digit != '9') {
            ++*digit;
            return;
        }
        *digit = '0';
    }
    d.whole.insert(0, 1, '1');
}

// A value that rounded to zero is shown without a sign.
void dropSignOfZero(Decimal &d)
{
    const auto nonZero = [](char c) { return c != '0'; };
    if (std::none_of(d.whole.begin(), d.whole.end(), nonZero)
        && std::none_of(d.fraction.begin(), d.fraction.end(), nonZero))
        d.negative = false;
}

// "[-]whole<point>fraction<suffix>", written in one piece: a search formats
// hundreds of thousands of numbers. Without fraction digits there is no point.
QString decimalText(const Decimal &d, QStringView point, QStringView suffix = {})
{
    if (d.fraction.empty())
        point = {};
    QString text(qsizetype(d.negative) + qsizetype(d.whole.size()) + point.size() + qsizetype(d.fraction.size())
                     + suffix.size(),
                 Qt::Uninitialized);
    QChar *out = text.data();
    const auto digits = [&out](const std::string &part) {
        for (const char digit : part)
            *out++ = QChar(char16_t(digit));
    };
    if (d.negative)
        *out++ = u'-';
    digits(d.whole);
    out = std::copy(point.begin(), point.end(), out);
    digits(d.fraction);
    std::copy(suffix.begin(), suffix.end(), out);
    return text;
}

// The whole text must read as "[-]digits[.digits]" with a digit somewhere;
// anything else, out of range included, counts as no number.
template <typename Number>
Number parseNumber(const std::string &text)
{
    Number value{};
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end)
        return Number{};
    return value == Number{} ? Number{} : value; // no -0
}

} // namespace

namespace {

// The text NumericValue reads: digits, a leading sign and "." for every "," or
// "."; empty when a sign follows a digit.
std::string numericInputText(const QString &value)
{
    // "," is the decimal separator and "." is taken for one, so "1.234,5" has
    // two and is no number. The parser rejects such leftovers; only a "+",
    // which it does not take, is checked here.
    std::string kept;
    kept.reserve(static_cast<std::size_t>(value.size()));
    bool plus = false;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (IsAsciiDigit(u)) {
            kept += static_cast<char>(u);
        } else if (u == u',' || u == u'.') {
            kept += '.';
        } else if (u == u'-' || u == u'+') {
            if (plus || !kept.empty())
                return {};
            if (u == u'-')
                kept += '-';
            else
                plus = true;
        }
    }
    return kept;
}

} // namespace

float NumericValue(const QString &value)
{
    return parseNumber<float>(numericInputText(value));
}

double NumericInput(const QString &value)
{
    return parseNumber<double>(numericInputText(value));
}

double LeadingNumber(QStringView text)
{
    std::string prefix;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            prefix += '-';
        ++i;
    }
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (IsAsciiDigit(u)) {
            prefix += static_cast<char>(u);
        } else if (u == u'.' && !point) {
            prefix += '.';
            point = true;
        } else {
            break;
        }
    }
    return parseNumber<double>(prefix);
}

QString FormatNumber(double value, NumberPattern pattern, const QLocale &locale)
{
    int places = 2;
    int scale = 0;
    QStringView suffix;
    switch (pattern) {
    case NumberPattern::TwoPlaces:
        break;
    case NumberPattern::FourPlaces:
        places = 4;
        break;
    case NumberPattern::Percent:
        scale = 2;
        suffix = u" %";
        break;
    }

    // Scaling the decimal digits rather than the double keeps 0.01005 at 1.005 %.
    Decimal d = shortestDecimal(value);
    shiftPoint(d, scale);
    roundTo(d, places);
    dropSignOfZero(d);

    return decimalText(d, locale.decimalPoint(), suffix);
}

double RoundedNumber(double value, int places)
{
    Decimal d = shortestDecimal(value);
    roundTo(d, places);
    dropSignOfZero(d);
    std::string text = d.negative ? "-" + d.whole : d.whole;
    if (!d.fraction.empty())
        text += '.' + d.fraction;
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

QString ServerNumber(double value, int maxDecimals)
{
    Decimal d = shortestDecimal(value);
    roundTo(d, maxDecimals);
    d.fraction.erase(d.fraction.find_last_not_of('0') + 1);
    dropSignOfZero(d);
    return decimalText(d, u".");
}

} // namespace tolven
