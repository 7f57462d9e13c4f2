#pragma once

#include <QString>

namespace tolven {

// The default server address: the per-user database file in the data folder
// of organisation "TOLVEN", application "konkur", whichever program asks.
QString DefaultServerAddress();

// "cn_iptcp:" + server + "[" + port + "]:TOLVEN". The namespace of the
// settings never enters it.
QString ConnectStringFor(const QString &serverAddress, const QString &port);

} // namespace tolven
