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

// Why field cannot take text when the server keeps or hands it on in its
// 7-bit form: text holds one of the characters with which that form writes
// umlauts ("\" for Ö), and the windows that show the server form in display
// form would show the umlaut instead. Empty when it can.
QString SevenBitComplaint(const QString &field, QStringView text);

} // namespace tolven
