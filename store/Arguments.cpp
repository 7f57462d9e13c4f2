#include "Arguments.h"

#include <QDate>

#include "objectapi/AccessError.h"
#include "objectapi/Digits.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;
using tolven::IsDigits;

namespace store {

namespace {

constexpr int MaxNumberDigits = 9;

[[noreturn]] void refuse(const QString &value, const QString &what, const QString &expected)
{
    throw AccessError(ErrorNumber::InvalidValue,
                      u"Ungültiger Wert \"" + value + u"\" für " + what + u": erwartet wird " + expected + u'.');
}

} // namespace

QString CanonicalNumber(const QString &text)
{
    if (!IsDigits(text, MaxNumberDigits))
        return text;
    return QString::number(text.toLongLong());
}

QString FirmArgument(const QString &value, const QString &what)
{
    if (!IsDigits(value, MaxNumberDigits))
        refuse(value, what, u"eine Firmennummer"_s);
    return value;
}

QString NumberArgument(const QString &value, const QString &what)
{
    if (value.isEmpty())
        return value;
    if (!IsDigits(value, MaxNumberDigits))
        refuse(value, what, u"eine ganze Zahl ohne Vorzeichen"_s);
    return CanonicalNumber(value);
}

QString DateArgument(const QString &value, const QString &what)
{
    if (value.isEmpty())
        return value;
    QDate date;
    if (value.size() == 10) {
        date = QDate::fromString(value, u"yyyy-MM-dd");
        if (!date.isValid())
            date = QDate::fromString(value, u"dd.MM.yyyy");
    }
    if (!date.isValid())
        refuse(value, what, u"ein Datum der Form JJJJ-MM-TT oder TT.MM.JJJJ"_s);
    return date.toString(Qt::ISODate);
}

Decimal QuantityArgument(const QString &value, const QString &what)
{
    if (value.isEmpty())
        return Decimal::fromInteger(1);
    const std::optional<Decimal> quantity = Decimal::parse(value);
    if (!quantity)
        refuse(value, what, u"eine Menge wie 1 oder 2.5"_s);
    return *quantity;
}

QString ChoiceArgument(const QString &value, const QStringList &allowed, const QString &what)
{
    if (!allowed.contains(value)) {
        QStringList shown;
        for (const QString &choice : allowed)
            shown << (choice.isEmpty() ? u"leer"_s : u'"' + choice + u'"');
        refuse(value, what, u"einer der Werte " + shown.join(u", "));
    }
    return value;
}

} // namespace store
