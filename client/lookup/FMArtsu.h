#pragma once

#include <QDialog>
#include <QString>

#include "lookup/TolvenSu.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tolven {

class ArticleHitModel;
class SearchKeyField;

// "Suche nach Artikel": articles by search key of the short description,
// status, supplier, groups and department. The hits arrive page by page as
// the list shows them. Choosing a hit (double click or Enter) takes its
// number and closes the dialog.
class FMArtsu : public QDialog
{
    Q_OBJECT

public:
    explicit FMArtsu(QWidget *parent = nullptr);

    // Fills the main group and department lists from the server and sets
    // the status lists to their first choice.
    void Form_Load();

    // The criteria as the search sends them.
    ArticleCriteria criteria() const;
    ArticleHitModel &hits() const { return *m_hits; }
    RunningArticleSearch &runningSearch() { return m_running; }
    QTableView *list() const { return m_list; }
    // The number of the chosen article; "" until one is chosen.
    QString selectedArticle() const { return m_selected; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Refills combo with an empty entry and the entries of the ^TVCLSU list
    // command, each "number name".
    void fillGroupList(QComboBox *combo, const QString &command);
    void SHGRP_Click();
    void SLNR_Enter();
    void Suchen_Click();
    void BUSuch_Click();
    void ARTSULI_Choose(const QModelIndex &index);
    // A supplier number that the field cannot hold or the name command
    // cannot carry, in a box with the dialog's title.
    void refuseSupplierNumber(const QString &number);

    SearchKeyField *m_key;
    QComboBox *m_active;
    QComboBox *m_listed;
    QLineEdit *m_supplier;
    QPushButton *m_supplierSearch;
    QLineEdit *m_supplierName;
    QComboBox *m_mainGroup;
    QComboBox *m_subGroup;
    QComboBox *m_department;
    QPushButton *m_search;
    QTableView *m_list;
    ArticleHitModel *m_hits;
    RunningArticleSearch m_running;
    QString m_selected;
};

} // namespace tolven
