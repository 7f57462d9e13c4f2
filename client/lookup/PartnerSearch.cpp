#include "PartnerSearch.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "access/Dialogs.h"
#include "access/cacheapi.h"
#include "lookup/PartnerHitModel.h"
#include "lookup/SearchKeyField.h"
#include "lookup/TolvenSu.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Each column's width as a share of the list's width, in percent. They add
// up to 110: the street reaches beyond the visible part of the list.
constexpr int ColumnShares[PartnerHitModel::ColumnCount] = {8, 20, 30, 8, 44};

} // namespace

PartnerSearch::PartnerSearch(const PartnerKind &kind, QWidget *parent)
    : QDialog(parent)
    , m_kind(kind)
    , m_key(new SearchKeyField(this))
    , m_group(new QComboBox(this))
    , m_search(new QPushButton(u"Suchen"_s, this))
    , m_list(new QTableView(this))
    , m_hits(new PartnerHitModel(kind.numberHeader, this))
{
    setObjectName(kind.dialogName);
    setWindowTitle(kind.title);
    setModal(true);

    m_key->setObjectName(u"SKBEZ"_s);
    m_group->setObjectName(kind.groupName);
    m_group->setMinimumContentsLength(24);
    m_search->setObjectName(u"BUSuch"_s);
    // Enter in the search field does not search.
    m_search->setAutoDefault(false);
    m_list->setObjectName(kind.listName);
    SetUpHitList(*m_list, m_hits);

    auto *keyLabel = new QLabel(kind.keyLabel, this);
    keyLabel->setBuddy(m_key);
    auto *groupLabel = new QLabel(kind.groupLabel, this);
    groupLabel->setBuddy(m_group);
    auto *layout = new QGridLayout(this);
    layout->addWidget(keyLabel, 0, 0);
    layout->addWidget(m_key, 0, 1);
    layout->addWidget(groupLabel, 1, 0);
    layout->addWidget(m_group, 1, 1);
    layout->addWidget(m_search, 0, 3, 2, 1, Qt::AlignVCenter);
    layout->setColumnStretch(2, 1);
    layout->addWidget(m_list, 2, 0, 1, 4);
    layout->setRowStretch(2, 1);
    resize(760, 440);

    connect(m_search, &QPushButton::clicked, this, &PartnerSearch::BUSuch_Click);
    connect(m_list, &QAbstractItemView::activated, this, &PartnerSearch::list_Choose);
}

void PartnerSearch::Form_Load()
{
    m_group->clear();
    if (m_kind.leadingEmptyGroup)
        m_group->addItem(QString());
    try {
        BeginServerCall(false);
        std::unique_ptr<ResultSet> groups = Factory().openQuery(m_kind.groupClass, m_kind.groupQuery);
        groups->execute(QStringList{Context().Firm} + m_kind.groupArguments);
        while (groups->next())
            m_group->addItem(groups->getColumn(1) + GroupEntrySeparator + ServerToDisplay(groups->getColumn(2)));
        CloseServerObject(groups);
        EndServerCall(false);
    } catch (const AccessError &error) {
        ReportAccessError(error, m_kind.groupOperation);
    }
    m_group->setCurrentIndex(m_kind.leadingEmptyGroup ? -1 : 0);
}

QString PartnerSearch::searchKey() const
{
    return m_key->text();
}

QString PartnerSearch::groupText() const
{
    return m_group->currentText();
}

void PartnerSearch::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_columnsSized) {
        sizeColumns();
        m_columnsSized = true;
    }
    m_key->setFocus();
}

void PartnerSearch::sizeColumns()
{
    const int width = m_list->width();
    for (int column = 0; column < PartnerHitModel::ColumnCount; ++column)
        m_list->setColumnWidth(column, width * ColumnShares[column] / 100);
}

void PartnerSearch::BUSuch_Click()
{
    if (m_key->text().isEmpty()) {
        MsgBox(this, QMessageBox::NoIcon, u"Fehler: Suchbegriffseingabe"_s,
               u"Der Suchbegriff muss mindestens 1 Zeichen Lang sein"_s, QMessageBox::Ok);
        return;
    }
    if (const QString complaint = ForbiddenCharacterComplaint(u"Suchbegriff"_s, m_key->text(), false);
        !complaint.isEmpty()) {
        MsgBox(this, QMessageBox::Information, windowTitle(), complaint);
        m_key->setFocus();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    fetchHits();
    // An access error has already put the cursor back.
    if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void PartnerSearch::list_Choose(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= m_hits->hitCount())
        return;
    m_selected = m_hits->hit(index.row()).number;
    accept();
}

} // namespace tolven
