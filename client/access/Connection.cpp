#include "Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/cacheapi.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

constexpr int ConnectionAttempts = 3;

// The file keeps the remembered password, which is scrambled, not
// encrypted: it is its owner's alone, also when it was made wider before.
// QSettings writes a new file and puts it in the old one's place with the
// old one's mode, so the mode is set before anything is written.
void KeepSettingsFilePrivate(const QString &path)
{
    constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (QFileInfo::exists(path)) {
        QFile::setPermissions(path, ownerOnly);
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Where no file can be made, QSettings can write none either.
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly);
}

void ShowInLoginWindows(const LoginValues &stored, bool withPassword)
{
    cacheapi &api = cacheapi::instance();
    api.serverWindow().showSettings(stored.server);
    if (withPassword)
        api.loginWindow().setPasswordText(stored.password);
    api.loginWindow().setUserText(stored.userCode);
}

} // namespace

std::unique_ptr<QSettings> OpenLoginSettings()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                u"TOLVEN"_s, u"Cache Login"_s);
    settings->beginGroup(u"Login"_s);
    return settings;
}

void LoadConnectionSettings()
{
    LoginContext &ctx = Context();
    const LoginValues stored = ReadLoginSettings(*OpenLoginSettings());
    ctx.Firm = stored.server.firm;
    ctx.Branch = stored.server.branch;
    ctx.ServerAddress = stored.server.serverAddress;
    ctx.ServerPort = stored.server.port;
    ctx.Namespace = stored.server.namespaceName;
    ctx.UserCode = stored.userCode;
    ctx.Password = ctx.IgnoreStoredPassword ? cacheapi::instance().loginWindow().passwordText() : stored.password;
    ShowInLoginWindows(stored, !ctx.IgnoreStoredPassword);
}

void ShowConnectionSettings()
{
    ShowInLoginWindows(ReadLoginSettings(*OpenLoginSettings()), !Context().IgnoreStoredPassword);
}

void SaveConnectionSettings()
{
    // Only what the server window accepted, and only when it is usable: a
    // value the window refused must never make the next start fail.
    const ServerSettings &server = cacheapi::instance().serverWindow().acceptedSettings();
    const bool storeServer = server.isStorable();
    const FMPass &loginWindow = cacheapi::instance().loginWindow();
    auto settings = OpenLoginSettings();
    KeepSettingsFilePrivate(settings->fileName());
    if (storeServer) {
        settings->setValue(u"Firma"_s, server.firm);
        settings->setValue(u"Filiale"_s, server.branch);
    }
    settings->setValue(u"Name"_s, loginWindow.userText());
    if (!Context().IgnoreStoredPassword)
        settings->setValue(u"Passwort"_s, ScramblePassword(loginWindow.passwordText()));
    if (storeServer) {
        settings->setValue(u"Server"_s, server.serverAddress);
        settings->setValue(u"Port"_s, server.port);
        settings->setValue(u"Namespace"_s, server.namespaceName);
    }
    settings->sync();
}

bool PrepareConnection()
{
    cacheapi &api = cacheapi::instance();
    LoginContext &ctx = api.context();
    const std::optional<LoginValues> commandLine = ParseLoginCommandLine(ctx.CommandLine);
    // The command line serves the start-up login only: a login from the
    // running main window takes what the user typed.
    const bool fromCommandLine = !api.mainWindowShown() && commandLine.has_value();
    // After a failed login the command line is not tried again: the login
    // window asks, showing the values the command line gave.
    if (fromCommandLine && !ctx.LoginFailed) {
        ctx.Firm = commandLine->server.firm;
        ctx.Branch = commandLine->server.branch;
        ctx.UserCode = commandLine->userCode;
        ctx.Password = commandLine->password;
        ctx.ServerAddress = commandLine->server.serverAddress;
        ctx.ServerPort = commandLine->server.port;
        ctx.Namespace = commandLine->server.namespaceName;
        api.serverWindow().showSettings(commandLine->server);
        api.loginWindow().setUserText(ctx.UserCode);
    } else {
        if (!fromCommandLine)
            LoadConnectionSettings();
        const bool rememberedLogin = !ctx.Password.isEmpty() && !ctx.IgnoreStoredPassword && !ctx.LoginFailed
            && !ctx.UserCode.isEmpty();
        if (!rememberedLogin || fromCommandLine) {
            FMPass &loginWindow = api.loginWindow();
            if (!loginWindow.isVisible())
                ExecModal(loginWindow);
            if (api.exitRequested())
                return false;
            LoadConnectionSettings();
        }
    }
    ctx.ConnectString = ConnectStringFor(ctx.ServerAddress, ctx.ServerPort);
    return true;
}

bool EnsureConnected()
{
    cacheapi &api = cacheapi::instance();
    if (api.exitRequested())
        return false;
    try {
        if (api.factory() && api.factory()->isConnected())
            return true;
    } catch (const AccessError &) {
        // A failing check counts as not connected.
    }

    LoginContext &ctx = api.context();
    FMServer &serverWindow = api.serverWindow();
    for (int attempt = 0; attempt < ConnectionAttempts; ++attempt) {
        QString reason;
        try {
            ServerFactory &factory = api.newFactory();
            if (factory.connect(ctx.ConnectString) && factory.isConnected())
                break;
        } catch (const AccessError &error) {
            reason = error.description();
        }
        serverWindow.setConnectionProblem(reason);
        if (attempt < ConnectionAttempts - 1) {
            MsgBox(nullptr, QMessageBox::NoIcon, LoginTitle,
                   u"Server nicht erreicht! Bitte überprüfen Sie die Verbindungseinstellungen" + Crlf
                       + u"Wenn die Verbindungseinstellung korrekt ist sind wahrscheinlich keine Lizenzen frei." + Crlf
                       + u"Noch " + QString::number(ConnectionAttempts - 1 - attempt)
                       + u" Verbindungsversuche bis zum Abbruch.",
                   QMessageBox::Ok);
            ExecModal(serverWindow);
            if (api.exitRequested())
                return false;
            qint32 elapsed = 0;
            WaitHundredths(api.retryWaitHundredths(), elapsed);
        } else {
            MsgBox(nullptr, QMessageBox::Warning, LoginTitle,
                   u"Server nach 3 Versuchen nicht erreichbar!" + Crlf + u"Abbruch", QMessageBox::Ok);
            serverWindow.hide();
            ctx.LoginKey.clear();
            Disconnect();
            api.loginWindow().BUAusst_Click();
            return false;
        }
    }
    serverWindow.setConnectionProblem({});

    // A new connection first learns whose it is.
    try {
        XecuteOnServer(SetContextCommand(ctx.Firm, ctx.Branch, ctx.UserCode));
        XecuteOnServer(u"D ^%XTT"_s);
    } catch (const AccessError &) {
        // Without firm, branch and person the connection is of no use; the
        // next call tries again from the start.
        Disconnect();
        throw;
    }
    return true;
}

bool BeginConnectedCall(bool showWait)
{
    if (!EnsureConnected())
        return false;
    BeginServerCall(showWait);
    return true;
}

void Disconnect()
{
    cacheapi &api = cacheapi::instance();
    api.lockTimer().stop();
    try {
        if (api.factory() && api.factory()->isConnected())
            api.factory()->disconnect();
    } catch (const AccessError &) {
        // A failing disconnect leaves nothing to do.
    }
}

} // namespace tolven
