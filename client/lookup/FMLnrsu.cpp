#include "FMLnrsu.h"

#include "lookup/TolvenSu.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

PartnerKind Suppliers()
{
    return {u"FMLnrsu"_s,
            u"Suche nach Lieferant"_s,
            u"Kurzbezeichnung:"_s,
            u"SSKTOK"_s,
            u"SAKonto:"_s,
            u"LNRSULI"_s,
            u"Lieferant.Nr."_s,
            u"TV.KontoSammelKontoKreis"_s,
            u"SaKontoBez"_s,
            {u"L"_s, QString(), QString()},
            u"Lieferantensuche: Lieferantenarten"_s,
            false};
}

} // namespace

FMLnrsu::FMLnrsu(QWidget *parent)
    : PartnerSearch(Suppliers(), parent)
{
}

void FMLnrsu::fetchHits()
{
    FetchSupplierHits(*this);
}

} // namespace tolven
