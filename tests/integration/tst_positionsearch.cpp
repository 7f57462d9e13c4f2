#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "objectapi/AccessError.h"
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

QStringList Sorted(QStringList list)
{
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

// The position search through the main window, on both databases: the
// filters, the rows with their article data and key figures, the limits,
// errors and cancelling; and the article fetch on a row.
class TestPositionSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void filters_data();
    void filters();
    void rowsWithArticleData();
    void moreThanAThousandRows();
    void serverErrorKeepsTheRowsRead();
    void cancelKeepsTheRowsRead();
    void idleTimeDoesNotEndALongSearch();
    void enterInTheCompetitorFilterSearches();
    void articleFetch();
    void unknownArticleIsRefused();
    void impossibleChangeDateIsRefused();

private:
    void fillFirm(int extraPositions = 0);
    bool start();
    void search();
    int rowOf(const QString &article, const QString &priceType = u"L"_s) const;
    QString text(int row, int column) const;

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
};

void TestPositionSearch::initTestCase()
{
    InitTestCase();
}

void TestPositionSearch::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
}

void TestPositionSearch::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    m_db.reset();
}

void TestPositionSearch::fillFirm(int extraPositions)
{
    testsupport::positionfirm::Fill(m_db->connectString(), extraPositions);
}

bool TestPositionSearch::start()
{
    m_window = std::make_unique<FMStart>();
    if (!m_window->Form_Load())
        return false;
    m_window->show();
    // No filter but the ones a test sets.
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    return QTest::qWaitForWindowExposed(m_window.get());
}

void TestPositionSearch::search()
{
    QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
}

int TestPositionSearch::rowOf(const QString &article, const QString &priceType) const
{
    const PositionModel &positions = m_window->positionArray();
    for (int row = 0; row < positions.rowCount(); ++row) {
        if (positions.cell(row, PositionColumn::Artnr).toString() == article
            && positions.cell(row, PositionColumn::Preistyp).toString() == priceType)
            return row;
    }
    return -1;
}

QString TestPositionSearch::text(int row, int column) const
{
    return m_window->positionArray().index(row, column).data().toString();
}

void TestPositionSearch::filters_data()
{
    QTest::addColumn<QString>("competitor");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("freeText");
    QTest::addColumn<QDate>("changedSince");
    QTest::addColumn<QStringList>("articles");

    QTest::newRow("all empty") << QString() << QString() << QString() << QDate()
                               << QStringList{Cement, Cement, Collective, Returned, Unsold, Vanished};
    QTest::newRow("competitor") << u"WERKHOF"_s << QString() << QString() << QDate() << QStringList{Cement, Cement};
    QTest::newRow("article") << QString() << Returned << QString() << QDate() << QStringList{Returned};
    // The position's own text counts for a collective article, the article's otherwise.
    QTest::newRow("free text") << QString() << QString() << u"sammelt"_s << QDate() << QStringList{Collective};
    QTest::newRow("free text, umlaut") << QString() << QString() << u"LÄUF"_s << QDate() << QStringList{Returned};
    QTest::newRow("changed since") << QString() << QString() << QString() << QDate(2026, 2, 20)
                                   << QStringList{Cement, Collective, Unsold};
    QTest::newRow("all four") << u"MOORBAU"_s << Unsold << u"laden"_s << QDate(2026, 2, 25) << QStringList{Unsold};
    QTest::newRow("nothing found") << u"WERKHOF"_s << Returned << QString() << QDate() << QStringList();
}

void TestPositionSearch::filters()
{
    QFETCH(QString, competitor);
    QFETCH(QString, article);
    QFETCH(QString, freeText);
    QFETCH(QDate, changedSince);
    QFETCH(QStringList, articles);

    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    m_window->findChild<MultiColumnComboBox *>(u"likonkur"_s)->setCurrentCode(competitor);
    m_window->findChild<MultiColumnComboBox *>(u"anr"_s)->setEditText(article);
    m_window->findChild<QLineEdit *>(u"volltext"_s)->setText(freeText);
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(changedSince);
    search();
    VERIFY_DIALOGS_DONE(dialogs);

    QStringList found;
    for (int row = 0; row < m_window->positionArray().rowCount(); ++row)
        found << m_window->positionArray().cell(row, PositionColumn::Artnr).toString();
    QCOMPARE(Sorted(found), Sorted(articles));
    const QString count = articles.size() == 1 ? u"1 Position"_s : QString::number(articles.size()) + u" Positionen";
    // The undercut counts after " · " are the evaluation's.
    QCOMPARE(m_window->findChild<QLabel *>(u"Positionszahl"_s)->text().section(u" · "_s, 0, 0), count);
}

void TestPositionSearch::rowsWithArticleData()
{
    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    const PositionModel &positions = m_window->positionArray();
    QCOMPARE(positions.rowCount(), Positions.size());

    const int cement = rowOf(Cement);
    QVERIFY(cement >= 0);
    QCOMPARE(positions.cell(cement, PositionColumn::DatumBis), QVariant(QDate(2026, 12, 31)));
    QCOMPARE(text(cement, PositionColumn::DatumBis), u"31.12.2026"_s);
    QCOMPARE(text(cement, PositionColumn::ArtBez), u"Zement"_s);
    QCOMPARE(text(cement, PositionColumn::VKE), u"Stück"_s);
    QCOMPARE(text(cement, PositionColumn::MengeAb), u"1,0000"_s);
    QCOMPARE(text(cement, PositionColumn::PreisExcl), u"12,5000"_s);
    QCOMPARE(text(cement, PositionColumn::PreisIncl), u"14,88"_s);
    QCOMPARE(text(cement, PositionColumn::PreisKalkIncl), u"95,20"_s);
    QCOMPARE(text(cement, PositionColumn::IntPreis), u"11,90"_s);
    QCOMPARE(text(cement, PositionColumn::Spanne), u"90,63 %"_s);
    QCOMPARE(text(cement, PositionColumn::DBVerlust), u"-15000,00"_s);
    QCOMPARE(positions.cell(cement, PositionColumn::Nettoumsatz), QVariant(1000.0));
    QCOMPARE(positions.cell(cement, PositionColumn::MC), QVariant(19.0));
    QCOMPARE(positions.cell(cement, PositionColumn::AendDatum), QVariant(QDate(2026, 3, 1)));
    QVERIFY(!positions.cell(cement, PositionColumn::UID).toString().isEmpty());

    // The price type without an end date hides the date the server holds.
    const int offer = rowOf(Cement, u"A"_s);
    QVERIFY(offer >= 0);
    QCOMPARE(text(offer, PositionColumn::DatumBis), QString());

    const int collective = rowOf(Collective);
    QCOMPARE(text(collective, PositionColumn::ArtBez), u"Eigener Sammeltext"_s);
    QCOMPARE(positions.cell(collective, PositionColumn::IntPreis), QVariant(4.5));
    QCOMPARE(text(collective, PositionColumn::SAM), u"J"_s);

    // Sales without a sold quantity: no loss figure, and the search goes on.
    const int returned = rowOf(Returned);
    QCOMPARE(text(returned, PositionColumn::DBVerlust), u"0"_s);
    QCOMPARE(text(returned, PositionColumn::DBProzent), u"20,00 %"_s);

    const int unsold = rowOf(Unsold);
    QCOMPARE(text(unsold, PositionColumn::DBProzent), u"0"_s);
    QCOMPARE(text(unsold, PositionColumn::RabattProzent), QString());

    const int vanished = rowOf(Vanished);
    QCOMPARE(text(vanished, PositionColumn::ArtBez), u"Altartikel"_s);
    QCOMPARE(text(vanished, PositionColumn::BRUmsatz), u"0,00"_s);
}

void TestPositionSearch::moreThanAThousandRows()
{
    fillFirm(1100);
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_window->positionArray().rowCount(), Positions.size() + 1100);
    const int last = m_window->positionArray().rowCount() - 1;
    QCOMPARE(m_window->positionArray().cell(last, PositionColumn::MC), QVariant(19.0));
    QCOMPARE(m_window->findChild<QLabel *>(u"Positionszahl"_s)->text().section(u" · "_s, 0, 0),
             u"1.106 Positionen"_s);

    // Beyond the most rows the grid holds, the user is told rather than left to believe all are shown.
    m_window->setSearchRowLimit(1000);
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s,
                          u"Es werden nur die ersten 1.000 Positionen gezeigt. Bitte grenzen Sie die Suche mit den "
                          u"Filtern ein."_s);
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_window->positionArray().rowCount(), 1000);
}

void TestPositionSearch::serverErrorKeepsTheRowsRead()
{
    fillFirm();
    int calls = 0;
    m_fixture->interceptCalls([&calls](const QString &, const QString &name, const QStringList &) {
        if (name == u"ArtikelDaten" && ++calls == 3)
            throw AccessError(ErrorNumber::ConnectionLost, u"Die Verbindung zur Datenbank ist verloren."_s);
    });
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s, u"Vorgang: Artikeldaten lesen."_s);
    search();
    VERIFY_DIALOGS_DONE(dialogs);

    // Every position read stays; the first two have their article data.
    const PositionModel &positions = m_window->positionArray();
    QCOMPARE(positions.rowCount(), Positions.size());
    for (int row = 0; row < positions.rowCount(); ++row)
        QCOMPARE(positions.cell(row, PositionColumn::MC).isValid(), row < 2);
    QCOMPARE(m_window->findChild<QLabel *>(u"Positionszahl"_s)->text().section(u" · "_s, 0, 0),
             u"6 Positionen, Artikeldaten unvollständig"_s);
}

void TestPositionSearch::cancelKeepsTheRowsRead()
{
    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    m_window->setProgressDelay(std::chrono::milliseconds(0));
    bool cancelled = false;
    QTimer::singleShot(0, m_window.get(), [this, &cancelled] {
        auto *progress = m_window->findChild<QProgressDialog *>(u"Suchfortschritt"_s);
        QVERIFY(progress);
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->labelText(), u"1 Position gelesen"_s);
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        cancelled = true;
    });
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(cancelled);
    QVERIFY(!m_window->isSearching());
    QCOMPARE(m_window->positionArray().rowCount(), 1);
    QVERIFY(!m_window->findChild<QProgressDialog *>(u"Suchfortschritt"_s));
    // The row read has no article data yet: the user is told, and a new row
    // does not make the count forget it.
    auto *count = m_window->findChild<QLabel *>(u"Positionszahl"_s);
    QCOMPARE(count->text().section(u" · "_s, 0, 0), u"1 Position, Artikeldaten unvollständig"_s);
    m_window->m_pos_neu_Click();
    QCOMPARE(count->text().section(u" · "_s, 0, 0), u"2 Positionen, Artikeldaten unvollständig"_s);
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Änderungen speichern?"_s, QMessageBox::No);
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(count->text().section(u" · "_s, 0, 0), u"6 Positionen"_s);
}

// The connection is let go after a while without server calls; a search
// that handles events between its calls must not count as idle.
void TestPositionSearch::idleTimeDoesNotEndALongSearch()
{
    fillFirm();
    m_fixture->interceptCalls([](const QString &, const QString &name, const QStringList &) {
        if (name == u"ArtikelDaten")
            QTest::qSleep(60);
    });
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    m_fixture->api().lockTimer().setInterval(1);
    search();
    VERIFY_DIALOGS_DONE(dialogs);
    const PositionModel &positions = m_window->positionArray();
    QCOMPARE(positions.rowCount(), Positions.size());
    for (int row = 0; row < positions.rowCount(); ++row)
        QVERIFY(positions.cell(row, PositionColumn::MC).isValid());
}

void TestPositionSearch::enterInTheCompetitorFilterSearches()
{
    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    auto *likonkur = m_window->findChild<MultiColumnComboBox *>(u"likonkur"_s);
    likonkur->setCurrentCode(u"WERKHOF"_s);
    likonkur->setFocus();
    QTest::keyClick(likonkur, Qt::Key_Return);
    QCOMPARE(m_window->positionArray().rowCount(), 2);
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestPositionSearch::articleFetch()
{
    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    PositionModel &positions = m_window->positionArray();
    positions.appendRow();
    const int row = positions.appendRow(
        {QString(), Cement, QString(), QString(), QString(), QString(), QString(), u"1"_s, QString(), QString(),
         u"12,50"_s, QString(), QString(), QString(), QString(), QString(), QString(), QString(), u"alt"_s,
         QString(), QString(), u"100"_s});
    auto *grid = m_window->findChild<PositionGrid *>(u"TDBGrid1"_s);
    grid->setCurrentIndex(positions.index(row, PositionColumn::Artnr));

    QVERIFY(!m_window->art_hol());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(text(row, PositionColumn::ArtBez), u"Zement"_s);
    QCOMPARE(text(row, PositionColumn::PreisIncl), u"14,88"_s);
    // The calculated price incl. VAT comes from the price before the fetch, which then sets it to 0.
    QCOMPARE(text(row, PositionColumn::PreisKalkIncl), u"119,00"_s);
    QCOMPARE(positions.cell(row, PositionColumn::PreisKalk), QVariant(0.0));
    QCOMPARE(text(row, PositionColumn::Spanne), u"0"_s);
    QCOMPARE(text(row, PositionColumn::ListeProzent), u"-100,00 %"_s);
    QCOMPARE(text(row, PositionColumn::DBVerlust), u"1000,00"_s);
    QCOMPARE(text(row, PositionColumn::RabattProzent), u"20,00 %"_s);
    QCOMPARE(text(row, PositionColumn::IntPreis), u"11,90"_s);
    // The row above is untouched.
    QCOMPARE(positions.row(0), PositionModel::Row(PositionColumnCount));
}

void TestPositionSearch::unknownArticleIsRefused()
{
    fillFirm();
    testsupport::ScriptedDialogs dialogs;
    QVERIFY(start());
    PositionModel &positions = m_window->positionArray();
    const int row = positions.appendRow({u"WERKHOF"_s, Vanished, u"Altartikel"_s});
    m_window->findChild<PositionGrid *>(u"TDBGrid1"_s)->setCurrentIndex(positions.index(row, PositionColumn::Artnr));
    const PositionModel::Row before = positions.row(row);

    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Artikel nicht gespeichert"_s);
    QVERIFY(m_window->art_hol());
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(dialogs.shown().constLast().icon, QMessageBox::Information);
    QCOMPARE(positions.row(row), before);
}

// A change date that does not exist is refused as the grid's date cells
// refuse one: when the field is left and when "Suchen" is pressed; the field
// keeps what was typed and nothing is searched.
void TestPositionSearch::impossibleChangeDateIsRefused()
{
    fillFirm();
    int queries = 0;
    m_fixture->interceptCalls([&queries](const QString &className, const QString &name, const QStringList &) {
        queries += className == u"Konkur.Konkur" && name == u"Konkur";
    });
    QVERIFY(start());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    search();
    QCOMPARE(m_window->positionArray().rowCount(), Positions.size());
    QCOMPARE(queries, 1);

    auto *since = m_window->findChild<DateField *>(u"aenddatab"_s);
    since->setFocus();
    since->selectAll();
    QTest::keyClicks(since, u"31022026"_s);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Kein gültiges Datum: 31.02.2026"_s);
    m_window->findChild<QLineEdit *>(u"volltext"_s)->setFocus();
    QTRY_VERIFY(since->hasFocus());
    dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Kein gültiges Datum: 31.02.2026"_s);
    m_window->BUSuch_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(since->text(), u"31.02.2026"_s);
    QCOMPARE(queries, 1);
    QCOMPARE(m_window->positionArray().rowCount(), Positions.size());

    // Emptied, the field means any change date.
    since->clear();
    m_window->BUSuch_Click();
    QCOMPARE(queries, 2);
}

QTEST_MAIN(TestPositionSearch)

#include "tst_positionsearch.moc"
