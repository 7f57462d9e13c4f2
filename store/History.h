#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "store/ClassDescription.h"

namespace store {

class Session;

// The change history of the classes that keep one (ClassDescription::
// keepsHistory): every insert, update and delete of their rows leaves rows in
// tolven_history, written by triggers of the database in the transaction of
// the write itself, so that no write goes unrecorded and a rolled-back write
// leaves none. A change leaves one row per property whose value changed (old
// and new value as stored); a new object one row without a property; a
// deleted one a row per property it had a value for (its old value), and
// one for its first property in any case. When is the database's clock
// (UTC, to the second); who is the personnel code of the session that wrote
// (Session::noteWriter).
//
// The object interface reads the history (class Konkur.Verlauf) but has no
// way to change it; tolven-admin lists and trims it.
namespace history {

inline const QString Table = QStringLiteral("tolven_history");
// SQLite: the personnel code of the transaction writing (one at a time).
inline const QString WriterTable = QStringLiteral("tolven_writer");

// The action column: a new object, a change, a deletion.
inline const QString New = QStringLiteral("N");
inline const QString Changed = QStringLiteral("A");
inline const QString Deleted = QStringLiteral("L");

// The history's tables (with ifMissing only where missing), and the rows they start with.
QStringList tableStatements(bool postgres, bool ifMissing);
QStringList indexStatements(bool ifMissing);
QStringList initialRows();
// The triggers recording the writes of cls; on PostgreSQL with their function,
// replacing those there.
QStringList triggerStatements(bool postgres, const ClassDescription &cls, bool ifMissing);
// What drop removes beside the tables (PostgreSQL's trigger functions).
QStringList dropStatements(bool postgres, const QList<ClassDescription> &classes);

// The history's columns in the order the queries below answer them.
inline const QStringList Columns = {
    QStringLiteral("Zeitpunkt"), QStringLiteral("Personalcode"), QStringLiteral("Name"),
    QStringLiteral("Klasse"),    QStringLiteral("Id"),           QStringLiteral("Version"),
    QStringLiteral("Aktion"),    QStringLiteral("Eigenschaft"),  QStringLiteral("alt"),
    QStringLiteral("neu")};

// The class Konkur.Verlauf: queries "Objekt"(class, id) (one object, newest
// first) and "Liste"(class, firm) (every object of a class in a firm, newest
// first), each row the Columns above.
ClassDescription historyClass();

// For tolven-admin: every history row changed at or after since (yyyy-mm-dd,
// or all when empty), oldest first; rows has the Columns above.
void forEach(Session &session, const QString &since, const std::function<void(const QStringList &row)> &row);
// Deletes the rows changed before date (yyyy-mm-dd); their number.
qint64 purgeBefore(Session &session, const QString &date);

} // namespace history
} // namespace store
