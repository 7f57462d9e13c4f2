#include <QTest>

#include "objectapi/MLiteral.h"

using namespace Qt::StringLiterals;

using namespace tolven;

class TestMLiteral : public QObject
{
    Q_OBJECT

private slots:
    void quoteThenParseGivesTheText_data();
    void quoteThenParseGivesTheText();
    void parse_data();
    void parse();
};

void TestMLiteral::quoteThenParseGivesTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << u"MUELLER"_s << u"\"MUELLER\""_s;
    QTest::newRow("empty") << QString() << u"\"\""_s;
    QTest::newRow("one quote") << u"A\"B"_s << u"\"A\"\"B\""_s;
    QTest::newRow("only quotes") << u"\"\""_s << u"\"\"\"\"\"\""_s;
    QTest::newRow("command inside") << u"X\",FIL=9,PERSONAL=\"Y"_s
                                    << u"\"X\"\",FIL=9,PERSONAL=\"\"Y\""_s;
    QTest::newRow("umlauts") << u"Müller ß"_s << u"\"Müller ß\""_s;
}

void TestMLiteral::quoteThenParseGivesTheText()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(MQuote(text), quoted);

    qsizetype pos = 0;
    QString value;
    QVERIFY(ParseMLiteral(quoted, pos, value));
    QCOMPARE(value, text);
    QCOMPARE(pos, quoted.size());
}

void TestMLiteral::parse_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("end");

    QTest::newRow("stops after the literal") << u"\"AB\",\"C\""_s << 0 << true << u"AB"_s << 4;
    QTest::newRow("from a position") << u"X=\"AB\")"_s << 2 << true << u"AB"_s << 6;
    QTest::newRow("doubled quote at the end") << u"\"A\"\"\""_s << 0 << true << u"A\""_s << 5;
    QTest::newRow("no opening quote") << u"AB\""_s << 0 << false << QString() << 0;
    QTest::newRow("no closing quote") << u"\"AB"_s << 0 << false << QString() << 0;
    QTest::newRow("odd quotes at the end") << u"\"A\"\""_s << 0 << false << QString() << 0;
    QTest::newRow("empty input") << QString() << 0 << false << QString() << 0;
    QTest::newRow("position past the end") << u"\"A\""_s << 3 << false << QString() << 3;
}

void TestMLiteral::parse()
{
    QFETCH(QString, input);
    QFETCH(int, start);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    QFETCH(int, end);

    qsizetype pos = start;
    QString parsed = u"untouched"_s;
    QCOMPARE(ParseMLiteral(input, pos, parsed), ok);
    QCOMPARE(pos, qsizetype(end));
    QCOMPARE(parsed, ok ? value : u"untouched"_s);
}

QTEST_GUILESS_MAIN(TestMLiteral)
#include "tst_mliteral.moc"
