#pragma once

#include "masterdata/MasterListWindow.h"

namespace tolven {

// "TOLVEN Konkurerberverwaltung Preistypen": the firm's price types, each a
// code, a text and whether its prices have a "bis Datum". The row table's
// fourth column holds the id of the stored object.
class FMPreistyp : public MasterListWindow
{
    Q_OBJECT

public:
    static constexpr int FlagColumn = 2;
    static constexpr int IdColumn = 3;

    explicit FMPreistyp(QWidget *parent = nullptr);
};

} // namespace tolven
