#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QPushButton;
class QTableView;

namespace tolven {

class PartnerHitModel;
class SearchKeyField;

// What tells the supplier search and the customer search apart.
struct PartnerKind
{
    QString dialogName;       // "FMLnrsu"
    QString title;            // "Suche nach Lieferant"
    QString keyLabel;
    QString groupName;        // object name of the group list
    QString groupLabel;
    QString listName;         // object name of the hit list
    QString numberHeader;
    // The group list: the class query that lists the groups, its arguments
    // after the firm, and what a failure reading it is called.
    QString groupClass;
    QString groupQuery;
    QStringList groupArguments;
    QString groupOperation;
    // Customers may search all groups: an empty entry comes first and no
    // entry is chosen. Suppliers start on the first account.
    bool leadingEmptyGroup;
};

// The supplier and customer searches: a search key, a group list filled
// from the server when the dialog loads, and the hits of one search (at most
// PartnerHitModel::MaxHits). Choosing a hit (double click or Enter) takes its
// number and closes the dialog.
class PartnerSearch : public QDialog
{
    Q_OBJECT

public:
    // Fills the group list; a server error is shown and the entries read
    // until then stay.
    void Form_Load();

    QString searchKey() const;
    QString groupText() const;
    PartnerHitModel &hits() const { return *m_hits; }
    // The number of the chosen hit; "" until one is chosen.
    QString selectedNumber() const { return m_selected; }

protected:
    PartnerSearch(const PartnerKind &kind, QWidget *parent);

    // Runs the search of the dialog's criteria: FetchSupplierHits or
    // FetchCustomerHits.
    virtual void fetchHits() = 0;

    void showEvent(QShowEvent *event) override;

private:
    void BUSuch_Click();
    void list_Choose(const QModelIndex &index);
    // The columns' widths: shares of the list's width.
    void sizeColumns();

    PartnerKind m_kind;
    SearchKeyField *m_key;
    QComboBox *m_group;
    QPushButton *m_search;
    QTableView *m_list;
    PartnerHitModel *m_hits;
    QString m_selected;
    bool m_columnsSized = false;
};

} // namespace tolven
