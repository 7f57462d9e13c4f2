#include "TextCheck.h"

#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The character at pos, negated for the message: "keinen Tabulator".
QString CharacterName(QStringView text, qsizetype pos)
{
    const char16_t ch = text[pos].unicode();
    switch (ch) {
    case u'\t':
        return u"keinen Tabulator"_s;
    case u'\n':
    case u'\r':
        return u"keinen Zeilenumbruch"_s;
    case 0x00:
        return u"kein Nullzeichen"_s;
    case 0x1B:
        return u"kein Escape-Zeichen"_s;
    default:
        break;
    }
    if (QChar::isSurrogate(ch))
        return u"kein unvollständiges Zeichen"_s;
    return u"kein Steuerzeichen (U+"_s + QString::number(ch, 16).toUpper().rightJustified(4, u'0') + u')';
}

} // namespace

qsizetype FirstForbiddenCharacter(QStringView text, bool multiLine)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (ch.isSurrogate())
            return i;
        if (ch.category() != QChar::Other_Control)
            continue;
        if (multiLine && (ch == u'\t' || ch == u'\n' || ch == u'\r'))
            continue;
        return i;
    }
    return -1;
}

QString ForbiddenCharacterComplaint(const QString &field, QStringView text, bool multiLine)
{
    const qsizetype pos = FirstForbiddenCharacter(text, multiLine);
    if (pos < 0)
        return {};
    return u"„"_s + field + u"“ darf " + CharacterName(text, pos) + u" enthalten (Zeichen " + QString::number(pos + 1)
        + u").";
}

QString SevenBitComplaint(const QString &field, QStringView text)
{
    static const QString umlautStandIns = u"[\\]{|}~õ"_s;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (umlautStandIns.contains(text[i])) {
            const QString ch(text[i]);
            return u"„"_s + field + u"“ darf kein „" + ch + u"“ enthalten (Zeichen " + QString::number(i + 1)
                + u"): der Server schreibt damit „" + ServerToDisplay(ch) + u"“.";
        }
    }
    return {};
}

} // namespace tolven
