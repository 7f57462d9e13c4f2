#include "Arguments.h"

#include <QDate>

#include "access/AccessError.h"

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

namespace {

constexpr int MaxNumberDigits = 9;

[[noreturn]] void refuse(const QString &value, const QString &what, const QString &expected)
{
    throw AccessError(ErrorNumber::InvalidValue,
                      u"Ungültiger Wert \"" + value + u"\" für " + what + u": erwartet wird " + expected + u'.');
}

} // namespace

bool IsDigits(QStringView text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return false;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    return true;
}

QString CanonicalNumber(const QString &text)
{
    if (!IsDigits(text, MaxNumberDigits))
        return text;
    return QString::number(text.toLongLong());
}

QString FirmArgument(const QString &value, const QString &what)
{
    if (!IsDigits(value, MaxNumberDigits))
        refuse(value, what, u"eine Firmennummer"_qs);
    return value;
}

QString NumberArgument(const QString &value, const QString &what)
{
    if (value.isEmpty())
        return value;
    if (!IsDigits(value, MaxNumberDigits))
        refuse(value, what, u"eine ganze Zahl ohne Vorzeichen"_qs);
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
        refuse(value, what, u"ein Datum der Form JJJJ-MM-TT oder TT.MM.JJJJ"_qs);
    return date.toString(Qt::ISODate);
}

Decimal QuantityArgument(const QString &value, const QString &what)
{
    if (value.isEmpty())
        return Decimal::fromInteger(1);
    const std::optional<Decimal> quantity = Decimal::parse(value);
    if (!quantity)
        refuse(value, what, u"eine Menge wie 1 oder 2.5"_qs);
    return *quantity;
}

QString ChoiceArgument(const QString &value, const QStringList &allowed, const QString &what)
{
    if (!allowed.contains(value)) {
        QStringList shown;
        for (const QString &choice : allowed)
            shown << (choice.isEmpty() ? u"leer"_qs : u'"' + choice + u'"');
        refuse(value, what, u"einer der Werte " + shown.join(u", "));
    }
    return value;
}

} // namespace store
