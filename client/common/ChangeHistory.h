#pragma once

#include <QDateTime>
#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>

class QTableWidget;

namespace tolven {

// One row of the server's change history: who changed which property of an
// object when, from what to what. A new object has one row without a
// property, a deleted one a row for each value it had.
struct ChangeEntry
{
    QDateTime when;        // local time
    QString person;        // personnel code
    QString name;          // the person's name, display form
    QString id;            // the object's id
    QString action;        // "N" new, "A" changed, "L" deleted
    QString property;
    QString oldValue;      // as stored
    QString newValue;
};

// How the history shows a property: its caption and the kind of value.
struct ChangeField
{
    enum Kind { Text, Date, Number, Flag };
    QString property;
    QString caption;
    Kind kind = Text;
};

// The history of one object of a class, newest first; throws AccessError.
QList<ChangeEntry> ReadObjectHistory(const QString &className, const QString &id);
// The history of every object of a class in the firm, newest first; throws AccessError.
QList<ChangeEntry> ReadClassHistory(const QString &className, const QString &firm);

// "von NAME am 09.12.2026 um 14:03:12", or empty without an entry: for
// messages about the last change of an object.
QString ChangedByText(const ChangeEntry &entry);

// The lines the history dialog shows: Zeitpunkt, Benutzer, Feld, alt, neu,
// in the locale's date and number forms.
QList<QStringList> ChangeLines(const QList<ChangeEntry> &entries, const QList<ChangeField> &fields);

// The changes of one entry of a list that is stored by replacing it whole
// (each save deletes every object and stores the list anew): from the
// values each replacement deleted, and the entry's values now, the changes
// that replacements made to the entry with that code, newest first, as
// changes ("A") of the properties that differ.
QList<ChangeEntry> ListEntryChanges(const QList<ChangeEntry> &listHistory, const QString &codeProperty,
                                    const QString &code, const QHash<QString, QString> &current);

// "Änderungsverlauf": the changes of one object, newest first.
class ChangeHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    ChangeHistoryDialog(const QString &subject, const QList<QStringList> &lines, QWidget *parent = nullptr);

private:
    QTableWidget *m_table;
};

} // namespace tolven
