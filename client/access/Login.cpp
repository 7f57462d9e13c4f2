#include "Login.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/TextConversion.h"
#include "access/cacheapi.h"

namespace tolven {

namespace {

const QString Operation_UnknownCode = QStringLiteral("Anmeldung mit nicht existierendem Personalcode");

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
    QString operation = QStringLiteral("Firma Filiale Personal Setzen");
    bool loggedIn = false;
    try {
        BeginServerCall(false);
        operation = Operation_UnknownCode;
        std::unique_ptr<ServerObject> person =
            Factory().openById(QStringLiteral("TV.ParPersEdv"), ctx.Firm + u"||" + ctx.UserCode);
        if (person->property(QStringLiteral("Passwort")) != ctx.Password
            || person->property(QStringLiteral("AKTIV")) != u"J") {
            CloseServerObject(person);
            MsgBox(loginWindow.isVisible() ? &loginWindow : nullptr, QMessageBox::Information,
                   QStringLiteral("Anmeldung an Caché."), QStringLiteral("Passwort Falsch oder Benutzer nicht Aktiv."));
            ctx.LoginFailed = true;
            SelectAllText(loginWindow.passwordField(), true);
        } else {
            ctx.UserName = DisplayForm(*person, QStringLiteral("PNAMELogicalToODBC"),
                                       person->property(QStringLiteral("PNAME")));
            ctx.LoginKey = ctx.UserCode + u'|' + ctx.UserName;
            const QString department = person->property(QStringLiteral("ABTNR"));
            ctx.DW = person->property(QStringLiteral("DW"));
            ctx.BERGRP = person->property(QStringLiteral("BERGRP"));

            operation = QStringLiteral("Abteilungsermittlung");
            std::unique_ptr<ServerObject> departmentRecord =
                Factory().openById(QStringLiteral("TV.ParPersAbt"), ctx.Firm + u"||" + department);
            ctx.DepartmentName = DisplayForm(*departmentRecord, QStringLiteral("ABTBEZlogicaltoodbc"),
                                             departmentRecord->property(QStringLiteral("abtbez")));
            CloseServerObject(departmentRecord);

            operation = QStringLiteral("PersBasis Nummern");
            std::unique_ptr<ServerObject> personBase = Factory().openById(
                QStringLiteral("TV.PersBasis"), ctx.Firm + u"||" + person->property(QStringLiteral("PNR")));
            ctx.Fax = personBase->property(QStringLiteral("fax"));
            ctx.Email = DisplayForm(*personBase, QStringLiteral("EMAILLogicalToodbc"),
                                    personBase->property(QStringLiteral("EMAIL")));
            CloseServerObject(personBase);
            CloseServerObject(person);

            if (!ctx.LoginKey.isEmpty()) {
                operation = QStringLiteral("Firma Filiale Personal Setzen");
                XecuteOnServer(
                    SetContextCommand(ctx.Firm, ctx.Branch, Piece(ctx.LoginKey, QStringLiteral("|"), 1)));
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
