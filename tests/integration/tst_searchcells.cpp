#include <QPushButton>
#include <QDate>
#include <QTest>

#include <algorithm>

#include "access/cacheapi.h"
#include "analysis/PriceMarks.h"
#include "common/CellNumber.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/KeyFigures.h"
#include "positions/PositionColumns.h"
#include "positions/PositionEvaluation.h"
#include "positions/PositionModel.h"
#include "positions/PositionSearch.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"
#include "support/ClientFixture.h"
#include "support/PositionFirm.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;
using namespace tolven;

namespace {

// Every row a search with no filters finds, made the plain way: each row's
// cells as values, its article's data asked for the row itself and written
// into it with ApplyArticleData's parts. What the grid shows must read
// exactly so, however the search shares and defers the work.
QList<PackedRow::Cells> PlainSearch(ServerFactory &factory, const QString &firm, const QStringList &withoutEndDate)
{
    QList<PackedRow::Cells> rows;
    auto positions = factory.classObject(u"Konkur.Konkur"_s);
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({firm, {}, {}, {}, {}});
    while (result->next())
        rows << PositionSearch::RowFromResult([&result](int n) { return result->getColumn(n); });
    const QLocale locale;
    for (PackedRow::Cells &row : rows) {
        PackedRow::Cells cells;
        if (withoutEndDate.contains(row[PositionColumn::Preistyp].toString()))
            cells[PositionColumn::DatumBis] = QString();
        cells[PositionColumn::PreisExcl] = row[PositionColumn::PreisExcl];
        cells[PositionColumn::PreisKalk] = row[PositionColumn::PreisKalk];
        const QString answer =
            positions->callMethod(u"ArtikelDaten"_s, {firm, row[PositionColumn::Artnr].toString()});
        const PackedRow::Cells articleCells = ArticleCells(ArticleData::parse(answer), ArticleFill::Search, locale);
        PutCells(cells, articleCells);
        ApplyPriceFigures(cells, ArticleFigures::of(articleCells, locale), ArticleFill::Search, locale);
        PutCells(row, cells);
    }
    result->close();
    return rows;
}

bool SameCell(const QVariant &a, const QVariant &b)
{
    return a.typeId() == b.typeId() && a == b;
}

QString Described(const QVariant &cell)
{
    return QString::fromLatin1(cell.typeName() ? cell.typeName() : "leer") + u' ' + cell.toString();
}

} // namespace

// The search's rows against the same rows made the plain way, on both
// databases: every cell of every row as the array holds it, as the grid
// shows it and as an edit keeps it.
class TestSearchCells : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase() { testsupport::positionfirm::InitTestCase(); }
    void init();
    void cleanup();

    void everyCellReadsAsBefore_data();
    void everyCellReadsAsBefore();

private:
    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
};

void TestSearchCells::init()
{
    TOLVEN_FRESH_DATABASE(m_db, false);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
}

void TestSearchCells::cleanup()
{
    m_fixture.reset();
    m_db.reset();
}

void TestSearchCells::everyCellReadsAsBefore_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<QStringList>("withoutEndDate");
    // Collective, unknown and unsold articles, sales without a quantity, a
    // price type without an end date.
    QTest::newRow("Firma 7") << false << QStringList{u"A"_s};
    // 10 000 positions of 2 000 articles, several of each.
    QTest::newRow("Demofirma") << true << QStringList();
}

void TestSearchCells::everyCellReadsAsBefore()
{
    QFETCH(bool, demo);
    QFETCH(QStringList, withoutEndDate);
    QString firm = testsupport::positionfirm::Firm;
    if (demo) {
        store::StoreFactory filling;
        QVERIFY(filling.connect(m_db->connectString()));
        try {
            store::FillDemoData(filling, {.articles = 2000, .positions = 10000});
        } catch (const AccessError &error) {
            QFAIL(qPrintable(error.description()));
        }
        const QList<store::DemoLogin> logins = store::DemoLogins();
        const auto login = std::find_if(logins.begin(), logins.end(),
                                        [](const store::DemoLogin &l) { return l.firm == u"1" && l.active; });
        QVERIFY(login != logins.end());
        firm = login->firm;
        m_fixture->setCommandLine(QStringList{login->firm, u"0"_s, login->code, login->password,
                                              testsupport::ClientFixture::serverOf(*m_db),
                                              testsupport::ClientFixture::portOf(*m_db)}
                                      .join(u' '));
        // The demo's price types without an end date, as the window reads them.
        store::StoreFactory reading;
        QVERIFY(reading.connect(m_db->connectString()));
        auto types = reading.openQuery(u"Konkur.Preistyp"_s, u"Preistyp"_s);
        types->execute({firm});
        while (types->next()) {
            if (types->getColumn(4) != u"J")
                withoutEndDate << types->getColumn(2);
        }
        types->close();
    } else {
        testsupport::positionfirm::Fill(m_db->connectString(), 40);
        m_fixture->setCommandLine(testsupport::positionfirm::CommandLine(*m_db));
    }

    FMStart window;
    QVERIFY(window.Form_Load());
    window.findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    QTest::mouseClick(window.findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
    const PositionModel &grid = window.positionArray();

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    const QList<PackedRow::Cells> plain = PlainSearch(factory, firm, withoutEndDate);
    QCOMPARE(grid.rowCount(), plain.size());
    QVERIFY(grid.rowCount() >= (demo ? 10000 : 46));

    PositionModel plainGrid;
    QList<PackedRow> plainRows;
    for (const PackedRow::Cells &cells : plain)
        plainRows << PackedRow(cells);
    plainGrid.setPackedRows(plainRows);

    int shared = 0;
    for (int row = 0; row < grid.rowCount(); ++row) {
        const PackedRow &found = grid.packedRow(row);
        for (int column = 0; column < PositionColumnCount; ++column) {
            shared += found.isShared(column) ? 1 : 0;
            const QVariant cell = found.cell(column);
            const QVariant expected = plain[row][column];
            if (!SameCell(cell, expected)) {
                QFAIL(qPrintable(u"Zeile %1, Spalte %2: %3 statt %4"_s.arg(row).arg(column).arg(
                    Described(cell), Described(expected))));
            }
            QCOMPARE(found.isEmpty(column), plainRows[row].isEmpty(column));
            QCOMPARE(found.number(column), CellNumber(expected));
            const QModelIndex index = grid.index(row, column);
            QCOMPARE(grid.data(index, Qt::DisplayRole), plainGrid.data(plainGrid.index(row, column)));
            QCOMPARE(grid.data(index, Qt::EditRole), expected);
        }
        // A changed row keeps every other cell as it read. A change of a
        // price the shared cells are made from makes them first; the id,
        // the change date or the note leave the row sharing them.
        const QList<std::pair<int, QVariant>> changes{{PositionColumn::Notiz, u"geändert"_s},
                                                      {PositionColumn::UID, u"1||999999"_s},
                                                      {PositionColumn::AendDatum, QDate(2026, 12, 9)},
                                                      {PositionColumn::PreisExcl, 1234.5},
                                                      {PositionColumn::PreisKalk, 0.5}};
        for (const auto &[changedColumn, value] : changes) {
            const PackedRow changed = found.withCell(changedColumn, value);
            const bool keepsShare = changedColumn != PositionColumn::PreisExcl && changedColumn != PositionColumn::PreisKalk;
            for (int column = 0; column < PositionColumnCount; ++column) {
                QCOMPARE(changed.isShared(column), keepsShare && found.isShared(column));
                if (column != changedColumn) {
                    QVERIFY2(SameCell(changed.cell(column), plain[row][column]),
                             qPrintable(u"Spalte %1 nach Änderung der Spalte %2"_s.arg(column).arg(changedColumn)));
                }
            }
        }
    }
    // The rows really share their article's cells: the comparison is not
    // between two plain grids.
    QVERIFY(shared > grid.rowCount() * 10);

    // The marks, made from the shared numbers, count as the plain rows do.
    int below = 0;
    int above = 0;
    for (int row = 0; row < plainGrid.rowCount(); ++row) {
        PricePosition position = window.evaluation().position(row);
        position.price = CellNumber(plain[row][PositionColumn::PreisIncl]);
        const PriceRelation relation = ComparePosition(position).relation;
        below += relation == PriceRelation::Below ? 1 : 0;
        above += relation == PriceRelation::Above ? 1 : 0;
    }
    QCOMPARE(window.evaluation().marks().below(), below);
    QCOMPARE(window.evaluation().marks().above(), above);
}

QTEST_MAIN(TestSearchCells)
#include "tst_searchcells.moc"
