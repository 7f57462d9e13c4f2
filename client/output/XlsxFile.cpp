#include "XlsxFile.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <memory>

#include "common/CellNumber.h"
#include "common/DisplayFormat.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Excel counts days from 1900 and ends with 9999.
bool ExcelKnows(const QDate &date)
{
    return date.isValid() && date.year() >= 1900 && date.year() <= 9999;
}

// The library's error in German, its own text beside what it does not explain.
QString Reason(lxw_error error)
{
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return u"Nicht genug Arbeitsspeicher."_s;
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return u"Zwischendatei nicht schreib- oder lesbar (Plattenplatz?)."_s;
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        return u"Text länger als die 32767 Zeichen, die eine Excel-Zelle fasst."_s;
    default:
        return u"Fehler der Excel-Bibliothek: "_s + QString::fromUtf8(lxw_strerror(error));
    }
}

// Builds the sheet and remembers the first thing that went wrong.
class SheetWriter
{
public:
    SheetWriter(lxw_workbook *workbook, const QList<ExportColumn> &columns, const QLocale &locale)
        : m_sheet(workbook_add_worksheet(workbook, "Konkurerber"))
        , m_bold(workbook_add_format(workbook))
        , m_date(workbook_add_format(workbook))
        , m_price(workbook_add_format(workbook))
        , m_columns(columns)
        , m_locale(locale)
        , m_widths(columns.size(), 0)
    {
        format_set_bold(m_bold);
        format_set_num_format(m_date, "dd.mm.yyyy");
        format_set_num_format(m_price, "#,##0.00");
    }

    void header()
    {
        for (qsizetype column = 0; column < m_columns.size(); ++column)
            text(0, column, m_columns.at(column).caption, m_bold);
        worksheet_freeze_panes(m_sheet, 1, 0);
    }

    void row(lxw_row_t row, const ExportRow &cells)
    {
        const QList<ExportColumn> &columns = m_columns;
        for (qsizetype column = 0; column < columns.size() && column < cells.size(); ++column) {
            const QVariant &cell = cells.at(column);
            switch (columns.at(column).kind) {
            case ExportKind::Date:
                if (const QDate date = dateOf(cell); ExcelKnows(date)) {
                    lxw_datetime when{date.year(), date.month(), date.day(), 0, 0, 0.0};
                    check(worksheet_write_datetime(m_sheet, row, col(column), &when, m_date), row, column);
                    widen(column, 10);
                    continue;
                }
                break;
            case ExportKind::Number:
            case ExportKind::Quantity:
            case ExportKind::Price:
                if (const std::optional<double> number = CellNumber(cell, m_locale)) {
                    const bool price = columns.at(column).kind == ExportKind::Price;
                    check(worksheet_write_number(m_sheet, row, col(column), *number, price ? m_price : nullptr),
                          row, column);
                    widen(column,
                          ExportText(*number, columns.at(column).kind, m_locale).size());
                    continue;
                }
                break;
            case ExportKind::Text:
                break;
            }
            const bool date = cell.typeId() == QMetaType::QDate;
            text(row, column, date ? ExportText(cell, ExportKind::Date, m_locale) : cell.toString(), nullptr);
        }
    }

    // Columns as wide as their widest cell, a little room for the bold header.
    void sizeColumns()
    {
        for (qsizetype column = 0; column < m_widths.size(); ++column)
            worksheet_set_column(m_sheet, col(column), col(column), std::min(m_widths.at(column) + 2.0, 80.0),
                                 nullptr);
    }

    const QString &error() const { return m_error; }

private:
    static lxw_col_t col(qsizetype column) { return static_cast<lxw_col_t>(column); }

    static QDate dateOf(const QVariant &cell)
    {
        return cell.typeId() == QMetaType::QDate ? cell.toDate() : ParseDisplayDate(cell.toString());
    }

    void text(lxw_row_t row, qsizetype column, const QString &value, lxw_format *format)
    {
        if (value.isEmpty())
            return;
        check(worksheet_write_string(m_sheet, row, col(column), value.toUtf8().constData(), format), row, column);
        widen(column, value.size() + (format ? 1 : 0));
    }

    void widen(qsizetype column, qsizetype characters)
    {
        m_widths[column] = std::max(m_widths.at(column), double(characters));
    }

    void check(lxw_error result, lxw_row_t row, qsizetype column)
    {
        if (result == LXW_NO_ERROR || !m_error.isEmpty())
            return;
        m_error = u"Zeile " + QString::number(row + 1) + u", Spalte „" + m_columns.at(column).caption
            + u"“: " + Reason(result);
    }

    lxw_worksheet *m_sheet;
    lxw_format *m_bold;
    lxw_format *m_date;
    lxw_format *m_price;
    QList<ExportColumn> m_columns;
    QLocale m_locale;
    QList<double> m_widths;
    QString m_error;
};

} // namespace

std::optional<QByteArray> XlsxBytes(const ExportTable &table, QString *error, const QLocale &locale)
{
    // The library writes a file of its own; it is read back so that the
    // caller can put it in place as a whole.
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        *error = u"Kein Platz für Zwischendateien: "_s + folder.errorString();
        return std::nullopt;
    }
    const QString path = folder.filePath(u"konkurexp.xlsx"_s);
    QByteArray tempFolder = QFile::encodeName(folder.path());
    lxw_workbook_options options{};
    options.tmpdir = tempFolder.data();
    lxw_workbook *workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook) {
        *error = u"Die Excel-Datei konnte nicht angelegt werden."_s;
        return std::nullopt;
    }
    SheetWriter sheet(workbook, table.columns, locale);
    sheet.header();
    lxw_row_t row = 1;
    for (const ExportRow &cells : table.rows)
        sheet.row(row++, cells);
    sheet.sizeColumns();
    const lxw_error closed = workbook_close(workbook); // frees the workbook in any case
    if (!sheet.error().isEmpty() || closed != LXW_NO_ERROR) {
        *error = !sheet.error().isEmpty() ? sheet.error() : Reason(closed);
        return std::nullopt;
    }
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly)) {
        *error = written.errorString();
        return std::nullopt;
    }
    return written.readAll();
}

} // namespace tolven
