#pragma once

#include <QString>
#include <QStringList>

namespace tolven {

// A server object: a stored or new object of a class, or the class object
// through which class methods are called. Properties and methods are found
// by name, ignoring case. Values are text: numbers with "." as decimal point,
// dates as yyyy-mm-dd.
class ServerObject
{
public:
    virtual ~ServerObject() = default;

    virtual QString className() const = 0;

    virtual QString property(const QString &name) const = 0;
    virtual void setProperty(const QString &name, const QString &value) = 0;

    // Class and instance methods, including XLogicalToODBC for every
    // property X (the display form of a value) and Xecute of TV.Windows.
    virtual QString callMethod(const QString &name, const QStringList &arguments = {}) = 0;

    // Stores the object; a new object gets its id here.
    virtual void sys_save() = 0;
    // The object's id: Firm||key; empty for an object not yet saved.
    virtual QString sys_ID() const = 0;
    // Deletes the stored object of this class with that id.
    virtual void sys_deleteid(const QString &id) = 0;
    // The object's row version: read with it, and the one it has after
    // sys_save; every write of an object gives it a new one. Empty for an
    // object not yet saved and for one opened for writing only.
    virtual QString sys_Version() const = 0;
    // Makes the next sys_save and sys_deleteid write only when the stored
    // object still has this row version; otherwise they throw AccessError
    // (Conflict when it has another, ObjectNotFound when it is gone) and
    // write nothing. An empty version writes whatever is stored.
    virtual void sys_ExpectVersion(const QString &version) = 0;
    // Releases the object; any later use of it is an error.
    virtual void sys_Close() = 0;
};

} // namespace tolven
