#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/Icons.h"
#include "common/frmAbout.h"
#include "support/QuietPlatform.h"
#include "support/ScriptedDialogs.h"

using namespace Qt::StringLiterals;

using tolven::frmAbout;

namespace {

const QString Unavailable = u"Systeminformationen sind momentan nicht verfügbar"_s;

// Something is drawn: a pixmap that only looks valid would be all transparent.
bool HasVisiblePixels(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
        }
    }
    return false;
}

QString MarkerOf(const QTemporaryDir &bin, const QString &tool)
{
    return bin.filePath(tool + u".started");
}

// An executable of that name in bin; it leaves a marker file when it runs,
// unless broken, when it cannot be started at all.
void PlaceTool(const QTemporaryDir &bin, const QString &tool, bool broken)
{
    QFile file(bin.filePath(tool));
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Only shell builtins: PATH holds nothing but bin while the test runs.
    const QString script = broken ? u"no program\n"_s
                                  : u"#!/bin/sh\necho started > '" + MarkerOf(bin, tool) + u"'\n";
    file.write(script.toUtf8());
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void captions_data();
    void captions();
    void showsProgramIcon();
    void closes_data();
    void closes();
    void systemInfo_data();
    void systemInfo();
    void icons_data();
    void icons();
    void everyBundledIconHasAName();

private:
    QByteArray m_path;
};

void tst_frmAbout::initTestCase()
{
    testsupport::HideOffscreenPlatformNotices();
    tolven::InitAppResources();
    m_path = qgetenv("PATH");
}

void tst_frmAbout::cleanup()
{
    qputenv("PATH", m_path);
}

void tst_frmAbout::captions_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << "lblTitle" << "TOLVEN Konkurerberverwaltung";
    QTest::newRow("version") << "lblVersion" << u"Version " + tolven::ProgramVersion();
    QTest::newRow("description") << "lblDescription" << "Erfassung und Auswertung von Konkurrenzpreisen";
    QTest::newRow("OK") << "cmdOK" << "OK";
    QTest::newRow("Systeminfo") << "cmdSysInfo" << "&Systeminfo...";
}

void tst_frmAbout::captions()
{
    QFETCH(QString, objectName);
    QFETCH(QString, text);

    frmAbout about;
    QCOMPARE(about.objectName(), u"frmAbout");
    QCOMPARE(about.windowTitle(), u"Info über TOLVEN Konkurerberverwaltung");
    QWidget *widget = about.findChild<QWidget *>(objectName);
    QVERIFY2(widget, qPrintable(objectName));
    if (auto *label = qobject_cast<QLabel *>(widget))
        QCOMPARE(label->text(), text);
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    else
        QFAIL("neither label nor button");
}

void tst_frmAbout::showsProgramIcon()
{
    frmAbout about;
    auto *icon = about.findChild<QLabel *>(u"lblIcon"_s);
    QVERIFY(icon);
    QVERIFY(HasVisiblePixels(icon->pixmap()));
    QVERIFY(!about.windowIcon().isNull());
}

void tst_frmAbout::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK") << "OK" << int(QDialog::Accepted);
    QTest::newRow("Return takes the default button") << "Return" << int(QDialog::Accepted);
    QTest::newRow("Escape") << "Escape" << int(QDialog::Rejected);
}

void tst_frmAbout::closes()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    testsupport::ScriptedDialogs dialogs;
    frmAbout about;
    // Before showing: once shown, the button with the focus is the default anyway.
    QVERIFY(about.findChild<QPushButton *>(u"cmdOK"_s)->isDefault());
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QVERIFY(!about.isModal());
    // The opposite of the expected result, so that an untouched result shows.
    about.setResult(result == QDialog::Accepted ? QDialog::Rejected : QDialog::Accepted);

    if (how == u"OK")
        QTest::mouseClick(about.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    else
        QTest::keyClick(&about, how == u"Return" ? Qt::Key_Return : Qt::Key_Escape);

    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), result);
    VERIFY_DIALOGS_DONE(dialogs);
}

void tst_frmAbout::systemInfo_data()
{
    const QStringList tools = tolven::SystemInfoTools();
    QVERIFY(tools.size() >= 2);

    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<bool>("broken");
    QTest::addColumn<QString>("started");
    QTest::newRow("none installed") << QStringList{} << false << QString();
    QTest::newRow("first") << QStringList{tools.first()} << false << tools.first();
    QTest::newRow("only the last") << QStringList{tools.last()} << false << tools.last();
    QTest::newRow("the first of several") << QStringList{tools.at(1), tools.first()} << false << tools.first();
    QTest::newRow("cannot be started") << QStringList{tools.first()} << true << QString();
}

void tst_frmAbout::systemInfo()
{
    QFETCH(QStringList, installed);
    QFETCH(bool, broken);
    QFETCH(QString, started);

    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    for (const QString &tool : installed) {
        PlaceTool(bin, tool, broken);
        if (QTest::currentTestFailed())
            return;
    }
    qputenv("PATH", QFile::encodeName(bin.path()));

    testsupport::ScriptedDialogs dialogs;
    if (started.isEmpty())
        dialogs.expectMessage(u"Info über TOLVEN Konkurerberverwaltung"_s, Unavailable);
    frmAbout about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdSysInfo"_s), Qt::LeftButton);

    VERIFY_DIALOGS_DONE(dialogs);
    if (started.isEmpty()) {
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().icon, QMessageBox::Information);
        QCOMPARE(dialogs.shown().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    } else {
        QTRY_VERIFY(QFile::exists(MarkerOf(bin, started)));
        for (const QString &tool : installed) {
            if (tool != started)
                QVERIFY2(!QFile::exists(MarkerOf(bin, tool)), qPrintable(tool));
        }
    }
    QVERIFY(about.isVisible());
}

void tst_frmAbout::icons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"konkur", "search", "competitors", "pricetypes", "save", "print", "export", "exit",
                             "login", "new-row", "copy-row", "delete-row", "about"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void tst_frmAbout::icons()
{
    QFETCH(QString, name);

    const QIcon icon = tolven::AppIcon(name);
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.pixmap(24).isNull());
    // Our own drawing must render wherever the desktop theme lacks the icon.
    const QPixmap bundled = QIcon(u":/icons/" + name + u".svg").pixmap(24);
    QVERIFY2(!bundled.isNull(), "the bundled SVG does not render (is Qt's SVG plugin installed?)");
    QVERIFY(HasVisiblePixels(bundled));
}

void tst_frmAbout::everyBundledIconHasAName()
{
    QStringList files = QDir(u":/icons"_s).entryList(QDir::Files);
    QStringList expected;
    for (const QString &name : tolven::AppIconNames())
        expected << name + u".svg";
    files.sort();
    expected.sort();
    QCOMPARE(files, expected);
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
