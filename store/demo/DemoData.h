#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

namespace tolven {
class ServerFactory;
}

namespace store {

// How much of the demo firm 1 to generate. Firm 2 and the master data
// (groups, units, suppliers, customers, competitors, price types) do not
// depend on it.
struct DemoSize
{
    int articles = 1500;
    int positions = 600;
};

// What firm 1 of the demo always holds, whatever its size. Texts are in
// display form; the article numbers are firm 1's.
namespace demo {

// Articles and positions with fixed data, written before the generated bulk.
// A demo cannot be smaller than these.
inline constexpr int FixedArticleCount = 24;
inline constexpr int FixedPositionCount = 22;
// Limits of a size: article numbers have six digits (100001 upward), and an
// article carries at most this many positions on average.
inline constexpr int MaxArticles = 899999;
inline constexpr int MaxPositionsPerArticle = 100;
inline constexpr int MaxPositions = 10000000;

// The supplier collective account written with leading zeros, and how many
// suppliers it holds (exactly: the tool and hardware suppliers).
inline constexpr QStringView SupplierAccount = u"007";
inline constexpr int SuppliersInSupplierAccount = 18;
inline constexpr int MinimumSuppliers = 150;
inline constexpr int MinimumCustomers = 300;
inline constexpr int CustomerGroupCount = 10;
inline constexpr int MinimumCompetitors = 8;
inline constexpr int MinimumPriceTypes = 5;

// Short-designation prefixes: the first matches exactly FourArticlesCount
// articles, the second more than ManyArticlesMinimum (the article search
// answers four per page).
inline constexpr QStringView FourArticlesKey = u"QUARZSAND";
inline constexpr int FourArticlesCount = 4;
inline constexpr QStringView ManyArticlesKey = u"DÜBEL";
inline constexpr int ManyArticlesMinimum = 10;

// Never sold: quantity and turnover zero.
inline constexpr QStringView UnsoldArticle = u"100018";
// Sold and taken back: quantity zero, turnover not.
inline constexpr QStringView ReturnedArticle = u"100019";
// A collective article; one of its positions carries CollectiveText.
inline constexpr QStringView CollectiveArticle = u"100020";
inline constexpr QStringView CollectiveText = u"Sonderposten Gehwegplatten grau 30x30, 2. Wahl, Kantenschäden";
// Priced by every competitor of firm 1, under several price types.
inline constexpr QStringView WidelyPricedArticle = u"100001";

// Positions' start and change dates lie in the PositionDays days up to the
// day of the fill (that day included); some are older than OldPositionDays.
inline constexpr int PositionDays = 120;
inline constexpr int OldPositionDays = 30;

// Firm 2, the branch, is the same at every size: its own articles (numbers
// from 100001 on, like firm 1's, with other articles behind them),
// competitors, price types and positions.
inline constexpr int Firm2Articles = 30;
inline constexpr int Firm2Competitors = 3;
inline constexpr int Firm2PriceTypes = 2;
inline constexpr int Firm2Positions = 20;

} // namespace demo

// Why a size cannot be filled, in German; empty when it can.
QString DemoSizeError(const DemoSize &size);

// How many objects of a class the demo wrote, per firm.
struct DemoCount
{
    QString className;
    QString what;       // German plural, e.g. "Artikel"
    int firm1 = 0;
    int firm2 = 0;
};

// Fills a connected, empty database with the demo firms, through the object
// interface and in one transaction (TSTART ... TCOMMIT). The positions' dates
// count back from today. Deterministic: the same size and day write exactly
// the same data. Throws tolven::AccessError for a size DemoSizeError refuses
// (before writing anything) and for any failed write (after rolling back).
QList<DemoCount> FillDemoData(tolven::ServerFactory &factory, const DemoSize &size = {},
                              QDate today = QDate::currentDate());

// The demo logins (also listed in the README).
struct DemoLogin
{
    QString firm;
    QString code;
    QString password;
    QString name;     // display form
    bool active;
};
QList<DemoLogin> DemoLogins();

} // namespace store
