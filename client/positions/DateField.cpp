#include "DateField.h"

#include <QLocale>
#include <QRegularExpression>

namespace tolven {

DateField::DateField(QWidget *parent)
    : QLineEdit(parent)
{
    QString mask = DateFormat();
    mask.replace(QRegularExpression(QStringLiteral("[dMy]")), QStringLiteral("9"));
    setInputMask(mask + u";_");
    setToolTip(u"Datum (" + DateFormat() + u"); leer: ohne Datum");
}

QString DateField::DateFormat()
{
    // Every part two digits long and the year four, so that the mask fits every date.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    static const QRegularExpression day(QStringLiteral("d+"));
    static const QRegularExpression month(QStringLiteral("M+"));
    static const QRegularExpression year(QStringLiteral("y+"));
    format.replace(day, QStringLiteral("dd"));
    format.replace(month, QStringLiteral("MM"));
    format.replace(year, QStringLiteral("yyyy"));
    return format;
}

QDate DateField::date() const
{
    return QLocale().toDate(text(), DateFormat());
}

bool DateField::isBlank() const
{
    for (QChar ch : text()) {
        if (ch.isDigit())
            return false;
    }
    return true;
}

void DateField::setDate(const QDate &date)
{
    setText(date.isValid() ? QLocale().toString(date, DateFormat()) : QString());
}

} // namespace tolven
