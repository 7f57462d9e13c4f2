#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "objectapi/ResultSet.h"
#include "output/SheetFile.h"
#include "positions/DateField.h"
#include "positions/FMImport.h"
#include "positions/FMStart.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

using namespace testsupport::positionfirm;

const QString Title = u"TOLVEN Konkurerberverwaltung"_s;

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Works the import dialog as a user does: the file typed and read, the
// dialog checked by check, then "Übernehmen" or "Abbrechen".
testsupport::ScriptedDialogs::DialogAction ImportFile(const QString &path, bool take,
                                                      std::function<void(FMImport &)> check = {})
{
    return [=](QDialog &dialog) {
        auto &import = static_cast<FMImport &>(dialog);
        auto *field = dialog.findChild<QLineEdit *>(u"datei"_s);
        field->setText(path);
        QTest::mouseClick(dialog.findChild<QPushButton *>(u"lesen"_s), Qt::LeftButton);
        if (check)
            check(import);
        QTest::mouseClick(dialog.findChild<QPushButton *>(take ? u"uebernehmen"_s : u"abbrechen"_s), Qt::LeftButton);
        return dialog.result();
    };
}

} // namespace

// The import through the main window, on both databases: the dialog's
// preview and refusals, what "Übernehmen" and "Abbrechen" leave in the
// grid, saving the rows, a file that cannot be read, and the round trip
// from the export back to the same export.
class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void previewThenTakeAndSave();
    void priceTypeChosenInTheDialog();
    void cancelAddsNothing();
    void unreadableFileAddsNothing();
    void roundTrip_data();
    void roundTrip();

private:
    bool start();
    void search();
    // The firm's positions replaced by those the round trip exports.
    void roundTripPositions(bool keep);
    QByteArray exportFile(const QString &button, const QString &path);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
    QTemporaryDir m_files;
};

void TestImport::initTestCase()
{
    InitTestCase();
}

void TestImport::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    Fill(m_db->connectString());
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
}

void TestImport::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    m_db.reset();
}

bool TestImport::start()
{
    m_window = std::make_unique<FMStart>();
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    return QTest::qWaitForWindowExposed(m_window.get());
}

void TestImport::search()
{
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
}

void TestImport::roundTripPositions(bool keep)
{
    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    std::unique_ptr<ResultSet> positions = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    positions->execute({Firm});
    QStringList ids;
    while (positions->next())
        ids << positions->getColumn(1);
    positions->close();
    auto konkur = factory.classObject(u"Konkur.Konkur"_s);
    for (const QString &id : ids)
        konkur->sys_deleteid(id);
    if (!keep)
        return;
    const auto save = [&](const QString &className, const Properties &values) { Save(factory, className, values); };
    save(u"TV.Artikel"_s, {{u"Artnr"_s, u"200010"_s}, {u"Bez"_s, u"Kalk gel|scht"_s}, {u"MwSt"_s, u"7"_s},
                           {u"Sammel"_s, u"N"_s}, {u"VKE"_s, u"Sack"_s}, {u"VRE"_s, u"Sack"_s}, {u"ZAnr"_s, u"Z-10"_s},
                           {u"VKPreis"_s, u"3.25"_s}, {u"Aktiv"_s, u"J"_s}});
    save(u"TV.Artikel"_s, {{u"Artnr"_s, u"200011"_s}, {u"Bez"_s, u"Sammelposten"_s}, {u"MwSt"_s, u"19"_s},
                           {u"Sammel"_s, u"J"_s}, {u"VKE"_s, u"St}ck"_s}, {u"VRE"_s, u"St}ck"_s}, {u"ZAnr"_s, u"Z-11"_s},
                           {u"Aktiv"_s, u"J"_s}});
    const QList<Properties> rows{
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, Cement}, {u"DatumAb"_s, u"2026-02-01"_s},
         {u"DatumBis"_s, u"2026-12-31"_s}, {u"MengeAb"_s, u"1"_s}, {u"PreisExcl"_s, u"12.5"_s}},
        {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, Cement}, {u"DatumAb"_s, u"2026-02-01"_s},
         {u"MengeAb"_s, u"50"_s}, {u"PreisExcl"_s, u"11.2605"_s}},
        {{u"konkur"_s, u"MOORBAU"_s}, {u"Artnr"_s, u"200010"_s}, {u"DatumAb"_s, u"2026-01-15"_s},
         {u"MengeAb"_s, u"0"_s}, {u"PreisExcl"_s, u"3.0374"_s}},
        {{u"konkur"_s, u"MOORBAU"_s}, {u"Artnr"_s, u"200011"_s}, {u"DatumAb"_s, u"2026-03-01"_s},
         {u"ArtBez"_s, u"Eigener Text; mit \"Zeichen\""_s}, {u"IntPreis"_s, u"4.5"_s}, {u"VKE"_s, u"Pal"_s},
         {u"VRE"_s, u"Pal"_s}, {u"MengeAb"_s, u"2"_s}, {u"PreisExcl"_s, u"8.3950"_s}},
    };
    for (const auto &row : rows)
        save(u"Konkur.Konkur"_s, row + Properties{{u"Preistyp"_s, u"L"_s}, {u"AendDatum"_s, u"2026-03-01"_s}});
}

QByteArray TestImport::exportFile(const QString &button, const QString &path)
{
    testsupport::ScriptedDialogs dialogs;
    if (button == u"BUExport")
        dialogs.expectMessageStartingWith(Title, u"Laut Absprache"_s);
    dialogs.expectSaveFileName(path);
    QTest::mouseClick(m_window->findChild<QPushButton *>(button), Qt::LeftButton);
    if (!dialogs.done())
        return {};
    return ReadFile(path);
}

void TestImport::previewThenTakeAndSave()
{
    QVERIFY(start());
    search();
    const int before = m_window->positionArray().rowCount();
    QCOMPARE(before, int(Positions.size()));
    // A sheet of the grid's captions, as a user makes one.
    const QString path = m_files.filePath(u"eigene.csv"_s);
    WriteFile(path, "Konkur;Art-Nr;Preistyp;Datum ab;Datum bis;Menge ab;Preis incl.;Notiz;Quelle\r\n"
                    "WERKHOF;200001;A;01.03.2026;;10;11,90;Flyer;x\r\n"
                    "MOORBAU;4100999;A;01.03.2026;;1;1;;x\r\n"
                    "MOORBAU;200004;A;31.02.2026;;1;1;;x\r\n"
                    "WERKHOF;200001;A;01.03.2026;;10,00;12;;x\r\n"
                    "WERKHOF;200001;L;01.01.2026;;1;12;;x\r\n"
                    "moorbau;200004;;02.03.2026;31.12.2026;2;2,38;;x\r\n");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMImport"_s, ImportFile(path, true, [](FMImport &dialog) {
        QCOMPARE(dialog.findChild<QPlainTextEdit *>(u"abgewiesen"_s)->toPlainText(),
                 u"Zeile 3: Artikel 4100999 unbekannt\n"
                 u"Zeile 4: kein gültiges Datum: 31.02.2026\n"
                 u"Zeile 5: identisch mit Zeile 2 der Datei\n"
                 u"Zeile 6: identisch mit einer Position im Raster"_s);
        QCOMPARE(dialog.findChild<QLabel *>(u"zusammenfassung"_s)->text(),
                 u"Gelesen: 6 Zeilen. Zu übernehmen: 2. Abgewiesen: 4. Nicht gelesene Spalten: Quelle."_s);
        QCOMPARE(dialog.result().lines, (QList<int>{2, 7}));
    }));
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUImport"_s), Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);

    const PositionModel &grid = m_window->positionArray();
    QCOMPARE(grid.rowCount(), before + 2);
    const auto shown = [&grid](int row, int column) { return grid.index(row, column).data().toString(); };
    QCOMPARE(shown(before, PositionColumn::ArtBez), u"Zement"_s);
    QCOMPARE(shown(before, PositionColumn::PreisExcl), u"10,0000"_s);
    QCOMPARE(shown(before, PositionColumn::IntPreis), u"11,90"_s);
    QCOMPARE(shown(before, PositionColumn::Notiz), u"Flyer"_s);
    // The competitor by its name in any case; the price type of the dialog ("L", the first).
    QCOMPARE(shown(before + 1, PositionColumn::Konkur), u"MOORBAU"_s);
    QCOMPARE(shown(before + 1, PositionColumn::Preistyp), u"L"_s);
    QCOMPARE(shown(before + 1, PositionColumn::DatumBis), u"31.12.2026"_s);
    QCOMPARE(m_window->findChild<QLabel *>(u"Positionszahl"_s)->text().section(u" · "_s, 0, 0), u"8 Positionen"_s);
    QCOMPARE(m_window->findChild<QTableView *>(u"TDBGrid1"_s)->currentIndex().row(), before);
    QVERIFY(m_window->hasUnsavedWork());

    // "Speichern" stores them as new positions.
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(!m_window->hasUnsavedWork());
    QVERIFY(!shown(before, PositionColumn::UID).isEmpty());
    search();
    QCOMPARE(m_window->positionArray().rowCount(), before + 2);
}

void TestImport::priceTypeChosenInTheDialog()
{
    QVERIFY(start());
    const QString path = m_files.filePath(u"zentrale.csv"_s);
    WriteFile(path, "Konkurerber;Artnr;Datum ab;Datum bis;Konkur Preis incl\r\n"
                    "Werkhof L\xFCneburg;Z-1;01.03.2026;31.03.2026;11,90\r\n");
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMImport"_s, ImportFile(path, true, [](FMImport &dialog) {
        auto *priceType = dialog.findChild<QComboBox *>(u"preistyp"_s);
        QCOMPARE(priceType->currentText(), u"L – Liste"_s);
        QCOMPARE(dialog.acceptedRows().value(0).cell(PositionColumn::DatumBis), QVariant(QDate(2026, 3, 31)));
        // Another choice checks the rows again: "Aktion" has no end date.
        priceType->setCurrentIndex(1);
        QCOMPARE(dialog.acceptedRows().size(), 1);
        QCOMPARE(dialog.acceptedRows().value(0).cell(PositionColumn::Preistyp), QVariant(u"A"_s));
        QCOMPARE(dialog.acceptedRows().value(0).cell(PositionColumn::DatumBis), QVariant(QString()));
    }));
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUImport"_s), Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_window->positionArray().rowCount(), 1);
    QCOMPARE(m_window->positionArray().cell(0, PositionColumn::Artnr), QVariant(Cement));
    QCOMPARE(m_window->positionArray().cell(0, PositionColumn::Preistyp), QVariant(u"A"_s));
}

void TestImport::cancelAddsNothing()
{
    QVERIFY(start());
    const QString path = m_files.filePath(u"abbruch.csv"_s);
    WriteFile(path, "Konkur;Art-Nr;Datum ab;Preis excl.\r\nWERKHOF;200001;01.03.2026;1\r\n");
    testsupport::ScriptedDialogs dialogs;
    // Enter in the path field reads the file and takes nothing; Escape leaves.
    dialogs.expectDialog(u"FMImport"_s, [&path](QDialog &dialog) {
        auto *field = dialog.findChild<QLineEdit *>(u"datei"_s);
        field->setFocus();
        QTest::keyClicks(field, path);
        QTest::keyClick(field, Qt::Key_Return);
        if (!dialog.isVisible() || static_cast<FMImport &>(dialog).acceptedRows().size() != 1)
            return int(QDialog::Accepted);
        // The rows are shown: the preview has the focus, "Übernehmen" is the default.
        auto *preview = dialog.findChild<QTableView *>(u"vorschau"_s);
        if (!QTest::qWaitFor([&] { return dialog.focusWidget() == preview; })
            || !dialog.findChild<QPushButton *>(u"uebernehmen"_s)->isDefault())
            return int(QDialog::Accepted);
        QTest::keyClick(preview, Qt::Key_Escape);
        return dialog.result();
    });
    m_window->findChild<QAction *>(u"m_import"_s)->trigger();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_window->positionArray().rowCount(), 0);
    QVERIFY(!m_window->hasUnsavedWork());
}

void TestImport::unreadableFileAddsNothing()
{
    QVERIFY(start());
    const QString path = m_files.filePath(u"kaputt.xlsx"_s);
    WriteFile(path, QByteArray("PK\x03\x04 abgeschnitten"));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMImport"_s, ImportFile(path, true, [&dialogs](FMImport &dialog) {
        QVERIFY(!dialog.findChild<QPushButton *>(u"uebernehmen"_s)->isEnabled());
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().constFirst().text,
                 u"Die Datei kann nicht gelesen werden: sie ist kein lesbares ZIP-Archiv (keine Excel-Datei oder "
                 u"beschädigt)."_s);
    }));
    dialogs.expectMessageStartingWith(Title, u"Die Datei kann nicht gelesen werden"_s);
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUImport"_s), Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    // "Übernehmen" stays disabled: the click does nothing, and the dialog ends rejected.
    QCOMPARE(m_window->positionArray().rowCount(), 0);
}

void TestImport::roundTrip_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("CSV") << u"csv"_s;
    QTest::newRow("Excel") << u"xlsx"_s;
    QTest::newRow("Excel saved by LibreOffice") << u"libreoffice"_s;
}

void TestImport::roundTrip()
{
    QFETCH(QString, format);
    QString office;
    if (format == u"libreoffice") {
        office = QStandardPaths::findExecutable(u"soffice"_s);
        if (office.isEmpty())
            office = QStandardPaths::findExecutable(u"libreoffice"_s);
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed (apt-get install libreoffice-calc-nogui to run this row)");
    }
    roundTripPositions(true);
    QVERIFY(start());
    search();
    QCOMPARE(m_window->positionArray().rowCount(), 4);
    const QByteArray csv = exportFile(u"BUExport"_s, m_files.filePath(u"vorher.csv"_s));
    QVERIFY(csv.count("\r\n") == 5);
    const QString xlsxPath = m_files.filePath(u"vorher.xlsx"_s);
    const QByteArray xlsx = exportFile(u"BUExportXlsx"_s, xlsxPath);
    QVERIFY(xlsx.startsWith("PK"));

    QString file = format == u"csv" ? m_files.filePath(u"vorher.csv"_s) : xlsxPath;
    if (!office.isEmpty()) {
        const QString out = m_files.filePath(u"office"_s);
        QTemporaryDir profile;
        QProcess soffice;
        soffice.start(office, {u"-env:UserInstallation=file://"_s + profile.path(), u"--headless"_s,
                               u"--convert-to"_s, u"xlsx"_s, u"--outdir"_s, out, xlsxPath});
        QVERIFY(soffice.waitForFinished(120000));
        file = out + u"/vorher.xlsx";
        QVERIFY2(QFile::exists(file), soffice.readAllStandardError().constData());
        QVERIFY(ReadFile(file) != xlsx);
    }

    // The same articles and competitors, no positions: a fresh firm.
    roundTripPositions(false);
    search();
    QCOMPARE(m_window->positionArray().rowCount(), 0);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMImport"_s, ImportFile(file, true, [](FMImport &dialog) {
        QCOMPARE(dialog.result().refusals, QStringList());
        QCOMPARE(dialog.acceptedRows().size(), 4);
    }));
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUImport"_s), Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
    QVERIFY(!m_window->hasUnsavedWork());

    QCOMPARE(exportFile(u"BUExport"_s, m_files.filePath(u"nachher.csv"_s)), csv);
    // The workbook holds its moment of making; its sheet is the same.
    QString error;
    const QByteArray xlsxAgain = exportFile(u"BUExportXlsx"_s, m_files.filePath(u"nachher.xlsx"_s));
    const std::optional<SheetTable> before = ReadXlsxSheet(xlsx, &error);
    const std::optional<SheetTable> after = ReadXlsxSheet(xlsxAgain, &error);
    QVERIFY2(before && after, qPrintable(error));
    QCOMPARE(after->header, before->header);
    QCOMPARE(after->rows, before->rows);
    // And so is what a search reads back from the database.
    search();
    QCOMPARE(exportFile(u"BUExport"_s, m_files.filePath(u"gesucht.csv"_s)), csv);
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
