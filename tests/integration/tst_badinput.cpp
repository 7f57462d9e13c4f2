#include <QAbstractItemView>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "access/Connection.h"
#include "access/FMServer.h"
#include "access/Login.h"
#include "common/EditingGrid.h"
#include "lookup/ArticleHitModel.h"
#include "lookup/FMArtsu.h"
#include "lookup/FMLnrsu.h"
#include "lookup/PartnerHitModel.h"
#include "lookup/SearchKeyField.h"
#include "masterdata/FMPreistyp.h"
#include "masterdata/fmkonkur.h"
#include "positions/DateField.h"
#include "positions/FMStart.h"
#include "positions/MultiColumnComboBox.h"
#include "positions/PositionColumns.h"
#include "positions/PositionGrid.h"
#include "positions/PositionModel.h"
#include "store/DatabaseTarget.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/PositionFirm.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

using namespace tolven;
using namespace testsupport::positionfirm;

namespace {

const QString Title = u"TOLVEN Konkurerberverwaltung"_s;

// Where a hostile text is refused: in fields of one line, in the note (of
// several lines), in codes. Anywhere else it is stored and read back.
enum RefusedIn { Nowhere = 0, OneLine = 1, Note = 2, Code = 4 };

using Rows = QList<QStringList>;

struct HostileText
{
    const char *name;
    QString text;
    int refusedIn;
};

QList<HostileText> HostileTexts()
{
    QString long10000;
    while (long10000.size() < 10000)
        long10000 += u"Lange Bezeichnung für Größe " + QString::number(long10000.size()) + u"; ";
    long10000.truncate(9999);
    long10000 += u'.';
    return {
        {"quotes", u"O'Brien sagt \"Hallo\""_s, Nowhere},
        {"semicolons", u"a;b;;c;"_s, Nowhere},
        {"person injected", u"abc\",PERSONAL=\"NEU"_s, Nowhere},
        {"SQL", u"x'; DROP TABLE konkur_konkur; --"_s, Nowhere},
        {"wildcards", u"100% _x_ *"_s, Nowhere},
        // The server's 7-bit form writes Ö as a backslash: no code may hold one.
        {"backslash", u"C:\\Temp\\x"_s, Code},
        {"10000 characters", long10000, Nowhere},
        {"tab", u"a\tb"_s, OneLine | Code},
        {"CR LF", u"a\r\nb"_s, OneLine | Code},
        {"NUL", u"a"_s + QChar(0) + u"b"_s, OneLine | Note | Code},
        {"ESC", u"a\x1b[2Jb"_s, OneLine | Note | Code},
        {"outside Windows-1252", u"Łódź 中 😀"_s, Nowhere},
        // Scrambled for the settings, these become NUL and other control characters.
        {"scrambled to control characters", u"¥¤¿¸€"_s, Nowhere},
    };
}

// The rows of a test over every hostile text.
void AddHostileRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("refusedIn");
    for (const HostileText &row : HostileTexts())
        QTest::newRow(row.name) << row.text << row.refusedIn;
}

QString Backend()
{
    QFETCH_GLOBAL(QString, backend);
    return backend;
}

// Types text as a user would: key by key where a keyboard can type it;
// pasted (Ctrl+V) where it holds control characters or is long.
void Enter(QWidget *field, const QString &text)
{
    const bool control = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
    if (control || text.size() > 100) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() < 128) {
            QTest::keyClick(field, text.at(i).toLatin1());
            continue;
        }
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Replaces what a line edit holds by text, as typed.
void Retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    Enter(field, text);
}

// Opens cell, types text and leaves the cell with leave. A refused text
// (refusal: how its message begins) must come back in the reopened cell,
// which Escape then drops.
void EditCell(QAbstractItemView &view, const QModelIndex &cell, const QString &text, Qt::Key leave,
              testsupport::ScriptedDialogs &dialogs, const QString &refusal)
{
    if (!refusal.isEmpty())
        dialogs.expectMessageStartingWith(Title, refusal);
    view.setFocus();
    view.setCurrentIndex(cell);
    view.edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(view.indexWidget(cell));
    QVERIFY(editor);
    Retype(editor, text);
    QTest::keyClick(editor, leave);
    QCoreApplication::processEvents();
    QTRY_COMPARE(dialogs.pending(), 0);
    if (refusal.isEmpty())
        return;
    QTRY_VERIFY(view.indexWidget(cell));
    editor = qobject_cast<QLineEdit *>(view.indexWidget(cell));
    QVERIFY(editor);
    QCOMPARE(editor->text(), text);
    QTest::keyClick(editor, Qt::Key_Escape);
}

// The fields of one CSV line (";" separated, "" for a quote inside quotes).
QStringList CsvFields(const QString &line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
            fields.last() += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u';' && !quoted) {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

} // namespace

// Hostile texts typed into every field of the client whose text reaches the
// store, a file, the settings or a command for the server, on both
// databases: each is stored and read back as typed, or refused at once with
// a German message while the field keeps it; no command or SQL runs from
// it, and nothing else changes.
class TestBadInput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase() { InitTestCase(); }
    void init();
    void cleanup();

    void positionTexts_data() { AddHostileRows(); }
    void positionTexts();
    void masterDataTexts_data() { AddHostileRows(); }
    void masterDataTexts();
    void loginFields_data() { AddHostileRows(); }
    void loginFields();
    void serverSettings_data() { AddHostileRows(); }
    void serverSettings();
    void lookUpSearchKeys_data() { AddHostileRows(); }
    void lookUpSearchKeys();

private:
    void startMainWindow();
    // Everything of firm 7 the client can change, one line per stored row.
    QStringList snapshot();
    Rows query(const QString &className, const QString &name, const QStringList &arguments, int columns);

    PositionGrid *grid() const { return m_main->findChild<PositionGrid *>(u"TDBGrid1"_s); }
    PositionModel &positions() const { return m_main->positionArray(); }
    int collectiveRow() const;

    std::unique_ptr<testsupport::TestDatabase> m_db;
    // The test and backend the database serves when it is shared; empty when fresh.
    QString m_dbFor;
    std::unique_ptr<testsupport::ClientFixture> m_fixture;
    std::unique_ptr<FMStart> m_main;
};


void TestBadInput::init()
{
    // The tests that must change nothing share one database per test and
    // backend; the others start afresh.
    const QString test = QString::fromLatin1(QTest::currentTestFunction());
    const bool changesNothing = test == u"loginFields" || test == u"serverSettings" || test == u"lookUpSearchKeys";
    if (!changesNothing || m_dbFor != test + Backend()) {
        m_db.reset();
        TOLVEN_FRESH_DATABASE(m_db, false);
        Fill(m_db->connectString());
        m_dbFor = changesNothing ? test + Backend() : QString();
    }
    m_fixture = std::make_unique<testsupport::ClientFixture>();
    m_fixture->setCommandLine(CommandLine(*m_db));
}

void TestBadInput::cleanup()
{
    m_main.reset();
    m_fixture.reset();
    if (m_dbFor.isEmpty() || QTest::currentTestFailed()) {
        m_db.reset();
        m_dbFor.clear();
    }
}

void TestBadInput::startMainWindow()
{
    m_main = std::make_unique<FMStart>();
    QVERIFY(m_main->Form_Load());
    m_main->show();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    m_main->findChild<DateField *>(u"aenddatab"_s)->setDate(QDate());
    m_main->BUSuch_Click();
    QCOMPARE(positions().rowCount(), Positions.size());
    // Every row can be saved as it is (as in tst_positionediting): the
    // position of the article the master data no longer has leaves the grid,
    // and what was stored without quantity or price gets them.
    for (int row = 0; row < positions().rowCount(); ++row) {
        if (positions().cell(row, PositionColumn::Artnr).toString() == Vanished)
            positions().removeRows(row--, 1);
    }
    for (int row = 0; row < positions().rowCount(); ++row) {
        for (int column : {PositionColumn::MengeAb, PositionColumn::PreisExcl}) {
            if (positions().cell(row, column).toString().isEmpty())
                positions().setCell(row, column, 1.0);
        }
    }
}

int TestBadInput::collectiveRow() const
{
    for (int row = 0; row < positions().rowCount(); ++row) {
        if (positions().cell(row, PositionColumn::Artnr).toString() == Collective)
            return row;
    }
    return -1;
}

Rows TestBadInput::query(const QString &className, const QString &name, const QStringList &arguments,
                         int columns)
{
    store::StoreFactory factory;
    if (!factory.connect(m_db->connectString()))
        return {{u"keine Verbindung"_s}};
    Rows rows;
    auto result = factory.openQuery(className, name);
    result->execute(arguments);
    while (result->next()) {
        rows << QStringList();
        for (int column = 1; column <= columns; ++column)
            rows.last() << result->getColumn(column);
    }
    return rows;
}

QStringList TestBadInput::snapshot()
{
    QStringList lines;
    const auto add = [&](const QString &what, const Rows &rows) {
        for (const QStringList &row : rows)
            lines << what + u' ' + row.join(u'|');
    };
    add(u"Position"_s, query(u"Konkur.Konkur"_s, u"Konkur"_s, {Firm, {}, {}, {}, {}}, 17));
    add(u"Konkurrent"_s, query(u"Konkur.Par"_s, u"Konkur"_s, {Firm}, 3));
    add(u"Preistyp"_s, query(u"Konkur.Preistyp"_s, u"Preistyp"_s, {Firm}, 4));
    add(u"Einheit"_s, query(u"Konkur.Konkur"_s, u"Einheiten"_s, {Firm}, 3));
    store::StoreFactory factory;
    if (factory.connect(m_db->connectString())) {
        auto person = factory.openById(u"TV.ParPersEdv"_s, Firm + u"||NEU");
        lines << u"Person " + person->property(u"Passwort"_s) + u'|' + person->property(u"AKTIV"_s);
    }
    return lines;
}

// The collective article's description and note, typed into the grid and
// the note editor, saved and found again by a new search and by the text
// filter, and exported to CSV.
void TestBadInput::positionTexts()
{
    QFETCH(QString, text);
    QFETCH(int, refusedIn);
    startMainWindow();
    const int row = collectiveRow();
    QVERIFY(row >= 0);
    const QString id = positions().cell(row, PositionColumn::UID).toString();
    const QString oldText = positions().cell(row, PositionColumn::ArtBez).toString();
    const QStringList before = snapshot();

    // The description: a refused text stays in the reopened cell.
    testsupport::ScriptedDialogs dialogs;
    const bool textRefused = refusedIn & OneLine;
    EditCell(*grid(), positions().index(row, PositionColumn::ArtBez), text, Qt::Key_Tab, dialogs,
             textRefused ? u"„Art-Bezeichnung“ darf "_s : QString());
    if (QTest::currentTestFailed())
        return;
    const QString storedText = textRefused ? oldText : text;
    QCOMPARE(positions().cell(row, PositionColumn::ArtBez).toString(), storedText);

    // The note: its editor takes line breaks and tabs; what it refuses stays
    // in it until corrected, and the row keeps its note.
    const bool noteRefused = refusedIn & Note;
    if (noteRefused)
        dialogs.expectMessageStartingWith(Title, u"„Notiz“ darf "_s);
    grid()->setFocus();
    grid()->setCurrentIndex(positions().index(row, PositionColumn::Notiz));
    QTest::keyClick(grid(), Qt::Key_F4);
    auto *note = m_main->findChild<QPlainTextEdit *>(u"notiz"_s);
    QTRY_VERIFY(note->hasFocus());
    Enter(note, text);
    QTRY_COMPARE(dialogs.pending(), 0);
    QString noteText = text;
    noteText.replace(u"\r\n"_s, u"\n"_s);
    if (noteRefused) {
        QCOMPARE(note->toPlainText(), text);
        QCOMPARE(positions().cell(row, PositionColumn::Notiz).toString(), QString());
        note->clear();
        noteText.clear();
    } else {
        QCOMPARE(positions().cell(row, PositionColumn::Notiz).toString(), noteText);
    }
    grid()->setFocus();
    QTRY_VERIFY(!note->isVisible());

    m_main->findChild<QPushButton *>(u"BUSpeich"_s)->click();
    VERIFY_DIALOGS_DONE(dialogs);

    // Only that row changed, and it holds what was typed.
    QStringList after = snapshot();
    QCOMPARE(after.size(), before.size());
    for (qsizetype line = 0; line < before.size(); ++line) {
        if (!before.at(line).startsWith(u"Position " + id + u'|'))
            QCOMPARE(after.at(line), before.at(line));
    }
    m_main->BUSuch_Click();
    QCOMPARE(positions().rowCount(), Positions.size());
    QCOMPARE(positions().cell(collectiveRow(), PositionColumn::ArtBez).toString(), storedText);
    QCOMPARE(positions().cell(collectiveRow(), PositionColumn::Notiz).toString(), noteText);

    // The article filter takes article numbers: the text names none, and stays for correcting.
    auto *filter = m_main->findChild<QLineEdit *>(u"volltext"_s);
    auto *article = m_main->findChild<MultiColumnComboBox *>(u"anr"_s);
    dialogs.expectMessageStartingWith(Title, textRefused ? u"„Artikel“ darf "_s : u"Artikel nicht gespeichert"_s);
    Retype(article->lineEdit(), text);
    filter->setFocus();
    VERIFY_DIALOGS_DONE(dialogs);
    QCOMPARE(article->currentText(), text);
    article->setEditText(QString());

    // The text filter finds that position alone, and no wildcard in the text works as one.
    Retype(filter, text);
    if (textRefused)
        dialogs.expectMessageStartingWith(Title, u"„Art.-Bez.“ darf "_s);
    m_main->BUSuch_Click();
    VERIFY_DIALOGS_DONE(dialogs);
    if (textRefused) {
        QCOMPARE(filter->text(), text);
        QCOMPARE(positions().rowCount(), Positions.size());
        return;
    }
    QCOMPARE(positions().rowCount(), 1);
    QCOMPARE(positions().cell(0, PositionColumn::ArtBez).toString(), text);

    // The CSV file for head office has the text in its column; a character
    // Windows-1252 lacks is written as "?". (The collective article has no
    // central number of its own, which the export needs.)
    positions().setCell(0, PositionColumn::ZAnr, u"Z-9"_s);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"konkurexp.csv"_s);
    dialogs.expectMessageStartingWith(Title, u"Laut Absprache"_s);
    dialogs.expectSaveFileName(path);
    m_main->findChild<QPushButton *>(u"BUExport"_s)->click();
    VERIFY_DIALOGS_DONE(dialogs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringDecoder decode("windows-1252");
    const QStringList lines = QString(decode(file.readAll())).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QString exported;
    for (const char32_t c : text.toUcs4()) {
        const QString character = QString::fromUcs4(&c, 1);
        QStringEncoder encode("windows-1252");
        const QByteArray encoded = encode(character);
        exported += encode.hasError() || encoded.contains('\x1a') ? u"?"_s : character;
    }
    QCOMPARE(CsvFields(lines.at(1)).value(2), exported);
}

// The code of a new row and the name of the first, typed into the
// competitor and the price type window, saved, and shown again when the
// window reopens.
void TestBadInput::masterDataTexts()
{
    QFETCH(QString, text);
    QFETCH(int, refusedIn);
    QVERIFY(Login());
    for (const bool competitors : {true, false}) {
        const int columns = competitors ? 2 : 3;
        const auto openWindow = [competitors]() -> std::unique_ptr<MasterListWindow> {
            std::unique_ptr<MasterListWindow> window;
            if (competitors)
                window = std::make_unique<fmkonkur>();
            else
                window = std::make_unique<FMPreistyp>();
            window->Form_Load();
            window->show();
            window->activateWindow();
            return QTest::qWaitForWindowActive(window.get()) ? std::move(window) : nullptr;
        };
        // The list shown (code, name and flag of each row).
        const auto shown = [columns](const MasterListWindow &window) {
            Rows rows = window.rows().rows();
            for (QStringList &row : rows)
                row = row.mid(0, columns);
            return rows;
        };
        const QStringList before = snapshot();
        auto window = openWindow();
        QVERIFY(window);
        Rows expected = shown(*window);
        testsupport::ScriptedDialogs dialogs;
        const auto typeInto = [&](int row, int column, const QString &caption, bool refused) {
            EditCell(window->grid(), window->rows().index(row, column), text, Qt::Key_Return, dialogs,
                     refused ? u"„" + caption + u"“ darf " : QString());
        };
        const bool codeRefused = refusedIn & (OneLine | Code);
        typeInto(window->rows().tableRowCount(), 0, u"Code"_s, codeRefused);
        if (QTest::currentTestFailed())
            return;
        if (!codeRefused)
            expected << QStringList{text, QString(), competitors ? QString() : u"N"_s}.mid(0, columns);
        const bool nameRefused = refusedIn & OneLine;
        typeInto(0, 1, competitors ? u"Bezeichnung"_s : u"Bezeichnung Preistyp"_s, nameRefused);
        if (!nameRefused)
            expected[0][1] = text;
        QCOMPARE(window->rows().tableRowCount(), expected.size());

        auto *save = window->findChild<QPushButton *>(u"BUSpeich"_s);
        QCOMPARE(save->isEnabled(), !codeRefused || !nameRefused);
        if (save->isEnabled())
            QTest::mouseClick(save, Qt::LeftButton);
        else
            window->reject();
        VERIFY_DIALOGS_DONE(dialogs);
        QVERIFY(!window->isVisible());
        // Shown again as typed, and the rest of the firm's data as it was.
        window = openWindow();
        QVERIFY(window);
        QCOMPARE(shown(*window), expected);
        const QString list = competitors ? u"Konkurrent "_s : u"Preistyp "_s;
        const auto others = [&list](QStringList lines) {
            lines.removeIf([&list](const QString &line) { return line.startsWith(list); });
            return lines;
        };
        QCOMPARE(others(snapshot()), others(before));
    }
}

// The personnel code and the password typed into the login window: refused
// there, or stored in the settings as typed (the code in upper case), and
// nobody is logged in, least of all the person named after the quote.
void TestBadInput::loginFields()
{
    QFETCH(QString, text);
    QFETCH(int, refusedIn);
    const bool refused = refusedIn & OneLine;
    m_fixture->setCommandLine(QString());
    m_fixture->writeSetting(u"Server"_s, testsupport::ClientFixture::serverOf(*m_db));
    m_fixture->writeSetting(u"Port"_s, testsupport::ClientFixture::portOf(*m_db));
    m_fixture->writeSetting(u"Firma"_s, Firm);
    const QStringList before = snapshot();

    testsupport::ScriptedDialogs dialogs;
    QString userKept;
    QString passwordKept;
    dialogs.expectDialog(u"FMPass"_s, [&](QDialog &window) {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return int(QDialog::Rejected);
        auto *user = window.findChild<QLineEdit *>(u"BUSER"_s);
        auto *password = window.findChild<QLineEdit *>(u"BPASSWORT"_s);
        Retype(password, text);
        Retype(user, text);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUSpeich"_s), Qt::LeftButton);
        userKept = user->text();
        passwordKept = password->text();
        if (window.isVisible())
            window.reject();
        return window.result();
    });
    if (refused)
        dialogs.expectMessageStartingWith(u"TOLVEN Benutzeranmeldung"_s, u"„Personalcode“ darf "_s);
    else
        dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s,
                                          u"Vorgang: Anmeldung mit nicht existierendem Personalcode."_s);
    QVERIFY(!Login());
    VERIFY_DIALOGS_DONE(dialogs);
    QVERIFY(m_fixture->context().LoginKey.isEmpty());
    QVERIFY(m_fixture->context().UserName.isEmpty());
    QCOMPARE(snapshot(), before);
    if (refused) {
        // Kept for correcting, and nothing of it in the settings.
        QCOMPARE(userKept, text.toUpper());
        QCOMPARE(passwordKept, text);
        QVERIFY(!m_fixture->hasSetting(u"Name"_s));
        QCOMPARE(m_fixture->exits(), 1);
    } else {
        QCOMPARE(m_fixture->setting(u"Name"_s), text.toUpper());
        QCOMPARE(ScramblePassword(m_fixture->setting(u"Passwort"_s)), text);
    }
}

// Server and namespace typed into the server settings window: refused there,
// or stored in the settings and shown again as typed; the connection string
// made of the server names it whole.
void TestBadInput::serverSettings()
{
    QFETCH_GLOBAL(QString, backend);
    if (backend == u"PostgreSQL")
        QSKIP("the window reaches no database");
    QFETCH(QString, text);
    QFETCH(int, refusedIn);
    const bool refused = refusedIn & OneLine;
    FMServer &window = m_fixture->api().serverWindow();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    testsupport::ScriptedDialogs dialogs;
    dialogs.expectMessage(LoginTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
    auto *edit = window.findChild<QPushButton *>(u"BUEdit"_s);
    QTest::mouseClick(edit, Qt::LeftButton);
    for (const QString &name : {u"BSERVERIP"_s, u"BNAMESPACE"_s})
        Retype(window.findChild<QLineEdit *>(name), text);
    if (refused)
        dialogs.expectMessageStartingWith(u"TOLVEN Server"_s, u"„ServerIP“ darf "_s);
    else
        dialogs.expectMessage(LoginTitle, u"Änderungen sichern?"_s, QMessageBox::Yes);
    QTest::mouseClick(edit, Qt::LeftButton);
    VERIFY_DIALOGS_DONE(dialogs);
    if (refused) {
        QVERIFY(!window.fieldsLocked());
        QCOMPARE(window.fieldValues().serverAddress, text);
        QVERIFY(!m_fixture->hasSetting(u"Server"_s));
        return;
    }
    QCOMPARE(m_fixture->setting(u"Server"_s), text);
    QCOMPARE(m_fixture->setting(u"Namespace"_s), text);
    window.hide();
    LoadConnectionSettings();
    QCOMPARE(window.fieldValues().serverAddress, text);
    QCOMPARE(window.fieldValues().namespaceName, text);
    const store::DatabaseTarget target = store::ParseConnectString(ConnectStringFor(text, u"1973"_s));
    QCOMPARE(target.isSQLite() ? target.path : target.host, text);
}

// The search keys of the article and the supplier search: refused, or
// searched for as a key (upper case, umlauts spelled out, at most 18
// characters) that finds nothing, with nothing run from it.
void TestBadInput::lookUpSearchKeys()
{
    QFETCH(QString, text);
    QFETCH(int, refusedIn);
    const bool refused = refusedIn & OneLine;
    QVERIFY(Login());
    const QStringList before = snapshot();
    testsupport::ScriptedDialogs dialogs;
    FMArtsu articles;
    articles.Form_Load();
    FMLnrsu suppliers;
    suppliers.Form_Load();
    for (QDialog *dialog : {static_cast<QDialog *>(&articles), static_cast<QDialog *>(&suppliers)}) {
        dialog->show();
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto *key = dialog->findChild<QLineEdit *>(u"SKBEZ"_s);
        Retype(key, text);
        if (refused) {
            dialogs.expectMessageStartingWith(dialog->windowTitle(),
                                              dialog == &articles ? u"„Kurzbezeichnung“ darf "_s
                                                                  : u"„Suchbegriff“ darf "_s);
        }
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"BUSuch"_s), Qt::LeftButton);
        VERIFY_DIALOGS_DONE(dialogs);
        QCOMPARE(key->text(), SearchKeyField::KeyForm(text));
        dialog->hide();
    }
    QCOMPARE(articles.hits().hitCount(), 0);
    QCOMPARE(suppliers.hits().hitCount(), 0);
    QCOMPARE(snapshot(), before);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
