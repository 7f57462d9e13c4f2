#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "access/FMPass.h"
#include "objectapi/AccessError.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/KeyFigures.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/GridTyping.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;
using namespace testsupport::positionfirm;

namespace {

const QString Title = u"TOLVEN Konkurerberverwaltung"_s;
const QString AccessErrorTitle = u"Caché Zugriffsfehler"_s;
// The rows the tests start from: the positions but the one of the vanished article.
const int StartRows = int(Positions.size()) - 1;

// Which cells the tests look at, by column, as the grid shows them.
using Shown = QList<std::pair<int, QString>>;

} // namespace

// Editing the positions in the main window's grid, the position commands and
// saving, on both databases.
class TestPositionEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase();
    void init();
    void cleanup();

    void editRecalculates_data();
    void editRecalculates();
    void quantityAsksForTheOwnPrice_data();
    void quantityAsksForTheOwnPrice();
    void refusedInput_data();
    void refusedInput();
    void columnButtons();
    void presetsAndEditability();
    void endDateOfAPriceTypeWithoutOne();
    void commands();
    void saveShowsTheFirstProblem_data();
    void saveShowsTheFirstProblem();
    void saveStoresEverything();
    void failingSaveKeepsTheRest();
    void failingDeletionIsTakenUpAgain();
    void noteEditorBelongsToItsRow_data();
    void noteEditorBelongsToItsRow();
    void unsavedWorkIsAskedAbout_data();
    void unsavedWorkIsAskedAbout();
    void clearedEndDateIsStored();
    void untouchedIncompleteRowsDoNotBlockTheSave();
    void saveWaitsForARefusedCell();

private:
    // Starts the window and searches every position; unless asFound, the
    // rows are then made complete and the vanished article's row leaves the grid.
    void startAndSearch(bool asFound = false);
    int rowOf(const QString &article, const QString &priceType = u"L"_s) const;
    QString shown(int row, int column) const;
    // Types text into the cell through its editor and leaves it with Tab.
    void typeInto(int row, int column, const QString &text);
    QStringList storedArticles();

    PositionGrid *grid() const { return m_window->findChild<PositionGrid *>(u"TDBGrid1"_s); }
    PositionModel &positions() const { return m_window->positionArray(); }

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
};

void TestPositionEditing::initTestCase()
{
    InitTestCase();
}

void TestPositionEditing::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
    Fill(m_db->connectString());
}

void TestPositionEditing::cleanup()
{
    m_window.reset();
    m_fixture.reset();
    m_db.reset();
}

void TestPositionEditing::startAndSearch(bool asFound)
{
    m_window = std::make_unique<FMStart>();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    // Active before anything is typed: a late activation moves the focus
    // and would close an open editor.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    m_window->BUSuch_Click();
    QCOMPARE(positions().rowCount(), Positions.size());
    if (asFound)
        return;
    // Every row can be saved as it is: what was stored without quantity or
    // price gets them, and the position of the article the master data no
    // longer has leaves the grid (not the database).
    positions().removeRows(rowOf(Vanished), 1);
    for (int row = 0; row < positions().rowCount(); ++row) {
        for (int column : {PositionColumn::MengeAb, PositionColumn::PreisExcl}) {
            if (positions().cell(row, column).toString().isEmpty())
                positions().setCell(row, column, 1.0);
        }
    }
}

int TestPositionEditing::rowOf(const QString &article, const QString &priceType) const
{
    for (int row = 0; row < positions().rowCount(); ++row) {
        if (positions().cell(row, PositionColumn::Artnr).toString() == article
            && positions().cell(row, PositionColumn::Preistyp).toString() == priceType)
            return row;
    }
    return -1;
}

QString TestPositionEditing::shown(int row, int column) const
{
    return positions().index(row, column).data().toString();
}

void TestPositionEditing::typeInto(int row, int column, const QString &text)
{
    QVERIFY2(testsupport::TypeIntoCell(*grid(), positions().index(row, column), text), "the cell opens no line editor");
}

QStringList TestPositionEditing::storedArticles()
{
    store::StoreFactory factory;
    if (!factory.connect(m_db->connectString()))
        return {u"keine Verbindung"_s};
    auto result = factory.openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
    result->execute({Firm, QString(), QString(), QString(), QString()});
    QStringList articles;
    while (result->next())
        articles << result->getColumn(4) + u'/' + result->getColumn(6) + u'/' + result->getColumn(11);
    articles.sort();
    return articles;
}

void TestPositionEditing::editRecalculates_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Shown>("expected");
    QTest::addColumn<bool>("marked");

    QTest::newRow("price excl. gives price incl.")
        << Cement << int(PositionColumn::PreisExcl) << u"100"_s
        << Shown{{PositionColumn::PreisExcl, u"100,0000"_s}, {PositionColumn::PreisIncl, u"119,00"_s}} << true;
    QTest::newRow("price incl. gives price excl.")
        << Cement << int(PositionColumn::PreisIncl) << u"119"_s
        << Shown{{PositionColumn::PreisExcl, u"100,0000"_s}, {PositionColumn::PreisIncl, u"119,00"_s}} << true;
    QTest::newRow("calculated price and its figures")
        << Cement << int(PositionColumn::PreisKalk) << u"12"_s
        << Shown{{PositionColumn::PreisKalkIncl, u"14,2800"_s}, {PositionColumn::ListeProzent, u"20,00 %"_s},
                 {PositionColumn::Spanne, u"37,50 %"_s}, {PositionColumn::DBVerlust, u"-1400,00"_s}}
        << true;
    QTest::newRow("calculated price without purchase price or sales")
        << Unsold << int(PositionColumn::PreisKalk) << u"50"_s
        << Shown{{PositionColumn::PreisKalkIncl, u"59,5000"_s}, {PositionColumn::ListeProzent, u"0"_s},
                 {PositionColumn::Spanne, u"100,00 %"_s}, {PositionColumn::DBVerlust, u"0"_s}}
        << true;
    QTest::newRow("decimal point typed") << Cement << int(PositionColumn::PreisExcl) << u"10.5"_s
                                         << Shown{{PositionColumn::PreisIncl, u"12,50"_s}} << true;
    // The own price keeps its two places through an edit elsewhere in the row.
    QTest::newRow("own price of a collective article")
        << Collective << int(PositionColumn::PreisExcl) << u"2"_s << Shown{{PositionColumn::IntPreis, u"4,50"_s}}
        << true;
    QTest::newRow("own price of an article") << Cement << int(PositionColumn::PreisExcl) << u"2"_s
                                             << Shown{{PositionColumn::IntPreis, u"11,90"_s}} << true;
    QTest::newRow("same price again keeps the change date")
        << Cement << int(PositionColumn::PreisExcl) << u"12,50"_s << Shown{{PositionColumn::PreisExcl, u"12,5000"_s}}
        << false;
}

// What the grid computes when a cell is left, typed through its editor.
void TestPositionEditing::editRecalculates()
{
    QFETCH(QString, article);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(Shown, expected);
    QFETCH(bool, marked);

    startAndSearch();
    const int row = rowOf(article);
    typeInto(row, column, typed);
    for (const auto &[shownColumn, text] : expected)
        QTRY_COMPARE(shown(row, shownColumn), text);
    QCOMPARE(shown(row, PositionColumn::AendDatum).isEmpty(), marked);
    // After an edit the typed numbers hold numbers, also where they held text.
    if (marked)
        QCOMPARE(positions().cell(row, PositionColumn::IntPreis).typeId(), QMetaType::Double);
}

void TestPositionEditing::quantityAsksForTheOwnPrice_data()
{
    QTest::addColumn<QString>("article");
    QTest::addColumn<int>("calls");
    QTest::addColumn<double>("ownPrice");

    QTest::newRow("article with master data") << Cement << 1 << 11.9;
    QTest::newRow("collective article") << Collective << 0 << 4.5;
}

void TestPositionEditing::quantityAsksForTheOwnPrice()
{
    QFETCH(QString, article);
    QFETCH(int, calls);
    QFETCH(double, ownPrice);

    int priceCalls = 0;
    m_fixture->interceptCalls([&priceCalls](const QString &, const QString &name, const QStringList &) {
        priceCalls += name == u"ArtikelPreis";
    });
    startAndSearch();
    const int row = rowOf(article);
    typeInto(row, PositionColumn::MengeAb, u"5"_s);
    QTRY_COMPARE(shown(row, PositionColumn::MengeAb), u"5,0000"_s);
    QCOMPARE(priceCalls, calls);
    QCOMPARE(CellNumberOrZero(positions().cell(row, PositionColumn::IntPreis)), ownPrice);
}

void TestPositionEditing::refusedInput_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown article") << int(PositionColumn::Artnr) << u"999999"_s << u"Artikel nicht gespeichert"_s;
    QTest::newRow("unreal date") << int(PositionColumn::DatumAb) << u"31022026"_s
                                 << u"Kein gültiges Datum: 31.02.2026"_s;
}

// Refused input: the reason, then the cell in edit again with what was typed.
void TestPositionEditing::refusedInput()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, message);

    startAndSearch();
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(Title, message);
    const int row = rowOf(Unsold);
    const PositionModel::Row before = positions().row(row);
    typeInto(row, column, typed);

    const QModelIndex cell = positions().index(row, column);
    QTRY_VERIFY(grid()->indexWidget(cell));
    QString shownText = qobject_cast<QLineEdit *>(grid()->indexWidget(cell))->displayText();
    QCOMPARE(shownText.remove(u'.'), typed);
    QCOMPARE(positions().row(row), before);
    VERIFY_DIALOGS_DONE(dialogs);

    if (column == PositionColumn::Artnr) {
        // A known article is taken with its data.
        typeInto(row, column, Cement);
        QTRY_COMPARE(shown(row, PositionColumn::ArtBez), u"Zement"_s);
        QCOMPARE(shown(row, PositionColumn::ZAnr), u"Z-1"_s);
        QCOMPARE(shown(row, PositionColumn::AendDatum), QString());
    }
}

// F4 presses the button of the article and the note column: the article
// search, cancelled, changes nothing; the note editor writes into the cell.
void TestPositionEditing::columnButtons()
{
    startAndSearch();
    const int row = rowOf(Cement);
    const PositionModel::Row before = positions().row(row);
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"FMArtsu"_s, [](QDialog &) { return int(QDialog::Rejected); });
    grid()->setFocus();
    grid()->setCurrentIndex(positions().index(row, PositionColumn::Artnr));
    QTest::keyClick(grid(), Qt::Key_F4);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(positions().row(row), before);

    grid()->setCurrentIndex(positions().index(row, PositionColumn::Notiz));
    QTest::keyClick(grid(), Qt::Key_F4);
    auto *note = m_window->findChild<QPlainTextEdit *>(u"notiz"_s);
    QVERIFY(note->isVisible());
    QTRY_VERIFY(note->hasFocus());
    QTest::keyClicks(note, u"Nur bis Freitag"_s);
    QCOMPARE(shown(row, PositionColumn::Notiz), u"Nur bis Freitag"_s);
    QCOMPARE(shown(row, PositionColumn::AendDatum), QString());
    m_window->findChild<QLineEdit *>(u"volltext"_s)->setFocus();
    QTRY_VERIFY(!note->isVisible());
}

void TestPositionEditing::presetsAndEditability()
{
    startAndSearch();
    auto *competitor = m_window->findChild<MultiColumnComboBox *>(u"likonkur"_s);
    competitor->setCurrentCode(u"WERKHOF"_s);
    grid()->setFocus();
    grid()->setCurrentIndex(positions().index(0, PositionColumn::DatumAb));
    QTest::keyClick(grid(), Qt::Key_Insert);

    const int row = positions().rowCount() - 1;
    QCOMPARE(row, StartRows);
    QCOMPARE(grid()->currentIndex().row(), row);
    QCOMPARE(positions().cell(row, PositionColumn::Konkur).toString(), u"WERKHOF"_s);
    QCOMPARE(positions().cell(row, PositionColumn::DatumAb).toDate(), TestDay);
    QVERIFY(!positions().isEditable(row, PositionColumn::Konkur));
    competitor->setCurrentCode(QString());
    QVERIFY(positions().isEditable(row, PositionColumn::Konkur));

    // Tab passes over what cannot be edited: on an article with master
    // data from the article number straight to the price type.
    const int cement = rowOf(Cement);
    grid()->setCurrentIndex(positions().index(cement, PositionColumn::Artnr));
    QTest::keyClick(grid(), Qt::Key_Tab);
    QCOMPARE(grid()->currentIndex().column(), int(PositionColumn::Preistyp));
    QTest::keyClick(grid(), Qt::Key_Right);
    QCOMPARE(grid()->currentIndex().column(), int(PositionColumn::DatumAb));
    // A collective article's description is typed in.
    grid()->setCurrentIndex(positions().index(rowOf(Collective), PositionColumn::Artnr));
    QTest::keyClick(grid(), Qt::Key_Tab);
    QCOMPARE(grid()->currentIndex().column(), int(PositionColumn::ArtBez));
}

void TestPositionEditing::endDateOfAPriceTypeWithoutOne()
{
    startAndSearch();
    const int action = rowOf(Cement, u"A"_s);
    positions().setCell(action, PositionColumn::DatumBis, QDate(2026, 12, 31));
    grid()->setCurrentIndex(positions().index(action, PositionColumn::MengeAb));
    QCOMPARE(shown(action, PositionColumn::DatumBis), QString());
    QVERIFY(!positions().isEditable(action, PositionColumn::DatumBis));
    // The change date stays: the stored end date is not touched by a save.
    QVERIFY(!shown(action, PositionColumn::AendDatum).isEmpty());
    QVERIFY(positions().isEditable(rowOf(Cement), PositionColumn::DatumBis));
}

void TestPositionEditing::commands()
{
    startAndSearch();
    auto trigger = [this](const QString &name) { m_window->findChild<QAction *>(name)->trigger(); };

    // "Neu" without filters: today as the start, nothing else.
    trigger(u"m_pos_neu"_s);
    int row = positions().rowCount() - 1;
    for (int column = 0; column <= PositionColumn::AendDatum; ++column) {
        if (column != PositionColumn::DatumAb)
            QVERIFY2(positions().cell(row, column).toString().isEmpty(), qPrintable(QString::number(column)));
    }
    QVERIFY(!positions().cell(row, PositionColumn::Nettoumsatz).isValid());

    // "Neu" with the article filter: the article's data.
    m_window->findChild<MultiColumnComboBox *>(u"anr"_s)->setCurrentCode(Cement);
    trigger(u"m_pos_neu"_s);
    row = positions().rowCount() - 1;
    QCOMPARE(shown(row, PositionColumn::Artnr), Cement);
    QCOMPARE(shown(row, PositionColumn::ArtBez), u"Zement"_s);
    QCOMPARE(shown(row, PositionColumn::IntPreis), u"11,90"_s);

    // "Löschen" of a row never saved leaves the deletion list alone.
    trigger(u"m_pos_loesch"_s);
    QCOMPARE(positions().rowCount(), StartRows + 1);
    QVERIFY(m_window->deletionList().isEmpty());

    // "Kopie Anfügen" of a stored position: a new position.
    const int original = rowOf(Cement);
    grid()->setCurrentIndex(positions().index(original, PositionColumn::PreisExcl));
    trigger(u"m_pos_anfueg"_s);
    row = positions().rowCount() - 1;
    QCOMPARE(grid()->currentIndex().row(), row);
    QCOMPARE(positions().row(row).mid(0, PositionColumn::UID), positions().row(original).mid(0, PositionColumn::UID));
    QCOMPARE(positions().cell(row, PositionColumn::UID), QVariant(QString()));
    QCOMPARE(positions().cell(row, PositionColumn::AendDatum), QVariant(QString()));

    // "Löschen" of a stored position puts its id on the list.
    const QString id = positions().cell(original, PositionColumn::UID).toString();
    grid()->setCurrentIndex(positions().index(original, PositionColumn::PreisExcl));
    trigger(u"m_pos_loesch"_s);
    QCOMPARE(m_window->deletionList(), QStringList{id});
    QCOMPARE(rowOf(Cement), row - 1);
}

void TestPositionEditing::saveShowsTheFirstProblem_data()
{
    QTest::addColumn<int>("emptied");    // a column emptied in the returned article's row, or -1
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("column");     // where the cursor is put

    QTest::newRow("empty mandatory cell") << int(PositionColumn::PreisExcl) << u"Kann nicht leer sein"_s
                                          << int(PositionColumn::PreisExcl);
    // The copy is the last row; the original's row is named.
    QTest::newRow("copied row") << -1 << u"Identisch mit Zeile "_s << int(PositionColumn::PreisExcl);
}

void TestPositionEditing::saveShowsTheFirstProblem()
{
    QFETCH(int, emptied);
    QFETCH(QString, message);
    QFETCH(int, column);

    startAndSearch();
    int row = rowOf(Returned);
    if (emptied >= 0) {
        // As an edit leaves it: the row marked for saving.
        positions().setCell(row, emptied, QString());
        positions().setCell(row, PositionColumn::AendDatum, QString());
    } else {
        grid()->setCurrentIndex(positions().index(row, PositionColumn::PreisExcl));
        m_window->findChild<QAction *>(u"m_pos_anfueg"_s)->trigger();
        message += QString::number(positions().rowCount());
    }
    int saves = 0;
    m_fixture->interceptCalls([&saves](const QString &, const QString &name, const QStringList &) {
        saves += name == u"sys_save";
    });
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(Title, message);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(grid()->currentIndex(), positions().index(row, column));
    QVERIFY(grid()->indexWidget(positions().index(row, column)));
    QCOMPARE(saves, 0);
}

void TestPositionEditing::saveStoresEverything()
{
    int saves = 0;
    m_fixture->interceptCalls([&saves](const QString &, const QString &name, const QStringList &) {
        saves += name == u"sys_save";
    });
    startAndSearch();
    m_window->setProgressDelay(std::chrono::milliseconds(0));
    // A changed price, a new collective position with its own text and
    // price, and a deleted position.
    typeInto(rowOf(Cement), PositionColumn::PreisExcl, u"13"_s);
    grid()->setCurrentIndex(positions().index(rowOf(Returned), 0));
    m_window->m_pos_loesch_Click();
    m_window->findChild<MultiColumnComboBox *>(u"anr"_s)->setCurrentCode(Collective);
    m_window->m_pos_neu_Click();
    const int added = positions().rowCount() - 1;
    m_window->findChild<MultiColumnComboBox *>(u"anr"_s)->setCurrentCode(QString());
    positions().setCell(added, PositionColumn::Konkur, u"WERKHOF"_s);
    positions().setCell(added, PositionColumn::Preistyp, u"L"_s);
    typeInto(added, PositionColumn::ArtBez, u"Eigener Text; mit \"Zeichen\""_s);
    typeInto(added, PositionColumn::IntPreis, u"7,25"_s);

    m_window->BUSpeich_Click();
    QCOMPARE(saves, 2);
    QVERIFY(m_window->deletionList().isEmpty());
    QCOMPARE(positions().cell(added, PositionColumn::AendDatum).toDate(), TestDay);
    const QString id = positions().cell(added, PositionColumn::UID).toString();
    QVERIFY(!id.isEmpty());

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    auto stored = factory.openById(u"Konkur.Konkur"_s, id);
    QCOMPARE(stored->property(u"ArtBez"_s), u"Eigener Text; mit \"Zeichen\""_s);
    QCOMPARE(stored->property(u"IntPreis"_s), u"7.25"_s);
    QCOMPARE(stored->property(u"AendDatum"_s), u"2026-03-02"_s);
    QCOMPARE(stored->property(u"DatumBis"_s), QString());
    auto cement = factory.openById(u"Konkur.Konkur"_s, positions().cell(rowOf(Cement), PositionColumn::UID).toString());
    QCOMPARE(cement->property(u"PreisExcl"_s), u"13"_s);
    // Not a collective article: no own text, the internal price untouched.
    QCOMPARE(cement->property(u"ArtBez"_s), QString());
    QVERIFY(!storedArticles().join(u',').contains(Returned));

    // Saved once, stored once.
    m_window->BUSpeich_Click();
    QCOMPARE(saves, 2);
}

void TestPositionEditing::failingSaveKeepsTheRest()
{
    QString failing;
    m_fixture->interceptCalls([&failing](const QString &, const QString &name, const QStringList &arguments) {
        if (name == u"sys_save" && !failing.isEmpty() && arguments.value(0) == failing)
            throw AccessError(ErrorNumber::DatabaseError, u"Platte voll"_s);
    });
    startAndSearch();
    const QStringList before = storedArticles();
    // Three rows to store, in grid order: a changed one, the failing one, a new one.
    const auto [first, second] = std::minmax({rowOf(Cement), rowOf(Unsold)});
    const QString firstArticle = positions().cell(first, PositionColumn::Artnr).toString();
    const QString secondArticle = positions().cell(second, PositionColumn::Artnr).toString();
    typeInto(first, PositionColumn::PreisExcl, u"20"_s);
    typeInto(second, PositionColumn::PreisExcl, u"21"_s);
    grid()->setCurrentIndex(positions().index(rowOf(Returned), PositionColumn::PreisExcl));
    m_window->m_pos_anfueg_Click();
    const int copy = positions().rowCount() - 1;
    typeInto(copy, PositionColumn::MengeAb, u"50"_s);
    failing = positions().cell(second, PositionColumn::UID).toString();

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(AccessErrorTitle, u"Vorgang: Positionen speichern."_s);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(positions().cell(first, PositionColumn::AendDatum).toDate(), TestDay);
    QCOMPARE(positions().cell(second, PositionColumn::AendDatum), QVariant(QString()));
    QCOMPARE(positions().cell(copy, PositionColumn::UID), QVariant(QString()));
    QCOMPARE(storedArticles().size(), before.size());

    failing.clear();
    m_window->BUSpeich_Click();
    QCOMPARE(positions().cell(second, PositionColumn::AendDatum).toDate(), TestDay);
    QVERIFY(!positions().cell(copy, PositionColumn::UID).toString().isEmpty());
    QStringList after = storedArticles();
    QCOMPARE(after.size(), before.size() + 1);
    QVERIFY(after.contains(firstArticle + u"/L/20"));
    QVERIFY(after.contains(secondArticle + u"/L/21"));
}

void TestPositionEditing::failingDeletionIsTakenUpAgain()
{
    QString failing;
    m_fixture->interceptCalls([&failing](const QString &, const QString &name, const QStringList &arguments) {
        if (name == u"sys_deleteid" && arguments.value(0) == failing)
            throw AccessError(ErrorNumber::DatabaseError, u"gesperrt"_s);
    });
    startAndSearch();
    for (const QString &article : {Returned, Unsold, Collective}) {
        grid()->setCurrentIndex(positions().index(rowOf(article), PositionColumn::PreisExcl));
        m_window->m_pos_loesch_Click();
    }
    const QStringList ids = m_window->deletionList();
    QCOMPARE(ids.size(), 3);
    failing = ids.at(1);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(AccessErrorTitle, u"Vorgang: Positionen löschen."_s);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(m_window->deletionList(), ids.mid(1));
    QCOMPARE(storedArticles().size(), Positions.size() - 1);

    // Another user deleted the third meanwhile: deleted all the same.
    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    factory.classObject(u"Konkur.Konkur"_s)->sys_deleteid(ids.at(2));
    failing.clear();
    m_window->BUSpeich_Click();
    QVERIFY(m_window->deletionList().isEmpty());
    QCOMPARE(storedArticles().size(), Positions.size() - 3);
}

void TestPositionEditing::noteEditorBelongsToItsRow_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Löschen") << u"m_pos_loesch"_s;
    QTest::newRow("Neu") << u"m_pos_neu"_s;
    QTest::newRow("Kopie Anfügen") << u"m_pos_anfueg"_s;
}

// A command that changes the rows while the note editor is open takes what
// was typed into the note's own row and closes the editor: typing on reaches
// no other row.
void TestPositionEditing::noteEditorBelongsToItsRow()
{
    QFETCH(QString, command);
    startAndSearch();
    const int row = 1;
    const QString id = positions().cell(row, PositionColumn::UID).toString();
    const PositionModel::Row next = positions().row(row + 1);
    grid()->setFocus();
    grid()->setCurrentIndex(positions().index(row, PositionColumn::Notiz));
    QTest::keyClick(grid(), Qt::Key_F4);
    auto *note = m_window->findChild<QPlainTextEdit *>(u"notiz"_s);
    QTRY_VERIFY(note->hasFocus());
    QTest::keyClicks(note, u"abc"_s);

    m_window->findChild<QAction *>(command)->trigger();
    QVERIFY(!note->isVisible());
    QTest::keyClicks(note, u"def"_s);

    for (int other = 0; other < positions().rowCount(); ++other) {
        const QString otherId = positions().cell(other, PositionColumn::UID).toString();
        if (otherId == next.at(PositionColumn::UID).toString())
            QCOMPARE(positions().row(other), next);
        if (otherId == id)
            QCOMPARE(shown(other, PositionColumn::Notiz), u"abc"_s);
        QVERIFY(!shown(other, PositionColumn::Notiz).contains(u"def"_s));
    }
}

void TestPositionEditing::unsavedWorkIsAskedAbout_data()
{
    QTest::addColumn<QString>("replacing"); // what replaces the grid's work
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("replaced");

    for (const QString &replacing : {u"Suchen"_s, u"Schließen"_s, u"Login"_s}) {
        const QByteArray name = replacing.toUtf8();
        QTest::addRow("%s, nothing changed", name.constData()) << replacing << false << 0 << false << true;
        QTest::addRow("%s, Ja", name.constData()) << replacing << true << int(QMessageBox::Yes) << true << true;
        QTest::addRow("%s, Nein", name.constData()) << replacing << true << int(QMessageBox::No) << false << true;
        QTest::addRow("%s, Abbrechen", name.constData()) << replacing << true << int(QMessageBox::Cancel) << false << false;
    }
}

// Changed rows are not lost without a question when a search, a login or the
// end of the program replaces them; without changes nothing is asked.
void TestPositionEditing::unsavedWorkIsAskedAbout()
{
    QFETCH(QString, replacing);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, replaced);

    startAndSearch();
    const int row = rowOf(Cement);
    if (changed)
        typeInto(row, PositionColumn::PreisExcl, u"33"_s);
    testsupport::ScriptedDialogs dialogs;
    if (changed)
        dialogs.expectMessage(Title, u"Änderungen speichern?"_s, QMessageBox::StandardButton(answer));

    FMPass &login = m_fixture->api().loginWindow();
    if (replacing == u"Suchen") {
        QTest::mouseClick(m_window->findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
        // A search after "Nein" reads the stored price; "Abbrechen" keeps the grid.
        QCOMPARE(shown(rowOf(Cement), PositionColumn::PreisExcl),
                 replaced && !saved ? u"12,5000"_s : changed ? u"33,0000"_s : u"12,5000"_s);
        QCOMPARE(shown(rowOf(Cement), PositionColumn::AendDatum).isEmpty(), changed && !replaced);
    } else if (replacing == u"Schließen") {
        m_window->close();
        QCOMPARE(m_window->isVisible(), !replaced);
        QCOMPARE(m_fixture->exits(), replaced ? 1 : 0);
    } else {
        m_window->findChild<QAction *>(u"mLogin"_s)->trigger();
        login.userField()->setText(u"NEU"_s);
        login.passwordField()->setText(u"neu"_s);
        QTest::mouseClick(login.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        // After a login the grid starts empty, as at start-up.
        QCOMPARE(login.isVisible(), !replaced);
        QCOMPARE(positions().rowCount(), replaced ? 0 : StartRows);
        login.hide();
    }
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(storedArticles().contains(Cement + (saved ? u"/L/33" : u"/L/12.5")));
}

// A cleared end date of a price type that has one is stored empty.
void TestPositionEditing::clearedEndDateIsStored()
{
    startAndSearch();
    const int row = rowOf(Cement);
    const QString id = positions().cell(row, PositionColumn::UID).toString();
    const QModelIndex cell = positions().index(row, PositionColumn::DatumBis);
    grid()->setFocus();
    grid()->setCurrentIndex(cell);
    grid()->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(grid()->indexWidget(cell));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Tab);
    QTRY_COMPARE(shown(row, PositionColumn::DatumBis), QString());
    m_window->BUSpeich_Click();

    store::StoreFactory factory;
    QVERIFY(factory.connect(m_db->connectString()));
    QCOMPARE(factory.openById(u"Konkur.Konkur"_s, id)->property(u"DatumBis"_s), QString());
    // A price type without an end date keeps the one stored, as it shows none.
    const int action = rowOf(Cement, u"A"_s);
    const QString actionId = positions().cell(action, PositionColumn::UID).toString();
    typeInto(action, PositionColumn::PreisExcl, u"9"_s);
    m_window->BUSpeich_Click();
    QCOMPARE(factory.openById(u"Konkur.Konkur"_s, actionId)->property(u"DatumBis"_s), u"2026-12-31"_s);
}

// A stored position whose article is gone from the master data, or whose
// article data a stopped search did not fetch, does not keep the user from
// saving the rows he changed; changed, it is checked as every row is.
void TestPositionEditing::untouchedIncompleteRowsDoNotBlockTheSave()
{
    int priceCalls = 0;
    m_fixture->interceptCalls([&priceCalls](const QString &, const QString &name, const QStringList &) {
        priceCalls += name == u"ArtikelPreis";
    });
    startAndSearch(true);
    const int vanished = rowOf(Vanished);
    QVERIFY(vanished >= 0);

    testsupport::ScriptedDialogs dialogs;
    typeInto(rowOf(Cement), PositionColumn::PreisExcl, u"14"_s);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(storedArticles().contains(Cement + u"/L/14"));

    // A quantity typed on the row of the vanished article asks for no own price.
    typeInto(vanished, PositionColumn::MengeAb, u"3"_s);
    QTRY_COMPARE(shown(vanished, PositionColumn::MengeAb), u"3,0000"_s);
    QCOMPARE(priceCalls, 0);
    dialogs.expectMessage(Title, u"Kann nicht leer sein"_s);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(grid()->currentIndex().row(), vanished);
}

// "Speichern" while a refused cell waits to open again saves nothing: the
// refusal is shown, the cell opens, and the save waits for the user.
void TestPositionEditing::saveWaitsForARefusedCell()
{
    int saves = 0;
    m_fixture->interceptCalls([&saves](const QString &, const QString &name, const QStringList &) {
        saves += name == u"sys_save";
    });
    startAndSearch();
    const int row = rowOf(Unsold);
    typeInto(row, PositionColumn::PreisExcl, u"5"_s);
    const QModelIndex date = positions().index(row, PositionColumn::DatumAb);
    grid()->setCurrentIndex(date);
    grid()->edit(date);
    auto *editor = qobject_cast<QLineEdit *>(grid()->indexWidget(date));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"31022026"_s);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(Title, u"Kein gültiges Datum: 31.02.2026"_s);
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    // The button's shortcut clicks it a moment later.
    QTRY_COMPARE(dialogs.pending(), 0);
    QTRY_VERIFY(grid()->indexWidget(date));
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(saves, 0);
    QVERIFY(positions().cell(row, PositionColumn::AendDatum).toString().isEmpty());
}

QTEST_MAIN(TestPositionEditing)
#include "tst_positionediting.moc"
