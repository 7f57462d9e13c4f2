#include "StoreObject.h"

#include <QDate>
#include <QSqlQuery>

#include "objectapi/AccessError.h"
#include "objectapi/Digits.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

namespace {

const QString LogicalToODBC = u"LogicalToODBC"_s;

bool isNumber(QStringView text)
{
    // -?digits[.digits]: the form numbers cross the interface in.
    qsizetype i = 0;
    if (i < text.size() && text[i] == u'-')
        ++i;
    const qsizetype intStart = i;
    while (i < text.size() && tolven::IsAsciiDigit(text[i]))
        ++i;
    if (i == intStart)
        return false;
    if (i == text.size())
        return true;
    if (text[i] != u'.')
        return false;
    const qsizetype fracStart = ++i;
    while (i < text.size() && tolven::IsAsciiDigit(text[i]))
        ++i;
    return i > fracStart && i == text.size();
}

// What a column receives for a value: a property never set is stored as
// empty text, not as NULL, so that comparing and sorting treat it alike on
// both databases (NULL sorts first on SQLite and last on PostgreSQL).
QVariant stored(const QString &value)
{
    return value.isNull() ? QVariant(u""_s) : QVariant(value);
}

bool isIsoDate(const QString &text)
{
    return text.size() == 10 && QDate::fromString(text, Qt::ISODate).isValid();
}

void validate(const ClassDescription &cls, const PropertyDescription &property, const QString &value)
{
    QString expected;
    // Tabs and line breaks are text; the clients refuse them where a field has one line.
    if (tolven::FirstForbiddenCharacter(value, true) >= 0) {
        expected = u"Steuerzeichen sind nicht erlaubt."_s;
    } else if (!value.isEmpty()) {
        switch (property.type) {
        case PropertyType::Text:
            break;
        case PropertyType::Number:
            if (!isNumber(value))
                expected = u"erwartet wird eine Zahl mit Punkt als Dezimalzeichen."_s;
            break;
        case PropertyType::Date:
            if (!isIsoDate(value))
                expected = u"erwartet wird ein Datum der Form JJJJ-MM-TT."_s;
            break;
        case PropertyType::Flag:
            if (value != u"J" && value != u"N")
                expected = u"erwartet wird J oder N."_s;
            break;
        }
    }
    if (!expected.isEmpty()) {
        throw AccessError(ErrorNumber::InvalidValue,
                          u"Ungültiger Wert \"" + value + u"\" für die Eigenschaft " + property.name + u" der Klasse "
                              + cls.name + u": " + expected);
    }
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << u"?"_s;
    return marks.join(u", ");
}

} // namespace

void SplitObjectId(const QString &className, const QString &id, QString &firm, QString &key)
{
    const qsizetype separator = id.indexOf(u"||");
    if (separator > 0 && tolven::IsDigits(QStringView(id).left(separator)) && separator + 2 < id.size()) {
        firm = id.left(separator);
        key = id.mid(separator + 2);
        return;
    }
    throw AccessError(ErrorNumber::InvalidId,
                      u"Ungültige Id \"" + id + u"\" für die Klasse " + className + u" (erwartet: Firma||Schlüssel).");
}

void CheckArgumentCount(const QString &what, int minimum, int maximum, qsizetype count)
{
    if (count >= minimum && count <= maximum)
        return;
    const QString expected = minimum == maximum ? QString::number(minimum)
                                                : QString::number(minimum) + u" bis " + QString::number(maximum);
    throw AccessError(ErrorNumber::WrongArguments,
                      what + u" erwartet " + expected + u" Argumente, erhalten hat sie " + QString::number(count) + u'.');
}

StoreObject::StoreObject(std::shared_ptr<Session> session, const ClassDescription &cls, Kind kind)
    : m_session(std::move(session))
    , m_class(cls)
    , m_kind(kind)
    , m_changed(cls.properties.size(), false)
{
    for (qsizetype i = 0; i < cls.properties.size(); ++i)
        m_values << QString();
}

std::unique_ptr<StoreObject> StoreObject::classObject(std::shared_ptr<Session> session, const ClassDescription &cls)
{
    return std::unique_ptr<StoreObject>(new StoreObject(std::move(session), cls, Kind::ClassObject));
}

std::unique_ptr<StoreObject> StoreObject::createNew(std::shared_ptr<Session> session, const ClassDescription &cls)
{
    return std::unique_ptr<StoreObject>(new StoreObject(std::move(session), cls, Kind::New));
}

std::unique_ptr<StoreObject> StoreObject::openById(std::shared_ptr<Session> session, const ClassDescription &cls,
                                                   const QString &id)
{
    QString firm;
    QString key;
    SplitObjectId(cls.name, id, firm, key);

    const QStringList columns = QStringList{u"firma"_s, u"obj_key"_s, u"obj_version"_s} + cls.propertyColumns();
    Session &s = *session;
    Statement &query = s.statement(u"SELECT " + columns.join(u", ") + u" FROM " + cls.table
                                   + u" WHERE firma = ? AND obj_key = ?");
    query.addBindValue(firm);
    query.addBindValue(key);
    s.exec(query, u"Öffnen von " + cls.name + u' ' + id);
    if (!query.next()) {
        query.finish();
        throw AccessError(ErrorNumber::ObjectNotFound,
                          u"Das Objekt der Klasse " + cls.name + u" mit der Id " + id + u" gibt es nicht.");
    }
    auto object = std::unique_ptr<StoreObject>(new StoreObject(std::move(session), cls, Kind::Stored));
    object->m_firm = query.value(0).toString();
    object->m_key = query.value(1).toString();
    object->m_version = query.value(2).toString();
    int column = 3;
    for (qsizetype i = 0; i < cls.properties.size(); ++i) {
        if (!cls.properties[i].isIdPart())
            object->m_values[i] = query.value(column++).toString();
    }
    query.finish();
    return object;
}

std::unique_ptr<StoreObject> StoreObject::openForWrite(std::shared_ptr<Session> session, const ClassDescription &cls,
                                                       const QString &id)
{
    auto object = std::unique_ptr<StoreObject>(new StoreObject(std::move(session), cls, Kind::Stored));
    SplitObjectId(cls.name, id, object->m_firm, object->m_key);
    object->m_unread = true;
    object->m_known.fill(false, cls.properties.size());
    return object;
}

QString StoreObject::className() const
{
    return m_class.name;
}

Session &StoreObject::session() const
{
    return *m_session;
}

void StoreObject::ensureUsable() const
{
    if (m_closed) {
        throw AccessError(ErrorNumber::ObjectState,
                          u"Das Objekt der Klasse " + m_class.name + u" ist bereits geschlossen.");
    }
}

void StoreObject::ensureInstance(const QString &what) const
{
    ensureUsable();
    if (m_kind == Kind::ClassObject) {
        throw AccessError(ErrorNumber::ObjectState,
                          what + u" geht nur mit einem Objekt der Klasse " + m_class.name + u", nicht mit ihrem Klassenobjekt.");
    }
}

const PropertyDescription &StoreObject::findProperty(const QString &name) const
{
    const PropertyDescription *property = m_class.findProperty(name);
    if (!property) {
        throw AccessError(ErrorNumber::UnknownProperty,
                          u"Die Eigenschaft " + name + u" gibt es in der Klasse " + m_class.name + u" nicht.");
    }
    return *property;
}

qsizetype StoreObject::indexOf(const PropertyDescription &property) const
{
    return &property - m_class.properties.constData();
}

QString StoreObject::property(const QString &name) const
{
    ensureInstance(u"Das Lesen der Eigenschaft " + name);
    const PropertyDescription &property = findProperty(name);
    if (property.column == u"firma")
        return m_firm;
    if (property.column == u"obj_key")
        return m_key;
    const qsizetype i = indexOf(property);
    if (m_unread && !m_known.value(i)) {
        throw AccessError(ErrorNumber::ObjectState,
                          u"Das Objekt " + sys_ID() + u" der Klasse " + m_class.name
                              + u" ist nur zum Schreiben geöffnet; die Eigenschaft " + name + u" ist nicht gelesen.");
    }
    return m_values[i];
}

void StoreObject::setProperty(const QString &name, const QString &value)
{
    ensureInstance(u"Das Setzen der Eigenschaft " + name);
    const PropertyDescription &property = findProperty(name);
    if (property.isIdPart()) {
        QString &target = property.column == u"firma" ? m_firm : m_key;
        if (m_kind == Kind::Stored && value != target) {
            throw AccessError(ErrorNumber::ObjectState,
                              u"Die Eigenschaft " + property.name + u" ist Teil der Id " + sys_ID()
                                  + u" und kann nicht geändert werden.");
        }
        target = value;
        return;
    }
    const qsizetype i = indexOf(property);
    m_values[i] = value;
    m_changed[i] = true;
    if (m_unread)
        m_known[i] = true;
}

QString StoreObject::callMethod(const QString &name, const QStringList &arguments)
{
    ensureUsable();
    m_session->ensureOpen();
    if (const MethodDescription *method = m_class.findMethod(name)) {
        CheckArgumentCount(u"Die Methode " + method->name + u" der Klasse " + m_class.name, method->minArguments,
                           method->maxArguments, arguments.size());
        MethodCall call{*m_session, *this, arguments};
        return method->run(call);
    }
    // XLogicalToODBC(value): the display form of a value of property X.
    if (name.size() > LogicalToODBC.size() && name.endsWith(LogicalToODBC, Qt::CaseInsensitive)) {
        const QString propertyName = name.left(name.size() - LogicalToODBC.size());
        if (const PropertyDescription *property = m_class.findProperty(propertyName)) {
            CheckArgumentCount(u"Die Methode " + name + u" der Klasse " + m_class.name, 1, 1, arguments.size());
            if (property->type != PropertyType::Text)
                return arguments.first();
            return tolven::ServerToDisplay(arguments.first());
        }
    }
    throw AccessError(ErrorNumber::UnknownMethod,
                      u"Die Methode " + name + u" gibt es in der Klasse " + m_class.name + u" nicht.");
}

void StoreObject::sys_save()
{
    ensureInstance(u"Speichern (sys_save)"_s);
    m_session->ensureOpen();
    for (qsizetype i = 0; i < m_class.properties.size(); ++i) {
        if (m_changed[i])
            validate(m_class, m_class.properties[i], m_values[i]);
    }
    if (m_kind == Kind::New)
        insert();
    else
        update();
    m_changed.fill(false);
}

void StoreObject::insert()
{
    Session &s = *m_session;
    if (m_firm.isEmpty())
        m_firm = s.context.firm;
    if (!tolven::IsDigits(m_firm)) {
        throw AccessError(ErrorNumber::InvalidValue,
                          u"Ungültige Firma \"" + m_firm + u"\" beim Speichern eines Objekts der Klasse " + m_class.name
                              + u": erwartet wird eine Firmennummer.");
    }

    const bool running = m_class.keyScheme == KeyScheme::RunningNumber;
    if (!running
        && (m_key.isEmpty() || m_key.contains(u"||") || m_key.size() > 64
            || tolven::FirstForbiddenCharacter(m_key, true) >= 0)) {
        throw AccessError(ErrorNumber::InvalidValue,
                          u"Ungültiger Schlüssel \"" + m_key + u"\" (Eigenschaft " + m_class.keyProperty
                              + u") beim Speichern eines Objekts der Klasse " + m_class.name + u'.');
    }

    Session::WriteScope scope(s);
    s.noteWriter();
    // The stored columns after firm, key and running number, with their values.
    QStringList columns;
    QVariantList values;
    for (qsizetype i = 0; i < m_class.properties.size(); ++i) {
        if (m_class.properties[i].isIdPart())
            continue;
        columns << m_class.properties[i].column;
        values << stored(m_values[i]);
    }
    for (const DerivedColumn &derived : m_class.derivedColumns) {
        columns << derived.column;
        values << stored(derived.derive(property(derived.property)));
    }

    QString newKey = m_key;
    std::optional<qint64> number;
    bool inserted = false;
    if (running && !s.isPostgres() && s.transactionLevel() > 0) {
        // Its number is given now; the row goes with the transaction's others.
        number = s.nextNumber(m_class.name, m_firm);
        newKey = QString::number(*number);
        m_pending = std::make_shared<Session::WriteOutcome>();
        s.deferWrite({&m_class, true, m_firm, newKey, std::nullopt, number, columns, values, m_pending});
        inserted = true;
    } else if (running) {
        if (s.isPostgres()) {
            number = insertTakingNumber(columns, values);
            inserted = true;
        } else {
            number = s.nextNumber(m_class.name, m_firm);
        }
        newKey = QString::number(*number);
    }
    if (!inserted) {
        QStringList allColumns{u"firma"_s, u"obj_key"_s};
        QVariantList allValues{m_firm, newKey};
        if (running) {
            allColumns << u"obj_seq"_s;
            allValues << *number;
        }
        allColumns << columns;
        allValues << values;
        Statement &query = s.statement(u"INSERT INTO " + m_class.table + u" (" + allColumns.join(u", ")
                                       + u") VALUES (" + placeholders(allColumns.size()) + u')');
        for (const QVariant &value : std::as_const(allValues))
            query.addBindValue(value);
        s.rowInserted();
        s.exec(query, u"Speichern eines Objekts der Klasse " + m_class.name,
               u"Das Objekt der Klasse " + m_class.name + u" mit der Id " + m_firm + u"||" + newKey
                   + u" gibt es bereits.");
    }
    scope.commit();
    m_key = newKey;
    m_kind = Kind::Stored;
    m_version = u"1"_s;
    if (m_pending)
        m_pending->version = m_version;
}

qint64 StoreObject::insertTakingNumber(const QStringList &columns, const QVariantList &values)
{
    // The numbers of a class in a firm come from a sequence of their own,
    // which no transaction holds: sessions saving new objects at the same
    // time do not wait for each other's commits. A number a rolled-back save
    // took is not given out again, so the numbers may have gaps; they never
    // repeat. The sequence is made with the first object that needs it:
    // while it is missing, nothing is inserted.
    QStringList targets{u"firma"_s, u"obj_key"_s, u"obj_seq"_s};
    QStringList sources{u"?"_s, u"CAST(n.number AS TEXT)"_s, u"n.number"_s};
    targets << columns;
    for (qsizetype i = 0; i < columns.size(); ++i)
        sources << u"?"_s;
    Session &s = *m_session;
    const QString sequence = s.numberSequence(m_class.table, m_firm);
    const QString sql = u"INSERT INTO " + m_class.table + u" (" + targets.join(u", ") + u") SELECT "
        + sources.join(u", ") + u" FROM (SELECT nextval(c.oid::regclass) AS number " + Session::NumberSequenceRows
        + u") AS n RETURNING obj_seq";
    for (int attempt = 0;; ++attempt) {
        Statement &query = s.statement(sql);
        query.addBindValue(m_firm);
        for (const QVariant &value : values)
            query.addBindValue(value);
        query.addBindValue(sequence);
        s.exec(query, u"Speichern eines Objekts der Klasse " + m_class.name,
               u"Die nächste Nummer der Klasse " + m_class.name + u" in der Firma " + m_firm
                   + u" ist bereits an ein Objekt vergeben.");
        if (query.next()) {
            const qint64 number = query.value(0).toLongLong();
            query.finish();
            s.rowInserted();
            return number;
        }
        query.finish();
        if (attempt > 0)
            break;
        s.createNumberSequence(m_class.name, m_class.table, m_firm);
    }
    throw AccessError(ErrorNumber::DatabaseError, u"Vergabe der nächsten Nummer für " + m_class.name
                                                      + u": die Nummernfolge " + sequence + u" fehlt.");
}

void StoreObject::update()
{
    // The columns written, each with its value: the changed properties and
    // the columns derived from them.
    QStringList columns;
    QVariantList values;
    for (qsizetype i = 0; i < m_class.properties.size(); ++i) {
        if (!m_changed[i])
            continue;
        columns << m_class.properties[i].column;
        values << stored(m_values[i]);
        for (const DerivedColumn &derived : m_class.derivedColumns) {
            if (derived.property == m_class.properties[i].name) {
                columns << derived.column;
                values << stored(derived.derive(m_values[i]));
            }
        }
    }
    if (columns.isEmpty())
        return;
    Session &s = *m_session;
    if (m_unread && s.transactionLevel() > 0) {
        // Written with the transaction's other rows (Session::deferWrite).
        s.noteWriter();
        m_pending = std::make_shared<Session::WriteOutcome>();
        s.deferWrite({&m_class, false, m_firm, m_key, m_expectedVersion, std::nullopt, columns, values, m_pending});
        m_expectedVersion.reset();
        return;
    }
    QStringList assignments;
    for (const QString &column : std::as_const(columns))
        assignments << column + u" = ?";
    assignments << u"obj_version = obj_version + 1"_s;
    values << m_firm << m_key;
    QString condition = u"firma = ? AND obj_key = ?"_s;
    if (m_expectedVersion) {
        condition += u" AND obj_version = ?";
        values << *m_expectedVersion;
    }

    Session::WriteScope scope(s);
    s.noteWriter();
    Statement &query = s.statement(u"UPDATE " + m_class.table + u" SET " + assignments.join(u", ") + u" WHERE "
                                   + condition + u" RETURNING obj_version");
    for (const QVariant &value : values)
        query.addBindValue(value);
    s.exec(query, u"Speichern von " + m_class.name + u' ' + sys_ID());
    const bool written = query.next();
    const QString version = written ? query.value(0).toString() : QString();
    query.finish();
    if (!written)
        failVersionCheck(m_firm, m_key, u"geändert"_s);
    scope.commit();
    m_version = version;
    m_expectedVersion.reset();
}

void StoreObject::failVersionCheck(const QString &firm, const QString &key, const QString &action)
{
    ThrowStaleWrite(*m_session, m_class, firm, key, m_expectedVersion, action);
}

void ThrowStaleWrite(Session &s, const ClassDescription &cls, const QString &firm, const QString &key,
                     std::optional<qint64> expected, const QString &action)
{
    const QString id = firm + u"||" + key;
    Statement &query = s.statement(u"SELECT obj_version FROM " + cls.table + u" WHERE firma = ? AND obj_key = ?");
    query.addBindValue(firm);
    query.addBindValue(key);
    s.exec(query, u"Lesen der Version von " + cls.name + u' ' + id);
    const std::optional<QString> stored = query.next() ? std::optional(query.value(0).toString()) : std::nullopt;
    query.finish();
    if (!stored) {
        throw AccessError(ErrorNumber::ObjectNotFound, u"Das Objekt der Klasse " + cls.name + u" mit der Id " + id
                                                           + u" gibt es nicht mehr; es wurde inzwischen gelöscht.")
            .concerning(id);
    }
    throw AccessError(ErrorNumber::Conflict, u"Das Objekt der Klasse " + cls.name + u" mit der Id " + id
                                                 + u" wurde inzwischen geändert und wird nicht " + action
                                                 + u" (gespeichert ist Version " + *stored + u", erwartet war Version "
                                                 + QString::number(expected.value_or(0)) + u").")
        .concerning(id);
}

QString StoreObject::sys_ID() const
{
    ensureUsable();
    if (m_kind != Kind::Stored)
        return {};
    return m_firm + u"||" + m_key;
}

void StoreObject::sys_deleteid(const QString &id)
{
    ensureUsable();
    if (!m_class.hasObjects()) {
        throw AccessError(ErrorNumber::NoObjects, u"Die Klasse " + m_class.name + u" hat keine gespeicherten Objekte.");
    }
    QString firm;
    QString key;
    SplitObjectId(m_class.name, id, firm, key);

    Session &s = *m_session;
    Session::WriteScope scope(s);
    s.noteWriter();
    QString sql = u"DELETE FROM " + m_class.table + u" WHERE firma = ? AND obj_key = ?";
    if (m_expectedVersion)
        sql += u" AND obj_version = ?";
    Statement &query = s.statement(sql);
    query.addBindValue(firm);
    query.addBindValue(key);
    if (m_expectedVersion)
        query.addBindValue(*m_expectedVersion);
    s.exec(query, u"Löschen von " + m_class.name + u' ' + id);
    const int affected = query.numRowsAffected();
    query.finish();
    if (affected != 1) {
        if (m_expectedVersion)
            failVersionCheck(firm, key, u"gelöscht"_s);
        throw AccessError(ErrorNumber::ObjectNotFound,
                          u"Das Objekt der Klasse " + m_class.name + u" mit der Id " + id + u" gibt es nicht.");
    }
    scope.commit();
    m_expectedVersion.reset();
}

QString StoreObject::sys_Version() const
{
    ensureUsable();
    if (m_pending) {
        if (!m_pending->done)
            m_session->flushWrites();
        return m_pending->version;
    }
    return m_version;
}

void StoreObject::sys_ExpectVersion(const QString &version)
{
    ensureInstance(u"Das Prüfen der Version"_s);
    if (version.isEmpty()) {
        m_expectedVersion.reset();
        return;
    }
    bool ok = false;
    const qint64 number = version.toLongLong(&ok);
    if (!ok || number < 1 || !tolven::IsDigits(version)) {
        throw AccessError(ErrorNumber::InvalidValue, u"Ungültige Version \"" + version + u"\" für ein Objekt der Klasse "
                                                         + m_class.name + u": erwartet wird eine positive Zahl.");
    }
    m_expectedVersion = number;
}

void StoreObject::sys_Close()
{
    m_closed = true;
}

} // namespace store
