#include "LikePattern.h"

namespace store {

QString EscapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == u'%' || ch == u'_' || ch == LikeEscape)
            escaped += LikeEscape;
        escaped += ch;
    }
    return escaped;
}

} // namespace store
