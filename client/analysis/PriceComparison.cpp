#include "PriceComparison.h"

#include <QHash>

#include <algorithm>
#include <numeric>

#include "analysis/ValidPrice.h"

namespace tolven {

namespace {

// Article numbers are digits: shorter numbers first, then as text.
bool ArticleBefore(const QString &left, const QString &right)
{
    if (left.size() != right.size())
        return left.size() < right.size();
    return left < right;
}

} // namespace

PriceComparison::PriceComparison(PricePositions positions, const QDate &day)
    : m_positions(std::move(positions))
    , m_day(day)
    , m_competitors()
    , m_rows()
{
    QHash<QString, int> competitorIndex;
    for (const PricePosition &position : std::as_const(m_positions)) {
        if (!position.competitor.isEmpty() && !competitorIndex.contains(position.competitor)) {
            competitorIndex.insert(position.competitor, 0);
            m_competitors << position.competitor;
        }
    }
    std::sort(m_competitors.begin(), m_competitors.end());
    for (int competitor = 0; competitor < m_competitors.size(); ++competitor)
        competitorIndex[m_competitors.at(competitor)] = competitor;

    // The positions of each article, per competitor.
    QHash<QString, qsizetype> articleIndex;
    QList<QList<QList<qsizetype>>> groups;
    QStringList articles;
    for (qsizetype index = 0; index < m_positions.size(); ++index) {
        const PricePosition &position = m_positions.at(index);
        if (position.article.isEmpty() || position.competitor.isEmpty())
            continue;
        auto found = articleIndex.constFind(position.article);
        if (found == articleIndex.cend()) {
            found = articleIndex.insert(position.article, groups.size());
            groups.append(QList<QList<qsizetype>>(m_competitors.size()));
            articles << position.article;
        }
        groups[*found][competitorIndex.value(position.competitor)] << index;
    }

    QList<qsizetype> order(articles.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&articles](qsizetype a, qsizetype b) { return ArticleBefore(articles.at(a), articles.at(b)); });
    m_rows.reserve(order.size());
    for (qsizetype article : std::as_const(order)) {
        ComparisonRow row;
        row.article = articles.at(article);
        row.chosen.fill(-1, m_competitors.size());
        row.marks.resize(m_competitors.size());
        // The own price at the smallest quantity chosen; without a price
        // chosen, at the quantity of the article's first position.
        const PricePosition *first = nullptr;
        const PricePosition *ownSource = nullptr;
        std::optional<double> cheapestPrice;
        for (int competitor = 0; competitor < m_competitors.size(); ++competitor) {
            const QList<qsizetype> &candidates = groups.at(article).at(competitor);
            for (qsizetype index : candidates) {
                if (row.description.isEmpty())
                    row.description = m_positions.at(index).description;
                if (!first)
                    first = &m_positions.at(index);
            }
            const qsizetype chosen = ValidPrice(m_positions, candidates, day);
            if (chosen < 0)
                continue;
            const PricePosition &position = m_positions.at(chosen);
            row.chosen[competitor] = chosen;
            row.marks[competitor] = ComparePosition(position);
            if (!ownSource || position.quantity < ownSource->quantity)
                ownSource = &position;
            if (row.marks.at(competitor).compared() && (!cheapestPrice || *position.price < *cheapestPrice)) {
                cheapestPrice = position.price;
                row.cheapest = competitor;
            }
        }
        if (!ownSource)
            ownSource = first;
        if (ownSource) {
            row.ownPrice = ownSource->ownPrice;
            row.ownQuantity = ownSource->quantity;
        }
        m_rows << row;
    }
}

const PricePosition *PriceComparison::chosen(int row, int competitor) const
{
    const qsizetype index = m_rows.at(row).chosen.at(competitor);
    return index < 0 ? nullptr : &m_positions.at(index);
}

} // namespace tolven
