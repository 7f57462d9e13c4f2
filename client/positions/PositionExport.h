#pragma once

#include <QList>

#include "output/ExportRows.h"

class QAbstractItemModel;

namespace tolven {

// The columns of the files for head office, in their order, each naming the
// grid column it is read from.
const QList<ExportColumn> &PositionExportColumns();

// The positions of the grid that carry a central article number, as the
// grid holds them (edits not yet saved included), in the columns above.
// competitors has the code in column 0 and the name in column 1; a code it
// lacks is exported as it is.
ExportTable PositionExportTable(const QAbstractItemModel &positions, const QAbstractItemModel &competitors);

} // namespace tolven
