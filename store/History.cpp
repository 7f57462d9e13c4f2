#include "History.h"

#include <QSqlQuery>

#include "objectapi/AccessError.h"
#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreObject.h"

using namespace Qt::StringLiterals;

namespace store::history {

namespace {

const QString InsertColumns =
    u"(changed_at, person, class_name, firma, obj_key, obj_version, action, property, old_value, new_value)"_s;

// A deleted object leaves its values: one row per property that had one,
// and always one for the first property.
const QString KeptOnDeletion = u"(c.n = 1 OR COALESCE(c.old_value, '') <> '')"_s;

// One row per property: its number (the order of the description), name and column.
struct Logged
{
    int number;
    QString name;
    QString column;
};

QList<Logged> loggedProperties(const ClassDescription &cls)
{
    QList<Logged> logged;
    for (const PropertyDescription &property : cls.properties) {
        if (!property.isIdPart())
            logged.append({int(logged.size()) + 1, property.name, property.column});
    }
    return logged;
}

// A compound of plain SELECTs yields its rows in the order written; sorting
// them again would cost a sorter for every row written.
QString sqliteTriggers(const ClassDescription &cls, const QString &createTrigger)
{
    const QString now = u"strftime('%Y-%m-%d %H:%M:%S', 'now')"_s;
    const QString who = u"COALESCE((SELECT person FROM " + WriterTable + u" LIMIT 1), '')";
    const QString head = u"INSERT INTO " + Table + u' ' + InsertColumns + u" ";
    const QString cls_ = u'\'' + cls.name + u'\'';
    QStringList changes;
    QStringList deleted;
    for (const Logged &p : loggedProperties(cls)) {
        changes << u"SELECT '" + p.name + u"' AS property, OLD." + p.column + u" AS old_value, NEW." + p.column
                + u" AS new_value";
        deleted << u"SELECT " + QString::number(p.number) + u" AS n, '" + p.name + u"' AS property, OLD." + p.column
                + u" AS old_value";
    }
    return createTrigger + cls.table + u"_hist_ai AFTER INSERT ON " + cls.table + u" BEGIN " + head + u"VALUES ("
        + now + u", " + who + u", " + cls_ + u", NEW.firma, NEW.obj_key, NEW.obj_version, '" + New
        + u"', '', '', ''); END;\n"
        + createTrigger + cls.table + u"_hist_ad AFTER DELETE ON " + cls.table + u" BEGIN " + head + u"SELECT " + now
        + u", " + who + u", " + cls_ + u", OLD.firma, OLD.obj_key, OLD.obj_version, '" + Deleted
        + u"', c.property, c.old_value, '' FROM (" + deleted.join(u" UNION ALL ") + u") c WHERE " + KeptOnDeletion
        + u"; END;\n"
        + createTrigger + cls.table + u"_hist_au AFTER UPDATE ON " + cls.table + u" BEGIN " + head + u"SELECT " + now
        + u", " + who + u", " + cls_ + u", NEW.firma, NEW.obj_key, NEW.obj_version, '" + Changed
        + u"', c.property, c.old_value, c.new_value FROM (" + changes.join(u" UNION ALL ")
        + u") c WHERE c.old_value IS NOT c.new_value; END";
}

QString postgresFunction(const ClassDescription &cls)
{
    QStringList changes;
    QStringList deleted;
    for (const Logged &p : loggedProperties(cls)) {
        changes << u"(" + QString::number(p.number) + u", '" + p.name + u"', OLD." + p.column + u"::TEXT, NEW."
                + p.column + u"::TEXT)";
        deleted << u"(" + QString::number(p.number) + u", '" + p.name + u"', OLD." + p.column + u"::TEXT)";
    }
    const QString head = u"INSERT INTO " + Table + u' ' + InsertColumns + u" ";
    const QString cls_ = u'\'' + cls.name + u'\'';
    return u"CREATE OR REPLACE FUNCTION " + cls.table + u"_hist() RETURNS trigger LANGUAGE plpgsql AS $body$\n"
           u"DECLARE\n"
           u"  who TEXT := COALESCE(current_setting('tolven.person', true), '');\n"
           u"  at TEXT := to_char(statement_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS');\n"
           u"BEGIN\n"
           u"  IF TG_OP = 'INSERT' THEN\n"
           u"    " + head + u"VALUES (at, who, " + cls_ + u", NEW.firma, NEW.obj_key, NEW.obj_version, '" + New
        + u"', '', '', '');\n"
          u"  ELSIF TG_OP = 'DELETE' THEN\n"
          u"    " + head + u"SELECT at, who, " + cls_ + u", OLD.firma, OLD.obj_key, OLD.obj_version, '" + Deleted
        + u"', c.property, c.old_value, '' FROM (VALUES " + deleted.join(u", ") + u") AS c(n, property, old_value) WHERE "
        + KeptOnDeletion + u" ORDER BY c.n;\n"
          u"  ELSE\n"
          u"    " + head + u"SELECT at, who, " + cls_ + u", NEW.firma, NEW.obj_key, NEW.obj_version, '" + Changed
        + u"', c.property, c.old_value, c.new_value FROM (VALUES " + changes.join(u", ")
        + u") AS c(n, property, old_value, new_value) WHERE c.old_value IS DISTINCT FROM c.new_value ORDER BY c.n;\n"
          u"  END IF;\n"
          u"  RETURN NULL;\n"
          u"END\n"
          u"$body$";
}

// The history rows with the writer's name, as the queries answer them.
const QString SelectRows =
    u"SELECT h.changed_at, h.person, p.p_pname, h.class_name, h.firma, h.obj_key, h.obj_version, h.action,"
    u" h.property, h.old_value, h.new_value FROM "_s
    + Table + u" h LEFT JOIN tv_parpersedv p ON p.firma = h.firma AND p.obj_key = h.person";

QStringList historyRow(Session &, const QSqlQuery &row)
{
    return {row.value(0).toString(),
            row.value(1).toString(),
            tolven::ServerToDisplay(row.value(2).toString()),
            row.value(3).toString(),
            row.value(4).toString() + u"||" + row.value(5).toString(),
            row.value(6).toString(),
            row.value(7).toString(),
            row.value(8).toString(),
            row.value(9).toString(),
            row.value(10).toString()};
}

QString classArgument(const QString &value, const QString &what)
{
    // Any name goes: a class without history simply has none.
    if (value.isEmpty() || value.size() > 64) {
        throw tolven::AccessError(tolven::ErrorNumber::InvalidValue,
                                  u"Ungültiger Klassenname \"" + value + u"\" für " + what + u'.');
    }
    return value;
}

} // namespace

QStringList tableStatements(bool postgres, bool ifMissing)
{
    const QString create = ifMissing ? u"CREATE TABLE IF NOT EXISTS "_s : u"CREATE TABLE "_s;
    const QString text = schema::textType(postgres);
    const QString key = postgres ? u"hist_seq BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY"_s
                                 : u"hist_seq INTEGER PRIMARY KEY"_s;
    QStringList columns{key};
    for (const QString &column : {u"changed_at"_s, u"person"_s, u"class_name"_s, u"firma"_s, u"obj_key"_s})
        columns << column + u' ' + text + u" NOT NULL";
    columns << u"obj_version BIGINT NOT NULL"_s << u"action " + text + u" NOT NULL"
            << u"property " + text + u" NOT NULL" << u"old_value " + text << u"new_value " + text;
    return {create + Table + u" (" + columns.join(u", ") + u')',
            create + WriterTable + u" (person " + text + u" NOT NULL)"};
}

QStringList indexStatements(bool ifMissing)
{
    const QString create = ifMissing ? u"CREATE INDEX IF NOT EXISTS "_s : u"CREATE INDEX "_s;
    return {create + Table + u"_object ON " + Table + u" (class_name, firma, obj_key, hist_seq)",
            create + Table + u"_changed ON " + Table + u" (changed_at)"};
}

QStringList initialRows()
{
    return {u"INSERT INTO " + WriterTable + u" (person) SELECT '' WHERE NOT EXISTS (SELECT 1 FROM " + WriterTable
            + u')'};
}

QStringList triggerStatements(bool postgres, const ClassDescription &cls, bool ifMissing)
{
    if (!postgres) {
        const QString create = ifMissing ? u"CREATE TRIGGER IF NOT EXISTS "_s : u"CREATE TRIGGER "_s;
        return sqliteTriggers(cls, create).split(u";\n"_s);
    }
    return {postgresFunction(cls), u"DROP TRIGGER IF EXISTS " + cls.table + u"_hist ON " + cls.table,
            u"CREATE TRIGGER " + cls.table + u"_hist AFTER INSERT OR UPDATE OR DELETE ON " + cls.table
                + u" FOR EACH ROW EXECUTE FUNCTION " + cls.table + u"_hist()"};
}

QStringList dropStatements(bool postgres, const QList<ClassDescription> &classes)
{
    QStringList statements;
    if (!postgres)
        return statements;
    for (const ClassDescription &cls : classes) {
        if (cls.keepsHistory)
            statements << u"DROP FUNCTION IF EXISTS " + cls.table + u"_hist() CASCADE";
    }
    return statements;
}

ClassDescription historyClass()
{
    ClassDescription cls;
    cls.name = u"Konkur.Verlauf"_s;
    QueryDescription object{
        u"Objekt"_s, 2, 2,
        [](Session &, const QStringList &args) {
            const QString what = u"die Abfrage \"Objekt\" der Klasse Konkur.Verlauf"_s;
            const QString className = classArgument(args[0], what);
            QString firm;
            QString key;
            SplitObjectId(className, args[1], firm, key);
            return SqlStatement{SelectRows + u" WHERE h.class_name = ? AND h.firma = ? AND h.obj_key = ?"
                                                 u" ORDER BY h.hist_seq DESC",
                                {className, firm, key}};
        },
        historyRow};
    QueryDescription list{
        u"Liste"_s, 2, 2,
        [](Session &, const QStringList &args) {
            const QString what = u"die Abfrage \"Liste\" der Klasse Konkur.Verlauf"_s;
            const QString className = classArgument(args[0], what);
            const QString firm = FirmArgument(args[1], u"die Firma für " + what);
            return SqlStatement{SelectRows + u" WHERE h.class_name = ? AND h.firma = ? ORDER BY h.hist_seq DESC",
                                {className, firm}};
        },
        historyRow};
    cls.queries << object << list;
    return cls;
}

void forEach(Session &session, const QString &since, const std::function<void(const QStringList &row)> &each)
{
    QString sql = SelectRows;
    QVariantList values;
    if (!since.isEmpty()) {
        sql += u" WHERE h.changed_at >= ?";
        values << since;
    }
    sql += u" ORDER BY h.hist_seq";
    Statement query = session.newStatement(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    session.exec(query, u"Lesen des Änderungsverlaufs"_s);
    while (query.next())
        each(historyRow(session, query.rows()));
    query.finish();
}

qint64 purgeBefore(Session &session, const QString &date)
{
    Session::WriteScope scope(session);
    Statement &query = session.statement(u"DELETE FROM " + Table + u" WHERE changed_at < ?");
    query.addBindValue(date);
    session.exec(query, u"Kürzen des Änderungsverlaufs"_s);
    const qint64 deleted = query.numRowsAffected();
    query.finish();
    scope.commit();
    return deleted;
}

} // namespace store::history
