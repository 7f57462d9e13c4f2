#include "TextConversion.h"

#include <QChar>
#include <QStringView>

#include <span>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

struct CharSwap {
    char16_t from;
    char16_t to;
};

struct Spelling {
    char16_t from;
    QStringView to;
};

// In every table below no output character is also an input of the same
// table, so one pass over the text gives what replacing entry by entry in
// table order would give. These run on every row of large result sets.

constexpr CharSwap kServerToDisplay[] = {
    {u'{', u'ä'}, {u'|', u'ö'}, {u'}', u'ü'}, {u'~', u'ß'},
    {u'[', u'Ä'}, {u'\\', u'Ö'}, {u']', u'Ü'}, {u'õ', u'§'},
};

// Fields read this way hold "|" and "\" as real characters.
constexpr CharSwap kServerToDisplayKeepingBars[] = {
    {u'{', u'ä'}, {u'}', u'ü'}, {u'~', u'ß'},
    {u'[', u'Ä'}, {u']', u'Ü'}, {u'õ', u'§'},
};

constexpr CharSwap kDisplayToServer[] = {
    {u'ä', u'{'}, {u'ö', u'|'}, {u'ü', u'}'}, {u'ß', u'~'},
    {u'Ä', u'['}, {u'Ö', u'\\'}, {u'Ü', u']'}, {u'§', u'õ'},
};

// Search keys are upper case, so only the capital umlauts are spelled out.
constexpr Spelling kSearchKey[] = {
    {u'ß', u"SS"}, {u'Ä', u"AE"}, {u'Ö', u"OE"}, {u'Ü', u"UE"},
};

// The capital C in the escape for Ä is deliberate: existing documents carry
// exactly these escapes.
constexpr Spelling kRtf[] = {
    {u'ä', u"\\'e4"}, {u'ö', u"\\'f6"}, {u'ü', u"\\'fc"}, {u'ß', u"\\'df"},
    {u'Ä', u"\\'C4"}, {u'Ö', u"\\'d6"}, {u'Ü', u"\\'dc"},
};

template <typename Entry>
const Entry *lookUp(std::span<const Entry> table, QChar c)
{
    for (const Entry &entry : table) {
        if (entry.from == c.unicode())
            return &entry;
    }
    return nullptr;
}

QString swapChars(QString text, std::span<const CharSwap> table)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const CharSwap *swap = lookUp(table, text.at(i)))
            text[i] = QChar(swap->to);
    }
    return text;
}

QString spellOut(const QString &text, std::span<const Spelling> table)
{
    QString out;
    qsizetype copied = 0; // text before this index is already in out
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Spelling *spelling = lookUp(table, text.at(i));
        if (!spelling)
            continue;
        if (copied == 0)
            out.reserve(text.size() + 16);
        out.append(QStringView(text).sliced(copied, i - copied));
        out.append(spelling->to);
        copied = i + 1;
    }
    if (copied == 0)
        return text;
    out.append(QStringView(text).sliced(copied));
    return out;
}

// QString::toUpper spells ß as "SS"; our texts keep the ß.
QString upperKeepingSharpS(const QString &text)
{
    qsizetype at = text.indexOf(u'ß');
    if (at < 0)
        return text.toUpper();
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    while (at >= 0) {
        out += text.sliced(from, at - from).toUpper();
        out += u'ß';
        from = at + 1;
        at = text.indexOf(u'ß', from);
    }
    out += text.sliced(from).toUpper();
    return out;
}

} // namespace

QString ConvertText(const QString &text, const QString &mode, bool upperCase)
{
    const QString source = upperCase ? upperKeepingSharpS(text) : text;
    const QStringView m(mode);
    if (m == u"TOLVEN")
        return swapChars(source, kServerToDisplay);
    if (m == u"GUITOLVEN")
        return swapChars(source, kDisplayToServer);
    if (m == u"TOLVENSZ")
        return swapChars(source, kServerToDisplayKeepingBars);
    if (m == u"TOLVENSUCHE")
        return spellOut(source, kSearchKey);
    if (m == u"RTF")
        return spellOut(source, kRtf);
    return source;
}

QString ReplaceText(const QString &text, const QString &find, const QString &replacement,
                    bool wholeStrings)
{
    // An empty find would match everywhere.
    if (find.isEmpty())
        return text;
    QString out = text;
    if (wholeStrings)
        return out.replace(find, replacement); // left to right, matches never overlap
    if (replacement.isEmpty())
        return out.remove(find.front());
    return out.replace(find.front(), replacement.front());
}

QString Piece(const QString &text, const QString &delimiter, int n, const QString &defaultValue)
{
    if (n < 1)
        return defaultValue;
    // Without a delimiter the whole text is the one field.
    if (delimiter.isEmpty())
        return n == 1 && !text.isEmpty() ? text : defaultValue;

    const QChar separator = delimiter.front();
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype at = text.indexOf(separator, start);
        if (at < 0)
            return defaultValue;
        start = at + 1;
    }
    qsizetype end = text.indexOf(separator, start);
    if (end < 0)
        end = text.size();
    if (end == start)
        return defaultValue;
    return text.sliced(start, end - start);
}

QString ServerToDisplay(const QString &text)
{
    return ConvertText(text, u"TOLVEN"_s, false);
}

QString DisplayToServer(const QString &text)
{
    return ConvertText(text, u"GUITOLVEN"_s, false);
}

QString SearchKey(const QString &text)
{
    return ConvertText(text, u"TOLVENSUCHE"_s, true);
}

} // namespace tolven
