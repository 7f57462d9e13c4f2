// The connection settings: the command line login, the values read from the
// settings store (a settings file of any content), the scrambled password,
// and the connection string built from server and port and parsed back.

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "FuzzSupport.h"
#include "access/LoginSettings.h"
#include "objectapi/AccessError.h"
#include "objectapi/Digits.h"
#include "objectapi/ServerAddress.h"
#include "store/DatabaseTarget.h"

using namespace Qt::StringLiterals;
using fuzz::Check;

namespace {

QTemporaryDir *Folder = nullptr;

// The connection string of server and port reads back as the database they name.
void CheckConnectString(const tolven::ServerSettings &server)
{
    const QString connectString = tolven::ConnectStringFor(server.serverAddress, server.port);
    int port = 0;
    const bool validPort = tolven::ParsePort(server.port, port);
    const bool blank = server.serverAddress.trimmed().isEmpty();
    const bool file = store::IsDatabaseFilePath(server.serverAddress);
    try {
        const store::DatabaseTarget target = store::ParseConnectString(connectString);
        // The port is what follows the last "[": a port text holding one is no
        // port, and the string cannot tell where the server ended.
        if (server.port.contains(u'['))
            return;
        Check(!blank, "a connection string without server is refused", connectString);
        if (target.isSQLite()) {
            Check(file && target.path == server.serverAddress, "a database file reads back as itself", connectString);
        } else {
            Check(!file && validPort && target.host == server.serverAddress && target.port == port,
                  "a host and port read back as themselves", connectString);
        }
    } catch (const tolven::AccessError &error) {
        Check(error.number() == tolven::ErrorNumber::BadConnectString, "a bad connection string is named so",
              connectString);
        Check(blank || (!file && !validPort) || server.port.contains(u'['),
              "only a missing server or a bad port is refused", connectString);
    }
}

// A connection string libpq reads, its passwords masked, is one still, and
// masking it again changes nothing.
void CheckMaskedConninfo(const QString &conninfo)
{
    const QString masked = store::MaskConninfoPasswords(conninfo);
    Check(store::MaskConninfoPasswords(masked) == masked, "masking a masked connection string changes nothing",
          conninfo);
    try {
        Check(store::ParseAdminTarget(masked).conninfo == masked, "a masked connection string is one still", conninfo);
    } catch (const tolven::AccessError &) {
        Check(false, "a masked connection string is one still", conninfo);
    }
}

// tolven-admin's TARGET: a connection string with "=", HOST:PORT, or a file.
void CheckAdminTarget(const QString &text)
{
    try {
        const store::DatabaseTarget target = store::ParseAdminTarget(text);
        Check(!text.trimmed().isEmpty(), "an empty target is refused", text);
        if (text.contains(u'=')) {
            Check(!target.isSQLite() && target.conninfo == text, "a connection string is taken as it is", text);
            CheckMaskedConninfo(text);
        } else if (target.isSQLite()) {
            Check(target.path == text, "a file target is its path", text);
        } else {
            int port = 0;
            const qsizetype colon = text.lastIndexOf(u':');
            Check(colon > 0 && target.host == text.left(colon) && tolven::ParsePort(text.mid(colon + 1), port)
                      && target.port == port && !target.host.contains(u'/') && !target.host.contains(u'\\'),
                  "HOST:PORT reads as that host and port", text);
        }
    } catch (const tolven::AccessError &error) {
        Check(error.number() == tolven::ErrorNumber::BadConnectString, "a bad target is named so", text);
    }
}

void CheckScramble(const QString &password)
{
    const QString scrambled = tolven::ScramblePassword(password);
    Check(scrambled.size() == password.size() && tolven::ScramblePassword(scrambled) == password,
          "scrambling twice gives the password back", password);
}

void CheckCommandLine(const QString &line)
{
    const std::optional<tolven::LoginValues> login = tolven::ParseLoginCommandLine(line);
    const QString first = line.section(u' ', 0, 0);
    Check(login.has_value() == tolven::IsDigits(first), "a command line is a login when its first word is a number",
          line);
    if (!login)
        return;
    Check(login->server.firm == first && login->userCode == login->userCode.toUpper()
              && !login->server.serverAddress.isEmpty() && !login->server.port.isEmpty()
              && !login->server.namespaceName.isEmpty(),
          "a command line login has its firm, an upper-case user and every default", line);
    CheckConnectString(login->server);
}

// The stored settings: a file of the fuzzer's text read, then the password
// stored and read back through the file.
void CheckSettingsFile(const QByteArray &content, const QString &password)
{
    const QString path = Folder->filePath(u"Cache Login.conf"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            fuzz::Broken("the settings file can be written", path);
    }
    tolven::LoginValues stored;
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.beginGroup(u"Login"_s);
        stored = tolven::ReadLoginSettings(settings);
    }
    CheckScramble(stored.password);
    if (stored.server.isStorable())
        CheckConnectString(stored.server);

    {
        QSettings settings(path, QSettings::IniFormat);
        settings.beginGroup(u"Login"_s);
        settings.setValue(u"Passwort"_s, tolven::ScramblePassword(password));
        settings.setValue(u"Server"_s, stored.server.serverAddress);
        settings.sync();
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(u"Login"_s);
    const tolven::LoginValues back = tolven::ReadLoginSettings(settings);
    Check(back.password == password, "a remembered password reads back", password);
    Check(back.server.serverAddress == stored.server.serverAddress, "a stored server reads back",
          stored.server.serverAddress);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    // In memory where there is such a folder: the settings file is written
    // and synced over and over.
    const QString memory = u"/dev/shm"_s;
    Folder = QFileInfo(memory).isDir() && QFileInfo(memory).isWritable()
        ? new QTemporaryDir(memory + u"/fuzz_connection-XXXXXX")
        : new QTemporaryDir;
    std::atexit([] { delete Folder; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size, 3);
    CheckScramble(input.text);
    CheckCommandLine(input.field(0));
    CheckAdminTarget(input.field(1));
    CheckConnectString({.serverAddress = input.field(1),
                        .port = input.field(2),
                        .firm = u"1"_s,
                        .branch = u"0"_s,
                        .namespaceName = u"TOLVEN"_s});
    // The file round trip costs a write and two reads: one input in 32.
    if ((input.options & 0x1F) == 0x1F)
        CheckSettingsFile(input.field(0).toUtf8(), input.field(1));
    return 0;
}
