#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QObject>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "support/QuietPlatform.h"

using namespace tolven;
using namespace Qt::StringLiterals;

namespace {
const QString longName = u"Aldi Süd Einkaufsgesellschaft mbH"_s;

QList<QStringList> competitors(int count)
{
    QList<QStringList> rows = {{u"AL"_s, longName}, {u"LI"_s, u"Lidl"_s}, {u"RE"_s, u"Rewe"_s}};
    for (auto i = rows.size(); i < count; ++i)
        rows.append({u"K%1"_s.arg(i), u"Konkurrent %1"_s.arg(i)});
    return rows;
}
} // namespace

class TestMultiColumnCombo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::HideOffscreenPlatformNotices(); }
    void init() { m_table.setRows(competitors(3)); }

    void popupShowsAllColumns_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("comboWidth");

        QTest::newRow("short list") << 3 << 80;
        QTest::newRow("scrolling list") << 40 << 80;
        QTest::newRow("box wider than the columns") << 3 << 600;
    }

    // Code and name side by side under their captions, none cut off.
    void popupShowsAllColumns()
    {
        QFETCH(int, rows);
        QFETCH(int, comboWidth);

        m_table.setRows(competitors(rows));
        MultiColumnComboBox combo;
        combo.setLookup(&m_table, true);
        combo.resize(comboWidth, combo.sizeHint().height());
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        combo.showPopup();
        QTableView *view = combo.tableView();
        QTRY_VERIFY(view->isVisible());

        const QAbstractItemModel *model = view->model();
        QCOMPARE(model->rowCount(), rows + 1);
        QCOMPARE(model->columnCount(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"Code"_s);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), u"Konkurerber"_s);
        QVERIFY(view->horizontalHeader()->isVisible());
        QVERIFY(view->columnWidth(1) >= view->fontMetrics().horizontalAdvance(longName));
        QVERIFY(view->viewport()->width() >= view->columnWidth(0) + view->columnWidth(1));
        QVERIFY(view->window()->width() >= comboWidth);
        const int last = rows;
        if (rows < combo.maxVisibleItems())
            QVERIFY(view->rowViewportPosition(last) + view->rowHeight(last) <= view->viewport()->height());
    }

    void pickInPopupByKeyboard()
    {
        MultiColumnComboBox combo;
        combo.setLookup(&m_table, true);
        combo.show();
        combo.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QCOMPARE(combo.currentCode(), QString());

        QTest::keyClick(&combo, Qt::Key_F4);
        QTRY_VERIFY(combo.view()->isVisible());
        QTest::keyClick(combo.view(), Qt::Key_Down);
        QTest::keyClick(combo.view(), Qt::Key_Down);
        QTest::keyClick(combo.view(), Qt::Key_Return);
        QTRY_VERIFY(!combo.view()->isVisible());
        QCOMPARE(combo.currentCode(), u"LI"_s);

        QTest::keyClick(&combo, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(combo.view()->isVisible());
        QTest::keyClick(combo.view(), Qt::Key_Escape);
        QTRY_VERIFY(!combo.view()->isVisible());
        QCOMPARE(combo.currentCode(), u"LI"_s);
    }

    void setCurrentCode_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("index");

        QTest::newRow("known") << false << u"LI"_s << 2;
        QTest::newRow("empty") << false << QString() << 0;
        QTest::newRow("unknown") << false << u"XX"_s << -1;
        QTest::newRow("other case") << false << u"li"_s << -1;
        QTest::newRow("editable, typed code") << true << u"4711"_s << -1;
    }

    // An unknown code stays shown and returned until the user chooses an entry.
    void setCurrentCode()
    {
        QFETCH(bool, editable);
        QFETCH(QString, code);
        QFETCH(int, index);

        MultiColumnComboBox combo;
        combo.setEditable(editable);
        combo.setLookup(&m_table, true);
        combo.setCurrentIndex(1);

        combo.setCurrentCode(code);
        QCOMPARE(combo.currentIndex(), index);
        QCOMPARE(combo.currentCode(), code);
        QCOMPARE(editable || index >= 0 ? combo.currentText() : combo.placeholderText(), code);

        combo.setCurrentIndex(3);
        QCOMPARE(combo.currentCode(), u"RE"_s);
        QVERIFY(combo.placeholderText().isEmpty());
    }

    void refillKeepsChosenCode_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("emptyEntry");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("afterRefill");

        QTest::newRow("still listed") << false << true << u"RE"_s << u"RE"_s;
        QTest::newRow("gone: the empty entry") << false << true << u"LI"_s << QString();
        QTest::newRow("gone: the first entry") << false << false << u"LI"_s << u"AL"_s;
        QTest::newRow("typed article number") << true << true << u"4711"_s << u"4711"_s;
    }

    void refillKeepsChosenCode()
    {
        QFETCH(bool, editable);
        QFETCH(bool, emptyEntry);
        QFETCH(QString, chosen);
        QFETCH(QString, afterRefill);

        MultiColumnComboBox combo;
        combo.setEditable(editable);
        combo.setLookup(&m_table, emptyEntry);
        combo.setCurrentCode(chosen);
        m_table.setRows({{u"AL"_s, u"Aldi"_s}, {u"RE"_s, u"Rewe"_s}});
        QCOMPARE(combo.currentCode(), afterRefill);
    }

    // The empty entry sits in front of any model and follows its changes.
    void emptyEntryFollowsAnyModel()
    {
        QStandardItemModel lookup(0, 2);
        lookup.setHorizontalHeaderLabels({u"Code"_s, u"Einheit"_s});
        MultiColumnComboBox combo;
        combo.setLookup(&lookup, true);
        QAbstractItemModelTester tester(combo.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

        lookup.appendRow({new QStandardItem(u"ST"_s), new QStandardItem(u"Stück"_s)});
        lookup.appendRow({new QStandardItem(u"KG"_s), new QStandardItem(u"Kilogramm"_s)});
        QSignalSpy changed(combo.model(), &QAbstractItemModel::dataChanged);
        lookup.item(1, 1)->setText(u"Kilo"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), combo.model()->index(2, 1));
        QCOMPARE(combo.model()->headerData(1, Qt::Horizontal).toString(), u"Einheit"_s);

        combo.setCurrentCode(u"KG"_s);
        lookup.removeRow(0);
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.currentCode(), u"KG"_s);
    }

    // A window deletes its children in the order it made them: the lists go first.
    void lookupMayGoFirst()
    {
        QWidget window;
        auto *lookup = new LookupTable({u"Code"_s, u"Konkurerber"_s}, 0, &window);
        lookup->setRows(competitors(3));
        auto *combo = new MultiColumnComboBox(&window);
        combo->setLookup(lookup, true);
        combo->setCurrentCode(u"LI"_s);

        delete lookup;
        QCOMPARE(combo->count(), 1);
        QCOMPARE(combo->currentIndex(), 0);
        window.show();
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
    }

private:
    LookupTable m_table{{u"Code"_s, u"Konkurerber"_s}};
};

QTEST_MAIN(TestMultiColumnCombo)
#include "tst_multicolumncombo.moc"
