#include <QAction>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <thread>

#include "access/Clock.h"
#include "common/EditingGrid.h"
#include "masterdata/FMPreistyp.h"
#include "masterdata/fmkonkur.h"
#include "objectapi/AccessError.h"
#include "positions/FMStart.h"
#include "positions/LookupTable.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"
#include "support/ToolOutput.h"

using namespace Qt::StringLiterals;

using namespace tolven;
using testsupport::positionfirm::Firm;

namespace {

using Rows = QList<QStringList>;

enum Kind { Competitors, PriceTypes };

const QString MessageTitle = u"TOLVEN Konkurerberverwaltung"_s;

struct KindInfo
{
    QString className;
    QString query;
    QStringList properties;
    QString duplicate;
};

KindInfo Info(int kind)
{
    if (kind == Competitors)
        return {u"Konkur.Par"_s, u"Konkur"_s, {u"konkur"_s, u"konkurbez"_s}, u"Code bereits vorhanden"_s};
    return {u"Konkur.Preistyp"_s, u"Preistyp"_s, {u"code"_s, u"bez"_s, u"bisdatjn"_s}, u"Code ist bereits vorhanden"_s};
}

// The lists firm 7 starts with: code, name (and the flag).
Rows StartingList(int kind)
{
    if (kind == Competitors)
        return {{u"WERKHOF"_s, u"Werkhof L}neburg"_s}, {u"MOORBAU"_s, u"moorbau"_s}};
    return {{u"L"_s, u"Liste"_s, u"J"_s}, {u"A"_s, u"Aktion"_s, u"N"_s}};
}

// Types text into a line edit, umlauts included.
void TypeText(QWidget *field, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

// The competitor and price type windows on both databases: loading, the
// commit check of each edit, saving as one replacement of the firm's list
// (also when it fails midway or two users save at once), printing, and the
// main window's lists read again when a window closes.
class TestMasterData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase();
    void init();
    void cleanup();
    void loadsTheListInServerOrder_data();
    void loadsTheListInServerOrder();
    void commitCheck_data();
    void commitCheck();
    void savingReplacesTheList_data();
    void savingReplacesTheList();
    void failedSaveKeepsTheOldList_data();
    void failedSaveKeepsTheOldList();
    void concurrentReplacementsLeaveOneList();
    void printsTheList_data();
    void printsTheList();
    void mainWindowReadsItsListsAgain_data();
    void mainWindowReadsItsListsAgain();

private:
    std::unique_ptr<MasterListWindow> openWindow(int kind);
    // The firm's stored list: the kind's properties per object, in server
    // order; ids, when asked, the objects' ids.
    Rows stored(int kind, QStringList *ids = nullptr);
    void store(int kind, const Rows &rows);
    // Opens the cell (row -1: the new-row line), types text and leaves it
    // with Return.
    void typeInto(MasterListWindow &window, int row, int column, const QString &text);
    void click(MasterListWindow &window, const QString &button);

    std::unique_ptr<testsupport::TestDatabase> m_db;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_main;
    store::StoreFactory m_check;
    // Called for each class method, query and save of the client.
    std::function<void(const QString &name)> m_onCall;
};

void TestMasterData::initTestCase()
{
    testsupport::positionfirm::InitTestCase();
    SetNowProvider([] { return QDateTime(QDate(2026, 3, 2), QTime(9, 5)); });
}

void TestMasterData::init()
{
    TOLVEN_FRESH_DATABASE(m_db, false);
    testsupport::positionfirm::Fill(m_db->connectString());
    QVERIFY(m_check.connect(m_db->connectString()));
    m_onCall = nullptr;
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->interceptCalls([this](const QString &, const QString &name, const QStringList &) {
        if (m_onCall)
            m_onCall(name);
    });
    m_fixture->setCommandLine(testsupport::positionfirm::CommandLine(*m_db));
    m_main = std::make_unique<FMStart>();
    QVERIFY(m_main->Form_Load());
}

void TestMasterData::cleanup()
{
    m_main.reset();
    m_fixture.reset();
    m_check.disconnect();
    m_db.reset();
}

std::unique_ptr<MasterListWindow> TestMasterData::openWindow(int kind)
{
    std::unique_ptr<MasterListWindow> window;
    if (kind == Competitors)
        window = std::make_unique<fmkonkur>();
    else
        window = std::make_unique<FMPreistyp>();
    if (!window->Form_Load())
        return nullptr;
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

Rows TestMasterData::stored(int kind, QStringList *ids)
{
    Rows rows;
    auto result = m_check.openQuery(Info(kind).className, Info(kind).query);
    result->execute({Firm});
    while (result->next()) {
        QStringList row;
        for (int column = 2; column < 2 + Info(kind).properties.size(); ++column)
            row << result->getColumn(column);
        rows << row;
        if (ids)
            *ids << result->getColumn(1);
    }
    return rows;
}

void TestMasterData::store(int kind, const Rows &rows)
{
    auto windows = m_check.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    m_check.classObject(Info(kind).className)->callMethod(u"Delall"_s, {Firm});
    for (const QStringList &row : rows) {
        auto object = m_check.createNew(Info(kind).className);
        object->setProperty(u"Firma"_s, Firm);
        for (int column = 0; column < row.size(); ++column)
            object->setProperty(Info(kind).properties.at(column), row.at(column));
        object->sys_save();
    }
    windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
}

void TestMasterData::typeInto(MasterListWindow &window, int row, int column, const QString &text)
{
    EditingGrid &grid = window.grid();
    const QModelIndex cell = window.rows().index(row < 0 ? window.rows().tableRowCount() : row, column);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(grid.indexWidget(cell));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    TypeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits after the key has been handled.
    QCoreApplication::processEvents();
}

void TestMasterData::click(MasterListWindow &window, const QString &button)
{
    auto *target = window.findChild<QPushButton *>(button);
    QVERIFY2(target, qPrintable(button));
    QTest::mouseClick(target, Qt::LeftButton);
}

void TestMasterData::loadsTheListInServerOrder_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Rows>("rows");
    Rows many;
    for (int row = 0; row < 1200; ++row)
        many << QStringList{u"Z"_s + QString::number(1199 - row), u"Markt "_s + QString::number(row), u"N"_s};
    for (const int kind : {Competitors, PriceTypes}) {
        const char *name = kind == Competitors ? "competitors" : "price types";
        QTest::addRow("%s: none", name) << kind << Rows{};
        // Shown as stored: no conversion of either form of umlauts.
        QTest::addRow("%s: as typed", name)
            << kind << Rows{{u"ÜBER"_s, u"Lüneburg \"Süd\"; 1/2"_s, u"J"_s}, {u"b"_s, u"L}neburg"_s, u"N"_s},
                            {u"A"_s, QString(), u"J"_s}};
        QTest::addRow("%s: 1200", name) << kind << many;
    }
}

void TestMasterData::loadsTheListInServerOrder()
{
    QFETCH(int, kind);
    QFETCH(Rows, rows);
    for (QStringList &row : rows)
        row.resize(Info(kind).properties.size());
    store(kind, rows);
    QStringList ids;
    QCOMPARE(stored(kind, &ids), rows);

    const auto window = openWindow(kind);
    QVERIFY(window);
    QCOMPARE(window->rows().tableRowCount(), rows.size());
    for (int row = 0; row < rows.size(); ++row) {
        QCOMPARE(window->rows().rows().at(row).mid(0, rows.at(row).size()), rows.at(row));
        if (kind == PriceTypes) {
            QCOMPARE(window->rows().cell(row, FMPreistyp::IdColumn), ids.at(row));
            const QModelIndex flag = window->rows().index(row, FMPreistyp::FlagColumn);
            QCOMPARE(flag.data(Qt::CheckStateRole).value<Qt::CheckState>(),
                     rows.at(row).at(2) == u"J" ? Qt::Checked : Qt::Unchecked);
        }
    }
    QCOMPARE(window->rows().headerData(int(rows.size()), Qt::Vertical).toString(), u"*"_s);
    QVERIFY(!window->findChild<QPushButton *>(u"BUSpeich"_s)->isEnabled());
}

void TestMasterData::commitCheck_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");       // -1: the new-row line
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");  // "[x]": a click on the check box
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("saveEnabled");
    QTest::addColumn<int>("rowsAfter");
    const QString empty = u"Code kann nicht leer sein"_s;
    for (const int kind : {Competitors, PriceTypes}) {
        const char *name = kind == Competitors ? "competitors" : "price types";
        const QString first = StartingList(kind).at(0).at(0);
        QTest::addRow("%s: empty code", name) << kind << 0 << 0 << QString() << empty << false << 2;
        QTest::addRow("%s: name before code", name) << kind << -1 << 1 << u"Neuer Markt"_s << empty << false << 2;
        QTest::addRow("%s: same code again", name) << kind << 0 << 0 << first << QString() << true << 2;
        QTest::addRow("%s: duplicate in other case", name)
            << kind << 1 << 0 << first.toLower() << QString() << true << 2;
        // A refused duplicate enables "Speichern" in the price type window only.
        QTest::addRow("%s: duplicate", name) << kind << 1 << 0 << first << Info(kind).duplicate
                                             << (kind == PriceTypes) << 2;
        QTest::addRow("%s: new name", name) << kind << 1 << 1 << u"Müller & Söhne"_s << QString() << true << 2;
        QTest::addRow("%s: new row", name) << kind << -1 << 0 << u"NEU"_s << QString() << true << 3;
    }
    QTest::newRow("price types: tick on the new-row line") << int(PriceTypes) << -1 << 2 << u"[x]"_s << empty
                                                           << false << 2;
    QTest::newRow("price types: untick") << int(PriceTypes) << 0 << 2 << u"[x]"_s << QString() << true << 2;
    QTest::newRow("price types: tick by mouse") << int(PriceTypes) << 1 << 2 << u"[click]"_s << QString() << true
                                                << 2;
}

void TestMasterData::commitCheck()
{
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, saveEnabled);
    QFETCH(int, rowsAfter);
    const auto window = openWindow(kind);
    QVERIFY(window);
    const Rows before = window->rows().rows();
    const int tableRow = row < 0 ? int(before.size()) : row;

    testsupport::ScriptedDialogs dialogs;
    if (!message.isEmpty())
        dialogs.expectMessage(MessageTitle, message);
    const bool checkBox = text.startsWith(u'[');
    if (text == u"[x]") {
        window->grid().setCurrentIndex(window->rows().index(tableRow, column));
        QTest::keyClick(&window->grid(), Qt::Key_Space);
    } else if (text == u"[click]") {
        QTest::mouseClick(window->grid().viewport(), Qt::LeftButton, {},
                          window->grid().visualRect(window->rows().index(tableRow, column)).center());
    } else {
        typeInto(*window, row, column, text);
    }
    QTRY_COMPARE(dialogs.pending(), 0);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(window->findChild<QPushButton *>(u"BUSpeich"_s)->isEnabled(), saveEnabled);
    QCOMPARE(window->rows().tableRowCount(), rowsAfter);
    if (!message.isEmpty()) {
        // Refused: the table as before, the cell open again with the text typed.
        QCOMPARE(window->rows().rows(), before);
        if (!checkBox) {
            QTRY_VERIFY(window->grid().indexWidget(window->rows().index(tableRow, column)));
            auto *editor = qobject_cast<QLineEdit *>(window->grid().indexWidget(window->rows().index(tableRow, column)));
            QVERIFY(editor);
            QCOMPARE(editor->text(), text);
        }
    } else if (checkBox) {
        QCOMPARE(window->rows().cell(tableRow, FMPreistyp::FlagColumn),
                 before.at(tableRow).at(FMPreistyp::FlagColumn) == u"J" ? u"N"_s : u"J"_s);
    } else {
        QCOMPARE(window->rows().cell(tableRow, column), text);
    }
}

void TestMasterData::savingReplacesTheList_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("how");
    for (const int kind : {Competitors, PriceTypes}) {
        const char *name = kind == Competitors ? "competitors" : "price types";
        QTest::addRow("%s: edit, delete, add", name) << kind << u"edit"_s;
        QTest::addRow("%s: empty grid", name) << kind << u"delete all"_s;
        QTest::addRow("%s: Ausstieg", name) << kind << u"exit"_s;
    }
}

void TestMasterData::savingReplacesTheList()
{
    QFETCH(int, kind);
    QFETCH(QString, how);
    const auto window = openWindow(kind);
    QVERIFY(window);
    Rows expected = StartingList(kind);
    if (how == u"delete all") {
        click(*window, u"BULoesch"_s);
        window->grid().setFocus();
        QTest::keyClick(&window->grid(), Qt::Key_Delete);
        expected.clear();
    } else {
        typeInto(*window, 0, 1, u"Neu, größer"_s);
        window->grid().setCurrentIndex(window->rows().index(1, 0));
        click(*window, u"BULoesch"_s);
        // Einfg opens the new-row line's code cell; Escape leaves it empty.
        window->grid().setFocus();
        QTest::keyClick(&window->grid(), Qt::Key_Insert);
        QWidget *editor = window->grid().indexWidget(window->rows().index(1, 0));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(window->rows().tableRowCount(), 1);
        // A new row never ticked is stored as "N".
        typeInto(*window, -1, 0, u"NEU"_s);
        typeInto(*window, 1, 1, u"Zweite Zeile"_s);
        expected = {StartingList(kind).at(0), {u"NEU"_s, u"Zweite Zeile"_s, u"N"_s}};
        expected[0][1] = u"Neu, größer"_s;
    }
    for (QStringList &row : expected)
        row.resize(Info(kind).properties.size());
    testsupport::ScriptedDialogs dialogs;
    QCOMPARE(window->rows().tableRowCount(), expected.size());

    click(*window, how == u"exit" ? (kind == Competitors ? u"buausstieg"_s : u"BUAusstieg"_s) : u"BUSpeich"_s);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->result(), how == u"exit" ? QDialog::Rejected : QDialog::Accepted);
    QStringList ids;
    QCOMPARE(stored(kind, &ids), how == u"exit" ? StartingList(kind) : expected);
    if (kind == PriceTypes && how != u"exit") {
        // The table holds what was stored: flags and the new objects' ids.
        for (int row = 0; row < expected.size(); ++row) {
            QCOMPARE(window->rows().cell(row, FMPreistyp::FlagColumn), expected.at(row).at(2));
            QCOMPARE(window->rows().cell(row, FMPreistyp::IdColumn), ids.at(row));
        }
    }
    VERIFY_DIALOGS_DONE(dialogs);
}

void TestMasterData::failedSaveKeepsTheOldList_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("operation");
    QTest::newRow("competitors: second save") << int(Competitors) << u"sys_save"_s << u"Konkurerber speichern"_s;
    QTest::newRow("price types: Delall") << int(PriceTypes) << u"Delall"_s << u"Preistypen speichern"_s;
}

void TestMasterData::failedSaveKeepsTheOldList()
{
    QFETCH(int, kind);
    QFETCH(QString, failing);
    QFETCH(QString, operation);
    const auto window = openWindow(kind);
    QVERIFY(window);
    typeInto(*window, -1, 0, u"NEU"_s);
    const Rows shown = window->rows().rows();

    int calls = 0;
    m_onCall = [&](const QString &name) {
        if (name == failing && ++calls == (failing == u"sys_save" ? 2 : 1))
            throw AccessError(ErrorNumber::DatabaseError, u"Platte voll"_s);
    };
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s, u"Vorgang: " + operation + u'.');
    click(*window, u"BUSpeich"_s);
    VERIFY_DIALOGS_DONE(dialogs);
    // The old list whole, the window open with the user's rows.
    QCOMPARE(stored(kind), StartingList(kind));
    QVERIFY(window->isVisible());
    QCOMPARE(window->rows().rows(), shown);

    m_onCall = nullptr;
    click(*window, u"BUSpeich"_s);
    QVERIFY(!window->isVisible());
    QCOMPARE(stored(kind).size(), 3);
}

void TestMasterData::concurrentReplacementsLeaveOneList()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend != u"PostgreSQL")
        QSKIP("the replacement lock is PostgreSQL's; SQLite has one writer at a time");
    const QString connectString = m_db->connectString();
    const auto replace = [&](store::StoreFactory &factory, const QString &prefix) {
        auto windows = factory.classObject(u"TV.Windows"_s);
        windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
        factory.classObject(u"Konkur.Par"_s)->callMethod(u"Delall"_s, {Firm});
        for (int row = 0; row < 3; ++row) {
            auto object = factory.createNew(u"Konkur.Par"_s);
            object->setProperty(u"Firma"_s, Firm);
            object->setProperty(u"konkur"_s, prefix + QString::number(row));
            object->sys_save();
        }
    };
    const auto commit = [](store::StoreFactory &factory) {
        factory.classObject(u"TV.Windows"_s)->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    };

    // The first user has replaced the list and not yet committed when the
    // second begins; the second waits for the first and replaces its list.
    store::StoreFactory first;
    QVERIFY(first.connect(connectString));
    replace(first, u"A"_s);
    QString secondError;
    std::thread second([&] {
        try {
            store::StoreFactory factory;
            if (!factory.connect(connectString))
                throw AccessError(ErrorNumber::DatabaseError, u"keine Verbindung"_s);
            replace(factory, u"B"_s);
            commit(factory);
            factory.disconnect();
        } catch (const AccessError &error) {
            secondError = error.description();
        }
    });
    QTest::qWait(300);
    commit(first);
    second.join();
    QVERIFY2(secondError.isEmpty(), qPrintable(secondError));
    const Rows expected{{u"B0"_s, QString()}, {u"B1"_s, QString()}, {u"B2"_s, QString()}};
    QCOMPARE(stored(Competitors), expected);
}

void TestMasterData::printsTheList_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("competitors") << int(Competitors) << u"TOLVEN Konkurerberanlage Drucken"_s
                                 << QStringList{u"TOLVEN Konkurerberanlage"_s, u"Code"_s, u"Bezeichnung"_s,
                                                u"Werkhof L}neburg"_s, u"MOORBAU"_s};
    QTest::newRow("price types") << int(PriceTypes) << u"Druckvorschau"_s
                                 << QStringList{u"TOLVEN Konkurerberverwaltung Preistypen"_s, u"Code"_s,
                                                u"Bezeichnung Preistyp"_s, u"bis Datum J/N"_s, u"Liste"_s,
                                                u"Aktion"_s};
}

void TestMasterData::printsTheList()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, printed);
    const auto window = openWindow(kind);
    QVERIFY(window);
    QTemporaryDir folder;
    const QString pdf = folder.filePath(u"liste.pdf"_s);
    QString title;
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectPrintPreview([&](QPrintPreviewDialog &preview) {
        title = preview.windowTitle();
        preview.printer()->setOutputFormat(QPrinter::PdfFormat);
        preview.printer()->setOutputFileName(pdf);
        preview.findChild<QPrintPreviewWidget *>()->print();
        return int(QDialog::Accepted);
    });
    click(*window, u"BUDruck"_s);
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(title, caption);

    QString why;
    const QStringList pages = testsupport::PdfPages(pdf, &why);
    QCOMPARE(pages.size(), 1);
    const QString page = pages.at(0).simplified();
    for (const QString &text : printed + QStringList{u"Datum: 02.03.2026 09:05"_s, u"Seite 1 von 1"_s})
        QVERIFY2(page.contains(text), qPrintable(text + u" in " + page));
    // Two rows: the new-row line is not printed.
    QVERIFY2(!page.contains(u'*'), qPrintable(page));
    if (kind == PriceTypes)
        QVERIFY2(page.contains(u"L Liste J") && page.contains(u"A Aktion N"), qPrintable(page));
}

void TestMasterData::mainWindowReadsItsListsAgain_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("kind");
    QTest::newRow("menu Konkurerber") << u"m_konkur"_s << int(Competitors);
    QTest::newRow("button Konkurerber") << u"ctPush1"_s << int(Competitors);
    QTest::newRow("menu Preistypen") << u"m_preistyp"_s << int(PriceTypes);
    QTest::newRow("button Preistypen") << u"BUPrtyp"_s << int(PriceTypes);
}

void TestMasterData::mainWindowReadsItsListsAgain()
{
    QFETCH(QString, trigger);
    QFETCH(int, kind);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectDialog(kind == Competitors ? u"fmkonkur"_s : u"FMPreistyp"_s, [&](QDialog &dialog) {
        auto &window = static_cast<MasterListWindow &>(dialog);
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return int(QDialog::Rejected);
        typeInto(window, -1, 0, u"NEU"_s);
        typeInto(window, 2, 1, u"Neu in Lüneburg"_s);
        if (kind == PriceTypes) {
            window.grid().setCurrentIndex(window.rows().index(2, FMPreistyp::FlagColumn));
            QTest::keyClick(&window.grid(), Qt::Key_Space);
        }
        click(window, u"BUSpeich"_s);
        return window.result();
    });
    if (auto *button = m_main->findChild<QPushButton *>(trigger))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        m_main->findChild<QAction *>(trigger)->trigger();
    VERIFY_DIALOGS_DONE(dialogs);

    // The lists show the change at once; their names in display form.
    const LookupTable &list = kind == Competitors ? m_main->competitorArray() : m_main->priceTypeArray();
    const int row = list.findCode(u"NEU"_s);
    QVERIFY(row >= 0);
    QCOMPARE(list.text(row, 1), u"Neu in Lüneburg"_s);
    if (kind == Competitors)
        QCOMPARE(list.nameOf(u"WERKHOF"_s), u"Werkhof Lüneburg"_s);
    else
        QCOMPARE(list.text(row, 2), u"J"_s);
}

QTEST_MAIN(TestMasterData)
#include "tst_masterdata.moc"
