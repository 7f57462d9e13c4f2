#include "AdminTool.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <QTextStream>

#include <optional>

#include "objectapi/AccessError.h"
#include "objectapi/CsvField.h"
#include "store/DatabaseTarget.h"
#include "store/History.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using store::DatabaseTarget;
using store::Session;

namespace admin {

namespace {

const char *const Usage =
    "Aufruf:\n"
    "  tolven-admin init [ZIEL] [--demo [--articles N] [--positions M]] [--force]\n"
    "                                                 Datenbank mit Schema anlegen, mit --demo die Demofirmen einspielen\n"
    "  tolven-admin check [ZIEL]                      Schemaversion und Zeilenzahlen anzeigen\n"
    "  tolven-admin upgrade [ZIEL]                    ein älteres Schema auf den Stand dieses Programms bringen\n"
    "  tolven-admin history [ZIEL] [--since DATUM]    den Änderungsverlauf als CSV (UTF-8) ausgeben\n"
    "  tolven-admin history [ZIEL] --purge-before DATUM\n"
    "                                                 die Einträge des Änderungsverlaufs vor DATUM löschen\n"
    "  tolven-admin path                              die Datenbankdatei des Benutzers anzeigen\n"
    "  tolven-admin --version                         Programmname und Version anzeigen\n"
    "\n"
    "ZIEL ist eine SQLite-Datei (Pfad), ein PostgreSQL-Server als HOST:PORT (Datenbank \"tolven\")\n"
    "oder eine libpq-Verbindungsangabe wie \"host=db port=5432 dbname=tolven\".\n"
    "Ohne ZIEL gilt die Datenbankdatei des Benutzers. Zugangsdaten für PostgreSQL kommen aus\n"
    "PGUSER, PGPASSWORD, ~/.pgpass und PGSSLMODE.\n"
    "\n"
    "--articles N und --positions M (nur mit --demo) bestimmen, wie viele Artikel und\n"
    "Mitbewerberpreise (Positionen) die Demofirma 1 bekommt; ohne sie 1500 und 600.\n"
    "DATUM ist ein Tag der Form JJJJ-MM-TT; die Zeitpunkte des Verlaufs sind UTC.\n";

struct Options
{
    QString command;
    QString target;
    bool demo = false;
    bool force = false;
    std::optional<int> articles;
    std::optional<int> positions;
    QString since;        // history: yyyy-mm-dd
    QString purgeBefore;  // history: yyyy-mm-dd
};

// A day option's value: yyyy-mm-dd, a real day.
bool parseDay(const QString &option, const QString &value, QString &day, QString &error)
{
    if (!day.isEmpty()) {
        error = u"Die Option " + option + u" ist doppelt angegeben."_s;
        return false;
    }
    if (value.size() != 10 || !QDate::fromString(value, Qt::ISODate).isValid()) {
        error = u"Die Option " + option + u" erwartet ein Datum der Form JJJJ-MM-TT, nicht \"" + value + u"\"."_s;
        return false;
    }
    day = value;
    return true;
}

// A size option's value: a whole number from 1 on, digits only.
bool parseCount(const QString &option, const QString &value, std::optional<int> &count, QString &error)
{
    if (count) {
        error = u"Die Option " + option + u" ist doppelt angegeben."_s;
        return false;
    }
    bool digitsOnly = !value.isEmpty();
    for (const QChar ch : value)
        digitsOnly = digitsOnly && ch >= u'0' && ch <= u'9';
    bool ok = false;
    const int number = digitsOnly ? value.toInt(&ok) : 0;
    if (!digitsOnly || !ok || number < 1) {
        error = u"Die Option " + option + u" erwartet eine positive ganze Zahl, nicht \"" + value + u"\"."_s;
        if (digitsOnly && !ok)
            error = u"Die Zahl " + value + u" für " + option + u" ist zu groß."_s;
        return false;
    }
    count = number;
    return true;
}

bool parseOptions(const QStringList &arguments, Options &options, QString &error)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const QString option = argument.section(u'=', 0, 0);
        if (option == u"--articles" || option == u"--positions" || option == u"--since"
            || option == u"--purge-before") {
            QString value;
            if (argument.contains(u'=')) {
                value = argument.section(u'=', 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                const bool day = option == u"--since" || option == u"--purge-before";
                error = u"Die Option " + option + (day ? u" braucht ein Datum."_s : u" braucht eine Zahl."_s);
                return false;
            }
            if (option == u"--since" || option == u"--purge-before") {
                if (!parseDay(option, value, option == u"--since" ? options.since : options.purgeBefore, error))
                    return false;
                continue;
            }
            if (!parseCount(option, value, option == u"--articles" ? options.articles : options.positions, error))
                return false;
        } else if (argument == u"--demo") {
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
        error = u"Kein Befehl angegeben."_s;
        return false;
    }
    if (options.command != u"init" && (options.demo || options.force || options.articles || options.positions)) {
        error = u"--demo, --articles, --positions und --force gelten nur für init."_s;
        return false;
    }
    if (options.command != u"history" && (!options.since.isEmpty() || !options.purgeBefore.isEmpty())) {
        error = u"--since und --purge-before gelten nur für history."_s;
        return false;
    }
    if (!options.since.isEmpty() && !options.purgeBefore.isEmpty()) {
        error = u"--since und --purge-before schließen einander aus."_s;
        return false;
    }
    if (!options.demo && (options.articles || options.positions)) {
        error = u"--articles und --positions gelten nur zusammen mit --demo."_s;
        return false;
    }
    return true;
}

store::DemoSize demoSizeOf(const Options &options)
{
    store::DemoSize size;
    size.articles = options.articles.value_or(size.articles);
    size.positions = options.positions.value_or(size.positions);
    return size;
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
    maintenance.database = u"postgres"_s;
    std::shared_ptr<Session> session;
    try {
        session = Session::openUnchecked(maintenance, false);
    } catch (const AccessError &) {
        return; // opening "tolven" itself will say what is wrong
    }
    QSqlQuery query(session->database());
    query.prepare(u"SELECT 1 FROM pg_database WHERE datname = ?"_s);
    query.addBindValue(target.database);
    if (query.exec() && !query.next()) {
        session->execDirect(u"CREATE DATABASE " + target.database + u" ENCODING 'UTF8'", {},
                            u"Anlegen der Datenbank tolven"_s);
        out << "Datenbank " << target.database << " angelegt.\n";
    }
}

// The file holds every personnel password: a new one, and each folder made
// for it, is its owner's alone. SQLite gives its -wal and -shm files the
// mode of the database file. What exists already keeps its mode, since an
// administrator may share a folder or a file on purpose.
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool makeFolders(const QString &folder, QString &problem)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink()) {
        problem = u"Der Ordner " + QDir::toNativeSeparators(folder) + u" lässt sich nicht anlegen: "
            + u"dort gibt es schon etwas anderes.";
        return false;
    }
    const QString parent = info.dir().absolutePath();
    if (parent != info.absoluteFilePath() && !makeFolders(parent, problem))
        return false;
    if (!QDir().mkdir(info.absoluteFilePath(), OwnerOnly | QFileDevice::ExeOwner) && !QFileInfo(folder).isDir()) {
        problem = u"Der Ordner " + QDir::toNativeSeparators(folder) + u" lässt sich nicht anlegen.";
        return false;
    }
    return true;
}

bool createPrivateFile(const QString &path, QString &problem)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return true;
    if (!makeFolders(info.absolutePath(), problem))
        return false;
    QFile file(path);
    // Another process may have made it meanwhile; then it is that one's.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, OwnerOnly) && !QFileInfo::exists(path)) {
        problem = u"Die Datenbankdatei " + QDir::toNativeSeparators(path) + u" lässt sich nicht anlegen: "
            + file.errorString();
        return false;
    }
    return true;
}

int init(const Options &options, QTextStream &out, QTextStream &err)
{
    const DatabaseTarget target = targetOf(options);
    std::shared_ptr<Session> session;
    if (target.isSQLite()) {
        if (QString problem; !createPrivateFile(target.path, problem)) {
            err << problem << "\n";
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
        QElapsedTimer timer;
        timer.start();
        store::StoreFactory factory;
        factory.connectTo(target);
        const QList<store::DemoCount> counts = store::FillDemoData(factory, demoSizeOf(options));
        factory.disconnect();
        store::schema::analyze(*store::Session::openUnchecked(target, false));
        const QLocale german(QLocale::German, QLocale::Germany);
        out << "Demodaten eingespielt in " << german.toString(double(timer.elapsed()) / 1000.0, 'f', 1) << " s:\n";
        for (const store::DemoCount &count : counts) {
            out << "  " << QString(count.what + u" (" + count.className + u')').leftJustified(44) << " Firma 1: "
                << german.toString(count.firm1).rightJustified(7) << "   Firma 2: "
                << german.toString(count.firm2).rightJustified(5) << "\n";
        }
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
        store::Statement &query = session->statement(u"SELECT COUNT(*) FROM " + table);
        session->exec(query, u"Zählen der Zeilen von " + table);
        query.next();
        out << "  " << table.leftJustified(24) << " " << query.value(0).toLongLong() << "\n";
        query.finish();
    }
    return 0;
}

int history(const Options &options, QTextStream &out)
{
    const DatabaseTarget target = targetOf(options);
    std::shared_ptr<Session> session = Session::open(target);
    if (!options.purgeBefore.isEmpty()) {
        const qint64 deleted = store::history::purgeBefore(*session, options.purgeBefore);
        out << deleted << " Einträge des Änderungsverlaufs vor dem " << options.purgeBefore << " gelöscht.\n";
        return 0;
    }
    QStringList header = store::history::Columns;
    header[0] = u"Zeitpunkt (UTC)"_s;
    out << header.join(u';') << "\n";
    store::history::forEach(*session, options.since, [&out](const QStringList &row) {
        QStringList fields;
        for (const QString &field : row)
            fields << tolven::CsvField(field);
        out << fields.join(u';') << "\n";
    });
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
    if (arguments.contains(u"--version")) {
        out << "tolven-admin (TOLVEN Konkurerberverwaltung) " TOLVEN_VERSION "\n";
        return 0;
    }
    if (!parseOptions(arguments, options, error)) {
        err << error << "\n\n" << Usage;
        return 2;
    }
    // A size the demo cannot have is refused before the database is touched.
    if (options.demo) {
        if (const QString sizeError = store::DemoSizeError(demoSizeOf(options)); !sizeError.isEmpty()) {
            err << sizeError << "\nNichts wurde geändert.\n";
            return 2;
        }
    }
    try {
        if (options.command == u"init")
            return init(options, out, err);
        if (options.command == u"check")
            return check(options, out, err);
        if (options.command == u"upgrade")
            return upgrade(options, out);
        if (options.command == u"history")
            return history(options, out);
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
