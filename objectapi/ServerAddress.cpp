#include "ServerAddress.h"

#include <QStandardPaths>

namespace tolven {

QString DefaultServerAddress()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + u"/TOLVEN/konkur/tolven.db";
}

QString ConnectStringFor(const QString &serverAddress, const QString &port)
{
    return u"cn_iptcp:" + serverAddress + u'[' + port + u"]:TOLVEN";
}

} // namespace tolven
