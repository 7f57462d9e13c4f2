// The article look-up of the import on the server (PositionImport.h).
#include "PositionImport.h"

#include <QHash>
#include <QSet>

#include "access/Connection.h"
#include "access/cacheapi.h"
#include "objectapi/AccessError.h"
#include "objectapi/Numbers.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/ServerObject.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The most numbers of each kind one query of the server takes.
constexpr qsizetype NumbersPerQuery = 5000;
const QString Separator = u"`"_s;

// The numbers of one kind, each once, in the order met, and the query each
// goes with. A number holding the separator names no article.
struct NumberList
{
    QStringList numbers;
    QHash<QString, qsizetype> query;

    void add(const QString &number)
    {
        if (number.isEmpty() || number.contains(Separator) || query.contains(number))
            return;
        query.insert(number, numbers.size() / NumbersPerQuery);
        numbers << number;
    }
    QString part(qsizetype index) const { return numbers.mid(index * NumbersPerQuery, NumbersPerQuery).join(Separator); }
};

} // namespace

std::optional<QList<ArticleAnswer>> ServerArticleLookup(const QString &firm, const QList<ArticleQuestion> &questions)
{
    NumberList numbers;
    NumberList centrals;
    for (const ArticleQuestion &question : questions) {
        numbers.add(question.number);
        if (question.number.isEmpty())
            centrals.add(question.centralNumber);
    }
    QList<ArticleAnswer> answers(questions.size());
    const qsizetype queries =
        (std::max(numbers.numbers.size(), centrals.numbers.size()) + NumbersPerQuery - 1) / NumbersPerQuery;
    if (queries == 0)
        return answers;
    try {
        if (!BeginConnectedCall(true))
            return std::nullopt;
        std::unique_ptr<ServerObject> positions = Factory().classObject(u"Konkur.Konkur"_s);
        for (qsizetype index = 0; index < queries; ++index) {
            std::unique_ptr<ResultSet> result = Factory().openQuery(u"Konkur.Konkur"_s, u"Importartikel"_s);
            result->execute({firm, numbers.part(index), centrals.part(index)});
            QSet<QString> known;
            QHash<QString, QStringList> byCentral;
            while (result->next()) {
                known.insert(result->getColumn(1));
                byCentral[result->getColumn(2)] << result->getColumn(1);
            }
            // The server answers these from what the query read.
            QHash<QString, QString> data;
            for (qsizetype i = 0; i < questions.size(); ++i) {
                const ArticleQuestion &question = questions.at(i);
                ArticleAnswer &answer = answers[i];
                if (!question.number.isEmpty()) {
                    if (numbers.query.value(question.number, -1) != index)
                        continue;
                    if (known.contains(question.number))
                        answer = {ArticleAnswer::Found, question.number, {}};
                } else {
                    if (centrals.query.value(question.centralNumber, -1) != index)
                        continue;
                    const QStringList found = byCentral.value(question.centralNumber);
                    if (found.size() > 1)
                        answer.kind = ArticleAnswer::Ambiguous;
                    else if (found.size() == 1)
                        answer = {ArticleAnswer::Found, found.constFirst(), {}};
                }
                if (answer.kind != ArticleAnswer::Found)
                    continue;
                const QString quantity = ServerNumber(question.quantity);
                const QString key = answer.number + Separator + quantity;
                auto held = data.constFind(key);
                if (held == data.cend())
                    held = data.insert(key, positions->callMethod(u"ArtikelDaten"_s, {firm, answer.number, quantity}));
                answer.data = *held;
                // An article gone between the query and the call.
                if (answer.data.isEmpty())
                    answer.kind = ArticleAnswer::Unknown;
            }
            CloseServerObject(result);
        }
        CloseServerObject(positions);
        EndServerCall(true);
    } catch (const AccessError &error) {
        ReportAccessError(error, u"Artikeldaten lesen"_s);
        return std::nullopt;
    }
    return answers;
}

} // namespace tolven
