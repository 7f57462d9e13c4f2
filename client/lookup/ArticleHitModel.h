#pragma once

#include <QAbstractTableModel>
#include <QList>

#include <functional>

#include "lookup/TolvenSu.h"

namespace tolven {

// The hits of the article search as a virtual list. The server answers a
// search page by page (four hits each); while more may follow, the list has
// half as many rows again as hits, so that the view shows rows beyond the
// fetched ones. When the view asks for such a row, the model requests the
// next page (queued, never from inside data()); when a page comes back short,
// the search is exhausted and the list shrinks to its hits.
class ArticleHitModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Text, Department, ColumnCount };
    static constexpr int PageSize = 4;
    // The hit table's size: a search stops there.
    static constexpr int MaxHits = 10000;

    explicit ArticleHitModel(QObject *parent = nullptr);

    // What fetches the next page and hands it to addPage.
    void setPageFetcher(std::function<void()> fetcher);

    int hitCount() const { return int(m_hits.size()); }
    const ArticleHit &hit(int row) const;
    // Hits have arrived and more may follow.
    bool isPaging() const { return !m_hits.isEmpty() && !m_exhausted; }
    bool isExhausted() const { return m_exhausted; }

    // Back to no search: no hits, no rows.
    void clear();
    // Adds the entries of one answer (at most PageSize, separated by
    // ListEntrySeparator). An empty entry or a short page ends the search,
    // and so does a full hit table. True when the search is over.
    bool addPage(const QString &page);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    // The view wants row, which holds no hit yet.
    void requestRow(int row) const;
    void serveRequest();

    QList<ArticleHit> m_hits;
    int m_rows = 0;
    bool m_exhausted = false;
    bool m_fetching = false;
    std::function<void()> m_fetchPage;
    mutable int m_wantedRow = -1;
    mutable bool m_requestQueued = false;
};

} // namespace tolven
