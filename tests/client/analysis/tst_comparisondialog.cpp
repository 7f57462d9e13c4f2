#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/AnalysisFormat.h"
#include "analysis/ComparisonModel.h"
#include "analysis/PriceComparisonDialog.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/ToolOutput.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

const QDate Day(2026, 3, 2);

PricePosition Position(int row, const QString &competitor, const QString &article, double price, double ownPrice,
                       const QDate &from = QDate(2026, 1, 1))
{
    PricePosition position;
    position.row = row;
    position.competitor = competitor;
    position.article = article;
    position.description = u"Artikel "_s + article;
    position.priceType = u"LISTE"_s;
    position.from = from;
    position.quantity = 1;
    position.price = price;
    position.ownPrice = ownPrice;
    return position;
}

// Grid rows 0..5. Article 100002: B undercuts (9,50 against 10,00); article
// 100010: nobody does; article 100003: A undercuts with 100,00 (sorted as a
// number, after 9,50 and 10,50).
PricePositions Positions()
{
    return {Position(0, u"A"_s, u"100002"_s, 10.5, 10.0), Position(1, u"B"_s, u"100002"_s, 9.5, 10.0),
            Position(2, u"A"_s, u"100010"_s, 21.0, 20.0), Position(3, u"A"_s, u"100003"_s, 100.0, 120.0),
            Position(4, u"B"_s, u"100003"_s, 130.0, 120.0),
            Position(5, u"B"_s, u"100010"_s, 19.0, 20.0, QDate(2026, 6, 1))};
}

QStringList Column(const QTableView &view, int column, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int row = 0; row < view.model()->rowCount(); ++row)
        texts << view.model()->index(row, column).data(role).toString();
    return texts;
}

} // namespace

// "Preisvergleich" and "Preisindex" on their own, over positions made here:
// the table's make-up, sorting, the filter, the day, the double click and
// the output.
class TestComparisonDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void modelsAreSound();
    void tableShowsTheComparison();
    void sortsByValue_data();
    void sortsByValue();
    void onlyUndercut();
    void anotherDay();
    void doubleClickChoosesTheGridRow_data();
    void doubleClickChoosesTheGridRow();
    void enterChoosesTheGridRow();
    void indexTab();
    void exportAndPrint();
};

void TestComparisonDialog::initTestCase()
{
    testsupport::HideOffscreenPlatformNotices();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestComparisonDialog::modelsAreSound()
{
    PriceComparisonDialog dialog(Positions(), {}, Day);
    QAbstractItemModelTester comparison(dialog.comparisonView().model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester index(dialog.indexView().model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    dialog.findChild<QDateEdit *>(u"stichtag"_s)->setDate(Day.addDays(200));
    dialog.findChild<QCheckBox *>(u"nurUnterboten"_s)->setChecked(true);
}

void TestComparisonDialog::tableShowsTheComparison()
{
    PriceComparisonDialog dialog(Positions(), {{u"A"_s, u"Anton"_s}}, Day);
    const QTableView &view = dialog.comparisonView();
    QStringList headers;
    for (int column = 0; column < view.model()->columnCount(); ++column)
        headers << view.model()->headerData(column, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{u"Art-Nr"_s, u"Bezeichnung"_s, u"eigener Preis incl."_s, u"A"_s, u"B"_s,
                                   u"günstigster Mitbewerber"_s, u"Preis"_s, u"Differenz %"_s}));
    QVERIFY(view.model()->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString().startsWith(u"Anton: "_s));
    QCOMPARE(Column(view, 0), (QStringList{u"100002"_s, u"100003"_s, u"100010"_s}));
    QCOMPARE(Column(view, 2), (QStringList{u"10,00"_s, u"120,00"_s, u"20,00"_s}));
    QCOMPARE(Column(view, 3), (QStringList{u"10,50"_s, u"100,00"_s, u"21,00"_s}));
    // B's price of 100010 starts in June: none on the day.
    QCOMPARE(Column(view, 4), (QStringList{u"9,50"_s, u"130,00"_s, QString()}));
    QCOMPARE(Column(view, 5), (QStringList{u"B"_s, u"A"_s, u"A"_s}));
    QCOMPARE(Column(view, 6), (QStringList{u"9,50"_s, u"100,00"_s, u"21,00"_s}));
    QCOMPARE(Column(view, 7), (QStringList{u"−5,0 %"_s, u"−16,7 %"_s, u"+5,0 %"_s}));
    // Marked as in the grid, never by colour alone.
    const QModelIndex below = view.model()->index(0, 4);
    QCOMPARE(below.data(Qt::ToolTipRole).toString(), u"Preistyp LISTE, Menge ab 1\n5,0 % unter eigenem Preis"_s);
    QVERIFY(below.data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(below.data(Qt::BackgroundRole).isValid());
    const QModelIndex above = view.model()->index(0, 3);
    QVERIFY(above.data(Qt::ToolTipRole).toString().endsWith(u"5,0 % über eigenem Preis"_s));
    QVERIFY(above.data(Qt::FontRole).value<QFont>().italic());
    QVERIFY(above.data(Qt::BackgroundRole) != below.data(Qt::BackgroundRole));
    QVERIFY(!view.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
}

void TestComparisonDialog::sortsByValue_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("articles");
    QTest::newRow("competitor A, prices by value") << 3 << Qt::AscendingOrder
                                                   << QStringList{u"100002"_s, u"100010"_s, u"100003"_s};
    QTest::newRow("own price, descending") << 2 << Qt::DescendingOrder
                                           << QStringList{u"100003"_s, u"100010"_s, u"100002"_s};
    QTest::newRow("difference") << 7 << Qt::AscendingOrder << QStringList{u"100003"_s, u"100002"_s, u"100010"_s};
    QTest::newRow("article, descending") << 0 << Qt::DescendingOrder
                                         << QStringList{u"100010"_s, u"100003"_s, u"100002"_s};
}

void TestComparisonDialog::sortsByValue()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, articles);
    PriceComparisonDialog dialog(Positions(), {}, Day);
    dialog.comparisonView().horizontalHeader()->setSortIndicator(column, order);
    QCOMPARE(Column(dialog.comparisonView(), 0), articles);
}

void TestComparisonDialog::onlyUndercut()
{
    PriceComparisonDialog dialog(Positions(), {}, Day);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *only = dialog.findChild<QCheckBox *>(u"nurUnterboten"_s);
    QTest::mouseClick(only, Qt::LeftButton, {}, QPoint(4, only->height() / 2));
    QVERIFY(only->isChecked());
    QCOMPARE(Column(dialog.comparisonView(), 0), (QStringList{u"100002"_s, u"100003"_s}));
    QTest::mouseClick(only, Qt::LeftButton, {}, QPoint(4, only->height() / 2));
    QCOMPARE(dialog.comparisonView().model()->rowCount(), 3);
}

void TestComparisonDialog::anotherDay()
{
    PriceComparisonDialog dialog(Positions(), {}, Day);
    auto *day = dialog.findChild<QDateEdit *>(u"stichtag"_s);
    QCOMPARE(day->date(), Day);
    // In June B's price of 100010 holds and undercuts.
    day->setDate(QDate(2026, 6, 1));
    QCOMPARE(Column(dialog.comparisonView(), 4), (QStringList{u"9,50"_s, u"130,00"_s, u"19,00"_s}));
    QCOMPARE(Column(dialog.comparisonView(), 5).last(), u"B"_s);
    // Before the year nothing holds.
    day->setDate(QDate(2025, 12, 31));
    QCOMPARE(Column(dialog.comparisonView(), 3), (QStringList{QString(), QString(), QString()}));
}

void TestComparisonDialog::doubleClickChoosesTheGridRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("gridRow");
    QTest::newRow("competitor A of 100003") << 1 << 3 << 3;
    QTest::newRow("competitor B of 100002") << 0 << 4 << 1;
    QTest::newRow("the cheapest's price") << 1 << 6 << 3;
    QTest::newRow("an empty cell") << 2 << 4 << -1;
    QTest::newRow("the article") << 0 << 0 << -1;
}

void TestComparisonDialog::doubleClickChoosesTheGridRow()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, gridRow);
    PriceComparisonDialog dialog(Positions(), {}, Day);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView &view = dialog.comparisonView();
    const QRect cell = view.visualRect(view.model()->index(row, column));
    // The view takes a double click on the cell it was pressed on.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(dialog.chosenRow(), gridRow);
    QCOMPARE(dialog.result(), gridRow >= 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog.isVisible(), gridRow < 0);
}

void TestComparisonDialog::enterChoosesTheGridRow()
{
    PriceComparisonDialog dialog(Positions(), {}, Day);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTableView &view = dialog.comparisonView();
    view.setFocus();
    view.setCurrentIndex(view.model()->index(0, 4));
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(dialog.chosenRow(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestComparisonDialog::indexTab()
{
    PriceComparisonDialog dialog(Positions(), {{u"A"_s, u"Anton"_s}}, Day);
    auto *tabs = dialog.findChild<QTabWidget *>(u"tabs"_s);
    QCOMPARE(tabs->tabText(1), u"Preis&index"_s);
    const QTableView &view = dialog.indexView();
    QCOMPARE(Column(view, 0), (QStringList{u"A"_s, u"B"_s}));
    QCOMPARE(Column(view, 1), (QStringList{u"Anton"_s, QString()}));
    QCOMPARE(Column(view, 2), (QStringList{u"3"_s, u"2"_s}));
    QCOMPARE(Column(view, 3), (QStringList{u"33,3 %"_s, u"50,0 %"_s}));
    // A: +5 %, −16,7 %, +5 %; B: −5 %, +8,3 %.
    QCOMPARE(Column(view, 5), (QStringList{u"+5,0 %"_s, u"+1,7 %"_s}));
    // (10,50 + 100 + 21) / (10 + 120 + 20) × 100 and (9,50 + 130) / (10 + 120) × 100
    QCOMPARE(Column(view, 7), (QStringList{u"87,7"_s, u"107,3"_s}));
    for (int column = 0; column < view.model()->columnCount(); ++column)
        QVERIFY(!view.model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
}

void TestComparisonDialog::exportAndPrint()
{
    PriceComparisonDialog dialog(Positions(), {}, Day);
    dialog.show();
    QTemporaryDir folder;
    const QString workbook = folder.filePath(u"vergleich.xlsx"_s);
    const QString pdf = folder.filePath(u"vergleich.pdf"_s);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectSaveFileName(workbook);
    dialogs.expectPrintPreview([&](QPrintPreviewDialog &preview) {
        preview.printer()->setOutputFormat(QPrinter::PdfFormat);
        preview.printer()->setOutputFileName(pdf);
        preview.findChild<QPrintPreviewWidget *>()->print();
        return int(QDialog::Accepted);
    });
    dialog.findChild<QCheckBox *>(u"nurUnterboten"_s)->setChecked(true);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"BUExportXlsx"_s), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton *>(u"BUDruck"_s), Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);

    QFile file(workbook);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("PK"));
    // What is exported is what is shown: the filtered rows, numbers as numbers.
    const ExportTable table = ShownTable(*dialog.comparisonView().model());
    QCOMPARE(table.rows.size(), 2);
    QCOMPARE(table.rows.at(0).at(4), QVariant(9.5));
    QCOMPARE(int(table.columns.at(4).kind), int(ExportKind::Price));

    QString why;
    const QStringList pages = testsupport::PdfPages(pdf, &why);
    QVERIFY2(!pages.isEmpty(), qPrintable(why));
    QVERIFY(pages.first().contains(u"Preisvergleich am 02.03.2026"_s));
    QVERIFY(pages.first().contains(u"100003"_s));
    QVERIFY(!pages.first().contains(u"100010"_s));
}

QTEST_MAIN(TestComparisonDialog)
#include "tst_comparisondialog.moc"
