#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <utility>

#include "objectapi/Windows1252.h"

// What the fuzz targets share: the bytes of an input read as option bits and
// texts, and the one way a target stops on a broken property.
namespace fuzz {

// The first byte gives option bits; the rest is text, read as UTF-8 or, when
// option bit 0x80 is set, as UTF-16 code units (lone surrogates included), so
// that every QString can occur. The text is cut into fields at U+0001.
struct Input
{
    std::uint8_t options = 0;
    QString text;
    QStringList fields;

    Input(const std::uint8_t *data, std::size_t size, qsizetype fieldCount)
    {
        if (size > 0) {
            options = data[0];
            ++data;
            --size;
        }
        if (options & 0x80) {
            text.resize(qsizetype(size / 2));
            for (qsizetype i = 0; i < text.size(); ++i)
                text[i] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
        } else {
            text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
        }
        fields = text.split(QChar(1));
        while (fields.size() < fieldCount)
            fields << QString();
    }

    const QString &field(qsizetype n) const { return fields.at(n); }
};

// A printable form of a text for the report of a broken property: every
// character outside printable ASCII as \uXXXX.
inline QByteArray Shown(const QString &text)
{
    QByteArray out;
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7F && ch != u'\\')
            out += char(ch.unicode());
        else
            out += "\\u" + QByteArray::number(ch.unicode(), 16).rightJustified(4, '0');
    }
    return out;
}

// What a text becomes in a Windows-1252 file: every character, or pair of
// surrogates, the code page lacks as one "?".
inline QString InWindows1252(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += u'?';
            ++i;
        } else {
            out += tolven::ToWindows1252(ch.unicode()) >= 0 ? ch : QChar(u'?');
        }
    }
    return out;
}

// Reports a broken property with what it was checked on and stops the run, so
// that libFuzzer keeps the input as a crash.
[[noreturn]] inline void Broken(const char *property, const QString &detail = {})
{
    std::fprintf(stderr, "\nBROKEN PROPERTY: %s\n  %s\n", property, Shown(detail).constData());
    std::fflush(stderr);
    std::abort();
}

// Checks a property. The detail (a text, a string expression or a function
// giving one) is only made when the property is broken: checks run on every
// execution.
template <typename Detail = QString>
inline void Check(bool holds, const char *property, Detail &&detail = {})
{
    if (holds)
        return;
    if constexpr (std::is_invocable_v<Detail>)
        Broken(property, detail());
    else
        Broken(property, QString(std::forward<Detail>(detail)));
}

} // namespace fuzz
