#include "TestDatabase.h"

#include <QTest>

#include "store/Schema.h"
#include "store/Session.h"
#include "store/StoreFactory.h"
#include "store/demo/DemoData.h"

using namespace Qt::StringLiterals;

namespace testsupport {

void addBackendRows()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("SQLite") << u"SQLite"_s;
    QTest::newRow("PostgreSQL") << u"PostgreSQL"_s;
}

QString postgresAddress()
{
    return qEnvironmentVariable("TOLVEN_TEST_PG");
}

TestDatabase::TestDatabase(const QString &backend, bool demo)
{
    std::shared_ptr<store::Session> session;
    if (backend == u"PostgreSQL") {
        m_target = store::ParseAdminTarget(postgresAddress());
        session = store::Session::openUnchecked(m_target, false);
        store::schema::drop(*session);
    } else {
        m_target = store::DatabaseTarget::sqlite(m_dir.filePath(u"tolven.db"_s));
        session = store::Session::openUnchecked(m_target, true);
    }
    store::schema::create(*session);
    session->close();
    if (demo) {
        // The smallest demo has every fact the tests rely on and fills in a
        // fraction of the time of the default size.
        store::StoreFactory factory;
        factory.connectTo(m_target);
        store::FillDemoData(factory, {store::demo::FixedArticleCount, store::demo::FixedPositionCount});
    }
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::connectString() const
{
    if (m_target.isSQLite())
        return store::MakeConnectString(m_target.path, u"1972"_s);
    return store::MakeConnectString(m_target.host, QString::number(m_target.port));
}

} // namespace testsupport
