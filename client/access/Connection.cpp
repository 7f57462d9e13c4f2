#include "Connection.h"

#include <QSettings>

#include "access/Dialogs.h"
#include "access/FMPass.h"
#include "access/FMServer.h"
#include "access/cacheapi.h"
#include "objectapi/Digits.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

constexpr int ConnectionAttempts = 3;

// Windows-1252 codes 0x80..0x9F; the five codes it leaves free stand for the
// control characters of the same number, as Windows reads them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t FromCp1252(unsigned char code)
{
    return code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : char16_t(code);
}

// The code of ch in Windows-1252, or -1 when the code page lacks it.
int ToCp1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (Cp1252High[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QString Setting(QSettings &settings, const QString &key, const QString &defaultValue)
{
    return settings.value(key, defaultValue).toString();
}

} // namespace

std::unique_ptr<QSettings> OpenLoginSettings()
{
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                u"TOLVEN"_s, u"Cache Login"_s);
    settings->beginGroup(u"Login"_s);
    return settings;
}

QString ScramblePassword(const QString &text)
{
    QString result = text;
    for (QChar &ch : result) {
        const int code = ToCp1252(ch.unicode());
        if (code >= 0)
            ch = QChar(FromCp1252(static_cast<unsigned char>(code ^ PasswordScrambleKey)));
    }
    return result;
}

void LoadConnectionSettings()
{
    LoginContext &ctx = Context();
    auto settings = OpenLoginSettings();
    const ServerSettings defaults = ServerSettings::StoreDefaults();
    ctx.Firm = Setting(*settings, u"Firma"_s, defaults.firm);
    ctx.Branch = Setting(*settings, u"Filiale"_s, defaults.branch);
    ctx.ServerAddress = Setting(*settings, u"Server"_s, defaults.serverAddress);
    ctx.ServerPort = Setting(*settings, u"Port"_s, defaults.port);
    ctx.Namespace = Setting(*settings, u"Namespace"_s, defaults.namespaceName);
    ctx.UserCode = Setting(*settings, u"Name"_s, QString());

    FMPass &loginWindow = cacheapi::instance().loginWindow();
    ctx.Password = loginWindow.passwordText();
    if (!ctx.IgnoreStoredPassword) {
        ctx.Password = ScramblePassword(Setting(*settings, u"Passwort"_s, QString()));
        loginWindow.setPasswordText(ctx.Password);
    }
    cacheapi::instance().serverWindow().showSettings(ctx);
    loginWindow.setUserText(ctx.UserCode);
}

void SaveConnectionSettings()
{
    // Only what the server window accepted, and only when it is usable: a
    // value the window refused must never make the next start fail.
    const ServerSettings &server = cacheapi::instance().serverWindow().acceptedSettings();
    const bool storeServer = server.isStorable();
    const FMPass &loginWindow = cacheapi::instance().loginWindow();
    auto settings = OpenLoginSettings();
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
    const QStringList fields = ctx.CommandLine.split(u' ');
    // The command line serves the start-up login only: a login from the
    // running main window takes what the user typed.
    const bool fromCommandLine =
        !api.mainWindowShown() && !ctx.CommandLine.isEmpty() && IsDigits(fields.first());
    // After a failed login the command line is not tried again: the login
    // window asks, showing the values the command line gave.
    if (fromCommandLine && !ctx.LoginFailed) {
        const auto field = [&](int n, const QString &defaultValue) {
            const QString value = n < fields.size() ? fields.at(n) : QString();
            return value.isEmpty() ? defaultValue : value;
        };
        ctx.Firm = field(0, {});
        ctx.Branch = field(1, {});
        ctx.UserCode = field(2, {}).toUpper();
        ctx.Password = field(3, {});
        ctx.ServerAddress = field(4, DefaultServerAddress());
        ctx.ServerPort = field(5, u"1972"_s);
        ctx.Namespace = field(6, u"TOLVEN"_s);
        api.serverWindow().showSettings(ctx);
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
