#include "ClassRegistry.h"

#include <QSqlQuery>
#include <QVariant>

#include "objectapi/AccessError.h"
#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/History.h"
#include "store/Article.h"
#include "store/LikePattern.h"
#include "store/QuerySupport.h"
#include "store/Session.h"
#include "store/SubstringIndex.h"

using namespace Qt::StringLiterals;

// The competitor price module: the positions (Konkur.Konkur) with the
// queries and article methods of the main window, the competitors
// (Konkur.Par) and the price types (Konkur.Preistyp).

namespace store {

namespace {

const QChar FieldSeparator = u'`';

const QString PositionTable = u"konkur_konkur"_s;
const QString OwnTextKey = u"s_artbez"_s;

Decimal numberOrZero(const QString &text)
{
    return Decimal::parse(text).value_or(Decimal());
}

// The own price incl. VAT for a quantity: the tier with the highest
// quantity not above it (of two alike, the one saved first), else the
// article's base price. Empty when the article has no price at all.
QString ownPrice(const Article &article, Decimal quantity)
{
    std::optional<Decimal> price = Decimal::parse(article.basePrice);
    std::optional<Decimal> bestFrom;
    for (const Article::Tier &tier : article.tiers) {
        if (tier.from <= quantity && (!bestFrom || tier.from > *bestFrom)) {
            bestFrom = tier.from;
            price = tier.price;
        }
    }
    if (!price)
        return {};
    return PriceWithVat(*price, numberOrZero(article.vat));
}

struct ArticleCall
{
    QString firm;
    QString number;
};

ArticleCall articleArguments(const MethodCall &call, const QString &method)
{
    const QString what = u"Konkur.Konkur." + method;
    return {FirmArgument(call.arguments[0], u"die Firma von " + what), call.arguments[1]};
}

// ArtikelDaten(firm, article[, quantity]): the article's data for a position,
// 13 fields separated by "`"; empty for an unknown article.
QString articleData(MethodCall &call)
{
    const ArticleCall args = articleArguments(call, u"ArtikelDaten"_s);
    const Decimal quantity = QuantityArgument(call.arguments.value(2), u"die Menge von Konkur.Konkur.ArtikelDaten"_s);
    const std::optional<Article> article = FindArticle(call.session, args.firm, args.number);
    if (!article)
        return {};
    const QStringList fields{tolven::ServerToDisplay(article->description),
                             article->vat,
                             ownPrice(*article, quantity),
                             article->collective,
                             article->salesUnit,
                             article->priceUnit,
                             article->centralNumber,
                             article->grossPurchase,
                             article->netPurchase,
                             article->quantitySold,
                             article->turnover,
                             article->discounts,
                             article->cost};
    return fields.join(FieldSeparator);
}

// ArtikelPreis(firm, article, quantity): the own price incl. VAT for that quantity.
QString articlePrice(MethodCall &call)
{
    const ArticleCall args = articleArguments(call, u"ArtikelPreis"_s);
    const Decimal quantity = QuantityArgument(call.arguments[2], u"die Menge von Konkur.Konkur.ArtikelPreis"_s);
    const std::optional<Article> article = FindArticle(call.session, args.firm, args.number);
    if (!article)
        return {};
    return ownPrice(*article, quantity);
}

// ArtBez1(firm, article): the description in server form; empty for an unknown article.
QString articleDescription(MethodCall &call)
{
    const ArticleCall args = articleArguments(call, u"ArtBez1"_s);
    Statement &query = call.session.statement(u"SELECT p_bez FROM tv_artikel WHERE firma = ? AND obj_key = ?"_s);
    query.addBindValue(args.firm);
    query.addBindValue(args.number);
    call.session.exec(query, u"Lesen der Bezeichnung des Artikels " + args.number);
    const QString description = query.next() ? query.value(0).toString() : QString();
    query.finish();
    return description;
}

// The filters of Konkur(firm, competitor, article, text, changed since) as
// a condition on the positions k; the firm is the first value.
SqlStatement positionFilter(Session &session, const QStringList &args)
{
    const QString what = u"die Abfrage \"Konkur\" der Klasse Konkur.Konkur"_s;
    const QString firm = FirmArgument(args[0], u"die Firma für " + what);
    SqlStatement filter{u"k.firma = ?"_s, {firm}};
    if (!args[1].isEmpty()) {
        filter.sql += u" AND k.p_konkur = ?";
        filter.values << args[1];
    }
    if (!args[2].isEmpty()) {
        filter.sql += u" AND k.p_artnr = ?";
        filter.values << args[2];
    }
    if (const QString key = tolven::SearchKey(args[3]); !key.isEmpty()) {
        // The position's own text when it has one, else the article's; both
        // sides in search-key form, so case and umlaut spelling do not count.
        // The matching articles are found once, not joined for every position.
        const QString pattern = ContainsPattern(key);
        const QString articlesWithText = u"SELECT obj_key FROM tv_artikel WHERE firma = ? AND s_bez LIKE ? ESCAPE '!'"_s;
        const SqlStatement ownText = substring::containing(session, PositionTable, OwnTextKey, firm, key);
        if (ownText.sql.isEmpty()) {
            filter.sql += u" AND (CASE WHEN k.p_artbez <> '' THEN k.s_artbez LIKE ? ESCAPE '!'"
                          u" ELSE k.p_artnr IN (" + articlesWithText + u") END)";
            filter.values << pattern << firm << pattern;
        } else {
            // Long enough for the text index: the positions whose own text
            // holds the key come from it, those without a text of their own
            // from the matching articles through the article index; no
            // position of the firm is read in vain. (A position's search key
            // is empty exactly when it has no text of its own.)
            filter.sql += u" AND k.obj_key IN (" + ownText.sql + u" UNION ALL SELECT obj_key FROM " + PositionTable
                    + u" WHERE firma = ? AND COALESCE(p_artbez, '') = '' AND p_artnr IN (" + articlesWithText + u"))";
            filter.values << ownText.values << firm << firm << pattern;
        }
    }
    if (const QString since = DateArgument(args[4], u"\"geändert seit\" für " + what); !since.isEmpty()) {
        filter.sql += u" AND k.p_aenddatum >= ?";
        filter.values << since;
    }
    return filter;
}

// Konkur(firm, competitor, article, text, changed since): the positions.
SqlStatement positionsStatement(Session &session, const QStringList &args)
{
    const SqlStatement filter = positionFilter(session, args);
    // Sorted after the filters have found the rows through their index: an
    // order by the plain competitor column would tempt SQLite's planner into
    // walking the competitor index through the whole firm instead.
    return {u"SELECT k.firma, k.obj_key, k.p_konkur, k.p_artnr, k.p_artbez, a.p_bez, k.p_preistyp, k.p_datumab,"
            u" k.p_datumbis, k.p_mengeab, k.p_vke, k.p_preisexcl, a.p_mwst, k.p_notiz, k.p_zanr, k.p_intpreis,"
            u" k.p_aenddatum, k.p_preiskalk, k.obj_version"
            u" FROM konkur_konkur k LEFT JOIN tv_artikel a ON a.firma = k.firma AND a.obj_key = k.p_artnr"
            u" WHERE " + filter.sql + u" ORDER BY COALESCE(k.p_konkur, ''), " + NumericTextOrder(u"k.p_artnr"_s)
                + u", k.p_preistyp, k.p_datumab,"
                  u" CAST(CASE WHEN k.p_mengeab = '' THEN '0' ELSE k.p_mengeab END AS NUMERIC), k.obj_seq",
            filter.values};
}

// The articles of the positions Konkur answers, each once, with their tiers:
// one statement for the whole search instead of one per position.
ArticleStatement positionArticles(Session &session, const QStringList &args)
{
    const SqlStatement filter = positionFilter(session, args);
    const QString firm = filter.values.first().toString();
    SqlStatement statement{u"SELECT d.p_artnr, a.obj_key, " + ArticleColumns + u" FROM (SELECT DISTINCT k.p_artnr"
                               u" FROM konkur_konkur k WHERE " + filter.sql + u") d"
                               u" LEFT JOIN tv_artikel a ON a.firma = ? AND a.obj_key = d.p_artnr "
                               + ArticleTierJoin,
                           filter.values};
    statement.values << firm;
    return {firm, statement};
}

QStringList positionRow(Session &, const QSqlQuery &row)
{
    const QString ownText = row.value(4).toString();
    const QString priceExcl = row.value(11).toString();
    const std::optional<Decimal> net = Decimal::parse(priceExcl);
    return {RowId(row, 0, 1),
            row.value(0).toString(),
            row.value(2).toString(),
            row.value(3).toString(),
            ownText.isEmpty() ? tolven::ServerToDisplay(row.value(5).toString()) : ownText,
            row.value(6).toString(),
            row.value(7).toString(),
            row.value(8).toString(),
            row.value(9).toString(),
            row.value(10).toString(),
            priceExcl,
            net ? PriceWithVat(*net, numberOrZero(row.value(12).toString())) : QString(),
            row.value(13).toString(),
            row.value(14).toString(),
            row.value(15).toString(),
            row.value(16).toString(),
            row.value(17).toString(),
            row.value(18).toString()};
}

// Artikelliste(firm): the articles that positions name, with their
// description in server form: the article's own, else a position's text.
QueryDescription articleList()
{
    // Grouped first, so each article is looked up once, not once per position.
    const QString sql =
        u"SELECT k.p_artnr, a.p_bez, k.artbez FROM"
        u" (SELECT p_artnr, MAX(p_artbez) AS artbez FROM konkur_konkur WHERE firma = ? AND p_artnr <> ''"
        u" GROUP BY p_artnr) k"
        u" LEFT JOIN tv_artikel a ON a.firma = ? AND a.obj_key = k.p_artnr ORDER BY "
        + NumericTextOrder(u"k.p_artnr"_s);
    return {u"Artikelliste"_s, 1, 1,
            [sql](Session &, const QStringList &args) {
                const QString firm = FirmArgument(args[0], u"die Firma der Abfrage \"Artikelliste\""_s);
                return SqlStatement{sql, {firm, firm}};
            },
            [](Session &, const QSqlQuery &row) {
                QString description = row.value(1).toString();
                if (description.isEmpty())
                    description = tolven::DisplayToServer(row.value(2).toString());
                return QStringList{row.value(0).toString(), description};
            }};
}

// The articles an import names: the numbers and central numbers given,
// each a list separated by "`" of at most ImportArticleLimit. On the SQL
// side one condition with a value per number, never a number in the text.
constexpr int ImportArticleLimit = 5000;

SqlStatement importedArticleFilter(const QStringList &args)
{
    const QString what = u"die Abfrage \"Importartikel\" der Klasse Konkur.Konkur"_s;
    const QString firm = FirmArgument(args[0], u"die Firma für " + what);
    SqlStatement filter{u"a.firma = ? AND ("_s, {firm}};
    QStringList conditions;
    const std::pair<QString, QString> lists[] = {{u"a.obj_key"_s, args[1]}, {u"a.p_zanr"_s, args[2]}};
    for (const auto &[column, list] : lists) {
        const QStringList numbers = list.split(FieldSeparator, Qt::SkipEmptyParts);
        if (numbers.isEmpty())
            continue;
        if (numbers.size() > ImportArticleLimit)
            throw tolven::AccessError(tolven::ErrorNumber::InvalidValue,
                                      u"Mehr als " + QString::number(ImportArticleLimit) + u" Artikel für " + what
                                          + u'.');
        conditions << column + u" IN (" + QStringList(numbers.size(), u"?"_s).join(u", ") + u')';
        for (const QString &number : numbers)
            filter.values << number;
    }
    filter.sql += (conditions.isEmpty() ? u"1 = 0"_s : conditions.join(u" OR ")) + u')';
    return filter;
}

// Importartikel(firm, numbers, central numbers): number and central number
// of each article of the firm that one of the lists names. The articles are
// read with their tiers at the same time, so that ArtikelDaten for them
// needs no statement of its own while the result set is open.
QueryDescription importedArticles()
{
    QueryDescription query{u"Importartikel"_s, 3, 3,
                           [](Session &, const QStringList &args) {
                               const SqlStatement filter = importedArticleFilter(args);
                               return SqlStatement{u"SELECT a.obj_key, a.p_zanr FROM tv_artikel a WHERE " + filter.sql
                                                       + u" ORDER BY " + NumericTextOrder(u"a.obj_key"_s),
                                                   filter.values};
                           },
                           {}};
    query.articles = [](Session &, const QStringList &args) {
        const SqlStatement filter = importedArticleFilter(args);
        return ArticleStatement{filter.values.first().toString(),
                                {u"SELECT a.obj_key, a.obj_key, " + ArticleColumns + u" FROM tv_artikel a "
                                     + ArticleTierJoin + u" WHERE " + filter.sql,
                                 filter.values}};
    };
    return query;
}

// Preisverlauf(firm, article): every position of the article, in the
// columns and order of Konkur, in one statement (no articles read ahead: no
// article calls follow).
QueryDescription priceHistory()
{
    return {u"Preisverlauf"_s, 2, 2,
            [](Session &session, const QStringList &args) {
                if (args[1].isEmpty()) {
                    throw tolven::AccessError(tolven::ErrorNumber::InvalidValue,
                                              u"Die Abfrage \"Preisverlauf\" braucht eine Artikelnummer."_s);
                }
                return positionsStatement(session, {args[0], QString(), args[1], QString(), QString()});
            },
            positionRow};
}

// Eigenpreise(firm): the own prices of the articles that positions name,
// for comparing competitors' prices at any quantity in one round trip: per
// article its price unit (server form) and its base price incl. VAT (from
// quantity empty), then each quantity tier in the order saved. An article
// without a base price answers an empty price on its first row.
QueryDescription ownPrices()
{
    const QString articles =
        u"(SELECT DISTINCT p_artnr FROM konkur_konkur WHERE firma = ? AND p_artnr <> '') d"
        u" JOIN tv_artikel a ON a.firma = ? AND a.obj_key = d.p_artnr"_s;
    const QString sql = u"SELECT d.p_artnr, a.p_vre, '' AS mengeab, a.p_vkpreis, a.p_mwst, 0 AS seq FROM " + articles
        + u" UNION ALL SELECT d.p_artnr, a.p_vre, s.p_mengeab, s.p_preis, a.p_mwst, s.obj_seq FROM " + articles
        + u" JOIN tv_artikelstaffel s ON s.firma = a.firma AND s.p_artnr = a.obj_key ORDER BY 1, 6";
    return {u"Eigenpreise"_s, 1, 1,
            [sql](Session &, const QStringList &args) {
                const QString firm = FirmArgument(args[0], u"die Firma der Abfrage \"Eigenpreise\""_s);
                return SqlStatement{sql, {firm, firm, firm, firm}};
            },
            [](Session &, const QSqlQuery &row) {
                const std::optional<Decimal> price = Decimal::parse(row.value(3).toString());
                return QStringList{row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
                                   price ? PriceWithVat(*price, numberOrZero(row.value(4).toString())) : QString()};
            }};
}

ClassDescription positions()
{
    ClassDescription cls;
    cls.name = u"Konkur.Konkur"_s;
    cls.table = u"konkur_konkur"_s;
    cls.keyScheme = KeyScheme::RunningNumber;
    cls.keepsHistory = true;
    cls.properties = {FirmProperty(),
                      KeyProperty(u"Nr"_s),
                      TextProperty(u"konkur"_s),
                      TextProperty(u"Artnr"_s),
                      TextProperty(u"ArtBez"_s),
                      TextProperty(u"ZAnr"_s),
                      TextProperty(u"Preistyp"_s),
                      DateProperty(u"DatumAb"_s),
                      DateProperty(u"DatumBis"_s),
                      NumberProperty(u"MengeAb"_s),
                      TextProperty(u"VKE"_s),
                      NumberProperty(u"IntPreis"_s),
                      NumberProperty(u"PreisExcl"_s),
                      TextProperty(u"VRE"_s),
                      NumberProperty(u"PreisKalk"_s),
                      TextProperty(u"notiz"_s),
                      DateProperty(u"AendDatum"_s)};
    // The position's own text is kept as the client writes it (display form).
    cls.derivedColumns = {{OwnTextKey, u"ArtBez"_s, [](const QString &text) { return tolven::SearchKey(text); }}};
    // The article index carries the own text, so the article list needs no table rows.
    cls.indexes = {{u"p_konkur"_s, u"p_artnr"_s}, {u"p_artnr"_s, u"p_artbez"_s}, {u"p_aenddatum"_s}};
    cls.substringIndexes = {OwnTextKey};
    QueryDescription search{u"Konkur"_s, 1, 5, positionsStatement, positionRow};
    search.articles = positionArticles;
    cls.queries << search
                << articleList()
                << importedArticles()
                << ownPrices()
                << priceHistory()
                << FirmListQuery(u"Einheiten"_s, u"tv_einheit"_s, {u"firma"_s, u"obj_key"_s, u"p_bez"_s},
                                 u"obj_key"_s, [](Session &, const QSqlQuery &row) {
                                     return QStringList{RowId(row, 0, 1), row.value(1).toString(),
                                                        row.value(2).toString()};
                                 });
    cls.methods << MethodDescription{u"ArtBez1"_s, 2, 2, articleDescription}
                << MethodDescription{u"ArtikelDaten"_s, 2, 3, articleData}
                << MethodDescription{u"ArtikelPreis"_s, 3, 3, articlePrice};
    return cls;
}

// A master list of the firm that the client replaces as a whole (Delall,
// then one save per row), listed in the order stored.
ClassDescription firmList(const QString &name, const QString &table, const QString &queryName,
                          const QList<PropertyDescription> &properties)
{
    ClassDescription cls;
    cls.name = name;
    cls.table = table;
    cls.keyScheme = KeyScheme::RunningNumber;
    cls.keepsHistory = true;
    cls.properties = {FirmProperty(), KeyProperty(u"Nr"_s)};
    cls.properties << properties;
    QStringList columns{u"firma"_s, u"obj_key"_s};
    for (const PropertyDescription &property : properties)
        columns << property.column;
    cls.queries << FirmListQuery(queryName, table, columns, u"obj_seq"_s, [](Session &, const QSqlQuery &row) {
        QStringList texts = RowTexts(row);
        texts.removeFirst();
        texts[0] = RowId(row, 0, 1);
        return texts;
    });
    cls.methods << DeleteAllMethod() << ListStateMethod();
    return cls;
}

} // namespace

QList<ClassDescription> KonkurClassDescriptions()
{
    return {positions(),
            firmList(u"Konkur.Par"_s, u"konkur_par"_s, u"Konkur"_s,
                     {TextProperty(u"konkur"_s), TextProperty(u"konkurbez"_s)}),
            firmList(u"Konkur.Preistyp"_s, u"konkur_preistyp"_s, u"Preistyp"_s,
                     {TextProperty(u"code"_s), TextProperty(u"bez"_s), FlagProperty(u"bisdatjn"_s)}),
            history::historyClass()};
}

} // namespace store
