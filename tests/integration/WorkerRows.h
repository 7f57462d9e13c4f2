#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <utility>

// What the save worker (save_worker.cpp) writes and the process tests
// (tst_processes.cpp) look for: the positions it saves, each with every
// property in server form, and the two competitor lists it switches between.
namespace workerrows {

using namespace Qt::StringLiterals;

using Properties = QList<std::pair<QString, QString>>;

// The firm of the position tests (testsupport::positionfirm) and its user.
inline const QString Firm = u"7"_s;
inline const QString User = u"NEU"_s;
// The day the worker saves on, the change date of every row it stores.
inline const QDate SaveDay(2026, 3, 2);
// The note of every position the worker writes starts with this.
inline const QString NotePrefix = u"Zeile "_s;

// Position n of worker tag as the grid holds it, and as the store keeps it.
struct Row
{
    QString note;
    QDate from;
    double quantity;
    double price;
    double calculated;
};

inline Row PositionRow(int tag, int n)
{
    return {.note = NotePrefix + QString::number(tag) + u'/' + QString::number(n) + u": Prüfung \"ganz\"; €",
            .from = QDate(2026, 1, 1).addDays(n % 28),
            .quantity = double(tag * 100000 + n),
            .price = n + 0.25,
            .calculated = double(n % 50 + 1)};
}

inline Properties StoredProperties(int tag, int n)
{
    const Row row = PositionRow(tag, n);
    return {{u"konkur"_s, u"WERKHOF"_s},
            {u"Artnr"_s, u"200004"_s},
            {u"ArtBez"_s, QString()},
            {u"Preistyp"_s, u"L"_s},
            {u"DatumAb"_s, row.from.toString(Qt::ISODate)},
            {u"MengeAb"_s, QString::number(tag * 100000 + n)},
            {u"VKE"_s, u"Sack"_s},
            {u"PreisExcl"_s, QString::number(n) + u".25"},
            {u"PreisKalk"_s, QString::number(n % 50 + 1)},
            {u"VRE"_s, u"Pal"_s},
            {u"notiz"_s, row.note},
            {u"ZAnr"_s, u"Z-"_s + QString::number(n)},
            {u"AendDatum"_s, SaveDay.toString(Qt::ISODate)}};
}

// The competitor lists of the replace mode: "A" has 40 entries, "B" 60.
inline QList<std::pair<QString, QString>> CompetitorList(QChar name)
{
    const int size = name == u'A' ? 40 : 60;
    QList<std::pair<QString, QString>> list;
    for (int n = 1; n <= size; ++n) {
        const QString code = QString(name) + QString::number(n).rightJustified(2, u'0');
        list.append({code, u"Mitbewerber "_s + code + u" Gro~handel"});
    }
    return list;
}

} // namespace workerrows
