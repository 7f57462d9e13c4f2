#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <memory>

#include "access/Dialogs.h"
#include "common/QtTranslations.h"
#include "support/QuietPlatform.h"

using namespace Qt::StringLiterals;

// Everything the user reads is German, Qt's own buttons and menus included.
class TestGermanTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::HideOffscreenPlatformNotices(); }
    // Runs before Qt's translations are loaded: the client's question boxes
    // are German on their own.
    void questionBoxSaysJaAndNein();
    void qtTextsAreGerman();
};

void TestGermanTexts::questionBoxSaysJaAndNein()
{
    QStringList buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *button : box->buttons())
            buttons << button->text();
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!tolven::AskYesNo(nullptr, u"Anmeldung an Caché"_s, u"Änderungen sichern?"_s));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{u"&Ja"_s, u"&Nein"_s}));
}

void TestGermanTexts::qtTextsAreGerman()
{
    QVERIFY2(tolven::InstallQtTranslations(), "Debian's qt6-translations-l10n is missing");
    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text().section(u'\t', 0, 0);
    QVERIFY2(texts.contains(u"&Kopieren"_s), qPrintable(texts.join(u" | ")));
    QVERIFY2(texts.contains(u"Alles auswählen"_s), qPrintable(texts.join(u" | ")));
    QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), u"Abbrechen"_s);
}

QTEST_MAIN(TestGermanTexts)
#include "tst_germantexts.moc"
