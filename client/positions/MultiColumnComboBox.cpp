#include "MultiColumnComboBox.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>

namespace tolven {

namespace {

// The lookup's rows behind one empty row. Any change of the lookup's shape is
// passed on as a reset, which is all a look-up list does; the lookup may also
// go before the box (a window deletes its children in the order it made them).
class LeadingEmptyEntryModel : public QAbstractTableModel
{
public:
    LeadingEmptyEntryModel(QAbstractItemModel *lookup, QObject *parent)
        : QAbstractTableModel(parent)
        , m_lookup(lookup)
        , m_rows(1 + lookup->rowCount())
        , m_columns(lookup->columnCount())
    {
        using Model = QAbstractItemModel;
        const auto begin = [this] { beginResetModel(); };
        const auto end = [this] { publishShape(); };
        connect(lookup, &Model::modelAboutToBeReset, this, begin);
        connect(lookup, &Model::modelReset, this, end);
        connect(lookup, &Model::rowsAboutToBeInserted, this, begin);
        connect(lookup, &Model::rowsInserted, this, end);
        connect(lookup, &Model::rowsAboutToBeRemoved, this, begin);
        connect(lookup, &Model::rowsRemoved, this, end);
        connect(lookup, &Model::rowsAboutToBeMoved, this, begin);
        connect(lookup, &Model::rowsMoved, this, end);
        connect(lookup, &Model::columnsAboutToBeInserted, this, begin);
        connect(lookup, &Model::columnsInserted, this, end);
        connect(lookup, &Model::columnsAboutToBeRemoved, this, begin);
        connect(lookup, &Model::columnsRemoved, this, end);
        connect(lookup, &Model::columnsAboutToBeMoved, this, begin);
        connect(lookup, &Model::columnsMoved, this, end);
        connect(lookup, &Model::layoutAboutToBeChanged, this, begin);
        connect(lookup, &Model::layoutChanged, this, end);
        connect(lookup, &Model::dataChanged, this,
                [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
                    emit dataChanged(index(topLeft.row() + 1, topLeft.column()),
                                     index(bottomRight.row() + 1, bottomRight.column()), roles);
                });
        connect(lookup, &Model::headerDataChanged, this, [this](Qt::Orientation orientation, int first, int last) {
            if (orientation == Qt::Horizontal)
                emit headerDataChanged(orientation, first, last);
        });
        // m_lookup is null by now; the reset makes the views forget its rows.
        connect(lookup, &QObject::destroyed, this, [this] {
            beginResetModel();
            publishShape();
        });
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_columns;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        // QComboBox asks with an invalid index while nothing is chosen.
        if (!index.isValid())
            return {};
        Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
        if (index.row() == 0)
            return role == Qt::DisplayRole || role == Qt::EditRole ? QVariant(QString()) : QVariant();
        return lookupIndex(index).data(role);
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Q_ASSERT(checkIndex(index, CheckIndexOption::ParentIsInvalid));
        if (index.row() == 0)
            return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
        return lookupIndex(index).flags();
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        const QAbstractItemModel *lookup = m_lookup.data();
        if (orientation != Qt::Horizontal || !lookup)
            return {};
        return lookup->headerData(section, orientation, role);
    }

private:
    // The shape changes only between the begin and end of a reset, also when
    // the lookup has gone before the views noticed it.
    void publishShape()
    {
        const QAbstractItemModel *lookup = m_lookup.data();
        m_rows = 1 + (lookup ? lookup->rowCount() : 0);
        m_columns = lookup ? lookup->columnCount() : 1;
        endResetModel();
    }

    // A valid index below the empty row exists only while the lookup does.
    QModelIndex lookupIndex(const QModelIndex &index) const
    {
        const QAbstractItemModel *lookup = m_lookup.data();
        return lookup ? lookup->index(index.row() - 1, index.column()) : QModelIndex();
    }

    QPointer<QAbstractItemModel> m_lookup;
    int m_rows;
    int m_columns;
};

} // namespace

MultiColumnComboBox::MultiColumnComboBox(QWidget *parent)
    : QComboBox(parent)
    , m_table(new QTableView)
    , m_lookup(nullptr)
    , m_leadingEmptyEntry(false)
    , m_unknownCode()
    , m_codeBeforeReset()
    , m_resetBegins()
    , m_resetEnds()
{
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setSectionsClickable(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setCornerButtonEnabled(false);
    setView(m_table); // the combo box takes ownership

    // Typed text is a filter value, never a new entry of the list.
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, &MultiColumnComboBox::forgetUnknownCode);
}

void MultiColumnComboBox::setLookup(QAbstractItemModel *lookup, bool leadingEmptyEntry)
{
    Q_ASSERT(lookup);
    disconnect(m_resetBegins);
    disconnect(m_resetEnds);
    m_lookup = lookup;
    m_leadingEmptyEntry = leadingEmptyEntry;
    // QComboBox deletes its previous model when it is the model's parent,
    // which is how an earlier empty-entry model goes.
    if (leadingEmptyEntry)
        setModel(new LeadingEmptyEntryModel(lookup, this));
    else
        setModel(lookup);
    setModelColumn(0);
    // Connected after QComboBox's own handling, which picks the first entry
    // (and empties an editable box) when its model is reset.
    m_resetBegins = connect(model(), &QAbstractItemModel::modelAboutToBeReset, this, &MultiColumnComboBox::rememberCode);
    m_resetEnds = connect(model(), &QAbstractItemModel::modelReset, this, &MultiColumnComboBox::restoreCode);
}

QAbstractItemModel *MultiColumnComboBox::lookup() const
{
    return m_lookup;
}

bool MultiColumnComboBox::hasLeadingEmptyEntry() const
{
    return m_leadingEmptyEntry;
}

QString MultiColumnComboBox::currentCode() const
{
    if (!isEditable() && currentIndex() < 0)
        return m_unknownCode;
    return currentText();
}

void MultiColumnComboBox::setCurrentCode(const QString &code)
{
    const int found = findText(code, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found >= 0) {
        setCurrentIndex(found);
        return;
    }
    if (isEditable()) {
        setCurrentIndex(-1);
        setEditText(code);
        return;
    }
    // A position may carry a code the list no longer has; it must survive an
    // edit of the cell that does not touch it. The placeholder goes first:
    // clearing it while no entry is chosen would make QComboBox choose one.
    m_unknownCode = code;
    setPlaceholderText(code);
    setCurrentIndex(-1);
}

QTableView *MultiColumnComboBox::tableView() const
{
    return m_table;
}

void MultiColumnComboBox::showPopup()
{
    m_table->resizeColumnsToContents();
    int width = 2 * m_table->frameWidth();
    const int columns = model()->columnCount(rootModelIndex());
    for (int column = 0; column < columns; ++column)
        width += m_table->columnWidth(column);
    if (count() > maxVisibleItems())
        width += m_table->verticalScrollBar()->sizeHint().width();
    // QComboBox sizes the popup to the box and the first column; the view's
    // minimum width widens it to all columns.
    m_table->setMinimumWidth(width);
    QComboBox::showPopup();
}

void MultiColumnComboBox::forgetUnknownCode(int index)
{
    if (index < 0 || m_unknownCode.isEmpty())
        return;
    m_unknownCode.clear();
    setPlaceholderText(QString());
}

void MultiColumnComboBox::rememberCode()
{
    m_codeBeforeReset = currentCode();
}

void MultiColumnComboBox::restoreCode()
{
    if (isEditable() || findText(m_codeBeforeReset, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        setCurrentCode(m_codeBeforeReset);
}

} // namespace tolven
