#pragma once

#include <QString>

namespace tolven {

// The line end of message texts and of the files the client writes.
inline constexpr QStringView Crlf = u"\r\n";

// The server keeps German text in a 7-bit form: "[", "\", "]", "{", "|", "}"
// and "~" stand for Ä, Ö, Ü, ä, ö, ü and ß, and "õ" for §.
//
// Modes: "TOLVEN" server to display, "TOLVENSZ" the same keeping "|" and "\",
// "GUITOLVEN" display to server, "TOLVENSUCHE" search key (umlauts spelled
// out), "RTF" escapes for rich text. Any other mode returns the text, upper-cased
// when asked, unchanged.
QString ConvertText(const QString &text, const QString &mode, bool upperCase = true);

// Replaces every occurrence of find, scanning left to right. Unless
// wholeStrings is set, only the first character of find and replacement counts.
QString ReplaceText(const QString &text, const QString &find, const QString &replacement,
                    bool wholeStrings = false);

// The n-th field (from 1) of text split at the one-character delimiter, or
// defaultValue when that field is empty.
QString Piece(const QString &text, const QString &delimiter, int n, const QString &defaultValue = {});

// Server text to display text (mode "TOLVEN", case kept).
QString ServerToDisplay(const QString &text);
// Display text to server text (mode "GUITOLVEN", case kept).
QString DisplayToServer(const QString &text);
// The upper-case search key of a display text (mode "TOLVENSUCHE").
QString SearchKey(const QString &text);

} // namespace tolven
