#include "PackedRow.h"

#include <QDate>
#include <QLocale>

#include "common/CellNumber.h"

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
    // A change of cells the shared ones neither cover nor are made from
    // leaves the row sharing them; any other makes them first.
    const bool keepsShare = m_shared && m_shared->unaffectedBy(columns);
    if (keepsShare)
        result.m_shared = m_shared;
    qsizetype length = 0;
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (columns.test(column)) {
            result.m_kinds[column] = encode(values[column], texts[column]);
            length += texts[column].size();
        } else if (!keepsShare && isShared(column)) {
            // Made as it reads now, and held by the row from now on.
            columns.set(column);
            result.m_kinds[column] = encode(m_shared->cell(*this, column), texts[column]);
            length += texts[column].size();
        } else {
            result.m_kinds[column] = m_kinds[column];
            length += ownText(column).size();
        }
    }
    result.m_text.reserve(length);
    for (int column = 0; column < PositionColumnCount; ++column) {
        if (columns.test(column))
            result.m_text += texts[column];
        else
            result.m_text += ownText(column);
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
    return isShared(column) ? QStringView() : ownText(column);
}

QStringView PackedRow::ownText(int column) const
{
    const std::uint32_t begin = column == 0 ? 0 : m_ends[column - 1];
    return QStringView(m_text).mid(begin, m_ends[column] - begin);
}

QVariant PackedRow::cell(int column) const
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    if (isShared(column))
        return m_shared->cell(*this, column);
    return ownCell(column);
}

bool PackedRow::isEmpty(int column) const
{
    if (isShared(column)) {
        const QVariant value = m_shared->cell(*this, column);
        return !value.isValid() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
    }
    return m_kinds[column] == Kind::None || (m_kinds[column] == Kind::Text && textOf(column).isEmpty());
}

std::optional<double> SharedCells::number(const PackedRow &row, int column) const
{
    return CellNumber(cell(row, column));
}

std::optional<double> PackedRow::number(int column) const
{
    if (isShared(column))
        return m_shared->number(*this, column);
    if (const std::optional<double> value = ownDouble(column))
        return value;
    return CellNumber(ownCell(column));
}

std::optional<double> PackedRow::ownDouble(int column) const
{
    if (m_kinds[column] != Kind::Double)
        return std::nullopt;
    return QLocale::c().toDouble(ownText(column));
}

QVariant PackedRow::ownCell(int column) const
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    const QStringView text = ownText(column);
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

void PackedRow::Builder::set(int column, Kind kind, const QString &text)
{
    Q_ASSERT(column >= 0 && column < PositionColumnCount);
    m_kinds[column] = kind;
    m_texts[column] = text;
}

namespace {

// Plain decimal notation as the server writes numbers ("-12.5"): short
// enough to be a finite double whatever its digits.
bool IsPlainDecimal(QStringView text)
{
    if (text.isEmpty() || text.size() > 30)
        return false;
    qsizetype i = text.front() == u'-' ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// yyyy-mm-dd as the server writes dates; an invalid date when it is not one.
QDate IsoDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return QDate::fromString(text.toString(), Qt::ISODate);
    int parts[3] = {};
    const qsizetype starts[3] = {0, 5, 8};
    const qsizetype lengths[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part) {
        for (qsizetype i = starts[part]; i < starts[part] + lengths[part]; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return {};
            parts[part] = parts[part] * 10 + (c - u'0');
        }
    }
    return QDate(parts[0], parts[1], parts[2]);
}

} // namespace

void PackedRow::Builder::setNumber(int column, const QString &text)
{
    // Kept in the notation it came in: read back, it is the same double.
    bool ok = IsPlainDecimal(text);
    if (!ok && !text.isEmpty())
        QLocale::c().toDouble(text, &ok);
    set(column, ok ? Kind::Double : Kind::Text, text);
}

void PackedRow::Builder::setDate(int column, const QString &text)
{
    if (const QDate date = text.isEmpty() ? QDate() : IsoDate(text); date.isValid())
        set(column, Kind::Date, QString::number(date.toJulianDay()));
    else
        set(column, Kind::Text, text);
}

PackedRow PackedRow::Builder::take()
{
    PackedRow row;
    qsizetype length = 0;
    for (const QString &text : m_texts)
        length += text.size();
    row.m_text.reserve(length);
    for (int column = 0; column < PositionColumnCount; ++column) {
        row.m_text += m_texts[column];
        row.m_ends[column] = std::uint32_t(row.m_text.size());
    }
    row.m_kinds = m_kinds;
    m_texts = {};
    m_kinds = {};
    return row;
}

} // namespace tolven
