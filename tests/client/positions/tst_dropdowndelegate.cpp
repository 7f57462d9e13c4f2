#include <QObject>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "positions/DropDownDelegate.h"
#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

using namespace tolven;
using namespace Qt::StringLiterals;

class TestDropDownDelegate : public QObject
{
    Q_OBJECT

private slots:
    void editCell_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QString>("typed"); // "^" stands for Home
        QTest::addColumn<QVariant>("after");

        QTest::newRow("choose by typing") << QVariant(u"AL"_s) << u"r"_s << QVariant(u"RE"_s);
        QTest::newRow("Home takes the first code") << QVariant(u"LI"_s) << u"^"_s << QVariant(u"AL"_s);
        QTest::newRow("unknown code survives") << QVariant(u"XX"_s) << QString() << QVariant(u"XX"_s);
        QTest::newRow("unknown code replaced") << QVariant(u"XX"_s) << u"l"_s << QVariant(u"LI"_s);
        QTest::newRow("empty cell stays untouched") << QVariant() << QString() << QVariant();
    }

    // The editor offers each code once and no empty entry, starts on the
    // cell's code and writes the chosen one back on Enter.
    void editCell()
    {
        QFETCH(QVariant, before);
        QFETCH(QString, typed);
        QFETCH(QVariant, after);

        LookupTable competitors({u"Code"_s, u"Konkurerber"_s});
        competitors.setRows({{u"AL"_s, u"Aldi"_s}, {u"LI"_s, u"Lidl"_s}, {u"RE"_s, u"Rewe"_s}, {u"AL"_s, u"Aldi alt"_s}});
        PositionModel model;
        model.setRows({{}, {}});
        model.setCell(1, Konkur, before);
        QTableView view;
        DropDownDelegate delegate(&competitors);
        view.setItemDelegateForColumn(Konkur, &delegate);
        view.setModel(&model);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        view.setCurrentIndex(model.index(1, Konkur));
        view.edit(model.index(1, Konkur));
        auto *editor = view.findChild<MultiColumnComboBox *>();
        QVERIFY(editor);
        QTRY_VERIFY(editor->hasFocus());
        QCOMPARE(editor->count(), 3);
        QCOMPARE(editor->itemText(0), u"AL"_s);
        QCOMPARE(editor->currentCode(), before.toString());
        for (const QChar key : typed) {
            if (key == u'^')
                QTest::keyClick(editor, Qt::Key_Home);
            else
                QTest::keyClicks(editor, QString(key));
        }
        QTest::keyClick(editor, Qt::Key_Return);

        QTRY_VERIFY(!view.findChild<MultiColumnComboBox *>());
        QCOMPARE(model.cell(1, Konkur), after);
        QCOMPARE(changed.count(), after == before ? 0 : 1);
    }
};

QTEST_MAIN(TestDropDownDelegate)
#include "tst_dropdowndelegate.moc"
