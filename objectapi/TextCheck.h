#pragma once

#include <QString>
#include <QStringView>

namespace tolven {

// What a text field may not hold: control characters (a tab and line breaks
// only where the text may have several lines) and half of a character whose
// other half is missing. Such characters come in by pasting; shown, printed
// or exported they would vanish or break the line, and the database would
// refuse or change some of them.
//
// The position (from 0) of the first such character, or -1.
qsizetype FirstForbiddenCharacter(QStringView text, bool multiLine);

// Why field cannot take text, a German sentence naming the field, the
// character and where it stands; empty when it can.
QString ForbiddenCharacterComplaint(const QString &field, QStringView text, bool multiLine);

// Why field, a code kept in the server's 7-bit form, cannot take text: it
// holds one of the characters that form writes umlauts with ("\" for Ö), which
// every window but the master-data ones would show as the umlaut. Empty when
// it can.
QString SevenBitCodeComplaint(const QString &field, QStringView text);

} // namespace tolven
