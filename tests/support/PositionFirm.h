#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <utility>

// Firm 7 of the position tests: what the search and the editing tests find
// in the database, and the figures they compute from.
namespace testsupport {
class TestDatabase;
}
namespace tolven {
class ServerFactory;
}

namespace testsupport::positionfirm {

using namespace Qt::StringLiterals;

using Properties = QList<std::pair<QString, QString>>;

inline const QString Firm = u"7"_s;

// Firm 7: two competitors, a price type with and one without an end date,
// and articles whose figures the tests know.
inline const QString Cement = u"200001"_s;       // VAT 19, gross 10, net 7.50, 200 sold for 1000, discounts 250, cost 800
inline const QString Collective = u"200002"_s;   // collective article
inline const QString Returned = u"200003"_s;     // turnover 500 without a sold quantity
inline const QString Unsold = u"200004"_s;       // no sales at all
inline const QString Vanished = u"299999"_s;     // positions name it, the article master does not

struct Position
{
    QString competitor;
    QString article;
    QString priceType;
    QString changed;   // yyyy-mm-dd
    Properties more;
};

inline const QList<Position> Positions{
    {u"WERKHOF"_s, Cement, u"L"_s, u"2026-03-01"_s,
     {{u"DatumBis"_s, u"2026-12-31"_s}, {u"PreisExcl"_s, u"12.5"_s}, {u"PreisKalk"_s, u"80"_s}, {u"MengeAb"_s, u"1"_s}}},
    {u"WERKHOF"_s, Cement, u"A"_s, u"2026-01-15"_s, {{u"DatumBis"_s, u"2026-12-31"_s}, {u"PreisExcl"_s, u"11"_s}}},
    {u"MOORBAU"_s, Collective, u"L"_s, u"2026-02-20"_s,
     {{u"ArtBez"_s, u"Eigener Sammeltext"_s}, {u"IntPreis"_s, u"4.5"_s}}},
    {u"MOORBAU"_s, Returned, u"L"_s, u"2026-01-10"_s, {}},
    {u"MOORBAU"_s, Unsold, u"L"_s, u"2026-02-25"_s, {}},
    {u"MOORBAU"_s, Vanished, u"L"_s, u"2026-01-05"_s, {{u"ArtBez"_s, u"Altartikel"_s}, {u"IntPreis"_s, u"3"_s}}},
};

// The day the tests of firm 7 run on.
inline const QDate TestDay(2026, 3, 2);

// In initTestCase() of a test of firm 7's main window: test paths, the
// client's resources, no platform notices, TestDay as today.
void InitTestCase();
// The command line that logs the user NEU of firm 7 in on the database.
QString CommandLine(const TestDatabase &db);

// A new object of className in firm 7 with values, saved.
void Save(tolven::ServerFactory &factory, const QString &className, const Properties &values);

// Fills firm 7 of the database, with extraPositions more of the unsold
// article at WERKHOF (quantities 0, 1, ...).
void Fill(const QString &connectString, int extraPositions = 0);

} // namespace testsupport::positionfirm
