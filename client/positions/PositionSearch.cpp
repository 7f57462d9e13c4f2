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

PackedRow PositionSearch::RowFromTexts(const std::function<QString(int)> &column)
{
    PackedRow::Builder row;
    for (const ResultColumn &source : ResultColumns) {
        const QString text = column(source.result);
        switch (source.kind) {
        case ResultColumn::Text:
            row.setText(source.column, text);
            break;
        case ResultColumn::Number:
            row.setNumber(source.column, text);
            break;
        case ResultColumn::Date:
            row.setDate(source.column, text);
            break;
        }
    }
    return row.take();
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
            rows << RowFromTexts([&result](int n) { return result->getColumn(n); });
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

        // The rows of one article share its cells and the way their figures
        // are made (ArticleShare); the article's data is asked for once, as
        // every call for it within the search gets the same answer.
        operation = u"Artikeldaten lesen"_s;
        const QLocale locale;
        struct Shares
        {
            std::shared_ptr<const ArticleShare> withEndDate;
            std::shared_ptr<const ArticleShare> withoutEndDate;  // made when a row needs it
        };
        QHash<QString, Shares> articles;
        for (qsizetype row = 0; row < rows.size() && !m_stopped; ++row) {
            PackedRow &position = rows[row];
            const QString number = position.cell(PositionColumn::Artnr).toString();
            auto article = articles.find(number);
            if (article == articles.end()) {
                const ArticleData data =
                    ArticleData::parse(positions->callMethod(u"ArtikelDaten"_s, {firm, number}));
                article = articles.insert(number, {std::make_shared<ArticleShare>(data, locale), {}});
            }
            if (withoutEndDate.contains(position.cell(PositionColumn::Preistyp).toString())) {
                if (!article->withoutEndDate)
                    article->withoutEndDate = article->withEndDate->withoutEndDate();
                position.share(article->withoutEndDate);
            } else {
                position.share(article->withEndDate);
            }
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
