// The M commands of TV.Windows.Xecute, dispatched on a session of a small
// SQLite database made once at start-up, and the argument checks of the
// store's queries and routines.

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "FuzzSupport.h"
#include "objectapi/AccessError.h"
#include "objectapi/Digits.h"
#include "objectapi/MLiteral.h"
#include "store/Arguments.h"
#include "store/CommandDispatcher.h"
#include "store/DatabaseTarget.h"
#include "store/Decimal.h"
#include "store/Schema.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;
using fuzz::Check;
using tolven::AccessError;
using tolven::ErrorNumber;

namespace {

struct Store
{
    QTemporaryDir folder;
    std::shared_ptr<store::Session> session;
};

Store *TheStore = nullptr;

// A firm with a few groups and articles, so that the look-up routines answer
// rows and the article search turns pages.
void FillFirm(store::Session &session)
{
    const QString what = u"Füllen der Fuzz-Datenbank"_s;
    for (int group = 1; group <= 3; ++group) {
        session.execDirect(u"INSERT INTO tv_hauptgruppe (firma, obj_key, p_bez) VALUES (?, ?, ?)"_s,
                           {u"1"_s, QString::number(group), QString(u"Gruppe {" + QString::number(group))}, what);
        session.execDirect(u"INSERT INTO tv_untergruppe (firma, obj_key, p_hgrp, p_bez) VALUES (?, ?, ?, ?)"_s,
                           {u"1"_s, QString::number(group), u"1"_s, QString(u"Untergruppe " + QString::number(group))},
                           what);
    }
    for (int article = 1; article <= 10; ++article) {
        session.execDirect(u"INSERT INTO tv_artikel (firma, obj_key, p_bez, s_kurzbez, p_abtnr, p_hgrp, p_ugrp, "
                           u"p_lieferant, p_aktiv, p_gelistet) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                           {u"1"_s, QString::number(article), QString(u"Zement " + QString::number(article)),
                            QString(u"ZEMENT " + QString::number(article % 4)), u"1"_s, u"1"_s,
                            QString::number(article % 3), u"7"_s, u"J"_s, u"A"_s},
                           what);
    }
}

bool IsParseError(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::UnknownCommand:
    case ErrorNumber::MalformedCommand:
    case ErrorNumber::NoSessionContext:
    case ErrorNumber::InvalidValue:
    case ErrorNumber::TransactionState:
        return true;
    default:
        return false;
    }
}

void CheckCommand(store::Session &session, const QString &command)
{
    try {
        store::ExecuteCommand(session, command);
    } catch (const AccessError &error) {
        // Whatever the command, the dispatcher refuses it before the database
        // sees a value it cannot take.
        Check(IsParseError(error.number()), "a refused command is refused by the dispatcher",
              command + u" -> " + error.description());
        if ((error.number() == ErrorNumber::MalformedCommand || error.number() == ErrorNumber::UnknownCommand)
            && !command.isEmpty())
            Check(error.description().contains(command), "the error names the command",
                  command + u" -> " + error.description());
        return;
    }
    if (!command.startsWith(u"S FIRMA="))
        return;
    // The context set reads back from the canonical command the client sends.
    const store::Session::Context context = session.context;
    Check(tolven::IsDigits(context.firm) && tolven::IsDigits(context.branch), "firm and branch are numbers", command);
    const QString canonical = u"S FIRMA=" + context.firm + u",FIL=" + context.branch + u",PERSONAL="
        + tolven::MQuote(context.person);
    session.context = {};
    try {
        store::ExecuteCommand(session, canonical);
    } catch (const AccessError &error) {
        fuzz::Broken("the canonical context command is taken", canonical + u" -> " + error.description());
    }
    Check(session.context.firm == context.firm && session.context.branch == context.branch
              && session.context.person == context.person,
          "the canonical context command sets the same context", command);
}

template <typename Check_>
void Refused(const QString &value, Check_ check)
{
    try {
        check();
    } catch (const AccessError &error) {
        Check(error.number() == ErrorNumber::InvalidValue && error.description().contains(value),
              "a refused argument is named in an InvalidValue error", value + u" -> " + error.description());
    }
}

// One argument check, chosen by the input: a refusal throws, and exceptions
// are what an execution costs most.
void CheckArgument(const QString &value, int check)
{
    const QString what = u"den Fuzz-Wert"_s;
    switch (check % 6) {
    case 0:
        Refused(value, [&] {
            const QString firm = store::FirmArgument(value, what);
            Check(firm == value && tolven::IsDigits(firm), "a firm is digits as given", value);
        });
        break;
    case 1:
        Refused(value, [&] {
            const QString number = store::NumberArgument(value, what);
            Check(number.isEmpty() == value.isEmpty(), "only an empty number is empty", value);
            if (!number.isEmpty())
                Check(number == QString::number(number.toLongLong()) && store::NumberArgument(number, what) == number,
                      "a number argument is canonical", value);
        });
        break;
    case 2:
        Refused(value, [&] {
            const QString date = store::DateArgument(value, what);
            Check(date.isEmpty() == value.isEmpty(), "only an empty date is empty", value);
            if (!date.isEmpty())
                Check(QDate::fromString(date, Qt::ISODate).isValid() && store::DateArgument(date, what) == date,
                      "a date argument is an ISO date that reads back", value + u" -> " + date);
        });
        break;
    case 3:
        Refused(value, [&] {
            const store::Decimal quantity = store::QuantityArgument(value, what);
            const QString text = quantity.toString(store::Decimal::Places);
            const std::optional<store::Decimal> back = store::Decimal::parse(text);
            Check(back && *back == quantity, "a quantity reads back from its text", value + u" -> " + text);
        });
        break;
    case 4:
        Refused(value, [&] {
            const QString choice = store::ChoiceArgument(value, {QString(), u"J"_s, u"N"_s}, what);
            Check(choice == value, "a choice is taken as given", value);
        });
        break;
    default: {
        const QString canonical = store::CanonicalNumber(value);
        Check(store::CanonicalNumber(canonical) == canonical, "the canonical form of a number is canonical", value);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    TheStore = new Store;
    try {
        const store::DatabaseTarget target = store::DatabaseTarget::sqlite(TheStore->folder.filePath(u"fuzz.db"_s));
        TheStore->session = store::Session::openUnchecked(target, true);
        store::schema::create(*TheStore->session);
        FillFirm(*TheStore->session);
        // The fuzz database need not survive a power cut.
        TheStore->session->execDirect(u"PRAGMA synchronous=OFF"_s, {}, u"Fuzz-Datenbank"_s);
        // Closed and removed at exit, before Qt's own connection list goes
        // (exit runs what was registered last first).
        std::atexit([] { delete TheStore; });
    } catch (const AccessError &error) {
        std::fprintf(stderr, "fuzz_mcommand: %s\n", qPrintable(error.description()));
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size, 1);
    store::Session &session = *TheStore->session;

    // Option bit 1 chooses the argument checks (bits 2 to 4 which one), else the
    // fields are commands, dispatched from the same state every time: with
    // firm 1 set (bit 0) or without a context.
    if (input.options & 2) {
        for (const QString &value : input.fields)
            CheckArgument(value, input.options >> 2);
        return 0;
    }
    session.context = (input.options & 1) ? store::Session::Context{u"1"_s, u"0"_s, u"FUZZ"_s, true}
                                          : store::Session::Context{};
    session.articleSearch = {};
    for (const QString &command : input.fields)
        CheckCommand(session, command);
    while (session.transactionLevel() > 0)
        session.rollbackTransaction();
    return 0;
}
