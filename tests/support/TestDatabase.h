#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "objectapi/AccessError.h"
#include "store/DatabaseTarget.h"

// Store and integration tests run once per database: every test function of
// a test class gets the global data rows "SQLite" and "PostgreSQL" (see
// addBackendRows) and a fresh database of that kind.
namespace testsupport {

// The global data of a test class: one column "backend".
void addBackendRows();

// "host:port" of the throwaway PostgreSQL cluster, from TOLVEN_TEST_PG.
QString postgresAddress();

class TestDatabase
{
public:
    // A new database of the backend with the schema, filled with the demo
    // firms when demo is set (firm 1 at its smallest size: every fact of
    // store::demo, few generated articles and positions). Throws
    // tolven::AccessError when that fails.
    TestDatabase(const QString &backend, bool demo = true);
    ~TestDatabase();

    const store::DatabaseTarget &target() const { return m_target; }
    QString connectString() const;
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    store::DatabaseTarget m_target;
};

} // namespace testsupport

// Skips (or, on CI, fails) a PostgreSQL row when no cluster is configured,
// then makes the database for the current row in the unique_ptr db.
#define TOLVEN_FRESH_DATABASE(db, ...)                                                                      \
    do {                                                                                                    \
        QFETCH_GLOBAL(QString, backend);                                                                    \
        if (backend == u"PostgreSQL"_s && testsupport::postgresAddress().isEmpty()) {           \
            if (qEnvironmentVariableIsSet("CI"))                                                            \
                QFAIL("TOLVEN_TEST_PG is not set: run the tests through scripts/test");                     \
            QSKIP("no PostgreSQL cluster (TOLVEN_TEST_PG is not set; scripts/test starts one)");            \
        }                                                                                                   \
        try {                                                                                               \
            db = std::make_unique<testsupport::TestDatabase>(backend __VA_OPT__(, ) __VA_ARGS__);          \
        } catch (const tolven::AccessError &e) {                                                            \
            QFAIL(qPrintable(u"test database: " + e.description()));                                        \
        }                                                                                                   \
    } while (false)
