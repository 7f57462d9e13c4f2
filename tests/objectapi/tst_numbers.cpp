#include <QLocale>
#include <QObject>
#include <QString>
#include <QTest>

#include <cmath>
#include <limits>

#include "objectapi/Digits.h"
#include "objectapi/Numbers.h"

using namespace tolven;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tolven::NumberPattern)

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Digits are "0" to "9" only: other scripts' digits would pass
    // QChar::isDigit and then be refused by the database.
    void digits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("digits");  // IsDigits(text)
        QTest::addColumn<int>("port");     // ParsePort's value, 0 when refused

        QTest::newRow("digits") << u"5432"_s << true << 5432;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("sign") << u"-1"_s << false << 0;
        QTest::newRow("blank") << u"54 32"_s << false << 0;
        QTest::newRow("Arabic-Indic digits") << u"\u0665\u0664\u0663\u0662"_s << false << 0;
        QTest::newRow("full-width digit") << u"\uFF15"_s << false << 0;
        QTest::newRow("port 0") << u"0"_s << true << 0;
        QTest::newRow("highest port") << u"65535"_s << true << 65535;
        QTest::newRow("port too big") << u"65536"_s << true << 0;
        QTest::newRow("six digits") << u"000080"_s << true << 0;
    }

    void digits()
    {
        QFETCH(QString, text);
        QFETCH(bool, digits);
        QFETCH(int, port);
        QCOMPARE(IsDigits(text), digits);
        int parsed = 0;
        QCOMPARE(ParsePort(text, parsed), port != 0);
        QCOMPARE(parsed, port);
        QVERIFY(!IsDigits(u"12345"_s, 4));
    }

    void numericValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<float>("expected");

        QTest::newRow("point and unit") << u"12.50 EUR"_s << 12.5f;
        QTest::newRow("negative comma") << u"-3,75"_s << -3.75f;
        QTest::newRow("plus sign") << u"+7"_s << 7.0f;
        QTest::newRow("blanks dropped") << u"1 234"_s << 1234.0f;
        QTest::newRow("letters dropped") << u"1e5"_s << 15.0f;
        QTest::newRow("leading comma") << u",5"_s << 0.5f;
        QTest::newRow("trailing comma") << u"12,"_s << 12.0f;
        QTest::newRow("empty") << QString() << 0.0f;
        QTest::newRow("point becomes second comma") << u"1.234,5"_s << 0.0f;
        QTest::newRow("letters only") << u"abc"_s << 0.0f;
        QTest::newRow("sign only") << u"-"_s << 0.0f;
        QTest::newRow("comma only") << u","_s << 0.0f;
        QTest::newRow("sign at the end") << u"5-"_s << 0.0f;
        QTest::newRow("two signs") << u"--5"_s << 0.0f;
        QTest::newRow("sign after comma") << u",-5"_s << 0.0f;
        QTest::newRow("sign in the middle") << u"1+2"_s << 0.0f;
        QTest::newRow("plus then minus") << u"+-2"_s << 0.0f;
    }

    void numericValue()
    {
        QFETCH(QString, value);
        QFETCH(float, expected);
        const float actual = NumericValue(value);
        QCOMPARE(actual, expected);
        QCOMPARE(std::signbit(actual), std::signbit(expected));
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");

        QTest::newRow("trailing letters") << u"12.5abc"_s << 12.5;
        QTest::newRow("no integer digits") << u"-.5"_s << -0.5;
        QTest::newRow("backquote") << u"7`x"_s << 7.0;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("plus") << u"+3"_s << 3.0;
        QTest::newRow("trailing point") << u"5."_s << 5.0;
        QTest::newRow("comma stops") << u"4,75"_s << 4.0;
        QTest::newRow("tenths") << u"0.1"_s << 0.1;
        QTest::newRow("sign only") << u"-"_s << 0.0;
        QTest::newRow("negative zero") << u"-0.0"_s << 0.0;
        QTest::newRow("point only") << u"."_s << 0.0;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("leading blank") << u" 12"_s << 0.0;
        QTest::newRow("letters") << u"abc"_s << 0.0;
    }

    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double actual = LeadingNumber(text);
        QVERIFY2(actual == expected, qPrintable(QString::number(actual, 'g', 17)));
        QCOMPARE(std::signbit(actual), std::signbit(expected));
    }

    void formatNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<NumberPattern>("pattern");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");

        const auto two = NumberPattern::TwoPlaces;
        const auto four = NumberPattern::FourPlaces;
        const auto percent = NumberPattern::Percent;
        const QLocale de;
        const QLocale en(QLocale::English, QLocale::UnitedStates);

        QTest::newRow("plain") << 12.5 << two << de << u"12,50"_s;
        QTest::newRow("zero") << 0.0 << two << de << u"0,00"_s;
        QTest::newRow("negative") << -2.5 << two << de << u"-2,50"_s;
        QTest::newRow("tie 1.005") << 1.005 << two << de << u"1,01"_s;
        QTest::newRow("tie 2.675") << 2.675 << two << de << u"2,68"_s;
        QTest::newRow("tie 0.125") << 0.125 << two << de << u"0,13"_s;
        QTest::newRow("negative tie") << -1.005 << two << de << u"-1,01"_s;
        QTest::newRow("below tie") << 1.0049 << two << de << u"1,00"_s;
        QTest::newRow("carry into integer") << 0.995 << two << de << u"1,00"_s;
        QTest::newRow("carry adds digit") << 99.999 << two << de << u"100,00"_s;
        QTest::newRow("negative rounds to zero") << -0.001 << two << de << u"0,00"_s;
        QTest::newRow("no grouping") << 1234567.891 << two << de << u"1234567,89"_s;
        QTest::newRow("no exponent") << 1e20 << two << de << u"100000000000000000000,00"_s;
        QTest::newRow("tiny") << 1e-300 << two << de << u"0,00"_s;
        QTest::newRow("NaN") << kNaN << two << de << u"0,00"_s;
        QTest::newRow("infinity") << kInf << two << de << u"0,00"_s;
        QTest::newRow("minus infinity") << -kInf << two << de << u"0,00"_s;
        QTest::newRow("four places") << 3.14159 << four << de << u"3,1416"_s;
        QTest::newRow("four places tie") << 1.00005 << four << de << u"1,0001"_s;
        QTest::newRow("four places pads") << 2.0 << four << de << u"2,0000"_s;
        QTest::newRow("percent") << 0.1234 << percent << de << u"12,34 %"_s;
        QTest::newRow("percent tie") << 0.01005 << percent << de << u"1,01 %"_s;
        QTest::newRow("percent tie after scaling") << 0.00115 << percent << de << u"0,12 %"_s;
        QTest::newRow("percent small") << 0.00001 << percent << de << u"0,00 %"_s;
        QTest::newRow("percent negative zero") << -0.00001 << percent << de << u"0,00 %"_s;
        QTest::newRow("English") << 1.5 << two << en << u"1.50"_s;
        QTest::newRow("English no grouping") << 1234.5 << two << en << u"1234.50"_s;
        QTest::newRow("English percent") << 0.1234 << percent << en << u"12.34 %"_s;
    }

    void formatNumber()
    {
        QFETCH(double, value);
        QFETCH(NumberPattern, pattern);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QCOMPARE(FormatNumber(value, pattern, locale), expected);
    }

    void formatNumberDefaultLocale() { QCOMPARE(FormatNumber(1.5, NumberPattern::TwoPlaces), u"1,50"_s); }

    void serverNumber_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("maxDecimals");
        QTest::addColumn<QString>("expected");

        QTest::newRow("half") << 12.5 << 6 << u"12.5"_s;
        QTest::newRow("whole") << 3.0 << 6 << u"3"_s;
        QTest::newRow("negative") << -0.25 << 6 << u"-0.25"_s;
        QTest::newRow("binary noise") << 0.1 + 0.2 << 6 << u"0.3"_s;
        QTest::newRow("negative rounds to zero") << -0.0000001 << 6 << u"0"_s;
        QTest::newRow("zero") << 0.0 << 6 << u"0"_s;
        QTest::newRow("no grouping") << 1234567.891 << 6 << u"1234567.891"_s;
        QTest::newRow("no exponent") << 1e20 << 6 << u"100000000000000000000"_s;
        QTest::newRow("rounds up") << 0.1234567 << 6 << u"0.123457"_s;
        QTest::newRow("tie") << 2.675 << 2 << u"2.68"_s;
        QTest::newRow("round up drops zeros") << 1.0999999 << 6 << u"1.1"_s;
        QTest::newRow("no decimals") << 2.5 << 0 << u"3"_s;
        QTest::newRow("no decimals negative") << -2.5 << 0 << u"-3"_s;
        QTest::newRow("NaN") << kNaN << 6 << u"0"_s;
    }

    void serverNumber()
    {
        QFETCH(double, value);
        QFETCH(int, maxDecimals);
        QFETCH(QString, expected);
        QCOMPARE(ServerNumber(value, maxDecimals), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
