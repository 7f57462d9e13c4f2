#include <QAbstractItemModelTester>
#include <QDate>
#include <QLocale>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

using namespace tolven;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(tolven::DropDownList)

namespace {
using Row = PositionModel::Row;

// Column 0 of each row, joined with ",".
QString firstCells(const PositionModel &model)
{
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells.append(model.cell(row, Konkur).toString());
    return cells.join(u',');
}
} // namespace

class TestPositionModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void columns_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("named");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<DropDownList>("list");

        const int L = Qt::AlignLeft, R = Qt::AlignRight, C = Qt::AlignHCenter;
        const auto no = DropDownList::None;
        const auto row = [](int column, int named, const QString &caption, bool hidden, int alignment,
                            DropDownList list) {
            QTest::addRow("%d", column) << column << named << caption << hidden << alignment << list;
        };
        row(0, Konkur, u"Konkur"_s, false, L, DropDownList::Competitors);
        row(1, Artnr, u"Art-Nr"_s, false, L, no);
        row(2, ArtBez, u"Art-Bezeichnung"_s, false, L, no);
        row(3, ZAnr, u"Z-Art-Nr"_s, false, L, no);
        row(4, Preistyp, u"Preistyp"_s, false, L, DropDownList::PriceTypes);
        row(5, DatumAb, u"Datum ab"_s, false, C, no);
        row(6, DatumBis, u"Datum bis"_s, false, C, no);
        row(7, MengeAb, u"Menge ab"_s, false, R, no);
        row(8, VKE, u"VKE"_s, false, C, DropDownList::Units);
        row(9, IntPreis, u"int. Preis incl."_s, false, R, no);
        row(10, PreisExcl, u"Preis excl."_s, false, R, no);
        row(11, PreisIncl, u"Preis incl."_s, false, R, no);
        row(12, VRE, u"per VRE"_s, false, C, DropDownList::Units);
        row(13, BruttoEK, u"Brutto-EK"_s, false, R, no);
        row(14, Rabatt, u"Rabatt"_s, false, C, no);
        row(15, NettoEK, u"Netto-EK"_s, false, R, no);
        row(16, VKMenge, u"VK-Menge"_s, false, R, no);
        row(17, BRUmsatz, u"BR-Umsatz"_s, false, R, no);
        row(18, RabattProzent, u"Rab %"_s, false, C, no);
        row(19, DBAbs, u"DB-abs"_s, false, R, no);
        row(20, DBProzent, u"DB%"_s, false, C, no);
        row(21, PreisKalk, u"kalk. Preis excl."_s, false, R, no);
        row(22, PreisKalkIncl, u"kalk. Preis incl."_s, false, R, no);
        row(23, ListeProzent, u"- Liste %"_s, false, C, no);
        row(24, Spanne, u"Spanne"_s, false, R, no);
        row(25, DBVerlust, u"DB-Verlust"_s, false, R, no);
        row(26, Notiz, u"Notiz"_s, false, L, no);
        row(27, MC, u"MC"_s, true, L, no);
        row(28, SAM, u"SAM"_s, true, L, no);
        row(29, UID, u"UID"_s, true, L, no);
        row(30, AendDatum, u"Änd-Datum"_s, false, L, no);
        row(31, Nettoumsatz, u"Nettoumsatz"_s, true, L, no);
    }

    // The grid's header, alignments and hidden columns as the users know them.
    void columns()
    {
        QFETCH(int, column);
        QFETCH(int, named);
        QFETCH(QString, caption);
        QFETCH(bool, hidden);
        QFETCH(int, alignment);
        QFETCH(DropDownList, list);

        QCOMPARE(named, column);
        const PositionColumnInfo &info = ColumnInfo(column);
        QCOMPARE(info.caption, caption);
        QCOMPARE(info.hidden, hidden);
        QCOMPARE(static_cast<int>(info.alignment), alignment);
        QCOMPARE(info.dropDown, list);

        PositionModel model;
        model.appendRow();
        QCOMPARE(model.columnCount(), PositionColumnCount);
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), caption);
        QCOMPARE(model.index(0, column).data(Qt::TextAlignmentRole).toInt(), alignment | Qt::AlignVCenter);
    }

    // The window's changes, watched by Qt's model checker and by their signals.
    void rowChanges()
    {
        PositionModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        const Row tooLong(40, u"C"_s);
        model.setRows({{u"A"_s, u"4711"_s}, {u"B"_s}, tooLong});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(model.row(0).size(), PositionColumnCount);
        QCOMPARE(model.row(2).size(), PositionColumnCount);
        QCOMPARE(model.cell(0, Artnr), QVariant(u"4711"_s));
        QVERIFY(!model.cell(1, Artnr).isValid());

        QCOMPARE(model.appendRow({u"D"_s}), 3);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 3);
        QCOMPARE(inserted.at(0).at(2).toInt(), 3);
        QCOMPARE(model.headerData(3, Qt::Vertical).toInt(), 4);

        QVERIFY(model.insertRows(1, 2));
        QCOMPARE(firstCells(model), u"A,,,B,C,D"_s);
        QVERIFY(model.removeRows(1, 4));
        QCOMPARE(firstCells(model), u"A,D"_s);

        QVERIFY(!model.insertRows(-1, 1));
        QVERIFY(!model.insertRows(3, 1));
        QVERIFY(!model.insertRows(0, 0));
        QVERIFY(!model.removeRows(1, 2));
        QVERIFY(!model.removeRows(-1, 1));
        QCOMPARE(firstCells(model), u"A,D"_s);
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void cellRoles_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("display");

        QTest::newRow("text") << QVariant(u"Müller"_s) << QVariant(u"Müller"_s);
        QTest::newRow("number") << QVariant(12.5) << QVariant(u"12,5"_s);
        QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << QVariant(u"05.03.2024"_s);
    }

    // The grid shows dates in the client's one date form, with a four-digit
    // year, and numbers in the user's notation (the print reads the same);
    // editors get the value.
    void cellRoles()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, display);

        PositionModel model;
        model.appendRow();
        model.setCell(0, DatumAb, value);
        QCOMPARE(model.index(0, DatumAb).data(Qt::DisplayRole), display);
        QCOMPARE(model.index(0, DatumAb).data(Qt::EditRole), value);
    }

    void setCellSignalsThatCellOnly_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<bool>("signalled");

        QTest::newRow("new text") << QVariant(u"a"_s) << QVariant(u"b"_s) << true;
        QTest::newRow("same text") << QVariant(u"a"_s) << QVariant(u"a"_s) << false;
        QTest::newRow("text to empty") << QVariant(u"a"_s) << QVariant() << true;
        QTest::newRow("same number, other type") << QVariant(1) << QVariant(1.0) << true;
    }

    void setCellSignalsThatCellOnly()
    {
        QFETCH(QVariant, before);
        QFETCH(QVariant, after);
        QFETCH(bool, signalled);

        PositionModel model;
        model.setRows({{}, {}, {}});
        model.setCell(1, Preistyp, before);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        model.setCell(1, Preistyp, after);
        QCOMPARE(model.cell(1, Preistyp).typeId(), after.typeId());
        QCOMPARE(changed.count(), signalled ? 1 : 0);
        if (signalled) {
            QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(1, Preistyp));
            QCOMPARE(changed.at(0).at(1).toModelIndex(), model.index(1, Preistyp));
        }
    }

    // What a save puts into a stored row: only the cells given change, the
    // row keeps its version, and one signal spans the changed columns.
    void mergeCellsChangesTheGivenCellsOnly_data()
    {
        QTest::addColumn<QVariant>("uid");
        QTest::addColumn<QVariant>("changed");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        const QVariant today(QDate(2026, 12, 9));
        QTest::newRow("new position") << QVariant(u"1||77"_s) << today << int(UID) << int(AendDatum);
        QTest::newRow("changed position") << QVariant(u"1||5"_s) << today << int(AendDatum) << int(AendDatum);
        QTest::newRow("nothing new") << QVariant(u"1||5"_s) << QVariant(QDate(2026, 1, 2)) << -1 << -1;
    }

    void mergeCellsChangesTheGivenCellsOnly()
    {
        QFETCH(QVariant, uid);
        QFETCH(QVariant, changed);
        QFETCH(int, first);
        QFETCH(int, last);

        PositionModel model;
        Row row(PositionColumnCount);
        row[Konkur] = u"K1"_s;
        row[PreisExcl] = 12.5;
        row[UID] = u"1||5"_s;
        row[AendDatum] = QDate(2026, 1, 2);
        model.setRows({row, row});
        model.setRowVersion(1, 4);
        QSignalSpy signalled(&model, &QAbstractItemModel::dataChanged);

        PackedRow::Cells stored;
        stored[UID] = uid;
        stored[AendDatum] = changed;
        model.mergeCells(1, stored);

        QCOMPARE(model.cell(1, UID), uid);
        QCOMPARE(model.cell(1, AendDatum), changed);
        QCOMPARE(model.cell(1, Konkur), QVariant(u"K1"_s));
        QCOMPARE(model.cell(1, PreisExcl), QVariant(12.5));
        QCOMPARE(model.rowVersion(1), 4);
        QCOMPARE(model.row(0), row);
        QCOMPARE(signalled.count(), first < 0 ? 0 : 1);
        if (first >= 0) {
            QCOMPARE(signalled.at(0).at(0).toModelIndex(), model.index(1, first));
            QCOMPARE(signalled.at(0).at(1).toModelIndex(), model.index(1, last));
        }
    }

    // The view edits through setData, which respects read-only columns; the
    // window's setCell does not.
    void readOnlyColumns()
    {
        PositionModel model;
        model.appendRow();
        model.setReadOnlyColumns({ArtBez, DBAbs});

        QVERIFY(!(model.flags(model.index(0, ArtBez)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, ArtBez), u"typed"_s));
        QVERIFY(model.flags(model.index(0, Artnr)) & Qt::ItemIsEditable);
        QVERIFY(model.setData(model.index(0, Artnr), u"4711"_s));
        QCOMPARE(model.cell(0, Artnr), QVariant(u"4711"_s));

        model.setCell(0, ArtBez, u"Schraube"_s);
        QCOMPARE(model.cell(0, ArtBez), QVariant(u"Schraube"_s));
    }

    void fullArrayTakesNoMoreRows()
    {
        PositionModel model;
        // One shared row keeps a full array cheap.
        model.setRows(QList<Row>(PositionModel::MaxRows + 1, Row(PositionColumnCount, u"x"_s)));
        QCOMPARE(model.rowCount(), PositionModel::MaxRows);
        QCOMPARE(model.appendRow(), -1);
        QVERIFY(!model.insertRows(0, 1));

        QVERIFY(model.removeRows(0, 1));
        QVERIFY(model.insertRows(0, 1));
        QCOMPARE(model.rowCount(), PositionModel::MaxRows);
    }
};

QTEST_GUILESS_MAIN(TestPositionModel)
#include "tst_positionmodel.moc"
