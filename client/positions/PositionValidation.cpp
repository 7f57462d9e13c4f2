#include "PositionValidation.h"

#include <QDate>
#include <QHash>
#include <QLocale>

#include <limits>

#include "common/DisplayFormat.h"
#include "positions/KeyFigures.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// A text cell in place; any other cell as its text.
QString CellText(const PackedRow &row, int column)
{
    if (row.kind(column) == PackedRow::Kind::Text) {
        const QStringView text = row.textOf(column);
        return QString::fromRawData(text.data(), text.size());
    }
    return row.cell(column).toString();
}

} // namespace

DuplicateKey DuplicateKeyOf(const PackedRow &row, const QLocale &locale)
{
    DuplicateKey key;
    key.competitor = CellText(row, PositionColumn::Konkur);
    key.article = CellText(row, PositionColumn::Artnr);
    key.priceType = CellText(row, PositionColumn::Preistyp);
    QDate start;
    if (row.kind(PositionColumn::DatumAb) == PackedRow::Kind::Date) {
        const QStringView day = row.textOf(PositionColumn::DatumAb);
        if (!day.isEmpty())
            start = QDate::fromJulianDay(QLocale::c().toLongLong(day));
    } else {
        key.startText = CellText(row, PositionColumn::DatumAb);
        start = ParseDisplayDate(key.startText);
    }
    if (start.isValid()) {
        key.startDay = start.toJulianDay();
        key.startText.clear();
    }
    switch (row.kind(PositionColumn::MengeAb)) {
    case PackedRow::Kind::Double:
    case PackedRow::Kind::Float:
    case PackedRow::Kind::Int:
    case PackedRow::Kind::LongLong:
        key.quantity = QLocale::c().toDouble(row.textOf(PositionColumn::MengeAb));
        break;
    default:
        key.quantity = CellNumberOrZero(row.cell(PositionColumn::MengeAb), locale);
        break;
    }
    if (key.quantity == 0.0)
        key.quantity = 0.0; // no -0
    key.hash = qHashMulti(0, key.competitor, key.article, key.priceType, key.startDay, key.startText, key.quantity);
    return key;
}

std::optional<SaveProblem> FindSaveProblem(const PositionModel &positions)
{
    const QLocale locale;
    const int rows = positions.rowCount();
    // The first two rows of every key: a row's first other row with its key
    // is the key's first row, or its second when the row is the first.
    struct FirstRows
    {
        int first = -1;
        int second = -1;
    };
    // Each key once, with the number of its pair of first rows counted from
    // 1 (0: a key just met); each row keeps that number only.
    QHash<DuplicateKey, int> keys;
    keys.reserve(rows);
    QList<FirstRows> firstRows;
    QList<int> keyOfRow;
    keyOfRow.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        int &number = keys[DuplicateKeyOf(positions.packedRow(row), locale)];
        if (number == 0) {
            firstRows.append({row, -1});
            number = int(firstRows.size());
        } else if (firstRows[number - 1].second < 0) {
            firstRows[number - 1].second = row;
        }
        keyOfRow << number - 1;
    }
    for (int row = 0; row < rows; ++row) {
        const PackedRow &cells = positions.packedRow(row);
        // Only what is to be stored must be complete: a stored position the
        // user did not touch (its article gone from the master data, its
        // article data not fetched) never keeps the others from being saved.
        if (cells.isEmpty(PositionColumn::AendDatum)) {
            for (int column : MandatoryColumns) {
                if (cells.isEmpty(column))
                    return SaveProblem{SaveProblem::EmptyCell, row, column, -1};
            }
        }
        const FirstRows &seen = firstRows.at(keyOfRow.at(row));
        if (seen.second >= 0)
            return SaveProblem{SaveProblem::Duplicate, row, -1, seen.first == row ? seen.second : seen.first};
    }
    return std::nullopt;
}

QString SaveProblemText(const SaveProblem &problem)
{
    if (problem.kind == SaveProblem::EmptyCell)
        return u"Kann nicht leer sein"_s;
    return u"Identisch mit Zeile " + QString::number(problem.otherRow + 1);
}

} // namespace tolven
