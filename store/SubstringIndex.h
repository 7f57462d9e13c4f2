#pragma once

#include <QString>
#include <QStringList>

#include "store/ClassDescription.h"

namespace store {

class Session;

// An index that finds the rows whose text column holds a given text anywhere
// (what "LIKE '%text%'" asks), for texts of at least MinimumLength
// characters: on SQLite an FTS5 table with the trigram tokenizer beside the
// table, kept up to date by triggers; on PostgreSQL a GIN index of pg_trgm on
// the column itself. The two databases differ here and nowhere else.
namespace substring {

// Trigrams: a shorter text has none to look up.
inline constexpr int MinimumLength = 3;

struct Statements
{
    QStringList tables;   // before the table's columns are complete
    QStringList indexes;  // once they are
};
// What makes the index of table.column; with ifMissing only where it is missing.
Statements create(bool postgres, const QString &table, const QString &column, bool ifMissing);
// The tables the index keeps of its own (none on PostgreSQL).
QStringList ownTables(bool postgres, const QString &table, const QString &column);
// Whether the index of table.column exists.
bool exists(Session &session, const QString &table, const QString &column);
// Takes the rows already stored into an index made after them (SQLite; the
// PostgreSQL index reads them when it is made).
void fill(Session &session, const QString &table, const QString &column);

// A subquery for "obj_key IN (...)": the keys of the rows of firm whose
// column contains key, taken literally (% and _ are no wildcards), exactly
// as "column LIKE '%key%'" finds them. Empty when key is too short for the
// index.
SqlStatement containing(Session &session, const QString &table, const QString &column, const QString &firm,
                        const QString &key);

} // namespace substring
} // namespace store
