#pragma once

#include <QStyledItemDelegate>

namespace tolven {

class LookupTable;

// The editor of the grid's drop-down columns (competitor, price type, units):
// a MultiColumnComboBox over a look-up list, one entry per code and no empty
// entry. The cell holds the chosen code; a cell left without a choice keeps
// what it held.
class DropDownDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // lookup stays the caller's and must outlive the delegate's editors.
    explicit DropDownDelegate(LookupTable *lookup, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    LookupTable *m_lookup;
    QAbstractItemModel *m_list;
};

} // namespace tolven
