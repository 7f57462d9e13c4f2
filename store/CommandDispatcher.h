#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace store {

class MCommand;
class Session;

// TV.Windows.Xecute: runs one of the fixed M commands the client sends and
// returns what it writes. Anything else is an error naming the command;
// nothing is ever evaluated.
QString ExecuteCommand(Session &session, const QString &command);

// One command form: a fixed beginning, then arguments read strictly.
struct CommandForm
{
    QString head;     // the command's fixed beginning
    bool exact;       // the whole command is head
    std::function<QString(Session &, MCommand &)> run;
};

// Throws unless "S FIRMA=..." has set the session's firm, branch and person.
void RequireContext(Session &session, const QString &command);

// The forms of the article and supplier look-up routines (^TVCLSU and the
// supplier name).
QList<CommandForm> LookupCommandForms();

} // namespace store
