// The readers of the import. The first byte chooses: a CSV file of the
// bytes; the bytes as a workbook; or a workbook made of the bytes' parts
// (sheet, shared strings, styles, workbook, cut at byte 0x01) packed as Excel
// packs them, so that the XML readers are reached behind a valid archive.
// Whatever the input, the reader either refuses it with its message or
// gives a table within the limits. A CSV file written by the export of the
// input's fields reads back as those fields.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "FuzzSupport.h"
#include "output/CsvFile.h"
#include "output/ExportRows.h"
#include "output/SheetFile.h"

using namespace Qt::StringLiterals;
using fuzz::Check;

namespace {

// Small limits, so that a run reaches them.
tolven::SheetLimits Limits()
{
    tolven::SheetLimits limits;
    limits.fileBytes = 1 << 20;
    limits.partBytes = 1 << 20;
    limits.totalBytes = 2 << 20;
    limits.cellCharacters = 300;
    limits.rows = 50;
    limits.columns = 40;
    limits.cells = 400;
    return limits;
}

QByteArray Packed(const QList<std::pair<const char *, QByteArray>> &parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    QByteArray bytes;
    if (archive) {
        for (const auto &[name, content] : parts) {
            zip_source_t *source = zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
            if (zip_file_add(archive, name, source, ZIP_FL_OVERWRITE) < 0)
                zip_source_free(source);
        }
        if (zip_close(archive) != 0)
            zip_discard(archive);
        else if (zip_source_open(buffer) == 0) {
            zip_source_seek(buffer, 0, SEEK_END);
            bytes.resize(qsizetype(zip_source_tell(buffer)));
            zip_source_seek(buffer, 0, SEEK_SET);
            zip_source_read(buffer, bytes.data(), zip_uint64_t(bytes.size()));
            zip_source_close(buffer);
        }
    }
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

QByteArray WorkbookOf(const QList<QByteArray> &pieces)
{
    const auto piece = [&pieces](qsizetype n) { return pieces.value(n); };
    QByteArray workbook = piece(3);
    if (workbook.isEmpty())
        workbook = R"(<workbook xmlns:r="r"><sheets><sheet r:id="s1"/></sheets></workbook>)";
    return Packed({
        {"_rels/.rels", R"(<Relationships><Relationship Id="w" Type="x/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml", workbook},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships><Relationship Id="s1" Type="x/worksheet" Target="worksheets/sheet1.xml"/>)"
         R"(<Relationship Id="t" Type="x/sharedStrings" Target="sharedStrings.xml"/>)"
         R"(<Relationship Id="y" Type="x/styles" Target="styles.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>" + piece(0) + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", "<sst>" + piece(1) + "</sst>"},
        {"xl/styles.xml", "<styleSheet>" + piece(2) + "</styleSheet>"},
    });
}

void CheckTable(const std::optional<tolven::SheetTable> &table, const QString &error,
                const tolven::SheetLimits &limits)
{
    if (!table) {
        Check(error.startsWith(u"Die Datei kann nicht gelesen werden: "_s), "a refusal says why", error);
        return;
    }
    Check(!table->header.isEmpty(), "a table read has its header");
    Check(table->rows.size() == table->lines.size() && table->rows.size() <= limits.rows, "rows within the limit");
    int line = 1;
    for (qsizetype i = 0; i < table->rows.size(); ++i) {
        const QList<QVariant> &row = table->rows.at(i);
        Check(table->lines.at(i) > line, "rows stand on increasing lines after the header");
        line = table->lines.at(i);
        Check(!row.isEmpty() && row.size() <= limits.columns, "rows hold cells within the columns");
        for (const QVariant &cell : row) {
            if (cell.typeId() == QMetaType::QString)
                Check(!cell.toString().isEmpty() && cell.toString().size() <= limits.cellCharacters,
                      "a text cell holds text within the limit", cell.toString());
        }
    }
}

// The export's file of one row of the input's fields reads back as written.
void CheckExportReadsBack(const fuzz::Input &input)
{
    tolven::ExportTable table;
    tolven::ExportRow row;
    for (qsizetype i = 0; i < input.fields.size() && i < 8; ++i) {
        const QString field = input.field(i);
        if (field.contains(QChar(0)) || field.size() > 200)
            return;
        table.columns << tolven::ExportColumn{u"Spalte"_s + QString::number(i), int(i), tolven::ExportKind::Text};
        row << field;
    }
    table.rows << row;
    QString error;
    const std::optional<QByteArray> bytes = tolven::CsvBytes(table, &error);
    if (!bytes)
        return;
    const std::optional<tolven::SheetTable> read = tolven::ReadCsvSheet(*bytes, &error, Limits());
    Check(bool(read), "the export's file can be read", error);
    QList<QVariant> expected;
    for (const QVariant &field : row)
        expected << (field.toString().isEmpty() ? QVariant() : QVariant(fuzz::InWindows1252(field.toString())));
    while (!expected.isEmpty() && !expected.last().isValid())
        expected.removeLast();
    if (expected.isEmpty()) {
        Check(read->rows.isEmpty(), "an empty row is left out");
        return;
    }
    Check(read->rows.size() == 1 && read->rows.constFirst() == expected, "every field comes back",
          [&] { return read->rows.isEmpty() ? u"no row"_s : read->rows.constFirst().value(0).toString(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const tolven::SheetLimits limits = Limits();
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    QString error;
    switch (data[0] & 3) {
    case 0:
        CheckTable(tolven::ReadCsvSheet(bytes, &error, limits), error, limits);
        CheckExportReadsBack(fuzz::Input(data, size, 1));
        break;
    case 1:
        CheckTable(tolven::ReadXlsxSheet(bytes, &error, limits), error, limits);
        break;
    default:
        CheckTable(tolven::ReadXlsxSheet(WorkbookOf(bytes.split('\x01')), &error, limits), error, limits);
        break;
    }
    return 0;
}
