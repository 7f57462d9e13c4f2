#pragma once

class QLineEdit;

namespace tolven {

// Checks personnel code and password against the personnel record, fills the
// login context and sets firm, branch and person on the server. True when
// somebody is logged in; false after a wrong password, an unknown or inactive
// user or a server error (each already shown to the user), or when the
// program is ending.
bool Login();

// The login window's "Anmelden": stores the settings.
void Sichern();

// Selects the whole text of field; moves the focus there unless noFocus.
void SelectAllText(QLineEdit *field, bool noFocus);

} // namespace tolven
