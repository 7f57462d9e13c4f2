#include "fmkonkur.h"

using namespace Qt::StringLiterals;

namespace tolven {

fmkonkur::fmkonkur(QWidget *parent)
    : MasterListWindow(
          {
              .objectName = u"fmkonkur"_s,
              .title = u"TOLVEN Konkurerberanalge"_s,
              .listName = u"Konkurerber"_s,
              .className = u"Konkur.Par"_s,
              .queryName = u"Konkur"_s,
              .resultColumns = {2, 3},
              .properties = {u"konkur"_s, u"konkurbez"_s},
              .gridColumns = {{u"Code"_s, 0, 1931}, {u"Bezeichnung"_s, 1, 8017}},
              .deleteCaption = u"Löschen"_s,
              .exitButtonName = u"buausstieg"_s,
              .duplicateMessage = u"Code bereits vorhanden"_s,
              .refusedDuplicateEnablesSave = false,
              .printHeader = u"TOLVEN Konkurerberanlage         Datum: "_s,
              .previewCaption = u"TOLVEN Konkurerberanlage Drucken"_s,
          },
          parent)
{
}

} // namespace tolven
