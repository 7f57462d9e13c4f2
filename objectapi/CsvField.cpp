#include "CsvField.h"

using namespace Qt::StringLiterals;

namespace tolven {

QString CsvField(const QString &text)
{
    const bool needsQuotes = text.contains(u';') || text.contains(u'"') || text.contains(u'\r')
        || text.contains(u'\n');
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace tolven
