#include "ClassRegistry.h"

namespace store {


QList<ClassDescription> LoginClassDescriptions()
{
    // The personnel record, keyed by the personnel code the user logs in with.
    ClassDescription personnel;
    personnel.name = u"TV.ParPersEdv"_qs;
    personnel.table = u"tv_parpersedv"_qs;
    personnel.keyScheme = KeyScheme::Property;
    personnel.keyProperty = u"Personalcode"_qs;
    personnel.properties = {FirmProperty(),
                            KeyProperty(u"Personalcode"_qs),
                            TextProperty(u"Passwort"_qs),
                            FlagProperty(u"AKTIV"_qs),
                            TextProperty(u"PNAME"_qs),
                            TextProperty(u"ABTNR"_qs),
                            TextProperty(u"DW"_qs),
                            TextProperty(u"BERGRP"_qs),
                            TextProperty(u"PNR"_qs)};

    ClassDescription department;
    department.name = u"TV.ParPersAbt"_qs;
    department.table = u"tv_parpersabt"_qs;
    department.keyScheme = KeyScheme::Property;
    department.keyProperty = u"ABTNR"_qs;
    department.properties = {FirmProperty(), KeyProperty(u"ABTNR"_qs), TextProperty(u"abtbez"_qs)};

    ClassDescription personBase;
    personBase.name = u"TV.PersBasis"_qs;
    personBase.table = u"tv_persbasis"_qs;
    personBase.keyScheme = KeyScheme::Property;
    personBase.keyProperty = u"PNR"_qs;
    personBase.properties = {FirmProperty(), KeyProperty(u"PNR"_qs), TextProperty(u"fax"_qs), TextProperty(u"EMAIL"_qs)};

    return {personnel, department, personBase};
}

} // namespace store
