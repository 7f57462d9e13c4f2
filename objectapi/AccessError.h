#pragma once

#include <QString>

#include <exception>

namespace tolven {

// The numbers a failed server operation reports. They are shown to the user
// ("Fehler: " + number) and let callers and tests tell the failures apart.
enum class ErrorNumber : int {
    NotConnected = 101,      // no connection; the session was never made or has ended
    ConnectFailed = 102,     // the connection could not be made
    ConnectionLost = 103,    // the database went away during the call
    NoSchema = 104,          // the database does not hold our schema
    SchemaVersion = 105,     // the schema is of another version than this program's
    BadConnectString = 106,  // the connection string is not of the form we read
    UnknownClass = 201,
    UnknownProperty = 202,
    UnknownMethod = 203,
    UnknownQuery = 204,
    ObjectNotFound = 205,
    InvalidValue = 206,      // a property value or argument of the wrong form
    InvalidId = 207,
    WrongArguments = 208,    // too few or too many arguments for a method or query
    NoObjects = 209,         // the class has only class methods and queries
    ObjectState = 210,       // the object or result set cannot do this now
    Conflict = 211,          // the stored object is no longer the version the caller expected
    UnknownCommand = 301,
    MalformedCommand = 302,
    NoSessionContext = 303,  // firm, branch and person have not been set
    TransactionState = 304,  // TCOMMIT or TROLLBACK without TSTART
    DatabaseError = 401,
};

// The one error type of the object interface: a number and a German description
// naming what failed. Thrown by every failing operation of the interface.
class AccessError : public std::exception
{
public:
    AccessError(ErrorNumber number, QString description);

    ErrorNumber number() const noexcept { return m_number; }
    int code() const noexcept { return static_cast<int>(m_number); }
    const QString &description() const noexcept { return m_description; }
    // The object the failure concerns, where it is one of several written
    // together (a Conflict or ObjectNotFound found at TCOMMIT); else empty.
    const QString &objectId() const noexcept { return m_objectId; }
    AccessError &concerning(QString id)
    {
        m_objectId = std::move(id);
        return *this;
    }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    ErrorNumber m_number;
    QString m_description;
    QString m_objectId;
    QByteArray m_what;
};

} // namespace tolven
