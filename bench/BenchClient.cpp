#include "BenchClient.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

#include "access/cacheapi.h"
#include "app/ClientSetup.h"
#include "positions/FMStart.h"
#include "store/DatabaseTarget.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

using namespace Qt::StringLiterals;

const QLocale German(QLocale::German, QLocale::Germany);

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString Seconds(double milliseconds)
{
    if (milliseconds >= 1000.0)
        return German.toString(milliseconds / 1000.0, 'f', 2) + u" s";
    return German.toString(milliseconds, 'f', 0) + u" ms";
}

QMessageBox::StandardButton UnattendedDialogs::message(QWidget *, QMessageBox::Icon, const QString &title,
                                                       const QString &text, QMessageBox::StandardButtons buttons,
                                                       QMessageBox::StandardButton defaultButton)
{
    m_shown << title + u": " + text;
    QTextStream(stderr) << m_program << ": Meldung \"" << title << "\": " << text << "\n";
    for (const QMessageBox::StandardButton least : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Abort}) {
        if (buttons.testFlag(least))
            return least;
    }
    return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;
}

int UnattendedDialogs::execModal(QDialog &dialog)
{
    // Only a failed login or connection opens one: nobody is there to answer.
    m_shown << u"Dialog "_s + dialog.objectName();
    QTextStream(stderr) << m_program << ": Dialog " << dialog.objectName() << " abgebrochen\n";
    tolven::ExitApplication();
    return QDialog::Rejected;
}

void PrepareOffscreenProcess()
{
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // The offscreen platform's notices that it cannot pass on size hints and
    // the like say nothing about the measurement.
    static QtMessageHandler s_default = nullptr;
    s_default = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (type == QtWarningMsg && text.startsWith(u"This plugin does not support "))
            return;
        s_default(type, context, text);
    });
}

QString UnattendedDialogs::saveFileName(QWidget *, const QString &title, const QString &, const QString &,
                                        const QString &)
{
    m_shown << u"Datei speichern "_s + title;
    QTextStream(stderr) << m_program << ": Dateiauswahl " << title << " abgebrochen\n";
    return {};
}

QString UnattendedDialogs::openFileName(QWidget *, const QString &title, const QString &, const QString &)
{
    m_shown << u"Datei öffnen "_s + title;
    QTextStream(stderr) << m_program << ": Dateiauswahl " << title << " abgebrochen\n";
    return {};
}

int UnattendedDialogs::execPrintPreview(QPrintPreviewDialog &)
{
    m_shown << u"Druckvorschau"_s;
    QTextStream(stderr) << m_program << ": Druckvorschau abgebrochen\n";
    return QDialog::Rejected;
}

BenchClient::BenchClient(const QString &program)
    : m_program(program)
    , m_dialogs(program)
{
    // Nothing of the user's own settings is read or written.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    tolven::SetUpClient();
    tolven::InstallDialogs(&m_dialogs);
    m_gateway = std::make_unique<tolven::cacheapi>(tolven::StoreFactoryMaker());
    m_gateway->setExitHook([] {});
}

BenchClient::~BenchClient()
{
    m_gateway.reset();
    tolven::InstallDialogs(nullptr);
}

bool BenchClient::start(tolven::FMStart &window, const QString &server, const QString &port)
{
    const QList<store::DemoLogin> logins = store::DemoLogins();
    const store::DemoLogin login = *std::find_if(logins.begin(), logins.end(), [](const store::DemoLogin &l) {
        return l.firm == u"1" && l.code == u"MUELLER";
    });
    m_gateway->context().CommandLine =
        QStringList{login.firm, u"0"_s, login.code, login.password, server, port}.join(u' ');
    if (!window.Form_Load()) {
        QTextStream(stderr) << m_program << ": Anmeldung gescheitert\n";
        return false;
    }
    window.resize(1280, 800);
    window.show();
    QCoreApplication::processEvents();
    // Every position of the firm: no filter.
    for (const QString &name : {u"likonkur"_s, u"anr"_s}) {
        auto *combo = window.findChild<QComboBox *>(name);
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->setEditText({});
    }
    window.findChild<QLineEdit *>(u"volltext"_s)->clear();
    window.findChild<QLineEdit *>(u"aenddatab"_s)->clear();
    return true;
}
