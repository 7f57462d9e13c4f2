#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>

#include <optional>

namespace store {

// One SQL statement of a session and the values bound for its next run; the
// rows of the run are read from rows() (or next() and value()).
//
// SQLite prepares it once and binds the values at each run. PostgreSQL gets
// it as one text with the values written in as string literals, one round
// trip per run: Qt's driver would prepare it first with a round trip of its
// own (and drop it again with another), then send EXECUTE with the values
// written in just as literally. A string literal takes its type from where it
// stands, as a parameter of a prepared statement does, and the server plans
// the statement for the values at hand.
class Statement
{
public:
    Statement() = default;

    void addBindValue(const QVariant &value);
    bool next() { return m_query.next(); }
    QVariant value(int column) const { return m_query.value(column); }
    // Ends reading the rows of the last run and forgets the values bound.
    void finish();
    QSqlError lastError() const { return m_query.lastError(); }
    bool isSelect() const { return m_query.isSelect(); }
    int numRowsAffected() const { return m_query.numRowsAffected(); }
    QSqlRecord record() const { return m_query.record(); }
    const QString &sql() const { return m_sql; }

    // The rows of the last run.
    const QSqlQuery &rows() const { return m_query; }

private:
    friend class Session;
    QSqlQuery m_query;
    QString m_sql;
    bool m_prepared = false;
    QVariantList m_values;  // bound for the next run, when not prepared
};

// sql with each ? placeholder outside quotes replaced by the next of values
// as a string literal (NULL for a null value, a null text among them, as
// Qt's drivers bind it); none when the numbers of
// placeholders and values differ or a value holds the character NUL, which
// no text of PostgreSQL can.
std::optional<QString> SqlWithLiterals(const QString &sql, const QVariantList &values);

} // namespace store
