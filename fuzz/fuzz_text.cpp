// The text helpers of the object interface: the conversions between server
// and display text, ReplaceText, Piece, the number readers and M literals.

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "objectapi/MLiteral.h"
#include "objectapi/Numbers.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;
using fuzz::Check;

namespace {

const QString ServerChars = u"[\\]{|}~\u00F5"_s;
const QString DisplayChars = u"\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF\u00A7"_s;
const QString Umlauts = u"\u00E4\u00F6\u00FC\u00DF\u00C4\u00D6\u00DC"_s;

bool ContainsAnyOf(const QString &text, const QString &chars)
{
    for (const QChar ch : chars) {
        if (text.contains(ch))
            return true;
    }
    return false;
}

qsizetype CountOf(const QString &text, const QString &chars)
{
    qsizetype n = 0;
    for (const QChar ch : text)
        n += chars.contains(ch) ? 1 : 0;
    return n;
}

// Upper case as the server's text wants it: every part between two ß upper-cased.
QString UpperKeepingSharpS(const QString &text)
{
    QStringList parts = text.split(u'\u00DF');
    for (QString &part : parts)
        part = part.toUpper();
    return parts.join(u'\u00DF');
}

void CheckConversions(const QString &text, bool upperCase)
{
    const QString source = upperCase ? UpperKeepingSharpS(text) : text;
    Check(tolven::ConvertText(text, u"XYZ"_s, upperCase) == source,
          "an unknown mode gives the text, upper-cased when asked", text);

    const QString display = tolven::ConvertText(text, u"TOLVEN"_s, upperCase);
    Check(display.size() == source.size() && !ContainsAnyOf(display, ServerChars),
          "TOLVEN maps character by character and leaves no server character", text);
    const QString keeping = tolven::ConvertText(text, u"TOLVENSZ"_s, upperCase);
    Check(keeping.size() == source.size() && keeping.count(u'|') == source.count(u'|')
              && keeping.count(u'\\') == source.count(u'\\'),
          "TOLVENSZ keeps | and \\", text);
    const QString server = tolven::ConvertText(text, u"GUITOLVEN"_s, upperCase);
    Check(server.size() == source.size() && !ContainsAnyOf(server, DisplayChars),
          "GUITOLVEN maps character by character and leaves no umlaut", text);
    const QString key = tolven::ConvertText(text, u"TOLVENSUCHE"_s, upperCase);
    Check(key.size() == source.size() + CountOf(source, u"\u00DF\u00C4\u00D6\u00DC"_s)
              && !ContainsAnyOf(key, u"\u00DF\u00C4\u00D6\u00DC"_s),
          "TOLVENSUCHE spells out every capital umlaut and ß in two letters", text);
    const QString rtf = tolven::ConvertText(text, u"RTF"_s, upperCase);
    Check(rtf.size() == source.size() + 3 * CountOf(source, Umlauts) && !ContainsAnyOf(rtf, Umlauts),
          "RTF escapes every umlaut in four characters", text);
}

void CheckRoundTrips(const QString &text)
{
    if (!ContainsAnyOf(text, ServerChars))
        Check(tolven::ServerToDisplay(tolven::DisplayToServer(text)) == text, "display to server and back", text);
    if (!ContainsAnyOf(text, DisplayChars))
        Check(tolven::DisplayToServer(tolven::ServerToDisplay(text)) == text, "server to display and back", text);
    const QString key = tolven::SearchKey(text);
    Check(!ContainsAnyOf(key, u"\u00DF\u00C4\u00D6\u00DC"_s), "a search key has no umlaut", text);
}

void CheckReplaceText(const QString &text, const QString &find, const QString &replacement)
{
    const QString whole = tolven::ReplaceText(text, find, replacement, true);
    const QString single = tolven::ReplaceText(text, find, replacement, false);
    if (find.isEmpty()) {
        Check(whole == text && single == text, "an empty find changes nothing", text);
        return;
    }
    qsizetype matches = 0;
    for (qsizetype at = text.indexOf(find); at >= 0; at = text.indexOf(find, at + find.size()))
        ++matches;
    Check(whole.size() == text.size() + matches * (replacement.size() - find.size()),
          "whole strings: every match, left to right without overlap, is replaced", text);
    const qsizetype firstChars = text.count(find.front());
    if (replacement.isEmpty()) {
        Check(single.size() == text.size() - firstChars && !single.contains(find.front()),
              "single characters: an empty replacement removes the character", text);
    } else {
        Check(single.size() == text.size() && single.count(replacement.front()) ==
                  text.count(replacement.front()) + (find.front() == replacement.front() ? 0 : firstChars),
              "single characters: the first character of find becomes that of the replacement", text);
    }
}

void CheckPiece(const QString &text, const QString &delimiter, int n)
{
    const QString fallback = u"\u2400default"_s;
    const QString piece = tolven::Piece(text, delimiter, n, fallback);
    QString expected = fallback;
    if (n >= 1) {
        const QStringList parts =
            delimiter.isEmpty() ? QStringList{text} : text.split(delimiter.front(), Qt::KeepEmptyParts);
        if (n <= parts.size() && !parts.at(n - 1).isEmpty())
            expected = parts.at(n - 1);
    }
    Check(piece == expected, "Piece gives the n-th field or the default", text);
}

void CheckNumbers(const QString &text)
{
    const double input = tolven::NumericInput(text);
    const float value = tolven::NumericValue(text);
    Check(std::isfinite(input) && std::isfinite(value), "typed numbers are finite", text);
    Check((input == 0.0) == (value == 0.0f) || std::fabs(input) < 1e-37 || std::fabs(input) > 3e38,
          "NumericValue and NumericInput read the same number", text);

    const double leading = tolven::LeadingNumber(text);
    Check(std::isfinite(leading), "a leading number is finite", text);
    Check(tolven::LeadingNumber(QString(text + u'x')) == leading, "the leading number stops at other characters",
          text);
    if (!text.startsWith(u'-') && !text.startsWith(u'+'))
        Check(tolven::LeadingNumber(QString(u'-' + text)) == -leading, "a minus sign negates the leading number",
              text);

    // The server form of a number reads back as the same number.
    for (const double number : {input, leading}) {
        const QString server = tolven::ServerNumber(number, 400);
        Check(tolven::LeadingNumber(server) == number && tolven::NumericInput(server) == number,
              "ServerNumber reads back", text + u" -> " + server);
        const QString shown = tolven::FormatNumber(number, tolven::NumberPattern::FourPlaces, QLocale::German);
        Check(std::fabs(tolven::NumericInput(shown) - number) <= 0.00005 + std::fabs(number) * 1e-15,
              "the four-place display form reads back within its rounding", text + u" -> " + shown);
    }
}

void CheckLiterals(const QString &text, qsizetype start)
{
    const QString quoted = tolven::MQuote(text);
    qsizetype pos = 0;
    QString value;
    Check(tolven::ParseMLiteral(quoted, pos, value) && value == text && pos == quoted.size(),
          "MQuote then ParseMLiteral gives the text back", text);

    // Read from anywhere in the text, a literal is exactly what MQuote writes.
    pos = start;
    value = u"unchanged"_s;
    if (tolven::ParseMLiteral(text, pos, value)) {
        Check(pos > start && pos <= text.size()
                  && QStringView(text).sliced(start, pos - start) == tolven::MQuote(value),
              "a literal read is the quoted form of its value", text);
    } else {
        Check(pos == start && value == u"unchanged", "a failed read changes nothing", text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size, 4);
    const QString &text = input.field(0);
    const bool upperCase = input.options & 1;
    const int n = (input.options >> 1) & 0x0F;

    CheckConversions(text, upperCase);
    CheckRoundTrips(text);
    CheckReplaceText(text, input.field(1), input.field(2));
    CheckPiece(text, input.field(3), n);
    CheckNumbers(text);
    CheckLiterals(text, text.isEmpty() ? 0 : n % (text.size() + 1));
    return 0;
}
