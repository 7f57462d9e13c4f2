#pragma once

#include <QComboBox>
#include <QMetaObject>
#include <QPointer>
#include <QString>

class QAbstractItemModel;
class QTableView;

namespace tolven {

// A combo box whose list shows all columns of its model side by side under a
// header ("Code" | "Konkurerber"). Column 0 is the entry's code: it is what
// the closed box shows and what currentCode() returns. Serves the filter boxes
// of the main window and the drop-down editor of the position grid.
class MultiColumnComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit MultiColumnComboBox(QWidget *parent = nullptr);

    // Lists lookup's rows (the model stays the caller's). With
    // leadingEmptyEntry an empty entry comes first and is chosen, so that
    // "nothing" can be picked; otherwise the first row is chosen. When the
    // lookup is refilled, the chosen code stays chosen if the new list has it
    // (an editable box keeps its text in any case).
    void setLookup(QAbstractItemModel *lookup, bool leadingEmptyEntry);
    QAbstractItemModel *lookup() const;
    bool hasLeadingEmptyEntry() const;

    // The chosen code; in an editable box whatever the user typed.
    QString currentCode() const;
    // Chooses the entry with this code. An editable box takes an unknown code
    // as its text; a fixed-list box shows it greyed as the placeholder and
    // keeps returning it from currentCode() until another entry is chosen.
    void setCurrentCode(const QString &code);

    QTableView *tableView() const;

    // Sizes the columns to their contents and the list to all columns.
    void showPopup() override;

private:
    void forgetUnknownCode(int index);
    void rememberCode();
    void restoreCode();

    QTableView *m_table;
    QPointer<QAbstractItemModel> m_lookup;
    bool m_leadingEmptyEntry;
    QString m_unknownCode;
    QString m_codeBeforeReset;
    QMetaObject::Connection m_resetBegins;
    QMetaObject::Connection m_resetEnds;
};

} // namespace tolven
