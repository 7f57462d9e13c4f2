#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <iterator>

#include "store/demo/DemoData.h"

// What the demo firms are made of: the fixed tables the generator combines
// into records, in display form. The generator turns master-data texts into
// the server's 7-bit form when it writes them.

namespace store::catalogue {

// The logins and personnel records of both firms.
struct Person
{
    DemoLogin login;
    QString department;   // ABTNR
    QString personNumber; // PNR
    QString dw;
    QString group;        // BERGRP
};

struct Department
{
    QString firm;
    QString number;
    QString name;
};

struct PersonBase
{
    QString firm;
    QString number;
    QString fax;
    QString email;
};

const QList<Person> &people();
const QList<Department> &departments();
const QList<PersonBase> &personBases();

enum class Trade { Building, Wood, Tools, Paint, Garden };

// The supplier collective account of each trade.
QString accountOf(Trade trade);

struct NamedEntry
{
    const char16_t *key;
    const char16_t *name;
};

inline constexpr NamedEntry Units[] = {
    {u"ST", u"Stück"},          {u"SCK", u"Sack"},     {u"PAL", u"Palette"},  {u"M2", u"Quadratmeter"},
    {u"M3", u"Kubikmeter"},     {u"LFM", u"laufender Meter"}, {u"KG", u"Kilogramm"}, {u"T", u"Tonne"},
    {u"RO", u"Rolle"},          {u"PAK", u"Paket"},    {u"L", u"Liter"},      {u"EI", u"Eimer"},
    {u"PAA", u"Paar"},          {u"KAR", u"Karton"},   {u"DS", u"Dose"},
};

inline constexpr NamedEntry ArticleDepartments[] = {
    {u"10", u"Baustoffe"}, {u"20", u"Holz"},   {u"30", u"Fliesen"},  {u"40", u"Werkzeug"},
    {u"50", u"Farben"},    {u"60", u"Garten"}, {u"70", u"Tiefbau & Entwässerung"},
};

struct MainGroup
{
    int number;
    const char16_t *name;
    int department;
};

inline constexpr MainGroup MainGroups[] = {
    {1, u"Zement & Bindemittel", 10},  {2, u"Mörtel & Putze", 10},        {3, u"Mauersteine & Ziegel", 10},
    {4, u"Holz & Platten", 20},        {5, u"Dämmstoffe", 10},            {6, u"Fliesen & Keramik", 30},
    {7, u"Werkzeuge", 40},             {8, u"Farben & Lacke", 50},        {9, u"Garten & Landschaftsbau", 60},
    {10, u"Beton & Fertigteile", 10},  {11, u"Tiefbau & Entwässerung", 70}, {12, u"Sonderposten & Diverses", 10},
};

struct SubGroup
{
    int number;  // main group × 100 + n
    const char16_t *name;
};

inline constexpr SubGroup SubGroups[] = {
    {101, u"Zement"},                  {102, u"Kalk"},                     {103, u"Estrich & Ausgleichsmassen"},
    {104, u"Sand, Kies & Splitt"},     {201, u"Mauermörtel"},              {202, u"Innenputze"},
    {203, u"Außenputze"},              {204, u"Reparatur- & Montagemörtel"}, {301, u"Kalksandsteine"},
    {302, u"Porenbeton"},              {303, u"Ziegel"},                   {304, u"Klinker, Verblender & Glasbausteine"},
    {401, u"Konstruktionsholz"},       {402, u"Latten, Bretter & Profilholz"}, {403, u"Plattenwerkstoffe"},
    {404, u"Trockenbau"},              {405, u"Terrasse & Gartenholz"},    {501, u"Mineralwolle"},
    {502, u"Hartschaum"},              {503, u"Holzfaser & Naturdämmstoffe"}, {504, u"Folien & Abdichtung"},
    {601, u"Bodenfliesen"},            {602, u"Wandfliesen & Mosaik"},     {603, u"Fliesenkleber & Fugenmörtel"},
    {604, u"Fliesenprofile"},          {701, u"Handwerkzeug"},             {702, u"Elektrowerkzeug"},
    {703, u"Befestigungstechnik"},     {704, u"Messwerkzeug"},             {705, u"Arbeitsschutz"},
    {706, u"Baustellenbedarf & Gerüst"}, {801, u"Wandfarben & Grundierungen"}, {802, u"Fassadenfarben"},
    {803, u"Lacke & Lasuren"},         {804, u"Malerzubehör"},             {901, u"Pflaster, Platten & Einfassungen"},
    {902, u"Rasen & Saatgut"},         {903, u"Pflanzen & Gehölze"},       {904, u"Erden & Dünger"},
    {905, u"Gartengeräte"},            {1001, u"Sackbeton"},               {1002, u"Schächte & Betonrohre"},
    {1003, u"Bordsteine"},             {1004, u"Stürze"},                  {1101, u"KG-Rohre & Formteile"},
    {1102, u"Drainage"},               {1103, u"Rinnen & Abläufe"},        {1201, u"Sonderposten"},
    {1202, u"Fachliteratur"},          {1203, u"Diverses"},
};

// The article department of a sub group: its main group's.
int departmentOf(int subGroup);

// An article family: a description with two variable parts; every
// combination is one article. The first list runs from cheap to dear.
struct Family
{
    int subGroup;
    const char16_t *pattern;
    const char16_t *first;
    const char16_t *second;
    const char16_t *salesUnit;
    const char16_t *priceUnit;
    int fromCents;
    int toCents;
    Trade trade;
    int vat;
    const char16_t *third = nullptr;  // a third part (%3) for some families
};

inline constexpr const char16_t *MortarBrands = u"Sakret;Quick-Mix;maxit;Baumit;Weber;Knauf";
inline constexpr const char16_t *TileBrands = u"PCI;Ardex;Mapei;Sopro;Schönox;Knauf;Weber";
inline constexpr const char16_t *PaintBrands = u"Caparol;Brillux;Alpina;Schöner Wohnen;Meffert;Düfa;Relius";
inline constexpr const char16_t *InsulationThickness = u"20 mm;30 mm;40 mm;50 mm;60 mm;80 mm;100 mm;120 mm;140 mm;160 mm;200 mm";

inline constexpr Family Families[] = {
    // Zement & Bindemittel
    {101, u"Zement %1, 25 kg, %2",
     u"CEM II/B-M 32,5 R;CEM II/A-LL 32,5 R;CEM III/B 32,5 N-LH;CEM III/A 42,5 N;CEM II/B-S 42,5 N;CEM I 42,5 R;CEM I 42,5 R-SR 3;CEM I 52,5 R",
     u"Dyckerhoff;Holcim;Heidelberger;Schwenk;Spenner;Märker;Rohrdorfer;Opterra", u"SCK", u"SCK", 560, 1290,
     Trade::Building, 19},
    {101, u"Weißzement %1, %2", u"CEM II/A-LL 42,5 R;CEM I 52,5 R", u"5 kg Eimer;10 kg Eimer;25 kg Sack",
     u"SCK", u"SCK", 990, 2790, Trade::Building, 19},
    {102, u"%1, %2",
     u"Kalkhydrat CL 80-S;Weißkalkhydrat CL 90-S;Branntkalk CL 90-Q;Trasskalk NHL 5;Hydraulischer Kalk NHL 3,5;Sumpfkalk gebrauchsfertig",
     u"5 kg Beutel;10 kg Sack;25 kg Sack;30 kg Sack;40 kg Sack", u"SCK", u"SCK", 490, 2590, Trade::Building, 19},
    {103, u"%1 %2, 25 kg",
     u"Zementestrich CT-C25-F4;Verbundestrich-Haftbrücke;Trockenestrich-Ausgleichsschüttung;Fließestrich CA-C30-F6;Schnellestrich CT-C40-F7;Ausgleichsmasse 1-30 mm;Bodenspachtel faserverstärkt",
     u"Knauf;maxit;Sakret;Quick-Mix;Baumit;Weber;PCI;Ardex;Mapei;Schönox", u"SCK", u"SCK", 690, 4590,
     Trade::Building, 19},
    {104, u"%1, %2",
     u"Bausand 0/2;Estrichsand 0/8;Betonkies 0/16;Brechsand 0/5;Mineralgemisch 0/32;Frostschutzkies 0/32;Rheinkies 2/8;Rheinkies 8/16;Spielsand gewaschen;Fugensand hell;Edelsplitt 2/5;Basaltsplitt 8/11;Granitsplitt 11/22;Zierkies Carrara 16/32",
     u"Sack 25 kg;Sack 40 kg;Sack 20 kg gewaschen", u"SCK", u"SCK", 290, 1490, Trade::Building, 19},
    // Mörtel & Putze
    {201, u"%1 %2, 40 kg",
     u"Mauermörtel MG IIa;Mauermörtel MG III;Trassmauermörtel;Leichtmauermörtel LM 21;Dünnbettmörtel;Vormauermörtel hellgrau;Vormauermörtel anthrazit;Mauermörtel M 10",
     MortarBrands, u"SCK", u"SCK", 450, 1890, Trade::Building, 19},
    {202, u"%1 %2, 30 kg",
     u"Maschinenputz;Haftputzgips;Gipsputz MP 75;Kalkputz;Kalkzementputz;Dünnlagenputz;Feinputz;Lehmputz",
     u"Knauf;maxit;Baumit;Weber;Quick-Mix;Sakret;Claytec", u"SCK", u"SCK", 690, 2490, Trade::Building, 19},
    {203, u"%1 %2, 25 kg",
     u"Leichtputz;Sockelputz;Kratzputz 3 mm;Scheibenputz 2 mm;Reibeputz 3 mm;Mineralischer Oberputz weiß;Sanierputz WTA;Silikonharzputz 1,5 mm",
     u"Sakret;Baumit;Sto;Weber;maxit;Knauf;Caparol", u"SCK", u"SCK", 890, 5990, Trade::Building, 19},
    {204, u"%1, %2",
     u"Fugenmörtel für Pflaster;Montagemörtel;Schnellzement;Betonspachtel;Reparaturmörtel;Quellmörtel;Vergussmörtel",
     u"2,5 kg Dose;5 kg Eimer;10 kg Eimer;25 kg Sack", u"SCK", u"SCK", 590, 4290, Trade::Building, 19},
    // Mauersteine & Ziegel
    {301, u"Kalksandstein %1, Wanddicke %2, %3",
     u"KS Vormauerstein NF;KS 2DF;KS L 2DF;KS 3DF;KS L 3DF;KS Ratio 12DF;KS Planstein 10DF;KS Quadro E;KS Planelement 8DF",
     u"11,5 cm;17,5 cm;24 cm;30 cm;36,5 cm", u"ST", u"ST", 45, 1190, Trade::Building, 19, u"Silka;KS-Original;Heidelberger"},
    {302, u"Porenbeton-Planstein %1, %2, %3",
     u"PP2-0,35;PP2-0,40;PP4-0,55;PP4-0,60;PP6-0,65",
     u"62,5x25x11,5;62,5x25x17,5;62,5x25x24;62,5x25x30;62,5x25x36,5;59,9x24,9x20", u"ST", u"ST", 290, 1290,
     Trade::Building, 19, u"Ytong;Hebel;H+H"},
    {303, u"%1, Wanddicke %2, %3",
     u"Hochlochziegel HLz 2DF;Hochlochziegel HLz 10DF;Planziegel T14;Planziegel T12;Planziegel T10;Planziegel T9 gefüllt;Poroton S9;Poroton T8",
     u"17,5 cm;24 cm;30 cm;36,5 cm;42,5 cm;49 cm", u"ST", u"ST", 95, 1490, Trade::Building, 19, u"Wienerberger;Schlagmann;Mein Ziegelhaus"},
    {304, u"Klinker %1, %2, %3",
     u"rot glatt;rot-bunt;gelb-nuanciert;braun genarbt;weiß-grau;blau-bunt;anthrazit;Wasserstrich rot;Wasserstrich weiß",
     u"Riemchen 240x71x14;DF 240x115x52;NF 240x115x71;WDF 210x100x65;Formstein Rollschicht", u"ST", u"ST", 55, 390,
     Trade::Building, 19, u"Röben;Wienerberger;Hagemeister;Feldhaus"},
    {304, u"Glasbaustein %1 %2", u"klar;Wolke klar;Wolke satiniert;gewellt;Klarsicht blau",
     u"19x19x8 cm;24x24x8 cm;19x9x8 cm;Abschlussstein 19x19", u"ST", u"ST", 290, 990, Trade::Building, 19},
    // Holz & Platten
    {401, u"KVH %1 %2 mm, %3", u"Fichte Si;Fichte NSi;Douglasie NSi;Lärche NSi",
     u"60x100;60x120;60x140;60x160;60x200;60x240;80x120;80x160;80x200;100x100;100x200;120x120;120x240;140x140",
     u"LFM", u"LFM", 320, 3800, Trade::Wood, 19, u"Länge 5,0 m;Länge 7,0 m;Länge 13,0 m"},
    {401, u"Brettschichtholz %1 %2 mm", u"Fichte GL24h;Fichte GL28c;Lärche GL24h",
     u"80x200;100x240;120x280;140x320;160x360;200x400", u"LFM", u"LFM", 1890, 9900, Trade::Wood, 19},
    {402, u"%1 %2, 4,0 m",
     u"Dachlatte Fichte imprägniert;Konterlatte Fichte;Traglatte Fichte;Rahmenholz Fichte gehobelt",
     u"24x48 mm;28x48 mm;30x50 mm;38x58 mm;40x60 mm;45x70 mm", u"ST", u"ST", 229, 1290, Trade::Wood, 19},
    {402, u"%1 %2",
     u"Schalbrett Fichte sägerau;Rauspund Fichte;Fußbodendiele Fichte;Profilholz Fichte A-Sortierung;Glattkantbrett Lärche;Stülpschalung Douglasie",
     u"12,5x96 mm;19x96 mm;19x121 mm;21x146 mm;24x146 mm;27x196 mm;28x146 mm", u"PAK", u"M2", 590, 3990,
     Trade::Wood, 19},
    {403, u"%1 %2, %3",
     u"Spanplatte P2 roh;Sperrholz Pappel;MDF-Platte roh;OSB/3-Platte;OSB/4-Verlegeplatte N+F;Spanplatte P5 V100 N+F;Tischlerplatte Fichte;Dreischichtplatte Fichte;Siebdruckplatte;Multiplexplatte Birke",
     u"8 mm 2500x1250;12 mm 2500x1250;15 mm 2500x1250;18 mm 2500x675;19 mm 2440x1220;22 mm 2050x925;25 mm 2500x1250",
     u"ST", u"ST", 1490, 14900, Trade::Wood, 19, u"Egger;Kronospan;Pfleiderer"},
    {404, u"%1 %2, %3",
     u"Gipskartonplatte GKB;Gipskarton-Imprägnierplatte GKBI;Gipskarton-Feuerschutzplatte GKF;Gipsfaserplatte;Akustikplatte gelocht;Zementbauplatte",
     u"9,5 mm 2000x1250;12,5 mm 2000x1250;12,5 mm 2600x1250;15 mm 2000x1250;18 mm 2000x625;10 mm 1500x1000",
     u"ST", u"ST", 590, 4990, Trade::Wood, 19, u"Knauf;Rigips;Siniat"},
    {404, u"%1 %2", u"UD-Anschlussprofil;CD-Deckenprofil;UW-Profil;CW-Profil;UA-Profil;Kantenschutzprofil",
     u"28x27 mm, 3,00 m;60x27 mm, 4,00 m;50 mm, 2,60 m;75 mm, 3,00 m;100 mm, 2,60 m;50 mm, 4,00 m", u"ST", u"ST", 149,
     2290, Trade::Wood, 19},
    {405, u"Terrassendiele %1, %2, %3",
     u"Kiefer kesseldruckimprägniert;Douglasie glatt;Lärche sibirisch;Thermoesche;WPC braun;WPC anthrazit;Bangkirai",
     u"21x120 mm, 3,0 m;21x145 mm, 3,0 m;25x145 mm, 4,0 m;26x140 mm, 4,5 m;28x145 mm, 5,0 m;28x140 mm, 6,0 m", u"ST",
     u"LFM", 290, 1590, Trade::Wood, 19, u"A-Sortierung;B-Sortierung"},
    {405, u"%1 %2", u"Palisade Kiefer rund;Zaunpfosten Kiefer;Rankgitter Kiefer;Zaunelement Lärche;Sichtschutzzaun Kiefer",
     u"90x90 cm;90x180 cm;180x90 cm;180x180 cm;9x9x180 cm;12x12x240 cm", u"ST", u"ST", 690, 8990, Trade::Wood, 19},
    // Dämmstoffe
    {501, u"Mineralwolle-Dämmplatte %1, %2, %3", u"Trennwandplatte;WLG 040;WLG 035;Klemmfilz 035;WLG 032;Fassadendämmplatte 035",
     u"40 mm;50 mm;60 mm;80 mm;100 mm;120 mm;140 mm;160 mm;180 mm;200 mm", u"M2", u"M2", 390, 2890, Trade::Building, 19, u"Rockwool;Isover;Ursa;Knauf Insulation"},
    {501, u"Zwischensparrendämmung %1, %2", u"Glaswolle 035;Steinwolle 035;Glaswolle 032;Holzfaser flexibel 038",
     u"100 mm;120 mm;140 mm;160 mm;180 mm;200 mm;220 mm;240 mm", u"M2", u"M2", 590, 2990, Trade::Building, 19},
    {502, u"%1, %2, %3",
     u"EPS-Trittschalldämmung 045;EPS-Dämmplatte 035 DAA;EPS-Fassadendämmplatte 032 grau;XPS-Sockeldämmplatte;XPS-Perimeterdämmplatte 035;PIR-Dämmplatte alukaschiert 022;PUR-Aufsparrendämmung 023",
     InsulationThickness, u"M2", u"M2", 190, 4290, Trade::Building, 19, u"Jackon;Austrotherm;Sto;Saint-Gobain"},
    {503, u"%1, %2",
     u"Jutedämmung;Hanfdämmmatte;Zellulose-Dämmplatte;Holzfaser-Dämmplatte;Holzfaser-Putzträgerplatte;Holzfaser-Unterdeckplatte",
     u"40 mm;60 mm;80 mm;100 mm;120 mm;160 mm", u"M2", u"M2", 690, 3990, Trade::Wood, 19},
    {504, u"%1, %2",
     u"Baufolie transparent;Dampfbremsfolie PE 0,2 mm;Unterspannbahn diffusionsoffen;Noppenbahn 8 mm;Bitumen-Dachbahn V 13;Bitumen-Schweißbahn G 200 S4",
     u"1,0x10 m;1,5x25 m;2,0x25 m;1,5x50 m;2,0x50 m;4,0x25 m", u"RO", u"RO", 1290, 12900, Trade::Building, 19},
    {504, u"%1, %2",
     u"Bitumen-Voranstrich;Sperrgrund;Dichtschlämme flexibel;Bitumen-Dickbeschichtung 2K;Flüssigkunststoff-Abdichtung",
     u"5 kg Eimer;10 kg Eimer;20 kg Eimer;25 kg Eimer;30 kg Kombigebinde", u"EI", u"EI", 1990, 18900, Trade::Building,
     19},
    // Fliesen & Keramik
    {601, u"Feinsteinzeug %1 %2, %3", u"30x30;45x45;30x60;60x60;15x90 Holzoptik;20x120 Holzoptik;80x80;60x120",
     u"grau;anthrazit;beige;weiß;sand;schwarz matt;Betonoptik hellgrau;Marmoroptik weiß;Schiefer dunkel;Eiche natur;Nussbaum;Cotto rot",
     u"M2", u"M2", 1490, 5990, Trade::Building, 19, u"matt;poliert;R10 rutschhemmend"},
    {602, u"Wandfliese %1 %2, %3", u"10x10;15x15;20x25;25x33;20x50;30x60;30x90",
     u"weiß glänzend;weiß matt;creme;hellgrau;grün;blau;Metro weiß;Metro schwarz;Struktur weiß", u"M2", u"M2", 1190,
     4490, Trade::Building, 19, u"kalibriert;rektifiziert"},
    {602, u"Mosaik %1, %2 (Matte 30x30)", u"Keramik;Glas;Naturstein;Edelstahl",
     u"weiß;grau-mix;beige;grün;blau;schwarz;Kupfer", u"ST", u"ST", 690, 3490, Trade::Building, 19},
    {603, u"%1 %2",
     u"Fliesenkleber C1TE;Flexkleber C2TE S1;Schnellflexkleber;Natursteinkleber weiß;Fugenmörtel flexibel;Epoxidharzfuge;Silikon sanitär",
     TileBrands, u"SCK", u"SCK", 890, 6990, Trade::Building, 19},
    {604, u"%1 %2",
     u"Dehnungsfugenprofil PVC grau;Abschlussprofil Aluminium silber;Abschlussprofil Messing;Fliesenschiene Edelstahl;Treppenkantenprofil Edelstahl",
     u"6 mm, 2,5 m;8 mm, 2,5 m;10 mm, 2,5 m;11 mm, 2,5 m;12,5 mm, 2,5 m", u"ST", u"ST", 390, 3490, Trade::Building, 19},
    // Werkzeuge
    {701, u"Maurerkelle %1, %2", u"Berliner Form;Hamburger Form;Sächsische Form;Stuttgarter Form;Edelstahl Softgriff",
     u"160 mm;180 mm;200 mm;220 mm", u"ST", u"ST", 690, 2490, Trade::Tools, 19},
    {701, u"%1 %2",
     u"Reibebrett Kunststoff;Schwammbrett;Gummi-Fugbrett;Zahnkelle;Glättkelle rostfrei;Venezianische Kelle",
     u"240x100 mm;280x120 mm;280x130 mm;300x140 mm;480x130 mm", u"ST", u"ST", 490, 3290, Trade::Tools, 19},
    {701, u"%1 %2",
     u"Gummihammer;Schonhammer;Schlosserhammer;Latthammer;Maurerhammer;Zimmermannshammer;Fäustel",
     u"300 g;500 g;800 g;1000 g;1250 g;1500 g", u"ST", u"ST", 790, 4490, Trade::Tools, 19},
    {701, u"%1 %2", u"Bügelsäge;Gipskartonsäge;Fuchsschwanz;Handsäge;Japansäge;Porenbetonsäge",
     u"300 mm;350 mm;400 mm;450 mm;500 mm;550 mm", u"ST", u"ST", 990, 5990, Trade::Tools, 19},
    {701, u"Schraubendreher %1, %2", u"Schlitz;Kreuzschlitz PH;Pozidriv PZ;Torx TX;Innensechskant",
     u"Größe 1;Größe 2;Größe 3;Größe 4;Größe 5;Größe 6", u"ST", u"ST", 390, 1490, Trade::Tools, 19},
    {702, u"%1 %2, %3",
     u"Rührwerk;Stichsäge;Exzenterschleifer;Winkelschleifer 125 mm;Schlagbohrmaschine;Multitool oszillierend;Akku-Bohrschrauber 18 V;Akku-Schlagschrauber 18 V;Handkreissäge;Bohrhammer SDS-plus;Kombihammer SDS-max",
     u"Bosch;Makita;Metabo;Festool;Milwaukee;DeWalt;Hilti", u"ST", u"ST", 8900, 79900, Trade::Tools, 19, u"im Koffer;im Karton;Profi-Set"},
    {703, u"Holzbauschraube %1 %2, %3",
     u"Spanplattenschraube Senkkopf PZ;Senkkopf TX;Tellerkopf TX;Sechskant",
     u"4,0x40 mm;4,5x50 mm;5,0x60 mm;6,0x80 mm;6,0x120 mm;8,0x160 mm;8,0x200 mm;10,0x300 mm", u"PAK", u"PAK", 590, 5990,
     Trade::Tools, 19, u"verzinkt;gelb verzinkt;Edelstahl A2"},
    {703, u"%1 %2",
     u"Unterlegscheibe DIN 125;Sechskantmutter DIN 934;Sechskantschraube DIN 933;Schlüsselschraube DIN 571;Gewindestange DIN 976",
     u"M6;M8;M10;M12;M16", u"PAK", u"PAK", 290, 2490, Trade::Tools, 19},
    {703, u"%1 %2", u"Lochplatte;Flachverbinder;Winkelverbinder;Balkenschuh;Sparrenpfettenanker",
     u"40x40x40 mm;60x60x40 mm;70x70x55 mm;90x90x65 mm;100x40x2 mm;105x105x90 mm", u"ST", u"ST", 59, 890, Trade::Tools,
     19},
    {703, u"Nägel %1 %2, 5 kg", u"Drahtstifte blank;Dachpappstifte;Rillennägel;Schraubnägel verzinkt;Betonnägel",
     u"2,0x40 mm;2,5x55 mm;3,1x70 mm;3,4x90 mm;4,2x120 mm", u"PAK", u"PAK", 990, 3990, Trade::Tools, 19},
    {704, u"%1 %2", u"Wasserwaage Aluminium;Wasserwaage Magnet;Richtlatte Aluminium",
     u"40 cm;60 cm;80 cm;100 cm;120 cm;150 cm;180 cm;200 cm", u"ST", u"ST", 1290, 8990, Trade::Tools, 19},
    {704, u"%1 %2", u"Zollstock Holz;Zollstock Glasfaser;Maßband;Bandmaß Stahl",
     u"2 m;3 m;5 m;8 m;10 m;20 m;30 m", u"ST", u"ST", 390, 3490, Trade::Tools, 19},
    {705, u"%1, %2, %3",
     u"Montagehandschuhe;Arbeitshandschuhe Nitril;Arbeitshandschuhe Leder;Kälteschutzhandschuhe;Schnittschutzhandschuhe",
     u"Größe 7;Größe 8;Größe 9;Größe 10;Größe 11", u"PAA", u"PAA", 149, 1290, Trade::Tools, 19, u"uvex;Ejendals;Showa"},
    {705, u"%1, %2, %3", u"Gummistiefel S5;Sicherheitsschuh S3 Halbschuh;Sicherheitsstiefel S3",
     u"Größe 39;Größe 40;Größe 41;Größe 42;Größe 43;Größe 44;Größe 45;Größe 46;Größe 47", u"PAA", u"PAA", 2990, 11900,
     Trade::Tools, 19, u"uvex;Elten;Atlas;Puma Safety"},
    {705, u"%1 %2",
     u"Warnweste;Staubschutzmaske FFP2;Schutzbrille;Gehörschutz Kapsel;Staubschutzmaske FFP3;Schutzhelm",
     u"uvex;3M;Dräger;Moldex;Peltor;Würth", u"ST", u"ST", 290, 3490, Trade::Tools, 19},
    {706, u"%1 %2", u"Mörtelkübel;Maurerkübel;Zementwanne;Schubkarre;Bauschubkarre verzinkt",
     u"40 l;60 l;80 l;90 l;100 l;120 l", u"ST", u"ST", 490, 14900, Trade::Tools, 19},
    {706, u"Gerüstbohle %1, %2", u"Holz;Stahl;Aluminium", u"1,0 m;1,5 m;2,0 m;2,5 m;3,0 m;4,0 m", u"ST", u"ST", 2490,
     18900, Trade::Tools, 19},
    // Farben & Lacke
    {801, u"%1 %2, 12,5 l",
     u"Deckenfarbe ergiebig;Innenfarbe matt weiß;Spritzfrei-Wandfarbe;Latexfarbe seidenmatt;Küchen- und Badfarbe;Silikatfarbe weiß",
     PaintBrands, u"EI", u"EI", 2490, 12900, Trade::Paint, 19},
    {801, u"%1, %2", u"Tiefgrund LF;Tiefgrund LH;Haftgrund;Putzgrund weiß;Sperrgrund",
     u"1 l;2,5 l;5 l;10 l;12,5 l", u"EI", u"EI", 890, 8990, Trade::Paint, 19},
    {802, u"Fassadenfarbe %1, %2",
     u"weiß;Reinacrylat weiß;getönt sandbeige;getönt lichtgrau;Silikat weiß;Siliconharz weiß",
     u"5 l;10 l;12,5 l;15 l", u"EI", u"EI", 3990, 18900, Trade::Paint, 19},
    {803, u"%1 %2, %3", u"Betonfarbe;Metallschutzlack;Buntlack seidenmatt;Buntlack hochglänzend;Bodenbeschichtung 2K",
     u"RAL 9010 reinweiß;RAL 9005 tiefschwarz;RAL 7016 anthrazitgrau;RAL 6005 moosgrün;RAL 5010 enzianblau;RAL 3000 feuerrot;RAL 1015 hellelfenbein;RAL 7035 lichtgrau;RAL 8017 schokoladenbraun",
     u"DS", u"DS", 990, 3490, Trade::Paint, 19, u"375 ml;750 ml;2,5 l"},
    {803, u"%1 %2, %3", u"Gartenholzfarbe;Holzschutzlasur;Holzöl;Terrassenöl;Dickschichtlasur",
     u"farblos;kiefer;eiche hell;teak;nussbaum;palisander;ebenholz;weiß", u"DS", u"DS", 1890, 5990, Trade::Paint, 19, u"750 ml;2,5 l;5 l"},
    {804, u"%1 %2", u"Schaumstoffroller;Strukturroller;Farbroller Polyamid;Farbroller Microfaser",
     u"10 cm;18 cm;25 cm;30 cm", u"ST", u"ST", 249, 1990, Trade::Paint, 19},
    {804, u"%1 %2", u"Plattpinsel;Flachpinsel;Heizkörperpinsel;Lasurpinsel;Ringpinsel",
     u"20 mm;30 mm;40 mm;50 mm;60 mm;70 mm;100 mm", u"ST", u"ST", 199, 1890, Trade::Paint, 19},
    {804, u"%1 %2", u"Malerkrepp;Abdeckband Goldband;Gewebeband silber;Abdeckfolie mit Klebeband",
     u"19 mm x 50 m;25 mm x 50 m;38 mm x 50 m;50 mm x 50 m;1,4 m x 33 m;2,6 m x 17 m", u"RO", u"RO", 199, 1590,
     Trade::Paint, 19},
    // Garten & Landschaftsbau
    {901, u"%1 %2, %3",
     u"Rasengitterstein;Ökopflaster;Pflasterstein Beton;Rechteckpflaster;Gehwegplatte Beton;Terrassenplatte Beton;Betonplatte gewaschen;Granitplatte geflammt",
     u"30x30 cm rot;40x40 cm grau;40x40 cm anthrazit;50x50 cm grau;20x10x8 cm grau;20x10x8 cm rot;30x20x8 cm anthrazit-nuanciert;60x30 cm muschelkalk;60x40 cm sandgelb",
     u"M2", u"M2", 990, 6990, Trade::Building, 19, u"Rinn;Kann;Berding"},
    {901, u"Rasenkantenstein %1 %2", u"grau;rot;anthrazit", u"50x25x5 cm;100x25x5 cm;100x20x6 cm;100x30x8 cm", u"ST",
     u"ST", 190, 790, Trade::Building, 19},
    {901, u"Palisade Beton %1 %2", u"grau;rot;anthrazit;sandstein",
     u"11x11x40 cm;11x11x60 cm;12x12x80 cm;12x12x100 cm;16x16x120 cm", u"ST", u"ST", 290, 2490, Trade::Building, 19},
    {902, u"Rasensamen %1, %2",
     u"Nachsaat;Landschaftsrasen;Spiel & Sport;Zierrasen;Schattenrasen;Trockenrasen;Strapazierrasen",
     u"1 kg;2 kg;5 kg;10 kg;15 kg", u"SCK", u"SCK", 590, 8990, Trade::Garden, 7},
    {902, u"Saatgut %1, %2", u"Gründüngung Phacelia;Kleegras;Bienenweide;Wildblumenmischung",
     u"100 g;500 g;1 kg;5 kg", u"PAK", u"PAK", 290, 6990, Trade::Garden, 7},
    {903, u"%1, %2",
     u"Liguster atrovirens;Hainbuche;Rotbuche;Feuerdorn;Thuja Smaragd;Kirschlorbeer Novita;Buchsbaum;Eibe;Rhododendron;Kugelahorn",
     u"wurzelnackt 60-100 cm;im Topf 40-60 cm;im Topf 60-80 cm;im Container 80-100 cm;im Container 100-125 cm;Ballenware 125-150 cm",
     u"ST", u"ST", 290, 8990, Trade::Garden, 7},
    {904, u"%1, %2",
     u"Blumenerde;Pflanzerde torffrei;Rindenmulch;Pinienrinde 15-25 mm;Rhododendronerde;Kübelpflanzenerde",
     u"20 l;40 l;50 l;60 l;70 l", u"SCK", u"SCK", 299, 1490, Trade::Garden, 19},
    {904, u"%1, %2", u"Rasenkalk;Blaukorn;Hornspäne;Rasendünger;Rosendünger;Heckendünger",
     u"2,5 kg;5 kg;10 kg;20 kg;25 kg", u"SCK", u"SCK", 490, 4990, Trade::Garden, 19},
    {905, u"%1 %2", u"Laubbesen;Rechen;Schaufel;Spaten;Spatengabel;Gartenschere;Astschere",
     u"Gardena;Wolf-Garten;Fiskars;Spear & Jackson;Ames;Ideal", u"ST", u"ST", 990, 5990, Trade::Garden, 19},
    // Beton & Fertigteile
    {1001, u"%1 %2, 40 kg",
     u"Leichtbeton;Drainbeton;Fundamentbeton;Estrichbeton;Fertigbeton C20/25;Fertigbeton C25/30;Schnellbeton",
     u"Sakret;Quick-Mix;Baumit;maxit;Weber", u"SCK", u"SCK", 490, 1890, Trade::Building, 19},
    {1002, u"%1 %2", u"Auflagering;Schachthals;Schachtring;Abdeckplatte",
     u"DN 625;DN 800;DN 1000;DN 1200;DN 1500", u"ST", u"ST", 4900, 39900, Trade::Building, 19},
    {1002, u"%1 %2", u"Betonrohr mit Falz;Stahlbetonrohr mit Muffe",
     u"DN 150;DN 200;DN 300;DN 400;DN 500;DN 600;DN 800", u"ST", u"ST", 2490, 29900, Trade::Building, 19},
    {1003, u"%1 %2, %3", u"Einfassungsstein;Rasenbord;Flachbord;Tiefbord;Rundbord;Hochbord",
     u"8x20x50 cm anthrazit;8x25x100 cm grau;10x25x100 cm grau;6x30x100 cm grau;12x18x100 cm grau;15x30x100 cm grau",
     u"ST", u"ST", 390, 2990, Trade::Building, 19, u"Kann;Berding;Rinn"},
    {1004, u"%1 %2", u"Flachsturz;Porenbeton-Sturz;Kalksandstein-U-Schale;Ziegel-Sturz;Betonsturz",
     u"1,00 m;1,25 m;1,50 m;1,75 m;2,00 m;2,50 m;3,00 m", u"ST", u"ST", 890, 8990, Trade::Building, 19},
    // Tiefbau & Entwässerung
    {1101, u"%1 %2, %3", u"KG-Muffenstopfen;KG-Bogen 45°;KG-Bogen 87°;KG-Abzweig 45°;KG-Übergangsrohr",
     u"DN 110;DN 125;DN 160;DN 200;DN 250;DN 315", u"ST", u"ST", 190, 8990, Trade::Building, 19, u"SN 4;SN 8"},
    {1101, u"KG-Rohr %1, Länge %2", u"DN 110;DN 125;DN 160;DN 200", u"0,5 m;1,0 m;2,0 m;3,0 m;5,0 m", u"ST", u"ST",
     390, 4990, Trade::Building, 19},
    {1102, u"%1 %2", u"Filtervlies;Drainagerohr PVC gelocht;Teilsickerrohr;Vollsickerrohr;Drainagerohr mit Filtervlies",
     u"DN 50, 50 m;DN 65, 50 m;DN 80, 50 m;DN 100, 50 m;DN 125, 25 m;DN 160, 25 m", u"RO", u"RO", 1990, 12900,
     Trade::Building, 19},
    {1103, u"%1, %2, %3",
     u"Entwässerungsrinne Kunststoff;Hofablauf;Entwässerungsrinne Beton;Aufsatz Gusseisen;Straßenablauf;Schwerlastrinne",
     u"Klasse A 15;Klasse B 125;Klasse C 250;Klasse D 400;Klasse E 600", u"ST", u"ST", 1990, 34900, Trade::Building, 19, u"Birco;ACO;Hauraton"},
    // Fachliteratur
    {1202, u"Fachbuch %1, %2",
     u"Mauerwerksbau;Betonbau;Holzbau;Fliesenlegen;Dämmen und Sanieren;Gartenwege und Terrassen;Trockenbau;Bauschäden vermeiden",
     u"1. Auflage;2. Auflage;3. Auflage;überarbeitete Neuauflage", u"ST", u"ST", 1490, 4990, Trade::Paint, 7},
};

// After every combination was used once, further rounds name the article
// a little differently.
inline constexpr const char16_t *RoundSuffixes[] = {u"", u", Profiqualität", u", Vorteilspack", u", Großgebinde",
                                                    u", Gewerbeausführung", u", Sonderedition"};

struct Supplier
{
    const char16_t *shortName;
    const char16_t *name;
    Trade trade;
};

// The tool and hardware suppliers: the only ones in the collective account 007.
inline constexpr Supplier ToolSuppliers[] = {
    {u"BOSCH", u"Robert Bosch Power Tools Vertrieb", Trade::Tools},
    {u"MAKITA", u"Makita Werkzeug GmbH", Trade::Tools},
    {u"METABO", u"Metabowerke GmbH", Trade::Tools},
    {u"STABILA", u"Stabila Messgeräte Gustav Ullrich", Trade::Tools},
    {u"HULTAFORS", u"Hultafors Group Germany", Trade::Tools},
    {u"BAHCO", u"Bahco Werkzeuge Vertrieb", Trade::Tools},
    {u"WOLFCRAFT", u"Wolfcraft GmbH", Trade::Tools},
    {u"FISCHER DÜBEL", u"fischerwerke Befestigungssysteme", Trade::Tools},
    {u"SPAX", u"Spax International", Trade::Tools},
    {u"WÜRTH", u"Adolf Würth GmbH & Co. KG", Trade::Tools},
    {u"UVEX", u"uvex safety gloves", Trade::Tools},
    {u"PICARD", u"Picard Hämmer GmbH", Trade::Tools},
    {u"ALTRAD", u"Altrad Baumaschinen Vertrieb", Trade::Tools},
    {u"HAEMMERLIN", u"Haemmerlin Schubkarren", Trade::Tools},
    {u"GEDORE", u"Gedore Werkzeugfabrik", Trade::Tools},
    {u"KNIPEX", u"Knipex-Werk C. Gustav Putsch", Trade::Tools},
    {u"FESTOOL", u"Festool Vertrieb Süd", Trade::Tools},
    {u"SCHÄFER EISENWAREN", u"Eisenwaren Schäfer & Söhne", Trade::Tools},
};
static_assert(std::size(ToolSuppliers) == demo::SuppliersInSupplierAccount);

inline constexpr Supplier IndustrySuppliers[] = {
    {u"HEIDELBERGER ZEMENT", u"Heidelberger Zement Vertrieb Nord", Trade::Building},
    {u"DYCKERHOFF", u"Dyckerhoff Zementwerke", Trade::Building},
    {u"HOLCIM", u"Holcim (Deutschland) GmbH", Trade::Building},
    {u"SCHWENK", u"Schwenk Zement KG", Trade::Building},
    {u"KNAUF", u"Knauf Gips KG", Trade::Building},
    {u"SAKRET", u"Sakret Trockenbaustoffe", Trade::Building},
    {u"QUICK-MIX", u"quick-mix Gruppe", Trade::Building},
    {u"BAUMIT", u"Baumit GmbH", Trade::Building},
    {u"MAXIT", u"Franken Maxit Mauermörtel", Trade::Building},
    {u"WEBER", u"Saint-Gobain Weber", Trade::Building},
    {u"XELLA", u"Xella Porenbeton Vertrieb", Trade::Building},
    {u"WIENERBERGER", u"Wienerberger Ziegelindustrie", Trade::Building},
    {u"RÖBEN", u"Röben Tonbaustoffe GmbH", Trade::Building},
    {u"SCHLAGMANN", u"Schlagmann Poroton", Trade::Building},
    {u"KS-WERK SÜDHEIDE", u"Kalksandsteinwerk Südheide", Trade::Building},
    {u"ROCKWOOL", u"Deutsche Rockwool GmbH", Trade::Building},
    {u"ISOVER", u"Saint-Gobain Isover", Trade::Building},
    {u"URSA", u"Ursa Deutschland", Trade::Building},
    {u"JACKON", u"Jackon Insulation", Trade::Building},
    {u"AUSTROTHERM", u"Austrotherm Dämmstoffe", Trade::Building},
    {u"KANN BAUSTOFFE", u"Kann Baustoffwerke", Trade::Building},
    {u"RINN BETON", u"Rinn Beton- und Naturstein", Trade::Building},
    {u"BERDING BETON", u"Berding Beton GmbH", Trade::Building},
    {u"GÜTERSLOHER BETONWERK", u"Gütersloher Betonwerk Lüdeke", Trade::Building},
    {u"AGROB BUCHTAL", u"Agrob Buchtal Fliesen", Trade::Building},
    {u"STEULER", u"Steuler Fliesen", Trade::Building},
    {u"STRÖHER", u"Ströher Keramik", Trade::Building},
    {u"PCI", u"PCI Augsburg GmbH", Trade::Building},
    {u"ARDEX", u"Ardex GmbH", Trade::Building},
    {u"MAPEI", u"Mapei Deutschland", Trade::Building},
    {u"SOPRO", u"Sopro Bauchemie", Trade::Building},
    {u"SCHLÜTER", u"Schlüter-Systems KG", Trade::Building},
    {u"REHAU", u"Rehau Tiefbau", Trade::Building},
    {u"OSTENDORF", u"Ostendorf Kunststoffe", Trade::Building},
    {u"BIRCO", u"Birco Entwässerungssysteme", Trade::Building},
    {u"POLLMEIER", u"Pollmeier Massivholz", Trade::Wood},
    {u"EGGER", u"Egger Holzwerkstoffe", Trade::Wood},
    {u"KRONOSPAN", u"Kronospan Lampertswalde", Trade::Wood},
    {u"PFLEIDERER", u"Pfleiderer Deutschland", Trade::Wood},
    {u"BINDERHOLZ", u"Binderholz Bausysteme", Trade::Wood},
    {u"STEICO", u"Steico SE", Trade::Wood},
    {u"GUTEX", u"Gutex Holzfaserplattenwerk", Trade::Wood},
    {u"FERMACELL", u"James Hardie (Fermacell)", Trade::Wood},
    {u"RIGIPS", u"Saint-Gobain Rigips", Trade::Wood},
    {u"HOLZWERK LÜDEMANN", u"Holzwerk Lüdemann Sägewerk", Trade::Wood},
    {u"OSMO", u"Osmo Holz und Color", Trade::Wood},
    {u"CAPAROL", u"Caparol Farben Lacke Bautenschutz", Trade::Paint},
    {u"BRILLUX", u"Brillux GmbH & Co. KG", Trade::Paint},
    {u"ALPINA", u"Alpina Farben", Trade::Paint},
    {u"STO", u"Sto SE & Co. KGaA", Trade::Paint},
    {u"KEIM", u"Keimfarben GmbH", Trade::Paint},
    {u"REMMERS", u"Remmers Baustofftechnik", Trade::Paint},
    {u"MEFFERT", u"Meffert AG Farbwerke", Trade::Paint},
    {u"DÜFA", u"Düfa Farbenwerke", Trade::Paint},
    {u"STORCH", u"J. W. Ostendorf / Storch Malerwerkzeuge", Trade::Paint},
    {u"NÖLLE", u"Nölle Pinsel GmbH", Trade::Paint},
    {u"COMPO", u"Compo GmbH", Trade::Garden},
    {u"NEUDORFF", u"W. Neudorff GmbH KG", Trade::Garden},
    {u"WOLF-GARTEN", u"Wolf-Garten GmbH", Trade::Garden},
    {u"GARDENA", u"Gardena Vertrieb", Trade::Garden},
    {u"BAUMSCHULE LÜDEMANN", u"Baumschule Lüdemann", Trade::Garden},
    {u"GÄRTNEREI BÖHM", u"Gärtnerei Böhm & Söhne", Trade::Garden},
    {u"BRUNS PFLANZEN", u"Bruns Pflanzen-Export", Trade::Garden},
    {u"FLORAGARD", u"Floragard Vertriebs-GmbH", Trade::Garden},
    {u"KIEPENKERL", u"Nebelung Kiepenkerl", Trade::Garden},
};

// The kinds of regional merchant that fill firm 1's supplier list after the
// industry and tool suppliers; none of them sells tools.
struct RegionalSupplier
{
    Trade trade;
    const char16_t *kind;
};

inline constexpr RegionalSupplier RegionalSuppliers[] = {
    {Trade::Building, u"Baustoffhandel"},
    {Trade::Wood, u"Holzhandlung"},
    {Trade::Paint, u"Farbengroßhandel"},
    {Trade::Garden, u"Gartenbaubedarf"},
};

inline constexpr int SupplierCount = 160;
inline constexpr int FirstSupplierNumber = 70001;
inline constexpr int CustomerCount = 320;
inline constexpr int FirstCustomerNumber = 10001;
static_assert(SupplierCount >= demo::MinimumSuppliers && CustomerCount >= demo::MinimumCustomers);

// Firm 1's collective accounts: one for the suppliers of each trade (see
// accountOf), and those of the customers.
inline constexpr NamedEntry SupplierAccounts1[] = {
    {u"001", u"Lieferanten Baustoffindustrie"}, {u"002", u"Lieferanten Holz und Platten"},
    {u"007", u"Lieferanten Werkzeug und Eisenwaren"}, {u"010", u"Lieferanten Farben und Bautenschutz"},
    {u"015", u"Lieferanten Garten und Gärtnereien"},
};

inline constexpr NamedEntry CustomerAccounts1[] = {
    {u"100", u"Kunden Handwerk und Gewerbe"}, {u"110", u"Kunden Privat und Barverkauf"},
    {u"120", u"Kunden öffentliche Hand"},
};

struct Place
{
    const char16_t *postcode;
    const char16_t *town;
};

inline constexpr Place Places[] = {
    {u"28195", u"Bremen"},           {u"27283", u"Verden (Aller)"},  {u"27356", u"Rotenburg (Wümme)"},
    {u"21335", u"Lüneburg"},         {u"26122", u"Oldenburg"},       {u"27749", u"Delmenhorst"},
    {u"28832", u"Achim"},            {u"27404", u"Zeven"},           {u"27612", u"Loxstedt"},
    {u"21614", u"Buxtehude"},        {u"27432", u"Bremervörde"},     {u"26655", u"Westerstede"},
    {u"49661", u"Cloppenburg"},      {u"27793", u"Wildeshausen"},    {u"28857", u"Syke"},
    {u"27211", u"Bassum"},           {u"29614", u"Soltau"},          {u"27374", u"Visselhövede"},
    {u"21244", u"Buchholz"},         {u"26180", u"Rastede"},         {u"27721", u"Ritterhude"},
    {u"28865", u"Lilienthal"},       {u"27318", u"Hoya"},            {u"31582", u"Nienburg (Weser)"},
    {u"26789", u"Leer (Ostfriesland)"}, {u"27472", u"Cuxhaven"},     {u"49377", u"Vechta"},
};

inline constexpr const char16_t *Streets = u"Industriestraße;Hauptstraße;Gewerbering;Am Mühlenteich;Bahnhofstraße;Lange Straße;"
                                    u"Zum Großen Moor;Bürgermeister-Schmidt-Straße;Schützenweg;Am Hafen;Ziegeleiweg;"
                                    u"Kiefernweg;Hansestraße;Dorfstraße;Im Gewerbegebiet;Lindenallee;Brückstraße;Fährweg;"
                                    u"Heerstraße;Mühlenstraße;Königsberger Straße;Grüner Weg;Schäferkamp;Tannenhöhe";

inline constexpr const char16_t *Surnames =
    u"Müller;Schröder;Meyer;Schäfer;Köhler;Böhm;Weiß;Groß;Krüger;Hoffmann;Jürgens;Lüdemann;Behrens;Wöhler;"
    u"Brüning;Thölke;Gößling;Möller;Fröhlich;Kühn;Döring;Sänger;Hüsing;Rüther;Janßen;Heßling;Strauß;Voß;"
    u"Tönjes;Lührs;Dreyer;Wessels;Hinrichs;Oltmanns;Büsing;Kröger;Hölscher;Ahlers;Stührmann;Rathjen";

// A customer trade: how its firms are named, and their customer group.
struct CustomerTrade
{
    const char16_t *name;       // %1 is the family name
    const char16_t *shortName;
    const char16_t *group;
};

inline constexpr NamedEntry CustomerGroups[] = {
    {u"10", u"Bauunternehmen"},          {u"15", u"Tief- und Straßenbau"},
    {u"20", u"Dach und Holzbau"},        {u"30", u"Maler und Stuckateure"},
    {u"40", u"Garten- und Landschaftsbau"}, {u"50", u"Fliesenleger"},
    {u"60", u"Tischler und Innenausbau"}, {u"70", u"Privatkunden"},
    {u"80", u"Hausverwaltungen und Wohnungsbau"}, {u"90", u"Wiederverkäufer"},
};
static_assert(std::size(CustomerGroups) == demo::CustomerGroupCount);

inline constexpr CustomerTrade CustomerTrades[] = {
    {u"Bauunternehmung %1 GmbH", u"%1 BAU", u"10"},
    {u"Hochbau %1 & Söhne", u"%1 HOCHBAU", u"10"},
    {u"Tiefbau %1 GmbH", u"%1 TIEFBAU", u"15"},
    {u"Dachdeckerei %1", u"%1 DACH", u"20"},
    {u"Zimmerei %1 GmbH & Co. KG", u"%1 ZIMMEREI", u"20"},
    {u"Malerbetrieb %1", u"%1 MALER", u"30"},
    {u"Garten- und Landschaftsbau %1", u"%1 GALABAU", u"40"},
    {u"Fliesenlegermeister %1", u"%1 FLIESEN", u"50"},
    {u"Tischlerei %1", u"%1 TISCHLEREI", u"60"},
    {u"Familie %1", u"%1 PRIVAT", u"70"},
    {u"Hausverwaltung %1 KG", u"%1 HAUSVERWALTUNG", u"80"},
    {u"Baustoffhandel %1", u"%1 BAUSTOFFE", u"90"},
};

// The articles of firm 1 that every demo has, whatever its size.
struct FixedArticle
{
    const char16_t *description;
    int subGroup;
    const char16_t *salesUnit;
    int priceCents;
    const char16_t *quantitySold;
    int turnoverCents;
    bool collective;
};

inline constexpr FixedArticle FixedArticles[] = {
    {u"Portlandzement CEM I 42,5 R 25 kg", 101, u"SCK", 795, u"18240", 13215560, false},
    {u"Quarzsand 0,1-0,5 mm getrocknet, 25 kg", 104, u"SCK", 695, u"1420", 938450, false},
    {u"Quarzsand 0,4-0,8 mm feuergetrocknet, 25 kg", 104, u"SCK", 729, u"960", 664780, false},
    {u"Quarzsand 0,7-1,2 mm, 25 kg", 104, u"SCK", 749, u"512", 364220, false},
    {u"Quarzsand 1-2 mm für Strahlarbeiten, 25 kg", 104, u"SCK", 895, u"148", 125360, false},
    {u"Dübel Nylon 5x25 mm, 100 Stück", 703, u"PAK", 349, u"820", 271340, false},
    {u"Dübel Nylon 6x30 mm, 100 Stück", 703, u"PAK", 395, u"1960", 734420, false},
    {u"Dübel Nylon 8x40 mm, 100 Stück", 703, u"PAK", 549, u"1480", 772310, false},
    {u"Dübel Nylon 10x50 mm, 50 Stück", 703, u"PAK", 595, u"910", 515480, false},
    {u"Dübel Nylon 12x60 mm, 25 Stück", 703, u"PAK", 649, u"402", 248710, false},
    {u"Dübel Nylon 14x70 mm, 20 Stück", 703, u"PAK", 795, u"186", 140130, false},
    {u"Dübel Universal 6x35 mm, 100 Stück", 703, u"PAK", 495, u"730", 343070, false},
    {u"Dübel Universal 8x50 mm, 50 Stück", 703, u"PAK", 595, u"611", 345740, false},
    {u"Dübel Rahmen 10x100 mm, 50 Stück", 703, u"PAK", 1895, u"244", 439960, false},
    {u"Dübel Rahmen 10x140 mm, 50 Stück", 703, u"PAK", 2195, u"131", 273170, false},
    {u"Dübel Hohlraum M5x52 mm, 25 Stück", 703, u"PAK", 1449, u"96", 132160, false},
    {u"Dübel Porenbeton 10 mm, 25 Stück", 703, u"PAK", 1195, u"57", 64710, false},
    // never sold
    {u"Kaminabdeckplatte Beton 64x64 cm, Überstand 5 cm", 1004, u"ST", 4990, u"0", 0, false},
    // sold and taken back
    {u"Glasbaustein Wolke klar 19x19x8 cm, Sonderfarbe grün", 304, u"ST", 695, u"0", 4170, false},
    // collective articles: the positions carry their own text
    {u"Sonderposten Baustoffe", 1201, u"ST", 0, u"388", 1862450, true},
    {u"Sonderposten Garten", 1201, u"ST", 0, u"241", 731890, true},
    {u"Diverses Werkzeug", 1203, u"ST", 0, u"512", 902340, true},
    {u"Restposten Fliesen", 1201, u"M2", 0, u"97", 143280, true},
    {u"Sonderposten Holz", 1201, u"ST", 0, u"164", 498710, true},
};
static_assert(std::size(FixedArticles) == demo::FixedArticleCount);

// What positions of the collective articles say, by article (display form).
const QList<QStringList> &collectiveTexts();

struct PriceType
{
    const char16_t *code;
    const char16_t *name;
    bool until;      // positions of this type carry an end date
    int weight;      // how often the generated positions use it
    int percent;     // its prices against the competitor's list price
};

inline constexpr NamedEntry Competitors1[] = {
    {u"BAUFUCHS", u"Baufuchs Fachcentrum Bremen-Weserpark"},
    {u"WERKHOF", u"Werkhof Markt Lüneburg"},
    {u"HOLZRING", u"Holzring Bau- und Gartenmarkt Oldenburg"},
    {u"MOORBAU", u"Moorbau Müller & Söhne, Verden"},
    {u"LANDKORB", u"Landkorb-Markt Zeven eG"},
    {u"TANNE", u"Tanne Baumarkt Rotenburg (Wümme)"},
    {u"WESERBAU", u"Weserbau Baumarkt Delmenhorst"},
    {u"GIEBEL", u"Giebel Baumarkt Osnabrück"},
    {u"STEINHART", u"Steinhart Baustoffhandel Bremerhaven"},
    {u"HAFERKAMP", u"Haferkamp Baustoffe & Fliesen, Achim"},
};
static_assert(std::size(Competitors1) >= demo::MinimumCompetitors);

inline constexpr PriceType PriceTypes1[] = {
    {u"LISTE", u"Listenpreis", false, 30, 100},
    {u"AKTION", u"Aktionspreis", true, 18, 86},
    {u"ANGEBOT", u"Schriftliches Angebot", true, 14, 91},
    {u"PROSPEKT", u"Prospekt/Beilage", true, 14, 89},
    {u"INTERNET", u"Internetpreis (Online-Shop)", false, 12, 97},
    {u"MESSE", u"Hausmesse-Preis", true, 4, 88},
    {u"AUSKUNFT", u"Auskunft Außendienst", false, 8, 95},
};
static_assert(std::size(PriceTypes1) >= demo::MinimumPriceTypes);

inline constexpr NamedEntry Competitors2[] = {
    {u"BAUFUCHS", u"Baufuchs Hannover-Linden"},
    {u"HOLZRING", u"Holzring Garbsen"},
    {u"TANNE", u"Tanne Baumarkt Lehrte, Grüne Straße"},
};

inline constexpr PriceType PriceTypes2[] = {
    {u"LISTE", u"Listenpreis", false, 70, 100},
    {u"AKTION", u"Aktionspreis Wochenende", true, 30, 85},
};
static_assert(std::size(Competitors2) == demo::Firm2Competitors && std::size(PriceTypes2) == demo::Firm2PriceTypes);

inline constexpr const char16_t *Notes[] = {
    u"Preis telefonisch erfragt",
    u"nur solange Vorrat reicht",
    u"Abholpreis, Lieferung zuzüglich",
    u"Außendienst: Kunde hat Angebot vorgelegt",
    u"Mengenrabatt ab Palette möglich",
    u"Qualität vergleichbar, andere Marke",
    u"Preis gilt nur für Gewerbekunden",
    u"Online-Shop, zuzüglich Versand",
    u"Gebindegröße weicht ab (25 kg statt 30 kg)",
    u"laut Prospekt, gültig für alle Märkte",
    u"Ware war im Markt nicht vorrätig",
    u"Preis inkl. Palettenpfand umgerechnet",
};

struct FixedPosition
{
    int article;               // index into FixedArticles
    const char16_t *competitor;
    const char16_t *priceType;
    int startAge;              // days before the fill
    int changeAge;
    int quantity;              // MengeAb
    int percent;               // of the article's price (or of the own price)
    int ownPriceCents;         // collective articles only
    const char16_t *ownText;   // collective articles only
    const char16_t *note;
};

inline constexpr FixedPosition FixedPositions[] = {
    // The cement at every competitor, under several price types.
    {0, u"BAUFUCHS", u"LISTE", 2, 2, 1, 103, 0, nullptr, nullptr},
    {0, u"WERKHOF", u"LISTE", 3, 3, 1, 99, 0, nullptr, nullptr},
    {0, u"HOLZRING", u"LISTE", 4, 1, 1, 97, 0, nullptr, nullptr},
    {0, u"MOORBAU", u"LISTE", 5, 5, 1, 105, 0, nullptr, nullptr},
    {0, u"LANDKORB", u"LISTE", 6, 6, 1, 101, 0, nullptr, u"Preis telefonisch erfragt"},
    {0, u"TANNE", u"LISTE", 7, 4, 1, 108, 0, nullptr, nullptr},
    {0, u"WESERBAU", u"LISTE", 8, 8, 1, 104, 0, nullptr, nullptr},
    {0, u"GIEBEL", u"LISTE", 9, 2, 1, 96, 0, nullptr, nullptr},
    {0, u"STEINHART", u"LISTE", 10, 10, 1, 93, 0, nullptr, u"Preis gilt nur für Gewerbekunden"},
    {0, u"HAFERKAMP", u"LISTE", 11, 11, 1, 95, 0, nullptr, nullptr},
    {0, u"BAUFUCHS", u"AKTION", 3, 3, 1, 85, 0, nullptr, u"nur solange Vorrat reicht"},
    {0, u"WERKHOF", u"AKTION", 15, 14, 1, 88, 0, nullptr, nullptr},
    {0, u"HOLZRING", u"AKTION", 40, 38, 1, 84, 0, nullptr, nullptr},
    {0, u"STEINHART", u"ANGEBOT", 64, 60, 50, 86, 0, nullptr, u"Angebot an Bauunternehmen, ab 50 Sack frei Baustelle"},
    {0, u"TANNE", u"PROSPEKT", 9, 9, 1, 89, 0, nullptr, nullptr},
    {0, u"HOLZRING", u"INTERNET", 1, 1, 1, 99, 0, nullptr, u"Online-Shop, zuzüglich Versand"},
    // A collective article with its own texts.
    {19, u"LANDKORB", u"ANGEBOT", 35, 33, 1, 100, 450, demo::CollectiveText.utf16(), u"Gesehen im Außenlager"},
    {19, u"MOORBAU", u"LISTE", 90, 88, 1, 97, 49, u"Restposten Klinker rot-bunt, Farbabweichung", nullptr},
    // Search-key articles, the unsold one, the oldest and the newest dates.
    {1, u"WERKHOF", u"LISTE", demo::PositionDays - 1, demo::PositionDays - 1, 1, 102, 0, nullptr, nullptr},
    {2, u"BAUFUCHS", u"PROSPEKT", 48, 47, 1, 91, 0, nullptr, nullptr},
    {6, u"HOLZRING", u"AKTION", 0, 0, 1, 80, 0, nullptr, nullptr},
    {17, u"GIEBEL", u"LISTE", 20, 18, 1, 110, 0, nullptr, u"Ware war im Markt nicht vorrätig"},
};
static_assert(std::size(FixedPositions) == demo::FixedPositionCount);

// Firm 2, the branch, keeps a few master data of its own.
inline constexpr NamedEntry Units2[] = {
    {u"ST", u"Stück"}, {u"SCK", u"Sack"}, {u"PAL", u"Palette"},
    {u"M2", u"Quadratmeter"}, {u"LFM", u"laufender Meter"}, {u"PAK", u"Paket"},
};

inline constexpr NamedEntry ArticleDepartments2[] = {
    {u"10", u"Baustoffe Zweigwerk"}, {u"20", u"Holz Zweigwerk"}, {u"40", u"Werkzeug Zweigwerk"},
};

inline constexpr NamedEntry SupplierAccounts2[] = {
    {u"001", u"Lieferanten Inland"}, {u"007", u"Lieferanten Werkzeug"},
};

inline constexpr NamedEntry CustomerAccounts2[] = {
    {u"100", u"Kunden Zweigwerk"},
};

inline constexpr Supplier Suppliers2[] = {
    {u"HEIDELBERGER ZEMENT", u"Heidelberger Zement, Werk Hannover", Trade::Building},
    {u"KNAUF", u"Knauf Gips KG, Vertrieb Niedersachsen", Trade::Building},
    {u"SAKRET", u"Sakret Trockenbaustoffe Hannover", Trade::Building},
    {u"HOLZ HÖVELMANN", u"Holzhandlung Hövelmann", Trade::Building},
    {u"EGGER", u"Egger Holzwerkstoffe", Trade::Building},
    {u"SÄGEWERK GRÜN", u"Sägewerk Grün & Co.", Trade::Building},
    {u"BOSCH", u"Robert Bosch Power Tools Vertrieb", Trade::Tools},
    {u"STABILA", u"Stabila Messgeräte Gustav Ullrich", Trade::Tools},
    {u"WÜRTH", u"Adolf Würth GmbH & Co. KG", Trade::Tools},
    {u"MÜLLER EISENWAREN", u"Eisenwaren Müller, Laatzen", Trade::Tools},
};

inline constexpr NamedEntry CustomerGroups2[] = {
    {u"10", u"Bauunternehmen"}, {u"20", u"Handwerker"}, {u"70", u"Privatkunden"},
};

} // namespace store::catalogue
