#include "PositionValidation.h"

#include <QDate>
#include <QHash>
#include <QLocale>

#include "positions/CellEdit.h"
#include "positions/KeyFigures.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// What makes two positions the same: competitor, article, price type, the
// start date as a date and the quantity as a number ("1" and "1,00" alike).
QString DuplicateKey(const PositionModel &positions, int row, const QLocale &locale)
{
    const auto text = [&](int column) { return positions.cell(row, column).toString(); };
    const QVariant start = positions.cell(row, PositionColumn::DatumAb);
    const QString startText =
        start.typeId() == QMetaType::QDate ? start.toDate().toString(u"dd.MM.yyyy"_s) : start.toString();
    double quantity = CellNumberOrZero(positions.cell(row, PositionColumn::MengeAb), locale);
    if (quantity == 0.0)
        quantity = 0.0; // no -0
    const QChar separator(0x1f);
    return text(PositionColumn::Konkur) + separator + text(PositionColumn::Artnr) + separator
        + text(PositionColumn::Preistyp) + separator + startText + separator + QString::number(quantity, 'g', 17);
}

} // namespace

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
    QList<QString> keys;
    keys.reserve(rows);
    QHash<QString, FirstRows> rowsOfKey;
    rowsOfKey.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        keys << DuplicateKey(positions, row, locale);
        FirstRows &seen = rowsOfKey[keys.constLast()];
        if (seen.first < 0)
            seen.first = row;
        else if (seen.second < 0)
            seen.second = row;
    }
    for (int row = 0; row < rows; ++row) {
        for (int column : MandatoryColumns) {
            if (IsEmptyCell(positions.cell(row, column)))
                return SaveProblem{SaveProblem::EmptyCell, row, column, -1};
        }
        const FirstRows &seen = rowsOfKey.value(keys.at(row));
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
