#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include "store/ClassDescription.h"

namespace store {

// Pieces shared by the class queries and routines.

// The id Firm||key of a row whose columns firmColumn and keyColumn hold them.
QString RowId(const QSqlQuery &row, int firmColumn, int keyColumn);
// The columns of a row as text.
QStringList RowTexts(const QSqlQuery &row);

// The SQL that orders digit-only text by its number ("9" before "10").
QString NumericTextOrder(const QString &column);

// A condition "column starts with prefix" that an index on column serves on
// both databases: a range in byte order. Binds two values.
struct PrefixRange
{
    QString condition;
    QVariantList values;
};
PrefixRange StartsWith(const QString &column, const QString &prefix);

// A query with the firm as its only argument, rows ordered by orderBy.
QueryDescription FirmListQuery(const QString &name, const QString &table, const QStringList &columns,
                               const QString &orderBy,
                               std::function<QStringList(Session &, const QSqlQuery &)> row = {});

} // namespace store
