#include "ArticleCache.h"

#include <QSqlQuery>

#include "store/ClassDescription.h"
#include "store/Session.h"

using namespace Qt::StringLiterals;

namespace store {

void ArticleCache::fill(Session &session, const QString &firm, const SqlStatement &statement, const void *owner)
{
    clear();
    Statement &query = session.statement(statement.sql);
    for (const QVariant &value : statement.values)
        query.addBindValue(value);
    session.exec(query, u"Lesen der Artikel der Positionen"_s);
    std::unordered_map<QString, std::optional<Article>> articles;
    while (query.next()) {
        if (query.value(0).isNull())
            continue;
        std::optional<Article> &article = articles[query.value(0).toString()];
        // A number without an article is held as unknown.
        if (!query.value(1).isNull())
            AddArticleRow(query.rows(), 2, article);
    }
    query.finish();
    m_firm = firm;
    m_owner = owner;
    m_articles = std::move(articles);
}

void ArticleCache::clear()
{
    m_articles.clear();
    m_firm.clear();
    m_owner = nullptr;
}

void ArticleCache::release(const void *owner)
{
    if (owner && owner == m_owner)
        clear();
}

const std::optional<Article> *ArticleCache::find(const QString &firm, const QString &number) const
{
    if (firm != m_firm)
        return nullptr;
    const auto it = m_articles.find(number);
    return it == m_articles.end() ? nullptr : &it->second;
}

} // namespace store
