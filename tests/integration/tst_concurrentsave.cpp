#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "access/Dialogs.h"
#include "masterdata/fmkonkur.h"
#include "common/DisplayFormat.h"
#include "common/EditingGrid.h"
#include "objectapi/AccessError.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
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
const QString PositionClass = u"Konkur.Konkur"_s;

enum class Other { Changes, Deletes };

} // namespace

Q_DECLARE_METATYPE(Other)

// Two users on one database through the main window: a save that meets a
// position another user changed or deleted since the search stops there and
// asks, a deletion likewise, and a master list replaced meanwhile is not
// overwritten unasked. The other user works through a session of its own.
class TestConcurrentSave : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase() { InitTestCase(); }
    void init();
    void cleanup();

    void saveMeetsAnotherUsersWrite_data();
    void saveMeetsAnotherUsersWrite();
    void deletionMeetsAnotherUsersChange_data();
    void deletionMeetsAnotherUsersChange();
    void historyOfTheCurrentRow();
    void masterListReplacedMeanwhile_data();
    void masterListReplacedMeanwhile();

private:
    void startAndSearch();
    int rowOf(const QString &article) const;
    QString idOf(const QString &article) const { return positions().cell(rowOf(article), PositionColumn::UID).toString(); }
    void typeInto(int row, int column, const QString &text);
    // The other user: firm 7, personnel code ZWEI.
    void otherWrites(Other what, const QString &id, const QString &price = u"99"_s);
    QString storedPrice(const QString &id);

    PositionGrid *grid() const { return m_window->findChild<PositionGrid *>(u"TDBGrid1"_s); }
    PositionModel &positions() const { return m_window->positionArray(); }

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_window;
    store::StoreFactory m_other;
};

void TestConcurrentSave::init()
{
    TOLVEN_FRESH_DATABASE(m_db);
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
    Fill(m_db->connectString());
    QVERIFY(m_other.connect(m_db->connectString()));
    auto windows = m_other.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"S FIRMA=7,FIL=0,PERSONAL=\"ZWEI\""_s});
    auto person = m_other.createNew(u"TV.ParPersEdv"_s);
    for (const auto &[name, value] : QList<std::pair<QString, QString>>{
             {u"Firma"_s, u"7"_s}, {u"Personalcode"_s, u"ZWEI"_s}, {u"PNAME"_s, u"Zweite Kollegin"_s}})
        person->setProperty(name, value);
    person->sys_save();
}

void TestConcurrentSave::cleanup()
{
    m_window.reset();
    m_other.disconnect();
    m_fixture.reset();
    m_db.reset();
}

void TestConcurrentSave::startAndSearch()
{
    m_window = std::make_unique<FMStart>();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_window->setProgressDelay(std::chrono::milliseconds(0));
    m_window->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    m_window->BUSuch_Click();
    QCOMPARE(positions().rowCount(), Positions.size());
    positions().removeRows(rowOf(Vanished), 1);
}

int TestConcurrentSave::rowOf(const QString &article) const
{
    for (int row = 0; row < positions().rowCount(); ++row) {
        if (positions().cell(row, PositionColumn::Artnr).toString() == article
            && positions().cell(row, PositionColumn::Preistyp).toString() == u"L")
            return row;
    }
    return -1;
}

void TestConcurrentSave::typeInto(int row, int column, const QString &text)
{
    QVERIFY2(testsupport::TypeIntoCell(*grid(), positions().index(row, column), text), "the cell opens no line editor");
}

void TestConcurrentSave::otherWrites(Other what, const QString &id, const QString &price)
{
    auto position = m_other.openById(PositionClass, id);
    if (what == Other::Deletes) {
        position->sys_deleteid(id);
        return;
    }
    position->setProperty(u"PreisExcl"_s, price);
    position->sys_save();
}

QString TestConcurrentSave::storedPrice(const QString &id)
{
    try {
        return m_other.openById(PositionClass, id)->property(u"PreisExcl"_s);
    } catch (const AccessError &error) {
        return error.number() == ErrorNumber::ObjectNotFound ? u"(gelöscht)"_s : error.description();
    }
}

void TestConcurrentSave::saveMeetsAnotherUsersWrite_data()
{
    QTest::addColumn<Other>("other");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");     // the conflict row's price on the server afterwards
    QTest::addColumn<QString>("notice");     // the box after "Neu laden"
    QTest::addColumn<bool>("restStored");    // the row after it

    const QString changed = u"Ihre Änderung an der Position ist verworfen; die Zeile zeigt, was jetzt gespeichert ist."_s;
    const QString gone = u"Die Position gibt es nicht mehr; die Zeile wird aus dem Raster genommen."_s;
    QTest::newRow("changed, reload") << Other::Changes << int(ReloadButton) << u"99"_s << changed << true;
    QTest::newRow("changed, overwrite") << Other::Changes << int(OverwriteButton) << u"13"_s << QString() << true;
    QTest::newRow("changed, cancel") << Other::Changes << int(QMessageBox::Cancel) << u"99"_s << QString() << false;
    QTest::newRow("deleted, reload") << Other::Deletes << int(ReloadButton) << u"(gelöscht)"_s << gone << true;
    QTest::newRow("deleted, overwrite") << Other::Deletes << int(OverwriteButton) << u"(gelöscht)"_s << QString()
                                        << true;
    QTest::newRow("deleted, cancel") << Other::Deletes << int(QMessageBox::Cancel) << u"(gelöscht)"_s << QString()
                                     << false;
}

void TestConcurrentSave::saveMeetsAnotherUsersWrite()
{
    QFETCH(Other, other);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(QString, notice);
    QFETCH(bool, restStored);
    startAndSearch();
    // Three changed rows in grid order; the middle one was written by the other user since the search.
    const QString before = idOf(Returned);
    const QString conflict = idOf(Unsold);
    const QString after = idOf(Cement);
    QVERIFY(rowOf(Returned) < rowOf(Unsold) && rowOf(Unsold) < rowOf(Cement));
    for (const QString &article : {Returned, Unsold, Cement})
        typeInto(rowOf(article), PositionColumn::PreisExcl, u"13"_s);
    otherWrites(other, conflict);

    testsupport::ScriptedDialogs dialogs;
    const QString what = other == Other::Changes ? u"geändert."_s : u"gelöscht."_s;
    dialogs.expectMessageStartingWith(Title, u"Die Position MOORBAU, Art-Nr. " + Unsold + u", Preistyp L, ab ",
                                      QMessageBox::StandardButton(answer));
    if (!notice.isEmpty())
        dialogs.expectMessage(Title, notice);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    const QString asked = dialogs.shown().first().text;
    QVERIFY2(asked.contains(u" wurde inzwischen von Zweite Kollegin am " + DisplayDate(QDate::currentDate()) + u" um ")
                 && asked.contains(what),
             qPrintable(asked));

    // The row before is stored whatever the answer; the one after unless cancelled.
    QCOMPARE(storedPrice(before), u"13"_s);
    QCOMPARE(storedPrice(after), restStored ? u"13"_s : u"12.5"_s);
    QCOMPARE(storedPrice(conflict), stored);
    const int row = rowOf(Unsold);
    if (answer == int(QMessageBox::Cancel)) {
        QVERIFY(positions().cell(row, PositionColumn::AendDatum).toString().isEmpty());
        QCOMPARE(positions().cell(row, PositionColumn::PreisExcl).toDouble(), 13.0);
    } else if (other == Other::Deletes && answer == int(ReloadButton)) {
        QCOMPARE(row, -1);
        QCOMPARE(positions().rowCount(), int(Positions.size()) - 2);
    } else if (other == Other::Deletes) {
        // Stored anew, as a position of its own.
        const QString id = positions().cell(row, PositionColumn::UID).toString();
        QVERIFY(!id.isEmpty() && id != conflict);
        QCOMPARE(storedPrice(id), u"13"_s);
    } else {
        QCOMPARE(positions().cell(row, PositionColumn::PreisExcl).toDouble(), answer == int(ReloadButton) ? 99.0 : 13.0);
        QVERIFY(!positions().cell(row, PositionColumn::AendDatum).toString().isEmpty());
    }

    // A second save stores what is left; after "Abbrechen" it asks again.
    testsupport::ScriptedDialogs again;
    if (answer == int(QMessageBox::Cancel))
        again.expectMessageStartingWith(Title, u"Die Position MOORBAU, Art-Nr. " + Unsold, OverwriteButton);
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(again);
    QCOMPARE(storedPrice(after), u"13"_s);
    if (answer == int(QMessageBox::Cancel)) {
        const QString id = positions().cell(rowOf(Unsold), PositionColumn::UID).toString();
        QCOMPARE(storedPrice(id), u"13"_s);
    }
}

void TestConcurrentSave::deletionMeetsAnotherUsersChange_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("backInTheGrid");
    QTest::addColumn<bool>("stillToDelete");

    QTest::newRow("reload") << int(ReloadButton) << u"99"_s << true << false;
    QTest::newRow("overwrite") << int(OverwriteButton) << u"(gelöscht)"_s << false << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << u"99"_s << false << true;
}

void TestConcurrentSave::deletionMeetsAnotherUsersChange()
{
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(bool, backInTheGrid);
    QFETCH(bool, stillToDelete);
    startAndSearch();
    const QString id = idOf(Returned);
    grid()->setCurrentIndex(positions().index(rowOf(Returned), 0));
    m_window->m_pos_loesch_Click();
    otherWrites(Other::Changes, id);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(Title, u"Die Position " + id + u", die Sie gelöscht haben, wurde inzwischen "
                                                 u"von Zweite Kollegin am ",
                                      QMessageBox::StandardButton(answer));
    if (backInTheGrid)
        dialogs.expectMessage(Title, u"Die Position " + id + u" wird nicht gelöscht; sie steht wieder im Raster.");
    m_window->BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(storedPrice(id), stored);
    QCOMPARE(m_window->deletionList().contains(id), stillToDelete);
    const int row = rowOf(Returned);
    QCOMPARE(row >= 0, backInTheGrid);
    if (backInTheGrid) {
        QCOMPARE(positions().cell(row, PositionColumn::UID).toString(), id);
        QCOMPARE(positions().cell(row, PositionColumn::PreisExcl).toDouble(), 99.0);
        // Read as it is now: a later change of it is checked against that.
        typeInto(row, PositionColumn::PreisExcl, u"98"_s);
        testsupport::ScriptedDialogs none;
        m_window->BUSpeich_Click();
        VERIFY_DIALOGS_DONE(none);
        QCOMPARE(storedPrice(id), u"98"_s);
    }
}

void TestConcurrentSave::historyOfTheCurrentRow()
{
    startAndSearch();
    typeInto(rowOf(Cement), PositionColumn::PreisExcl, u"13"_s);
    {
        testsupport::ScriptedDialogs none;
        m_window->BUSpeich_Click();
        VERIFY_DIALOGS_DONE(none);
    }
    otherWrites(Other::Changes, idOf(Cement), u"14.5"_s);

    QList<QStringList> lines;
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(u"Aenderungsverlauf"_s, [&lines](QDialog &dialog) {
        auto *table = dialog.findChild<QTableWidget *>(u"Verlauf"_s);
        for (int row = 0; table && row < table->rowCount(); ++row) {
            QStringList line;
            for (int column = 1; column < table->columnCount(); ++column)
                line << table->item(row, column)->text();
            lines << line;
        }
        return int(QDialog::Rejected);
    });
    grid()->setCurrentIndex(positions().index(rowOf(Cement), 0));
    m_window->findChild<QAction *>(u"m_pos_verlauf"_s)->trigger();
    VERIFY_DIALOGS_DONE(dialogs);
    // Newest first: the other user's change, then this user's save (change date and price among
    // what it changed), then the position made by the fill.
    lines.removeIf([](const QStringList &line) {
        return !QStringList{u"Preis excl."_s, u"Änd-Datum"_s, u"(angelegt)"_s}.contains(line.value(1));
    });
    QCOMPARE(lines, (QList<QStringList>{{u"ZWEI (Zweite Kollegin)"_s, u"Preis excl."_s, u"13"_s, u"14,5"_s},
                                        {u"NEU (Neu Ling)"_s, u"Änd-Datum"_s, u"01.03.2026"_s, u"02.03.2026"_s},
                                        {u"NEU (Neu Ling)"_s, u"Preis excl."_s, u"12,5"_s, u"13"_s},
                                        {QString(), u"(angelegt)"_s, QString(), QString()}}));
}

void TestConcurrentSave::masterListReplacedMeanwhile_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("stored");  // the names of the competitors afterwards
    QTest::addColumn<bool>("open");           // the window after the answer

    const QStringList others{u"Moorbau (geändert)"_s, u"Werkhof"_s};
    QTest::newRow("overwrite") << int(OverwriteButton) << QStringList{u"Moorbau GmbH"_s, u"Werkhof (neu)"_s} << false;
    QTest::newRow("reload") << int(ReloadButton) << others << true;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << others << true;
}

void TestConcurrentSave::masterListReplacedMeanwhile()
{
    QFETCH(int, answer);
    QFETCH(QStringList, stored);
    QFETCH(bool, open);
    const auto names = [this] {
        QStringList list;
        auto result = m_other.openQuery(u"Konkur.Par"_s, u"Konkur"_s);
        result->execute({u"7"_s});
        while (result->next())
            list << result->getColumn(3);
        list.sort();
        return list;
    };
    const auto replace = [this](const QList<std::pair<QString, QString>> &competitors) {
        auto windows = m_other.classObject(u"TV.Windows"_s);
        windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
        m_other.classObject(u"Konkur.Par"_s)->callMethod(u"Delall"_s, {u"7"_s});
        for (const auto &[code, name] : competitors) {
            auto competitor = m_other.createNew(u"Konkur.Par"_s);
            competitor->setProperty(u"Firma"_s, u"7"_s);
            competitor->setProperty(u"konkur"_s, code);
            competitor->setProperty(u"konkurbez"_s, name);
            competitor->sys_save();
        }
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    };
    replace({{u"MOORBAU"_s, u"Moorbau GmbH"_s}, {u"WERKHOF"_s, u"Werkhof"_s}});
    startAndSearch();

    fmkonkur window(m_window.get());
    QVERIFY(window.Form_Load());
    replace({{u"MOORBAU"_s, u"Moorbau (geändert)"_s}, {u"WERKHOF"_s, u"Werkhof"_s}});
    window.rows().setCell(1, 1, u"Werkhof (neu)"_s);

    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(Title, u"Die Liste der Konkurerber wurde inzwischen von Zweite Kollegin am "_s,
                                      QMessageBox::StandardButton(answer));
    window.BUSpeich_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(names(), stored);
    QCOMPARE(window.result() == 0, open);
    if (answer == int(ReloadButton))
        QCOMPARE(window.rows().cell(0, 1), u"Moorbau (geändert)"_s);

    // The entry's history: what the replacements changed of it.
    if (answer == int(OverwriteButton)) {
        QList<QStringList> lines;
        fmkonkur again(m_window.get());
        QVERIFY(again.Form_Load());
        again.grid().setCurrentIndex(again.rows().index(0, 0));
        testsupport::ScriptedDialogs history;
        history.expectDialog(u"Aenderungsverlauf"_s, [&lines](QDialog &dialog) {
            auto *table = dialog.findChild<QTableWidget *>(u"Verlauf"_s);
            for (int row = 0; table && row < table->rowCount(); ++row)
                lines << QStringList{table->item(row, 1)->text(), table->item(row, 2)->text(),
                                     table->item(row, 3)->text(), table->item(row, 4)->text()};
            return int(QDialog::Rejected);
        });
        again.showHistory();
        VERIFY_DIALOGS_DONE(history);
        QCOMPARE(lines, (QList<QStringList>{
                            {u"NEU (Neu Ling)"_s, u"Bezeichnung"_s, u"Moorbau (geändert)"_s, u"Moorbau GmbH"_s},
                            {u"ZWEI (Zweite Kollegin)"_s, u"Bezeichnung"_s, u"Moorbau GmbH"_s, u"Moorbau (geändert)"_s},
                            {u"ZWEI (Zweite Kollegin)"_s, u"Bezeichnung"_s, u"moorbau"_s, u"Moorbau GmbH"_s},
                        }));
    }
}

QTEST_MAIN(TestConcurrentSave)
#include "tst_concurrentsave.moc"
