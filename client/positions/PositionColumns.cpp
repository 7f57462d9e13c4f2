#include "PositionColumns.h"

#include <array>

namespace tolven {

using namespace Qt::StringLiterals;

namespace {

using Columns = std::array<PositionColumnInfo, PositionColumnCount>;

Columns makeColumns()
{
    constexpr Qt::Alignment left = Qt::AlignLeft;
    constexpr Qt::Alignment right = Qt::AlignRight;
    constexpr Qt::Alignment centre = Qt::AlignHCenter;
    constexpr bool hidden = true;
    constexpr bool shown = false;

    Columns c;
    c[Konkur] = {u"Konkur"_s, shown, left, DropDownList::Competitors};
    c[Artnr] = {u"Art-Nr"_s, shown, left};
    c[ArtBez] = {u"Art-Bezeichnung"_s, shown, left};
    c[ZAnr] = {u"Z-Art-Nr"_s, shown, left};
    c[Preistyp] = {u"Preistyp"_s, shown, left, DropDownList::PriceTypes};
    c[DatumAb] = {u"Datum ab"_s, shown, centre};
    c[DatumBis] = {u"Datum bis"_s, shown, centre};
    c[MengeAb] = {u"Menge ab"_s, shown, right};
    c[VKE] = {u"VKE"_s, shown, centre, DropDownList::Units};
    c[IntPreis] = {u"int. Preis incl."_s, shown, right};
    c[PreisExcl] = {u"Preis excl."_s, shown, right};
    c[PreisIncl] = {u"Preis incl."_s, shown, right};
    c[VRE] = {u"per VRE"_s, shown, centre, DropDownList::Units};
    c[BruttoEK] = {u"Brutto-EK"_s, shown, right};
    c[Rabatt] = {u"Rabatt"_s, shown, centre};
    c[NettoEK] = {u"Netto-EK"_s, shown, right};
    c[VKMenge] = {u"VK-Menge"_s, shown, right};
    c[BRUmsatz] = {u"BR-Umsatz"_s, shown, right};
    c[RabattProzent] = {u"Rab %"_s, shown, centre};
    c[DBAbs] = {u"DB-abs"_s, shown, right};
    c[DBProzent] = {u"DB%"_s, shown, centre};
    c[PreisKalk] = {u"kalk. Preis excl."_s, shown, right};
    c[PreisKalkIncl] = {u"kalk. Preis incl."_s, shown, right};
    c[ListeProzent] = {u"- Liste %"_s, shown, centre};
    c[Spanne] = {u"Spanne"_s, shown, right};
    c[DBVerlust] = {u"DB-Verlust"_s, shown, right};
    c[Notiz] = {u"Notiz"_s, shown, left};
    c[MC] = {u"MC"_s, hidden, left};
    c[SAM] = {u"SAM"_s, hidden, left};
    c[UID] = {u"UID"_s, hidden, left};
    c[AendDatum] = {u"Änd-Datum"_s, shown, left};
    c[Nettoumsatz] = {u"Nettoumsatz"_s, hidden, left};
    return c;
}

} // namespace

const PositionColumnInfo &ColumnInfo(int column)
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    static const Columns columns = makeColumns();
    return columns[static_cast<std::size_t>(column)];
}

} // namespace tolven
