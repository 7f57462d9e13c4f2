#include "PositionFirm.h"

#include <QStandardPaths>
#include <QTest>

#include "access/Clock.h"
#include "common/Icons.h"
#include "store/StoreFactory.h"
#include "support/ClientFixture.h"
#include "support/QuietPlatform.h"
#include "support/TestDatabase.h"

using namespace Qt::StringLiterals;

namespace testsupport::positionfirm {

void InitTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    HideOffscreenPlatformNotices();
    tolven::InitAppResources();
    tolven::SetTodayProvider([] { return TestDay; });
}

QString CommandLine(const TestDatabase &db)
{
    return u"7 0 NEU neu "_s + ClientFixture::serverOf(db) + u' ' + ClientFixture::portOf(db);
}

void Save(tolven::ServerFactory &factory, const QString &className, const Properties &values)
{
    auto object = factory.createNew(className);
    object->setProperty(u"Firma"_s, Firm);
    for (const auto &[name, value] : values)
        object->setProperty(name, value);
    object->sys_save();
    object->sys_Close();
}

void Fill(const QString &connectString, int extraPositions)
{
    store::StoreFactory factory;
    if (!factory.connect(connectString))
        QFAIL("no connection to the test database");
    const auto save = [&](const QString &className, const Properties &values) { Save(factory, className, values); };
    auto windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    save(u"TV.ParPersEdv"_s, {{u"Personalcode"_s, u"NEU"_s}, {u"Passwort"_s, u"neu"_s}, {u"AKTIV"_s, u"J"_s},
                              {u"PNAME"_s, u"Neu Ling"_s}, {u"ABTNR"_s, u"1"_s}, {u"PNR"_s, u"1"_s}});
    save(u"TV.ParPersAbt"_s, {{u"ABTNR"_s, u"1"_s}, {u"abtbez"_s, u"Verkauf"_s}});
    save(u"TV.PersBasis"_s, {{u"PNR"_s, u"1"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"konkurbez"_s, u"Werkhof L}neburg"_s}});
    save(u"Konkur.Par"_s, {{u"konkur"_s, u"MOORBAU"_s}, {u"konkurbez"_s, u"moorbau"_s}});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"L"_s}, {u"bez"_s, u"Liste"_s}, {u"bisdatjn"_s, u"J"_s}});
    save(u"Konkur.Preistyp"_s, {{u"code"_s, u"A"_s}, {u"bez"_s, u"Aktion"_s}, {u"bisdatjn"_s, u"N"_s}});
    const auto article = [&](const QString &number, const QString &description, const Properties &figures) {
        Properties values{{u"Artnr"_s, number}, {u"Bez"_s, description}, {u"MwSt"_s, u"19"_s}, {u"Sammel"_s, u"N"_s},
                          {u"VKE"_s, u"St}ck"_s}, {u"VRE"_s, u"Pal"_s}, {u"Aktiv"_s, u"J"_s}};
        save(u"TV.Artikel"_s, values + figures);
    };
    article(Cement, u"Zement"_s,
            {{u"VKPreis"_s, u"10"_s}, {u"BruttoEK"_s, u"10"_s}, {u"NettoEK"_s, u"7.5"_s}, {u"VKMenge"_s, u"200"_s},
             {u"Umsatz"_s, u"1000"_s}, {u"Rabatt"_s, u"250"_s}, {u"Einsatz"_s, u"800"_s}, {u"ZAnr"_s, u"Z-1"_s}});
    article(Collective, u"Sammelartikel"_s, {{u"Sammel"_s, u"J"_s}, {u"VKPreis"_s, u"5"_s}});
    article(Returned, u"R}ckl{ufer"_s, {{u"VKMenge"_s, u"0"_s}, {u"Umsatz"_s, u"500"_s}, {u"Einsatz"_s, u"400"_s}});
    article(Unsold, u"Ladenh}ter"_s, {});
    for (const Position &position : Positions) {
        save(u"Konkur.Konkur"_s, Properties{{u"konkur"_s, position.competitor},
                                            {u"Artnr"_s, position.article},
                                            {u"Preistyp"_s, position.priceType},
                                            {u"DatumAb"_s, u"2026-01-01"_s},
                                            {u"AendDatum"_s, position.changed}}
                                     + position.more);
    }
    for (int extra = 0; extra < extraPositions; ++extra) {
        save(u"Konkur.Konkur"_s, {{u"konkur"_s, u"WERKHOF"_s}, {u"Artnr"_s, Unsold}, {u"Preistyp"_s, u"L"_s},
                                  {u"MengeAb"_s, QString::number(extra)}, {u"AendDatum"_s, u"2026-02-01"_s}});
    }
    windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
}

} // namespace testsupport::positionfirm
