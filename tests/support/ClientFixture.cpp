#include "ClientFixture.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "access/Connection.h"
#include "store/StoreFactory.h"
#include "support/InterceptingFactory.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

namespace testsupport {

ClientFixture::ClientFixture()
    : ClientFixture([] { return std::make_unique<store::StoreFactory>(); })
{
}

ClientFixture::ClientFixture(tolven::FactoryMaker makeFactory)
{
    // Nothing of the user's own settings or database is touched.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    m_api = std::make_unique<tolven::cacheapi>(
        [this, makeFactory = std::move(makeFactory)]() -> std::unique_ptr<tolven::ServerFactory> {
            ++m_factoriesMade;
            std::unique_ptr<tolven::ServerFactory> factory = makeFactory();
            if (!m_hook)
                return factory;
            return std::make_unique<InterceptingFactory>(std::move(factory), m_hook);
        });
    m_api->setRetryWaitHundredths(0);
    m_api->setExitHook([this] { ++m_exits; });
    // The process command line of the test program is none of the login's business.
    m_api->context().CommandLine = u" "_s;
}

ClientFixture::~ClientFixture()
{
    m_api.reset();
    QApplication::processEvents();
}

void ClientFixture::interceptCalls(
    std::function<void(const QString &className, const QString &name, const QStringList &arguments)> hook)
{
    m_hook = std::move(hook);
}

void ClientFixture::setCommandLine(const QString &commandLine)
{
    m_api->context().CommandLine = commandLine;
}

QString ClientFixture::serverOf(const TestDatabase &database)
{
    return database.target().isSQLite() ? database.target().path : database.target().host;
}

QString ClientFixture::portOf(const TestDatabase &database)
{
    return database.target().isSQLite() ? u"1972"_s : QString::number(database.target().port);
}

void ClientFixture::writeSetting(const QString &key, const QString &value)
{
    auto settings = tolven::OpenLoginSettings();
    settings->setValue(key, value);
}

QString ClientFixture::setting(const QString &key) const
{
    return tolven::OpenLoginSettings()->value(key).toString();
}

bool ClientFixture::hasSetting(const QString &key) const
{
    return tolven::OpenLoginSettings()->contains(key);
}

ScriptedDialogs::DialogAction StoreInServerWindow(ScriptedDialogs &dialogs,
                                                  const QList<std::pair<QString, QString>> &fields)
{
    return [&dialogs, fields](QDialog &window) {
        auto *edit = window.findChild<QPushButton *>(u"BUEdit"_s);
        dialogs.expectMessage(tolven::LoginTitle, u"Änderungen erlauben?"_s, QMessageBox::Yes);
        QTest::mouseClick(edit, Qt::LeftButton);
        for (const auto &[name, value] : fields)
            window.findChild<QLineEdit *>(name)->setText(value);
        dialogs.expectMessage(tolven::LoginTitle, u"Änderungen sichern?"_s, QMessageBox::Yes);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>(u"BUZurück"_s), Qt::LeftButton);
        return 0;
    };
}

} // namespace testsupport
