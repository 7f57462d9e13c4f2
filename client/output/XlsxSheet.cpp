// The workbook reader of SheetFile.h: the ZIP package through libzip, its
// XML parts through QXmlStreamReader.
#include "SheetFile.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

#include <zip.h>

#include <cmath>
#include <memory>

#include "output/SheetBuilder.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The ZIP archive of a workbook in memory, its parts read within the limits.
class Package
{
public:
    Package(const QByteArray &bytes, const SheetLimits &limits)
        : m_limits(limits)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
        if (source) {
            m_archive.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
            if (!m_archive)
                zip_source_free(source);
        }
        if (!m_archive)
            m_error = u"sie ist kein lesbares ZIP-Archiv (keine Excel-Datei oder beschädigt)."_s;
        zip_error_fini(&error);
    }

    bool isOpen() const { return bool(m_archive); }
    const QString &error() const { return m_error; }
    bool has(const QString &name) const
    {
        return m_archive && zip_name_locate(m_archive.get(), name.toUtf8().constData(), 0) >= 0;
    }

    // The part's bytes; nullopt (and error()) when it is missing, larger
    // than the limits, or packed suspiciously tight.
    std::optional<QByteArray> part(const QString &name)
    {
        const QByteArray zipName = name.toUtf8();
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat(m_archive.get(), zipName.constData(), 0, &stat) != 0) {
            m_error = u"der Teil „" + name + u"“ fehlt (keine Excel-Datei?).";
            return std::nullopt;
        }
        const bool sized = (stat.valid & ZIP_STAT_SIZE) && (stat.valid & ZIP_STAT_COMP_SIZE);
        if (!sized || stat.size > zip_uint64_t(m_limits.partBytes)
            || m_total + qint64(stat.size) > m_limits.totalBytes) {
            m_error = u"ihr Teil „" + name + u"“ wäre entpackt größer als "
                + QString::number(m_limits.partBytes / (1024 * 1024)) + u" MB.";
            return std::nullopt;
        }
        // Small parts may pack tightly (a run of empty cells); a large one
        // that did is made to fill the memory.
        if (stat.size > 1024 * 1024 && stat.size / std::max<zip_uint64_t>(stat.comp_size, 1)
                                           > zip_uint64_t(m_limits.packingRatio)) {
            m_error = u"ihr Teil „" + name + u"“ ist über das " + QString::number(m_limits.packingRatio)
                + u"-fache gepackt (eine sogenannte ZIP-Bombe?).";
            return std::nullopt;
        }
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen(m_archive.get(), zipName.constData(), 0),
                                                                 &zip_fclose);
        if (!file) {
            m_error = u"ihr Teil „" + name + u"“ kann nicht entpackt werden.";
            return std::nullopt;
        }
        // Read one byte more than stated: an archive that lies about the
        // size is stopped there.
        QByteArray bytes(qsizetype(stat.size) + 1, Qt::Uninitialized);
        qsizetype read = 0;
        while (read < bytes.size()) {
            const zip_int64_t n = zip_fread(file.get(), bytes.data() + read, zip_uint64_t(bytes.size() - read));
            if (n < 0) {
                m_error = u"ihr Teil „" + name + u"“ ist beschädigt: "
                    + QString::fromUtf8(zip_file_strerror(file.get()));
                return std::nullopt;
            }
            if (n == 0)
                break;
            read += qsizetype(n);
        }
        if (read != qsizetype(stat.size)) {
            m_error = u"ihr Teil „" + name + u"“ hat nicht die Größe, die das Archiv angibt.";
            return std::nullopt;
        }
        bytes.truncate(read);
        m_total += read;
        return bytes;
    }

private:
    struct Close
    {
        void operator()(zip_t *archive) const { zip_discard(archive); }
    };

    SheetLimits m_limits;
    std::unique_ptr<zip_t, Close> m_archive;
    qint64 m_total = 0;
    QString m_error;
};

// Reads one XML part element by element; a document type declaration,
// which could declare entities, or any XML error, ends it with a message.
class PartReader
{
public:
    PartReader(const QByteArray &bytes, const QString &name)
        : m_xml(bytes)
        , m_name(name)
    {
    }

    // The next start element of the part; false at its end or an error.
    bool nextStart()
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::DTD) {
                m_refused = u"ihr Teil „" + m_name
                    + u"“ enthält eine Dokumenttypdeklaration (DTD); solche Dateien werden nicht gelesen.";
                return false;
            }
            if (token == QXmlStreamReader::EntityReference) {
                m_refused = u"ihr Teil „" + m_name + u"“ verwendet eine unbekannte XML-Entität.";
                return false;
            }
            if (token == QXmlStreamReader::StartElement)
                return true;
        }
        return false;
    }

    QStringView name() const { return m_xml.name(); }
    QString attribute(QStringView name) const
    {
        // The relationship ids come with their namespace prefix; every
        // attribute meant here has a name of its own in its element.
        for (const QXmlStreamAttribute &attribute : m_xml.attributes()) {
            if (attribute.name() == name)
                return attribute.value().toString();
        }
        return {};
    }
    QString text() { return m_xml.readElementText(QXmlStreamReader::IncludeChildElements); }
    void skip() { m_xml.skipCurrentElement(); }

    // Why the part could not be read; empty when it could.
    QString error() const
    {
        if (!m_refused.isEmpty())
            return m_refused;
        if (m_xml.hasError())
            return u"ihr Teil „" + m_name + u"“ ist kein gültiges XML (" + m_xml.errorString() + u", Zeile "
                + QString::number(m_xml.lineNumber()) + u").";
        return {};
    }

private:
    QXmlStreamReader m_xml;
    QString m_name;
    QString m_refused;
};

// A part a workbook may lack: no bytes when it does (an empty part is none
// either), nullopt (and error) when it cannot be read.
std::optional<QByteArray> OptionalPart(Package &package, const QString &part, QString *error)
{
    if (part.isEmpty() || !package.has(part))
        return QByteArray();
    std::optional<QByteArray> bytes = package.part(part);
    if (!bytes)
        *error = package.error();
    return bytes;
}

// Where a relationship's target lies in the package, seen from the part
// whose relationships they are.
QString PartPath(const QString &from, const QString &target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList path = from.split(u'/');
    path.removeLast();
    for (const QString &piece : target.split(u'/')) {
        if (piece == u"..") {
            if (!path.isEmpty())
                path.removeLast();
        } else if (piece != u".") {
            path << piece;
        }
    }
    return path.join(u'/');
}

// The relationships of part: id to target path, and type to the first target.
struct Relationships
{
    QHash<QString, QString> byId;
    QHash<QString, QString> byType; // the last word of the type
};

std::optional<Relationships> ReadRelationships(Package &package, const QString &part, QString *error)
{
    const int slash = int(part.lastIndexOf(u'/'));
    const QString name = part.left(slash + 1) + u"_rels/" + part.mid(slash + 1) + u".rels";
    Relationships relationships;
    const std::optional<QByteArray> bytes = OptionalPart(package, name, error);
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return relationships;
    PartReader xml(*bytes, name);
    while (xml.nextStart()) {
        if (xml.name() != u"Relationship")
            continue;
        if (xml.attribute(u"TargetMode") == u"External")
            continue;
        const QString target = PartPath(part, xml.attribute(u"Target"));
        const QString type = xml.attribute(u"Type").section(u'/', -1);
        relationships.byId.insert(xml.attribute(u"Id"), target);
        if (!relationships.byType.contains(type))
            relationships.byType.insert(type, target);
    }
    if (const QString why = xml.error(); !why.isEmpty()) {
        *error = why;
        return std::nullopt;
    }
    return relationships;
}

// A number format that shows a date: the built-in date formats, and any
// format whose code has day or year outside quotes and brackets.
bool IsDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 17) || id == 22)
        return true;
    if (code.isEmpty())
        return false;
    bool quoted = false;
    bool bracketed = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i).toLower();
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'[')
            bracketed = true;
        else if (!quoted && c == u']')
            bracketed = false;
        else if (!quoted && c == u'\\')
            ++i;
        else if (!quoted && !bracketed && (c == u'd' || c == u'y'))
            return true;
    }
    return false;
}

// The cell styles (by index) whose number format is a date.
std::optional<QSet<int>> ReadDateStyles(Package &package, const QString &part, QString *error)
{
    QSet<int> dateStyles;
    const std::optional<QByteArray> bytes = OptionalPart(package, part, error);
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return dateStyles;
    PartReader xml(*bytes, part);
    QHash<int, QString> codes;
    int style = 0;
    bool inCellStyles = false;
    while (xml.nextStart()) {
        if (xml.name() == u"numFmt") {
            codes.insert(xml.attribute(u"numFmtId").toInt(), xml.attribute(u"formatCode"));
        } else if (xml.name() == u"cellXfs") {
            inCellStyles = true;
        } else if (xml.name() == u"cellStyleXfs" || xml.name() == u"dxfs") {
            inCellStyles = false;
            xml.skip();
        } else if (xml.name() == u"xf" && inCellStyles) {
            const int id = xml.attribute(u"numFmtId").toInt();
            if (IsDateFormat(id, codes.value(id)))
                dateStyles.insert(style);
            ++style;
        }
    }
    if (const QString why = xml.error(); !why.isEmpty()) {
        *error = why;
        return std::nullopt;
    }
    return dateStyles;
}

std::optional<QStringList> ReadSharedStrings(Package &package, const QString &part, const SheetLimits &limits,
                                             QString *error)
{
    QStringList strings;
    const std::optional<QByteArray> bytes = OptionalPart(package, part, error);
    if (!bytes)
        return std::nullopt;
    if (bytes->isEmpty())
        return strings;
    PartReader xml(*bytes, part);
    QString current;
    bool inString = false;
    while (xml.nextStart()) {
        if (xml.name() == u"si") {
            if (inString)
                strings << current;
            current.clear();
            inString = true;
        } else if (xml.name() == u"rPh") {
            xml.skip(); // the phonetic reading of East Asian text
        } else if (xml.name() == u"t") {
            current += xml.text();
            if (current.size() > limits.cellCharacters) {
                *error = u"ein Text der Datei ist länger als " + QString::number(limits.cellCharacters)
                    + u" Zeichen.";
                return std::nullopt;
            }
        }
    }
    if (inString)
        strings << current;
    if (const QString why = xml.error(); !why.isEmpty()) {
        *error = why;
        return std::nullopt;
    }
    return strings;
}

// The column of a reference such as "AB12", counted from 0; -1 without one.
int ColumnOf(const QString &reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && i < 4; ++i) {
        const char16_t c = reference.at(i).unicode();
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
    }
    return i == 0 ? -1 : column - 1;
}

// Excel's day numbers: from 30.12.1899 (with its 29.02.1900 that never
// was, so that the days before March count from one day later), or from
// 01.01.1904 in a workbook of that system.
QDate DateOfSerial(double serial, bool from1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465) // 31.12.9999
        return {};
    const qint64 day = qint64(std::floor(serial));
    if (from1904)
        return QDate(1904, 1, 1).addDays(day);
    return QDate(1899, 12, day < 61 ? 31 : 30).addDays(day);
}

struct Workbook
{
    QString sheet;
    bool from1904 = false;
};

std::optional<Workbook> ReadWorkbook(Package &package, const QString &part, QString *error)
{
    const std::optional<QByteArray> bytes = package.part(part);
    if (!bytes) {
        *error = package.error();
        return std::nullopt;
    }
    const std::optional<Relationships> relationships = ReadRelationships(package, part, error);
    if (!relationships)
        return std::nullopt;
    PartReader xml(*bytes, part);
    Workbook workbook;
    while (xml.nextStart()) {
        if (xml.name() == u"workbookPr") {
            const QString date1904 = xml.attribute(u"date1904");
            workbook.from1904 = date1904 == u"1" || date1904 == u"true";
        } else if (xml.name() == u"sheet" && workbook.sheet.isEmpty()) {
            workbook.sheet = relationships->byId.value(xml.attribute(u"id"));
        }
    }
    if (const QString why = xml.error(); !why.isEmpty()) {
        *error = why;
        return std::nullopt;
    }
    if (workbook.sheet.isEmpty()) {
        *error = u"die Arbeitsmappe hat kein Tabellenblatt."_s;
        return std::nullopt;
    }
    return workbook;
}

// The rows of the sheet part into sheet.
bool ReadSheetRows(const QByteArray &bytes, const QString &part, const QStringList &strings,
                   const QSet<int> &dateStyles, bool from1904, SheetBuilder &sheet)
{
    PartReader xml(bytes, part);
    int line = 0;
    int column = -1;
    bool inRow = false;
    QString type;
    int style = 0;
    const auto endRow = [&] { return !inRow || sheet.endRow(line); };
    while (xml.nextStart()) {
        if (xml.name() == u"row") {
            if (!endRow())
                return false;
            inRow = true;
            const int number = xml.attribute(u"r").toInt();
            line = number > line ? number : line + 1;
            sheet.setLine(line);
            column = -1;
        } else if (xml.name() == u"c") {
            const int referenced = ColumnOf(xml.attribute(u"r"));
            column = referenced >= 0 ? referenced : column + 1;
            type = xml.attribute(u"t");
            style = xml.attribute(u"s").toInt();
        } else if (xml.name() == u"v" || xml.name() == u"is") {
            const QString text = xml.text();
            QVariant value = text;
            if (type == u"s") {
                bool ok = false;
                const int index = text.toInt(&ok);
                if (!ok || index < 0 || index >= strings.size())
                    return sheet.fail(u"Zeile " + QString::number(line)
                                      + u": die Zelle verweist auf einen Text, den die Datei nicht hat.");
                value = strings.at(index);
            } else if (type.isEmpty() || type == u"n") {
                bool ok = false;
                const double number = text.toDouble(&ok);
                if (ok && std::isfinite(number)) {
                    value = number;
                    if (dateStyles.contains(style)) {
                        if (const QDate date = DateOfSerial(number, from1904); date.isValid())
                            value = date;
                    }
                }
            } else if (type == u"d") {
                if (const QDate date = QDate::fromString(text.left(10), Qt::ISODate); date.isValid())
                    value = date;
            }
            if (!sheet.cell(column, value))
                return false;
        } else if (xml.name() == u"f") {
            xml.skip(); // the formula itself; its value stands in <v>
        }
    }
    if (const QString why = xml.error(); !why.isEmpty())
        return sheet.fail(why);
    return endRow();
}

} // namespace

std::optional<SheetTable> ReadXlsxSheet(const QByteArray &bytes, QString *error, const SheetLimits &limits)
{
    if (bytes.size() > limits.fileBytes) {
        *error = UnreadableFile(u"sie ist größer als " + QString::number(limits.fileBytes / (1024 * 1024)) + u" MB.");
        return std::nullopt;
    }
    Package package(bytes, limits);
    QString why;
    const auto failed = [&](const QString &reason) {
        *error = UnreadableFile(reason);
        return std::nullopt;
    };
    if (!package.isOpen())
        return failed(package.error());
    const std::optional<Relationships> root = ReadRelationships(package, QString(), &why);
    if (!root)
        return failed(why);
    const QString workbookPart = root->byType.value(u"officeDocument"_s, u"xl/workbook.xml"_s);
    const std::optional<Workbook> workbook = ReadWorkbook(package, workbookPart, &why);
    if (!workbook)
        return failed(why);
    const std::optional<Relationships> parts = ReadRelationships(package, workbookPart, &why);
    if (!parts)
        return failed(why);
    const std::optional<QStringList> strings =
        ReadSharedStrings(package, parts->byType.value(u"sharedStrings"_s), limits, &why);
    if (!strings)
        return failed(why);
    const std::optional<QSet<int>> dateStyles = ReadDateStyles(package, parts->byType.value(u"styles"_s), &why);
    if (!dateStyles)
        return failed(why);
    const std::optional<QByteArray> sheetBytes = package.part(workbook->sheet);
    if (!sheetBytes)
        return failed(package.error());
    SheetBuilder sheet(limits);
    if (!ReadSheetRows(*sheetBytes, workbook->sheet, *strings, *dateStyles, workbook->from1904, sheet))
        return failed(sheet.error());
    SheetTable table = sheet.take();
    if (table.header.isEmpty())
        return failed(u"ihr erstes Tabellenblatt ist leer."_s);
    return table;
}

} // namespace tolven
