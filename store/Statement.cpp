#include "Statement.h"

#include <QDateTime>

namespace store {

void Statement::addBindValue(const QVariant &value)
{
    if (m_prepared)
        m_query.addBindValue(value);
    else
        m_values << value;
}

void Statement::finish()
{
    m_query.finish();
    m_values.clear();
}

namespace {

// NULL to the database, as Qt's drivers bind them: an empty variant and a
// null text, date or time.
bool isNullValue(const QVariant &value)
{
    if (value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return !value.toDate().isValid();
    case QMetaType::QTime:
        return !value.toTime().isValid();
    case QMetaType::QDateTime:
        return !value.toDateTime().isValid();
    default:
        return false;
    }
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// A string constant holding text whatever the server's
// standard_conforming_strings: with a backslash in it, an escape string
// constant in which each backslash stands for itself.
void appendLiteral(QString &out, const QString &text)
{
    const bool escape = text.contains(u'\\');
    out.reserve(out.size() + text.size() + 3);
    if (escape)
        out += u'E';
    out += u'\'';
    for (const QChar c : text) {
        if (c == u'\'')
            out += u'\'';
        else if (c == u'\\')
            out += u'\\';
        out += c;
    }
    out += u'\'';
}

} // namespace

std::optional<QString> SqlWithLiterals(const QString &sql, const QVariantList &values)
{
    enum class Within { Code, String, EscapeString, Identifier, Comment };
    Within within = Within::Code;
    QString out;
    out.reserve(sql.size() + 16 * values.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        switch (within) {
        case Within::Code:
            if (c == u'?') {
                if (next == values.size())
                    return std::nullopt;
                const QVariant &value = values[next++];
                if (isNullValue(value)) {
                    out += u"NULL";
                } else {
                    const QString text = value.toString();
                    if (text.contains(QChar(0)))
                        return std::nullopt;
                    appendLiteral(out, text);
                }
                continue;
            }
            if (c == u'\'') {
                const bool escape = i > 0 && (sql[i - 1] == u'E' || sql[i - 1] == u'e')
                    && (i == 1 || !isWordCharacter(sql[i - 2]));
                within = escape ? Within::EscapeString : Within::String;
            } else if (c == u'"') {
                within = Within::Identifier;
            } else if (c == u'-' && i + 1 < sql.size() && sql[i + 1] == u'-') {
                within = Within::Comment;
            }
            break;
        case Within::String:
            // A doubled quote ends the constant and starts it again.
            if (c == u'\'')
                within = Within::Code;
            break;
        case Within::EscapeString:
            if (c == u'\\' && i + 1 < sql.size()) {
                out += c;
                out += sql[++i];
                continue;
            }
            if (c == u'\'')
                within = Within::Code;
            break;
        case Within::Identifier:
            if (c == u'"')
                within = Within::Code;
            break;
        case Within::Comment:
            if (c == u'\n')
                within = Within::Code;
            break;
        }
        out += c;
    }
    if (next != values.size())
        return std::nullopt;
    return out;
}

} // namespace store
