#include "ClassRegistry.h"

#include "access/TextConversion.h"
#include "store/Arguments.h"
#include "store/QuerySupport.h"

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
    ClassDescription cls = keyed(u"TV.Artikel"_qs, u"tv_artikel"_qs, u"Artnr"_qs);
    cls.properties << TextProperty(u"Bez"_qs)          // description, server form
                   << TextProperty(u"Kurzbez"_qs)      // short designation, server form
                   << NumberProperty(u"MwSt"_qs)       // VAT in percent
                   << FlagProperty(u"Sammel"_qs)       // collective article: positions carry their own text
                   << TextProperty(u"VKE"_qs)          // sales unit
                   << TextProperty(u"VRE"_qs)          // price unit
                   << TextProperty(u"ZAnr"_qs)         // central article number
                   << NumberProperty(u"VKPreis"_qs)    // sales price excl. VAT per price unit, from quantity 1
                   << NumberProperty(u"BruttoEK"_qs)   // gross purchase price
                   << NumberProperty(u"NettoEK"_qs)    // net purchase price
                   << NumberProperty(u"VKMenge"_qs)    // quantity sold
                   << NumberProperty(u"Umsatz"_qs)     // net turnover
                   << NumberProperty(u"Rabatt"_qs)     // discounts granted on it
                   << NumberProperty(u"Einsatz"_qs)    // cost of the turnover
                   << TextProperty(u"HGrp"_qs)         // main group number
                   << TextProperty(u"UGrp"_qs)         // sub group number
                   << TextProperty(u"Lieferant"_qs)    // supplier number
                   << TextProperty(u"AbtNr"_qs)        // department number
                   << TextProperty(u"Aktiv"_qs)        // J, N or Z
                   << TextProperty(u"Gelistet"_qs);    // J, N, A, B or C
    cls.derivedColumns = {{u"s_kurzbez"_qs, u"Kurzbez"_qs, serverSearchKey},
                          {u"s_bez"_qs, u"Bez"_qs, serverSearchKey}};
    cls.indexes = {{u"s_kurzbez"_qs, u"obj_key"_qs}};
    return cls;
}

// Quantity tiers: from MengeAb on, the article costs Preis (excl. VAT).
ClassDescription priceTier()
{
    ClassDescription cls;
    cls.name = u"TV.ArtikelStaffel"_qs;
    cls.table = u"tv_artikelstaffel"_qs;
    cls.keyScheme = KeyScheme::RunningNumber;
    cls.properties = {FirmProperty(), KeyProperty(u"Nr"_qs), TextProperty(u"Artnr"_qs),
                      NumberProperty(u"MengeAb"_qs), NumberProperty(u"Preis"_qs)};
    cls.indexes = {{u"p_artnr"_qs}};
    return cls;
}

ClassDescription named(const QString &name, const QString &table, const QString &keyName)
{
    ClassDescription cls = keyed(name, table, keyName);
    cls.properties << TextProperty(u"Bez"_qs);
    return cls;
}

ClassDescription subGroup()
{
    ClassDescription cls = named(u"TV.Untergruppe"_qs, u"tv_untergruppe"_qs, u"UGrp"_qs);
    cls.properties << TextProperty(u"HGrp"_qs);
    cls.indexes = {{u"p_hgrp"_qs}};
    return cls;
}

ClassDescription partner(const QString &name, const QString &table, const QString &keyName,
                         const QString &groupProperty)
{
    ClassDescription cls = keyed(name, table, keyName);
    cls.properties << TextProperty(u"Kurzbez"_qs) << TextProperty(u"Name"_qs) << TextProperty(u"PLZ"_qs)
                   << TextProperty(u"Strasse"_qs) << TextProperty(groupProperty);
    cls.derivedColumns = {{u"s_kurzbez"_qs, u"Kurzbez"_qs, serverSearchKey}};
    cls.indexes = {{u"s_kurzbez"_qs, u"obj_key"_qs}};
    return cls;
}

ClassDescription supplier()
{
    ClassDescription cls = partner(u"TV.Lieferant"_qs, u"tv_lieferant"_qs, u"Lnr"_qs, u"SaKonto"_qs);
    // The collective account compares as a number: "7" finds account 007.
    cls.derivedColumns << DerivedColumn{u"n_sakonto"_qs, u"SaKonto"_qs, CanonicalNumber};
    return cls;
}

ClassDescription collectiveAccount()
{
    ClassDescription cls = named(u"TV.KontoSammelKontoKreis"_qs, u"tv_kontosammelkontokreis"_qs, u"Nummer"_qs);
    cls.properties << TextProperty(u"Art"_qs);  // L supplier accounts, K customer accounts
    // SaKontoBez(firm, kind, "", ""): the accounts of one kind (all when
    // empty), number and name. The two last arguments are always empty.
    const QString what = u"die Abfrage \"SaKontoBez\""_qs;
    cls.queries << QueryDescription{
        u"SaKontoBez"_qs, 2, 4, [what](Session &, const QStringList &args) {
            SqlStatement statement{u"SELECT obj_key, p_bez FROM tv_kontosammelkontokreis WHERE firma = ?"_qs,
                                   {FirmArgument(args[0], u"die Firma für " + what)}};
            const QString kind = ChoiceArgument(args[1], {QString(), u"L"_qs, u"K"_qs}, u"die Kontenart für " + what);
            ChoiceArgument(args[2], {QString()}, u"das dritte Argument für " + what);
            ChoiceArgument(args[3], {QString()}, u"das vierte Argument für " + what);
            if (!kind.isEmpty()) {
                statement.sql += u" AND p_art = ?";
                statement.values << kind;
            }
            statement.sql += u" ORDER BY " + NumericTextOrder(u"obj_key"_qs);
            return statement;
        },
        {}};
    return cls;
}

} // namespace

QList<ClassDescription> MasterDataClassDescriptions()
{
    ClassDescription customerGroups = named(u"TV.ParKundenGruppen"_qs, u"tv_parkundengruppen"_qs, u"Gruppe"_qs);
    // Gruppen(firm, group, "J"): the customer groups, number and name; the
    // second argument narrows to one group, the third ("J", names wanted) is
    // what the client always sends.
    const QString what = u"die Abfrage \"Gruppen\""_qs;
    customerGroups.queries << QueryDescription{
        u"Gruppen"_qs, 1, 3, [what](Session &, const QStringList &args) {
            SqlStatement statement{u"SELECT obj_key, p_bez FROM tv_parkundengruppen WHERE firma = ?"_qs,
                                   {FirmArgument(args[0], u"die Firma für " + what)}};
            const QString group = NumberArgument(args[1], u"die Gruppe für " + what);
            ChoiceArgument(args[2], {QString(), u"J"_qs}, u"das dritte Argument für " + what);
            if (!group.isEmpty()) {
                statement.sql += u" AND obj_key = ?";
                statement.values << group;
            }
            statement.sql += u" ORDER BY " + NumericTextOrder(u"obj_key"_qs);
            return statement;
        },
        {}};
    return {article(),
            priceTier(),
            named(u"TV.Einheit"_qs, u"tv_einheit"_qs, u"Code"_qs),
            named(u"TV.Hauptgruppe"_qs, u"tv_hauptgruppe"_qs, u"HGrp"_qs),
            subGroup(),
            named(u"TV.Abteilung"_qs, u"tv_abteilung"_qs, u"AbtNr"_qs),
            supplier(),
            partner(u"TV.Kunde"_qs, u"tv_kunde"_qs, u"Knr"_qs, u"Gruppe"_qs),
            collectiveAccount(),
            customerGroups};
}

} // namespace store
