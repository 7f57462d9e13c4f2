#include "DropDownDelegate.h"

#include <QSortFilterProxyModel>

#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"

namespace tolven {

namespace {

// The look-up list with each code once: a row whose code an earlier row
// already has is left out.
class FirstRowPerCode : public QSortFilterProxyModel
{
public:
    FirstRowPerCode(LookupTable *lookup, QObject *parent)
        : QSortFilterProxyModel(parent)
        , m_lookup(lookup)
    {
        setSourceModel(lookup);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &) const override
    {
        return m_lookup->findCode(m_lookup->text(row, 0)) == row;
    }

private:
    LookupTable *m_lookup;
};

} // namespace

DropDownDelegate::DropDownDelegate(LookupTable *lookup, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_lookup(lookup)
    , m_list(new FirstRowPerCode(lookup, this))
{
    Q_ASSERT(m_lookup);
}

QWidget *DropDownDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new MultiColumnComboBox(parent);
    editor->setFrame(false);
    editor->setLookup(m_list, false);
    return editor;
}

void DropDownDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = qobject_cast<MultiColumnComboBox *>(editor);
    Q_ASSERT(combo);
    combo->setCurrentCode(index.data(Qt::EditRole).toString());
}

void DropDownDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = qobject_cast<MultiColumnComboBox *>(editor);
    Q_ASSERT(combo);
    const QString code = combo->currentCode();
    // Leaving the editor without a choice must not turn an empty cell into an
    // empty string, which the model would report as a change.
    if (code == index.data(Qt::EditRole).toString())
        return;
    model->setData(index, code, Qt::EditRole);
}

} // namespace tolven
