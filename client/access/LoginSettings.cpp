#include "LoginSettings.h"

#include <QSettings>
#include <QStringList>

#include "objectapi/Digits.h"
#include "objectapi/ServerAddress.h"
#include "objectapi/TextCheck.h"
#include "objectapi/Windows1252.h"

using namespace Qt::StringLiterals;

namespace tolven {

ServerSettings ServerSettings::StoreDefaults()
{
    return {.serverAddress = DefaultServerAddress(),
            .port = u"1973"_s,
            .firm = u"1"_s,
            .branch = u"0"_s,
            .namespaceName = u"TOLVEN"_s};
}

ServerSettings::Field ServerSettings::invalidField() const
{
    int portNumber = 0;
    if (serverAddress.trimmed().isEmpty() || FirstForbiddenCharacter(serverAddress, false) >= 0)
        return Field::ServerAddress;
    if (!ParsePort(port, portNumber))
        return Field::Port;
    if (!IsDigits(firm))
        return Field::Firm;
    if (!IsDigits(branch))
        return Field::Branch;
    if (FirstForbiddenCharacter(namespaceName, false) >= 0)
        return Field::Namespace;
    return Field::None;
}

QString ServerSettings::complaint() const
{
    switch (invalidField()) {
    case Field::ServerAddress:
        if (FirstForbiddenCharacter(serverAddress, false) >= 0)
            return ForbiddenCharacterComplaint(u"ServerIP"_s, serverAddress, false);
        return u"Bitte geben Sie den Server oder den Pfad der Datenbankdatei an."_s;
    case Field::Port:
        return u"Der Port muss eine Zahl von 1 bis 65535 sein."_s;
    case Field::Firm:
        return u"Bitte geben Sie die Firmennummer an."_s;
    case Field::Branch:
        return u"Bitte geben Sie die Filialnummer an."_s;
    case Field::Namespace:
        return ForbiddenCharacterComplaint(u"Namespace"_s, namespaceName, false);
    case Field::None:
        break;
    }
    return {};
}

QString ScramblePassword(const QString &text)
{
    QString result = text;
    for (QChar &ch : result) {
        const int code = ToWindows1252(ch.unicode());
        if (code >= 0)
            ch = QChar(FromWindows1252(static_cast<unsigned char>(code ^ PasswordScrambleKey)));
    }
    return result;
}

std::optional<LoginValues> ParseLoginCommandLine(const QString &commandLine)
{
    const QStringList fields = commandLine.split(u' ');
    if (!IsDigits(fields.first()))
        return std::nullopt;
    const auto field = [&fields](int n, const QString &defaultValue) {
        const QString value = n < fields.size() ? fields.at(n) : QString();
        return value.isEmpty() ? defaultValue : value;
    };
    return LoginValues{
        .server = {.serverAddress = field(4, DefaultServerAddress()),
                   .port = field(5, u"1972"_s),
                   .firm = field(0, {}),
                   .branch = field(1, {}),
                   .namespaceName = field(6, u"TOLVEN"_s)},
        .userCode = field(2, {}).toUpper(),
        .password = field(3, {}),
    };
}

LoginValues ReadLoginSettings(const QSettings &settings)
{
    const ServerSettings defaults = ServerSettings::StoreDefaults();
    const auto value = [&settings](const QString &key, const QString &defaultValue) {
        return settings.value(key, defaultValue).toString();
    };
    return LoginValues{
        .server = {.serverAddress = value(u"Server"_s, defaults.serverAddress),
                   .port = value(u"Port"_s, defaults.port),
                   .firm = value(u"Firma"_s, defaults.firm),
                   .branch = value(u"Filiale"_s, defaults.branch),
                   .namespaceName = value(u"Namespace"_s, defaults.namespaceName)},
        .userCode = value(u"Name"_s, QString()),
        .password = ScramblePassword(value(u"Passwort"_s, QString())),
    };
}

} // namespace tolven
