#include "SheetBuilder.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace tolven {

SheetBuilder::SheetBuilder(const SheetLimits &limits)
    : m_limits(limits)
{
}

bool SheetBuilder::cell(int column, const QVariant &value)
{
    if (!m_error.isEmpty())
        return false;
    if (column < 0 || column >= m_limits.columns)
        return fail(u"Zeile " + QString::number(m_line) + u": mehr als " + QString::number(m_limits.columns)
                    + u" Spalten.");
    if (value.typeId() == QMetaType::QString && value.toString().size() > m_limits.cellCharacters)
        return fail(u"Zeile " + QString::number(m_line) + u", Spalte " + QString::number(column + 1)
                    + u": die Zelle ist länger als " + QString::number(m_limits.cellCharacters) + u" Zeichen.");
    if (!value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return true;
    if (m_row.size() <= column)
        m_row.resize(column + 1);
    m_row[column] = value;
    return true;
}

bool SheetBuilder::endRow(int line)
{
    if (!m_error.isEmpty())
        return false;
    QList<QVariant> row = std::exchange(m_row, {});
    if (row.isEmpty())
        return true;
    if (!m_headerRead) {
        m_headerRead = true;
        for (const QVariant &caption : row)
            m_table.header << caption.toString().trimmed();
        return true;
    }
    m_cells += row.size();
    if (m_cells > m_limits.cells)
        return fail(u"mehr als " + QString::number(m_limits.cells) + u" Zellen.");
    if (m_table.rows.size() >= m_limits.rows)
        return fail(u"mehr als " + QString::number(m_limits.rows) + u" Zeilen; so viele fasst die Liste nicht.");
    m_table.rows << row;
    m_table.lines << line;
    return true;
}

bool SheetBuilder::fail(const QString &text)
{
    if (m_error.isEmpty())
        m_error = text;
    return false;
}

SheetTable SheetBuilder::take()
{
    return std::move(m_table);
}

QString UnreadableFile(const QString &reason)
{
    return u"Die Datei kann nicht gelesen werden: "_s + reason;
}

} // namespace tolven
