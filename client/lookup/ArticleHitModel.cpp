#include "ArticleHitModel.h"

#include <QScopedValueRollback>

#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

ArticleHitModel::ArticleHitModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ArticleHitModel::setPageFetcher(std::function<void()> fetcher)
{
    m_fetchPage = std::move(fetcher);
}

const ArticleHit &ArticleHitModel::hit(int row) const
{
    Q_ASSERT(row >= 0 && row < m_hits.size());
    return m_hits.at(row);
}

void ArticleHitModel::clear()
{
    beginResetModel();
    m_hits.clear();
    m_rows = 0;
    m_exhausted = false;
    m_wantedRow = -1;
    endResetModel();
}

bool ArticleHitModel::addPage(const QString &page)
{
    if (m_exhausted)
        return true;
    // Whoever hears of the new rows may ask for more at once: not before
    // the rows stand.
    QScopedValueRollback<bool> busy(m_fetching, true);
    const int oldHits = hitCount();
    const int oldRows = m_rows;
    bool ended = false;
    for (int k = 1; k <= PageSize; ++k) {
        const QString entry = Piece(page, QString(ListEntrySeparator), k);
        if (entry.isEmpty()) {
            ended = true;
            break;
        }
        if (m_hits.size() == MaxHits)
            break;
        m_hits.append(SplitArticleHit(entry));
    }
    m_exhausted = ended || m_hits.size() == MaxHits;
    m_wantedRow = -1;

    // Rows that stood empty and now show a hit.
    const int filledEnd = qMin(hitCount(), oldRows);
    if (filledEnd > oldHits)
        emit dataChanged(index(oldHits, 0), index(filledEnd - 1, ColumnCount - 1));

    const int newRows = m_exhausted ? hitCount() : hitCount() + hitCount() / 2;
    if (newRows > oldRows) {
        beginInsertRows({}, oldRows, newRows - 1);
        m_rows = newRows;
        endInsertRows();
    } else if (newRows < oldRows) {
        beginRemoveRows({}, newRows, oldRows - 1);
        m_rows = newRows;
        endRemoveRows();
    }
    return m_exhausted;
}

int ArticleHitModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ArticleHitModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ArticleHitModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    Q_ASSERT(index.row() < m_rows && index.column() < ColumnCount);
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        if (row >= hitCount()) {
            requestRow(row);
            return QString();
        }
        switch (index.column()) {
        case Number:
            return m_hits.at(row).number;
        case Text:
            return m_hits.at(row).text;
        default:
            return m_hits.at(row).department;
        }
    default:
        return HitRowColour(row, role);
    }
}

QVariant ArticleHitModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return u"Art.-Nr."_s;
    case Text:
        return u"Bezeichnung"_s;
    case Department:
        return u"Abt.-Nr."_s;
    default:
        return {};
    }
}

bool ArticleHitModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && isPaging() && m_fetchPage;
}

void ArticleHitModel::fetchMore(const QModelIndex &parent)
{
    // A fetch may wait for the connection or show an error box, and the
    // view may ask for rows meanwhile: one page at a time.
    if (!canFetchMore(parent) || m_fetching)
        return;
    QScopedValueRollback<bool> fetching(m_fetching, true);
    m_fetchPage();
}

void ArticleHitModel::requestRow(int row) const
{
    m_wantedRow = qMax(m_wantedRow, row);
    if (m_requestQueued || !isPaging())
        return;
    // The view is in the middle of painting: the rows must stay as they are
    // until it has finished.
    m_requestQueued = true;
    auto *self = const_cast<ArticleHitModel *>(this);
    QMetaObject::invokeMethod(self, &ArticleHitModel::serveRequest, Qt::QueuedConnection);
}

void ArticleHitModel::serveRequest()
{
    m_requestQueued = false;
    // Another fetch may have brought the wanted row meanwhile.
    if (m_wantedRow >= hitCount())
        fetchMore({});
}

} // namespace tolven
