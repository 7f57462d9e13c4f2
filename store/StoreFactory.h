#pragma once

#include <memory>

#include "objectapi/ServerFactory.h"
#include "store/DatabaseTarget.h"

namespace store {

class Session;
struct ClassDescription;

// The object interface on an SQLite file or a PostgreSQL database.
class StoreFactory : public tolven::ServerFactory
{
public:
    StoreFactory();
    ~StoreFactory() override;

    bool connect(const QString &connectString) override;
    // Connects to a target given directly (tolven-admin, tests).
    bool connectTo(const DatabaseTarget &target);
    bool isConnected() const override;
    void disconnect() override;

    std::unique_ptr<tolven::ServerObject> classObject(const QString &className) override;
    std::unique_ptr<tolven::ServerObject> createNew(const QString &className) override;
    std::unique_ptr<tolven::ServerObject> openById(const QString &className, const QString &id) override;
    std::unique_ptr<tolven::ServerObject> openForWrite(const QString &className, const QString &id) override;
    std::unique_ptr<tolven::ResultSet> openQuery(const QString &className, const QString &queryName) override;

private:
    std::shared_ptr<Session> session() const;
    const ClassDescription &findClass(const QString &className, bool needsObjects) const;

    std::shared_ptr<Session> m_session;
};

} // namespace store
