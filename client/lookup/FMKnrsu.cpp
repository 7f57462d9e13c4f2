#include "FMKnrsu.h"

#include "lookup/TolvenSu.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

PartnerKind Customers()
{
    return {u"FMKnrsu"_s,
            u"Suche nach Kunden"_s,
            u"Kurzbezeichnung::"_s,
            u"SKGRP"_s,
            u"K Gruppe:"_s,
            u"KNRSULI"_s,
            u"KundenNr."_s,
            u"TV.ParKundenGruppen"_s,
            u"Gruppen"_s,
            {QString(), u"J"_s},
            u"Kundengruppen für Kundensuche"_s,
            true};
}

} // namespace

FMKnrsu::FMKnrsu(QWidget *parent)
    : PartnerSearch(Customers(), parent)
{
}

void FMKnrsu::fetchHits()
{
    FetchCustomerHits(*this);
}

} // namespace tolven
