#include "DemoData.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <memory>
#include <span>

#include "objectapi/AccessError.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

// The demo: two firms of a building-materials trader. Firm 1 is the large
// one with its generated articles and competitor prices; firm 2 a small
// branch with its own few records. Master-data texts are written in the
// server's 7-bit form, as the ERP keeps them; the positions' own texts and
// notes in display form, as the client writes them.

namespace store {

namespace {

// ---------------------------------------------------------------------------
// Logins, personnel departments and personnel records (both firms).

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

const QList<Person> &people()
{
    static const QList<Person> list{
        {{u"1"_s, u"MUELLER"_s, u"Konkur24"_s, u"Jürgen Müller"_s, true}, u"10"_s, u"1001"_s, u"01"_s, u"VK"_s},
        {{u"1"_s, u"SCHMIDT"_s, u"baustoff"_s, u"Anna Schmidt"_s, true}, u"20"_s, u"1002"_s, u"01"_s, u"AD"_s},
        {{u"1"_s, u"WEISS"_s, u"weiss"_s, u"Günther Weiß"_s, false}, u"10"_s, u"1003"_s, u"02"_s, u"VK"_s},
        {{u"1"_s, u"OEZTUERK"_s, u"ohneabt"_s, u"Özlem Öztürk"_s, true}, u"99"_s, u"1004"_s, u"01"_s, u"VK"_s},
        {{u"2"_s, u"MUELLER"_s, u"Zweigwerk"_s, u"Sören Mühlbauer"_s, true}, u"10"_s, u"2001"_s, u"01"_s, u"VK"_s},
        {{u"2"_s, u"KRAUSE"_s, u"krause"_s, u"Heike Krause"_s, true}, u"30"_s, u"2002"_s, u"01"_s, u"EK"_s},
    };
    return list;
}

// Department 99 of firm 1 is missing on purpose: its user cannot log in.
const QList<Department> &departments()
{
    static const QList<Department> list{
        {u"1"_s, u"10"_s, u"Verkauf Innendienst"_s},
        {u"1"_s, u"20"_s, u"Außendienst Süd"_s},
        {u"1"_s, u"30"_s, u"Einkauf"_s},
        {u"2"_s, u"10"_s, u"Verkauf Zweigbetrieb"_s},
        {u"2"_s, u"30"_s, u"Einkauf Zweigbetrieb"_s},
    };
    return list;
}

const QList<PersonBase> &personBases()
{
    static const QList<PersonBase> list{
        {u"1"_s, u"1001"_s, u"0421 555-101"_s, u"juergen.mueller@baustoffe-tolven.example"_s},
        {u"1"_s, u"1002"_s, u"0421 555-102"_s, u"anna.schmidt@baustoffe-tolven.example"_s},
        {u"1"_s, u"1003"_s, u"0421 555-103"_s, u"guenther.weiss@baustoffe-tolven.example"_s},
        {u"1"_s, u"1004"_s, u"0421 555-104"_s, u"oezlem.oeztuerk@baustoffe-tolven.example"_s},
        {u"2"_s, u"2001"_s, u"0511 777-201"_s, u"soeren.muehlbauer@zweigwerk-tolven.example"_s},
        {u"2"_s, u"2002"_s, u"0511 777-202"_s, u"heike.krause@zweigwerk-tolven.example"_s},
    };
    return list;
}

// ---------------------------------------------------------------------------
// Helpers.

// splitmix64: small, fast, and the same on every platform and library, so
// the demo is the same everywhere.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int below(qsizetype n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    // low .. high, both included
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T &pick(const QList<T> &list) { return list[below(list.size())]; }

private:
    quint64 m_state;
};

// A seed of its own for each record, so one record's data does not depend
// on how many came before it.
quint64 seedFor(quint64 stream, quint64 index)
{
    return Random(stream ^ (index * 0xD1B54A32D192ED03ULL)).next();
}

template <typename T>
void shuffle(QList<T> &list, Random &random)
{
    for (qsizetype i = list.size() - 1; i > 0; --i)
        std::swap(list[i], list[random.below(i + 1)]);
}

QString text(const char16_t *display)
{
    return QString::fromUtf16(display);
}

QString server(const QString &display)
{
    return tolven::DisplayToServer(display);
}

QString server(const char16_t *display)
{
    return server(text(display));
}

// Upper case with the ß kept, as the ERP writes designations.
QString upper(const QString &display)
{
    return tolven::ConvertText(display, u"-"_s, true);
}

// The short designation in server form: upper case (ß kept), at most 40 characters.
QString shortDesignation(const QString &display)
{
    return server(upper(display)).left(40).trimmed();
}

// Cents as "12.50", "-3.05".
QString money(qint64 cents)
{
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return (cents < 0 ? u"-"_s : QString()) + QString::number(magnitude / 100) + u'.'
            + QString::number(magnitude % 100).rightJustified(2, u'0');
}

qint64 percentOf(qint64 cents, int percent)
{
    return (cents * percent + 50) / 100;
}

QString isoDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QStringList split(const char16_t *list)
{
    return text(list).split(u';');
}

// Writes through the object interface and counts what it wrote.
class Writer
{
public:
    explicit Writer(tolven::ServerFactory &factory) : m_factory(factory) {}

    void save(const QString &className, const QString &firm, const QList<std::pair<QString, QString>> &properties)
    {
        std::unique_ptr<tolven::ServerObject> object = m_factory.createNew(className);
        object->setProperty(u"Firma"_s, firm);
        for (const auto &[name, value] : properties)
            object->setProperty(name, value);
        object->sys_save();
        object->sys_Close();
        count(className, firm);
    }

    QList<DemoCount> counts() const { return m_counts; }

private:
    void count(const QString &className, const QString &firm)
    {
        auto found = std::find_if(m_counts.begin(), m_counts.end(),
                                  [&](const DemoCount &c) { return c.className == className; });
        if (found == m_counts.end()) {
            m_counts.append({className, description(className), 0, 0});
            found = std::prev(m_counts.end());
        }
        (firm == u"1" ? found->firm1 : found->firm2) += 1;
    }

    static QString description(const QString &className)
    {
        static const QHash<QString, QString> names{
            {u"TV.ParPersEdv"_s, u"Benutzer"_s},
            {u"TV.ParPersAbt"_s, u"Personalabteilungen"_s},
            {u"TV.PersBasis"_s, u"Personalstammsätze"_s},
            {u"TV.Einheit"_s, u"Einheiten"_s},
            {u"TV.Abteilung"_s, u"Artikelabteilungen"_s},
            {u"TV.Hauptgruppe"_s, u"Hauptgruppen"_s},
            {u"TV.Untergruppe"_s, u"Untergruppen"_s},
            {u"TV.KontoSammelKontoKreis"_s, u"Sammelkonten"_s},
            {u"TV.Lieferant"_s, u"Lieferanten"_s},
            {u"TV.ParKundenGruppen"_s, u"Kundengruppen"_s},
            {u"TV.Kunde"_s, u"Kunden"_s},
            {u"TV.Artikel"_s, u"Artikel"_s},
            {u"TV.ArtikelStaffel"_s, u"Staffelpreise"_s},
            {u"Konkur.Par"_s, u"Mitbewerber"_s},
            {u"Konkur.Preistyp"_s, u"Preistypen"_s},
            {u"Konkur.Konkur"_s, u"Positionen"_s},
        };
        return names.value(className, className);
    }

    tolven::ServerFactory &m_factory;
    QList<DemoCount> m_counts;
};

// ---------------------------------------------------------------------------
// Master data shared by the article generator.

enum class Trade { Building, Wood, Tools, Paint, Garden };

// The supplier collective account of each trade.
QString accountOf(Trade trade)
{
    switch (trade) {
    case Trade::Building: return u"001"_s;
    case Trade::Wood: return u"002"_s;
    case Trade::Tools: return demo::SupplierAccount.toString();
    case Trade::Paint: return u"010"_s;
    case Trade::Garden: return u"015"_s;
    }
    return {};
}

struct NamedEntry
{
    const char16_t *key;
    const char16_t *name;
};

constexpr NamedEntry Units[] = {
    {u"ST", u"Stück"},          {u"SCK", u"Sack"},     {u"PAL", u"Palette"},  {u"M2", u"Quadratmeter"},
    {u"M3", u"Kubikmeter"},     {u"LFM", u"laufender Meter"}, {u"KG", u"Kilogramm"}, {u"T", u"Tonne"},
    {u"RO", u"Rolle"},          {u"PAK", u"Paket"},    {u"L", u"Liter"},      {u"EI", u"Eimer"},
    {u"PAA", u"Paar"},          {u"KAR", u"Karton"},   {u"DS", u"Dose"},
};

constexpr NamedEntry ArticleDepartments[] = {
    {u"10", u"Baustoffe"}, {u"20", u"Holz"},   {u"30", u"Fliesen"},  {u"40", u"Werkzeug"},
    {u"50", u"Farben"},    {u"60", u"Garten"}, {u"70", u"Tiefbau & Entwässerung"},
};

struct MainGroup
{
    int number;
    const char16_t *name;
    int department;
};

constexpr MainGroup MainGroups[] = {
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

constexpr SubGroup SubGroups[] = {
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

int departmentOf(int subGroup)
{
    for (const MainGroup &group : MainGroups) {
        if (group.number == subGroup / 100)
            return group.department;
    }
    return 10;
}

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

constexpr const char16_t *MortarBrands = u"Sakret;Quick-Mix;maxit;Baumit;Weber;Knauf";
constexpr const char16_t *TileBrands = u"PCI;Ardex;Mapei;Sopro;Schönox;Knauf;Weber";
constexpr const char16_t *PaintBrands = u"Caparol;Brillux;Alpina;Schöner Wohnen;Meffert;Düfa;Relius";
constexpr const char16_t *InsulationThickness = u"20 mm;30 mm;40 mm;50 mm;60 mm;80 mm;100 mm;120 mm;140 mm;160 mm;200 mm";

constexpr Family Families[] = {
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

// One combination of a family's parts.
struct Variant
{
    int family;
    int first;
    int second;
    int third;
};

QStringList familyPart(int family, int part)
{
    const Family &f = Families[family];
    const char16_t *list = part == 0 ? f.first : part == 1 ? f.second : f.third;
    return list ? split(list) : QStringList{QString()};
}

// Every combination of every family, in an order shuffled once for all:
// the generated articles take them one after the other.
const QList<Variant> &allVariants()
{
    static const QList<Variant> variants = [] {
        QList<Variant> list;
        for (int f = 0; f < int(std::size(Families)); ++f) {
            const qsizetype firstCount = familyPart(f, 0).size();
            const qsizetype secondCount = familyPart(f, 1).size();
            const qsizetype thirdCount = familyPart(f, 2).size();
            for (int i = 0; i < firstCount; ++i) {
                for (int j = 0; j < secondCount; ++j) {
                    for (int k = 0; k < thirdCount; ++k)
                        list.append({f, i, j, k});
                }
            }
        }
        Random random(0x7A11E5ULL);
        shuffle(list, random);
        return list;
    }();
    return variants;
}

// After every combination was used once, further rounds name the article
// a little differently.
const char16_t *const RoundSuffixes[] = {u"", u", Profiqualität", u", Vorteilspack", u", Großgebinde",
                                         u", Gewerbeausführung", u", Sonderedition"};

// ---------------------------------------------------------------------------
// Suppliers and customers.

struct Supplier
{
    const char16_t *shortName;
    const char16_t *name;
    Trade trade;
};

// The tool and hardware suppliers: the only ones in the collective account 007.
constexpr Supplier ToolSuppliers[] = {
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

constexpr Supplier IndustrySuppliers[] = {
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

constexpr int SupplierCount = 160;
constexpr int FirstSupplierNumber = 70001;
constexpr int CustomerCount = 320;
constexpr int FirstCustomerNumber = 10001;
static_assert(SupplierCount >= demo::MinimumSuppliers && CustomerCount >= demo::MinimumCustomers);

struct Place
{
    const char16_t *postcode;
    const char16_t *town;
};

constexpr Place Places[] = {
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

constexpr const char16_t *Streets = u"Industriestraße;Hauptstraße;Gewerbering;Am Mühlenteich;Bahnhofstraße;Lange Straße;"
                                    u"Zum Großen Moor;Bürgermeister-Schmidt-Straße;Schützenweg;Am Hafen;Ziegeleiweg;"
                                    u"Kiefernweg;Hansestraße;Dorfstraße;Im Gewerbegebiet;Lindenallee;Brückstraße;Fährweg;"
                                    u"Heerstraße;Mühlenstraße;Königsberger Straße;Grüner Weg;Schäferkamp;Tannenhöhe";

constexpr const char16_t *Surnames =
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

constexpr NamedEntry CustomerGroups[] = {
    {u"10", u"Bauunternehmen"},          {u"15", u"Tief- und Straßenbau"},
    {u"20", u"Dach und Holzbau"},        {u"30", u"Maler und Stuckateure"},
    {u"40", u"Garten- und Landschaftsbau"}, {u"50", u"Fliesenleger"},
    {u"60", u"Tischler und Innenausbau"}, {u"70", u"Privatkunden"},
    {u"80", u"Hausverwaltungen und Wohnungsbau"}, {u"90", u"Wiederverkäufer"},
};
static_assert(std::size(CustomerGroups) == demo::CustomerGroupCount);

constexpr CustomerTrade CustomerTrades[] = {
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

// ---------------------------------------------------------------------------
// Articles.

struct Article
{
    QString number;
    QString description;     // display form
    int vat = 19;
    bool collective = false;
    QString salesUnit;
    QString priceUnit;
    QString centralNumber;
    qint64 price = 0;         // cents per price unit
    qint64 grossPurchase = 0;
    qint64 netPurchase = 0;
    QString quantitySold;
    qint64 turnover = 0;
    qint64 discounts = 0;
    qint64 cost = 0;
    int subGroup = 0;
    QString supplier;
    QString active = u"J"_s;
    QString listed = u"J"_s;
    QStringList ownTexts;     // collective articles: what their positions say
};

QString centralNumberOf(int articleIndex, quint64 firmSeed)
{
    return QString::number(41000000 + (articleIndex * 37 + int(firmSeed % 1000)) % 58000000);
}

// Sales figures: mostly sold, some never, a few sold and taken back.
void fillSales(Article &article, Random &random)
{
    const int roll = random.below(100);
    if (roll < 7) {
        article.quantitySold = u"0"_s;
        return;
    }
    if (roll < 9) {
        article.quantitySold = u"0"_s;
        const int share = random.between(5, 30);
        article.turnover = percentOf(article.price, share) * random.between(1, 3);
        return;
    }
    const bool fractional = article.salesUnit == u"M2" || article.salesUnit == u"LFM";
    // Each draw in a statement of its own: the order of operands is not fixed.
    qint64 hundredths = random.between(1, 60);
    hundredths *= random.between(1, 60);
    hundredths *= fractional ? random.between(50, 150) : 100;
    article.quantitySold = fractional ? money(hundredths) : QString::number(hundredths / 100);
    const qint64 gross = hundredths * article.price / 100;
    article.turnover = percentOf(gross, random.between(94, 100));
    article.discounts = percentOf(article.turnover, random.between(0, 6));
    article.cost = hundredths * article.netPurchase / 100;
}

Article generatedArticle(const QString &number, const Variant &variant, int round, Random &random,
                         const QMap<Trade, QStringList> &suppliersByTrade)
{
    const Family &family = Families[variant.family];
    const QStringList first = familyPart(variant.family, 0);
    const QStringList second = familyPart(variant.family, 1);
    const QStringList third = familyPart(variant.family, 2);
    Article article;
    article.number = number;
    const QString pattern = text(family.pattern);
    article.description = family.third ? pattern.arg(first[variant.first], second[variant.second], third[variant.third])
                                       : pattern.arg(first[variant.first], second[variant.second]);
    article.description += text(RoundSuffixes[round % int(std::size(RoundSuffixes))]);
    article.vat = family.vat;
    article.salesUnit = text(family.salesUnit);
    article.priceUnit = text(family.priceUnit);
    // Dearer along the first part, a little dearer along the second, and some scatter.
    const qint64 span = family.toCents - family.fromCents;
    const qint64 step = first.size() > 1 ? span * variant.first / (first.size() - 1) : 0;
    qint64 price = family.fromCents + step + percentOf(family.fromCents, variant.second * 3 + variant.third * 2);
    price = percentOf(price, random.between(92, 108) + round * 4);
    // Prices end in 9 or 5 cents, as shops price them.
    price = std::max<qint64>(price - price % 10 + (random.chance(70) ? 9 : 5), 9);
    article.price = price;
    article.grossPurchase = percentOf(price, random.between(55, 78));
    article.netPurchase = random.chance(25) ? article.grossPurchase
                                            : percentOf(article.grossPurchase, random.between(84, 99));
    article.subGroup = family.subGroup;
    article.supplier = random.pick(suppliersByTrade.value(family.trade));
    const int activeRoll = random.below(100);
    article.active = activeRoll < 90 ? u"J"_s : activeRoll < 97 ? u"N"_s : u"Z"_s;
    const int listedRoll = random.below(100);
    article.listed = listedRoll < 70   ? u"J"_s
                     : listedRoll < 80 ? u"N"_s
                     : listedRoll < 88 ? u"A"_s
                     : listedRoll < 95 ? u"B"_s
                                       : u"C"_s;
    fillSales(article, random);
    return article;
}

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

constexpr FixedArticle FixedArticles[] = {
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
const QList<QStringList> &collectiveTexts()
{
    static const QList<QStringList> texts{
        {demo::CollectiveText.toString(), u"Restposten Klinker rot-bunt, Farbabweichung"_s,
         u"Sonderposten Kalksandsteine KS 2DF, Bruch aussortiert"_s,
         u"Restmenge Fließestrich, Säcke beschädigt"_s,
         u"Sonderposten Dämmplatten EPS 035, 100 mm, Überhang"_s},
        {u"Auslauf Pflanzkübel Terrakotta Ø 40 cm"_s, u"Sonderposten Rasenkantensteine, leicht verschmutzt"_s,
         u"Gartenmöbel-Ausstellungsstück, Gebrauchsspuren"_s, u"Restposten Blumenzwiebeln Tulpen, Frühjahrssortiment"_s},
        {u"Werkzeugkoffer gemischt, Rückläufer geprüft"_s, u"Bohrersatz 19-teilig, Verpackung beschädigt"_s,
         u"Akku-Schrauber Vorführgerät, mit Garantie"_s, u"Maßband 5 m, Werbeaufdruck fehlerhaft"_s},
        {u"Fliesen-Restposten Feinsteinzeug beige, gemischte Größen"_s,
         u"Wandfliesen weiß glänzend 20x25, Restmenge 14 m²"_s, u"Mosaik Glas grün, Einzelstücke"_s,
         u"Bodenfliesen Cotto, Sortierung 2. Wahl"_s},
        {u"Rauspund Fichte 19 mm, ungehobelt, Überlängen"_s, u"Leimholzplatten Buche, Kratzer"_s,
         u"Dachlatten 30x50, Restlängen unter 3 m"_s, u"Terrassendielen Lärche, Farbabweichung"_s},
    };
    return texts;
}

// ---------------------------------------------------------------------------
// Competitors, price types, positions.

struct PriceType
{
    const char16_t *code;
    const char16_t *name;
    bool until;      // positions of this type carry an end date
    int weight;      // how often the generated positions use it
    int percent;     // its prices against the competitor's list price
};

constexpr NamedEntry Competitors1[] = {
    {u"BAUHAUS", u"Bauhaus Fachcentrum Bremen-Weserpark"},
    {u"OBI", u"OBI Markt Lüneburg"},
    {u"HORNBACH", u"Hornbach Bau- und Gartenmarkt Oldenburg"},
    {u"HAGEBAU", u"hagebaumarkt Müller & Söhne, Verden"},
    {u"RAIFFEISEN", u"Raiffeisen-Markt Zeven eG"},
    {u"TOOM", u"toom Baumarkt Rotenburg (Wümme)"},
    {u"HELLWEG", u"Hellweg Baumarkt Delmenhorst"},
    {u"GLOBUS", u"Globus Baumarkt Osnabrück"},
    {u"STARK", u"Stark Baustoffhandel Bremerhaven"},
    {u"HAGEMEYER", u"Hagemeyer Baustoffe & Fliesen, Achim"},
};
static_assert(std::size(Competitors1) >= demo::MinimumCompetitors);

constexpr PriceType PriceTypes1[] = {
    {u"LISTE", u"Listenpreis", false, 30, 100},
    {u"AKTION", u"Aktionspreis", true, 18, 86},
    {u"ANGEBOT", u"Schriftliches Angebot", true, 14, 91},
    {u"PROSPEKT", u"Prospekt/Beilage", true, 14, 89},
    {u"INTERNET", u"Internetpreis (Online-Shop)", false, 12, 97},
    {u"MESSE", u"Hausmesse-Preis", true, 4, 88},
    {u"AUSKUNFT", u"Auskunft Außendienst", false, 8, 95},
};
static_assert(std::size(PriceTypes1) >= demo::MinimumPriceTypes);

constexpr NamedEntry Competitors2[] = {
    {u"BAUHAUS", u"Bauhaus Hannover-Linden"},
    {u"HORNBACH", u"Hornbach Garbsen"},
    {u"TOOM", u"toom Baumarkt Lehrte, Grüne Straße"},
};

constexpr PriceType PriceTypes2[] = {
    {u"LISTE", u"Listenpreis", false, 70, 100},
    {u"AKTION", u"Aktionspreis Wochenende", true, 30, 85},
};
static_assert(std::size(Competitors2) == demo::Firm2Competitors && std::size(PriceTypes2) == demo::Firm2PriceTypes);

constexpr const char16_t *Notes[] = {
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

constexpr FixedPosition FixedPositions[] = {
    // The cement at every competitor, under several price types.
    {0, u"BAUHAUS", u"LISTE", 2, 2, 1, 103, 0, nullptr, nullptr},
    {0, u"OBI", u"LISTE", 3, 3, 1, 99, 0, nullptr, nullptr},
    {0, u"HORNBACH", u"LISTE", 4, 1, 1, 97, 0, nullptr, nullptr},
    {0, u"HAGEBAU", u"LISTE", 5, 5, 1, 105, 0, nullptr, nullptr},
    {0, u"RAIFFEISEN", u"LISTE", 6, 6, 1, 101, 0, nullptr, u"Preis telefonisch erfragt"},
    {0, u"TOOM", u"LISTE", 7, 4, 1, 108, 0, nullptr, nullptr},
    {0, u"HELLWEG", u"LISTE", 8, 8, 1, 104, 0, nullptr, nullptr},
    {0, u"GLOBUS", u"LISTE", 9, 2, 1, 96, 0, nullptr, nullptr},
    {0, u"STARK", u"LISTE", 10, 10, 1, 93, 0, nullptr, u"Preis gilt nur für Gewerbekunden"},
    {0, u"HAGEMEYER", u"LISTE", 11, 11, 1, 95, 0, nullptr, nullptr},
    {0, u"BAUHAUS", u"AKTION", 3, 3, 1, 85, 0, nullptr, u"nur solange Vorrat reicht"},
    {0, u"OBI", u"AKTION", 15, 14, 1, 88, 0, nullptr, nullptr},
    {0, u"HORNBACH", u"AKTION", 40, 38, 1, 84, 0, nullptr, nullptr},
    {0, u"STARK", u"ANGEBOT", 64, 60, 50, 86, 0, nullptr, u"Angebot an Bauunternehmen, ab 50 Sack frei Baustelle"},
    {0, u"TOOM", u"PROSPEKT", 9, 9, 1, 89, 0, nullptr, nullptr},
    {0, u"HORNBACH", u"INTERNET", 1, 1, 1, 99, 0, nullptr, u"Online-Shop, zuzüglich Versand"},
    // A collective article with its own texts.
    {19, u"RAIFFEISEN", u"ANGEBOT", 35, 33, 1, 100, 450, demo::CollectiveText.utf16(), u"Gesehen im Außenlager"},
    {19, u"HAGEBAU", u"LISTE", 90, 88, 1, 97, 49, u"Restposten Klinker rot-bunt, Farbabweichung", nullptr},
    // Search-key articles, the unsold one, the oldest and the newest dates.
    {1, u"OBI", u"LISTE", demo::PositionDays - 1, demo::PositionDays - 1, 1, 102, 0, nullptr, nullptr},
    {2, u"BAUHAUS", u"PROSPEKT", 48, 47, 1, 91, 0, nullptr, nullptr},
    {6, u"HORNBACH", u"AKTION", 0, 0, 1, 80, 0, nullptr, nullptr},
    {17, u"GLOBUS", u"LISTE", 20, 18, 1, 110, 0, nullptr, u"Ware war im Markt nicht vorrätig"},
};
static_assert(std::size(FixedPositions) == demo::FixedPositionCount);

// Writes the positions of a firm: the fixed ones, then generated ones until
// count, no two with the same competitor, article, price type, start date
// and quantity.
class PositionWriter
{
public:
    PositionWriter(Writer &writer, QString firm, const QList<Article> &articles,
                   std::span<const NamedEntry> competitors, std::span<const PriceType> priceTypes, QDate today)
        : m_writer(writer)
        , m_firm(std::move(firm))
        , m_articles(articles)
        , m_competitors(competitors)
        , m_priceTypes(priceTypes)
        , m_today(today)
    {
    }

    // A position unless its key is taken; false when it is.
    bool write(const Article &article, const PriceType &type, const QString &competitor, int startAge, int changeAge,
               int quantity, qint64 priceExcl, qint64 ownPrice, const QString &ownText, const QString &note,
               const QString &calculated, int validDays)
    {
        const QDate start = m_today.addDays(-startAge);
        const QString quantityText = money(qint64(quantity) * 100);
        const QString key = competitor + u'\x1f' + article.number + u'\x1f' + text(type.code) + u'\x1f'
                + isoDate(start) + u'\x1f' + quantityText;
        if (m_keys.contains(key))
            return false;
        m_keys.insert(key);
        m_writer.save(u"Konkur.Konkur"_s, m_firm,
                      {{u"konkur"_s, competitor},
                       {u"Artnr"_s, article.number},
                       {u"ArtBez"_s, article.collective ? ownText : QString()},
                       {u"ZAnr"_s, article.centralNumber},
                       {u"Preistyp"_s, text(type.code)},
                       {u"DatumAb"_s, isoDate(start)},
                       {u"DatumBis"_s, type.until ? isoDate(start.addDays(validDays)) : QString()},
                       {u"MengeAb"_s, quantityText},
                       {u"VKE"_s, article.salesUnit},
                       {u"IntPreis"_s, article.collective ? money(ownPrice) : QString()},
                       {u"PreisExcl"_s, money(priceExcl)},
                       {u"VRE"_s, article.priceUnit},
                       {u"PreisKalk"_s, calculated},
                       {u"notiz"_s, note},
                       {u"AendDatum"_s, isoDate(m_today.addDays(-changeAge))}});
        return true;
    }

    void writeGenerated(int count, Random &random)
    {
        int weightSum = 0;
        for (const PriceType &type : m_priceTypes)
            weightSum += type.weight;
        // Competitors watch the best sellers more closely than the rest.
        const int popular = std::min<int>(int(m_articles.size()), std::max<int>(30, int(m_articles.size()) / 20));
        for (int written = 0; written < count;) {
            const Article &article =
                    m_articles[random.chance(30) ? random.below(popular) : random.below(m_articles.size())];
            int roll = random.below(weightSum);
            const PriceType *type = m_priceTypes.data();
            while (roll >= type->weight) {
                roll -= type->weight;
                ++type;
            }
            const QString competitor = text(m_competitors[random.below(qsizetype(m_competitors.size()))].key);
            const int quantityRoll = random.below(100);
            const bool single = text(type->code) == u"INTERNET";
            const int quantity = single || quantityRoll < 70 ? 1 : quantityRoll < 88 ? 10 : 50;
            const int startAge = random.below(demo::PositionDays);
            const int changeAge = random.between(0, startAge);

            qint64 ownPrice = 0;
            QString ownText;
            qint64 base = article.price;
            if (article.collective) {
                ownPrice = qint64(random.between(20, 2500)) * 10 - 1;
                ownText = random.pick(article.ownTexts);
                base = ownPrice;
            }
            const int tierPercent = quantity == 1 ? 100 : quantity == 10 ? 96 : 91;
            qint64 price = percentOf(base, random.between(88, 112));
            price = percentOf(price, type->percent * tierPercent / 100);
            price = std::max<qint64>(price, 1);
            const int calculatedRoll = random.below(100);
            const QString calculated = calculatedRoll < 60   ? u"0.00"_s
                                       : calculatedRoll < 85 ? QString()
                                                             : money(percentOf(price, random.between(95, 105)));
            const QString note = random.chance(15) ? text(Notes[random.below(qsizetype(std::size(Notes)))]) : QString();
            if (write(article, *type, competitor, startAge, changeAge, quantity, price, ownPrice, ownText, note,
                      calculated, random.between(6, 27)))
                ++written;
        }
    }

private:
    Writer &m_writer;
    QString m_firm;
    const QList<Article> &m_articles;
    std::span<const NamedEntry> m_competitors;
    std::span<const PriceType> m_priceTypes;
    QDate m_today;
    QSet<QString> m_keys;
};

const PriceType &priceTypeNamed(std::span<const PriceType> types, QStringView code)
{
    for (const PriceType &type : types) {
        if (code == QStringView(type.code))
            return type;
    }
    Q_UNREACHABLE();
}

// ---------------------------------------------------------------------------
// The firms.

void writeNamedList(Writer &writer, const QString &firm, const QString &className, const QString &keyName,
                    std::span<const NamedEntry> entries)
{
    for (const NamedEntry &entry : entries)
        writer.save(className, firm, {{keyName, text(entry.key)}, {u"Bez"_s, server(entry.name)}});
}

void writeGroups(Writer &writer, const QString &firm, const QList<int> &mainGroups)
{
    for (const MainGroup &group : MainGroups) {
        if (mainGroups.contains(group.number))
            writer.save(u"TV.Hauptgruppe"_s, firm, {{u"HGrp"_s, QString::number(group.number)}, {u"Bez"_s, server(group.name)}});
    }
    for (const SubGroup &group : SubGroups) {
        if (mainGroups.contains(group.number / 100)) {
            writer.save(u"TV.Untergruppe"_s, firm,
                        {{u"UGrp"_s, QString::number(group.number)},
                         {u"HGrp"_s, QString::number(group.number / 100)},
                         {u"Bez"_s, server(group.name)}});
        }
    }
}

void writeArticle(Writer &writer, const QString &firm, const Article &article)
{
    writer.save(u"TV.Artikel"_s, firm,
                {{u"Artnr"_s, article.number},
                 {u"Bez"_s, server(article.description)},
                 {u"Kurzbez"_s, shortDesignation(article.description)},
                 {u"MwSt"_s, QString::number(article.vat)},
                 {u"Sammel"_s, article.collective ? u"J"_s : u"N"_s},
                 {u"VKE"_s, article.salesUnit},
                 {u"VRE"_s, article.priceUnit},
                 {u"ZAnr"_s, article.centralNumber},
                 {u"VKPreis"_s, money(article.price)},
                 {u"BruttoEK"_s, money(article.grossPurchase)},
                 {u"NettoEK"_s, money(article.netPurchase)},
                 {u"VKMenge"_s, article.quantitySold},
                 {u"Umsatz"_s, money(article.turnover)},
                 {u"Rabatt"_s, money(article.discounts)},
                 {u"Einsatz"_s, money(article.cost)},
                 {u"HGrp"_s, QString::number(article.subGroup / 100)},
                 {u"UGrp"_s, QString::number(article.subGroup)},
                 {u"Lieferant"_s, article.supplier},
                 {u"AbtNr"_s, QString::number(departmentOf(article.subGroup))},
                 {u"Aktiv"_s, article.active},
                 {u"Gelistet"_s, article.listed}});
}

// Quantity tiers for a good share of the articles: cheaper from 10 and from 50.
void writeTiers(Writer &writer, const QString &firm, const Article &article, Random &random)
{
    if (article.collective || article.price < 100 || !random.chance(45))
        return;
    const std::pair<int, int> tiers[] = {{10, random.between(93, 97)}, {50, random.between(85, 91)}};
    const int count = random.chance(60) ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        writer.save(u"TV.ArtikelStaffel"_s, firm,
                    {{u"Artnr"_s, article.number},
                     {u"MengeAb"_s, QString::number(tiers[i].first)},
                     {u"Preis"_s, money(percentOf(article.price, tiers[i].second))}});
    }
}

struct Partner
{
    QString number;
    QString shortName;   // display form
    QString name;
    QString postcode;
    QString street;
    QString group;       // collective account or customer group
};

void writePartner(Writer &writer, const QString &firm, const QString &className, const QString &keyName,
                  const QString &groupName, const Partner &partner)
{
    writer.save(className, firm,
                {{keyName, partner.number},
                 {u"Kurzbez"_s, server(partner.shortName)},
                 {u"Name"_s, server(partner.name)},
                 {u"PLZ"_s, partner.postcode},
                 {u"Strasse"_s, server(partner.street)},
                 {groupName, partner.group}});
}

Partner addressed(Partner partner, Random &random)
{
    const Place &place = Places[random.below(qsizetype(std::size(Places)))];
    partner.postcode = text(place.postcode);
    partner.street = random.pick(split(Streets));
    partner.street += u' ' + QString::number(random.between(1, 140));
    if (!partner.name.contains(u','))
        partner.name += u", " + text(place.town);
    return partner;
}

struct Firm1Suppliers
{
    QList<Partner> partners;
    QMap<Trade, QStringList> byTrade;
};

Firm1Suppliers firm1Suppliers()
{
    Firm1Suppliers result;
    Random random(0x5EED0001ULL);
    int number = FirstSupplierNumber;
    auto add = [&](const QString &shortName, const QString &name, Trade trade) {
        const QString key = QString::number(number++);
        result.partners << addressed({key, shortName, name, {}, {}, accountOf(trade)}, random);
        result.byTrade[trade] << key;
    };
    for (const Supplier &supplier : IndustrySuppliers)
        add(text(supplier.shortName), text(supplier.name), supplier.trade);
    for (const Supplier &supplier : ToolSuppliers)
        add(text(supplier.shortName), text(supplier.name), supplier.trade);
    // Regional builders' merchants fill the list; none of them sells tools.
    const QStringList surnames = split(Surnames);
    const Trade trades[] = {Trade::Building, Trade::Wood, Trade::Paint, Trade::Garden};
    const char16_t *const kinds[] = {u"Baustoffhandel", u"Holzhandlung", u"Farbengroßhandel", u"Gartenbaubedarf"};
    int i = 0;
    while (result.partners.size() < SupplierCount) {
        const int kind = i % 4;
        const QString surname = surnames[(i * 7 + i / 4) % surnames.size()];
        add(upper(surname) + u' ' + upper(text(kinds[kind])),
            text(kinds[kind]) + u' ' + surname + u" GmbH", trades[kind]);
        ++i;
    }
    return result;
}

QList<Partner> firm1Customers()
{
    const QStringList surnames = split(Surnames);
    QList<std::pair<int, int>> combinations;
    for (int t = 0; t < int(std::size(CustomerTrades)); ++t) {
        for (int s = 0; s < surnames.size(); ++s)
            combinations.append({t, s});
    }
    Random random(0x5EED0002ULL);
    shuffle(combinations, random);
    QList<Partner> customers;
    for (int i = 0; i < CustomerCount; ++i) {
        const CustomerTrade &trade = CustomerTrades[combinations[i].first];
        const QString &surname = surnames[combinations[i].second];
        customers << addressed({QString::number(FirstCustomerNumber + i),
                                text(trade.shortName).arg(upper(surname)),
                                text(trade.name).arg(surname), {}, {}, text(trade.group)},
                               random);
    }
    return customers;
}

QList<Article> firm1Articles(const DemoSize &size, const QMap<Trade, QStringList> &suppliersByTrade)
{
    QList<Article> articles;
    articles.reserve(size.articles);
    const QStringList &toolSuppliers = suppliersByTrade.value(Trade::Tools);
    int collective = 0;
    for (int i = 0; i < int(std::size(FixedArticles)); ++i) {
        const FixedArticle &fixed = FixedArticles[i];
        Random random(seedFor(0xF1ED, quint64(i)));
        Article article;
        article.number = QString::number(100001 + i);
        article.description = text(fixed.description);
        article.collective = fixed.collective;
        article.salesUnit = article.priceUnit = text(fixed.salesUnit);
        article.centralNumber = centralNumberOf(i, 1);
        article.price = fixed.priceCents;
        article.grossPurchase = percentOf(fixed.priceCents, 68);
        article.netPurchase = percentOf(article.grossPurchase, i % 3 == 0 ? 100 : 92);
        article.quantitySold = text(fixed.quantitySold);
        article.turnover = fixed.turnoverCents;
        article.discounts = percentOf(fixed.turnoverCents, i % 5);
        article.cost = fixed.priceCents == 0 ? percentOf(fixed.turnoverCents, 71)
                                             : article.quantitySold.toLongLong() * article.netPurchase;
        article.subGroup = fixed.subGroup;
        article.supplier = fixed.subGroup / 100 == 7 ? toolSuppliers[7] // fischer
                                                     : random.pick(suppliersByTrade.value(Trade::Building));
        if (fixed.collective)
            article.ownTexts = collectiveTexts()[collective++];
        articles << article;
    }
    const QList<Variant> &variants = allVariants();
    for (int i = demo::FixedArticleCount; i < size.articles; ++i) {
        const int bulk = i - demo::FixedArticleCount;
        Random random(seedFor(0xA271C1E, quint64(i)));
        Article article = generatedArticle(QString::number(100001 + i), variants[bulk % variants.size()],
                                           int(bulk / variants.size()), random, suppliersByTrade);
        article.centralNumber = centralNumberOf(i, 1);
        articles << article;
    }
    return articles;
}

void writeFirm1(Writer &writer, const DemoSize &size, QDate today)
{
    const QString firm = u"1"_s;
    writeNamedList(writer, firm, u"TV.Einheit"_s, u"Code"_s, Units);
    writeNamedList(writer, firm, u"TV.Abteilung"_s, u"AbtNr"_s, ArticleDepartments);
    QList<int> allMainGroups;
    for (const MainGroup &group : MainGroups)
        allMainGroups << group.number;
    writeGroups(writer, firm, allMainGroups);

    const NamedEntry accounts[] = {
        {u"001", u"Lieferanten Baustoffindustrie"}, {u"002", u"Lieferanten Holz und Platten"},
        {u"007", u"Lieferanten Werkzeug und Eisenwaren"}, {u"010", u"Lieferanten Farben und Bautenschutz"},
        {u"015", u"Lieferanten Garten und Gärtnereien"},
    };
    for (const NamedEntry &account : accounts) {
        writer.save(u"TV.KontoSammelKontoKreis"_s, firm,
                    {{u"Nummer"_s, text(account.key)}, {u"Art"_s, u"L"_s}, {u"Bez"_s, server(account.name)}});
    }
    const NamedEntry customerAccounts[] = {
        {u"100", u"Kunden Handwerk und Gewerbe"}, {u"110", u"Kunden Privat und Barverkauf"},
        {u"120", u"Kunden öffentliche Hand"},
    };
    for (const NamedEntry &account : customerAccounts) {
        writer.save(u"TV.KontoSammelKontoKreis"_s, firm,
                    {{u"Nummer"_s, text(account.key)}, {u"Art"_s, u"K"_s}, {u"Bez"_s, server(account.name)}});
    }

    const Firm1Suppliers suppliers = firm1Suppliers();
    for (const Partner &supplier : suppliers.partners)
        writePartner(writer, firm, u"TV.Lieferant"_s, u"Lnr"_s, u"SaKonto"_s, supplier);
    writeNamedList(writer, firm, u"TV.ParKundenGruppen"_s, u"Gruppe"_s, CustomerGroups);
    for (const Partner &customer : firm1Customers())
        writePartner(writer, firm, u"TV.Kunde"_s, u"Knr"_s, u"Gruppe"_s, customer);

    const QList<Article> articles = firm1Articles(size, suppliers.byTrade);
    for (const Article &article : articles)
        writeArticle(writer, firm, article);
    for (int i = 0; i < articles.size(); ++i) {
        Random random(seedFor(0x57AFFE1, quint64(i)));
        if (i == 0) {
            // The cement's pallet prices.
            writer.save(u"TV.ArtikelStaffel"_s, firm,
                        {{u"Artnr"_s, articles[0].number}, {u"MengeAb"_s, u"40"_s}, {u"Preis"_s, u"7.45"_s}});
            writer.save(u"TV.ArtikelStaffel"_s, firm,
                        {{u"Artnr"_s, articles[0].number}, {u"MengeAb"_s, u"120"_s}, {u"Preis"_s, u"6.95"_s}});
            continue;
        }
        writeTiers(writer, firm, articles[i], random);
    }

    for (const NamedEntry &competitor : Competitors1) {
        writer.save(u"Konkur.Par"_s, firm,
                    {{u"konkur"_s, text(competitor.key)}, {u"konkurbez"_s, server(competitor.name)}});
    }
    for (const PriceType &type : PriceTypes1) {
        writer.save(u"Konkur.Preistyp"_s, firm,
                    {{u"code"_s, text(type.code)}, {u"bez"_s, server(type.name)},
                     {u"bisdatjn"_s, type.until ? u"J"_s : u"N"_s}});
    }

    PositionWriter positions(writer, firm, articles, Competitors1, PriceTypes1, today);
    for (const FixedPosition &fixed : FixedPositions) {
        const Article &article = articles[fixed.article];
        const qint64 base = article.collective ? fixed.ownPriceCents : article.price;
        // The fixed positions differ in their keys; none is ever skipped.
        [[maybe_unused]] const bool written = positions.write(article, priceTypeNamed(PriceTypes1, fixed.priceType),
                        text(fixed.competitor), fixed.startAge, fixed.changeAge, fixed.quantity,
                        percentOf(base, fixed.percent), fixed.ownPriceCents,
                        fixed.ownText ? text(fixed.ownText) : QString(), fixed.note ? text(fixed.note) : QString(),
                        u"0.00"_s, 14);
        Q_ASSERT(written);
    }
    Random random(0x905171045ULL);
    positions.writeGenerated(size.positions - demo::FixedPositionCount, random);
}

// Firm 2, the branch: a few records of its own. Its article numbers overlap
// firm 1's with other articles behind them.
void writeFirm2(Writer &writer, QDate today)
{
    const QString firm = u"2"_s;
    const NamedEntry units[] = {{u"ST", u"Stück"}, {u"SCK", u"Sack"}, {u"PAL", u"Palette"},
                                {u"M2", u"Quadratmeter"}, {u"LFM", u"laufender Meter"}, {u"PAK", u"Paket"}};
    writeNamedList(writer, firm, u"TV.Einheit"_s, u"Code"_s, units);
    const NamedEntry departmentList[] = {{u"10", u"Baustoffe Zweigwerk"}, {u"20", u"Holz Zweigwerk"},
                                         {u"40", u"Werkzeug Zweigwerk"}};
    writeNamedList(writer, firm, u"TV.Abteilung"_s, u"AbtNr"_s, departmentList);
    writeGroups(writer, firm, {1, 4, 7});

    const NamedEntry accounts[] = {{u"001", u"Lieferanten Inland"}, {u"007", u"Lieferanten Werkzeug"}};
    for (const NamedEntry &account : accounts) {
        writer.save(u"TV.KontoSammelKontoKreis"_s, firm,
                    {{u"Nummer"_s, text(account.key)}, {u"Art"_s, u"L"_s}, {u"Bez"_s, server(account.name)}});
    }
    writer.save(u"TV.KontoSammelKontoKreis"_s, firm,
                {{u"Nummer"_s, u"100"_s}, {u"Art"_s, u"K"_s}, {u"Bez"_s, server(u"Kunden Zweigwerk")}});

    Random random(0x5EED0003ULL);
    const Supplier suppliers[] = {
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
    QMap<Trade, QStringList> byTrade;
    int number = 80001;
    for (const Supplier &supplier : suppliers) {
        const QString key = QString::number(number++);
        writePartner(writer, firm, u"TV.Lieferant"_s, u"Lnr"_s, u"SaKonto"_s,
                     addressed({key, text(supplier.shortName), text(supplier.name), {}, {}, accountOf(supplier.trade)},
                               random));
        byTrade[supplier.trade] << key;
        if (supplier.trade == Trade::Building)
            byTrade[Trade::Wood] << key;
    }

    const NamedEntry groups[] = {{u"10", u"Bauunternehmen"}, {u"20", u"Handwerker"}, {u"70", u"Privatkunden"}};
    writeNamedList(writer, firm, u"TV.ParKundenGruppen"_s, u"Gruppe"_s, groups);
    const QStringList surnames = split(Surnames);
    for (int i = 0; i < 15; ++i) {
        const CustomerTrade &trade = CustomerTrades[(i * 5) % int(std::size(CustomerTrades))];
        const QString &surname = surnames[(i * 11 + 3) % surnames.size()];
        const QString group = i % 3 == 0 ? u"10"_s : i % 3 == 1 ? u"20"_s : u"70"_s;
        writePartner(writer, firm, u"TV.Kunde"_s, u"Knr"_s, u"Gruppe"_s,
                     addressed({QString::number(20001 + i),
                                text(trade.shortName).arg(upper(surname)),
                                text(trade.name).arg(surname), {}, {}, group},
                               random));
    }

    QList<Variant> variants;
    for (const Variant &variant : allVariants()) {
        const int subGroup = Families[variant.family].subGroup;
        // Only what its few units and sub groups cover.
        if (subGroup == 101 || subGroup == 102 || subGroup == 401 || subGroup == 403 || subGroup == 701
            || subGroup == 702 || subGroup == 704)
            variants << variant;
    }
    shuffle(variants, random);
    QList<Article> articles;
    for (int i = 0; i < demo::Firm2Articles; ++i) {
        Random articleRandom(seedFor(0xF2A271C1E, quint64(i)));
        Article article = generatedArticle(QString::number(100001 + i), variants[i], 0, articleRandom, byTrade);
        article.centralNumber = centralNumberOf(i, 2);
        writeArticle(writer, firm, article);
        writeTiers(writer, firm, article, articleRandom);
        articles << article;
    }

    for (const NamedEntry &competitor : Competitors2) {
        writer.save(u"Konkur.Par"_s, firm,
                    {{u"konkur"_s, text(competitor.key)}, {u"konkurbez"_s, server(competitor.name)}});
    }
    for (const PriceType &type : PriceTypes2) {
        writer.save(u"Konkur.Preistyp"_s, firm,
                    {{u"code"_s, text(type.code)}, {u"bez"_s, server(type.name)},
                     {u"bisdatjn"_s, type.until ? u"J"_s : u"N"_s}});
    }
    PositionWriter positions(writer, firm, articles, Competitors2, PriceTypes2, today);
    Random positionRandom(0x905171046ULL);
    positions.writeGenerated(demo::Firm2Positions, positionRandom);
}

void writeLogins(Writer &writer)
{
    using tolven::DisplayToServer;
    for (const Person &person : people()) {
        writer.save(u"TV.ParPersEdv"_s, person.login.firm,
                    {{u"Personalcode"_s, person.login.code},
                     {u"Passwort"_s, person.login.password},
                     {u"AKTIV"_s, person.login.active ? u"J"_s : u"N"_s},
                     {u"PNAME"_s, DisplayToServer(person.login.name)},
                     {u"ABTNR"_s, person.department},
                     {u"DW"_s, person.dw},
                     {u"BERGRP"_s, person.group},
                     {u"PNR"_s, person.personNumber}});
    }
    for (const Department &department : departments()) {
        writer.save(u"TV.ParPersAbt"_s, department.firm,
                    {{u"ABTNR"_s, department.number}, {u"abtbez"_s, DisplayToServer(department.name)}});
    }
    for (const PersonBase &base : personBases()) {
        writer.save(u"TV.PersBasis"_s, base.firm,
                    {{u"PNR"_s, base.number}, {u"fax"_s, base.fax}, {u"EMAIL"_s, base.email}});
    }
}

} // namespace

QList<DemoLogin> DemoLogins()
{
    QList<DemoLogin> logins;
    for (const Person &person : people())
        logins << person.login;
    return logins;
}

QString DemoSizeError(const DemoSize &size)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    if (size.articles < demo::FixedArticleCount || size.articles > demo::MaxArticles) {
        return u"Die Demofirma braucht zwischen " + german.toString(demo::FixedArticleCount) + u" und "
                + german.toString(demo::MaxArticles) + u" Artikel; verlangt waren " + german.toString(size.articles)
                + u'.';
    }
    if (size.positions < demo::FixedPositionCount || size.positions > demo::MaxPositions) {
        return u"Die Demofirma braucht zwischen " + german.toString(demo::FixedPositionCount) + u" und "
                + german.toString(demo::MaxPositions) + u" Positionen; verlangt waren "
                + german.toString(size.positions) + u'.';
    }
    if (qint64(size.positions) > qint64(size.articles) * demo::MaxPositionsPerArticle) {
        const qint64 needed = (qint64(size.positions) + demo::MaxPositionsPerArticle - 1) / demo::MaxPositionsPerArticle;
        return u"Für " + german.toString(size.positions) + u" Positionen braucht es mindestens "
                + german.toString(needed) + u" Artikel (höchstens " + german.toString(demo::MaxPositionsPerArticle)
                + u" Positionen je Artikel); verlangt waren " + german.toString(size.articles) + u'.';
    }
    return {};
}

QList<DemoCount> FillDemoData(tolven::ServerFactory &factory, const DemoSize &size, QDate today)
{
    if (const QString error = DemoSizeError(size); !error.isEmpty())
        throw tolven::AccessError(tolven::ErrorNumber::InvalidValue, error);
    if (!today.isValid())
        throw tolven::AccessError(tolven::ErrorNumber::InvalidValue,
                                  u"Für die Demodaten fehlt ein gültiges Tagesdatum."_s);

    std::unique_ptr<tolven::ServerObject> windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    Writer writer(factory);
    try {
        writeLogins(writer);
        writeFirm1(writer, size, today);
        writeFirm2(writer, today);
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    } catch (...) {
        if (factory.isConnected()) {
            try {
                windows->callMethod(u"Xecute"_s, {u"TROLLBACK"_s});
            } catch (...) {
                // The failure itself is what the caller hears about.
            }
        }
        throw;
    }
    windows->sys_Close();
    return writer.counts();
}

} // namespace store
