#include "PackedRow.h"

#include <QDate>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace tolven {

PackedRow::Kind PackedRow::encode(const QVariant &value, QString &text)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return Kind::None;
    case QMetaType::QString:
        text = value.toString();
        return Kind::Text;
    case QMetaType::Double:
        text = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        return Kind::Double;
    case QMetaType::Float:
        // A float widened to double and read back narrows to the same float.
        text = QString::number(double(value.toFloat()), 'g', QLocale::FloatingPointShortest);
        return Kind::Float;
    case QMetaType::Int:
        text = QString::number(value.toInt());
        return Kind::Int;
    case QMetaType::LongLong:
        text = QString::number(value.toLongLong());
        return Kind::LongLong;
    case QMetaType::Bool:
        text = value.toBool() ? u"1"_s : QString();
        return Kind::Bool;
    case QMetaType::QDate:
        // The day number: much cheaper to write and read than a date text.
        if (const QDate date = value.toDate(); date.isValid())
            text = QString::number(date.toJulianDay());
        return Kind::Date;
    default:
        text = value.toString();
        return Kind::Text;
    }
}

PackedRow::PackedRow(const Cells &cells)
    : PackedRow(PackedRow().replaced(cells, Columns().set()))
{
}

PackedRow PackedRow::replaced(const Cells &values, Columns columns) const
{
    std::array<QString, PositionColumnCount> texts;
    PackedRow result;
    result.m_version = m_version;
    qsizetype length = 0;
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (columns.test(column)) {
            result.m_kinds[column] = encode(values[column], texts[column]);
            length += texts[column].size();
        } else {
            result.m_kinds[column] = m_kinds[column];
            length += textOf(column).size();
        }
    }
    result.m_text.reserve(length);
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (columns.test(column))
            result.m_text += texts[column];
        else
            result.m_text += textOf(column);
        result.m_ends[column] = std::uint32_t(result.m_text.size());
    }
    return result;
}

PackedRow PackedRow::mergedWith(const Cells &changes) const
{
    Columns columns;
    for (int column = 0; column < PositionColumnCount; ++column)
        columns.set(column, changes[column].isValid());
    return replaced(changes, columns);
}

PackedRow PackedRow::fromList(const QList<QVariant> &cells)
{
    Cells all;
    const qsizetype count = qMin(cells.size(), qsizetype(PositionColumnCount));
    for (qsizetype column = 0; column < count; ++column)
        all[column] = cells[column];
    return PackedRow(all);
}

QStringView PackedRow::textOf(int column) const
{
    const std::uint32_t begin = column == 0 ? 0 : m_ends[column - 1];
    return QStringView(m_text).mid(begin, m_ends[column] - begin);
}

QVariant PackedRow::cell(int column) const
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    const QStringView text = textOf(column);
    switch (m_kinds[column]) {
    case Kind::None:
        return {};
    case Kind::Text:
        return text.toString();
    case Kind::Double:
        return QLocale::c().toDouble(text);
    case Kind::Float:
        return float(QLocale::c().toDouble(text));
    case Kind::Int:
        return QLocale::c().toInt(text);
    case Kind::LongLong:
        return QLocale::c().toLongLong(text);
    case Kind::Bool:
        return !text.isEmpty();
    case Kind::Date:
        return text.isEmpty() ? QDate() : QDate::fromJulianDay(QLocale::c().toLongLong(text));
    }
    return {};
}

QList<QVariant> PackedRow::toList() const
{
    QList<QVariant> all;
    all.reserve(PositionColumnCount);
    for (int column = 0; column < PositionColumnCount; ++column)
        all << cell(column);
    return all;
}

PackedRow PackedRow::withCell(int column, const QVariant &value) const
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    Cells values;
    values[column] = value;
    return replaced(values, Columns().set(column));
}

} // namespace tolven
