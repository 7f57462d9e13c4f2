#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "objectapi/ServerFactory.h"

namespace testsupport {

// A factory in front of another: every call goes through, but a test sees
// the class methods and queries the client calls and can make any of them
// fail (by throwing AccessError from the hook) without touching the store.
class InterceptingFactory : public tolven::ServerFactory
{
public:
    // Called before each method call and each query execution: the class,
    // the method or query name, and the arguments; and before each sys_save
    // (argument: the object's id, empty for a new one) and sys_deleteid (the id).
    using Hook = std::function<void(const QString &className, const QString &name, const QStringList &arguments)>;

    InterceptingFactory(std::unique_ptr<tolven::ServerFactory> inner, Hook hook);

    bool connect(const QString &connectString) override;
    bool isConnected() const override;
    void disconnect() override;
    std::unique_ptr<tolven::ServerObject> classObject(const QString &className) override;
    std::unique_ptr<tolven::ServerObject> createNew(const QString &className) override;
    std::unique_ptr<tolven::ServerObject> openById(const QString &className, const QString &id) override;
    std::unique_ptr<tolven::ServerObject> openForWrite(const QString &className, const QString &id) override;
    std::unique_ptr<tolven::ResultSet> openQuery(const QString &className, const QString &queryName) override;

private:
    std::unique_ptr<tolven::ServerObject> wrap(std::unique_ptr<tolven::ServerObject> object);

    std::unique_ptr<tolven::ServerFactory> m_inner;
    std::shared_ptr<Hook> m_hook;
};

} // namespace testsupport
