#include "DropDownDelegate.h"

#include "positions/LookupTable.h"
#include "positions/MultiColumnComboBox.h"

namespace tolven {

DropDownDelegate::DropDownDelegate(LookupTable *lookup, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_lookup(lookup)
{
    Q_ASSERT(m_lookup);
}

QWidget *DropDownDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new MultiColumnComboBox(parent);
    editor->setFrame(false);
    editor->setLookup(m_lookup, true);
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
