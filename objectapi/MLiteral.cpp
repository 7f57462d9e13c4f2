#include "MLiteral.h"

namespace tolven {

QString MQuote(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar ch : text) {
        if (ch == u'"')
            quoted += u'"';
        quoted += ch;
    }
    quoted += u'"';
    return quoted;
}

bool ParseMLiteral(QStringView text, qsizetype &pos, QString &value)
{
    qsizetype i = pos;
    if (i >= text.size() || text[i] != u'"')
        return false;
    ++i;
    QString result;
    while (i < text.size()) {
        if (text[i] != u'"') {
            result += text[i++];
            continue;
        }
        // A quote either doubles (one quote of the value) or closes the literal.
        if (i + 1 < text.size() && text[i + 1] == u'"') {
            result += u'"';
            i += 2;
            continue;
        }
        pos = i + 1;
        value = result;
        return true;
    }
    return false; // no closing quote
}

} // namespace tolven
