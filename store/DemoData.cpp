#include "DemoData.h"

#include <QList>

#include "access/ServerFactory.h"
#include "access/TextConversion.h"

namespace store {

namespace {

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
        {{u"1"_qs, u"MUELLER"_qs, u"Konkur24"_qs, u"Jürgen Müller"_qs, true}, u"10"_qs, u"1001"_qs, u"01"_qs, u"VK"_qs},
        {{u"1"_qs, u"SCHMIDT"_qs, u"baustoff"_qs, u"Anna Schmidt"_qs, true}, u"20"_qs, u"1002"_qs, u"01"_qs, u"AD"_qs},
        {{u"1"_qs, u"WEISS"_qs, u"weiss"_qs, u"Günther Weiß"_qs, false}, u"10"_qs, u"1003"_qs, u"02"_qs, u"VK"_qs},
        {{u"1"_qs, u"OEZTUERK"_qs, u"ohneabt"_qs, u"Özlem Öztürk"_qs, true}, u"99"_qs, u"1004"_qs, u"01"_qs, u"VK"_qs},
        {{u"2"_qs, u"MUELLER"_qs, u"Zweigwerk"_qs, u"Sören Mühlbauer"_qs, true}, u"10"_qs, u"2001"_qs, u"01"_qs, u"VK"_qs},
        {{u"2"_qs, u"KRAUSE"_qs, u"krause"_qs, u"Heike Krause"_qs, true}, u"30"_qs, u"2002"_qs, u"01"_qs, u"EK"_qs},
    };
    return list;
}

// Department 99 of firm 1 is missing on purpose: its user cannot log in.
const QList<Department> &departments()
{
    static const QList<Department> list{
        {u"1"_qs, u"10"_qs, u"Verkauf Innendienst"_qs},
        {u"1"_qs, u"20"_qs, u"Außendienst Süd"_qs},
        {u"1"_qs, u"30"_qs, u"Einkauf"_qs},
        {u"2"_qs, u"10"_qs, u"Verkauf Zweigbetrieb"_qs},
        {u"2"_qs, u"30"_qs, u"Einkauf Zweigbetrieb"_qs},
    };
    return list;
}

const QList<PersonBase> &personBases()
{
    static const QList<PersonBase> list{
        {u"1"_qs, u"1001"_qs, u"0421 555-101"_qs, u"juergen.mueller@baustoffe-tolven.example"_qs},
        {u"1"_qs, u"1002"_qs, u"0421 555-102"_qs, u"anna.schmidt@baustoffe-tolven.example"_qs},
        {u"1"_qs, u"1003"_qs, u"0421 555-103"_qs, u"guenther.weiss@baustoffe-tolven.example"_qs},
        {u"1"_qs, u"1004"_qs, u"0421 555-104"_qs, u"oezlem.oeztuerk@baustoffe-tolven.example"_qs},
        {u"2"_qs, u"2001"_qs, u"0511 777-201"_qs, u"soeren.muehlbauer@zweigwerk-tolven.example"_qs},
        {u"2"_qs, u"2002"_qs, u"0511 777-202"_qs, u"heike.krause@zweigwerk-tolven.example"_qs},
    };
    return list;
}

void save(tolven::ServerFactory &factory, const QString &className,
          const QList<std::pair<QString, QString>> &properties)
{
    std::unique_ptr<tolven::ServerObject> object = factory.createNew(className);
    for (const auto &[name, value] : properties)
        object->setProperty(name, value);
    object->sys_save();
    object->sys_Close();
}

} // namespace

QList<DemoLogin> DemoLogins()
{
    QList<DemoLogin> logins;
    for (const Person &person : people())
        logins << person.login;
    return logins;
}

void FillDemoData(tolven::ServerFactory &factory)
{
    using tolven::DisplayToServer;
    std::unique_ptr<tolven::ServerObject> windows = factory.classObject(u"TV.Windows"_qs);
    windows->callMethod(u"Xecute"_qs, {u"TSTART"_qs});
    try {
        for (const Person &person : people()) {
            save(factory, u"TV.ParPersEdv"_qs,
                 {{u"Firma"_qs, person.login.firm},
                  {u"Personalcode"_qs, person.login.code},
                  {u"Passwort"_qs, person.login.password},
                  {u"AKTIV"_qs, person.login.active ? u"J"_qs : u"N"_qs},
                  {u"PNAME"_qs, DisplayToServer(person.login.name)},
                  {u"ABTNR"_qs, person.department},
                  {u"DW"_qs, person.dw},
                  {u"BERGRP"_qs, person.group},
                  {u"PNR"_qs, person.personNumber}});
        }
        for (const Department &department : departments()) {
            save(factory, u"TV.ParPersAbt"_qs,
                 {{u"Firma"_qs, department.firm},
                  {u"ABTNR"_qs, department.number},
                  {u"abtbez"_qs, DisplayToServer(department.name)}});
        }
        for (const PersonBase &base : personBases()) {
            save(factory, u"TV.PersBasis"_qs,
                 {{u"Firma"_qs, base.firm},
                  {u"PNR"_qs, base.number},
                  {u"fax"_qs, base.fax},
                  {u"EMAIL"_qs, base.email}});
        }
        windows->callMethod(u"Xecute"_qs, {u"TCOMMIT"_qs});
    } catch (...) {
        if (factory.isConnected()) {
            try {
                windows->callMethod(u"Xecute"_qs, {u"TROLLBACK"_qs});
            } catch (...) {
                // The failure itself is what the caller hears about.
            }
        }
        throw;
    }
    windows->sys_Close();
}

} // namespace store
