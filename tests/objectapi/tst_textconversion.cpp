#include <QLocale>
#include <QObject>
#include <QString>
#include <QTest>

#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"

using namespace tolven;
using namespace Qt::StringLiterals;

class TestTextConversion : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void convertText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("upperCase");
        QTest::addColumn<QString>("expected");

        QTest::newRow("TOLVEN month") << u"M{rz"_s << u"TOLVEN"_s << false << u"März"_s;
        QTest::newRow("TOLVEN all eight") << u"{|}~[\\]õ"_s << u"TOLVEN"_s << false << u"äöüßÄÖÜ§"_s;
        QTest::newRow("TOLVEN upper-cases before mapping")
            << u"m{rz"_s << u"TOLVEN"_s << true << u"MäRZ"_s;
        QTest::newRow("TOLVENSZ keeps bars") << u"a|b\\c"_s << u"TOLVENSZ"_s << false << u"a|b\\c"_s;
        QTest::newRow("TOLVENSZ maps the rest") << u"{}~[]õ"_s << u"TOLVENSZ"_s << false << u"äüßÄÜ§"_s;
        QTest::newRow("GUITOLVEN month") << u"März"_s << u"GUITOLVEN"_s << false << u"M{rz"_s;
        QTest::newRow("GUITOLVEN all eight") << u"äöüßÄÖÜ§"_s << u"GUITOLVEN"_s << false << u"{|}~[\\]õ"_s;
        QTest::newRow("GUITOLVEN upper") << u"Maß für"_s << u"GUITOLVEN"_s << true << u"MA~ F]R"_s;
        QTest::newRow("TOLVENSUCHE upper") << u"Größe"_s << u"TOLVENSUCHE"_s << true << u"GROESSE"_s;
        QTest::newRow("TOLVENSUCHE capitals only")
            << u"Äpfel größer"_s << u"TOLVENSUCHE"_s << false << u"AEpfel gröSSer"_s;
        QTest::newRow("RTF lower") << u"Tür"_s << u"RTF"_s << false << u"T\\'fcr"_s;
        QTest::newRow("RTF all seven")
            << u"äöüßÄÖÜ"_s << u"RTF"_s << false << u"\\'e4\\'f6\\'fc\\'df\\'C4\\'d6\\'dc"_s;
        QTest::newRow("RTF upper") << u"Tür"_s << u"RTF"_s << true << u"T\\'dcR"_s;
        QTest::newRow("unknown mode upper") << u"Straße {x}"_s << u"XYZ"_s << true << u"STRAßE {X}"_s;
        QTest::newRow("unknown mode as is") << u"Straße {x}"_s << u"XYZ"_s << false << u"Straße {x}"_s;
        QTest::newRow("mode is case-sensitive") << u"M{rz"_s << u"tolven"_s << false << u"M{rz"_s;
        QTest::newRow("empty mode keeps ß") << u"maßß"_s << QString() << true << u"MAßß"_s;
        QTest::newRow("empty text") << QString() << u"RTF"_s << true << QString();
    }

    void convertText()
    {
        QFETCH(QString, text);
        QFETCH(QString, mode);
        QFETCH(bool, upperCase);
        QFETCH(QString, expected);
        QCOMPARE(ConvertText(text, mode, upperCase), expected);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("server");

        QTest::newRow("ä") << u"ä"_s << u"{"_s;
        QTest::newRow("ö") << u"ö"_s << u"|"_s;
        QTest::newRow("ü") << u"ü"_s << u"}"_s;
        QTest::newRow("ß") << u"ß"_s << u"~"_s;
        QTest::newRow("Ä") << u"Ä"_s << u"["_s;
        QTest::newRow("Ö") << u"Ö"_s << u"\\"_s;
        QTest::newRow("Ü") << u"Ü"_s << u"]"_s;
        QTest::newRow("§") << u"§"_s << u"õ"_s;
        QTest::newRow("sentence") << u"Öl für Maß § 3"_s << u"\\l f}r Ma~ õ 3"_s;
    }

    void roundTrip()
    {
        QFETCH(QString, display);
        QFETCH(QString, server);
        QCOMPARE(DisplayToServer(display), server);
        QCOMPARE(ServerToDisplay(server), display);
        QCOMPARE(ServerToDisplay(DisplayToServer(display)), display);
    }

    void searchKey() { QCOMPARE(SearchKey(u"Müller-Lüdenscheidt Straße"_s), u"MUELLER-LUEDENSCHEIDT STRASSE"_s); }

    void replaceText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<bool>("wholeStrings");
        QTest::addColumn<QString>("expected");

        QTest::newRow("whole strings") << u"aXbXc"_s << u"X"_s << u"--"_s << true << u"a--b--c"_s;
        QTest::newRow("first characters") << u"aXbXc"_s << u"X"_s << u"--"_s << false << u"a-b-c"_s;
        QTest::newRow("first of find") << u"aXbXYc"_s << u"XY"_s << u"-"_s << false << u"a-b-Yc"_s;
        QTest::newRow("remove character") << u"aXbXc"_s << u"X"_s << QString() << false << u"abc"_s;
        QTest::newRow("remove string") << u"abcab"_s << u"ab"_s << QString() << true << u"c"_s;
        QTest::newRow("empty find") << u"aXb"_s << QString() << u"-"_s << true << u"aXb"_s;
        QTest::newRow("empty find single") << u"aXb"_s << QString() << u"-"_s << false << u"aXb"_s;
        QTest::newRow("no overlap") << u"aaa"_s << u"aa"_s << u"b"_s << true << u"ba"_s;
        QTest::newRow("case-sensitive") << u"aXbxc"_s << u"X"_s << u"-"_s << false << u"a-bxc"_s;
        QTest::newRow("find longer than rest") << u"abca"_s << u"ab"_s << u"-"_s << true << u"-ca"_s;
        QTest::newRow("no rescan") << u"aXb"_s << u"X"_s << u"XX"_s << true << u"aXXb"_s;
    }

    void replaceText()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        QFETCH(bool, wholeStrings);
        QFETCH(QString, expected);
        QCOMPARE(ReplaceText(text, find, replacement, wholeStrings), expected);
    }

    void piece_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("defaultValue");
        QTest::addColumn<QString>("expected");

        QTest::newRow("middle") << u"1 2 3"_s << u" "_s << 2 << QString() << u"2"_s;
        QTest::newRow("last") << u"1 2 3"_s << u" "_s << 3 << QString() << u"3"_s;
        QTest::newRow("empty field") << u"1  3"_s << u" "_s << 2 << u"x"_s << u"x"_s;
        QTest::newRow("after empty field") << u"1  3"_s << u" "_s << 3 << u"x"_s << u"3"_s;
        QTest::newRow("no delimiter") << u"abc"_s << u"|"_s << 1 << u"x"_s << u"abc"_s;
        QTest::newRow("beyond the end") << u"a|b"_s << u"|"_s << 3 << u"x"_s << u"x"_s;
        QTest::newRow("far beyond") << u"a|b"_s << u"|"_s << 300 << u"x"_s << u"x"_s;
        QTest::newRow("trailing delimiter") << u"a|b|"_s << u"|"_s << 3 << u"x"_s << u"x"_s;
        QTest::newRow("leading delimiter") << u"|b"_s << u"|"_s << 1 << u"x"_s << u"x"_s;
        QTest::newRow("zero") << u"a|b"_s << u"|"_s << 0 << u"x"_s << u"x"_s;
        QTest::newRow("negative") << u"a|b"_s << u"|"_s << -1 << u"x"_s << u"x"_s;
        QTest::newRow("first char of delimiter") << u"a|b;c"_s << u"|;"_s << 2 << QString() << u"b;c"_s;
        QTest::newRow("empty text") << QString() << u"|"_s << 1 << u"x"_s << u"x"_s;
        QTest::newRow("empty delimiter") << u"a|b"_s << QString() << 1 << u"x"_s << u"a|b"_s;
    }

    void piece()
    {
        QFETCH(QString, text);
        QFETCH(QString, delimiter);
        QFETCH(int, n);
        QFETCH(QString, defaultValue);
        QFETCH(QString, expected);
        QCOMPARE(Piece(text, delimiter, n, defaultValue), expected);
    }

    // What no text field holds: the first such character (-1 for none), in
    // fields of one line and of several.
    void forbiddenCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("oneLine");
        QTest::addColumn<int>("severalLines");
        const QChar high(0xD83D);
        const QChar low(0xDE00);
        QTest::newRow("plain") << u"O'Brien; 100% \\ Łódź"_s << -1 << -1;
        QTest::newRow("a pair of halves") << u"a"_s + high + low << -1 << -1;
        QTest::newRow("tab, line breaks") << u"a\tb\r\nc"_s << 1 << -1;
        QTest::newRow("NUL") << u"ab"_s + QChar(0) << 2 << 2;
        QTest::newRow("DEL") << u"a\x7f"_s << 1 << 1;
        QTest::newRow("C1 control") << u"a\u0085"_s << 1 << 1;
        QTest::newRow("high half alone at the end") << u"ab"_s + high << 2 << 2;
        QTest::newRow("low half first") << QString(low) + high + low << 0 << 0;
    }
    void forbiddenCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, oneLine);
        QFETCH(int, severalLines);
        QCOMPARE(int(FirstForbiddenCharacter(text, false)), oneLine);
        QCOMPARE(int(FirstForbiddenCharacter(text, true)), severalLines);
        QCOMPARE(ForbiddenCharacterComplaint(u"Notiz"_s, text, true).isEmpty(), severalLines < 0);
    }
};

QTEST_GUILESS_MAIN(TestTextConversion)
#include "tst_textconversion.moc"
