#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "output/CsvFile.h"
#include "output/ExportRows.h"
#include "output/PositionOutput.h"
#include "output/XlsxFile.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionExport.h"
#include "positions/PositionModel.h"
#include "support/ScriptedDialogs.h"
#include "support/ToolOutput.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QByteArray HeaderLine =
    "Konkurerber;Artnr;Bezeichnung;Datum ab;Datum bis;Menge ab;ME;Konkur Preis incl;int. Preis incl.;PE;Mwstproz\r\n";
const QByteArray Tail = ";01.03.2026;31.03.2026;10,0000;Sack;116,00;3,46;Pal;19";

using Cells = QMap<int, QVariant>;

// A position as a search leaves it: numbers and dates as values, the prices
// incl. VAT as the key figures write them; changes on top.
Cells Position(const Cells &changes = {})
{
    Cells cells{{Konkur, u"K1"_s},       {ZAnr, u"4711"_s},   {ArtBez, u"Fliesenkleber"_s}, {DatumAb, QDate(2026, 3, 1)},
                {DatumBis, QDate(2026, 3, 31)}, {MengeAb, 10.0}, {VKE, u"Sack"_s},         {PreisIncl, u"116,00"_s},
                {IntPreis, u"3,46"_s},   {VRE, u"Pal"_s},     {MC, 19.0},                   {Notiz, u"intern"_s}};
    cells.insert(changes);
    return cells;
}

// The main window's position and competitor arrays.
struct Grid
{
    explicit Grid(const QList<Cells> &rows)
    {
        competitors.setRows({{u"K1"_s, u"Werkhof Markt Lüneburg"_s}});
        for (const Cells &cells : rows) {
            const int row = positions.appendRow();
            for (auto cell = cells.cbegin(); cell != cells.cend(); ++cell)
                positions.setCell(row, cell.key(), cell.value());
        }
    }
    ExportTable table() const { return PositionExportTable(positions, competitors); }
    QByteArray csv() const
    {
        QString error;
        return CsvBytes(table(), &error).value_or(error.toUtf8());
    }

    PositionModel positions;
    LookupTable competitors{{u"Code"_s, u"Konkurerber"_s}};
};

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Each cell of a workbook's sheet as "type|value|number format|bold", read through unzip.
QMap<QString, QString> SheetCells(const QString &path, QString *sheet)
{
    const auto part = [&path](const QString &name) {
        QString why;
        return QString::fromUtf8(testsupport::ToolOutput(u"unzip"_s, {u"-p"_s, path, name}, &why).value_or(why.toUtf8()));
    };
    *sheet = part(u"xl/worksheets/sheet1.xml"_s);
    const QString styles = part(u"xl/styles.xml"_s);
    const auto all = [](const QString &pattern, const QString &text) {
        return QRegularExpression(pattern).globalMatch(text);
    };
    QStringList strings, fonts, formats;
    for (const auto &match : all(u"<si><t[^>]*>([^<]*)</t></si>"_s, part(u"xl/sharedStrings.xml"_s)))
        strings << match.captured(1);
    QMap<QString, QString> codes;
    for (const auto &match : all(u"<numFmt numFmtId=\"(\\d+)\" formatCode=\"([^\"]*)\""_s, styles))
        codes.insert(match.captured(1), match.captured(2));
    for (const auto &match : all(u"<font>(.*?)</font>"_s, styles))
        fonts << (match.captured(1).contains(u"<b/>") ? u"bold"_s : QString());
    for (const auto &match : all(u"<xf numFmtId=\"(\\d+)\" fontId=\"(\\d+)\"[^>]*xfId"_s, styles))
        formats << codes.value(match.captured(1)) + u'|' + fonts.value(match.captured(2).toInt());
    QMap<QString, QString> cells;
    for (const auto &match : all(u"<c r=\"(\\w+)\"(?: s=\"(\\d+)\")?(?: t=\"(\\w+)\")?><v>([^<]*)</v></c>"_s, *sheet)) {
        const QString value = match.captured(3) == u"s" ? u"s|" + strings.value(match.captured(4).toInt())
                                                         : u"n|" + match.captured(4);
        cells.insert(match.captured(1), value + u'|' + formats.value(match.captured(2).toInt(), u"|"_s));
    }
    return cells;
}

} // namespace

// The files for head office from the grid's positions, in German: the CSV
// file byte for byte, the Excel workbook read back, and how they reach the disk.
class TestPositionExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void csvLine_data();
    void csvLine();
    void csvHoldsPositionsWithCentralNumberOnly();
    void exportCsv_data();
    void exportCsv();
    void xlsxCells_data();
    void xlsxCells();
};

void TestPositionExport::csvLine_data()
{
    QTest::addColumn<Cells>("position");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("search result") << Position() << "Werkhof Markt L\xFCneburg;4711;Fliesenkleber" + Tail;
    QTest::newRow("unknown competitor, no Datum bis, typed quantity")
        << Position({{Konkur, u"X9"_s}, {DatumBis, QString()}, {MengeAb, u"2,5"_s}})
        << QByteArray("X9;4711;Fliesenkleber;01.03.2026;;2,5000;Sack;116,00;3,46;Pal;19");
    // Numbers as the grid shows them, whatever the cell holds after an edit.
    QTest::newRow("prices and quantity as numbers")
        << Position({{MengeAb, 2.5}, {PreisIncl, 116.0}, {IntPreis, 4.5}})
        << QByteArray("Werkhof Markt L\xFCneburg;4711;Fliesenkleber;01.03.2026;31.03.2026;2,5000;Sack;116,00;4,50;Pal;19");
    QTest::newRow("quantity that is no number") << Position({{MengeAb, u"ab 10"_s}})
        << QByteArray("Werkhof Markt L\xFCneburg;4711;Fliesenkleber;01.03.2026;31.03.2026;ab 10;Sack;116,00;3,46;Pal;19");
    QTest::newRow("Windows-1252, ? for what it lacks")
        << Position({{ArtBez, u"Maße für Türen 5 € ✓𝄞Ω"_s}})
        << "Werkhof Markt L\xFCneburg;4711;Ma\xDF" "e f\xFCr T\xFCren 5 \x80 ???" + Tail;
    // A lone surrogate (a broken pair, as pasted text may hold) is no
    // character either; it must not take the separator after it along.
    QTest::newRow("lone surrogate before a separator")
        << Position({{ArtBez, QString(u"Fliesenkleber"_s + QChar(0xD83D))}, {VKE, QString(QChar(0xDD1E) + u"Sack"_s)}})
        << QByteArray("Werkhof Markt L\xFCneburg;4711;Fliesenkleber?;01.03.2026;31.03.2026;10,0000;?Sack;116,00;3,46;Pal;19");
    QTest::newRow("lone surrogate at the end of the line")
        << Position({{MC, QString(u"19"_s + QChar(0xD83D))}})
        << QByteArray("Werkhof Markt L\xFCneburg;4711;Fliesenkleber;01.03.2026;31.03.2026;10,0000;Sack;116,00;3,46;Pal;19?");
    QTest::newRow("quoted only with ; \" or a line break")
        << Position({{ArtBez, u"Kleber; \"grau\"\r\n2. Wahl"_s}, {VKE, u"Sack 25\""_s}})
        << QByteArray("Werkhof Markt L\xFCneburg;4711;\"Kleber; \"\"grau\"\"\r\n2. Wahl\";01.03.2026;31.03.2026;10,0000;"
                      "\"Sack 25\"\"\";116,00;3,46;Pal;19");
}

void TestPositionExport::csvLine()
{
    QFETCH(Cells, position);
    QFETCH(QByteArray, line);
    QCOMPARE(Grid({position}).csv(), HeaderLine + line + "\r\n");
}

void TestPositionExport::csvHoldsPositionsWithCentralNumberOnly()
{
    QCOMPARE(Grid({}).csv(), HeaderLine);
    // The umlaut after a character the code page lacks comes out right too.
    QCOMPARE(Grid({Position({{ArtBez, u"Ω"_s}}), Position({{ZAnr, QString()}}), Position({{ZAnr, u"3"_s}})}).csv(),
             HeaderLine + "Werkhof Markt L\xFCneburg;4711;?" + Tail + "\r\nWerkhof Markt L\xFCneburg;3;Fliesenkleber" + Tail
                 + "\r\n");
}

void TestPositionExport::exportCsv_data()
{
    QTest::addColumn<QString>("target"); // in a folder holding an old konkurexp.csv; empty: cancelled
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("old file replaced") << u"konkurexp.csv"_s << false;
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("folder is a file") << u"konkurexp.csv/neu.csv"_s << false;
    QTest::newRow("read-only folder") << u"konkurexp.csv"_s << true;
}

void TestPositionExport::exportCsv()
{
    QFETCH(QString, target);
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && geteuid() == 0)
        QSKIP("root writes into read-only folders; the row \"folder is a file\" fails for root too");
    QTemporaryDir folder;
    const QString old = folder.filePath(u"konkurexp.csv"_s);
    QFile file(old);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("alt") == 3);
    file.close();
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString path = target.isEmpty() ? QString() : folder.filePath(target);
    const bool fails = readOnlyFolder || target.contains(u'/');
    const Grid grid({Position()});

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Laut Absprache mit Zentrale bitte vor versenden in "
                                                             u"Excel einlesen und Excel-Datei versenden"_s);
    dialogs.expectSaveFileName(path);
    if (fails) {
        dialogs.expectMessageStartingWith(u"TOLVEN Konkurerberverwaltung"_s,
                                          u"Die Datei „" + path + u"“ konnte nicht geschrieben werden: ");
    }
    ExportCsv(nullptr, [&grid] { return grid.table(); });
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const auto &shown = dialogs.saveDialogsShown().constFirst();
    QCOMPARE(shown.proposedPath, QDir(ExportFolder()).filePath(u"konkurexp.csv"_s));
    QCOMPARE(shown.filter + u' ' + shown.defaultSuffix, u"csv-Datei (*.csv) csv"_s);
    // Written whole or not at all: nothing half-written is left beside it.
    QCOMPARE(Contents(old), path.isEmpty() || fails ? QByteArray("alt") : grid.csv());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"konkurexp.csv"_s});
}

void TestPositionExport::xlsxCells_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("expected");
    const QString serial = QString::number(QDate(1899, 12, 30).daysTo(QDate(2026, 3, 1)));
    QTest::newRow("header bold") << u"K1"_s << u"s|Mwstproz||bold"_s;
    QTest::newRow("name") << u"A2"_s << u"s|Werkhof Markt Lüneburg||"_s;
    QTest::newRow("article number as text") << u"B2"_s << u"s|4711||"_s;
    QTest::newRow("date") << u"D2"_s << u"n|" + serial + u"|dd.mm.yyyy|";
    QTest::newRow("typed date") << u"D3"_s << u"n|" + serial + u"|dd.mm.yyyy|";
    QTest::newRow("quantity") << u"F2"_s << u"n|10||"_s;
    QTest::newRow("typed quantity") << u"F3"_s << u"n|2.5||"_s;
    QTest::newRow("quantity that is no number") << u"F4"_s << u"s|ab 10||"_s;
    QTest::newRow("price from text") << u"H2"_s << u"n|116|#,##0.00|"_s;
    QTest::newRow("VAT") << u"K2"_s << u"n|19||"_s;
}

void TestPositionExport::xlsxCells()
{
    QFETCH(QString, cell);
    QFETCH(QString, expected);
    const Grid grid({Position(), Position({{DatumAb, u"01.03.2026"_s}, {MengeAb, u"2,5"_s}}),
                     Position({{MengeAb, u"ab 10"_s}, {DatumBis, QString()}}), Position({{ZAnr, QString()}})});
    QString error;
    const std::optional<QByteArray> bytes = XlsxBytes(grid.table(), &error);
    QVERIFY2(bytes, qPrintable(error));
    QTemporaryDir folder;
    QFile file(folder.filePath(u"konkurexp.xlsx"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(*bytes) == bytes->size());
    file.close();

    QString sheet;
    const QMap<QString, QString> cells = SheetCells(file.fileName(), &sheet);
    QCOMPARE(cells.value(cell), expected);
    // Header frozen, empty cells and the position without a central number left out, columns sized to content.
    QVERIFY(sheet.contains(u"topLeftCell=\"A2\" activePane=\"bottomLeft\" state=\"frozen\""_s));
    QVERIFY(!cells.contains(u"E4"_s) && !cells.contains(u"A5"_s));
    QVERIFY(sheet.contains(u"<col min=\"1\" max=\"1\" width=\"24."_s)); // "Werkhof Markt Lüneburg" and some room
    // A text longer than a cell holds is refused, naming where.
    QVERIFY(!XlsxBytes(Grid({Position({{ArtBez, QString(40000, u'x')}})}).table(), &error));
    QVERIFY2(error.startsWith(u"Zeile 2, Spalte „Bezeichnung“: Text länger"), qPrintable(error));
}

QTEST_MAIN(TestPositionExport)
#include "tst_positionexport.moc"
