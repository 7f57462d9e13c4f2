#pragma once

#include <QString>

#include <optional>

class QSettings;

namespace tolven {

// The five values of the server settings window.
struct ServerSettings
{
    QString serverAddress;
    QString port;
    QString firm;
    QString branch;
    QString namespaceName;

    // What the settings store yields for a key it does not hold.
    static ServerSettings StoreDefaults();

    enum class Field { None, ServerAddress, Port, Firm, Branch, Namespace };
    // The first value that cannot be stored, or Field::None.
    Field invalidField() const;
    // Why that value cannot be stored, a German sentence naming the field;
    // empty when every value can.
    QString complaint() const;
    bool isStorable() const { return invalidField() == Field::None; }
};

// The remembered password's stored form: each character's Windows-1252 code
// combined with PasswordScrambleKey by exclusive or. Scrambling twice gives
// the text back; the length never changes. Characters outside Windows-1252
// are kept as they are.
inline constexpr unsigned char PasswordScrambleKey = 0xA5;
QString ScramblePassword(const QString &text);

// What a login starts from: the server settings, the personnel code and the password.
struct LoginValues
{
    ServerSettings server;
    QString userCode;
    QString password;
};

// A login given on the command line: FIRM BRANCH USER PASSWORD [SERVER [PORT
// [NAMESPACE]]], words separated by blanks; the personnel code upper-cased,
// missing or empty words after the password their defaults. nullopt when the
// first word is not a number: such a command line is no login.
std::optional<LoginValues> ParseLoginCommandLine(const QString &commandLine);

// What the settings store holds for the login (section "Login" opened), with
// the store's defaults for the server settings; the password read back from
// its stored form.
LoginValues ReadLoginSettings(const QSettings &settings);

} // namespace tolven
