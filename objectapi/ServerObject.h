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
    // Releases the object; any later use of it is an error.
    virtual void sys_Close() = 0;
};

} // namespace tolven
