#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <utility>

#include "access/cacheapi.h"
#include "support/ScriptedDialogs.h"

namespace testsupport {

// The client's access layer for one test: a gateway over the store, settings
// kept in a folder of the test's own, ExitApplication recorded instead of
// ending the test program, and no second of waiting between connection
// attempts. Made in init(), dropped in cleanup().
class ClientFixture
{
public:
    ClientFixture();
    // The gateway's factories come from makeFactory instead of the store.
    explicit ClientFixture(tolven::FactoryMaker makeFactory);
    ~ClientFixture();

    tolven::cacheapi &api() { return *m_api; }
    tolven::LoginContext &context() { return m_api->context(); }

    // How many factories the gateway has made (one per connection attempt).
    int factoriesMade() const { return m_factoriesMade; }
    // How often the program would have ended.
    int exits() const { return m_exits; }

    // Every factory made from now on goes through hook (InterceptingFactory).
    void interceptCalls(std::function<void(const QString &className, const QString &name,
                                           const QStringList &arguments)> hook);

    // The command line the login reads ("firm branch user password server port namespace").
    void setCommandLine(const QString &commandLine);
    // The server address and port of a test database, for a command line.
    static QString serverOf(const class TestDatabase &database);
    static QString portOf(const class TestDatabase &database);

    // The user's stored connection settings (section "Login").
    void writeSetting(const QString &key, const QString &value);
    QString setting(const QString &key) const;
    bool hasSetting(const QString &key) const;

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<tolven::cacheapi> m_api;
    int m_factoriesMade = 0;
    int m_exits = 0;
    std::function<void(const QString &, const QString &, const QStringList &)> m_hook;
};

// What a user does in the server window, shown modally, to store values:
// "Ändern", "Ja", each field (by object name) given its value, "Ändern",
// "Ja" to "Änderungen sichern?", then "Zurück". The two questions are added
// to the script of dialogs when the window is shown.
ScriptedDialogs::DialogAction StoreInServerWindow(ScriptedDialogs &dialogs,
                                                  const QList<std::pair<QString, QString>> &fields);

} // namespace testsupport
