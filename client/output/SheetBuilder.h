#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "output/SheetFile.h"

namespace tolven {

// Collects the rows of a sheet as a reader finds them and keeps to the
// limits: the first row with content is the header, later rows without
// content are left out. Every refusal names where it stood.
class SheetBuilder
{
public:
    explicit SheetBuilder(const SheetLimits &limits);

    // A cell of the row being read; false (and error()) past the limits.
    bool cell(int column, const QVariant &value);
    // The row read ends; it stood on line (counted from 1).
    bool endRow(int line);

    // Refuses the file with text, unless a refusal came first; false.
    bool fail(const QString &text);
    const QString &error() const { return m_error; }
    int currentLine() const { return m_line; }
    void setLine(int line) { m_line = line; }

    SheetTable take();

private:
    SheetLimits m_limits;
    SheetTable m_table;
    QList<QVariant> m_row;
    qint64 m_cells = 0;
    bool m_headerRead = false;
    int m_line = 1;
    QString m_error;
};

// Why a file cannot be read, as every refusal starts.
QString UnreadableFile(const QString &reason);

} // namespace tolven
