#include "ClassDescription.h"

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

} // namespace store
