#pragma once

#include <QString>
#include <Qt>

namespace tolven {

// The columns of the position grid, in the order the grid and the position
// array hold them. Unscoped so that a column converts to the model's int
// column; write them qualified (PositionColumn::Preistyp) for readability.
enum PositionColumn : int {
    Konkur = 0,
    Artnr = 1,
    ArtBez = 2,
    ZAnr = 3,
    Preistyp = 4,
    DatumAb = 5,
    DatumBis = 6,
    MengeAb = 7,
    VKE = 8,
    IntPreis = 9,
    PreisExcl = 10,
    PreisIncl = 11,
    VRE = 12,
    BruttoEK = 13,
    Rabatt = 14,
    NettoEK = 15,
    VKMenge = 16,
    BRUmsatz = 17,
    RabattProzent = 18,
    DBAbs = 19,
    DBProzent = 20,
    PreisKalk = 21,
    PreisKalkIncl = 22,
    ListeProzent = 23,
    Spanne = 24,
    DBVerlust = 25,
    Notiz = 26,
    MC = 27,
    SAM = 28,
    UID = 29,
    AendDatum = 30,
    Nettoumsatz = 31,
};

inline constexpr int PositionColumnCount = 32;

// The look-up list a column's drop-down offers.
enum class DropDownList {
    None,
    Competitors,
    PriceTypes,
    Units,
};

struct PositionColumnInfo {
    QString caption;
    bool hidden = false;
    Qt::Alignment alignment = Qt::AlignLeft; // horizontal only
    DropDownList dropDown = DropDownList::None;
};

// How the grid shows a column; column must lie in 0..PositionColumnCount-1.
const PositionColumnInfo &ColumnInfo(int column);

} // namespace tolven
