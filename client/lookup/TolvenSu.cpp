#include "TolvenSu.h"

#include <QColor>
#include <QHeaderView>
#include <QList>
#include <QStringList>
#include <QTableView>

#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "lookup/ArticleHitModel.h"
#include "lookup/FMArtsu.h"
#include "lookup/FMKnrsu.h"
#include "lookup/FMLnrsu.h"
#include "lookup/PartnerHitModel.h"
#include "objectapi/Digits.h"
#include "objectapi/MLiteral.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The text before the first separator, without the blanks around it.
QString BeforeSeparator(const QString &text, QStringView separator)
{
    const qsizetype at = text.indexOf(separator);
    return (at < 0 ? text : text.left(at)).trimmed();
}

// Runs one partner search and puts its hits into the dialog's list; on an
// error the list keeps what it showed.
void FetchPartnerHits(PartnerSearch &dialog, const QString &kind, const QString &group, const QString &operation)
{
    QList<PartnerHit> hits;
    try {
        BeginServerCall(false);
        std::unique_ptr<ResultSet> result = Factory().openQuery(u"TV.Windows"_s, u"KkrSuche"_s);
        result->execute({Context().Firm, kind, dialog.searchKey(), group});
        while (hits.size() < PartnerHitModel::MaxHits && result->next()) {
            // The short designation is server text like the name and street.
            hits.append({result->getColumn(1), ServerToDisplay(result->getColumn(2)),
                         ServerToDisplay(result->getColumn(3)), result->getColumn(4),
                         ServerToDisplay(result->getColumn(5))});
        }
        CloseServerObject(result);
        EndServerCall(false);
    } catch (const AccessError &error) {
        ReportAccessError(error, operation);
        return;
    }
    dialog.hits().setHits(hits);
}

// Whether an answer of the article search is a whole page, so that more
// may follow.
bool IsFullPage(const QString &answer)
{
    for (int k = 1; k <= ArticleHitModel::PageSize; ++k) {
        if (Piece(answer, QString(ListEntrySeparator), k).isEmpty())
            return false;
    }
    return true;
}

// The session that kept the search's position is gone: the idle timer let
// go of the connection, or it was lost and made again. The current session
// runs the same search from the start and passes over the hits the list
// holds, one round trip per page of them; answers the page after them.
QString ResumeArticleSearch(RunningArticleSearch &search, int held, bool &failed)
{
    // Only whole pages came before, or the search would be over.
    Q_ASSERT(held % ArticleHitModel::PageSize == 0);
    QString answer = DBCall(ArticleSearchCommand(search.criteria), failed);
    search.connection = cacheapi::instance().connectionNumber();
    int passed = 0;
    while (!failed && passed < held && IsFullPage(answer)) {
        passed += ArticleHitModel::PageSize;
        answer = DBCall(NextArticlePageCommand(), failed);
    }
    // Fewer hits than held (the articles were changed meanwhile) or a
    // failure: the search ends with the hits held, as after any page.
    return failed || passed < held ? QString() : answer;
}

} // namespace

QVariant HitRowColour(int row, int role)
{
    switch (role) {
    case Qt::BackgroundRole:
        return row % 2 == 0 ? QColor(255, 255, 180) : QColor(Qt::white);
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    default:
        return {};
    }
}

void SetUpHitList(QTableView &view, QAbstractItemModel *hits)
{
    view.setModel(hits);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
}

ArticleHit SplitArticleHit(const QString &entry)
{
    const QString separator(ListFieldSeparator);
    return {Piece(entry, separator, 1), Piece(entry, separator, 2), Piece(entry, separator, 3)};
}

QString ArticleSearchCommand(const ArticleCriteria &criteria)
{
    const QStringList arguments{MQuote(criteria.key),      MQuote(criteria.mainGroup),  MQuote(criteria.subGroup),
                                MQuote(criteria.supplier), MQuote(criteria.department), MQuote(criteria.active),
                                MQuote(criteria.listed)};
    return u"D GETARF^TVCLSU(" + arguments.join(u',') + u')';
}

QString NextArticlePageCommand()
{
    return u"D GETARN^TVCLSU"_s;
}

bool IsSupplierNumber(const QString &number)
{
    return IsDigits(number, SupplierNumberDigits);
}

std::optional<QString> SupplierNameCommand(const QString &number)
{
    if (!IsSupplierNumber(number))
        return std::nullopt;
    return uR"(S P0=$$ASCIANSI^%UML($P($G(^B(FIRMA,"L",)"_s + number + uR"(,1)),%,2)) W:$F($ZV,"MSM") P0)"_s;
}

QString SupplierAccountParameter(const QString &entryText)
{
    // The account as a number: "007" is account 7.
    const QString number = BeforeSeparator(entryText, u"|");
    qsizetype digits = 0;
    while (digits < number.size() && IsAsciiDigit(number.at(digits)))
        ++digits;
    if (digits == 0)
        return {};
    qsizetype zeros = 0;
    while (zeros < digits - 1 && number.at(zeros) == u'0')
        ++zeros;
    return number.sliced(zeros, digits - zeros);
}

QString CustomerGroupParameter(const QString &entryText)
{
    return BeforeSeparator(entryText, GroupEntrySeparator);
}

namespace {

// Loads a look-up dialog, shows it modally and answers what was chosen in it.
template <typename Dialog>
QString Choose(QWidget *parent, QString (Dialog::*choice)() const)
{
    Dialog dialog(parent);
    dialog.Form_Load();
    if (ExitRequested())
        return {};
    ExecModal(dialog);
    return (dialog.*choice)();
}

} // namespace

QString SelectArticle(QWidget *parent)
{
    return Choose<FMArtsu>(parent, &FMArtsu::selectedArticle);
}

void FetchArticlePage(FMArtsu &dialog)
{
    ArticleHitModel &hits = dialog.hits();
    RunningArticleSearch &search = dialog.runningSearch();
    dialog.setCursor(Qt::WaitCursor);
    bool failed = false;
    QString page;
    if (hits.hitCount() == 0) {
        // What later pages go by, whatever the fields show meanwhile.
        search.criteria = dialog.criteria();
        page = DBCall(ArticleSearchCommand(search.criteria), failed);
        search.connection = cacheapi::instance().connectionNumber();
    } else if (IsCurrentConnection(search.connection)) {
        // The server keeps the running search's position.
        page = DBCall(NextArticlePageCommand(), failed);
    } else {
        page = ResumeArticleSearch(search, hits.hitCount(), failed);
    }
    dialog.unsetCursor();
    // A failed call answers nothing, which ends the search with the hits so far.
    if (hits.addPage(page) && hits.hitCount() > 0)
        dialog.list()->setCurrentIndex(hits.index(hits.hitCount() - 1, 0));
}

QString SelectSupplier(QWidget *parent)
{
    return Choose<FMLnrsu>(parent, &FMLnrsu::selectedNumber);
}

QString SelectCustomer(QWidget *parent)
{
    return Choose<FMKnrsu>(parent, &FMKnrsu::selectedNumber);
}

void FetchSupplierHits(FMLnrsu &dialog)
{
    FetchPartnerHits(dialog, u"L"_s, SupplierAccountParameter(dialog.groupText()), u"Suche Lieferantennummer"_s);
}

void FetchCustomerHits(FMKnrsu &dialog)
{
    FetchPartnerHits(dialog, u"K"_s, CustomerGroupParameter(dialog.groupText()), u"Kundennummer Suche"_s);
}

} // namespace tolven
