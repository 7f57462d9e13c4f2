#pragma once

#include <QString>

#include <optional>
#include <unordered_map>

#include "store/Article.h"

namespace store {

class Session;
struct SqlStatement;

// The articles of the positions a query answers, read in one statement when
// the query runs, so that the session's article calls for those positions
// need no statement of their own. It holds one firm's articles for one
// result set; the session empties it whenever what it holds could have
// changed for the session (see Session).
class ArticleCache
{
public:
    // Reads what statement answers (a number the positions name, the
    // article's key or NULL when there is no such article, ArticleColumns)
    // as the articles of firm for the result set owner, in place of what was
    // held. A number without an article is held as unknown.
    void fill(Session &session, const QString &firm, const SqlStatement &statement, const void *owner);
    void clear();
    // Forgets what owner filled in; nothing when another has filled it since.
    void release(const void *owner);
    // The article for a call of firm, or nullptr when the cache cannot answer
    // it: nothing held, another firm, an article not among the positions.
    const std::optional<Article> *find(const QString &firm, const QString &number) const;
    bool isEmpty() const { return m_articles.empty(); }

private:
    QString m_firm;
    const void *m_owner = nullptr;
    std::unordered_map<QString, std::optional<Article>> m_articles;
};

} // namespace store
