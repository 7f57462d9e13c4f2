// The CSV file for head office: rows of the fuzzer's texts written, then the
// file split back as RFC 4180 with ";" and decoded from Windows-1252 must give
// every field back, with "?" for each character the code page lacks.

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzSupport.h"
#include "objectapi/Windows1252.h"
#include "output/CsvFile.h"
#include "output/ExportRows.h"
#include "positions/PositionExport.h"

using namespace Qt::StringLiterals;
using fuzz::Check;

namespace {

QString Decoded(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(tolven::FromWindows1252(static_cast<unsigned char>(byte)));
    return text;
}

// Splits the file into records of fields: RFC 4180 with ";", CR LF ending
// every record. A plain field holds no ";", quote or line break; a quoted one
// ends at a quote that is not doubled, followed by ";" or CR LF.
QList<QStringList> Split(const QByteArray &file)
{
    const auto shown = [&file] { return Decoded(file); };
    QList<QStringList> records;
    QStringList fields;
    qsizetype i = 0;
    while (i < file.size()) {
        QByteArray field;
        if (file[i] == '"') {
            ++i;
            for (;;) {
                Check(i < file.size(), "a quoted field is closed", shown);
                if (file[i] == '"') {
                    if (i + 1 < file.size() && file[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += file[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < file.size() && file[i] != ';' && file[i] != '\r') {
                Check(file[i] != '"' && file[i] != '\n', "a plain field holds no quote or line feed", shown);
                ++i;
            }
            field = file.sliced(start, i - start);
        }
        fields << Decoded(field);
        Check(i < file.size(), "every record ends with CR LF", shown);
        if (file[i] == ';') {
            ++i;
            continue;
        }
        Check(file.mid(i, 2) == "\r\n", "a field ends at ; or CR LF", shown);
        i += 2;
        records << fields;
        fields.clear();
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size, 1);
    const QList<tolven::ExportColumn> &columns = tolven::PositionExportColumns();

    // The texts fill rows of the export's columns; an option bit puts a date
    // and a number into their columns too.
    QList<tolven::ExportRow> rows;
    QList<QStringList> expected;
    for (qsizetype at = 0; at < input.fields.size(); at += columns.size()) {
        tolven::ExportRow row;
        QStringList texts;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const QString text = at + c < input.fields.size() ? input.field(at + c) : QString();
            QVariant cell = text;
            if ((input.options & 1) && columns.at(c).kind == tolven::ExportKind::Date)
                cell = QDate::fromJulianDay(2400000 + text.size() * 977);
            else if ((input.options & 2) && columns.at(c).kind == tolven::ExportKind::Number)
                cell = text.size() * 1.25 - 3;
            row << cell;
            texts << fuzz::InWindows1252(tolven::ExportText(cell, columns.at(c).kind, QLocale::German));
        }
        rows << row;
        expected << texts;
    }

    for (const QString &field : input.fields) {
        const QString written = tolven::CsvField(field);
        const bool plain = !field.contains(u';') && !field.contains(u'"') && !field.contains(u'\r')
            && !field.contains(u'\n');
        Check(plain ? written == field : written.startsWith(u'"') && written.endsWith(u'"'),
              "a field is quoted exactly when it must be", field);
    }

    QString error;
    const std::optional<QByteArray> file = tolven::CsvBytes({columns, rows}, &error, QLocale::German);
    Check(file.has_value(), "the CSV file is written", error);
    const QList<QStringList> records = Split(*file);
    QStringList header;
    for (const tolven::ExportColumn &column : columns)
        header << column.caption;
    Check(records.size() == rows.size() + 1 && records.first() == header, "the header and one record per row",
          input.text);
    for (qsizetype r = 0; r < rows.size(); ++r)
        Check(records.at(r + 1) == expected.at(r), "every field reads back",
              [&] { return records.at(r + 1).join(u"|") + u" expected " + expected.at(r).join(u"|"); });
    return 0;
}
