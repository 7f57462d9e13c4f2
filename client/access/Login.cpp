#include "Login.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/cacheapi.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString Operation_UnknownCode = u"Anmeldung mit nicht existierendem Personalcode"_s;

QString DisplayForm(ServerObject &object, const QString &method, const QString &value)
{
    return object.callMethod(method, {value});
}

} // namespace

bool Login()
{
    cacheapi &api = cacheapi::instance();
    LoginContext &ctx = api.context();
    ctx.LoginKey.clear();
    if (ctx.CommandLine.isEmpty())
        ctx.CommandLine = QCoreApplication::arguments().mid(1).join(u' ');
    if (!PrepareConnection())
        return false;

    FMPass &loginWindow = api.loginWindow();
    QString operation = u"Firma Filiale Personal Setzen"_s;
    bool loggedIn = false;
    try {
        BeginServerCall(false);
        operation = Operation_UnknownCode;
        std::unique_ptr<ServerObject> person =
            Factory().openById(u"TV.ParPersEdv"_s, ctx.Firm + u"||" + ctx.UserCode);
        if (person->property(u"Passwort"_s) != ctx.Password
            || person->property(u"AKTIV"_s) != u"J") {
            CloseServerObject(person);
            MsgBox(loginWindow.isVisible() ? &loginWindow : nullptr, QMessageBox::Information,
                   u"Anmeldung an Caché."_s, u"Passwort Falsch oder Benutzer nicht Aktiv."_s);
            ctx.LoginFailed = true;
            SelectAllText(loginWindow.passwordField(), true);
        } else {
            ctx.UserName = DisplayForm(*person, u"PNAMELogicalToODBC"_s,
                                       person->property(u"PNAME"_s));
            ctx.LoginKey = ctx.UserCode + u'|' + ctx.UserName;
            const QString department = person->property(u"ABTNR"_s);
            ctx.DW = person->property(u"DW"_s);
            ctx.BERGRP = person->property(u"BERGRP"_s);

            operation = u"Abteilungsermittlung"_s;
            std::unique_ptr<ServerObject> departmentRecord =
                Factory().openById(u"TV.ParPersAbt"_s, ctx.Firm + u"||" + department);
            ctx.DepartmentName = DisplayForm(*departmentRecord, u"ABTBEZlogicaltoodbc"_s,
                                             departmentRecord->property(u"abtbez"_s));
            CloseServerObject(departmentRecord);

            operation = u"PersBasis Nummern"_s;
            std::unique_ptr<ServerObject> personBase = Factory().openById(
                u"TV.PersBasis"_s, ctx.Firm + u"||" + person->property(u"PNR"_s));
            ctx.Fax = personBase->property(u"fax"_s);
            ctx.Email = DisplayForm(*personBase, u"EMAILLogicalToodbc"_s,
                                    personBase->property(u"EMAIL"_s));
            CloseServerObject(personBase);
            CloseServerObject(person);

            if (!ctx.LoginKey.isEmpty()) {
                operation = u"Firma Filiale Personal Setzen"_s;
                XecuteOnServer(
                    SetContextCommand(ctx.Firm, ctx.Branch, Piece(ctx.LoginKey, u"|"_s, 1)));
                ctx.LoginFailed = false;
                loggedIn = true;
            }
        }
    } catch (const AccessError &error) {
        ctx.LoginKey.clear();
        ctx.LoginFailed = true;
        ctx.IgnoreStoredPassword = true;
        ReportAccessError(error, operation);
        return false;
    }
    EndServerCall(false);
    loginWindow.hide();
    api.serverWindow().hide();
    return loggedIn;
}

void Sichern()
{
    SaveConnectionSettings();
}

void SelectAllText(QLineEdit *field, bool noFocus)
{
    field->setSelection(0, int(field->text().size()));
    if (!noFocus)
        field->setFocus();
}

} // namespace tolven
