#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <zip.h>

#include "output/CsvFile.h"
#include "output/ExportRows.h"
#include "output/SheetFile.h"
#include "output/XlsxFile.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

using Parts = QList<std::pair<QString, QByteArray>>;

// A ZIP archive of the parts, written by libzip as any program would.
QByteArray Zip(const Parts &parts)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"a.zip"_s));
    int error = 0;
    zip_t *archive = zip_open(path.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return {};
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE);
    }
    if (zip_close(archive) != 0)
        return {};
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray Relationships =
    R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";

QByteArray WorkbookPart(bool from1904 = false)
{
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)")
        + (from1904 ? R"(<workbookPr date1904="1"/>)" : "")
        + R"(<sheets><sheet name="Erste" sheetId="1" r:id="rId7"/><sheet name="Zweite" sheetId="2" r:id="rId8"/></sheets></workbook>)";
}

const QByteArray WorkbookRelationships =
    R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/zweite.xml"/>)"
    R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/erste.xml"/>)"
    R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
    R"(<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)";

const QByteArray Styles =
    R"(<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="2"><numFmt numFmtId="164" formatCode="DD.MM.YYYY"/><numFmt numFmtId="165" formatCode="&quot;Tag&quot;\ 0.00"/></numFmts>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>)"
    R"(<cellXfs count="5"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="165"/><xf numFmtId="4"/></cellXfs></styleSheet>)";

const QByteArray SharedStrings =
    R"(<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3">)"
    R"(<si><t>Konkur</t></si><si><r><t>Werk</t></r><r><rPr><b/></rPr><t xml:space="preserve">hof Süd</t></r><rPh><t>x</t></rPh></si><si><t>Datum ab</t></si></sst>)";

QByteArray SheetPart(const QByteArray &rows)
{
    return R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        + rows + "</sheetData></worksheet>";
}

// A workbook of the parts above whose first sheet holds rows.
QByteArray Workbook(const QByteArray &rows, bool from1904 = false, const QByteArray &strings = SharedStrings)
{
    return Zip({{u"_rels/.rels"_s, Relationships},
                {u"xl/workbook.xml"_s, WorkbookPart(from1904)},
                {u"xl/_rels/workbook.xml.rels"_s, WorkbookRelationships},
                {u"xl/styles.xml"_s, Styles},
                {u"xl/sharedStrings.xml"_s, strings},
                {u"xl/worksheets/erste.xml"_s, SheetPart(rows)},
                {u"xl/worksheets/zweite.xml"_s, SheetPart(R"(<row r="1"><c t="inlineStr"><is><t>falsch</t></is></c></row>)")}});
}

// Entities that would grow to gigabytes if they were expanded.
const QByteArray Laughs = R"(<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol">)"
                          R"(<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">)"
                          R"(<!ENTITY lol3 "&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;">)"
                          R"(<!ENTITY lol4 "&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;">]>)";

} // namespace

// The readers of the import: CSV in both encodings, the workbook of the
// export and of other programs, and what a hostile or damaged file gets.
class TestSheetFile : public QObject
{
    Q_OBJECT

private slots:
    void csv_data();
    void csv();
    void csvRefused_data();
    void csvRefused();
    void exportedFilesReadBack();
    void workbook_data();
    void workbook();
    void workbookRefused_data();
    void workbookRefused();
    void fileByContent();

private:
    using Reader = std::optional<SheetTable> (*)(const QByteArray &, QString *, const SheetLimits &);
    // The bytes of the data row read as its header, rows and lines say.
    void compareWithData(Reader read);
    // The bytes of the data row refused, the message naming its reason.
    void refusedWithData(Reader read);
};

void TestSheetFile::compareWithData(Reader read)
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!bytes.isEmpty());
    QString error;
    const std::optional<SheetTable> table = read(bytes, &error, {});
    QVERIFY2(table, qPrintable(error));
    QFETCH(QStringList, header);
    QCOMPARE(table->header, header);
    QFETCH(QList<QVariantList>, rows);
    QCOMPARE(table->rows, rows);
    QFETCH(QList<int>, lines);
    QCOMPARE(table->lines, lines);
}

void TestSheetFile::refusedWithData(Reader read)
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!bytes.isEmpty());
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!read(bytes, &error, {}));
    QVERIFY2(error.startsWith(u"Die Datei kann nicht gelesen werden: "_s), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestSheetFile::csv_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<QList<int>>("lines");

    const QStringList header{u"Konkur"_s, u"Notiz"_s};
    QTest::newRow("Windows-1252, CR LF") << QByteArray("Konkur;Notiz\r\nM\xFCller;Gr\xFC\xDF" "e \x80\r\n")
                                         << header << QList<QVariantList>{{u"Müller"_s, u"Grüße €"_s}}
                                         << QList<int>{2};
    QTest::newRow("UTF-8 with its mark, LF") << QByteArray("\xEF\xBB\xBFKonkur;Notiz\nM\xC3\xBCller;\xE2\x82\xAC\n")
                                             << header << QList<QVariantList>{{u"Müller"_s, u"€"_s}}
                                             << QList<int>{2};
    QTest::newRow("UTF-8 without its mark") << QByteArray("Konkur;Notiz\nM\xC3\xBCller;x\n") << header
                                            << QList<QVariantList>{{u"Müller"_s, u"x"_s}} << QList<int>{2};
    QTest::newRow("Windows-1252 that looks like UTF-8 at first") << QByteArray("Konkur;Notiz\n\xC3\xBC\xFC;x\n")
                                                                 << header << QList<QVariantList>{{u"Ã¼ü"_s, u"x"_s}}
                                                                 << QList<int>{2};
    QTest::newRow("quoted: separator, quote, line break")
        << QByteArray("Konkur;Notiz\r\n\"A;B\";\"sagt \"\"ja\"\"\r\nund nein\"\r\nC;D\r\n") << header
        << QList<QVariantList>{{u"A;B"_s, u"sagt \"ja\"\r\nund nein"_s}, {u"C"_s, u"D"_s}} << QList<int>{2, 4};
    QTest::newRow("empty lines and cells, no last line end")
        << QByteArray("Konkur;Notiz\r\n\r\n;x\r\n;\r\nK") << header
        << QList<QVariantList>{{QVariant(), u"x"_s}, {u"K"_s}} << QList<int>{3, 5};
    QTest::newRow("header after empty lines, blanks trimmed")
        << QByteArray("\r\n Konkur ;Notiz\r\nA;B\r\n") << header << QList<QVariantList>{{u"A"_s, u"B"_s}}
        << QList<int>{3};
}

void TestSheetFile::csv()
{
    compareWithData(ReadCsvSheet);
}

void TestSheetFile::csvRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("quote not closed") << QByteArray("Konkur;Notiz\r\nA;\"abgeschnit")
                                      << u"Zeile 2: ein Feld in Anführungszeichen wird nicht geschlossen"_s;
    QTest::newRow("UTF-8 mark, then no UTF-8") << QByteArray("\xEF\xBB\xBFKonkur\r\nM\xFCller\r\n")
                                               << u"enthält aber Bytes, die kein UTF-8 sind"_s;
    QTest::newRow("huge cell") << "Konkur;Notiz\r\nA;" + QByteArray(40000, 'x') + "\r\n"
                               << u"Zeile 2, Spalte 2: die Zelle ist länger als 32767 Zeichen"_s;
    QTest::newRow("huge quoted cell") << "Konkur;Notiz\r\nA;\"" + QByteArray(40000, 'x') + "\"\r\n"
                                      << u"Zeile 2, Spalte 2: die Zelle ist länger als 32767 Zeichen"_s;
    QTest::newRow("too many columns") << "Konkur" + QByteArray(17000, ';') + "x\r\n" << u"mehr als 16384 Spalten"_s;
    QTest::newRow("binary") << QByteArray("Konkur\r\nA\0B", 11) << u"Nullbytes"_s;
    QTest::newRow("empty") << QByteArray("\r\n\r\n") << u"sie ist leer"_s;
}

void TestSheetFile::csvRefused()
{
    refusedWithData(ReadCsvSheet);
}

void TestSheetFile::exportedFilesReadBack()
{
    // The exports' own writers: what they write comes back cell for cell.
    ExportTable table;
    table.columns = {{u"Konkurerber"_s, 0, ExportKind::Text},
                     {u"Datum ab"_s, 1, ExportKind::Date},
                     {u"Menge ab"_s, 2, ExportKind::Quantity},
                     {u"Konkur Preis incl"_s, 3, ExportKind::Price}};
    table.rows = {{u"Werkhof; \"Süd\""_s, QDate(2026, 2, 28), 12.5, 116.0}, {u"Ölmühle"_s, QDate(1999, 12, 31), 0.0, 3.46}};
    QString error;
    const std::optional<QByteArray> csv = CsvBytes(table, &error);
    QVERIFY(csv);
    std::optional<SheetTable> read = ReadCsvSheet(*csv, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->header, (QStringList{u"Konkurerber"_s, u"Datum ab"_s, u"Menge ab"_s, u"Konkur Preis incl"_s}));
    QCOMPARE(read->rows.at(0), (QVariantList{u"Werkhof; \"Süd\""_s, u"28.02.2026"_s, u"12,5000"_s, u"116,00"_s}));

    const std::optional<QByteArray> xlsx = XlsxBytes(table, &error);
    QVERIFY(xlsx);
    read = ReadXlsxSheet(*xlsx, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->header.size(), 4);
    QCOMPARE(read->rows, (QList<QVariantList>{{u"Werkhof; \"Süd\""_s, QDate(2026, 2, 28), 12.5, 116.0},
                                             {u"Ölmühle"_s, QDate(1999, 12, 31), 0.0, 3.46}}));
    QCOMPARE(read->lines, (QList<int>{2, 3}));
}

void TestSheetFile::workbook_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("shared, rich and inline strings; dates by their format")
        << Workbook(R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="s"><v>2</v></c></row>)"
                    R"(<row r="4"><c r="A4" t="s"><v>1</v></c><c r="B4" t="inlineStr"><is><t>frei</t></is></c>)"
                    R"(<c r="C4" s="1"><v>46082</v></c><c r="D4" s="2"><v>46082.75</v></c><c r="E4" s="3"><v>2.5</v></c>)"
                    R"(<c r="F4" s="4"><v>1234.5</v></c><c r="G4" t="str"><f>A4&amp;"x"</f><v>Werkx</v></c>)"
                    R"(<c r="H4" t="e"><v>#NV</v></c></row>)")
        << QStringList{u"Konkur"_s, QString(), u"Datum ab"_s}
        << QList<QVariantList>{{u"Werkhof Süd"_s, u"frei"_s, QDate(2026, 3, 1), QDate(2026, 3, 1), 2.5, 1234.5,
                                u"Werkx"_s, u"#NV"_s}}
        << QList<int>{4};
    QTest::newRow("cells without references, 1904 dates")
        << Workbook(R"(<row><c t="s"><v>0</v></c><c t="s"><v>2</v></c></row><row><c t="s"><v>1</v></c><c s="1"><v>0</v></c></row>)",
                    true)
        << QStringList{u"Konkur"_s, u"Datum ab"_s} << QList<QVariantList>{{u"Werkhof Süd"_s, QDate(1904, 1, 1)}}
        << QList<int>{2};
    QTest::newRow("early 1900 days count as Excel counts them")
        << Workbook(R"(<row r="1"><c t="s"><v>2</v></c></row><row r="2"><c s="1"><v>1</v></c></row><row r="3"><c s="1"><v>61</v></c></row>)")
        << QStringList{u"Datum ab"_s} << QList<QVariantList>{{QDate(1900, 1, 1)}, {QDate(1900, 3, 1)}}
        << QList<int>{2, 3};
}

void TestSheetFile::workbook()
{
    compareWithData(ReadXlsxSheet);
}

void TestSheetFile::workbookRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = Workbook(R"(<row r="1"><c t="s"><v>0</v></c></row><row r="2"><c t="s"><v>1</v></c></row>)");
    QTest::newRow("cut short") << good.left(good.size() / 2) << u"kein lesbares ZIP-Archiv"_s;
    QTest::newRow("no workbook") << Zip({{u"a.txt"_s, "x"}}) << u"der Teil „xl/workbook.xml“ fehlt"_s;
    QTest::newRow("entities in the sheet")
        << Zip({{u"_rels/.rels"_s, Relationships}, {u"xl/workbook.xml"_s, WorkbookPart()},
                {u"xl/_rels/workbook.xml.rels"_s, WorkbookRelationships},
                {u"xl/worksheets/erste.xml"_s, Laughs + SheetPart("<row><c t=\"inlineStr\"><is><t>&lol4;</t></is></c></row>").mid(38)}})
        << u"„xl/worksheets/erste.xml“ enthält eine Dokumenttypdeklaration (DTD)"_s;
    QTest::newRow("entities in the shared strings")
        << Workbook("<row><c t=\"s\"><v>0</v></c></row>", false, Laughs + "<sst><si><t>&lol4;</t></si></sst>")
        << u"„xl/sharedStrings.xml“ enthält eine Dokumenttypdeklaration (DTD)"_s;
    QTest::newRow("an entity not declared")
        << Workbook(R"(<row><c t="inlineStr"><is><t>&extern;</t></is></c></row>)") << u"ist kein gültiges XML"_s;
    QTest::newRow("a string that is not there")
        << Workbook(R"(<row r="1"><c t="s"><v>0</v></c></row><row r="2"><c t="s"><v>99</v></c></row>)")
        << u"Zeile 2: die Zelle verweist auf einen Text, den die Datei nicht hat"_s;
    QTest::newRow("huge shared string")
        << Workbook("<row><c t=\"s\"><v>0</v></c></row>", false, "<sst><si><t>" + QByteArray(40000, 'x') + "</t></si></sst>")
        << u"ein Text der Datei ist länger als 32767 Zeichen"_s;
    QTest::newRow("huge inline cell")
        << Workbook("<row><c t=\"inlineStr\"><is><t>" + QByteArray(40000, 'x') + "</t></is></c></row>")
        << u"Zeile 1, Spalte 1: die Zelle ist länger als 32767 Zeichen"_s;
    // Three MB of one character pack some thousand times: a bomb's ratio.
    QTest::newRow("packed a thousand times")
        << Workbook(SheetPart("<row><c t=\"inlineStr\"><is><t>a</t></is></c></row>" + QByteArray(3 << 20, ' ')))
        << u"„xl/worksheets/erste.xml“ ist über das 200-fache gepackt (eine sogenannte ZIP-Bombe?)"_s;
    QTest::newRow("column beyond XFD") << Workbook(R"(<row><c r="XFE1" t="s"><v>0</v></c></row>)")
                                       << u"mehr als 16384 Spalten"_s;
    QTest::newRow("empty sheet") << Workbook({}) << u"ihr erstes Tabellenblatt ist leer"_s;
}

void TestSheetFile::workbookRefused()
{
    refusedWithData(ReadXlsxSheet);
}

void TestSheetFile::fileByContent()
{
    QTemporaryDir dir;
    const auto write = [&dir](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    };
    QString error;
    // The content decides, not the name.
    std::optional<SheetTable> table = ReadSheetFile(write(u"mappe.csv"_s, Workbook(R"(<row><c t="s"><v>0</v></c></row>)")), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->header, QStringList{u"Konkur"_s});
    table = ReadSheetFile(write(u"liste.xlsx"_s, "Konkur;Notiz\r\n"), &error);
    QVERIFY2(table, qPrintable(error));
    QCOMPARE(table->header, (QStringList{u"Konkur"_s, u"Notiz"_s}));

    SheetLimits small;
    small.fileBytes = 10;
    QVERIFY(!ReadSheetFile(write(u"gross.csv"_s, "Konkur;Notiz\r\nA;B\r\n"), &error, small));
    QCOMPARE(error, u"Die Datei kann nicht gelesen werden: sie ist größer als 0 MB."_s);
    QVERIFY(!ReadSheetFile(dir.filePath(u"fehlt.csv"_s), &error));
    QVERIFY2(error.startsWith(u"Die Datei „" + dir.filePath(u"fehlt.csv"_s) + u"“ kann nicht geöffnet werden: "),
             qPrintable(error));
}

QTEST_GUILESS_MAIN(TestSheetFile)
#include "tst_sheetfile.moc"
