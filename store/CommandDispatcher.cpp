#include "CommandDispatcher.h"

#include <QList>

#include <functional>

#include "objectapi/AccessError.h"
#include "store/MCommand.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

namespace {

const QList<CommandForm> &commandForms()
{
    static const QList<CommandForm> forms = QList<CommandForm>{
        {u"S FIRMA="_s, false,
         [](Session &session, MCommand &args) {
             const QString firm = args.number();
             args.expect(u",FIL=");
             const QString branch = args.number();
             args.expect(u",PERSONAL=");
             const QString person = args.literal();
             args.end();
             session.context = Session::Context{firm, branch, person, false};
             return QString();
         }},
        {u"D ^%XTT"_s, true,
         [](Session &session, MCommand &) {
             RequireContext(session, u"D ^%XTT"_s);
             session.context.prepared = true;
             return QString();
         }},
        {u"TSTART"_s, true,
         [](Session &session, MCommand &) {
             session.beginTransaction();
             return QString();
         }},
        {u"TCOMMIT"_s, true,
         [](Session &session, MCommand &) {
             session.commitTransaction();
             return QString();
         }},
        {u"TROLLBACK"_s, true,
         [](Session &session, MCommand &) {
             session.rollbackTransaction();
             return QString();
         }},
    } + LookupCommandForms();
    return forms;
}

} // namespace

void RequireContext(Session &session, const QString &command)
{
    if (!session.hasContext()) {
        throw AccessError(ErrorNumber::NoSessionContext,
                          u"Der Befehl \"" + command + u"\" braucht Firma, Filiale und Personal der Sitzung "
                              u"(S FIRMA=...,FIL=...,PERSONAL=\"...\").");
    }
}

QString ExecuteCommand(Session &session, const QString &command)
{
    session.ensureOpen();
    // A command may change the firm of the session or data: the articles
    // held for the last query are not answered after one.
    session.articleCache().clear();
    for (const CommandForm &form : commandForms()) {
        if (form.exact ? command == form.head : command.startsWith(form.head)) {
            MCommand args(command, form.head.size());
            return form.run(session, args);
        }
    }
    if (command.isEmpty())
        throw AccessError(ErrorNumber::UnknownCommand, u"Leerer Befehl für Xecute."_s);
    throw AccessError(ErrorNumber::UnknownCommand, u"Unbekannter Befehl \"" + command + u"\" für Xecute.");
}

} // namespace store
