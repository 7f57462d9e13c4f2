#include "ChangeHistory.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>

#include "access/cacheapi.h"
#include "common/DisplayFormat.h"
#include "objectapi/ResultSet.h"
#include "objectapi/ServerFactory.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString HistoryClass = u"Konkur.Verlauf"_s;

QList<ChangeEntry> readHistory(const QString &query, const QStringList &arguments)
{
    QList<ChangeEntry> entries;
    std::unique_ptr<ResultSet> result = Factory().openQuery(HistoryClass, query);
    result->execute(arguments);
    while (result->next()) {
        // Zeitpunkt, Personalcode, Name, Klasse, Id, Version, Aktion, Eigenschaft, alt, neu
        QDateTime when = QDateTime::fromString(result->getColumn(1), u"yyyy-MM-dd HH:mm:ss"_s);
        when.setTimeZone(QTimeZone::utc());
        entries.append({when.toLocalTime(), result->getColumn(2), result->getColumn(3), result->getColumn(5),
                        result->getColumn(7), result->getColumn(8), result->getColumn(9), result->getColumn(10)});
    }
    CloseServerObject(result);
    return entries;
}

QString valueText(const QString &stored, ChangeField::Kind kind, const QLocale &locale)
{
    if (stored.isEmpty())
        return stored;
    switch (kind) {
    case ChangeField::Date:
        if (const QDate date = QDate::fromString(stored, Qt::ISODate); date.isValid())
            return DisplayDate(date);
        break;
    case ChangeField::Number: {
        bool ok = false;
        const double number = QLocale::c().toDouble(stored, &ok);
        if (ok) {
            const qsizetype point = stored.indexOf(u'.');
            return locale.toString(number, 'f', point < 0 ? 0 : int(stored.size() - point - 1));
        }
        break;
    }
    case ChangeField::Flag:
        return stored == u"J" ? u"ja"_s : stored == u"N" ? u"nein"_s : stored;
    case ChangeField::Text:
        break;
    }
    return stored;
}

QString timeText(const QDateTime &when)
{
    return DisplayDate(when.date()) + u' ' + when.time().toString(u"HH:mm:ss"_s);
}

} // namespace

QList<ChangeEntry> ReadObjectHistory(const QString &className, const QString &id)
{
    return readHistory(u"Objekt"_s, {className, id});
}

QList<ChangeEntry> ReadClassHistory(const QString &className, const QString &firm)
{
    return readHistory(u"Liste"_s, {className, firm});
}

QString ChangedByText(const ChangeEntry &entry)
{
    if (!entry.when.isValid())
        return {};
    const QString who = entry.name.isEmpty() ? entry.person : entry.name;
    QString text = who.isEmpty() ? QString() : u"von " + who + u' ';
    return text + u"am " + DisplayDate(entry.when.date()) + u" um " + entry.when.time().toString(u"HH:mm"_s);
}

QList<QStringList> ChangeLines(const QList<ChangeEntry> &entries, const QList<ChangeField> &fields)
{
    const QLocale locale;
    QList<QStringList> lines;
    lines.reserve(entries.size());
    for (const ChangeEntry &entry : entries) {
        const QString who = entry.name.isEmpty() ? entry.person : entry.person + u" (" + entry.name + u')';
        if (entry.action == u"N") {
            lines.append({timeText(entry.when), who, u"(angelegt)"_s, QString(), QString()});
            continue;
        }
        ChangeField field{entry.property, entry.property, ChangeField::Text};
        for (const ChangeField &known : fields) {
            if (known.property.compare(entry.property, Qt::CaseInsensitive) == 0)
                field = known;
        }
        lines.append({timeText(entry.when), who, field.caption, valueText(entry.oldValue, field.kind, locale),
                      entry.action == u"L" ? u"(gelöscht)"_s : valueText(entry.newValue, field.kind, locale)});
    }
    return lines;
}

QList<ChangeEntry> ListEntryChanges(const QList<ChangeEntry> &listHistory, const QString &codeProperty,
                                    const QString &code, const QHash<QString, QString> &current)
{
    // What each replacement deleted, oldest first: the entry as it was before it.
    struct State
    {
        ChangeEntry deletion;
        QHash<QString, QString> values;
    };
    QList<State> states;
    QHash<QString, qsizetype> stateOf;
    for (auto entry = listHistory.crbegin(); entry != listHistory.crend(); ++entry) {
        if (entry->action != u"L")
            continue;
        auto found = stateOf.constFind(entry->id);
        if (found == stateOf.cend()) {
            found = stateOf.insert(entry->id, states.size());
            states.append({*entry, {}});
        }
        states[*found].values.insert(entry->property, entry->oldValue);
    }
    states.removeIf([&](const State &state) { return state.values.value(codeProperty) != code; });

    QList<ChangeEntry> changes;
    for (qsizetype i = states.size() - 1; i >= 0; --i) {
        const State &before = states.at(i);
        const QHash<QString, QString> &after = i + 1 < states.size() ? states.at(i + 1).values : current;
        QStringList properties = before.values.keys() + after.keys();
        properties.removeDuplicates();
        properties.sort();
        for (const QString &property : std::as_const(properties)) {
            const QString was = before.values.value(property);
            const QString is = after.value(property);
            if (was == is)
                continue;
            ChangeEntry change = before.deletion;
            change.action = u"A"_s;
            change.property = property;
            change.oldValue = was;
            change.newValue = is;
            changes.append(change);
        }
    }
    return changes;
}

ChangeHistoryDialog::ChangeHistoryDialog(const QString &subject, const QList<QStringList> &lines, QWidget *parent)
    : QDialog(parent)
    , m_table(new QTableWidget(int(lines.size()), 5, this))
{
    setObjectName(u"Aenderungsverlauf"_s);
    setWindowTitle(u"Änderungsverlauf"_s);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(subject, this);
    label->setObjectName(u"Gegenstand"_s);
    label->setWordWrap(true);
    layout->addWidget(label);

    m_table->setObjectName(u"Verlauf"_s);
    m_table->setHorizontalHeaderLabels({u"Zeitpunkt"_s, u"Benutzer"_s, u"Feld"_s, u"alt"_s, u"neu"_s});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    for (int row = 0; row < lines.size(); ++row) {
        for (int column = 0; column < 5; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(lines.at(row).value(column)));
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    if (lines.isEmpty()) {
        auto *none = new QLabel(u"Zu diesem Eintrag ist keine Änderung aufgezeichnet."_s, this);
        none->setObjectName(u"KeinVerlauf"_s);
        layout->addWidget(none);
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(u"Schließen"_s);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
    m_table->setFocus();
    if (!lines.isEmpty())
        m_table->setCurrentCell(0, 0);
}

} // namespace tolven
