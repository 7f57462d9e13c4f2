#pragma once

#include <QChar>
#include <QString>
#include <QVariant>

#include <optional>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace tolven {

class FMArtsu;
class FMKnrsu;
class FMLnrsu;

// The look-up module: the modal searches for articles, suppliers and
// customers, and the procedures that run their server calls.

// The routines of ^TVCLSU answer lists whose entries are separated by the
// character 255 and whose fields by the backquote.
inline constexpr QChar ListEntrySeparator{char16_t(0xFF)};
inline constexpr QChar ListFieldSeparator{u'`'};

// The colours of row (from 0) of a hit list for role: odd rows, counted from
// 1, light yellow (255, 255, 180), even rows white, text black on both.
// Invalid for other roles.
QVariant HitRowColour(int row, int role);
// Makes view a hit list over hits: whole rows, one at a time, read-only,
// without row numbers.
void SetUpHitList(QTableView &view, QAbstractItemModel *hits);

// One row of the article search.
struct ArticleHit
{
    QString number;
    QString text;
    QString department;
};

// An entry of an article page: number, text and department, separated by
// backquotes; further fields are ignored, missing ones are empty.
ArticleHit SplitArticleHit(const QString &entry);

// What the article search dialog searches by, each as the search sends it.
struct ArticleCriteria
{
    QString key;          // search key of the short description
    QString mainGroup;
    QString subGroup;
    QString supplier;
    QString department;
    QString active;       // "", "J", "N" or "Z"
    QString listed;       // "", "J", "N", "A", "B" or "C"
};

// The search that the article list shows: the criteria it was started with
// (a field changed later does not change it; only a new search does) and
// the connection whose session keeps its position on the server.
struct RunningArticleSearch
{
    ArticleCriteria criteria;
    quint64 connection = 0;
};

// "D GETARF^TVCLSU(...)": starts a search on the server and answers its first
// page. Every criterion is an M string literal, so no typed character can
// end it early.
QString ArticleSearchCommand(const ArticleCriteria &criteria);
// Answers the next page of the running search.
QString NextArticlePageCommand();

// A supplier number as the article search's supplier field holds it: one to
// six digits.
inline constexpr int SupplierNumberDigits = 6;
bool IsSupplierNumber(const QString &number);
// The command that answers a supplier's name; none when number is not a
// supplier number, since it goes into the command unquoted.
std::optional<QString> SupplierNameCommand(const QString &number);

// The group argument of the partner search from the chosen entry of the group
// list ("number | name"). Suppliers: the collective account as a number
// ("007 | ..." gives "7"). Customers: the group number as listed. An empty
// entry gives "" (no narrowing) for both.
QString SupplierAccountParameter(const QString &entryText);
QString CustomerGroupParameter(const QString &entryText);

// The separator between number and name in the partner dialogs' group lists.
inline constexpr QStringView GroupEntrySeparator = u" | ";

// Shows the article search modally; the chosen article number, "" when the
// dialog was closed without a choice.
QString SelectArticle(QWidget *parent = nullptr);
// Fetches the next page of the dialog's search (with no hits yet: starts the
// search with the dialog's criteria) and adds it to the dialog's list. When
// the session that ran the search is no longer the one connected, the search
// runs again and goes on after the hits the list holds.
void FetchArticlePage(FMArtsu &dialog);

// Shows the supplier (customer) search modally; the chosen number, "" when
// the dialog was closed without a choice.
QString SelectSupplier(QWidget *parent = nullptr);
QString SelectCustomer(QWidget *parent = nullptr);
// Runs the dialog's partner search and shows its hits, at most
// PartnerHitModel::MaxHits of them. A server error is shown; the list keeps
// the hits of the search before.
void FetchSupplierHits(FMLnrsu &dialog);
void FetchCustomerHits(FMKnrsu &dialog);

} // namespace tolven
