#include "DemoCatalogue.h"

using namespace Qt::StringLiterals;

namespace store::catalogue {

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

int departmentOf(int subGroup)
{
    for (const MainGroup &group : MainGroups) {
        if (group.number == subGroup / 100)
            return group.department;
    }
    return 10;
}

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

} // namespace store::catalogue
