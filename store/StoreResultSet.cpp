#include "StoreResultSet.h"

#include <QSqlError>
#include <QSqlRecord>

#include <utility>

#include "objectapi/AccessError.h"
#include "store/Session.h"
#include "store/StoreObject.h"

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

StoreResultSet::StoreResultSet(std::shared_ptr<Session> session, const ClassDescription &cls,
                               const QueryDescription &query)
    : m_session(std::move(session))
    , m_class(cls)
    , m_query(query)
{
}

StoreResultSet::~StoreResultSet()
{
    m_session->articleCache().release(this);
    releaseStatement();
}

void StoreResultSet::releaseStatement()
{
    if (m_sql.isEmpty())
        return;
    m_session->giveBackStatement(std::exchange(m_sql, QString()), std::move(m_statement));
    m_statement = Statement();
}

QString StoreResultSet::name() const
{
    return u"die Abfrage \"" + m_query.name + u"\" der Klasse " + m_class.name;
}

void StoreResultSet::ensureOpen() const
{
    if (m_closed)
        throw AccessError(ErrorNumber::ObjectState, u"Die Ergebnismenge für " + name() + u" ist bereits geschlossen.");
}

void StoreResultSet::execute(const QStringList &arguments)
{
    ensureOpen();
    CheckArgumentCount(u"Die Abfrage \"" + m_query.name + u"\" der Klasse " + m_class.name, m_query.minArguments,
                       m_query.maxArguments, arguments.size());
    // Arguments left out count as empty, as they always have on the server.
    QStringList padded = arguments;
    while (padded.size() < m_query.maxArguments)
        padded << QString();

    Session &s = *m_session;
    // What the session held for an earlier query may be out of date by now.
    s.articleCache().clear();
    releaseStatement();
    m_onRow = false;
    m_row.clear();
    m_executed = false;
    const SqlStatement statement = m_query.build(s, padded);
    // Read before the rows: on PostgreSQL a further statement would end the
    // rows' stream, while the articles read now answer the calls made for
    // the rows without one.
    if (m_query.articles) {
        const ArticleStatement articles = m_query.articles(s, padded);
        s.articleCache().fill(s, articles.firm, articles.statement, this);
    }
    m_statement = s.takeStatement(statement.sql);
    m_sql = statement.sql;
    for (const QVariant &value : statement.values)
        m_statement.addBindValue(value);
    s.exec(m_statement, name());
    m_executed = true;
}

bool StoreResultSet::next()
{
    ensureOpen();
    if (!m_executed)
        throw AccessError(ErrorNumber::ObjectState, u"Vor next muss execute für " + name() + u" laufen.");
    m_row.clear();
    m_onRow = m_statement.next();
    if (!m_onRow) {
        if (m_statement.lastError().isValid())
            m_session->fail(m_statement.lastError(), name());
        m_statement.finish();
        return false;
    }
    if (m_query.row) {
        m_row = m_query.row(*m_session, m_statement.rows());
    } else {
        const int count = m_statement.record().count();
        for (int i = 0; i < count; ++i)
            m_row << m_statement.value(i).toString();
    }
    return true;
}

QString StoreResultSet::getColumn(int n) const
{
    ensureOpen();
    if (!m_onRow)
        throw AccessError(ErrorNumber::ObjectState, u"Keine aktuelle Zeile in " + name() + u'.');
    if (n < 1 || n > m_row.size()) {
        throw AccessError(ErrorNumber::InvalidValue,
                          u"Die Spalte " + QString::number(n) + u" gibt es in " + name() + u" nicht (1 bis "
                              + QString::number(m_row.size()) + u").");
    }
    return m_row[n - 1];
}

int StoreResultSet::columnCount() const
{
    return int(m_row.size());
}

void StoreResultSet::close()
{
    if (m_closed)
        return;
    m_session->articleCache().release(this);
    releaseStatement();
    m_row.clear();
    m_onRow = false;
    m_closed = true;
}

} // namespace store
