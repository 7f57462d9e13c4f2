#include "PositionImport.h"

#include <QDate>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>

#include "common/CellNumber.h"
#include "common/DisplayFormat.h"
#include "objectapi/TextCheck.h"
#include "positions/CellEdit.h"
#include "positions/KeyFigures.h"
#include "positions/LookupTable.h"
#include "positions/PositionColumns.h"
#include "positions/PositionModel.h"
#include "positions/PositionValidation.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// What a column of a file holds.
enum class Field {
    Competitor,
    Article,
    CentralNumber,
    Description,
    PriceType,
    From,
    To,
    Quantity,
    SalesUnit,
    PriceUnit,
    OwnPrice,
    PriceExcl,
    PriceIncl,
    Note,
    Known, // a column of the export that the grid computes itself
    Count = Known,
};

// The captions of the export file and of the grid, compared without case.
Field FieldOfCaption(const QString &caption, bool *known)
{
    static const QHash<QString, Field> fields{
        {u"konkurerber"_s, Field::Competitor},
        {u"konkur"_s, Field::Competitor},
        {u"art-nr"_s, Field::Article},
        {u"artnr"_s, Field::CentralNumber}, // the export's: the central number
        {u"z-art-nr"_s, Field::CentralNumber},
        {u"bezeichnung"_s, Field::Description},
        {u"art-bezeichnung"_s, Field::Description},
        {u"preistyp"_s, Field::PriceType},
        {u"datum ab"_s, Field::From},
        {u"datum bis"_s, Field::To},
        {u"menge ab"_s, Field::Quantity},
        {u"me"_s, Field::SalesUnit},
        {u"vke"_s, Field::SalesUnit},
        {u"pe"_s, Field::PriceUnit},
        {u"per vre"_s, Field::PriceUnit},
        {u"int. preis incl."_s, Field::OwnPrice},
        {u"preis excl."_s, Field::PriceExcl},
        {u"konkur preis incl"_s, Field::PriceIncl},
        {u"preis incl."_s, Field::PriceIncl},
        {u"notiz"_s, Field::Note},
        {u"mwstproz"_s, Field::Known},
    };
    const auto found = fields.constFind(caption.trimmed().toLower());
    *known = found != fields.cend();
    return *known ? *found : Field::Known;
}

constexpr std::size_t FieldCount = std::size_t(Field::Count);

// The column of each field in the file, -1 for none.
struct Columns
{
    std::array<int, FieldCount> of;
    Columns() { of.fill(-1); }
    bool has(Field field) const { return of[std::size_t(field)] >= 0; }
};

QString CaptionOf(Field field)
{
    switch (field) {
    case Field::Quantity:
        return u"Menge ab"_s;
    case Field::OwnPrice:
        return u"int. Preis incl."_s;
    case Field::PriceExcl:
        return u"Preis excl."_s;
    case Field::PriceIncl:
        return u"Preis incl."_s;
    default:
        return {};
    }
}

// One row of the file with its cells by field.
class FileRow
{
public:
    FileRow(const QList<QVariant> &cells, const Columns &columns)
        : m_cells(cells)
        , m_columns(columns)
    {
    }

    QVariant cell(Field field) const
    {
        const int column = m_columns.of[std::size_t(field)];
        return column >= 0 && column < m_cells.size() ? m_cells.at(column) : QVariant();
    }
    // A cell as text, as the grid would show it; blanks around it do not count.
    QString text(Field field, const QLocale &locale) const
    {
        const QVariant value = cell(field);
        if (value.typeId() == QMetaType::QDate)
            return DisplayDate(value.toDate());
        if (value.typeId() == QMetaType::Double) {
            // Numbers a sheet holds for article numbers and codes read as typed.
            const double number = value.toDouble();
            if (number == std::floor(number) && std::abs(number) < 1e15)
                return QString::number(qint64(number));
            return locale.toString(number, 'f', -1);
        }
        return value.toString().trimmed();
    }

private:
    const QList<QVariant> &m_cells;
    const Columns &m_columns;
};

// Why a row is refused, or nothing.
using Refusal = std::optional<QString>;

// A date cell: a date of the sheet, or text as dd.mm.yyyy (or yyyy-mm-dd).
Refusal ReadDate(const FileRow &row, Field field, const QLocale &locale, QDate *date)
{
    const QVariant cell = row.cell(field);
    if (cell.typeId() == QMetaType::QDate) {
        *date = cell.toDate();
        return std::nullopt;
    }
    const QString text = row.text(field, locale);
    if (text.isEmpty())
        return std::nullopt;
    *date = ParseDisplayDate(text);
    if (!date->isValid())
        *date = QDate::fromString(text, Qt::ISODate);
    if (!date->isValid())
        return u"kein gültiges Datum: " + text;
    return std::nullopt;
}

// A number cell: a number of the sheet, or text in the locale's notation
// (or with "." as decimal point). Empty gives nothing.
Refusal ReadNumber(const FileRow &row, Field field, const QLocale &locale, std::optional<double> *number)
{
    const QVariant cell = row.cell(field);
    if (cell.typeId() == QMetaType::Double) {
        *number = cell.toDouble();
        return std::nullopt;
    }
    const QString text = row.text(field, locale);
    if (text.isEmpty())
        return std::nullopt;
    *number = CellNumber(text, locale);
    if (!*number)
        return u"keine gültige Zahl in „" + CaptionOf(field) + u"“: " + text;
    return std::nullopt;
}

// The competitor's code: by code, else by name as the export writes it
// (then without regard to case).
QString CompetitorCode(const LookupTable &competitors, const QString &given)
{
    if (competitors.findCode(given) >= 0)
        return given;
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int row = 0; row < competitors.rowCount(); ++row) {
            if (competitors.text(row, 1).compare(given, sensitivity) == 0)
                return competitors.text(row, 0);
        }
    }
    return {};
}

// A row read from the file, before its article is known.
struct PendingRow
{
    int line = 0;
    PackedRow::Cells cells;
    std::optional<double> priceExcl;
    std::optional<double> priceIncl;
    std::optional<double> ownPrice;
    QString description;
    QString salesUnit;
    QString priceUnit;
    QString articleGiven; // as the file names it, for the message
};

class Checker
{
public:
    Checker(const SheetTable &sheet, const ImportContext &context, const QLocale &locale)
        : m_sheet(sheet)
        , m_context(context)
        , m_locale(locale)
    {
    }

    ImportResult run(const ArticleLookup &articles)
    {
        if (!findColumns())
            return std::move(m_result);
        QList<PendingRow> pending;
        QList<ArticleQuestion> questions;
        for (qsizetype i = 0; i < m_sheet.rows.size(); ++i) {
            PendingRow row;
            row.line = m_sheet.lines.value(i);
            if (const Refusal refusal = read(FileRow(m_sheet.rows.at(i), m_columns), row)) {
                refuse(row.line, *refusal);
                continue;
            }
            questions << ArticleQuestion{row.cells[PositionColumn::Artnr].toString(), row.articleGiven,
                                         CellNumberOrZero(row.cells[PositionColumn::MengeAb])};
            if (!questions.last().number.isEmpty())
                questions.last().centralNumber.clear();
            pending << std::move(row);
        }
        std::optional<QList<ArticleAnswer>> answers;
        if (!questions.isEmpty()) {
            answers = articles(questions);
            if (!answers || answers->size() != questions.size()) {
                m_result.serverFailed = true;
                return std::move(m_result);
            }
        }
        QHash<DuplicateKey, int> gridKeys;
        if (m_context.grid) {
            gridKeys.reserve(m_context.grid->rowCount());
            for (int row = 0; row < m_context.grid->rowCount(); ++row)
                gridKeys.insert(DuplicateKeyOf(m_context.grid->packedRow(row), m_locale), row);
        }
        QHash<DuplicateKey, int> fileKeys;
        m_result.rows.reserve(pending.size());
        for (qsizetype i = 0; i < pending.size(); ++i) {
            PendingRow &row = pending[i];
            const ArticleAnswer &answer = answers->at(i);
            if (const Refusal refusal = complete(row, answer)) {
                refuse(row.line, *refusal);
                continue;
            }
            // The key reads the packed row in place: it is made of the row kept.
            m_result.rows << PackedRow(row.cells);
            const DuplicateKey key = DuplicateKeyOf(m_result.rows.last(), m_locale);
            if (const auto same = fileKeys.constFind(key); same != fileKeys.cend()) {
                refuse(row.line, u"identisch mit Zeile " + QString::number(*same) + u" der Datei");
            } else if (gridKeys.contains(key)) {
                refuse(row.line, u"identisch mit einer Position im Raster"_s);
            } else {
                fileKeys.insert(key, row.line);
                m_result.lines << row.line;
                continue;
            }
            m_result.rows.removeLast();
        }
        return finished();
    }

private:
    bool findColumns()
    {
        for (qsizetype column = 0; column < m_sheet.header.size(); ++column) {
            const QString &caption = m_sheet.header.at(column);
            if (caption.isEmpty())
                continue;
            bool known = false;
            const Field field = FieldOfCaption(caption, &known);
            if (!known || (field != Field::Known && m_columns.has(field))) {
                m_result.ignoredColumns << caption;
                continue;
            }
            if (field != Field::Known)
                m_columns.of[std::size_t(field)] = int(column);
        }
        QStringList missing;
        if (!m_columns.has(Field::Competitor))
            missing << u"„Konkurerber“ oder „Konkur“"_s;
        if (!m_columns.has(Field::Article) && !m_columns.has(Field::CentralNumber))
            missing << u"„Art-Nr“ oder „Artnr“"_s;
        if (!m_columns.has(Field::From))
            missing << u"„Datum ab“"_s;
        if (!m_columns.has(Field::PriceExcl) && !m_columns.has(Field::PriceIncl))
            missing << u"„Preis excl.“ oder „Preis incl.“"_s;
        if (missing.isEmpty())
            return true;
        m_result.error = u"Der Datei fehlen Spalten: " + missing.join(u", ")
            + u". Die erste Zeile muss die Spalten benennen, wie die Exportdatei oder das Raster sie nennt.";
        return false;
    }

    void refuse(int line, const QString &reason) { m_refused << std::pair{line, reason}; }

    // The refusals in the order of the file's lines.
    ImportResult finished()
    {
        std::stable_sort(m_refused.begin(), m_refused.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &[line, reason] : m_refused)
            m_result.refusals << u"Zeile " + QString::number(line) + u": " + reason;
        return std::move(m_result);
    }

    // The row's own cells; what needs the article comes later.
    Refusal read(const FileRow &file, PendingRow &row)
    {
        PackedRow::Cells &cells = row.cells;
        for (int column = 0; column <= PositionColumn::AendDatum; ++column)
            cells[column] = QString();

        const QString competitor = file.text(Field::Competitor, m_locale);
        if (competitor.isEmpty())
            return u"kein Konkurerber angegeben"_s;
        cells[PositionColumn::Konkur] = CompetitorCode(*m_context.competitors, competitor);
        if (IsEmptyCell(cells[PositionColumn::Konkur]))
            return u"Konkurerber " + competitor + u" unbekannt";

        const QString article = file.text(Field::Article, m_locale);
        const QString central = file.text(Field::CentralNumber, m_locale);
        if (article.isEmpty() && central.isEmpty())
            return u"kein Artikel angegeben"_s;
        for (const QString &number : {article, central}) {
            if (const QString complaint = ForbiddenCharacterComplaint(u"Artikel"_s, number, false);
                !complaint.isEmpty())
                return complaint;
        }
        cells[PositionColumn::Artnr] = article;
        row.articleGiven = article.isEmpty() ? central : article;

        QString priceType = file.text(Field::PriceType, m_locale);
        if (priceType.isEmpty())
            priceType = m_context.priceType;
        if (m_context.priceTypes->findCode(priceType) < 0)
            return priceType.isEmpty() ? u"kein Preistyp angegeben"_s : u"Preistyp " + priceType + u" unbekannt";
        cells[PositionColumn::Preistyp] = priceType;

        QDate from;
        QDate to;
        if (Refusal refusal = ReadDate(file, Field::From, m_locale, &from))
            return refusal;
        if (!from.isValid())
            return u"kein Datum ab angegeben"_s;
        if (Refusal refusal = ReadDate(file, Field::To, m_locale, &to))
            return refusal;
        cells[PositionColumn::DatumAb] = from;
        // A price type without an end date has none, as in the grid.
        if (to.isValid() && EndDateFlag(*m_context.priceTypes, priceType) == u"J")
            cells[PositionColumn::DatumBis] = to;

        std::optional<double> quantity;
        for (const auto &[field, number] : {std::pair{Field::Quantity, &quantity},
                                            std::pair{Field::PriceExcl, &row.priceExcl},
                                            std::pair{Field::PriceIncl, &row.priceIncl},
                                            std::pair{Field::OwnPrice, &row.ownPrice}}) {
            if (Refusal refusal = ReadNumber(file, field, m_locale, number))
                return refusal;
        }
        if (!row.priceExcl && !row.priceIncl)
            return u"kein Preis angegeben"_s;
        cells[PositionColumn::MengeAb] = quantity.value_or(0.0);

        const struct
        {
            Field field;
            QString *text;
            int column;
            bool multiLine;
        } texts[] = {{Field::Description, &row.description, PositionColumn::ArtBez, false},
                     {Field::SalesUnit, &row.salesUnit, PositionColumn::VKE, false},
                     {Field::PriceUnit, &row.priceUnit, PositionColumn::VRE, false}};
        for (const auto &text : texts) {
            *text.text = file.text(text.field, m_locale);
            if (const QString complaint =
                    ForbiddenCharacterComplaint(ColumnInfo(text.column).caption, *text.text, text.multiLine);
                !complaint.isEmpty())
                return complaint;
        }
        const QString note = file.cell(Field::Note).toString();
        if (const QString complaint = ForbiddenCharacterComplaint(ColumnInfo(PositionColumn::Notiz).caption, note, true);
            !complaint.isEmpty())
            return complaint;
        cells[PositionColumn::Notiz] = note;
        return std::nullopt;
    }

    // The article's data, then the prices through its VAT rate, as if the
    // cells had been typed one after the other.
    Refusal complete(PendingRow &row, const ArticleAnswer &answer)
    {
        if (answer.kind == ArticleAnswer::Unknown)
            return u"Artikel " + row.articleGiven + u" unbekannt";
        if (answer.kind == ArticleAnswer::Ambiguous)
            return u"Zentralartikelnummer " + row.articleGiven + u" gehört zu mehreren Artikeln";
        PackedRow::Cells &cells = row.cells;
        cells[PositionColumn::Artnr] = answer.number;
        // Rows of one article at one quantity share its cells; they are made once.
        auto article = m_articles.constFind(answer.data);
        if (article == m_articles.cend()) {
            const PackedRow::Cells articleCells =
                ArticleCells(ArticleData::parse(answer.data), ArticleFill::ArticleNumber, m_locale);
            article = m_articles.insert(answer.data, {articleCells, ArticleFigures::of(articleCells, m_locale)});
        }
        PutCells(cells, article->cells);
        ApplyPriceFigures(cells, article->figures, ArticleFill::ArticleNumber, m_locale);
        // A collective article's description, units and own price are typed.
        if (cells[PositionColumn::SAM].toString() == u"J") {
            if (!row.description.isEmpty())
                cells[PositionColumn::ArtBez] = row.description;
            if (!row.salesUnit.isEmpty())
                cells[PositionColumn::VKE] = row.salesUnit;
            if (!row.priceUnit.isEmpty())
                cells[PositionColumn::VRE] = row.priceUnit;
            else if (!row.salesUnit.isEmpty())
                cells[PositionColumn::VRE] = row.salesUnit;
            if (row.ownPrice)
                cells[PositionColumn::IntPreis] = *row.ownPrice;
        }
        const int typed = row.priceExcl ? PositionColumn::PreisExcl : PositionColumn::PreisIncl;
        cells[typed] = row.priceExcl ? *row.priceExcl : *row.priceIncl;
        FilterTypedNumbers(cells);
        ApplyEditedColumn(cells, typed, m_locale);
        cells[PositionColumn::AendDatum] = QString();
        return std::nullopt;
    }

    const SheetTable &m_sheet;
    const ImportContext &m_context;
    QLocale m_locale;
    Columns m_columns;
    QList<std::pair<int, QString>> m_refused;
    struct Article
    {
        PackedRow::Cells cells;
        ArticleFigures figures;
    };
    QHash<QString, Article> m_articles; // by the server's answer
    ImportResult m_result;
};

} // namespace

ImportResult CheckImport(const SheetTable &sheet, const ImportContext &context, const ArticleLookup &articles,
                         const QLocale &locale)
{
    return Checker(sheet, context, locale).run(articles);
}

} // namespace tolven
