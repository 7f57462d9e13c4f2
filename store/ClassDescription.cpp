#include "ClassDescription.h"

#include <QSqlQuery>

#include "objectapi/AccessError.h"
#include "store/Arguments.h"
#include "store/Session.h"
#include "store/StoreObject.h"

using namespace Qt::StringLiterals;

namespace store {

namespace {

// Members are found by name regardless of case, as the client's late-bound
// calls have always done (PNAMELogicalToODBC, ABTBEZlogicaltoodbc).
template<typename T>
const T *findByName(const QList<T> &members, QStringView name)
{
    for (const T &member : members) {
        if (name.compare(member.name, Qt::CaseInsensitive) == 0)
            return &member;
    }
    return nullptr;
}

} // namespace

QStringList ClassDescription::propertyColumns() const
{
    QStringList columns;
    for (const PropertyDescription &property : properties) {
        if (!property.isIdPart())
            columns << property.column;
    }
    return columns;
}

QStringList ClassDescription::storedColumns() const
{
    QStringList columns = propertyColumns();
    for (const DerivedColumn &derived : derivedColumns)
        columns << derived.column;
    return columns;
}

const PropertyDescription *ClassDescription::findProperty(QStringView propertyName) const
{
    return findByName(properties, propertyName);
}

const QueryDescription *ClassDescription::findQuery(QStringView queryName) const
{
    return findByName(queries, queryName);
}

const MethodDescription *ClassDescription::findMethod(QStringView methodName) const
{
    return findByName(methods, methodName);
}

PropertyDescription FirmProperty()
{
    return {u"Firma"_s, u"firma"_s, PropertyType::Text};
}

PropertyDescription KeyProperty(const QString &name)
{
    return {name, u"obj_key"_s, PropertyType::Text};
}

namespace {

PropertyDescription typed(const QString &name, PropertyType type)
{
    return {name, u"p_" + name.toLower(), type};
}

} // namespace

PropertyDescription TextProperty(const QString &name)
{
    return typed(name, PropertyType::Text);
}

PropertyDescription NumberProperty(const QString &name)
{
    return typed(name, PropertyType::Number);
}

PropertyDescription DateProperty(const QString &name)
{
    return typed(name, PropertyType::Date);
}

PropertyDescription FlagProperty(const QString &name)
{
    return typed(name, PropertyType::Flag);
}

namespace {

// "count:last number:sum of versions" of the firm's list: any replacement
// makes new objects with higher numbers, any change raises a version.
QString listState(Session &session, const ClassDescription &cls, const QString &firm)
{
    Statement &query = session.statement(u"SELECT COUNT(*), COALESCE(MAX(obj_seq), 0), COALESCE(SUM(obj_version), 0)"
                                         u" FROM " + cls.table + u" WHERE firma = ?");
    query.addBindValue(firm);
    session.exec(query, u"Lesen des Stands der Liste " + cls.name + u" der Firma " + firm);
    QString state;
    if (query.next()) {
        state = query.value(0).toString() + u':' + query.value(1).toString() + u':' + query.value(2).toString();
    }
    query.finish();
    return state;
}

} // namespace

MethodDescription ListStateMethod()
{
    return {u"Stand"_s, 1, 1, [](MethodCall &call) {
                const ClassDescription &cls = call.object.description();
                const QString firm = FirmArgument(call.arguments[0], u"die Firma von " + cls.name + u".Stand");
                return listState(call.session, cls, firm);
            }};
}

MethodDescription DeleteAllMethod()
{
    return {u"Delall"_s, 1, 2, [](MethodCall &call) {
                const ClassDescription &cls = call.object.description();
                const QString firm = FirmArgument(call.arguments[0], u"die Firma von " + cls.name + u".Delall");
                Session &session = call.session;
                Session::WriteScope scope(session);
                session.noteWriter();
                if (session.isPostgres()) {
                    // Two replacements of one firm's list take turns until commit: without the lock the second
                    // would not see the rows the first inserted, keep them and add its own.
                    Statement &lock = session.statement(u"SELECT pg_advisory_xact_lock(hashtext(?))"_s);
                    lock.addBindValue(QString(u"Delall " + cls.table + u' ' + firm));
                    session.exec(lock, u"Sperre der Liste " + cls.name + u" der Firma " + firm);
                    lock.finish();
                }
                // With the state the caller read the list in: only while nobody has changed it since.
                if (call.arguments.size() > 1) {
                    if (const QString state = listState(session, cls, firm); state != call.arguments[1]) {
                        throw tolven::AccessError(tolven::ErrorNumber::Conflict,
                                                  u"Die Liste " + cls.name + u" der Firma " + firm
                                                      + u" wurde inzwischen geändert (Stand " + state + u" statt "
                                                      + call.arguments[1] + u").");
                    }
                }
                session.execDirect(u"DELETE FROM " + cls.table + u" WHERE firma = ?", {firm},
                                   u"Löschen aller Objekte von " + cls.name + u" der Firma " + firm);
                scope.commit();
                return QString();
            }};
}

} // namespace store
