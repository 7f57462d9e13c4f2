#pragma once

#include <QString>

#include <memory>

#include "objectapi/ResultSet.h"
#include "objectapi/ServerObject.h"

namespace tolven {

// The factory: one session with the server. Everything the client reads or
// writes goes through it. Every failing call throws AccessError.
class ServerFactory
{
public:
    virtual ~ServerFactory() = default;

    // Connects with "cn_iptcp:" HOST "[" PORT "]:TOLVEN". Returns true when
    // connected; throws AccessError saying why when no connection can be made.
    virtual bool connect(const QString &connectString) = 0;
    // False before connect, after disconnect and after the connection was lost.
    virtual bool isConnected() const = 0;
    // Ends the session; an open transaction is rolled back. Never throws.
    virtual void disconnect() = 0;

    virtual std::unique_ptr<ServerObject> classObject(const QString &className) = 0;
    virtual std::unique_ptr<ServerObject> createNew(const QString &className) = 0;
    virtual std::unique_ptr<ServerObject> openById(const QString &className, const QString &id) = 0;
    // A stored object to be changed or deleted without reading it first:
    // only the properties set are written. Reading a property is an error.
    virtual std::unique_ptr<ServerObject> openForWrite(const QString &className, const QString &id) = 0;
    virtual std::unique_ptr<ResultSet> openQuery(const QString &className, const QString &queryName) = 0;
};

} // namespace tolven
