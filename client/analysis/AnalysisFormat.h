#pragma once

#include <QAbstractItemModel>
#include <QLocale>
#include <QString>

#include "output/ExportRows.h"

class QTableView;

namespace tolven {

// The roles the evaluation tables answer beside Qt's.
enum AnalysisRole : int {
    // The value to sort and export by: a number as double, text as text.
    ValueRole = Qt::UserRole + 1,
    // Horizontal header: how the column exports (ExportKind as int).
    ExportKindRole,
};

// A price incl. VAT with two places, "12,34".
QString PriceText(double price, const QLocale &locale = QLocale());
// A difference in percent with one place and its sign, "−12,4 %" / "+3,0 %".
QString PercentText(double percent, const QLocale &locale = QLocale());

// value to one place, as the tables sort and export their figures.
double RoundedToTenths(double value);

// A read-only list of the evaluations: one cell selected at a time, compact
// rows without numbers.
void SetUpListView(QTableView &view);

// What view's model shows, in the order shown (sorted and filtered), as a
// table for the export files.
ExportTable ShownTable(const QAbstractItemModel &model);

} // namespace tolven
