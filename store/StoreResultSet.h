#pragma once

#include <QStringList>

#include <memory>

#include "objectapi/ResultSet.h"
#include "store/ClassDescription.h"
#include "store/Statement.h"

namespace store {

class Session;

// The rows of one class query, read from the database as it delivers them.
class StoreResultSet : public tolven::ResultSet
{
public:
    StoreResultSet(std::shared_ptr<Session> session, const ClassDescription &cls, const QueryDescription &query);
    ~StoreResultSet() override;
    StoreResultSet(const StoreResultSet &) = delete;
    StoreResultSet &operator=(const StoreResultSet &) = delete;

    void execute(const QStringList &arguments) override;
    bool next() override;
    QString getColumn(int n) const override;
    int columnCount() const override;
    void close() override;

private:
    QString name() const;
    void ensureOpen() const;
    // Gives the statement back to the session, for the next result set of its query.
    void releaseStatement();

    std::shared_ptr<Session> m_session;
    const ClassDescription &m_class;
    const QueryDescription &m_query;
    Statement m_statement;
    QString m_sql;  // of m_statement, taken from the session
    QStringList m_row;
    bool m_executed = false;
    bool m_onRow = false;
    bool m_closed = false;
};

} // namespace store
