#include <QLocale>
#include <QObject>
#include <QString>
#include <QTest>
#include <QVariant>

#include <optional>

#include "common/CellNumber.h"

using namespace Qt::StringLiterals;

using namespace tolven;

// Grid cells read as numbers: typed text in German or with "." as decimal
// point, and what is no number.
class TestCellNumber : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void textCell_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("expected");

        QTest::newRow("German") << u"12,5"_s << true << 12.5;
        QTest::newRow("point as decimal point") << u"12.5"_s << true << 12.5;
        QTest::newRow("text") << u"ab 10"_s << false << 0.0;
        // QLocale reads these as numbers; a cell holding them has none.
        QTest::newRow("nan") << u"nan"_s << false << 0.0;
        QTest::newRow("inf") << u"inf"_s << false << 0.0;
        QTest::newRow("minus inf") << u"-inf"_s << false << 0.0;
    }

    void textCell()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, expected);
        const std::optional<double> number = CellNumber(QVariant(text));
        QCOMPARE(number.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*number, expected);
        QCOMPARE(CellNumberOrZero(QVariant(text)), expected);
    }
};

QTEST_GUILESS_MAIN(TestCellNumber)
#include "tst_cellnumber.moc"
