#include <QAction>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "analysis/PriceComparisonDialog.h"
#include "analysis/PriceHistoryChart.h"
#include "analysis/PriceHistoryDialog.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

using namespace testsupport::positionfirm;

// Firm 7 with a quantity tier of the cement (from 10 at 9,00, 10,71 incl.)
// and two prices of MOORBAU for it: from 10 at 11,31 incl. (above the own
// price at that quantity, though below the 11,90 of one piece) and an
// offer of 10,71 from 15.2. (below).
void AddCementPrices(const QString &connectString)
{
    store::StoreFactory factory;
    if (!factory.connect(connectString))
        QFAIL("no connection to the test database");
    const QList<std::pair<QString, Properties>> objects{
        {u"TV.ArtikelStaffel"_s, {{u"Artnr"_s, Cement}, {u"MengeAb"_s, u"10"_s}, {u"Preis"_s, u"9"_s}}},
        {u"Konkur.Konkur"_s,
         {{u"konkur"_s, u"MOORBAU"_s}, {u"Artnr"_s, Cement}, {u"Preistyp"_s, u"L"_s}, {u"DatumAb"_s, u"2026-02-01"_s},
          {u"MengeAb"_s, u"10"_s}, {u"PreisExcl"_s, u"9.5"_s}, {u"AendDatum"_s, u"2026-02-01"_s}}},
        {u"Konkur.Konkur"_s,
         {{u"konkur"_s, u"MOORBAU"_s}, {u"Artnr"_s, Cement}, {u"Preistyp"_s, u"A"_s}, {u"DatumAb"_s, u"2026-02-15"_s},
          {u"MengeAb"_s, u"1"_s}, {u"PreisExcl"_s, u"9"_s}, {u"AendDatum"_s, u"2026-02-15"_s}}}};
    for (const auto &[className, properties] : objects) {
        auto object = factory.createNew(className);
        object->setProperty(u"Firma"_s, Firm);
        for (const auto &[name, value] : properties)
            object->setProperty(name, value);
        object->sys_save();
        object->sys_Close();
    }
}

} // namespace

// The evaluations through the main window on both databases: the undercut
// marks and counts of the grid, "Preisvergleich" from the menu with its
// double click back into the grid, and "Preisverlauf" from the store.
class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase() { InitTestCase(); }
    void init();
    void cleanup();

    void marksAndCounts();
    void marksFollowEdits();
    void comparisonFromTheMenu();
    void historyFromTheStore_data();
    void historyFromTheStore();
    void evaluationsNeedPositions();

private:
    bool startAndSearch(const QString &competitor = QString());
    int rowOf(const QString &competitor, const QString &priceType, const QString &article = Cement) const;
    QString tooltip(int row) const;
    QString countText() const;

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
};

void TestEvaluation::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    Fill(m_db->connectString());
    AddCementPrices(m_db->connectString());
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
}

void TestEvaluation::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    m_db.reset();
}

bool TestEvaluation::startAndSearch(const QString &competitor)
{
    m_window = std::make_unique<FMStart>();
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    m_window->findChild<MultiColumnComboBox *>(u"likonkur"_s)->setCurrentCode(competitor);
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
    return QTest::qWaitForWindowExposed(m_window.get());
}

int TestEvaluation::rowOf(const QString &competitor, const QString &priceType, const QString &article) const
{
    const PositionModel &positions = m_window->positionArray();
    for (int row = 0; row < positions.rowCount(); ++row) {
        if (positions.cell(row, PositionColumn::Konkur).toString() == competitor
            && positions.cell(row, PositionColumn::Artnr).toString() == article
            && positions.cell(row, PositionColumn::Preistyp).toString() == priceType)
            return row;
    }
    return -1;
}

QString TestEvaluation::tooltip(int row) const
{
    return m_window->positionArray().index(row, PositionColumn::PreisIncl).data(Qt::ToolTipRole).toString();
}

QString TestEvaluation::countText() const
{
    return m_window->findChild<QLabel *>(u"Positionszahl"_s)->text();
}

void TestEvaluation::marksAndCounts()
{
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(startAndSearch());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(countText(), u"8 Positionen · 1 unter, 3 über eigenem Preis"_s);

    const PositionModel &positions = m_window->positionArray();
    QCOMPARE(tooltip(rowOf(u"WERKHOF"_s, u"L"_s)), u"25,0 % über eigenem Preis"_s);     // 14,88 against 11,90
    QCOMPARE(tooltip(rowOf(u"WERKHOF"_s, u"A"_s)), u"10,0 % über eigenem Preis"_s);     // 13,09
    // From 10 pieces: against the own price at 10 (10,71), not at one piece.
    const int tier = rowOf(u"MOORBAU"_s, u"L"_s);
    QCOMPARE(positions.index(tier, PositionColumn::IntPreis).data().toString(), u"11,90"_s);
    QCOMPARE(tooltip(tier), u"5,6 % über eigenem Preis"_s);
    const int offer = rowOf(u"MOORBAU"_s, u"A"_s);
    QCOMPARE(tooltip(offer), u"10,0 % unter eigenem Preis"_s);
    // Not by colour alone: bold below, italic above.
    const QModelIndex below = positions.index(offer, PositionColumn::PreisIncl);
    QVERIFY(below.data(Qt::BackgroundRole).isValid());
    QVERIFY(below.data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(positions.index(tier, PositionColumn::PreisIncl).data(Qt::FontRole).value<QFont>().italic());
    // Only the price column is marked; a position without a price not at all.
    QVERIFY(!positions.index(offer, PositionColumn::PreisExcl).data(Qt::BackgroundRole).isValid());
    QVERIFY(!positions.index(offer, PositionColumn::PreisExcl).data(Qt::ToolTipRole).isValid());
    const int unpriced = rowOf(u"MOORBAU"_s, u"L"_s, Returned);
    QVERIFY(!positions.index(unpriced, PositionColumn::PreisIncl).data(Qt::BackgroundRole).isValid());
    QCOMPARE(tooltip(unpriced), QString());
}

void TestEvaluation::marksFollowEdits()
{
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(startAndSearch());
    PositionModel &positions = m_window->positionArray();
    // A new price typed: 8,00 excl. is 9,52 incl., below the 10,71 at 10 pieces.
    const int tier = rowOf(u"MOORBAU"_s, u"L"_s);
    QVERIFY(positions.setData(positions.index(tier, PositionColumn::PreisExcl), u"8,00"_s));
    QTRY_COMPARE(tooltip(tier), u"11,1 % unter eigenem Preis"_s);
    QCOMPARE(countText(), u"8 Positionen · 2 unter, 2 über eigenem Preis"_s);

    // A price per another unit than the article's is not compared, and says why.
    const int other = rowOf(u"WERKHOF"_s, u"A"_s);
    positions.setCell(other, PositionColumn::VRE, u"Sack"_s);
    QCOMPARE(tooltip(other), u"nicht verglichen: Preis per Sack, eigener Preis per Pal"_s);
    QVERIFY(!positions.index(other, PositionColumn::PreisIncl).data(Qt::BackgroundRole).isValid());
    QCOMPARE(countText(), u"8 Positionen · 2 unter, 1 über eigenem Preis"_s);

    // New and deleted rows keep the marks in step with their rows.
    m_window->m_pos_neu_Click();
    QCOMPARE(countText(), u"9 Positionen · 2 unter, 1 über eigenem Preis"_s);
    const int offer = rowOf(u"MOORBAU"_s, u"A"_s);
    m_window->findChild<PositionGrid *>()->setCurrentIndex(positions.index(offer, PositionColumn::Konkur));
    m_window->m_pos_loesch_Click();
    QCOMPARE(countText(), u"8 Positionen · 1 unter, 1 über eigenem Preis"_s);
    QCOMPARE(tooltip(rowOf(u"MOORBAU"_s, u"L"_s)), u"11,1 % unter eigenem Preis"_s);
    QCOMPARE(tooltip(rowOf(u"WERKHOF"_s, u"L"_s)), u"25,0 % über eigenem Preis"_s);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestEvaluation::comparisonFromTheMenu()
{
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(startAndSearch());
    auto *action = m_window->findChild<QAction *>(u"m_preisvergleich"_s);
    QVERIFY(action);
    QCOMPARE(action->shortcut(), QKeySequence(u"Ctrl+Shift+V"_s));
    QCOMPARE(action->text(), u"Preis&vergleich…"_s);
    QStringList shown;
    dialogs.expectDialog(u"FMPreisvergleich"_s, [&](QDialog &dialog) {
        auto &comparison = static_cast<PriceComparisonDialog &>(dialog);
        QTableView &view = comparison.comparisonView();
        const QAbstractItemModel &model = *view.model();
        int cement = -1;
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.index(row, 0).data().toString() == Cement)
                cement = row;
        }
        if (cement < 0)
            return int(QDialog::Rejected);
        for (int column = 2; column < model.columnCount(); ++column)
            shown << model.index(cement, column).data().toString();
        // MOORBAU's offer, the cheapest: back into the grid.
        const QRect cell = view.visualRect(model.index(cement, 3));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell.center());
        return dialog.result();
    });
    action->trigger();
    VERIFY_DIALOGS_DONE(dialogs);
    // Own price, MOORBAU (its offer is lower than its tier price), WERKHOF
    // (the offer of the two price types), the cheapest.
    QCOMPARE(shown, (QStringList{u"11,90"_s, u"10,71"_s, u"13,09"_s, u"MOORBAU"_s, u"10,71"_s, u"−10,0 %"_s}));
    QCOMPARE(m_window->findChild<PositionGrid *>()->currentIndex().row(), rowOf(u"MOORBAU"_s, u"A"_s));
}

void TestEvaluation::historyFromTheStore_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("menu") << u"m_preisverlauf"_s;
    QTest::newRow("grid's menu") << u"m_pos_preisverlauf"_s;
}

void TestEvaluation::historyFromTheStore()
{
    QFETCH(QString, action);
    QStringList queries;
    m_fixture->interceptCalls([&queries](const QString &, const QString &name, const QStringList &) {
        queries << name;
    });
    testsupport::ScriptedDialogs dialogs;
    // The grid holds WERKHOF's positions only; the history shows every competitor's.
    QVERIFY(startAndSearch(u"WERKHOF"_s));
    const int row = rowOf(u"WERKHOF"_s, u"L"_s);
    QVERIFY(row >= 0);
    m_window->findChild<PositionGrid *>()->setCurrentIndex(m_window->positionArray().index(row, PositionColumn::Artnr));
    QList<QList<QPointF>> points;
    QStringList names;
    int changes = 0;
    dialogs.expectDialog(u"FMPreisverlauf"_s, [&](QDialog &dialog) {
        auto &history = static_cast<PriceHistoryDialog &>(dialog);
        for (QAbstractSeries *series : history.chartView().chart()->series()) {
            names << series->name();
            points << static_cast<QLineSeries *>(series)->points();
        }
        changes = history.changesView().model()->rowCount();
        return int(QDialog::Rejected);
    });
    queries.clear();
    m_window->findChild<QAction *>(action)->trigger();
    VERIFY_DIALOGS_DONE(dialogs);
    // One round trip: the query of the article's positions.
    QCOMPARE(queries, QStringList{u"Preisverlauf"_s});

    QCOMPARE(names, (QStringList{u"MOORBAU"_s, u"WERKHOF"_s, u"eigener Preis"_s}));
    // MOORBAU at its smallest quantity: the offer from 15.2. until today.
    QCOMPARE(points.at(0),
             (QList<QPointF>{{ChartDay(QDate(2026, 2, 15)), 10.71}, {ChartDay(QDate(2026, 3, 3)), 10.71}}));
    // WERKHOF's offer (no quantity given, so from 0) with the end date the store keeps.
    QCOMPARE(points.at(1),
             (QList<QPointF>{{ChartDay(QDate(2026, 1, 1)), 13.09}, {ChartDay(QDate(2027, 1, 1)), 13.09}}));
    QCOMPARE(points.at(2), (QList<QPointF>{{ChartDay(QDate(2026, 1, 1)), 11.9}, {ChartDay(QDate(2027, 1, 1)), 11.9}}));
    QCOMPARE(changes, 2);
}

void TestEvaluation::evaluationsNeedPositions()
{
    const QString NoArticle =
        u"Bitte wählen Sie eine Position mit Artikelnummer, deren Preisverlauf gezeigt werden soll."_s;
    testsupport::ScriptedDialogs dialogs;
    m_window = std::make_unique<FMStart>();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s,
                          u"Das Raster enthält keine Positionen. Bitte suchen Sie zuerst die Positionen, die verglichen"
                          u" werden sollen."_s);
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, NoArticle);
    m_window->findChild<QAction *>(u"m_preisvergleich"_s)->trigger();
    m_window->findChild<QAction *>(u"m_preisverlauf"_s)->trigger();
    // A new row without an article has no history either.
    m_window->m_pos_neu_Click();
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, NoArticle);
    m_window->findChild<QAction *>(u"m_pos_preisverlauf"_s)->trigger();
    VERIFY_DIALOGS_DONE(dialogs);
}

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
