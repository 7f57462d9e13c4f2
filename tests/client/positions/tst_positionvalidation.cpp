#include <QDate>
#include <QTest>

#include "positions/CellEdit.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionSave.h"
#include "positions/PositionValidation.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

// A row that can be saved: every mandatory cell filled.
PositionModel::Row Complete(const QString &article, const QVariant &quantity = 1.0)
{
    PositionModel::Row row(PositionColumnCount);
    row[PositionColumn::Konkur] = u"WERKHOF"_s;
    row[PositionColumn::Artnr] = article;
    row[PositionColumn::ArtBez] = u"Zement"_s;
    row[PositionColumn::Preistyp] = u"L"_s;
    row[PositionColumn::DatumAb] = QDate(2026, 3, 1);
    row[PositionColumn::MengeAb] = quantity;
    row[PositionColumn::VKE] = u"ST"_s;
    row[PositionColumn::IntPreis] = 11.9;
    row[PositionColumn::PreisExcl] = 0.0;
    row[PositionColumn::PreisIncl] = u"0,00"_s;
    row[PositionColumn::VRE] = u"PAL"_s;
    return row;
}

using Rows = QList<PositionModel::Row>;

PositionModel::Row With(PositionModel::Row row, int column, const QVariant &value)
{
    row[column] = value;
    return row;
}

} // namespace

// What stops a save, found in one pass, and the server form of a position.
class TestPositionValidation : public QObject
{
    Q_OBJECT

private slots:
    void firstProblem_data();
    void firstProblem();
    void properties_data();
    void properties();
};

void TestPositionValidation::firstProblem_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("message"); // empty: no problem
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    const auto a = Complete(u"100001"_s);
    const auto b = Complete(u"100002"_s);
    QTest::newRow("all fine") << Rows{a, b} << QString() << -1 << -1;
    QTest::newRow("empty grid") << Rows{} << QString() << -1 << -1;
    QTest::newRow("first empty column of the row")
        << Rows{a, With(With(b, PositionColumn::VRE, QString()), PositionColumn::ArtBez, QVariant())}
        << u"Kann nicht leer sein"_s << 1 << int(PositionColumn::ArtBez);
    QTest::newRow("optional cells may be empty")
        << Rows{With(With(With(a, PositionColumn::ZAnr, QString()), PositionColumn::DatumBis, QString()),
                      PositionColumn::BruttoEK, QVariant())}
        << QString() << -1 << -1;
    QTest::newRow("zero is no empty cell") << Rows{With(a, PositionColumn::MengeAb, 0.0)} << QString() << -1 << -1;
    QTest::newRow("differing end date and price are alike")
        << Rows{b, With(a, PositionColumn::DatumBis, QDate(2026, 5, 1)), With(a, PositionColumn::PreisExcl, 9.5)}
        << u"Identisch mit Zeile 3"_s << 1 << -1;
    QTest::newRow("quantity 1 and \"1,00\" are alike")
        << Rows{a, b, Complete(u"100001"_s, u"1,00"_s)} << u"Identisch mit Zeile 3"_s << 0 << -1;
    QTest::newRow("quantity 1,5 and 1 differ") << Rows{a, Complete(u"100001"_s, 1.5)} << QString() << -1 << -1;
    QTest::newRow("start date as text or date")
        << Rows{a, With(a, PositionColumn::DatumAb, u"01.03.2026"_s)} << u"Identisch mit Zeile 2"_s << 0 << -1;
    // The second row of a pair names the first.
    QTest::newRow("empty cell after a pair")
        << Rows{b, a, a, With(b, PositionColumn::Konkur, QString())} << u"Identisch mit Zeile 3"_s << 1 << -1;
    QTest::newRow("empty cell before a pair")
        << Rows{With(b, PositionColumn::Konkur, QString()), a, a} << u"Kann nicht leer sein"_s << 0 << 0;
    // A stored row the user left alone (its article gone, its article data
    // not fetched) is not to be stored, so nothing of it must be filled; it
    // still counts against the other rows.
    const QDate stored(2026, 2, 1);
    const auto untouched = With(With(b, PositionColumn::VKE, QString()), PositionColumn::AendDatum, stored);
    QTest::newRow("untouched stored row with an empty cell") << Rows{untouched, a} << QString() << -1 << -1;
    QTest::newRow("changed row after an untouched incomplete one")
        << Rows{untouched, With(a, PositionColumn::VRE, QString())} << u"Kann nicht leer sein"_s << 1
        << int(PositionColumn::VRE);
    QTest::newRow("untouched rows alike") << Rows{With(a, PositionColumn::AendDatum, stored), a}
                                          << u"Identisch mit Zeile 2"_s << 0 << -1;
}

void TestPositionValidation::firstProblem()
{
    QFETCH(Rows, rows);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(int, column);

    PositionModel positions;
    positions.setRows(rows);
    const std::optional<SaveProblem> problem = FindSaveProblem(positions);
    QCOMPARE(problem.has_value(), !message.isEmpty());
    if (!problem)
        return;
    QCOMPARE(SaveProblemText(*problem), message);
    QCOMPARE(problem->row, row);
    QCOMPARE(problem->column, column);
}

void TestPositionValidation::properties_data()
{
    QTest::addColumn<PositionModel::Row>("row");
    QTest::addColumn<QStringList>("endDateTypes");
    QTest::addColumn<QStringList>("expected"); // name=value, in order

    const QStringList common{u"konkur=WERKHOF"_s, u"Artnr=100001"_s};
    auto row = Complete(u"100001"_s, u"2,5"_s);
    row[PositionColumn::SAM] = u"N"_s;
    row[PositionColumn::PreisExcl] = u"1234567,89"_s;
    row[PositionColumn::PreisKalk] = 0.1;
    row[PositionColumn::Notiz] = u"Aktion; \"bis Ostern\""_s;
    QTest::newRow("article with master data")
        << row << QStringList()
        << common + QStringList{u"ArtBez="_s, u"Preistyp=L"_s, u"DatumAb=2026-03-01"_s, u"MengeAb=2.5"_s,
                                u"VKE=ST"_s, u"PreisExcl=1234567.89"_s, u"PreisKalk=0.1"_s, u"VRE=PAL"_s,
                                u"notiz=Aktion; \"bis Ostern\""_s, u"ZAnr="_s, u"AendDatum=2026-03-02"_s};
    row = Complete(u"100001"_s);
    row[PositionColumn::SAM] = u"J"_s;
    row[PositionColumn::DatumBis] = u"31.12.2026"_s;
    QTest::newRow("collective article with end date")
        << row << QStringList()
        << common + QStringList{u"ArtBez=Zement"_s, u"Preistyp=L"_s, u"DatumAb=2026-03-01"_s,
                                u"DatumBis=2026-12-31"_s, u"MengeAb=1"_s, u"VKE=ST"_s, u"PreisExcl=0"_s,
                                u"PreisKalk="_s, u"VRE=PAL"_s, u"notiz="_s, u"ZAnr="_s,
                                u"AendDatum=2026-03-02"_s, u"IntPreis=11.9"_s};
    // An end date cleared in the grid is stored empty where the price type
    // has one; where it has none, the grid shows none and the stored one stays.
    const QStringList withoutEndDate{u"ArtBez="_s, u"Preistyp=L"_s, u"DatumAb=2026-03-01"_s};
    const QStringList rest{u"MengeAb=1"_s, u"VKE=ST"_s, u"PreisExcl=0"_s, u"PreisKalk="_s, u"VRE=PAL"_s,
                           u"notiz="_s, u"ZAnr="_s, u"AendDatum=2026-03-02"_s};
    QTest::newRow("cleared end date, price type with one")
        << Complete(u"100001"_s) << QStringList{u"A"_s, u"L"_s}
        << common + withoutEndDate + QStringList{u"DatumBis="_s} + rest;
    QTest::newRow("no end date, price type without one")
        << Complete(u"100001"_s) << QStringList{u"A"_s} << common + withoutEndDate + rest;
}

void TestPositionValidation::properties()
{
    QFETCH(PositionModel::Row, row);
    QFETCH(QStringList, endDateTypes);
    QFETCH(QStringList, expected);

    QStringList actual;
    const QSet<QString> types(endDateTypes.cbegin(), endDateTypes.cend());
    for (const auto &[name, value] : PositionProperties(PackedRow::fromList(row), QDate(2026, 3, 2), types))
        actual << name + u'=' + value;
    QCOMPARE(actual, expected);
}

QTEST_MAIN(TestPositionValidation)
#include "tst_positionvalidation.moc"
