#pragma once

#include <QList>
#include <QString>

#include <functional>

#include "positions/PackedRow.h"

namespace tolven {

class LookupTable;

// What the user asks the position search for; each filter empty for "any".
struct PositionFilters
{
    QString competitor;    // competitor code
    QString article;       // article number
    QString text;          // part of the description
    QString changedSince;  // yyyy-mm-dd
};

// The position search: the positions of a firm that the server finds for the
// filters, each completed with its article's current data and the key
// figures. One ArtikelDaten call per article the rows name; the server
// answers them from what it read for the whole result, and the rows of an
// article share its cells (ArticleShare) rather than each holding a copy.
class PositionSearch
{
public:
    // Told now and then how far the search is: rows done and the total, 0
    // while the positions are still being read. Returns false to stop.
    using Progress = std::function<bool(int done, int total)>;

    // priceTypes: code, name and the "bis Datum" flag of each price type;
    // maxRows: the most rows the search delivers.
    PositionSearch(const LookupTable &priceTypes, int maxRows, Progress progress);

    // The rows found. A server error is reported and ends the search, as
    // stopping does; the rows read until then are returned, those not yet
    // completed with their position's own data.
    QList<PackedRow> run(const QString &firm, const PositionFilters &filters);
    bool stopped() const { return m_stopped; }
    // The server found more rows than maxRows.
    bool truncated() const { return m_truncated; }
    // Every row delivered carries its article's data and key figures; false
    // when a stop or a server error came before the last row had them.
    bool articleDataComplete() const { return m_articleDataComplete; }

    // One row of the query's result (columns counted from 1) as array cells.
    static PackedRow::Cells RowFromResult(const std::function<QString(int)> &column);
    // The same row packed directly: its cells read as RowFromResult's.
    static PackedRow RowFromTexts(const std::function<QString(int)> &column);

private:
    bool report(int done, int total);

    const LookupTable &m_priceTypes;
    int m_maxRows;
    Progress m_progress;
    bool m_stopped = false;
    bool m_truncated = false;
    bool m_articleDataComplete = true;
};

} // namespace tolven
