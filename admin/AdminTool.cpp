#include "AdminTool.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTextStream>

#include "access/AccessError.h"
#include "store/DatabaseTarget.h"
#include "store/DemoData.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"

using tolven::AccessError;
using store::DatabaseTarget;
using store::Session;

namespace admin {

namespace {

const char *const Usage =
    "Aufruf:\n"
    "  tolven-admin init [ZIEL] [--demo] [--force]   Datenbank mit Schema anlegen, mit --demo die Demofirmen einspielen\n"
    "  tolven-admin check [ZIEL]                      Schemaversion und Zeilenzahlen anzeigen\n"
    "  tolven-admin upgrade [ZIEL]                    ein älteres Schema auf den Stand dieses Programms bringen\n"
    "  tolven-admin path                              die Datenbankdatei des Benutzers anzeigen\n"
    "\n"
    "ZIEL ist eine SQLite-Datei (Pfad), ein PostgreSQL-Server als HOST:PORT (Datenbank \"tolven\")\n"
    "oder eine libpq-Verbindungsangabe wie \"host=db port=5432 dbname=tolven\".\n"
    "Ohne ZIEL gilt die Datenbankdatei des Benutzers. Zugangsdaten für PostgreSQL kommen aus\n"
    "PGUSER, PGPASSWORD, ~/.pgpass und PGSSLMODE.\n";

struct Options
{
    QString command;
    QString target;
    bool demo = false;
    bool force = false;
};

bool parseOptions(const QStringList &arguments, Options &options, QString &error)
{
    for (const QString &argument : arguments) {
        if (argument == u"--demo") {
            options.demo = true;
        } else if (argument == u"--force") {
            options.force = true;
        } else if (argument.startsWith(u"--")) {
            error = u"Unbekannte Option " + argument;
            return false;
        } else if (options.command.isEmpty()) {
            options.command = argument;
        } else if (options.target.isEmpty()) {
            options.target = argument;
        } else {
            error = u"Zu viele Argumente: " + argument;
            return false;
        }
    }
    if (options.command.isEmpty()) {
        error = u"Kein Befehl angegeben."_qs;
        return false;
    }
    if (options.command != u"init" && (options.demo || options.force)) {
        error = u"--demo und --force gelten nur für init."_qs;
        return false;
    }
    return true;
}

DatabaseTarget targetOf(const Options &options)
{
    return store::ParseAdminTarget(options.target.isEmpty() ? store::DefaultDatabasePath() : options.target);
}

// A PostgreSQL server given by host and port gets its database "tolven" when
// it has none yet, if the user may create databases.
void createPostgresDatabase(const DatabaseTarget &target, QTextStream &out)
{
    DatabaseTarget maintenance = target;
    maintenance.database = u"postgres"_qs;
    std::shared_ptr<Session> session;
    try {
        session = Session::openUnchecked(maintenance, false);
    } catch (const AccessError &) {
        return; // opening "tolven" itself will say what is wrong
    }
    QSqlQuery query(session->database());
    query.prepare(u"SELECT 1 FROM pg_database WHERE datname = ?"_qs);
    query.addBindValue(target.database);
    if (query.exec() && !query.next()) {
        session->execDirect(u"CREATE DATABASE " + target.database + u" ENCODING 'UTF8'", {},
                            u"Anlegen der Datenbank tolven"_qs);
        out << "Datenbank " << target.database << " angelegt.\n";
    }
}

int init(const Options &options, QTextStream &out, QTextStream &err)
{
    const DatabaseTarget target = targetOf(options);
    std::shared_ptr<Session> session;
    if (target.isSQLite()) {
        const QFileInfo file(target.path);
        if (!file.exists() && !QDir().mkpath(file.absolutePath())) {
            err << "Der Ordner " << file.absolutePath() << " lässt sich nicht anlegen.\n";
            return 1;
        }
        session = Session::openUnchecked(target, true);
    } else {
        if (target.conninfo.isEmpty())
            createPostgresDatabase(target, out);
        session = Session::openUnchecked(target, false);
    }

    if (store::schema::anyTableExists(*session)) {
        if (!options.force) {
            err << target.describe() << " enthält bereits TOLVEN-Tabellen; nichts wurde geändert.\n"
                << "Mit --force werden sie gelöscht und neu angelegt.\n";
            return 1;
        }
        store::schema::drop(*session);
        out << "Vorhandene TOLVEN-Tabellen gelöscht.\n";
    }
    store::schema::create(*session);
    session->close();
    out << "Schema Version " << store::schema::CurrentVersion << " angelegt in " << target.describe() << ".\n";

    if (options.demo) {
        store::StoreFactory factory;
        factory.connectTo(target);
        store::FillDemoData(factory);
        factory.disconnect();
        out << "Demodaten eingespielt.\n";
    }
    return 0;
}

int upgrade(const Options &options, QTextStream &out)
{
    const DatabaseTarget target = targetOf(options);
    std::shared_ptr<Session> session = Session::openUnchecked(target, false);
    const int found = store::schema::upgrade(*session);
    if (found == store::schema::CurrentVersion)
        out << "Das Schema von " << target.describe() << " hat schon die Version " << found << ".\n";
    else
        out << "Schema von " << target.describe() << " von Version " << found << " auf "
            << store::schema::CurrentVersion << " gebracht.\n";
    return 0;
}

int check(const Options &options, QTextStream &out, QTextStream &err)
{
    const DatabaseTarget target = targetOf(options);
    std::shared_ptr<Session> session = Session::openUnchecked(target, false);
    const int version = store::schema::recordedVersion(*session);
    out << target.describe() << "\n";
    if (version < 0) {
        err << "Keine TOLVEN-Datenbank: kein Schema gefunden.\n";
        return 1;
    }
    out << "Schemaversion: " << version << " (dieses Programm: " << store::schema::CurrentVersion << ")\n";
    if (version != store::schema::CurrentVersion) {
        err << "Die Schemaversion passt nicht zu diesem Programm.\n";
        return 1;
    }
    for (const QString &table : store::schema::tableNames()) {
        QSqlQuery &query = session->statement(u"SELECT COUNT(*) FROM " + table);
        session->exec(query, u"Zählen der Zeilen von " + table);
        query.next();
        out << "  " << table.leftJustified(24) << " " << query.value(0).toLongLong() << "\n";
        query.finish();
    }
    return 0;
}

} // namespace

int RunAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    Options options;
    QString error;
    if (arguments.contains(u"--help") || arguments.contains(u"-h")) {
        out << Usage;
        return 0;
    }
    if (!parseOptions(arguments, options, error)) {
        err << error << "\n\n" << Usage;
        return 2;
    }
    try {
        if (options.command == u"init")
            return init(options, out, err);
        if (options.command == u"check")
            return check(options, out, err);
        if (options.command == u"upgrade")
            return upgrade(options, out);
        if (options.command == u"path" && options.target.isEmpty()) {
            out << store::DefaultDatabasePath() << "\n";
            return 0;
        }
    } catch (const AccessError &e) {
        err << "Fehler " << e.code() << ": " << e.description() << "\n";
        return 1;
    }
    err << "Unbekannter Befehl " << options.command << "\n\n" << Usage;
    return 2;
}

} // namespace admin
