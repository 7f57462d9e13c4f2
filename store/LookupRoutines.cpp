#include "CommandDispatcher.h"

#include <QSqlQuery>
#include <QVariant>

#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/MCommand.h"
#include "store/QuerySupport.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;

// The routines of ^TVCLSU that the article search calls (group and
// department lists, the article search page by page) and the command that
// answers a supplier's name.

namespace store {

namespace {

const QChar FieldSeparator = u'`';
const QChar EntrySeparator = QChar(0xFF);
constexpr int PageSize = 4;

// "number`name" entries of a table keyed by number, ascending by number,
// names in display form; condition narrows the firm's rows further.
QString numberedList(Session &session, const QString &table, const QString &condition, const QVariantList &values,
                     const QString &what)
{
    Statement &query = session.statement(u"SELECT obj_key, p_bez FROM " + table + u" WHERE firma = ?" + condition
                                         + u" ORDER BY " + NumericTextOrder(u"obj_key"_s));
    query.addBindValue(session.context.firm);
    for (const QVariant &value : values)
        query.addBindValue(value);
    session.exec(query, what);
    QStringList entries;
    while (query.next())
        entries << query.value(0).toString() + FieldSeparator + tolven::ServerToDisplay(query.value(1).toString());
    query.finish();
    return entries.join(EntrySeparator);
}

enum Criterion { Key, MainGroup, SubGroup, Supplier, Department, Active, Listed, CriterionCount };

QStringList searchCriteria(MCommand &args)
{
    QStringList raw;
    for (int i = 0; i < CriterionCount; ++i) {
        if (i > 0)
            args.expect(u",");
        raw << args.literal();
    }
    args.expect(u")");
    args.end();

    const QString what = u" der Artikelsuche (GETARF^TVCLSU)"_s;
    QStringList criteria;
    criteria << tolven::SearchKey(raw[Key]);
    criteria << NumberArgument(raw[MainGroup], u"die Hauptgruppe" + what);
    criteria << NumberArgument(raw[SubGroup], u"die Untergruppe" + what);
    criteria << NumberArgument(raw[Supplier], u"den Lieferanten" + what);
    criteria << NumberArgument(raw[Department], u"die Abteilung" + what);
    criteria << ChoiceArgument(raw[Active], {QString(), u"J"_s, u"N"_s, u"Z"_s}, u"\"aktiv\"" + what);
    criteria << ChoiceArgument(raw[Listed], {QString(), u"J"_s, u"N"_s, u"A"_s, u"B"_s, u"C"_s},
                               u"\"gelistet\"" + what);
    return criteria;
}

// The next page of the session's article search; empty once it is exhausted.
QString nextArticlePage(Session &session)
{
    Session::ArticleSearch &search = session.articleSearch;
    if (!search.running)
        return {};
    const QStringList &criteria = search.criteria;

    QString sql = u"SELECT obj_key, p_bez, p_abtnr, s_kurzbez FROM tv_artikel WHERE firma = ?"_s;
    QVariantList values{session.context.firm};
    if (!criteria[Key].isEmpty()) {
        const PrefixRange range = StartsWith(u"s_kurzbez"_s, criteria[Key]);
        sql += u" AND " + range.condition;
        values << range.values;
    }
    const std::pair<Criterion, const char16_t *> columns[] = {
        {MainGroup, u"p_hgrp"}, {SubGroup, u"p_ugrp"}, {Supplier, u"p_lieferant"},
        {Department, u"p_abtnr"}, {Active, u"p_aktiv"}, {Listed, u"p_gelistet"}};
    for (const auto &[criterion, column] : columns) {
        // The statement's text depends only on which criteria are given, so
        // the prepared statements stay few.
        if (!criteria[criterion].isEmpty()) {
            sql += u" AND " + QString::fromUtf16(column) + u" = ?";
            values << criteria[criterion];
        }
    }
    if (!search.lastNumber.isEmpty()) {
        // A row comparison lets both databases seek in the index to where
        // the last page ended instead of reading it from the start.
        sql += u" AND (s_kurzbez, obj_key) > (?, ?)";
        values << search.lastKey << search.lastNumber;
    }
    sql += u" ORDER BY s_kurzbez, obj_key LIMIT " + QString::number(PageSize);

    Statement &query = session.statement(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    session.exec(query, u"Artikelsuche"_s);
    QStringList entries;
    while (query.next()) {
        entries << query.value(0).toString() + FieldSeparator + tolven::ServerToDisplay(query.value(1).toString())
                       + FieldSeparator + query.value(2).toString();
        search.lastNumber = query.value(0).toString();
        search.lastKey = query.value(3).toString();
    }
    query.finish();
    if (entries.size() < PageSize)
        search.running = false;
    return entries.join(EntrySeparator);
}

const QString SupplierNameHead = uR"(S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,"L",)"_s;
const QString SupplierNameTail = uR"(,1)),%,2)) W:$F($ZV,"MSM") P0)"_s;

} // namespace

QList<CommandForm> LookupCommandForms()
{
    return {
        {u"d HGRP^TVCLSU"_s, true,
         [](Session &session, MCommand &) {
             RequireContext(session, u"d HGRP^TVCLSU"_s);
             return numberedList(session, u"tv_hauptgruppe"_s, {}, {}, u"Lesen der Hauptgruppen"_s);
         }},
        {u"d ABTNR^TVCLSU"_s, true,
         [](Session &session, MCommand &) {
             RequireContext(session, u"d ABTNR^TVCLSU"_s);
             return numberedList(session, u"tv_abteilung"_s, {}, {}, u"Lesen der Abteilungen"_s);
         }},
        {u"d UGRP^TVCLSU("_s, false,
         [](Session &session, MCommand &args) {
             const QString mainGroup = args.number();
             args.expect(u")");
             args.end();
             RequireContext(session, u"d UGRP^TVCLSU"_s);
             return numberedList(session, u"tv_untergruppe"_s, u" AND p_hgrp = ?"_s, {mainGroup},
                                 u"Lesen der Untergruppen der Hauptgruppe " + mainGroup);
         }},
        {u"D GETARF^TVCLSU("_s, false,
         [](Session &session, MCommand &args) {
             session.articleSearch.running = false;  // a new search ends the last one, even when refused
             const QStringList criteria = searchCriteria(args);
             RequireContext(session, u"D GETARF^TVCLSU"_s);
             session.articleSearch = Session::ArticleSearch{true, criteria, {}, {}};
             return nextArticlePage(session);
         }},
        {u"D GETARN^TVCLSU"_s, true,
         [](Session &session, MCommand &) {
             RequireContext(session, u"D GETARN^TVCLSU"_s);
             return nextArticlePage(session);
         }},
        {SupplierNameHead, false,
         [](Session &session, MCommand &args) {
             const QString supplier = args.number();
             args.expect(SupplierNameTail);
             args.end();
             RequireContext(session, u"Lieferantenname"_s);
             Statement &query = session.statement(u"SELECT p_name FROM tv_lieferant WHERE firma = ? AND obj_key = ?"_s);
             query.addBindValue(session.context.firm);
             query.addBindValue(supplier);
             session.exec(query, u"Lesen des Namens von Lieferant " + supplier);
             const QString name = query.next() ? tolven::ServerToDisplay(query.value(0).toString()) : QString();
             query.finish();
             return name;
         }},
    };
}

} // namespace store
