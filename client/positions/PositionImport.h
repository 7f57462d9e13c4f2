#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "output/SheetFile.h"
#include "positions/PackedRow.h"

namespace tolven {

class LookupTable;
class PositionModel;

// What the import asks the server about an article of a file row: its
// number, or its central number where the row has only that, and the
// quantity the own price is wanted for.
struct ArticleQuestion
{
    QString number;
    QString centralNumber;
    double quantity = 0;
};

// The server's answer: the article found (its number and what ArtikelDaten
// answers for it at the quantity), none, or several for a central number.
struct ArticleAnswer
{
    enum Kind { Found, Unknown, Ambiguous };
    Kind kind = Unknown;
    QString number;
    QString data;
};

// Answers every question in order; nullopt after a server error, which it
// has reported.
using ArticleLookup = std::function<std::optional<QList<ArticleAnswer>>(const QList<ArticleQuestion> &)>;

// What the import takes from the grid and the lists.
struct ImportContext
{
    const LookupTable *competitors = nullptr; // code, name
    const LookupTable *priceTypes = nullptr;  // code, text, "bis Datum" J/N
    QString priceType;                        // for rows whose file gives none
    const PositionModel *grid = nullptr;      // rows already in the grid
};

// The rows of a file checked for the grid: the rows to add, each complete
// as a typed new position (article data, both prices, key figures, marked
// for saving), and a line for each row refused.
struct ImportResult
{
    QList<PackedRow> rows;
    QList<int> lines;          // the file's line of each row
    QStringList refusals;      // "Zeile 17: Artikel 4100999 unbekannt"
    QStringList ignoredColumns; // captions the import does not know
    QString error;             // why the file as a whole cannot be taken; empty when it can
    bool serverFailed = false; // the article look-up failed (and said so)
};

// Checks the rows of sheet. The columns are found by their captions: those
// of the file for head office and those of the grid.
ImportResult CheckImport(const SheetTable &sheet, const ImportContext &context, const ArticleLookup &articles,
                         const QLocale &locale = QLocale());

// The look-up on the server for the logged-in firm: all articles of a file
// in one query (a few for the largest files), their data answered from what
// it read.
std::optional<QList<ArticleAnswer>> ServerArticleLookup(const QString &firm, const QList<ArticleQuestion> &questions);

} // namespace tolven
