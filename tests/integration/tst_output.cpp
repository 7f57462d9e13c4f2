#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "access/Clock.h"
#include "common/Icons.h"
#include "common/QtTranslations.h"
#include "output/PositionOutput.h"
#include "positions/FMStart.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "support/ClientFixture.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ToolOutput.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

QString CentralNumber(int row)
{
    return u"Z-" + QString::number(row + 1).rightJustified(3, u'0');
}

} // namespace

// Print and export from the main window: buttons, the "Datei" menu and
// Ctrl+P reach the print preview and the files for head office. The print,
// on PDF and read back with pdftotext, has on every page the header, the
// captions and the page number, every row once, and no note column.
class TestOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void printHeader();
    void printPreview_data();
    void printPreview();
    void exports_data();
    void exports();

private:
    // positions like a search with filters leaves them; the first has a note.
    void fill(int positions);
    void trigger(const QString &how);

    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
};

void TestOutput::initTestCase()
{
    testsupport::HideOffscreenPlatformNotices();
    InitAppResources();
    QVERIFY2(InstallQtTranslations(), "Debian's qt6-translations-l10n is missing");
    SetNowProvider([] { return QDateTime(QDate(2026, 3, 2), QTime(9, 5)); });
}

void TestOutput::init()
{
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_window = std::make_unique<FMStart>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestOutput::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void TestOutput::fill(int positions)
{
    m_window->competitorArray().setRows({{u"K1"_s, u"Werkhof Markt Lüneburg"_s}});
    PositionModel &grid = m_window->positionArray();
    for (int row = 0; row < positions; ++row) {
        grid.appendRow();
        grid.setCell(row, PositionColumn::Konkur, u"K1"_s);
        grid.setCell(row, PositionColumn::ZAnr, CentralNumber(row));
        grid.setCell(row, PositionColumn::UID, QString(u"1||" + QString::number(row)));
        grid.setCell(row, PositionColumn::Notiz, u"Vertraulich"_s);
        // A price as an edit leaves it: a number, printed as the grid shows it.
        grid.setCell(row, PositionColumn::IntPreis, 146.79);
    }
    m_window->findChild<MultiColumnComboBox *>(u"likonkur"_s)->setCurrentCode(u"K1"_s);
    m_window->findChild<MultiColumnComboBox *>(u"anr"_s)->setCurrentCode(u"100001"_s);
    m_window->findChild<QLineEdit *>(u"bez1"_s)->setText(u"Fliesenkleber"_s);
}

void TestOutput::trigger(const QString &how)
{
    if (how == u"Ctrl+P")
        QTest::keyClick(m_window.get(), Qt::Key_P, Qt::ControlModifier);
    else if (auto *button = m_window->findChild<QPushButton *>(how))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        m_window->findChild<QAction *>(how)->trigger();
}

void TestOutput::printHeader()
{
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 5));
    QCOMPARE(PositionListHeader(u"K1"_s, u"100001"_s, u"Fliesenkleber"_s, now),
             u"TOLVEN Konkurerberverwaltung     K1     100001 Fliesenkleber    Datum: 02.03.2026 09:05"_s);
    QCOMPARE(PositionListHeader({}, {}, {}, now),
             u"TOLVEN Konkurerberverwaltung               Datum: 02.03.2026 09:05"_s);
}

void TestOutput::printPreview_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("positions");
    QTest::addColumn<bool>("print");
    QTest::newRow("button, empty grid") << u"BUDruck"_s << 0 << true;
    QTest::newRow("menu, closed without printing") << u"m_drucken"_s << 3 << false;
    QTest::newRow("Ctrl+P, 200 positions") << u"Ctrl+P"_s << 200 << true;
}

void TestOutput::printPreview()
{
    QFETCH(QString, how);
    QFETCH(int, positions);
    QFETCH(bool, print);
    fill(positions);
    auto *grid = m_window->findChild<QTableView *>(u"TDBGrid1"_s);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"liste.pdf"_s);
    bool noteHidden = false;
    QStringList toolbar;
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectPrintPreview([&](QPrintPreviewDialog &preview) {
        noteHidden = grid->isColumnHidden(PositionColumn::Notiz);
        for (const QAction *action : preview.findChildren<QAction *>())
            toolbar << action->text();
        if (print) {
            preview.printer()->setOutputFormat(QPrinter::PdfFormat);
            preview.printer()->setOutputFileName(pdf);
            preview.printer()->setPageSize(QPageSize(QPageSize::A4));
            preview.findChild<QPrintPreviewWidget *>()->print();
        }
        return int(print ? QDialog::Accepted : QDialog::Rejected);
    });
    trigger(how);
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(noteHidden);
    QVERIFY(!grid->isColumnHidden(PositionColumn::Notiz));
    QVERIFY2(toolbar.contains(u"Drucken"_s), qPrintable(toolbar.join(u" | ")));
    QCOMPARE(QFile::exists(pdf), print);
    if (!print)
        return;

    QString why;
    const QStringList pages = testsupport::PdfPages(pdf, &why);
    QVERIFY2(!pages.isEmpty(), qPrintable(why));
    QStringList shown{u"TOLVEN Konkurerberverwaltung"_s, u"100001 Fliesenkleber"_s, u"Datum: 02.03.2026 09:05"_s};
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (!grid->isColumnHidden(column) && column != PositionColumn::Notiz)
            shown << ColumnInfo(column).caption;
    }
    QMap<QString, int> printed;
    for (int page = 0; page < pages.size(); ++page) {
        const QString &text = pages.at(page);
        for (const QString &expected : shown + QStringList{u"Seite %1 von %2"_s.arg(page + 1).arg(pages.size())})
            QVERIFY2(text.contains(expected), qPrintable(expected + u" on page " + QString::number(page + 1)));
        if (positions > 0)
            QVERIFY2(text.contains(u"146,79"_s), qPrintable(text));
        for (const QString &left : {u"Notiz"_s, u"Vertraulich"_s, u"UID"_s, u"1||"_s, u"146.79"_s})
            QVERIFY2(!text.contains(left), qPrintable(left));
        for (int row = 0; row < positions; ++row)
            printed[CentralNumber(row)] += int(text.contains(CentralNumber(row)));
    }
    for (int row = 0; row < positions; ++row)
        QCOMPARE(printed.value(CentralNumber(row)), 1);
    // Every page but the last is full.
    const auto onFirstPage = std::count_if(printed.keyBegin(), printed.keyEnd(),
                                           [&](const QString &number) { return pages.at(0).contains(number); });
    QCOMPARE(pages.size(), positions == 0 ? 1 : int((positions + onFirstPage - 1) / onFirstPage));
    QCOMPARE(pages.size() > 1, positions == 200);
}

void TestOutput::exports_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("start");
    const QByteArray csv = "Konkurerber;Artnr;Bezeichnung;Datum ab;Datum bis;Menge ab;ME;Konkur Preis incl;"
                           "int. Preis incl.;PE;Mwstproz\r\nWerkhof Markt L\xFCneburg;Z-001;";
    QTest::newRow("Export CSV button") << u"BUExport"_s << csv;
    QTest::newRow("Export CSV menu") << u"m_export"_s << csv;
    QTest::newRow("Export Excel button") << u"BUExportXlsx"_s << QByteArray("PK");
    QTest::newRow("Export Excel menu") << u"m_export_xlsx"_s << QByteArray("PK");
}

void TestOutput::exports()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, start);
    fill(2);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"export"_s);
    testsupport::ScriptedDialogs dialogs;
    // Excel without the note: it asks for the file this writes.
    if (!how.endsWith(u"lsx", Qt::CaseInsensitive))
        dialogs.expectMessageStartingWith(u"TOLVEN Konkurerberverwaltung"_s, u"Laut Absprache"_s);
    dialogs.expectSaveFileName(path);
    trigger(how);
    VERIFY_DIALOGS_DONE(dialogs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(start));
}

QTEST_MAIN(TestOutput)
#include "tst_output.moc"
