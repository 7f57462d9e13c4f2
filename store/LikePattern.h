#pragma once

#include <QString>

namespace store {

// LIKE patterns that mean the same on SQLite and PostgreSQL: PostgreSQL takes
// "\" as LIKE's escape by default and SQLite takes none, so every pattern of
// the store names its escape character and escapes what it matches literally.
// Use as "column LIKE ? ESCAPE '!'".
inline constexpr char16_t LikeEscape = u'!';

QString EscapeLike(const QString &text);
// Matches text anywhere.
inline QString ContainsPattern(const QString &text) { return u'%' + EscapeLike(text) + u'%'; }
// Matches values that start with text.
inline QString PrefixPattern(const QString &text) { return EscapeLike(text) + u'%'; }

} // namespace store
