#pragma once

#include "lookup/PartnerSearch.h"

namespace tolven {

// "Suche nach Kunden": customers by search key and customer group. No window
// of the program opens it; SelectCustomer serves whoever needs a customer
// number.
class FMKnrsu : public PartnerSearch
{
    Q_OBJECT

public:
    explicit FMKnrsu(QWidget *parent = nullptr);

protected:
    void fetchHits() override;
};

} // namespace tolven
