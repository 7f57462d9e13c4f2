#include "PositionSearch.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QSet>

#include "access/cacheapi.h"
#include "objectapi/AccessError.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"
#include "positions/KeyFigures.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Where the query's columns go in the array.
struct ResultColumn
{
    int result;
    int column;
    enum Kind { Text, Number, Date } kind;
};

constexpr ResultColumn ResultColumns[] = {
    {1, PositionColumn::UID, ResultColumn::Text},
    {3, PositionColumn::Konkur, ResultColumn::Text},
    {4, PositionColumn::Artnr, ResultColumn::Text},
    {5, PositionColumn::ArtBez, ResultColumn::Text},
    {6, PositionColumn::Preistyp, ResultColumn::Text},
    {7, PositionColumn::DatumAb, ResultColumn::Date},
    {8, PositionColumn::DatumBis, ResultColumn::Date},
    {9, PositionColumn::MengeAb, ResultColumn::Number},
    {10, PositionColumn::VKE, ResultColumn::Text},
    {11, PositionColumn::PreisExcl, ResultColumn::Number},
    {12, PositionColumn::PreisIncl, ResultColumn::Number},
    {13, PositionColumn::Notiz, ResultColumn::Text},
    {14, PositionColumn::ZAnr, ResultColumn::Text},
    {15, PositionColumn::IntPreis, ResultColumn::Number},
    {16, PositionColumn::AendDatum, ResultColumn::Date},
    {17, PositionColumn::PreisKalk, ResultColumn::Number},
};

// After the position's cells: its row version.
constexpr int VersionColumn = 18;

// Numbers and dates come in the server's form ("." as decimal point,
// yyyy-mm-dd); the array keeps them as values, so that the grid shows them
// in the user's notation. Empty or malformed text stays text.
QVariant cellValue(const QString &text, ResultColumn::Kind kind)
{
    if (text.isEmpty() || kind == ResultColumn::Text)
        return text;
    if (kind == ResultColumn::Number) {
        bool ok = false;
        const double value = QLocale::c().toDouble(text, &ok);
        return ok ? QVariant(value) : QVariant(text);
    }
    const QDate date = QDate::fromString(text, Qt::ISODate);
    return date.isValid() ? QVariant(date) : QVariant(text);
}

} // namespace

PositionSearch::PositionSearch(const LookupTable &priceTypes, int maxRows, Progress progress)
    : m_priceTypes(priceTypes)
    , m_maxRows(maxRows)
    , m_progress(std::move(progress))
{
}

PackedRow::Cells PositionSearch::RowFromResult(const std::function<QString(int)> &column)
{
    PackedRow::Cells cells;
    for (const ResultColumn &source : ResultColumns)
        cells[source.column] = cellValue(column(source.result), source.kind);
    return cells;
}

bool PositionSearch::report(int done, int total)
{
    if (m_progress && !m_progress(done, total))
        m_stopped = true;
    return !m_stopped;
}

QList<PackedRow> PositionSearch::run(const QString &firm, const PositionFilters &filters)
{
    m_stopped = false;
    m_truncated = false;
    QList<PackedRow> rows;
    qsizetype completed = 0;
    QString operation = u"Positionen suchen"_s;
    try {
        std::unique_ptr<ServerObject> positions = Factory().classObject(u"Konkur.Konkur"_s);
        std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Konkur"_s);
        result->execute({firm, filters.competitor, filters.article, filters.text, filters.changedSince});
        while (result->next()) {
            if (rows.size() == m_maxRows) {
                m_truncated = true;
                break;
            }
            rows << PackedRow(RowFromResult([&result](int n) { return result->getColumn(n); }));
            rows.last().setVersion(result->getColumn(VersionColumn).toLongLong());
            if (!report(int(rows.size()), 0))
                break;
        }

        // Price types without an end date: a date the server holds is not shown.
        QSet<QString> withoutEndDate;
        for (int type = 0; type < m_priceTypes.rowCount(); ++type) {
            if (m_priceTypes.text(type, 2) != u"J")
                withoutEndDate.insert(m_priceTypes.text(type, 0));
        }

        operation = u"Artikeldaten lesen"_s;
        const QLocale locale;
        struct Article
        {
            PackedRow::Cells cells;
            ArticleFigures figures;
        };
        QHash<QString, Article> articles;
        for (qsizetype row = 0; row < rows.size() && !m_stopped; ++row) {
            // Only the prices the figures are computed from are read; the
            // cells written are put into the row.
            const PackedRow &position = rows.at(row);
            PackedRow::Cells cells;
            for (int column : {PositionColumn::PreisExcl, PositionColumn::PreisKalk})
                cells[column] = position.cell(column);
            if (withoutEndDate.contains(position.cell(PositionColumn::Preistyp).toString()))
                cells[PositionColumn::DatumBis] = QString();
            const QString answer =
                positions->callMethod(u"ArtikelDaten"_s, {firm, position.cell(PositionColumn::Artnr).toString()});
            // Positions of one article share its cells; they are made once.
            auto article = articles.constFind(answer);
            if (article == articles.cend()) {
                const PackedRow::Cells articleCells =
                    ArticleCells(ArticleData::parse(answer), ArticleFill::Search, locale);
                article = articles.insert(answer, {articleCells, ArticleFigures::of(articleCells, locale)});
            }
            PutCells(cells, article->cells);
            ApplyPriceFigures(cells, article->figures, ArticleFill::Search, locale);
            rows[row] = position.mergedWith(cells);
            completed = row + 1;
            report(int(row + 1), int(rows.size()));
        }
        // Closed only now: while it is open, the server answers the article
        // calls from what it read with the positions.
        CloseServerObject(result);
        CloseServerObject(positions);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
    }
    m_articleDataComplete = completed == rows.size();
    return rows;
}

} // namespace tolven
