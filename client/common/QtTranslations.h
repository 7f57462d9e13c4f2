#pragma once

namespace tolven {

// Loads Qt's own German texts (the buttons of message boxes, the context menu
// of text fields, the file and print dialogs) for the user's German locale,
// or for Germany when the user's locale is not German: the client speaks
// German only. False when Debian's qt6-translations-l10n is missing; Qt's
// English texts remain then.
bool InstallQtTranslations();

} // namespace tolven
