#pragma once

#include <QLocale>
#include <QString>

#include <limits>
#include <optional>

namespace tolven {

class PackedRow;
class PositionModel;

// What makes two positions the same: competitor, article, price type, the
// start date as a date and the quantity as a number ("1" and "1,00" alike).
// Text cells are read in place, without a copy: a save checks every row.
struct DuplicateKey
{
    QString competitor;
    QString article;
    QString priceType;
    qint64 startDay = std::numeric_limits<qint64>::min(); // the start as a day, when it is a date
    QString startText;                                    // else its text
    double quantity = 0;
    size_t hash = 0; // of the parts above, made once: the table probes compare it first

    bool operator==(const DuplicateKey &other) const
    {
        return hash == other.hash && article == other.article && quantity == other.quantity
            && startDay == other.startDay && competitor == other.competitor && priceType == other.priceType
            && startText == other.startText;
    }
};

inline size_t qHash(const DuplicateKey &key, size_t seed = 0)
{
    return key.hash ^ seed;
}

// The key of a row, which must outlive it.
DuplicateKey DuplicateKeyOf(const PackedRow &row, const QLocale &locale);

// The cells a position cannot be stored without.
inline constexpr int MandatoryColumns[] = {0, 1, 2, 4, 5, 7, 8, 9, 10, 11, 12};

// Why the positions cannot be saved: a mandatory cell is empty, or a row has
// the same competitor, article, price type, start date and quantity as
// another. Rows count from 0.
struct SaveProblem
{
    enum Kind { EmptyCell, Duplicate };
    Kind kind = EmptyCell;
    int row = -1;
    int column = -1;   // EmptyCell: the empty cell's column
    int otherRow = -1; // Duplicate: the first other row with the same key
};

// The first row, in order, with an empty mandatory cell (the first such
// column; only rows to be stored, those with an empty change date, are
// looked at for it) or a duplicate of any row (named by the first other row
// that has its key).
// Each row is looked at once, so 250 000 rows take a fraction of a second.
std::optional<SaveProblem> FindSaveProblem(const PositionModel &positions);

// The message for a problem: "Kann nicht leer sein", "Identisch mit Zeile 3".
QString SaveProblemText(const SaveProblem &problem);

} // namespace tolven
