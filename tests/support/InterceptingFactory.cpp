#include "InterceptingFactory.h"

using namespace Qt::StringLiterals;

namespace testsupport {

namespace {

class InterceptedObject : public tolven::ServerObject
{
public:
    InterceptedObject(std::unique_ptr<tolven::ServerObject> inner, std::shared_ptr<InterceptingFactory::Hook> hook)
        : m_inner(std::move(inner))
        , m_hook(std::move(hook))
    {
    }

    QString className() const override { return m_inner->className(); }
    QString property(const QString &name) const override { return m_inner->property(name); }
    void setProperty(const QString &name, const QString &value) override { m_inner->setProperty(name, value); }
    QString callMethod(const QString &name, const QStringList &arguments) override
    {
        (*m_hook)(m_inner->className(), name, arguments);
        return m_inner->callMethod(name, arguments);
    }
    void sys_save() override
    {
        (*m_hook)(m_inner->className(), u"sys_save"_s, {m_inner->sys_ID()});
        m_inner->sys_save();
    }
    QString sys_ID() const override { return m_inner->sys_ID(); }
    void sys_deleteid(const QString &id) override
    {
        (*m_hook)(m_inner->className(), u"sys_deleteid"_s, {id});
        m_inner->sys_deleteid(id);
    }
    QString sys_Version() const override { return m_inner->sys_Version(); }
    void sys_ExpectVersion(const QString &version) override { m_inner->sys_ExpectVersion(version); }
    void sys_Close() override { m_inner->sys_Close(); }

private:
    std::unique_ptr<tolven::ServerObject> m_inner;
    std::shared_ptr<InterceptingFactory::Hook> m_hook;
};

class InterceptedResultSet : public tolven::ResultSet
{
public:
    InterceptedResultSet(std::unique_ptr<tolven::ResultSet> inner, QString className, QString queryName,
                         std::shared_ptr<InterceptingFactory::Hook> hook)
        : m_inner(std::move(inner))
        , m_className(std::move(className))
        , m_queryName(std::move(queryName))
        , m_hook(std::move(hook))
    {
    }

    void execute(const QStringList &arguments) override
    {
        (*m_hook)(m_className, m_queryName, arguments);
        m_inner->execute(arguments);
    }
    bool next() override { return m_inner->next(); }
    QString getColumn(int n) const override { return m_inner->getColumn(n); }
    int columnCount() const override { return m_inner->columnCount(); }
    void close() override { m_inner->close(); }

private:
    std::unique_ptr<tolven::ResultSet> m_inner;
    QString m_className;
    QString m_queryName;
    std::shared_ptr<InterceptingFactory::Hook> m_hook;
};

} // namespace

InterceptingFactory::InterceptingFactory(std::unique_ptr<tolven::ServerFactory> inner, Hook hook)
    : m_inner(std::move(inner))
    , m_hook(std::make_shared<Hook>(std::move(hook)))
{
}

bool InterceptingFactory::connect(const QString &connectString)
{
    return m_inner->connect(connectString);
}

bool InterceptingFactory::isConnected() const
{
    return m_inner->isConnected();
}

void InterceptingFactory::disconnect()
{
    m_inner->disconnect();
}

std::unique_ptr<tolven::ServerObject> InterceptingFactory::wrap(std::unique_ptr<tolven::ServerObject> object)
{
    return std::make_unique<InterceptedObject>(std::move(object), m_hook);
}

std::unique_ptr<tolven::ServerObject> InterceptingFactory::classObject(const QString &className)
{
    return wrap(m_inner->classObject(className));
}

std::unique_ptr<tolven::ServerObject> InterceptingFactory::createNew(const QString &className)
{
    return wrap(m_inner->createNew(className));
}

std::unique_ptr<tolven::ServerObject> InterceptingFactory::openById(const QString &className, const QString &id)
{
    return wrap(m_inner->openById(className, id));
}

std::unique_ptr<tolven::ServerObject> InterceptingFactory::openForWrite(const QString &className, const QString &id)
{
    return wrap(m_inner->openForWrite(className, id));
}

std::unique_ptr<tolven::ResultSet> InterceptingFactory::openQuery(const QString &className, const QString &queryName)
{
    return std::make_unique<InterceptedResultSet>(m_inner->openQuery(className, queryName), className, queryName,
                                                  m_hook);
}

} // namespace testsupport
