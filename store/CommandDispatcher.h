#pragma once

#include <QString>

namespace store {

class Session;

// TV.Windows.Xecute: runs one of the fixed M commands the client sends and
// returns what it writes. Anything else is an error naming the command;
// nothing is ever evaluated.
QString ExecuteCommand(Session &session, const QString &command);

} // namespace store
