#include "DateField.h"

#include <QRegularExpression>

#include <algorithm>

#include "common/DisplayFormat.h"
#include "objectapi/Digits.h"

using namespace Qt::StringLiterals;

namespace tolven {

DateField::DateField(QWidget *parent)
    : QLineEdit(parent)
{
    QString mask = DisplayDateFormat();
    static const QRegularExpression datePart(u"[dMy]"_s);
    // Digits may be left out: a cleared field (no date) and a half-typed one
    // leave the cell, the second to be refused with its reason.
    mask.replace(datePart, u"0"_s);
    setInputMask(mask + u";_");
    setToolTip(u"Datum (" + DisplayDateFormat() + u"); leer: ohne Datum");
}

QDate DateField::date() const
{
    return ParseDisplayDate(text());
}

bool DateField::isBlank() const
{
    const QString typed = text();
    return std::none_of(typed.begin(), typed.end(), IsAsciiDigit);
}

void DateField::setDate(const QDate &date)
{
    setText(DisplayDate(date));
}

} // namespace tolven
