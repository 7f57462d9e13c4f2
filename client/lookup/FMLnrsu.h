#pragma once

#include "lookup/PartnerSearch.h"

namespace tolven {

// "Suche nach Lieferant": suppliers by search key and collective account.
class FMLnrsu : public PartnerSearch
{
    Q_OBJECT

public:
    explicit FMLnrsu(QWidget *parent = nullptr);

protected:
    void fetchHits() override;
};

} // namespace tolven
