#include "FMArtsu.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "access/Dialogs.h"
#include "access/DigitsValidator.h"
#include "access/cacheapi.h"
#include "common/Icons.h"
#include "lookup/ArticleHitModel.h"
#include "lookup/SearchKeyField.h"
#include "lookup/TolvenSu.h"
#include "objectapi/Digits.h"
#include "objectapi/TextCheck.h"
#include "objectapi/TextConversion.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The list's columns keep these proportions of its width.
constexpr int ColumnUnits[ArticleHitModel::ColumnCount] = {45, 350, 45};

QString FirstWord(const QString &text)
{
    return Piece(text, u" "_s, 1);
}

QComboBox *MakeChoice(QWidget *parent, const QString &name, const QStringList &entries, int chosen)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(entries);
    combo->setCurrentIndex(chosen);
    return combo;
}

} // namespace

FMArtsu::FMArtsu(QWidget *parent)
    : QDialog(parent)
    , m_key(new SearchKeyField(this))
    , m_active(MakeChoice(this, u"SAKTIV"_s, {QString(), u"J"_s, u"N"_s, u"Z"_s}, 1))
    , m_listed(MakeChoice(this, u"SGEL"_s, {QString(), u"J"_s, u"N"_s, u"A"_s, u"B"_s, u"C"_s}, 0))
    , m_supplier(new QLineEdit(this))
    , m_supplierSearch(new QPushButton(AppIcon(u"search"_s), QString(), this))
    , m_supplierName(new QLineEdit(this))
    , m_mainGroup(new QComboBox(this))
    , m_subGroup(new QComboBox(this))
    , m_department(new QComboBox(this))
    , m_search(new QPushButton(u"Suchen"_s, this))
    , m_list(new QTableView(this))
    , m_hits(new ArticleHitModel(this))
{
    setObjectName(u"FMArtsu"_s);
    setWindowTitle(u"Suche nach Artikel"_s);
    setModal(true);

    m_key->setObjectName(u"SKBEZ"_s);
    m_supplier->setObjectName(u"SLNR"_s);
    m_supplier->setMaxLength(SupplierNumberDigits);
    m_supplier->setValidator(new DigitsValidator(SupplierNumberDigits, m_supplier));
    m_supplier->setMaximumWidth(m_supplier->fontMetrics().horizontalAdvance(u"0000000"_s) + 16);
    m_supplier->installEventFilter(this);
    m_supplierSearch->setObjectName(u"Suchen"_s);
    m_supplierSearch->setToolTip(u"Lieferantensuche"_s);
    m_supplierName->setObjectName(u"LBEZ"_s);
    m_supplierName->setReadOnly(true);
    m_supplierName->setFocusPolicy(Qt::ClickFocus);
    m_mainGroup->setObjectName(u"SHGRP"_s);
    m_subGroup->setObjectName(u"SUGRP"_s);
    m_department->setObjectName(u"SABTNR"_s);
    m_search->setObjectName(u"BUSuch"_s);
    // Enter chooses in the list and looks up the supplier; it never
    // presses a button of the dialog.
    m_search->setAutoDefault(false);
    m_supplierSearch->setAutoDefault(false);

    m_list->setObjectName(u"ARTSULI"_s);
    SetUpHitList(*m_list, m_hits);
    m_hits->setPageFetcher([this] { FetchArticlePage(*this); });

    auto label = [this](const QString &text, QWidget *buddy) {
        auto *result = new QLabel(text, this);
        result->setBuddy(buddy);
        return result;
    };
    auto *layout = new QGridLayout(this);
    layout->addWidget(label(u"Kurzbezeichnung::"_s, m_key), 0, 0);
    layout->addWidget(m_key, 0, 1);
    layout->addWidget(label(u"Aktiv:"_s, m_active), 0, 2);
    layout->addWidget(m_active, 0, 3);
    layout->addWidget(label(u"Gelistet:"_s, m_listed), 0, 4);
    layout->addWidget(m_listed, 0, 5);
    auto *supplier = new QHBoxLayout;
    supplier->addWidget(m_supplier);
    supplier->addWidget(m_supplierSearch);
    supplier->addWidget(m_supplierName, 1);
    layout->addWidget(label(u"Lieferant:"_s, m_supplier), 1, 0);
    layout->addLayout(supplier, 1, 1, 1, 5);
    layout->addWidget(label(u"Hauptgruppe:"_s, m_mainGroup), 2, 0);
    layout->addWidget(m_mainGroup, 2, 1, 1, 3);
    layout->addWidget(label(u"Untergruppe:"_s, m_subGroup), 3, 0);
    layout->addWidget(m_subGroup, 3, 1, 1, 3);
    layout->addWidget(label(u"Abteilung:"_s, m_department), 4, 0);
    layout->addWidget(m_department, 4, 1, 1, 3);
    layout->addWidget(m_search, 2, 4, 3, 2, Qt::AlignCenter);
    layout->addWidget(m_list, 5, 0, 1, 6);
    layout->setRowStretch(5, 1);
    setFixedSize(660, 560);

    connect(m_mainGroup, &QComboBox::currentIndexChanged, this, &FMArtsu::SHGRP_Click);
    connect(m_supplierSearch, &QPushButton::clicked, this, &FMArtsu::Suchen_Click);
    connect(m_search, &QPushButton::clicked, this, &FMArtsu::BUSuch_Click);
    connect(m_list, &QAbstractItemView::activated, this, &FMArtsu::ARTSULI_Choose);
}

void FMArtsu::Form_Load()
{
    fillGroupList(m_mainGroup, u"d HGRP^TVCLSU"_s);
    fillGroupList(m_department, u"d ABTNR^TVCLSU"_s);
    m_active->setCurrentIndex(1);
    m_listed->setCurrentIndex(0);
    m_hits->clear();
}

void FMArtsu::fillGroupList(QComboBox *combo, const QString &command)
{
    QStringList fields;
    bool failed = false;
    const int count = DBCallD(command, QString(ListEntrySeparator), fields, failed);
    combo->clear();
    combo->addItem(QString());
    const QString fieldSeparator(ListFieldSeparator);
    for (int i = 1; i <= count; ++i)
        combo->addItem(Piece(fields.at(i), fieldSeparator, 1) + u' ' + Piece(fields.at(i), fieldSeparator, 2));
}

ArticleCriteria FMArtsu::criteria() const
{
    return {m_key->text(),
            FirstWord(m_mainGroup->currentText()),
            FirstWord(m_subGroup->currentText()),
            FirstWord(m_supplier->text()),
            FirstWord(m_department->currentText()),
            m_active->currentText(),
            m_listed->currentText()};
}

void FMArtsu::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const int width = m_list->viewport()->width();
    const int units = ColumnUnits[0] + ColumnUnits[1] + ColumnUnits[2];
    for (int column = 0; column < ArticleHitModel::ColumnCount; ++column)
        m_list->setColumnWidth(column, width * ColumnUnits[column] / units);
    m_key->setFocus();
}

bool FMArtsu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_supplier && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            SLNR_Enter();
            return true;
        }
        if (key->text() == u"$") {
            Suchen_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FMArtsu::SHGRP_Click()
{
    const QString group = FirstWord(m_mainGroup->currentText());
    // The number goes into the command as it is: only digits may.
    if (!IsDigits(group)) {
        m_subGroup->clear();
        return;
    }
    fillGroupList(m_subGroup, u"d UGRP^TVCLSU(" + group + u')');
}

void FMArtsu::SLNR_Enter()
{
    const QString number = m_supplier->text();
    if (number.isEmpty())
        return;
    const std::optional<QString> command = SupplierNameCommand(number);
    if (!command) {
        refuseSupplierNumber(number);
        return;
    }
    bool failed = false;
    m_supplierName->setText(DBCall(*command, failed));
}

void FMArtsu::Suchen_Click()
{
    const QString number = SelectSupplier(this);
    if (number.isEmpty())
        return;
    if (!IsSupplierNumber(number)) {
        refuseSupplierNumber(number);
        return;
    }
    m_supplier->setText(number);
    SLNR_Enter();
}

void FMArtsu::BUSuch_Click()
{
    if (const QString complaint = ForbiddenCharacterComplaint(u"Kurzbezeichnung"_s, m_key->text(), false);
        !complaint.isEmpty()) {
        MsgBox(this, QMessageBox::Information, windowTitle(), complaint);
        m_key->setFocus();
        return;
    }
    m_hits->clear();
    FetchArticlePage(*this);
}

void FMArtsu::ARTSULI_Choose(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= m_hits->hitCount())
        return;
    m_selected = m_hits->hit(index.row()).number;
    accept();
}

void FMArtsu::refuseSupplierNumber(const QString &number)
{
    MsgBox(this, QMessageBox::Information, windowTitle(),
           u"Die Lieferantennummer \"" + number + u"\" ist ungültig: erlaubt sind 1 bis "
               + QString::number(SupplierNumberDigits) + u" Ziffern.");
}

} // namespace tolven
