#include "ClassRegistry.h"

using namespace Qt::StringLiterals;

namespace store {


QList<ClassDescription> LoginClassDescriptions()
{
    // The personnel record, keyed by the personnel code the user logs in with.
    ClassDescription personnel;
    personnel.name = u"TV.ParPersEdv"_s;
    personnel.table = u"tv_parpersedv"_s;
    personnel.keyScheme = KeyScheme::Property;
    personnel.keyProperty = u"Personalcode"_s;
    personnel.properties = {FirmProperty(),
                            KeyProperty(u"Personalcode"_s),
                            TextProperty(u"Passwort"_s),
                            FlagProperty(u"AKTIV"_s),
                            TextProperty(u"PNAME"_s),
                            TextProperty(u"ABTNR"_s),
                            TextProperty(u"DW"_s),
                            TextProperty(u"BERGRP"_s),
                            TextProperty(u"PNR"_s)};

    ClassDescription department;
    department.name = u"TV.ParPersAbt"_s;
    department.table = u"tv_parpersabt"_s;
    department.keyScheme = KeyScheme::Property;
    department.keyProperty = u"ABTNR"_s;
    department.properties = {FirmProperty(), KeyProperty(u"ABTNR"_s), TextProperty(u"abtbez"_s)};

    ClassDescription personBase;
    personBase.name = u"TV.PersBasis"_s;
    personBase.table = u"tv_persbasis"_s;
    personBase.keyScheme = KeyScheme::Property;
    personBase.keyProperty = u"PNR"_s;
    personBase.properties = {FirmProperty(), KeyProperty(u"PNR"_s), TextProperty(u"fax"_s), TextProperty(u"EMAIL"_s)};

    return {personnel, department, personBase};
}

} // namespace store
