#include "QuerySupport.h"

#include <QSqlRecord>
#include <QVariant>

#include "store/Arguments.h"

namespace store {

QString RowId(const QSqlQuery &row, int firmColumn, int keyColumn)
{
    return row.value(firmColumn).toString() + u"||" + row.value(keyColumn).toString();
}

QStringList RowTexts(const QSqlQuery &row)
{
    QStringList texts;
    const int count = row.record().count();
    for (int i = 0; i < count; ++i)
        texts << row.value(i).toString();
    return texts;
}

QString NumericTextOrder(const QString &column)
{
    return u"LENGTH(" + column + u"), " + column;
}

PrefixRange StartsWith(const QString &column, const QString &prefix)
{
    // Every text that starts with prefix lies in [prefix, prefix + U+10FFFF):
    // no character sorts after the last code point, in UTF-8 bytes as in UTF-16.
    const QString upper = prefix + QChar(0xDBFF) + QChar(0xDFFF);
    return {column + u" >= ? AND " + column + u" < ?", {prefix, upper}};
}

QueryDescription FirmListQuery(const QString &name, const QString &table, const QStringList &columns,
                               const QString &orderBy, std::function<QStringList(Session &, const QSqlQuery &)> row)
{
    const QString sql = u"SELECT " + columns.join(u", ") + u" FROM " + table + u" WHERE firma = ? ORDER BY " + orderBy;
    return {name, 1, 1,
            [sql, name](Session &, const QStringList &arguments) {
                return SqlStatement{sql, {FirmArgument(arguments[0], u"die Firma der Abfrage \"" + name + u'"')}};
            },
            std::move(row)};
}

} // namespace store
