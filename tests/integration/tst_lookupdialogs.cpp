#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "access/cacheapi.h"
#include "common/Icons.h"
#include "lookup/ArticleHitModel.h"
#include "lookup/FMArtsu.h"
#include "lookup/FMKnrsu.h"
#include "lookup/FMLnrsu.h"
#include "lookup/PartnerHitModel.h"
#include "lookup/TolvenSu.h"
#include "objectapi/TextConversion.h"
#include "positions/FMStart.h"
#include "positions/MultiColumnComboBox.h"
#include "store/demo/DemoData.h"
#include "support/ClientFixture.h"
#include "support/FirmFixture.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::StringLiterals;

using namespace tolven;

namespace {

// What the client called on the server, over every connection it made:
// each class method and query under its class name and as "Class.Name".
struct CallLog
{
    QStringList calls;
    QStringList commands;     // the M commands run through TV.Windows.Xecute
    QString failingQuery;     // running this query ("TV.Windows.KkrSuche") fails
    QString failingCommand;   // so does an M command that begins with this

    int count(const QString &name) const { return int(calls.count(name)); }
};

// Scrolls the article list down until its search is exhausted.
void ScrollToEnd(FMArtsu &dialog)
{
    while (!dialog.hits().isExhausted()) {
        const int before = dialog.hits().hitCount();
        dialog.list()->scrollToBottom();
        QTRY_VERIFY(dialog.hits().hitCount() > before || dialog.hits().isExhausted());
    }
}

template<typename T = QWidget>
T *Child(const QWidget &window, const QString &name)
{
    T *child = window.findChild<T *>(name);
    if (!child)
        qFatal("no %s", qPrintable(name));
    return child;
}

// Types key by key (QTest::keyClicks stops at umlauts) into SKBEZ, presses
// Enter there, which makes it a search key as leaving it would (a dialog
// that is not the active window sees no leaving), and presses "Suchen".
void SearchFor(QWidget &dialog, const QString &key)
{
    auto *field = Child(dialog, u"SKBEZ"_s);
    for (const QChar ch : key)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    QTest::keyClick(field, Qt::Key_Return);
    Child<QPushButton>(dialog, u"BUSuch"_s)->click();
}

// Chooses a row of the dialog's list by double click or Enter; the dialog's result.
int ChooseRow(QDialog &dialog, const QString &list, int row, bool byEnter)
{
    auto *view = Child<QTableView>(dialog, list);
    view->setCurrentIndex(view->model()->index(row, 0));
    const QPoint centre = view->visualRect(view->currentIndex()).center();
    if (byEnter) {
        QTest::keyClick(view, Qt::Key_Return);
    } else {
        // A real double click starts with a click, which QTest's lacks.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    }
    return dialog.result();
}

QStringList Column(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

QStringList Numbers(int from, int count)
{
    QStringList numbers;
    for (int i = 0; i < count; ++i)
        numbers << QString::number(from + i);
    return numbers;
}

} // namespace

// The look-up dialogs and the main window's article field, on the demo
// database of both kinds; most tests work in a firm of their own.
class TestLookupDialogs : public QObject
{
    Q_OBJECT

    testsupport::FirmFixture m_firms;
    CallLog m_log;
    std::unique_ptr<testsupport::ClientFixture> m_client;

    void login(bool ownFirm = true)
    {
        LoginContext &ctx = m_client->context();
        ctx.Firm = ownFirm ? m_firms.firm() : u"1"_s;
        ctx.Branch = u"0"_s;
        ctx.UserCode = u"MUELLER"_s;
        ctx.ConnectString = m_firms.database().connectString();
    }

    void saveArticles(const QString &key, int count, int from = 200001)
    {
        for (int i = 0; i < count; ++i) {
            m_firms.save(u"TV.Artikel"_s, {{u"Artnr"_s, QString::number(from + i)}, {u"Aktiv"_s, u"J"_s},
                                           {u"Kurzbez"_s, key + u' ' + QString::number(10 + i)}});
        }
        login();
    }

    void savePartners()
    {
        for (const auto &[number, name] : {std::pair(u"007"_s, u"Werkzeugh{ndler"_s), std::pair(u"010"_s, u"Bau"_s)})
            m_firms.save(u"TV.KontoSammelKontoKreis"_s, {{u"Nummer"_s, number}, {u"Art"_s, u"L"_s}, {u"Bez"_s, name}});
        m_firms.save(u"TV.Lieferant"_s, {{u"Lnr"_s, u"70001"_s}, {u"Kurzbez"_s, u"M]LLER WERKZEUG"_s},
                                         {u"Name"_s, u"M}ller Werkzeuge GmbH"_s}, {u"SaKonto"_s, u"007"_s}});
        m_firms.save(u"TV.Lieferant"_s, {{u"Lnr"_s, u"70002"_s}, {u"Kurzbez"_s, u"M]LLER BAU"_s}, {u"SaKonto"_s, u"010"_s}});
        for (const QString &group : {u"5"_s, u"10"_s, u"100"_s}) {
            m_firms.save(u"TV.ParKundenGruppen"_s, {{u"Gruppe"_s, group}, {u"Bez"_s, u"Gruppe " + group}});
            m_firms.save(u"TV.Kunde"_s, {{u"Knr"_s, u"1000" + group}, {u"Kurzbez"_s, u"KUNDE " + group}, {u"Gruppe"_s, group}});
        }
        login();
    }

    template<typename Window>
    static std::unique_ptr<Window> shown(std::unique_ptr<Window> window)
    {
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            window.reset();
        return window;
    }

    std::unique_ptr<FMArtsu> openArticleSearch()
    {
        auto dialog = std::make_unique<FMArtsu>();
        dialog->Form_Load();
        return shown(std::move(dialog));
    }

    std::unique_ptr<FMStart> startMainWindow()
    {
        m_client->setCommandLine(u"1 0 MUELLER Konkur24 " + testsupport::ClientFixture::serverOf(m_firms.database())
                                 + u' ' + testsupport::ClientFixture::portOf(m_firms.database()));
        auto window = std::make_unique<FMStart>();
        return window->Form_Load() ? shown(std::move(window)) : nullptr;
    }

private slots:
    void initTestCase_data() { testsupport::addBackendRows(); }
    void initTestCase()
    {
        testsupport::HideOffscreenPlatformNotices();
        InitAppResources();
    }
    void init()
    {
        if (!m_firms.begin())
            return;
        m_log = {};
        m_client = std::make_unique<testsupport::ClientFixture>();
        m_client->interceptCalls([this](const QString &className, const QString &name, const QStringList &arguments) {
            m_log.calls << className << className + u'.' + name;
            const bool command = name == u"Xecute";
            if (command)
                m_log.commands << arguments.value(0);
            if (m_log.calls.last() == m_log.failingQuery
                || (command && !m_log.failingCommand.isEmpty() && arguments.value(0).startsWith(m_log.failingCommand)))
                throw AccessError(ErrorNumber::DatabaseError, u"Testfehler"_s);
        });
        login(false);
    }
    void cleanup()
    {
        m_client.reset();
        m_firms.end();
    }
    void cleanupTestCase() { m_firms.dropDatabases(); }

    void articleSearch_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");        // as the field shows it when the search starts
        QTest::addColumn<int>("firstRows");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<int>("nextPages");
        QTest::newRow("four hits") << u"vierer"_s << u"VIERER"_s << 6 << Numbers(200001, 4) << 1;
        QTest::newRow("three hits") << u"dreier"_s << u"DREIER"_s << 3 << Numbers(200011, 3) << 0;
        // Without "J" sent for "Aktiv" the inactive 200022 would be found too.
        QTest::newRow("search key, active only") << u"dübel"_s << u"DUEBEL"_s << 1 << Numbers(200021, 1) << 0;
        // Pasted into the command unquoted, the quote would make the store refuse it.
        QTest::newRow("quote taken literally") << u"rohr 3\""_s << u"ROHR 3\""_s << 1 << Numbers(200032, 1) << 0;
        QTest::newRow("18 characters typed") << u"abcdefghijklmnopqrstu"_s << u"ABCDEFGHIJKLMNOPQR"_s << 0 << QStringList() << 0;
        QTest::newRow("18 once spelled out") << u"äöüäöüäöüä"_s << u"AEOEUEAEOEUEAEOEUE"_s << 0 << QStringList() << 0;
    }

    void articleSearch()
    {
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(int, firstRows);
        QFETCH(QStringList, found);
        QFETCH(int, nextPages);
        saveArticles(u"VIERER"_s, 4, 200001);
        saveArticles(u"DREIER"_s, 3, 200011);
        saveArticles(u"D}BEL"_s, 1, 200021);
        m_firms.save(u"TV.Artikel"_s, {{u"Artnr"_s, u"200022"_s}, {u"Kurzbez"_s, u"D}BEL 8"_s}, {u"Aktiv"_s, u"N"_s}});
        saveArticles(u"ROHR 3"_s, 1, 200031);
        saveArticles(u"ROHR 3\""_s, 1, 200032);
        testsupport::ScriptedDialogs dialogs;
        const auto dialog = openArticleSearch();
        QVERIFY(dialog);
        const int loaded = m_log.count(u"TV.Windows"_s);
        SearchFor(*dialog, typed);
        QCOMPARE(Child<QLineEdit>(*dialog, u"SKBEZ"_s)->text(), key);
        QCOMPARE(dialog->hits().rowCount(), firstRows);
        // The list shows the rows beyond the hits and asks for them.
        dialog->list()->viewport()->repaint();
        QTRY_COMPARE(dialog->hits().rowCount(), found.size());
        QCoreApplication::processEvents();
        QCOMPARE(m_log.count(u"TV.Windows"_s) - loaded, 1 + nextPages);
        QCOMPARE(Column(dialog->hits(), ArticleHitModel::Number), found);
        QCOMPARE(dialog->list()->currentIndex().row(), found.size() - 1);
        VERIFY_DIALOGS_DONE(dialogs);
    }

    void scrollingFetchesFurtherPages()
    {
        const int articles = 30;
        saveArticles(u"ROLLE"_s, articles);
        testsupport::ScriptedDialogs dialogs;
        const auto dialog = openArticleSearch();
        QVERIFY(dialog);
        const int loaded = m_log.count(u"TV.Windows"_s);
        SearchFor(*dialog, u"ROLLE"_s);
        // The first pages fill what the list shows, and no more.
        QTRY_VERIFY(dialog->hits().hitCount() > ArticleHitModel::PageSize);
        QCoreApplication::processEvents();
        QVERIFY2(dialog->hits().hitCount() < articles, "the list is taller than this test assumes");
        ScrollToEnd(*dialog);
        QCOMPARE(m_log.count(u"TV.Windows"_s) - loaded, 1 + articles / ArticleHitModel::PageSize);
        QCOMPARE(Column(dialog->hits(), ArticleHitModel::Number), Numbers(200001, articles));
        VERIFY_DIALOGS_DONE(dialogs);
    }

    void pauseBetweenPages_data()
    {
        QTest::addColumn<int>("articles");
        // When the idle timer fires: 0 before the list is shown, 1 once it
        // has filled, 2 after it was scrolled down once.
        QTest::addColumn<QList<int>>("pauses");
        QTest::addColumn<QString>("refused");    // a command the server refuses after the pauses
        QTest::newRow("no pause") << 30 << QList<int>{} << QString();
        QTest::newRow("four hits, pause before the fifth row") << 4 << QList<int>{0} << QString();
        QTest::newRow("pause after the first rows") << 30 << QList<int>{1} << QString();
        QTest::newRow("two pauses") << 60 << QList<int>{1, 2} << QString();
        QTest::newRow("search refused after the pause") << 30 << QList<int>{1} << u"D GETARF"_s;
        QTest::newRow("page refused after the pause") << 30 << QList<int>{1} << u"D GETARN"_s;
    }

    // The idle timer drops the connection between two pages, and the new
    // session knows nothing of the search.
    void pauseBetweenPages()
    {
        QFETCH(int, articles);
        QFETCH(QList<int>, pauses);
        QFETCH(QString, refused);
        saveArticles(u"ROLLE"_s, articles);
        testsupport::ScriptedDialogs dialogs;
        const auto dialog = openArticleSearch();
        QVERIFY(dialog);
        ArticleHitModel &hits = dialog->hits();
        QTableView *list = dialog->list();
        SearchFor(*dialog, u"ROLLE"_s);
        ScrollToEnd(*dialog);
        const QStringList uninterrupted = Column(hits, ArticleHitModel::Number);
        QCOMPARE(uninterrupted, Numbers(200001, articles));

        m_log.commands.clear();
        Child<QPushButton>(*dialog, u"BUSuch"_s)->click();
        const QString search = m_log.commands.value(0);
        // Only "Suchen" starts another search.
        Child<QLineEdit>(*dialog, u"SKBEZ"_s)->setText(u"NICHTS"_s);
        Child<QComboBox>(*dialog, u"SAKTIV"_s)->setCurrentIndex(2);
        // One round trip per page; after a pause the new session first
        // learns whose it is, then runs the search again and passes over the
        // pages held.
        int calls = 1 + articles / ArticleHitModel::PageSize;
        int held = 0;
        const auto lowestRowShown = [&] { return list->rowAt(list->viewport()->height() - 1); };
        for (int step = 0; !pauses.isEmpty() && step <= pauses.last(); ++step) {
            if (step == 2)
                list->scrollToBottom();
            if (step > 0)
                QTRY_VERIFY(lowestRowShown() >= 0 && lowestRowShown() < hits.hitCount());
            if (!pauses.contains(step))
                continue;
            QVERIFY2(hits.isPaging(), "the list is taller than this test assumes");
            held = hits.hitCount();
            calls += 2 + held / ArticleHitModel::PageSize;
            QTimer &lock = m_client->api().lockTimer();
            QVERIFY(lock.isActive());
            QMetaObject::invokeMethod(&lock, "timeout");   // a private signal: only by name
        }
        m_log.failingCommand = refused;
        if (!refused.isEmpty()) {
            dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s, u"Vorgang: Ungültige Anfrage! Kein Ergebnis "
                                              u"gefunden\r\n\r\nDBCall Aufruf von TV.Windwos Xecute " + refused);
        }
        ScrollToEnd(*dialog);
        VERIFY_DIALOGS_DONE(dialogs);
        // After an error the search ends with the hits held.
        QCOMPARE(Column(hits, ArticleHitModel::Number), refused.isEmpty() ? uninterrupted : uninterrupted.mid(0, held));
        if (refused.isEmpty()) {
            QCOMPARE(m_log.commands.count(search), 1 + pauses.size());
            QCOMPARE(m_log.commands.size(), calls);
        }
    }

    void supplierFromTheArticleSearch_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("$ in the field") << false;
        QTest::newRow("picture button") << true;
    }

    void supplierFromTheArticleSearch()
    {
        QFETCH(bool, byButton);
        savePartners();
        testsupport::ScriptedDialogs dialogs;
        QStringList seen;   // focus, account, key, short designations
        dialogs.expectDialog(u"FMLnrsu"_s, [&](QDialog &suppliers) {
            seen << (suppliers.focusWidget() ? suppliers.focusWidget()->objectName() : QString())
                 << Child<QComboBox>(suppliers, u"SSKTOK"_s)->currentText();
            SearchFor(suppliers, u"müller"_s);
            seen << Child<QLineEdit>(suppliers, u"SKBEZ"_s)->text()
                 << Column(*Child<QTableView>(suppliers, u"LNRSULI"_s)->model(), PartnerHitModel::ShortName);
            return ChooseRow(suppliers, u"LNRSULI"_s, 0, false);
        });
        const auto dialog = openArticleSearch();
        QVERIFY(dialog);
        if (byButton)
            Child<QPushButton>(*dialog, u"Suchen"_s)->click();
        else
            QTest::keyClick(Child(*dialog, u"SLNR"_s), '$');
        VERIFY_DIALOGS_DONE(dialogs);
        // The first account, 007, is sent as 7: MÜLLER BAU of account 010 is not found.
        QCOMPARE(seen, (QStringList{u"SKBEZ"_s, u"007 | Werkzeughändler"_s, u"MUELLER"_s, u"MÜLLER WERKZEUG"_s}));
        QCOMPARE(Child<QLineEdit>(*dialog, u"SLNR"_s)->text(), u"70001"_s);
        QCOMPARE(Child<QLineEdit>(*dialog, u"LBEZ"_s)->text(), u"Müller Werkzeuge GmbH"_s);
    }

    void partnerSearchNeedsAKey()
    {
        testsupport::ScriptedDialogs dialogs;
        FMLnrsu suppliers;
        FMKnrsu customers;
        for (PartnerSearch *dialog : std::initializer_list<PartnerSearch *>{&suppliers, &customers}) {
            dialogs.expectMessage(u"Fehler: Suchbegriffseingabe"_s, u"Der Suchbegriff muss mindestens 1 Zeichen Lang sein"_s);
            dialog->Form_Load();
            Child<QPushButton>(*dialog, u"BUSuch"_s)->click();
            QCOMPARE(dialogs.shown().last().icon, QMessageBox::NoIcon);
        }
        VERIFY_DIALOGS_DONE(dialogs);
        QCOMPARE(m_log.count(u"TV.Windows.KkrSuche"_s), 0);
    }

    void partnerSearchStopsAt500()
    {
        m_firms.xecute(u"TSTART"_s);
        for (int i = 1; i <= PartnerHitModel::MaxHits + 1; ++i)
            m_firms.save(u"TV.Lieferant"_s, {{u"Lnr"_s, QString::number(i)}, {u"Kurzbez"_s, u"VIELE %1"_s.arg(i, 3, 10, QChar(u'0'))}});
        m_firms.xecute(u"TCOMMIT"_s);
        login();
        testsupport::ScriptedDialogs dialogs;
        FMLnrsu dialog;
        dialog.Form_Load();
        SearchFor(dialog, u"VIELE"_s);
        QCOMPARE(Column(dialog.hits(), PartnerHitModel::Number), Numbers(1, PartnerHitModel::MaxHits));
        VERIFY_DIALOGS_DONE(dialogs);
    }

    void customerGroups_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("customers");
        QTest::newRow("no group") << 0 << QStringList{u"100010"_s, u"1000100"_s, u"10005"_s};
        QTest::newRow("group 5") << 1 << QStringList{u"10005"_s};
        QTest::newRow("group 10") << 2 << QStringList{u"100010"_s};
        QTest::newRow("group 100") << 3 << QStringList{u"1000100"_s};
    }

    void customerGroups()
    {
        QFETCH(int, entry);
        QFETCH(QStringList, customers);
        savePartners();
        testsupport::ScriptedDialogs dialogs;
        QStringList groups, found;
        dialogs.expectDialog(u"FMKnrsu"_s, [&](QDialog &search) {
            auto *group = Child<QComboBox>(search, u"SKGRP"_s);
            groups << QString::number(group->currentIndex());
            for (int i = 0; i < group->count(); ++i)
                groups << group->itemText(i);
            group->setCurrentIndex(entry);
            SearchFor(search, u"kunde"_s);
            found = Column(*Child<QTableView>(search, u"KNRSULI"_s)->model(), PartnerHitModel::Number);
            return ChooseRow(search, u"KNRSULI"_s, 0, true);
        });
        QCOMPARE(SelectCustomer(), customers.first());
        VERIFY_DIALOGS_DONE(dialogs);
        QCOMPARE(groups, (QStringList{u"-1"_s, QString(), u"5 | Gruppe 5"_s, u"10 | Gruppe 10"_s, u"100 | Gruppe 100"_s}));
        QCOMPARE(found, customers);
    }

    void accessErrors_data()
    {
        QTest::addColumn<bool>("customers");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QString>("operation");
        const QString search = u"TV.Windows.KkrSuche"_s;
        QTest::newRow("accounts") << false << u"TV.KontoSammelKontoKreis.SaKontoBez"_s << u"Lieferantensuche: Lieferantenarten"_s;
        QTest::newRow("supplier search") << false << search << u"Suche Lieferantennummer"_s;
        QTest::newRow("customer groups") << true << u"TV.ParKundenGruppen.Gruppen"_s << u"Kundengruppen für Kundensuche"_s;
        QTest::newRow("customer search") << true << search << u"Kundennummer Suche"_s;
    }

    void accessErrors()
    {
        QFETCH(bool, customers);
        QFETCH(QString, failing);
        QFETCH(QString, operation);
        savePartners();
        testsupport::ScriptedDialogs dialogs;
        std::unique_ptr<PartnerSearch> dialog;
        if (customers)
            dialog = std::make_unique<FMKnrsu>();
        else
            dialog = std::make_unique<FMLnrsu>();
        dialogs.expectMessageStartingWith(u"Caché Zugriffsfehler"_s, u"Vorgang: " + operation + u".\r\n\r\nFehler: 401");
        const bool inSearch = failing.endsWith(u"KkrSuche");
        m_log.failingQuery = inSearch ? QString() : failing;
        dialog->Form_Load();
        if (inSearch) {
            // A search that works, then the same failing: the list keeps the hits.
            SearchFor(*dialog, customers ? u"KUNDE"_s : u"M"_s);
            const QStringList before = Column(dialog->hits(), PartnerHitModel::Number);
            QCOMPARE(before.size(), customers ? 3 : 1);
            m_log.failingQuery = failing;
            SearchFor(*dialog, QString());
            QCOMPARE(Column(dialog->hits(), PartnerHitModel::Number), before);
        } else {
            QCOMPARE(Child<QComboBox>(*dialog, customers ? u"SKGRP"_s : u"SSKTOK"_s)->count(), customers ? 1 : 0);
        }
        VERIFY_DIALOGS_DONE(dialogs);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void leavingTheArticleField_data()
    {
        QTest::addColumn<QString>("article");
        QTest::addColumn<bool>("known");
        QTest::newRow("known") << store::demo::WidelyPricedArticle.toString() << true;
        QTest::newRow("unknown") << u"999999"_s << false;
        QTest::newRow("empty") << QString() << true;
    }

    void leavingTheArticleField()
    {
        QFETCH(QString, article);
        QFETCH(bool, known);
        testsupport::ScriptedDialogs dialogs;
        const auto window = startMainWindow();
        QVERIFY(window);
        auto *anr = Child<MultiColumnComboBox>(*window, u"anr"_s);
        auto *bez1 = Child<QLineEdit>(*window, u"bez1"_s);
        if (!known)
            dialogs.expectMessage(u"TOLVEN Konkurerberverwaltung"_s, u"Artikel nicht gespeichert"_s);
        bez1->setText(u"vorher"_s);
        anr->setFocus();
        anr->setCurrentCode(article);
        const int calls = m_log.count(u"Konkur.Konkur"_s);
        Child(*window, u"volltext"_s)->setFocus();
        VERIFY_DIALOGS_DONE(dialogs);
        QCOMPARE(m_log.count(u"Konkur.Konkur"_s) - calls, article.isEmpty() ? 0 : 1);
        const QString description = article.isEmpty() ? QString()
            : ServerToDisplay(m_firms.call(u"Konkur.Konkur"_s, u"ArtBez1"_s, {u"1"_s, article}));
        QCOMPARE(bez1->text(), known ? description : u"vorher"_s);
        QTRY_VERIFY((known ? Child(*window, u"volltext"_s) : anr)->hasFocus());
        if (!known)
            QCOMPARE(dialogs.shown().first().icon, QMessageBox::Information);
    }

    void articleSearchOfTheMainWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("double click") << u"double click"_s;
        QTest::newRow("Enter") << u"Enter"_s;
        QTest::newRow("Escape") << u"Escape"_s;
        QTest::newRow("close box") << u"close box"_s;
    }

    void articleSearchOfTheMainWindow()
    {
        QFETCH(QString, how);
        const bool chosen = how == u"double click" || how == u"Enter";
        testsupport::ScriptedDialogs dialogs;
        const auto window = startMainWindow();
        QVERIFY(window);
        auto *anr = Child<MultiColumnComboBox>(*window, u"anr"_s);
        auto *bez1 = Child<QLineEdit>(*window, u"bez1"_s);
        anr->setCurrentCode(u"100002"_s);
        bez1->setText(u"vorher"_s);
        QString number, text;
        dialogs.expectDialog(u"FMArtsu"_s, [&](QDialog &dialog) {
            SearchFor(dialog, store::demo::FourArticlesKey.toString());
            const QAbstractItemModel *hits = Child<QTableView>(dialog, u"ARTSULI"_s)->model();
            number = hits->index(2, ArticleHitModel::Number).data().toString();
            text = hits->index(2, ArticleHitModel::Text).data().toString();
            if (how == u"Escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else if (how == u"close box")
                dialog.close();
            else
                ChooseRow(dialog, u"ARTSULI"_s, 2, how == u"Enter");
            return dialog.result();
        });
        QTest::mouseClick(Child<QPushButton>(*window, u"artsu"_s), Qt::LeftButton);
        VERIFY_DIALOGS_DONE(dialogs);
        QVERIFY(!number.isEmpty() && !text.isEmpty());
        QCOMPARE(anr->currentCode(), chosen ? number : u"100002"_s);
        QCOMPARE(bez1->text(), chosen ? text : u"vorher"_s);
        QCOMPARE(window->focusWidget()->objectName(), chosen ? u"volltext"_s : u"artsu"_s);
    }
};

QTEST_MAIN(TestLookupDialogs)
#include "tst_lookupdialogs.moc"
