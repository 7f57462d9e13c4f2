#include "DemoData.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <memory>
#include <span>

#include "objectapi/AccessError.h"
#include "objectapi/ServerFactory.h"
#include "objectapi/TextConversion.h"
#include "store/demo/DemoCatalogue.h"

using namespace Qt::StringLiterals;

// The demo: two firms of a building-materials trader. Firm 1 is the large
// one with its generated articles and competitor prices; firm 2 a small
// branch with its own few records. Master-data texts are written in the
// server's 7-bit form, as the ERP keeps them; the positions' own texts and
// notes in display form, as the client writes them.

namespace store {

using namespace catalogue;

namespace {

// splitmix64: small, fast, and the same on every platform and library, so
// the demo is the same everywhere.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int below(qsizetype n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    // low .. high, both included
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T &pick(const QList<T> &list) { return list[below(list.size())]; }

private:
    quint64 m_state;
};

// A seed of its own for each record, so one record's data does not depend
// on how many came before it.
quint64 seedFor(quint64 stream, quint64 index)
{
    return Random(stream ^ (index * 0xD1B54A32D192ED03ULL)).next();
}

template <typename T>
void shuffle(QList<T> &list, Random &random)
{
    for (qsizetype i = list.size() - 1; i > 0; --i)
        std::swap(list[i], list[random.below(i + 1)]);
}

QString text(const char16_t *display)
{
    return QString::fromUtf16(display);
}

QString server(const QString &display)
{
    return tolven::DisplayToServer(display);
}

QString server(const char16_t *display)
{
    return server(text(display));
}

// Upper case with the ß kept, as the ERP writes designations.
QString upper(const QString &display)
{
    return tolven::ConvertText(display, u"-"_s, true);
}

// The short designation in server form: upper case (ß kept), at most 40 characters.
QString shortDesignation(const QString &display)
{
    return server(upper(display)).left(40).trimmed();
}

// Cents as "12.50", "-3.05".
QString money(qint64 cents)
{
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return (cents < 0 ? u"-"_s : QString()) + QString::number(magnitude / 100) + u'.'
            + QString::number(magnitude % 100).rightJustified(2, u'0');
}

qint64 percentOf(qint64 cents, int percent)
{
    return (cents * percent + 50) / 100;
}

QString isoDate(const QDate &date)
{
    return date.toString(Qt::ISODate);
}

QStringList split(const char16_t *list)
{
    return text(list).split(u';');
}

// Writes through the object interface and counts what it wrote.
class Writer
{
public:
    explicit Writer(tolven::ServerFactory &factory) : m_factory(factory) {}

    void save(const QString &className, const QString &firm, const QList<std::pair<QString, QString>> &properties)
    {
        std::unique_ptr<tolven::ServerObject> object = m_factory.createNew(className);
        object->setProperty(u"Firma"_s, firm);
        for (const auto &[name, value] : properties)
            object->setProperty(name, value);
        object->sys_save();
        object->sys_Close();
        count(className, firm);
    }

    QList<DemoCount> counts() const { return m_counts; }

private:
    void count(const QString &className, const QString &firm)
    {
        auto found = std::find_if(m_counts.begin(), m_counts.end(),
                                  [&](const DemoCount &c) { return c.className == className; });
        if (found == m_counts.end()) {
            m_counts.append({className, description(className), 0, 0});
            found = std::prev(m_counts.end());
        }
        (firm == u"1" ? found->firm1 : found->firm2) += 1;
    }

    static QString description(const QString &className)
    {
        static const QHash<QString, QString> names{
            {u"TV.ParPersEdv"_s, u"Benutzer"_s},
            {u"TV.ParPersAbt"_s, u"Personalabteilungen"_s},
            {u"TV.PersBasis"_s, u"Personalstammsätze"_s},
            {u"TV.Einheit"_s, u"Einheiten"_s},
            {u"TV.Abteilung"_s, u"Artikelabteilungen"_s},
            {u"TV.Hauptgruppe"_s, u"Hauptgruppen"_s},
            {u"TV.Untergruppe"_s, u"Untergruppen"_s},
            {u"TV.KontoSammelKontoKreis"_s, u"Sammelkonten"_s},
            {u"TV.Lieferant"_s, u"Lieferanten"_s},
            {u"TV.ParKundenGruppen"_s, u"Kundengruppen"_s},
            {u"TV.Kunde"_s, u"Kunden"_s},
            {u"TV.Artikel"_s, u"Artikel"_s},
            {u"TV.ArtikelStaffel"_s, u"Staffelpreise"_s},
            {u"Konkur.Par"_s, u"Mitbewerber"_s},
            {u"Konkur.Preistyp"_s, u"Preistypen"_s},
            {u"Konkur.Konkur"_s, u"Positionen"_s},
        };
        return names.value(className, className);
    }

    tolven::ServerFactory &m_factory;
    QList<DemoCount> m_counts;
};

// One combination of a family's parts.
struct Variant
{
    int family;
    int first;
    int second;
    int third;
};

QStringList familyPart(int family, int part)
{
    const Family &f = Families[family];
    const char16_t *list = part == 0 ? f.first : part == 1 ? f.second : f.third;
    return list ? split(list) : QStringList{QString()};
}

// Every combination of every family, in an order shuffled once for all:
// the generated articles take them one after the other.
const QList<Variant> &allVariants()
{
    static const QList<Variant> variants = [] {
        QList<Variant> list;
        for (int f = 0; f < int(std::size(Families)); ++f) {
            const qsizetype firstCount = familyPart(f, 0).size();
            const qsizetype secondCount = familyPart(f, 1).size();
            const qsizetype thirdCount = familyPart(f, 2).size();
            for (int i = 0; i < firstCount; ++i) {
                for (int j = 0; j < secondCount; ++j) {
                    for (int k = 0; k < thirdCount; ++k)
                        list.append({f, i, j, k});
                }
            }
        }
        Random random(0x7A11E5ULL);
        shuffle(list, random);
        return list;
    }();
    return variants;
}

struct Article
{
    QString number;
    QString description;     // display form
    int vat = 19;
    bool collective = false;
    QString salesUnit;
    QString priceUnit;
    QString centralNumber;
    qint64 price = 0;         // cents per price unit
    qint64 grossPurchase = 0;
    qint64 netPurchase = 0;
    QString quantitySold;
    qint64 turnover = 0;
    qint64 discounts = 0;
    qint64 cost = 0;
    int subGroup = 0;
    QString supplier;
    QString active = u"J"_s;
    QString listed = u"J"_s;
    QStringList ownTexts;     // collective articles: what their positions say
};

QString centralNumberOf(int articleIndex, quint64 firmSeed)
{
    return QString::number(41000000 + (articleIndex * 37 + int(firmSeed % 1000)) % 58000000);
}

// Sales figures: mostly sold, some never, a few sold and taken back.
void fillSales(Article &article, Random &random)
{
    const int roll = random.below(100);
    if (roll < 7) {
        article.quantitySold = u"0"_s;
        return;
    }
    if (roll < 9) {
        article.quantitySold = u"0"_s;
        const int share = random.between(5, 30);
        article.turnover = percentOf(article.price, share) * random.between(1, 3);
        return;
    }
    const bool fractional = article.salesUnit == u"M2" || article.salesUnit == u"LFM";
    // Each draw in a statement of its own: the order of operands is not fixed.
    qint64 hundredths = random.between(1, 60);
    hundredths *= random.between(1, 60);
    hundredths *= fractional ? random.between(50, 150) : 100;
    article.quantitySold = fractional ? money(hundredths) : QString::number(hundredths / 100);
    const qint64 gross = hundredths * article.price / 100;
    article.turnover = percentOf(gross, random.between(94, 100));
    article.discounts = percentOf(article.turnover, random.between(0, 6));
    article.cost = hundredths * article.netPurchase / 100;
}

Article generatedArticle(const QString &number, const Variant &variant, int round, Random &random,
                         const QMap<Trade, QStringList> &suppliersByTrade)
{
    const Family &family = Families[variant.family];
    const QStringList first = familyPart(variant.family, 0);
    const QStringList second = familyPart(variant.family, 1);
    const QStringList third = familyPart(variant.family, 2);
    Article article;
    article.number = number;
    const QString pattern = text(family.pattern);
    article.description = family.third ? pattern.arg(first[variant.first], second[variant.second], third[variant.third])
                                       : pattern.arg(first[variant.first], second[variant.second]);
    article.description += text(RoundSuffixes[round % int(std::size(RoundSuffixes))]);
    article.vat = family.vat;
    article.salesUnit = text(family.salesUnit);
    article.priceUnit = text(family.priceUnit);
    // Dearer along the first part, a little dearer along the second, and some scatter.
    const qint64 span = family.toCents - family.fromCents;
    const qint64 step = first.size() > 1 ? span * variant.first / (first.size() - 1) : 0;
    qint64 price = family.fromCents + step + percentOf(family.fromCents, variant.second * 3 + variant.third * 2);
    price = percentOf(price, random.between(92, 108) + round * 4);
    // Prices end in 9 or 5 cents, as shops price them.
    price = std::max<qint64>(price - price % 10 + (random.chance(70) ? 9 : 5), 9);
    article.price = price;
    article.grossPurchase = percentOf(price, random.between(55, 78));
    article.netPurchase = random.chance(25) ? article.grossPurchase
                                            : percentOf(article.grossPurchase, random.between(84, 99));
    article.subGroup = family.subGroup;
    article.supplier = random.pick(suppliersByTrade.value(family.trade));
    const int activeRoll = random.below(100);
    article.active = activeRoll < 90 ? u"J"_s : activeRoll < 97 ? u"N"_s : u"Z"_s;
    const int listedRoll = random.below(100);
    article.listed = listedRoll < 70   ? u"J"_s
                     : listedRoll < 80 ? u"N"_s
                     : listedRoll < 88 ? u"A"_s
                     : listedRoll < 95 ? u"B"_s
                                       : u"C"_s;
    fillSales(article, random);
    return article;
}

// Writes the positions of a firm: the fixed ones, then generated ones until
// count, no two with the same competitor, article, price type, start date
// and quantity.
class PositionWriter
{
public:
    PositionWriter(Writer &writer, QString firm, const QList<Article> &articles,
                   std::span<const NamedEntry> competitors, std::span<const PriceType> priceTypes, QDate today)
        : m_writer(writer)
        , m_firm(std::move(firm))
        , m_articles(articles)
        , m_competitors(competitors)
        , m_priceTypes(priceTypes)
        , m_today(today)
    {
    }

    // A position unless its key is taken; false when it is.
    bool write(const Article &article, const PriceType &type, const QString &competitor, int startAge, int changeAge,
               int quantity, qint64 priceExcl, qint64 ownPrice, const QString &ownText, const QString &note,
               const QString &calculated, int validDays)
    {
        const QDate start = m_today.addDays(-startAge);
        const QString quantityText = money(qint64(quantity) * 100);
        const QString key = competitor + u'\x1f' + article.number + u'\x1f' + text(type.code) + u'\x1f'
                + isoDate(start) + u'\x1f' + quantityText;
        if (m_keys.contains(key))
            return false;
        m_keys.insert(key);
        m_writer.save(u"Konkur.Konkur"_s, m_firm,
                      {{u"konkur"_s, competitor},
                       {u"Artnr"_s, article.number},
                       {u"ArtBez"_s, article.collective ? ownText : QString()},
                       {u"ZAnr"_s, article.centralNumber},
                       {u"Preistyp"_s, text(type.code)},
                       {u"DatumAb"_s, isoDate(start)},
                       {u"DatumBis"_s, type.until ? isoDate(start.addDays(validDays)) : QString()},
                       {u"MengeAb"_s, quantityText},
                       {u"VKE"_s, article.salesUnit},
                       {u"IntPreis"_s, article.collective ? money(ownPrice) : QString()},
                       {u"PreisExcl"_s, money(priceExcl)},
                       {u"VRE"_s, article.priceUnit},
                       {u"PreisKalk"_s, calculated},
                       {u"notiz"_s, note},
                       {u"AendDatum"_s, isoDate(m_today.addDays(-changeAge))}});
        return true;
    }

    void writeGenerated(int count, Random &random)
    {
        int weightSum = 0;
        for (const PriceType &type : m_priceTypes)
            weightSum += type.weight;
        // Competitors watch the best sellers more closely than the rest.
        const int popular = std::min<int>(int(m_articles.size()), std::max<int>(30, int(m_articles.size()) / 20));
        for (int written = 0; written < count;) {
            const Article &article =
                    m_articles[random.chance(30) ? random.below(popular) : random.below(m_articles.size())];
            int roll = random.below(weightSum);
            const PriceType *type = m_priceTypes.data();
            while (roll >= type->weight) {
                roll -= type->weight;
                ++type;
            }
            const QString competitor = text(m_competitors[random.below(qsizetype(m_competitors.size()))].key);
            const int quantityRoll = random.below(100);
            const bool single = text(type->code) == u"INTERNET";
            const int quantity = single || quantityRoll < 70 ? 1 : quantityRoll < 88 ? 10 : 50;
            const int startAge = random.below(demo::PositionDays);
            const int changeAge = random.between(0, startAge);

            qint64 ownPrice = 0;
            QString ownText;
            qint64 base = article.price;
            if (article.collective) {
                ownPrice = qint64(random.between(20, 2500)) * 10 - 1;
                ownText = random.pick(article.ownTexts);
                base = ownPrice;
            }
            const int tierPercent = quantity == 1 ? 100 : quantity == 10 ? 96 : 91;
            qint64 price = percentOf(base, random.between(88, 112));
            price = percentOf(price, type->percent * tierPercent / 100);
            price = std::max<qint64>(price, 1);
            const int calculatedRoll = random.below(100);
            const QString calculated = calculatedRoll < 60   ? u"0.00"_s
                                       : calculatedRoll < 85 ? QString()
                                                             : money(percentOf(price, random.between(95, 105)));
            const QString note = random.chance(15) ? text(Notes[random.below(qsizetype(std::size(Notes)))]) : QString();
            if (write(article, *type, competitor, startAge, changeAge, quantity, price, ownPrice, ownText, note,
                      calculated, random.between(6, 27)))
                ++written;
        }
    }

private:
    Writer &m_writer;
    QString m_firm;
    const QList<Article> &m_articles;
    std::span<const NamedEntry> m_competitors;
    std::span<const PriceType> m_priceTypes;
    QDate m_today;
    QSet<QString> m_keys;
};

const PriceType &priceTypeNamed(std::span<const PriceType> types, QStringView code)
{
    for (const PriceType &type : types) {
        if (code == QStringView(type.code))
            return type;
    }
    Q_UNREACHABLE();
}

void writeNamedList(Writer &writer, const QString &firm, const QString &className, const QString &keyName,
                    std::span<const NamedEntry> entries)
{
    for (const NamedEntry &entry : entries)
        writer.save(className, firm, {{keyName, text(entry.key)}, {u"Bez"_s, server(entry.name)}});
}

// Collective accounts of one kind: "L" for suppliers, "K" for customers.
void writeAccounts(Writer &writer, const QString &firm, const QString &kind, std::span<const NamedEntry> accounts)
{
    for (const NamedEntry &account : accounts) {
        writer.save(u"TV.KontoSammelKontoKreis"_s, firm,
                    {{u"Nummer"_s, text(account.key)}, {u"Art"_s, kind}, {u"Bez"_s, server(account.name)}});
    }
}

// The competitors and price types a firm's positions refer to. Their names
// are stored as the master-data windows store what the user types: as they
// are, not in server form.
void writeCompetitorsAndPriceTypes(Writer &writer, const QString &firm, std::span<const NamedEntry> competitors,
                                   std::span<const PriceType> priceTypes)
{
    for (const NamedEntry &competitor : competitors) {
        writer.save(u"Konkur.Par"_s, firm,
                    {{u"konkur"_s, text(competitor.key)}, {u"konkurbez"_s, text(competitor.name)}});
    }
    for (const PriceType &type : priceTypes) {
        writer.save(u"Konkur.Preistyp"_s, firm,
                    {{u"code"_s, text(type.code)}, {u"bez"_s, text(type.name)},
                     {u"bisdatjn"_s, type.until ? u"J"_s : u"N"_s}});
    }
}

void writeGroups(Writer &writer, const QString &firm, const QList<int> &mainGroups)
{
    for (const MainGroup &group : MainGroups) {
        if (mainGroups.contains(group.number))
            writer.save(u"TV.Hauptgruppe"_s, firm, {{u"HGrp"_s, QString::number(group.number)}, {u"Bez"_s, server(group.name)}});
    }
    for (const SubGroup &group : SubGroups) {
        if (mainGroups.contains(group.number / 100)) {
            writer.save(u"TV.Untergruppe"_s, firm,
                        {{u"UGrp"_s, QString::number(group.number)},
                         {u"HGrp"_s, QString::number(group.number / 100)},
                         {u"Bez"_s, server(group.name)}});
        }
    }
}

void writeArticle(Writer &writer, const QString &firm, const Article &article)
{
    writer.save(u"TV.Artikel"_s, firm,
                {{u"Artnr"_s, article.number},
                 {u"Bez"_s, server(article.description)},
                 {u"Kurzbez"_s, shortDesignation(article.description)},
                 {u"MwSt"_s, QString::number(article.vat)},
                 {u"Sammel"_s, article.collective ? u"J"_s : u"N"_s},
                 {u"VKE"_s, article.salesUnit},
                 {u"VRE"_s, article.priceUnit},
                 {u"ZAnr"_s, article.centralNumber},
                 {u"VKPreis"_s, money(article.price)},
                 {u"BruttoEK"_s, money(article.grossPurchase)},
                 {u"NettoEK"_s, money(article.netPurchase)},
                 {u"VKMenge"_s, article.quantitySold},
                 {u"Umsatz"_s, money(article.turnover)},
                 {u"Rabatt"_s, money(article.discounts)},
                 {u"Einsatz"_s, money(article.cost)},
                 {u"HGrp"_s, QString::number(article.subGroup / 100)},
                 {u"UGrp"_s, QString::number(article.subGroup)},
                 {u"Lieferant"_s, article.supplier},
                 {u"AbtNr"_s, QString::number(departmentOf(article.subGroup))},
                 {u"Aktiv"_s, article.active},
                 {u"Gelistet"_s, article.listed}});
}

// Quantity tiers for a good share of the articles: cheaper from 10 and from 50.
void writeTiers(Writer &writer, const QString &firm, const Article &article, Random &random)
{
    if (article.collective || article.price < 100 || !random.chance(45))
        return;
    const std::pair<int, int> tiers[] = {{10, random.between(93, 97)}, {50, random.between(85, 91)}};
    const int count = random.chance(60) ? 2 : 1;
    for (int i = 0; i < count; ++i) {
        writer.save(u"TV.ArtikelStaffel"_s, firm,
                    {{u"Artnr"_s, article.number},
                     {u"MengeAb"_s, QString::number(tiers[i].first)},
                     {u"Preis"_s, money(percentOf(article.price, tiers[i].second))}});
    }
}

struct Partner
{
    QString number;
    QString shortName;   // display form
    QString name;
    QString postcode;
    QString street;
    QString group;       // collective account or customer group
};

void writePartner(Writer &writer, const QString &firm, const QString &className, const QString &keyName,
                  const QString &groupName, const Partner &partner)
{
    writer.save(className, firm,
                {{keyName, partner.number},
                 {u"Kurzbez"_s, server(partner.shortName)},
                 {u"Name"_s, server(partner.name)},
                 {u"PLZ"_s, partner.postcode},
                 {u"Strasse"_s, server(partner.street)},
                 {groupName, partner.group}});
}

Partner addressed(Partner partner, Random &random)
{
    const Place &place = Places[random.below(qsizetype(std::size(Places)))];
    partner.postcode = text(place.postcode);
    partner.street = random.pick(split(Streets));
    partner.street += u' ' + QString::number(random.between(1, 140));
    if (!partner.name.contains(u','))
        partner.name += u", " + text(place.town);
    return partner;
}

struct Firm1Suppliers
{
    QList<Partner> partners;
    QMap<Trade, QStringList> byTrade;
};

Firm1Suppliers firm1Suppliers()
{
    Firm1Suppliers result;
    Random random(0x5EED0001ULL);
    int number = FirstSupplierNumber;
    auto add = [&](const QString &shortName, const QString &name, Trade trade) {
        const QString key = QString::number(number++);
        result.partners << addressed({key, shortName, name, {}, {}, accountOf(trade)}, random);
        result.byTrade[trade] << key;
    };
    for (const Supplier &supplier : IndustrySuppliers)
        add(text(supplier.shortName), text(supplier.name), supplier.trade);
    for (const Supplier &supplier : ToolSuppliers)
        add(text(supplier.shortName), text(supplier.name), supplier.trade);
    // Regional builders' merchants fill the list; none of them sells tools.
    const QStringList surnames = split(Surnames);
    int i = 0;
    while (result.partners.size() < SupplierCount) {
        const RegionalSupplier &regional = RegionalSuppliers[i % 4];
        const QString surname = surnames[(i * 7 + i / 4) % surnames.size()];
        add(upper(surname) + u' ' + upper(text(regional.kind)), text(regional.kind) + u' ' + surname + u" GmbH",
            regional.trade);
        ++i;
    }
    return result;
}

QList<Partner> firm1Customers()
{
    const QStringList surnames = split(Surnames);
    QList<std::pair<int, int>> combinations;
    for (int t = 0; t < int(std::size(CustomerTrades)); ++t) {
        for (int s = 0; s < surnames.size(); ++s)
            combinations.append({t, s});
    }
    Random random(0x5EED0002ULL);
    shuffle(combinations, random);
    QList<Partner> customers;
    for (int i = 0; i < CustomerCount; ++i) {
        const CustomerTrade &trade = CustomerTrades[combinations[i].first];
        const QString &surname = surnames[combinations[i].second];
        customers << addressed({QString::number(FirstCustomerNumber + i),
                                text(trade.shortName).arg(upper(surname)),
                                text(trade.name).arg(surname), {}, {}, text(trade.group)},
                               random);
    }
    return customers;
}

QList<Article> firm1Articles(const DemoSize &size, const QMap<Trade, QStringList> &suppliersByTrade)
{
    QList<Article> articles;
    articles.reserve(size.articles);
    const QStringList &toolSuppliers = suppliersByTrade.value(Trade::Tools);
    int collective = 0;
    for (int i = 0; i < int(std::size(FixedArticles)); ++i) {
        const FixedArticle &fixed = FixedArticles[i];
        Random random(seedFor(0xF1ED, quint64(i)));
        Article article;
        article.number = QString::number(100001 + i);
        article.description = text(fixed.description);
        article.collective = fixed.collective;
        article.salesUnit = article.priceUnit = text(fixed.salesUnit);
        article.centralNumber = centralNumberOf(i, 1);
        article.price = fixed.priceCents;
        article.grossPurchase = percentOf(fixed.priceCents, 68);
        article.netPurchase = percentOf(article.grossPurchase, i % 3 == 0 ? 100 : 92);
        article.quantitySold = text(fixed.quantitySold);
        article.turnover = fixed.turnoverCents;
        article.discounts = percentOf(fixed.turnoverCents, i % 5);
        article.cost = fixed.priceCents == 0 ? percentOf(fixed.turnoverCents, 71)
                                             : article.quantitySold.toLongLong() * article.netPurchase;
        article.subGroup = fixed.subGroup;
        article.supplier = fixed.subGroup / 100 == 7 ? toolSuppliers[7] // fischer
                                                     : random.pick(suppliersByTrade.value(Trade::Building));
        if (fixed.collective)
            article.ownTexts = collectiveTexts()[collective++];
        articles << article;
    }
    const QList<Variant> &variants = allVariants();
    for (int i = demo::FixedArticleCount; i < size.articles; ++i) {
        const int bulk = i - demo::FixedArticleCount;
        Random random(seedFor(0xA271C1E, quint64(i)));
        Article article = generatedArticle(QString::number(100001 + i), variants[bulk % variants.size()],
                                           int(bulk / variants.size()), random, suppliersByTrade);
        article.centralNumber = centralNumberOf(i, 1);
        articles << article;
    }
    return articles;
}

void writeFirm1(Writer &writer, const DemoSize &size, QDate today)
{
    const QString firm = u"1"_s;
    writeNamedList(writer, firm, u"TV.Einheit"_s, u"Code"_s, Units);
    writeNamedList(writer, firm, u"TV.Abteilung"_s, u"AbtNr"_s, ArticleDepartments);
    QList<int> allMainGroups;
    for (const MainGroup &group : MainGroups)
        allMainGroups << group.number;
    writeGroups(writer, firm, allMainGroups);

    writeAccounts(writer, firm, u"L"_s, SupplierAccounts1);
    writeAccounts(writer, firm, u"K"_s, CustomerAccounts1);

    const Firm1Suppliers suppliers = firm1Suppliers();
    for (const Partner &supplier : suppliers.partners)
        writePartner(writer, firm, u"TV.Lieferant"_s, u"Lnr"_s, u"SaKonto"_s, supplier);
    writeNamedList(writer, firm, u"TV.ParKundenGruppen"_s, u"Gruppe"_s, CustomerGroups);
    for (const Partner &customer : firm1Customers())
        writePartner(writer, firm, u"TV.Kunde"_s, u"Knr"_s, u"Gruppe"_s, customer);

    const QList<Article> articles = firm1Articles(size, suppliers.byTrade);
    for (const Article &article : articles)
        writeArticle(writer, firm, article);
    for (int i = 0; i < articles.size(); ++i) {
        Random random(seedFor(0x57AFFE1, quint64(i)));
        if (i == 0) {
            // The cement's pallet prices.
            writer.save(u"TV.ArtikelStaffel"_s, firm,
                        {{u"Artnr"_s, articles[0].number}, {u"MengeAb"_s, u"40"_s}, {u"Preis"_s, u"7.45"_s}});
            writer.save(u"TV.ArtikelStaffel"_s, firm,
                        {{u"Artnr"_s, articles[0].number}, {u"MengeAb"_s, u"120"_s}, {u"Preis"_s, u"6.95"_s}});
            continue;
        }
        writeTiers(writer, firm, articles[i], random);
    }

    writeCompetitorsAndPriceTypes(writer, firm, Competitors1, PriceTypes1);

    PositionWriter positions(writer, firm, articles, Competitors1, PriceTypes1, today);
    for (const FixedPosition &fixed : FixedPositions) {
        const Article &article = articles[fixed.article];
        const qint64 base = article.collective ? fixed.ownPriceCents : article.price;
        // The fixed positions differ in their keys; none is ever skipped.
        [[maybe_unused]] const bool written = positions.write(article, priceTypeNamed(PriceTypes1, fixed.priceType),
                        text(fixed.competitor), fixed.startAge, fixed.changeAge, fixed.quantity,
                        percentOf(base, fixed.percent), fixed.ownPriceCents,
                        fixed.ownText ? text(fixed.ownText) : QString(), fixed.note ? text(fixed.note) : QString(),
                        u"0.00"_s, 14);
        Q_ASSERT(written);
    }
    Random random(0x905171045ULL);
    positions.writeGenerated(size.positions - demo::FixedPositionCount, random);
}

// Firm 2, the branch: a few records of its own. Its article numbers overlap
// firm 1's with other articles behind them.
void writeFirm2(Writer &writer, QDate today)
{
    const QString firm = u"2"_s;
    writeNamedList(writer, firm, u"TV.Einheit"_s, u"Code"_s, Units2);
    writeNamedList(writer, firm, u"TV.Abteilung"_s, u"AbtNr"_s, ArticleDepartments2);
    writeGroups(writer, firm, {1, 4, 7});

    writeAccounts(writer, firm, u"L"_s, SupplierAccounts2);
    writeAccounts(writer, firm, u"K"_s, CustomerAccounts2);

    Random random(0x5EED0003ULL);
    QMap<Trade, QStringList> byTrade;
    int number = 80001;
    for (const Supplier &supplier : Suppliers2) {
        const QString key = QString::number(number++);
        writePartner(writer, firm, u"TV.Lieferant"_s, u"Lnr"_s, u"SaKonto"_s,
                     addressed({key, text(supplier.shortName), text(supplier.name), {}, {}, accountOf(supplier.trade)},
                               random));
        byTrade[supplier.trade] << key;
        if (supplier.trade == Trade::Building)
            byTrade[Trade::Wood] << key;
    }

    writeNamedList(writer, firm, u"TV.ParKundenGruppen"_s, u"Gruppe"_s, CustomerGroups2);
    const QStringList surnames = split(Surnames);
    for (int i = 0; i < 15; ++i) {
        const CustomerTrade &trade = CustomerTrades[(i * 5) % int(std::size(CustomerTrades))];
        const QString &surname = surnames[(i * 11 + 3) % surnames.size()];
        const QString group = i % 3 == 0 ? u"10"_s : i % 3 == 1 ? u"20"_s : u"70"_s;
        writePartner(writer, firm, u"TV.Kunde"_s, u"Knr"_s, u"Gruppe"_s,
                     addressed({QString::number(20001 + i),
                                text(trade.shortName).arg(upper(surname)),
                                text(trade.name).arg(surname), {}, {}, group},
                               random));
    }

    QList<Variant> variants;
    for (const Variant &variant : allVariants()) {
        const int subGroup = Families[variant.family].subGroup;
        // Only what its few units and sub groups cover.
        if (subGroup == 101 || subGroup == 102 || subGroup == 401 || subGroup == 403 || subGroup == 701
            || subGroup == 702 || subGroup == 704)
            variants << variant;
    }
    shuffle(variants, random);
    QList<Article> articles;
    for (int i = 0; i < demo::Firm2Articles; ++i) {
        Random articleRandom(seedFor(0xF2A271C1E, quint64(i)));
        Article article = generatedArticle(QString::number(100001 + i), variants[i], 0, articleRandom, byTrade);
        article.centralNumber = centralNumberOf(i, 2);
        writeArticle(writer, firm, article);
        writeTiers(writer, firm, article, articleRandom);
        articles << article;
    }

    writeCompetitorsAndPriceTypes(writer, firm, Competitors2, PriceTypes2);
    PositionWriter positions(writer, firm, articles, Competitors2, PriceTypes2, today);
    Random positionRandom(0x905171046ULL);
    positions.writeGenerated(demo::Firm2Positions, positionRandom);
}

void writeLogins(Writer &writer)
{
    using tolven::DisplayToServer;
    for (const Person &person : people()) {
        writer.save(u"TV.ParPersEdv"_s, person.login.firm,
                    {{u"Personalcode"_s, person.login.code},
                     {u"Passwort"_s, person.login.password},
                     {u"AKTIV"_s, person.login.active ? u"J"_s : u"N"_s},
                     {u"PNAME"_s, DisplayToServer(person.login.name)},
                     {u"ABTNR"_s, person.department},
                     {u"DW"_s, person.dw},
                     {u"BERGRP"_s, person.group},
                     {u"PNR"_s, person.personNumber}});
    }
    for (const Department &department : departments()) {
        writer.save(u"TV.ParPersAbt"_s, department.firm,
                    {{u"ABTNR"_s, department.number}, {u"abtbez"_s, DisplayToServer(department.name)}});
    }
    for (const PersonBase &base : personBases()) {
        writer.save(u"TV.PersBasis"_s, base.firm,
                    {{u"PNR"_s, base.number}, {u"fax"_s, base.fax}, {u"EMAIL"_s, base.email}});
    }
}

} // namespace

QList<DemoLogin> DemoLogins()
{
    QList<DemoLogin> logins;
    for (const Person &person : people())
        logins << person.login;
    return logins;
}

QString DemoSizeError(const DemoSize &size)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    if (size.articles < demo::FixedArticleCount || size.articles > demo::MaxArticles) {
        return u"Die Demofirma braucht zwischen " + german.toString(demo::FixedArticleCount) + u" und "
                + german.toString(demo::MaxArticles) + u" Artikel; verlangt waren " + german.toString(size.articles)
                + u'.';
    }
    if (size.positions < demo::FixedPositionCount || size.positions > demo::MaxPositions) {
        return u"Die Demofirma braucht zwischen " + german.toString(demo::FixedPositionCount) + u" und "
                + german.toString(demo::MaxPositions) + u" Positionen; verlangt waren "
                + german.toString(size.positions) + u'.';
    }
    if (qint64(size.positions) > qint64(size.articles) * demo::MaxPositionsPerArticle) {
        const qint64 needed = (qint64(size.positions) + demo::MaxPositionsPerArticle - 1) / demo::MaxPositionsPerArticle;
        return u"Für " + german.toString(size.positions) + u" Positionen braucht es mindestens "
                + german.toString(needed) + u" Artikel (höchstens " + german.toString(demo::MaxPositionsPerArticle)
                + u" Positionen je Artikel); verlangt waren " + german.toString(size.articles) + u'.';
    }
    return {};
}

QList<DemoCount> FillDemoData(tolven::ServerFactory &factory, const DemoSize &size, QDate today)
{
    if (const QString error = DemoSizeError(size); !error.isEmpty())
        throw tolven::AccessError(tolven::ErrorNumber::InvalidValue, error);
    if (!today.isValid())
        throw tolven::AccessError(tolven::ErrorNumber::InvalidValue,
                                  u"Für die Demodaten fehlt ein gültiges Tagesdatum."_s);

    std::unique_ptr<tolven::ServerObject> windows = factory.classObject(u"TV.Windows"_s);
    windows->callMethod(u"Xecute"_s, {u"TSTART"_s});
    Writer writer(factory);
    try {
        writeLogins(writer);
        writeFirm1(writer, size, today);
        writeFirm2(writer, today);
        windows->callMethod(u"Xecute"_s, {u"TCOMMIT"_s});
    } catch (...) {
        if (factory.isConnected()) {
            try {
                windows->callMethod(u"Xecute"_s, {u"TROLLBACK"_s});
            } catch (...) {
                // The failure itself is what the caller hears about.
            }
        }
        throw;
    }
    windows->sys_Close();
    return writer.counts();
}

} // namespace store
