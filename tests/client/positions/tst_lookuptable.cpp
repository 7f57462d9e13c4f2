#include <QAbstractItemModelTester>
#include <QObject>
#include <QTest>

#include "positions/LookupTable.h"

using namespace tolven;
using namespace Qt::StringLiterals;

class TestLookupTable : public QObject
{
    Q_OBJECT

private slots:
    void findByCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");

        QTest::newRow("known") << u"LI"_s << 1 << u"Lidl"_s;
        QTest::newRow("listed twice: the first") << u"AL"_s << 0 << u"Aldi"_s;
        QTest::newRow("without a name") << u"NO"_s << 2 << QString();
        QTest::newRow("unknown") << u"XX"_s << -1 << QString();
        QTest::newRow("other case") << u"li"_s << -1 << QString();
    }

    void findByCode()
    {
        QFETCH(QString, code);
        QFETCH(int, row);
        QFETCH(QString, name);

        LookupTable table({u"Code"_s, u"Konkurerber"_s});
        QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
        table.setRows({{u"AL"_s, u"Aldi"_s}, {u"LI"_s, u"Lidl"_s, u"surplus"_s}, {u"NO"_s}, {u"AL"_s, u"Nord"_s}});
        QCOMPARE(table.columnCount(), 2);
        QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), u"Konkurerber"_s);
        QCOMPARE(table.codes(), QStringList({u"AL"_s, u"LI"_s, u"NO"_s, u"AL"_s}));
        QCOMPARE(table.findCode(code), row);
        QCOMPARE(table.nameOf(code), name);

        // A new list forgets the old codes.
        table.setRows({{u"RE"_s, u"Rewe"_s}});
        QCOMPARE(table.findCode(code), -1);
        QCOMPARE(table.findCode(u"RE"_s), 0);
        table.clear();
        QCOMPARE(table.findCode(u"RE"_s), -1);
        QCOMPARE(table.rowCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLookupTable)
#include "tst_lookuptable.moc"
