#include "DisplayFormat.h"

#include <QLocale>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace tolven {

QString DisplayDateFormat()
{
    // Every part two digits long and the year four, whatever the locale's
    // short form abbreviates, so that a date field's mask fits every date.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    static const QRegularExpression day(u"d+"_s);
    static const QRegularExpression month(u"M+"_s);
    static const QRegularExpression year(u"y+"_s);
    format.replace(day, u"dd"_s);
    format.replace(month, u"MM"_s);
    format.replace(year, u"yyyy"_s);
    return format;
}

QString DisplayDate(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, DisplayDateFormat()) : QString();
}

QDate ParseDisplayDate(const QString &text)
{
    return QLocale().toDate(text, DisplayDateFormat());
}

} // namespace tolven
