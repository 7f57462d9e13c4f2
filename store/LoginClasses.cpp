#include "ClassRegistry.h"

namespace store {

namespace {

PropertyDescription firmProperty()
{
    return {u"Firma"_qs, u"firma"_qs, PropertyType::Text};
}

PropertyDescription keyProperty(const QString &name)
{
    return {name, u"obj_key"_qs, PropertyType::Text};
}

PropertyDescription text(const QString &name)
{
    return {name, u"p_" + name.toLower(), PropertyType::Text};
}

} // namespace

QList<ClassDescription> LoginClassDescriptions()
{
    // The personnel record, keyed by the personnel code the user logs in with.
    ClassDescription personnel;
    personnel.name = u"TV.ParPersEdv"_qs;
    personnel.table = u"tv_parpersedv"_qs;
    personnel.keyScheme = KeyScheme::Property;
    personnel.keyProperty = u"Personalcode"_qs;
    personnel.properties = {firmProperty(),
                            keyProperty(u"Personalcode"_qs),
                            text(u"Passwort"_qs),
                            {u"AKTIV"_qs, u"p_aktiv"_qs, PropertyType::Flag},
                            text(u"PNAME"_qs),
                            text(u"ABTNR"_qs),
                            text(u"DW"_qs),
                            text(u"BERGRP"_qs),
                            text(u"PNR"_qs)};

    ClassDescription department;
    department.name = u"TV.ParPersAbt"_qs;
    department.table = u"tv_parpersabt"_qs;
    department.keyScheme = KeyScheme::Property;
    department.keyProperty = u"ABTNR"_qs;
    department.properties = {firmProperty(), keyProperty(u"ABTNR"_qs), text(u"abtbez"_qs)};

    ClassDescription personBase;
    personBase.name = u"TV.PersBasis"_qs;
    personBase.table = u"tv_persbasis"_qs;
    personBase.keyScheme = KeyScheme::Property;
    personBase.keyProperty = u"PNR"_qs;
    personBase.properties = {firmProperty(), keyProperty(u"PNR"_qs), text(u"fax"_qs), text(u"EMAIL"_qs)};

    return {personnel, department, personBase};
}

} // namespace store
