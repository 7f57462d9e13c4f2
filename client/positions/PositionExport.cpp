#include "PositionExport.h"

#include <QAbstractItemModel>
#include <QHash>

#include "positions/PositionColumns.h"

using namespace Qt::StringLiterals;

namespace tolven {

const QList<ExportColumn> &PositionExportColumns()
{
    static const QList<ExportColumn> columns{
        {u"Konkurerber"_s, PositionColumn::Konkur, ExportKind::Text},
        {u"Artnr"_s, PositionColumn::ZAnr, ExportKind::Text},
        {u"Bezeichnung"_s, PositionColumn::ArtBez, ExportKind::Text},
        {u"Datum ab"_s, PositionColumn::DatumAb, ExportKind::Date},
        {u"Datum bis"_s, PositionColumn::DatumBis, ExportKind::Date},
        {u"Menge ab"_s, PositionColumn::MengeAb, ExportKind::Quantity},
        {u"ME"_s, PositionColumn::VKE, ExportKind::Text},
        {u"Konkur Preis incl"_s, PositionColumn::PreisIncl, ExportKind::Price},
        {u"int. Preis incl."_s, PositionColumn::IntPreis, ExportKind::Price},
        {u"PE"_s, PositionColumn::VRE, ExportKind::Text},
        {u"Mwstproz"_s, PositionColumn::MC, ExportKind::Number},
    };
    return columns;
}

ExportTable PositionExportTable(const QAbstractItemModel &positions, const QAbstractItemModel &competitors)
{
    QHash<QString, QString> nameOfCode;
    for (int row = competitors.rowCount() - 1; row >= 0; --row) // the first of equal codes counts
        nameOfCode.insert(competitors.index(row, 0).data().toString(), competitors.index(row, 1).data().toString());

    ExportTable table{PositionExportColumns(), {}};
    for (int row = 0; row < positions.rowCount(); ++row) {
        const auto cell = [&](int column) { return positions.index(row, column).data(Qt::EditRole); };
        if (cell(PositionColumn::ZAnr).toString().isEmpty())
            continue;
        ExportRow exported;
        exported.reserve(table.columns.size());
        for (const ExportColumn &column : table.columns)
            exported << cell(column.sourceColumn);
        const QString code = exported.constFirst().toString();
        exported.first() = nameOfCode.value(code, code);
        table.rows << exported;
    }
    return table;
}

} // namespace tolven
