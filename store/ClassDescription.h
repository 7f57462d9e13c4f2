#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class QSqlQuery;

namespace store {

class Session;
class StoreObject;

enum class PropertyType {
    Text,    // any text; German master data in the server's 7-bit form
    Number,  // decimal with "." as point, kept exactly as written
    Date,    // yyyy-mm-dd
    Flag,    // "J" or "N"
};

struct PropertyDescription
{
    QString name;       // as the client names it
    QString column;     // column of the class's table
    PropertyType type = PropertyType::Text;

    // Firm and key are the two parts of the id, with columns of their own.
    bool isIdPart() const { return column == u"firma" || column == u"obj_key"; }
};

// A column the store keeps from a property's value, such as a search key or
// a form that compares as a number. Written whenever the property is; never
// a property itself.
struct DerivedColumn
{
    QString column;
    QString property;
    std::function<QString(const QString &)> derive;
};

// How the key part of an id (Firm||key) comes about.
enum class KeyScheme {
    None,           // no stored objects: class methods and queries only
    Property,       // the value of keyProperty
    RunningNumber,  // 1, 2, ... per class and firm, given by sys_save
};

// A prepared statement: fixed SQL text with "?" placeholders and their values.
struct SqlStatement
{
    QString sql;
    QVariantList values;
};

// The articles a query's rows name, read in one statement: for each article
// number the rows hold, the number, the article's key (NULL when there is no
// such article) and ArticleColumns (store/Article.h), tiers in the order saved.
struct ArticleStatement
{
    QString firm;
    SqlStatement statement;
};

struct QueryDescription
{
    QString name;
    int minArguments = 0;
    int maxArguments = 0;
    // Builds the statement from the arguments; throws AccessError on a bad one.
    std::function<SqlStatement(Session &, const QStringList &)> build;
    // Turns one row into the result set's columns (1-based for the caller);
    // without it every selected column is one result column.
    std::function<QStringList(Session &, const QSqlQuery &)> row;
    // When set, the articles of the rows are read with this statement before
    // the query's own, and the session's article calls for them are answered
    // from what it read while the result set is open (see Session).
    std::function<ArticleStatement(Session &, const QStringList &)> articles = {};
};

struct MethodCall
{
    Session &session;
    StoreObject &object;  // the class object or an instance
    const QStringList &arguments;
};

struct MethodDescription
{
    QString name;
    int minArguments = 0;
    int maxArguments = 0;
    std::function<QString(MethodCall &)> run;
};

// One server class: its objects' table and properties, its queries and methods.
// The table has the columns firma and obj_key (the two parts of the id), and
// obj_seq for running numbers, besides one column per property.
struct ClassDescription
{
    QString name;
    QString table;
    KeyScheme keyScheme = KeyScheme::None;
    QString keyProperty;                      // KeyScheme::Property only
    QList<PropertyDescription> properties;    // "Firma" is always there for stored classes
    QList<DerivedColumn> derivedColumns;
    QList<QStringList> indexes;               // further indexes: column lists after firma
    QStringList substringIndexes;             // text columns searched for a part anywhere (SubstringIndex.h)
    QList<QueryDescription> queries;
    QList<MethodDescription> methods;
    // Whether every write of its objects is recorded in the history (History.h).
    bool keepsHistory = false;

    bool hasObjects() const { return keyScheme != KeyScheme::None; }
    // The table's columns for the properties that are not part of the id, in order.
    QStringList propertyColumns() const;
    // The property columns followed by the derived ones: every column besides the id's.
    QStringList storedColumns() const;
    const PropertyDescription *findProperty(QStringView propertyName) const;
    const QueryDescription *findQuery(QStringView queryName) const;
    const MethodDescription *findMethod(QStringView methodName) const;
};

// Building blocks of the descriptions. Property columns are "p_" and the
// lower-case name; the firm and the key are the id's own columns.
PropertyDescription FirmProperty();
PropertyDescription KeyProperty(const QString &name);
PropertyDescription TextProperty(const QString &name);
PropertyDescription NumberProperty(const QString &name);
PropertyDescription DateProperty(const QString &name);
PropertyDescription FlagProperty(const QString &name);

// The class method Delall(firm): deletes every object of the class in that
// firm, in one transaction. On PostgreSQL it holds a lock on that list until
// the transaction ends, so that replacements of one list (Delall, then the
// new objects, in one client transaction) follow each other whole.
// With a second argument, the state Stand gave when the caller read the
// list: throws AccessError (Conflict) and deletes nothing when the list has
// changed since.
MethodDescription DeleteAllMethod();
// The class method Stand(firm): a text that changes whenever the firm's list
// does (an object stored, changed or deleted).
MethodDescription ListStateMethod();

} // namespace store
