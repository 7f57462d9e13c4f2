#pragma once

#include "masterdata/MasterListWindow.h"

namespace tolven {

// "TOLVEN Konkurerberanalge": the firm's competitors, each a code and a name.
class fmkonkur : public MasterListWindow
{
    Q_OBJECT

public:
    explicit fmkonkur(QWidget *parent = nullptr);
};

} // namespace tolven
