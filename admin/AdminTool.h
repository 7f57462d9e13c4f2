#pragma once

#include <QStringList>

class QTextStream;

namespace admin {

// tolven-admin: creates, checks and fills databases. Returns the exit code.
int RunAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace admin
