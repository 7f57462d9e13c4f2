#include "StoreFactory.h"

#include "objectapi/AccessError.h"
#include "store/ClassRegistry.h"
#include "store/Session.h"
#include "store/StoreObject.h"
#include "store/StoreResultSet.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

StoreFactory::StoreFactory() = default;

StoreFactory::~StoreFactory()
{
    disconnect();
}

bool StoreFactory::connect(const QString &connectString)
{
    return connectTo(ParseConnectString(connectString));
}

bool StoreFactory::connectTo(const DatabaseTarget &target)
{
    disconnect();
    m_session = Session::open(target);
    return true;
}

bool StoreFactory::isConnected() const
{
    return m_session && m_session->isStanding();
}

void StoreFactory::disconnect()
{
    if (m_session) {
        m_session->close();
        m_session.reset();
    }
}

std::shared_ptr<Session> StoreFactory::session() const
{
    if (!m_session || !m_session->isOpen())
        throw AccessError(ErrorNumber::NotConnected, u"Keine Verbindung zum Server."_s);
    return m_session;
}

const ClassDescription &StoreFactory::findClass(const QString &className, bool needsObjects) const
{
    const ClassDescription *cls = FindClass(className);
    if (!cls)
        throw AccessError(ErrorNumber::UnknownClass, u"Die Klasse " + className + u" gibt es nicht.");
    if (needsObjects && !cls->hasObjects())
        throw AccessError(ErrorNumber::NoObjects, u"Die Klasse " + className + u" hat keine gespeicherten Objekte.");
    return *cls;
}

std::unique_ptr<tolven::ServerObject> StoreFactory::classObject(const QString &className)
{
    auto s = session();
    return StoreObject::classObject(std::move(s), findClass(className, false));
}

std::unique_ptr<tolven::ServerObject> StoreFactory::createNew(const QString &className)
{
    auto s = session();
    return StoreObject::createNew(std::move(s), findClass(className, true));
}

std::unique_ptr<tolven::ServerObject> StoreFactory::openById(const QString &className, const QString &id)
{
    auto s = session();
    return StoreObject::openById(std::move(s), findClass(className, true), id);
}

std::unique_ptr<tolven::ServerObject> StoreFactory::openForWrite(const QString &className, const QString &id)
{
    auto s = session();
    return StoreObject::openForWrite(std::move(s), findClass(className, true), id);
}

std::unique_ptr<tolven::ResultSet> StoreFactory::openQuery(const QString &className, const QString &queryName)
{
    auto s = session();
    const ClassDescription &cls = findClass(className, false);
    const QueryDescription *query = cls.findQuery(queryName);
    if (!query) {
        throw AccessError(ErrorNumber::UnknownQuery,
                          u"Die Abfrage \"" + queryName + u"\" gibt es in der Klasse " + className + u" nicht.");
    }
    return std::make_unique<StoreResultSet>(std::move(s), cls, *query);
}

} // namespace store
