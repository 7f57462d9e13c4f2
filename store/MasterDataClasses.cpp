#include "ClassRegistry.h"

#include "objectapi/TextConversion.h"
#include "store/Arguments.h"
#include "store/QuerySupport.h"

using namespace Qt::StringLiterals;

// The firm's master data as the ERP keeps it: articles with their price
// tiers, units, groups and departments, suppliers and customers with their
// collective accounts and groups. The client only reads them, through the
// queries, methods and routines of the other classes; tolven-admin writes them.

namespace store {

namespace {

// The search key of server text: display form, upper case, umlauts spelled out.
QString serverSearchKey(const QString &serverText)
{
    return tolven::SearchKey(tolven::ServerToDisplay(serverText));
}

ClassDescription keyed(const QString &name, const QString &table, const QString &keyName)
{
    ClassDescription cls;
    cls.name = name;
    cls.table = table;
    cls.keyScheme = KeyScheme::Property;
    cls.keyProperty = keyName;
    cls.properties = {FirmProperty(), KeyProperty(keyName)};
    return cls;
}

ClassDescription article()
{
    ClassDescription cls = keyed(u"TV.Artikel"_s, u"tv_artikel"_s, u"Artnr"_s);
    cls.properties << TextProperty(u"Bez"_s)          // description, server form
                   << TextProperty(u"Kurzbez"_s)      // short designation, server form
                   << NumberProperty(u"MwSt"_s)       // VAT in percent
                   << FlagProperty(u"Sammel"_s)       // collective article: positions carry their own text
                   << TextProperty(u"VKE"_s)          // sales unit
                   << TextProperty(u"VRE"_s)          // price unit
                   << TextProperty(u"ZAnr"_s)         // central article number
                   << NumberProperty(u"VKPreis"_s)    // sales price excl. VAT per price unit, from quantity 1
                   << NumberProperty(u"BruttoEK"_s)   // gross purchase price
                   << NumberProperty(u"NettoEK"_s)    // net purchase price
                   << NumberProperty(u"VKMenge"_s)    // quantity sold
                   << NumberProperty(u"Umsatz"_s)     // net turnover
                   << NumberProperty(u"Rabatt"_s)     // discounts granted on it
                   << NumberProperty(u"Einsatz"_s)    // cost of the turnover
                   << TextProperty(u"HGrp"_s)         // main group number
                   << TextProperty(u"UGrp"_s)         // sub group number
                   << TextProperty(u"Lieferant"_s)    // supplier number
                   << TextProperty(u"AbtNr"_s)        // department number
                   << TextProperty(u"Aktiv"_s)        // J, N or Z
                   << TextProperty(u"Gelistet"_s);    // J, N, A, B or C
    cls.derivedColumns = {{u"s_kurzbez"_s, u"Kurzbez"_s, serverSearchKey},
                          {u"s_bez"_s, u"Bez"_s, serverSearchKey}};
    cls.indexes = {{u"s_kurzbez"_s, u"obj_key"_s}};
    return cls;
}

// Quantity tiers: from MengeAb on, the article costs Preis (excl. VAT).
ClassDescription priceTier()
{
    ClassDescription cls;
    cls.name = u"TV.ArtikelStaffel"_s;
    cls.table = u"tv_artikelstaffel"_s;
    cls.keyScheme = KeyScheme::RunningNumber;
    cls.properties = {FirmProperty(), KeyProperty(u"Nr"_s), TextProperty(u"Artnr"_s),
                      NumberProperty(u"MengeAb"_s), NumberProperty(u"Preis"_s)};
    cls.indexes = {{u"p_artnr"_s}};
    return cls;
}

ClassDescription named(const QString &name, const QString &table, const QString &keyName)
{
    ClassDescription cls = keyed(name, table, keyName);
    cls.properties << TextProperty(u"Bez"_s);
    return cls;
}

ClassDescription subGroup()
{
    ClassDescription cls = named(u"TV.Untergruppe"_s, u"tv_untergruppe"_s, u"UGrp"_s);
    cls.properties << TextProperty(u"HGrp"_s);
    cls.indexes = {{u"p_hgrp"_s}};
    return cls;
}

ClassDescription partner(const QString &name, const QString &table, const QString &keyName,
                         const QString &groupProperty)
{
    ClassDescription cls = keyed(name, table, keyName);
    cls.properties << TextProperty(u"Kurzbez"_s) << TextProperty(u"Name"_s) << TextProperty(u"PLZ"_s)
                   << TextProperty(u"Strasse"_s) << TextProperty(groupProperty);
    cls.derivedColumns = {{u"s_kurzbez"_s, u"Kurzbez"_s, serverSearchKey}};
    cls.indexes = {{u"s_kurzbez"_s, u"obj_key"_s}};
    return cls;
}

ClassDescription supplier()
{
    ClassDescription cls = partner(u"TV.Lieferant"_s, u"tv_lieferant"_s, u"Lnr"_s, u"SaKonto"_s);
    // The collective account compares as a number: "7" finds account 007.
    cls.derivedColumns << DerivedColumn{u"n_sakonto"_s, u"SaKonto"_s, CanonicalNumber};
    return cls;
}

ClassDescription collectiveAccount()
{
    ClassDescription cls = named(u"TV.KontoSammelKontoKreis"_s, u"tv_kontosammelkontokreis"_s, u"Nummer"_s);
    cls.properties << TextProperty(u"Art"_s);  // L supplier accounts, K customer accounts
    // SaKontoBez(firm, kind, "", ""): the accounts of one kind (all when
    // empty), number and name. The two last arguments are always empty.
    const QString what = u"die Abfrage \"SaKontoBez\""_s;
    cls.queries << QueryDescription{
        u"SaKontoBez"_s, 2, 4, [what](Session &, const QStringList &args) {
            SqlStatement statement{u"SELECT obj_key, p_bez FROM tv_kontosammelkontokreis WHERE firma = ?"_s,
                                   {FirmArgument(args[0], u"die Firma für " + what)}};
            const QString kind = ChoiceArgument(args[1], {QString(), u"L"_s, u"K"_s}, u"die Kontenart für " + what);
            ChoiceArgument(args[2], {QString()}, u"das dritte Argument für " + what);
            ChoiceArgument(args[3], {QString()}, u"das vierte Argument für " + what);
            if (!kind.isEmpty()) {
                statement.sql += u" AND p_art = ?";
                statement.values << kind;
            }
            statement.sql += u" ORDER BY " + NumericTextOrder(u"obj_key"_s);
            return statement;
        },
        {}};
    return cls;
}

} // namespace

QList<ClassDescription> MasterDataClassDescriptions()
{
    ClassDescription customerGroups = named(u"TV.ParKundenGruppen"_s, u"tv_parkundengruppen"_s, u"Gruppe"_s);
    // Gruppen(firm, group, "J"): the customer groups, number and name; the
    // second argument narrows to one group, the third ("J", names wanted) is
    // what the client always sends.
    const QString what = u"die Abfrage \"Gruppen\""_s;
    customerGroups.queries << QueryDescription{
        u"Gruppen"_s, 1, 3, [what](Session &, const QStringList &args) {
            SqlStatement statement{u"SELECT obj_key, p_bez FROM tv_parkundengruppen WHERE firma = ?"_s,
                                   {FirmArgument(args[0], u"die Firma für " + what)}};
            const QString group = NumberArgument(args[1], u"die Gruppe für " + what);
            ChoiceArgument(args[2], {QString(), u"J"_s}, u"das dritte Argument für " + what);
            if (!group.isEmpty()) {
                statement.sql += u" AND obj_key = ?";
                statement.values << group;
            }
            statement.sql += u" ORDER BY " + NumericTextOrder(u"obj_key"_s);
            return statement;
        },
        {}};
    return {article(),
            priceTier(),
            named(u"TV.Einheit"_s, u"tv_einheit"_s, u"Code"_s),
            named(u"TV.Hauptgruppe"_s, u"tv_hauptgruppe"_s, u"HGrp"_s),
            subGroup(),
            named(u"TV.Abteilung"_s, u"tv_abteilung"_s, u"AbtNr"_s),
            supplier(),
            partner(u"TV.Kunde"_s, u"tv_kunde"_s, u"Knr"_s, u"Gruppe"_s),
            collectiveAccount(),
            customerGroups};
}

} // namespace store
