#pragma once

#include <QString>
#include <QStringList>

namespace tolven {

// The rows of one class query. Rows are read forward only; columns are
// counted from 1 and always come as text.
class ResultSet
{
public:
    virtual ~ResultSet() = default;

    // Runs the query with its arguments; a second execute starts it anew.
    virtual void execute(const QStringList &arguments) = 0;
    // Moves to the next row; false after the last one.
    virtual bool next() = 0;
    virtual QString getColumn(int n) const = 0;
    virtual int columnCount() const = 0;
    virtual void close() = 0;
};

} // namespace tolven
