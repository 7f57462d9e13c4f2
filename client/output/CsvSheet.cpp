// The CSV reader of SheetFile.h.
#include "SheetFile.h"

#include <QStringDecoder>

#include "output/SheetBuilder.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The text of the file: UTF-8 after its byte-order mark (refused when it is
// no UTF-8) or when it is valid UTF-8, else Windows-1252, in which every
// byte is a character.
std::optional<QString> DecodedText(const QByteArray &bytes, QString *error)
{
    static const QByteArray utf8Mark("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Mark)) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = decoder.decode(QByteArrayView(bytes).sliced(utf8Mark.size()));
        if (decoder.hasError()) {
            *error = UnreadableFile(u"sie beginnt als UTF-8-Datei, enthält aber Bytes, die kein UTF-8 sind."_s);
            return std::nullopt;
        }
        return text;
    }
    // Without the mark, text that is valid UTF-8 and not plain ASCII was
    // written so (LibreOffice's default): in Windows-1252 text its byte
    // sequences hardly ever occur.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        *error = UnreadableFile(u"der Zeichensatz Windows-1252 steht auf diesem System nicht zur Verfügung."_s);
        return std::nullopt;
    }
    return decoder.decode(bytes);
}

} // namespace

std::optional<SheetTable> ReadCsvSheet(const QByteArray &bytes, QString *error, const SheetLimits &limits)
{
    if (bytes.size() > limits.fileBytes) {
        *error = UnreadableFile(u"sie ist größer als " + QString::number(limits.fileBytes / (1024 * 1024)) + u" MB.");
        return std::nullopt;
    }
    const std::optional<QString> decoded = DecodedText(bytes, error);
    if (!decoded)
        return std::nullopt;
    const QString &text = *decoded;
    if (text.contains(QChar(0))) {
        *error = UnreadableFile(u"sie enthält Nullbytes und ist keine Textdatei."_s);
        return std::nullopt;
    }

    SheetBuilder sheet(limits);
    int line = 1;       // the line the reader stands on
    int rowLine = 1;    // the line the current row started on
    int column = 0;
    QString field;
    const qsizetype size = text.size();
    qsizetype i = 0;
    bool ok = true;
    const auto endField = [&] {
        ok = sheet.cell(column, field);
        field.clear();
        ++column;
    };
    const auto endRow = [&] {
        ok = ok && sheet.endRow(rowLine);
        column = 0;
        rowLine = line;
    };
    while (ok && i < size) {
        sheet.setLine(rowLine);
        const QChar c = text.at(i);
        if (c == u'"' && field.isEmpty()) {
            // A quoted field: up to the quote that is not doubled.
            const int startLine = line;
            ++i;
            bool closed = false;
            while (i < size) {
                const QChar q = text.at(i);
                if (q == u'"') {
                    if (i + 1 < size && text.at(i + 1) == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (q == u'\n')
                    ++line;
                field += q;
                ++i;
                if (field.size() > limits.cellCharacters)
                    break;
            }
            if (field.size() > limits.cellCharacters) {
                ok = sheet.cell(column, field);
                break;
            }
            if (!closed) {
                ok = sheet.fail(u"Zeile " + QString::number(startLine)
                                + u": ein Feld in Anführungszeichen wird nicht geschlossen (Datei abgeschnitten?).");
                break;
            }
            // What follows the closing quote up to the separator belongs to
            // the field, as spreadsheets read it.
            continue;
        }
        if (c == u';') {
            endField();
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            endField();
            if (!ok)
                break;
            i += (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n') ? 2 : 1;
            ++line;
            endRow();
            continue;
        }
        field += c;
        ++i;
        if (field.size() > limits.cellCharacters) {
            ok = sheet.cell(column, field);
            break;
        }
    }
    if (ok && (column > 0 || !field.isEmpty())) {
        endField();
        endRow();
    }
    if (!sheet.error().isEmpty()) {
        *error = UnreadableFile(sheet.error());
        return std::nullopt;
    }
    SheetTable table = sheet.take();
    if (table.header.isEmpty()) {
        *error = UnreadableFile(u"sie ist leer."_s);
        return std::nullopt;
    }
    return table;
}

} // namespace tolven
