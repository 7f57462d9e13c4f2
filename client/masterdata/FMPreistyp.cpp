#include "FMPreistyp.h"

using namespace Qt::StringLiterals;

namespace tolven {

FMPreistyp::FMPreistyp(QWidget *parent)
    : MasterListWindow(
          {
              .objectName = u"FMPreistyp"_s,
              .title = u"TOLVEN Konkurerberverwaltung Preistypen"_s,
              .listName = u"Preistypen"_s,
              .className = u"Konkur.Preistyp"_s,
              .queryName = u"Preistyp"_s,
              .resultColumns = {2, 3, 4, 1},
              .properties = {u"code"_s, u"bez"_s, u"bisdatjn"_s, QString()},
              .gridColumns = {{u"Code"_s, 0, 1138},
                              {u"Bezeichnung Preistyp"_s, 1, 12065},
                              {u"bis Datum J/N"_s, FlagColumn, 2223, true}},
              .deleteCaption = u"Position Löschen"_s,
              .exitButtonName = u"BUAusstieg"_s,
              .duplicateMessage = u"Code ist bereits vorhanden"_s,
              .refusedDuplicateEnablesSave = true,
              .printHeader = u"TOLVEN Konkurerberverwaltung Preistypen              Datum: "_s,
              .previewCaption = QString(),
              .idColumn = IdColumn,
          },
          parent)
{
}

} // namespace tolven
