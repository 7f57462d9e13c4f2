#pragma once

#include <QString>

#include <memory>

#include "access/LoginSettings.h"
#include "objectapi/ServerAddress.h"

class QSettings;

namespace tolven {

// The title of the connection's and the server window's boxes.
inline const QString LoginTitle = QString::fromUtf16(u"Anmeldung an Caché");

// Where the connection settings are kept: the user's settings of application
// "Cache Login", section "Login".
std::unique_ptr<QSettings> OpenLoginSettings();

// The settings store into the login context and into the fields of the
// server settings window and the login window: the login's own step.
void LoadConnectionSettings();
// The settings store into the fields of the two windows only. Firm, branch,
// person and server of a running session change by a login that succeeds,
// never by storing settings: what is stored counts from the next login on.
void ShowConnectionSettings();
// The login window's fields and the server window's accepted values (when
// they are usable) into the settings store.
void SaveConnectionSettings();
// Takes the settings from the command line or the store, shows the login
// window when no complete remembered login exists, and builds ConnectString.
// False when the program is ending instead.
bool PrepareConnection();
// Makes sure the connection stands: reconnects (three attempts, then the
// program ends) and sets firm, branch and person on each new connection.
// Throws AccessError when setting them fails. False when no connection stands.
bool EnsureConnected();
// Connects when there is no connection, then brackets a server call
// (BeginServerCall; EndServerCall or ReportAccessError ends it). False when
// no connection could be made: the user has been told, and there is no call
// to end. Throws AccessError as EnsureConnected does.
bool BeginConnectedCall(bool showWait);
// Stops the idle timer and drops the connection; never fails.
void Disconnect();

} // namespace tolven
