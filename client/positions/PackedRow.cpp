#include "PackedRow.h"

#include <QDate>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace tolven {

PackedRow::PackedRow(const Cells &cells)
{
    std::array<QString, PositionColumnCount> texts;
    qsizetype length = 0;
    for (int column = 0; column < PositionColumnCount; ++column) {
        const QVariant &value = cells[column];
        Kind kind = Kind::Text;
        QString text;
        switch (value.typeId()) {
        case QMetaType::UnknownType:
            kind = Kind::None;
            break;
        case QMetaType::QString:
            text = value.toString();
            break;
        case QMetaType::Double:
            kind = Kind::Double;
            text = QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
            break;
        case QMetaType::Float:
            kind = Kind::Float;
            // A float widened to double and read back narrows to the same float.
            text = QString::number(double(value.toFloat()), 'g', QLocale::FloatingPointShortest);
            break;
        case QMetaType::Int:
            kind = Kind::Int;
            text = QString::number(value.toInt());
            break;
        case QMetaType::LongLong:
            kind = Kind::LongLong;
            text = QString::number(value.toLongLong());
            break;
        case QMetaType::Bool:
            kind = Kind::Bool;
            text = value.toBool() ? u"1"_s : QString();
            break;
        case QMetaType::QDate:
            kind = Kind::Date;
            // The day number: much cheaper to write and read than a date text.
            if (const QDate date = value.toDate(); date.isValid())
                text = QString::number(date.toJulianDay());
            break;
        default:
            text = value.toString();
            break;
        }
        m_kinds[column] = kind;
        length += text.size();
        texts[column] = std::move(text);
    }
    m_text.reserve(length);
    for (int column = 0; column < PositionColumnCount; ++column) {
        m_text += texts[column];
        m_ends[column] = std::uint32_t(m_text.size());
    }
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

PackedRow::Cells PackedRow::cells() const
{
    Cells all;
    for (int column = 0; column < PositionColumnCount; ++column)
        all[column] = cell(column);
    return all;
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
    Cells all = cells();
    all[column] = value;
    return PackedRow(all);
}

} // namespace tolven
