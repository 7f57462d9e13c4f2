#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace tolven {

// A table read from a spreadsheet file: the texts of its first row, which
// name the columns, and the rows below it. A cell holds text (QString), a
// number (double) or a date (QDate); an empty cell holds no value. Rows
// without any content are left out; each row keeps the line (CSV) or row
// number (xlsx) it stood on, counted from 1 with the header.
struct SheetTable
{
    QStringList header;
    QList<QList<QVariant>> rows;
    QList<int> lines;
};

// What a file may hold before it is refused: a file from outside must not
// take the program's memory, however it is made.
struct SheetLimits
{
    qint64 fileBytes = 64 * 1024 * 1024;
    // The parts of a workbook as unpacked: each, all together, and how much
    // larger than packed a part may be (a real sheet packs some 10 to 20 times).
    qint64 partBytes = 128 * 1024 * 1024;
    qint64 totalBytes = 256 * 1024 * 1024;
    qint64 packingRatio = 200;
    int cellCharacters = 32767; // what an Excel cell holds
    int rows = 250000;          // what the grid holds
    int columns = 16384;        // Excel's last column, XFD
    qint64 cells = 4000000;     // up to the last filled cell of each row
};

// The CSV file head office gets (";" between fields, fields in double quotes
// with quotes doubled as RFC 4180 has them): Windows-1252, or UTF-8 when the
// file starts with its byte-order mark, as Excel's "CSV UTF-8" writes it, or
// when it is valid UTF-8 throughout.
// Every cell is text. nullopt, and error says why in German, when the file
// cannot be read.
std::optional<SheetTable> ReadCsvSheet(const QByteArray &bytes, QString *error, const SheetLimits &limits = {});

// The first sheet of an Excel workbook (.xlsx): shared and inline strings as
// text, numbers as numbers, numbers in a date format as dates, the cached
// value of a formula. A workbook with a document type declaration is refused
// (it could declare entities that grow without end).
std::optional<SheetTable> ReadXlsxSheet(const QByteArray &bytes, QString *error, const SheetLimits &limits = {});

// A file by its content: a workbook when it is a ZIP archive, else CSV.
std::optional<SheetTable> ReadSheetFile(const QString &path, QString *error, const SheetLimits &limits = {});

} // namespace tolven
