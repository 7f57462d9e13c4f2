#include "CellEdit.h"

#include <QDate>

#include "objectapi/Numbers.h"
#include "positions/KeyFigures.h"
#include "positions/LookupTable.h"

using namespace Qt::StringLiterals;

namespace tolven {

bool IsEmptyCell(const QVariant &cell)
{
    return !cell.isValid() || (cell.typeId() == QMetaType::QString && cell.toString().isEmpty());
}

void FilterTypedNumbers(PackedRow::Cells &row)
{
    for (int column : TypedNumberColumns) {
        QVariant &cell = row[column];
        cell = IsNumberCell(cell) ? cell.toDouble() : NumericInput(cell.toString());
    }
}

void ApplyEditedColumn(PackedRow::Cells &row, int column, const QLocale &locale)
{
    const auto number = [&row, &locale](int c) { return CellNumberOrZero(row[c], locale); };
    if (column == PositionColumn::VKE && IsEmptyCell(row[PositionColumn::VRE]))
        row[PositionColumn::VRE] = row[PositionColumn::VKE];

    const double vat = number(PositionColumn::MC);
    switch (column) {
    case PositionColumn::PreisExcl:
        row[PositionColumn::PreisIncl] =
            FormatNumber(WithVat(number(PositionColumn::PreisExcl), vat), NumberPattern::TwoPlaces, locale);
        break;
    case PositionColumn::PreisIncl: {
        const double factor = 100.0 + vat;
        const double excl = factor == 0.0 ? 0.0 : number(PositionColumn::PreisIncl) / factor * 100.0;
        row[PositionColumn::PreisExcl] = FormatNumber(excl, NumberPattern::FourPlaces, locale);
        break;
    }
    case PositionColumn::PreisKalk:
        row[PositionColumn::PreisKalkIncl] =
            FormatNumber(WithVat(number(PositionColumn::PreisKalk), vat), NumberPattern::FourPlaces, locale);
        ApplyCalculatedPriceFigures(row, ArticleFigures::of(row, locale), ArticleFill::ArticleNumber, locale);
        break;
    default:
        break;
    }
}

bool SameContent(const QVariant &before, const QVariant &after, const QLocale &locale)
{
    if (IsEmptyCell(before) || IsEmptyCell(after))
        return IsEmptyCell(before) == IsEmptyCell(after);
    if (IsNumberCell(before) || IsNumberCell(after)) {
        const std::optional<double> a = CellNumber(before, locale);
        const std::optional<double> b = CellNumber(after, locale);
        return a && b && *a == *b;
    }
    if (before.typeId() == QMetaType::QDate || after.typeId() == QMetaType::QDate)
        return before.typeId() == after.typeId() && before.toDate() == after.toDate();
    return before.toString() == after.toString();
}

QString EndDateFlag(const LookupTable &priceTypes, const QString &code)
{
    QString flag = u"N"_s;
    for (int row = 0; row < priceTypes.rowCount(); ++row) {
        if (priceTypes.text(row, 0) == code)
            flag = priceTypes.text(row, 2);
    }
    return flag;
}

QSet<QString> EndDateTypes(const LookupTable &priceTypes)
{
    QSet<QString> codes;
    for (int row = 0; row < priceTypes.rowCount(); ++row) {
        if (priceTypes.text(row, 2) == u"J")
            codes.insert(priceTypes.text(row, 0));
        else
            codes.remove(priceTypes.text(row, 0));
    }
    return codes;
}

bool IsEditableCell(const PackedRow &row, int column, const EditContext &context)
{
    switch (column) {
    case PositionColumn::Konkur:
        return !context.competitorFiltered;
    case PositionColumn::Artnr:
        return !context.articleFiltered;
    case PositionColumn::ArtBez:
    case PositionColumn::VKE:
    case PositionColumn::IntPreis:
    case PositionColumn::VRE:
        return row.cell(PositionColumn::SAM).toString() == u"J";
    case PositionColumn::DatumBis:
        return context.priceTypes
            && EndDateFlag(*context.priceTypes, row.cell(PositionColumn::Preistyp).toString()) == u"J";
    case PositionColumn::Preistyp:
    case PositionColumn::DatumAb:
    case PositionColumn::MengeAb:
    case PositionColumn::PreisExcl:
    case PositionColumn::PreisIncl:
    case PositionColumn::PreisKalk:
    case PositionColumn::Notiz:
        return true;
    default:
        // Computed from the article, kept by the server, or hidden.
        return false;
    }
}

} // namespace tolven
