#pragma once

#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

#include "objectapi/ServerObject.h"
#include "store/ClassDescription.h"
#include "store/Session.h"

namespace store {

// A server object of the store: the class object of a class, a new object
// or a stored one, read in one query when opened and written in one
// statement by sys_save.
class StoreObject : public tolven::ServerObject
{
public:
    static std::unique_ptr<StoreObject> classObject(std::shared_ptr<Session> session, const ClassDescription &cls);
    static std::unique_ptr<StoreObject> createNew(std::shared_ptr<Session> session, const ClassDescription &cls);
    static std::unique_ptr<StoreObject> openById(std::shared_ptr<Session> session, const ClassDescription &cls,
                                                 const QString &id);
    static std::unique_ptr<StoreObject> openForWrite(std::shared_ptr<Session> session, const ClassDescription &cls,
                                                     const QString &id);

    QString className() const override;
    QString property(const QString &name) const override;
    void setProperty(const QString &name, const QString &value) override;
    QString callMethod(const QString &name, const QStringList &arguments = {}) override;
    void sys_save() override;
    QString sys_ID() const override;
    void sys_deleteid(const QString &id) override;
    QString sys_Version() const override;
    void sys_ExpectVersion(const QString &version) override;
    void sys_Close() override;

    Session &session() const;
    const ClassDescription &description() const { return m_class; }

private:
    enum class Kind { ClassObject, New, Stored };

    StoreObject(std::shared_ptr<Session> session, const ClassDescription &cls, Kind kind);
    void ensureUsable() const;
    void ensureInstance(const QString &what) const;
    const PropertyDescription &findProperty(const QString &name) const;
    qsizetype indexOf(const PropertyDescription &property) const;
    void insert();
    // On PostgreSQL: inserts the new object with the class's next number in
    // its firm, taken from the number sequence by the same statement; the
    // number.
    qint64 insertTakingNumber(const QStringList &columns, const QVariantList &values);
    void update();
    // After a write that found no row of the expected version: Conflict when
    // the object is there with another version, ObjectNotFound when it is gone.
    [[noreturn]] void failVersionCheck(const QString &firm, const QString &key, const QString &action);

    std::shared_ptr<Session> m_session;
    const ClassDescription &m_class;
    Kind m_kind;
    QString m_firm;
    QString m_key;
    QStringList m_values;        // one per property, in the description's order
    QList<bool> m_changed;       // likewise
    QString m_version;           // the row version read or written
    std::optional<qint64> m_expectedVersion; // what the next write requires to be stored
    bool m_unread = false;       // opened for writing only
    QList<bool> m_known;
    std::shared_ptr<Session::WriteOutcome> m_pending;  // a write held back by the session         // opened for writing only: the properties set, by index
    bool m_closed = false;
};

// After a write that found no row of the expected version: throws Conflict
// when the object is there with another version, ObjectNotFound when it is
// gone, each concerning the object's id.
[[noreturn]] void ThrowStaleWrite(Session &session, const ClassDescription &cls, const QString &firm,
                                  const QString &key, std::optional<qint64> expected, const QString &action);

// Splits an id Firm||key; throws AccessError naming the class for a malformed one.
void SplitObjectId(const QString &className, const QString &id, QString &firm, QString &key);

// Throws AccessError unless count lies within what the member takes.
void CheckArgumentCount(const QString &what, int minimum, int maximum, qsizetype count);

} // namespace store
